// Editor reading and the stroke trace.
#include "model/matrice.h"

std::int32_t Tmatrice::lire_trace(std::int32_t i, std::int32_t j) {
  const std::int32_t N = nombre_noeuds;
  std::int32_t h = -4001;
  if (i >= 1 && j >= 1 && i + j <= N + 1) {
    h = hauteurs->lire(i, j);
    if (trace_active && static_cast<std::size_t>(dernier_point) < trace.size()) {
      const point_trace& dernier = trace[static_cast<std::size_t>(dernier_point)];
      if ((dernier.i != i || dernier.j != j) && dernier_point < capacite_trace - 2 &&
          static_cast<std::size_t>(dernier_point) + 1 < trace.size()) {
        ++dernier_point;
        trace[static_cast<std::size_t>(dernier_point)] =
            point_trace{static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(j)};
      }
    }
  }
  // From degree 7 on the sea rim reads as outside; it was still recorded above.
  if (degre > 6 && (i == 1 || j == 1 || i + j == N + 1)) return -4001;
  return h;
}

void Tmatrice::debut_trace(std::int32_t i, std::int32_t j) {
  trace.assign(static_cast<std::size_t>(std::max(capacite_trace, 1)), point_trace{});
  dernier_point = 0;
  trace[0] = point_trace{static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(j)};
  trace_active = 1;
}

void Tmatrice::fin_trace() {
  trace.clear();
  trace.shrink_to_fit();
  trace_active = 0;
  dernier_point = 0;
}
