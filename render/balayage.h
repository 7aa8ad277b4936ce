// The painter's-order walk of the lattice: one sweep per sector of the view
// azimuth, each visiting the nodes far to near by rows, columns or diagonals
// and, at every visited node, handing over the two triangles that the node
// closes. The walk itself only enumerates; what happens at a node belongs to
// the visitor (node examination, the two workers, the pending tree).
#pragma once

#include <cstdint>
#include <type_traits>

namespace render {

// One triangle of a visited node: three nodes in the order given to the
// facet, the cell passed to the triangle drawing and the neighbour flag.
struct TriangleBalayage {
  std::int32_t i[3];
  std::int32_t j[3];
  std::int32_t cellule_i, cellule_j;
  bool voisin;
  std::int8_t signe;  // +1 or -1: makes the normal of the triangle laid flat point up
};

// Sector of a view azimuth A in degrees (0..360):
// 0 A <= 60, 1 60 < A < 120, 2 120 <= A < 180, 3 180 <= A < 240, 4 240 <= A < 300, 5 A >= 300.
inline int secteur(double A) {
  if (A < 120.0) return A <= 60.0 ? 0 : 1;
  if (A < 240.0) return A < 180.0 ? 2 : 3;
  return A < 300.0 ? 4 : 5;
}

// Sign that makes (B - A) x (C - A) of the flat triangle point up, from the
// lattice steps of B and C relative to A (world x falls and y rises with i,
// y rises with j).
inline std::int8_t signe_plat(std::int32_t dbi, std::int32_t dbj, std::int32_t dci, std::int32_t dcj) {
  const std::int64_t c = std::int64_t(dbi) * dcj - std::int64_t(dbj) * dci;
  return c > 0 ? -1 : 1;
}

inline TriangleBalayage triangle_balayage(std::int32_t i0, std::int32_t j0, std::int32_t i1, std::int32_t j1,
                                          std::int32_t i2, std::int32_t j2, std::int32_t ci, std::int32_t cj,
                                          bool voisin) {
  TriangleBalayage t{{i0, i1, i2}, {j0, j1, j2}, ci, cj, voisin, 1};
  t.signe = signe_plat(i1 - i0, j1 - j0, i2 - i0, j2 - j0);
  return t;
}

// A strided walk (s > 1) visits only multiples of s, so its outer grid lines
// lie up to s - 1 steps inside the lattice's edges and the land would stop
// short of its edge wall. The nodes of those grid lines are taken on the
// edges: index s (and the index 0 that some first triangles of a row reach)
// on the edge i = 1 or j = 1; a node on or beyond the last grid diagonal that
// the walk visits on the diagonal edge i + j = n + 1 (along j, or along i on
// the edge j = 1). The grid's triangles then cover the whole lattice; those
// beyond it shrink to lines or points. Stride 1: as is.
struct BordsPas {
  std::int32_t s = 1, n = 0;
  std::int32_t diagonale = 0;  // the last grid diagonal: the last multiple of s up to n + e

  BordsPas(std::int32_t pas, std::int32_t taille, std::int32_t e)
      : s(pas), n(taille), diagonale(taille + e - (taille + e) % pas) {}

  void ramener(std::int32_t& i, std::int32_t& j) const {
    if (s <= 1) return;
    const bool diagonal = i + j >= diagonale;
    if (i <= s) i = 1;
    if (j <= s) j = 1;
    if (!diagonal) return;
    if (j == 1)
      i = n;
    else
      j = n + 1 - i;
  }

  // Writes the triangle into t field by field: a triangle built aside and
  // copied would be read back in wider words than it was written in, and
  // the copy would wait for those writes to reach the cache, at every node.
  void triangle(TriangleBalayage& t, std::int32_t i0, std::int32_t j0, std::int32_t i1, std::int32_t j1,
                std::int32_t i2, std::int32_t j2, std::int32_t ci, std::int32_t cj, bool voisin) const {
    ramener(i0, j0);
    ramener(i1, j1);
    ramener(i2, j2);
    t.i[0] = i0;
    t.i[1] = i1;
    t.i[2] = i2;
    t.j[0] = j0;
    t.j[1] = j1;
    t.j[2] = j2;
    t.cellule_i = ci;
    t.cellule_j = cj;
    t.voisin = voisin;
    t.signe = signe_plat(i1 - i0, j1 - j0, i2 - i0, j2 - j0);
  }
};

// The two triangles of node (i, j) as the walk in sector S hands them over,
// in order; n is the lattice size, e the row-end extension.
template <int S>
[[gnu::always_inline]] inline void triangles_noeud(const BordsPas& bords, std::int32_t n, std::int32_t e,
                                                  std::int32_t i, std::int32_t j, TriangleBalayage t[2]) {
  const std::int32_t s = bords.s;
  if constexpr (S == 2) {
    bords.triangle(t[0], i - s, j, i, j, i, j - s, i - 1, j - 1, j > 1);
    bords.triangle(t[1], i - s, j + s, i, j, i - s, j, i, j - 1, false);
  } else if constexpr (S == 3) {
    bords.triangle(t[0], i - s, j + s, i, j, i, j + s, i, j, false);
    bords.triangle(t[1], i - s, j, i, j, i - s, j + s, i - 1, j, j < n - i + e);
  } else if constexpr (S == 1) {
    bords.triangle(t[0], i, j - s, i, j, i - s, j, i - 1, j - 1, i > 1);
    bords.triangle(t[1], i + s, j - s, i, j, i, j - s, i - 1, j - 1, false);
  } else if constexpr (S == 0) {
    bords.triangle(t[0], i + s, j - s, i, j, i + s, j, i, j - 1, false);
    bords.triangle(t[1], i, j - s, i, j, i + s, j - s, i, j - 1, i < n - j + e);
  } else if constexpr (S == 4) {
    bords.triangle(t[0], i, j + s, i, j, i - s, j + s, i, j, false);
    bords.triangle(t[1], i + s, j, i, j, i, j + s, i, j, i > 1);
  } else {
    const std::int32_t d = i + j - s;
    bords.triangle(t[0], i + s, j, i, j, i + s, j - s, i, j, false);
    bords.triangle(t[1], i, j + s, i, j, i + s, j, i, j, i < d);
  }
}
// Calls f(std::integral_constant<int, S>{}) for the walk's sector S known
// at run time (0..5; beyond 5 as 5), so that code compiled for each sector
// is chosen once.
template <class F>
[[gnu::always_inline]] inline decltype(auto) par_secteur(int sect, F&& f) {
  switch (sect) {
    case 0: return f(std::integral_constant<int, 0>{});
    case 1: return f(std::integral_constant<int, 1>{});
    case 2: return f(std::integral_constant<int, 2>{});
    case 3: return f(std::integral_constant<int, 3>{});
    case 4: return f(std::integral_constant<int, 4>{});
    default: return f(std::integral_constant<int, 5>{});
  }
}
// triangles_noeud for a sector known at run time.
inline void triangles_noeud(int sect, const BordsPas& bords, std::int32_t n, std::int32_t e, std::int32_t i,
                            std::int32_t j, TriangleBalayage t[2]) {
  par_secteur(sect, [&](auto S) { triangles_noeud<S()>(bords, n, e, i, j, t); });
}

// The visitor V provides:
//   bool annule();                 tested before every row or diagonal
//   std::int32_t pas();            the current stride, read before every row or diagonal
//   void debut_rangee();           a row or diagonal starts
//   void noeud(i, j);              a node is visited, before its triangles
//   void triangle(const TriangleBalayage&);
//   void fin_noeud();              after the node's triangles
//   void fin_rangee();             a row or diagonal ends
// A visitor that has noeuds_seuls() return true gets no triangle() calls: it
// makes a node's triangles itself with triangles_noeud.
// n is the lattice size, e the row-end extension (0 or 1).
template <int S, class V>
[[gnu::always_inline]] inline void visiter_noeud(V& v, const BordsPas& bords, std::int32_t n, std::int32_t e,
                                                std::int32_t i, std::int32_t j) {
  v.noeud(i, j);
  bool seuls = false;
  if constexpr (requires { v.noeuds_seuls(); }) seuls = v.noeuds_seuls();
  if (!seuls) {
    TriangleBalayage t[2];
    triangles_noeud<S>(bords, n, e, i, j, t);
    v.triangle(t[0]);
    v.triangle(t[1]);
  }
  v.fin_noeud();
}

template <class V>
void parcourir(double A, std::int32_t n, std::int32_t e, V& v) {
  const int sect = secteur(A);
  if (sect == 2 || sect == 3) {
    // Rows.
    for (std::int32_t i = 2; i <= n; ++i) {
      if (v.annule()) return;
      const std::int32_t s = v.pas();
      const BordsPas bords(s, n, e);
      if (i % s != 0 || i - s <= 0) continue;
      v.debut_rangee();
      if (sect == 2) {
        for (std::int32_t j = 1; j <= n - i + 1; ++j) {
          if (s > 1 && j % s != 0) continue;  // a division at every node otherwise
          visiter_noeud<2>(v, bords, n, e, i, j);
        }
      } else {
        for (std::int32_t j = n - i + e; j >= 1; --j) {
          if (s > 1 && j % s != 0) continue;  // a division at every node otherwise
          visiter_noeud<3>(v, bords, n, e, i, j);
        }
      }
      v.fin_rangee();
    }
  } else if (sect == 0 || sect == 1) {
    // Columns.
    for (std::int32_t j = 2; j <= n; ++j) {
      if (v.annule()) return;
      const std::int32_t s = v.pas();
      const BordsPas bords(s, n, e);
      if (j % s != 0) continue;
      if (sect == 1 && j - s <= 0) continue;
      v.debut_rangee();
      if (sect == 1) {
        for (std::int32_t i = 1; i <= n - j + 1; ++i) {
          if (s > 1 && i % s != 0) continue;  // a division at every node otherwise
          visiter_noeud<1>(v, bords, n, e, i, j);
        }
      } else {
        for (std::int32_t i = n - j + e; i >= 1; --i) {
          if (s > 1 && i % s != 0) continue;  // a division at every node otherwise
          visiter_noeud<0>(v, bords, n, e, i, j);
        }
      }
      v.fin_rangee();
    }
  } else {
    // Diagonals.
    for (std::int32_t d0 = n; d0 >= 1; --d0) {
      if (v.annule()) return;
      const std::int32_t s = v.pas();
      const BordsPas bords(s, n, e);
      const std::int32_t d = d0;
      if (d > n - s || d % s != 0) continue;
      v.debut_rangee();
      if (sect == 4) {
        for (std::int32_t i = 1; i <= d; ++i) {
          if (s > 1 && i % s != 0) continue;  // a division at every node otherwise
          const std::int32_t j = s + d - i;
          visiter_noeud<4>(v, bords, n, e, i, j);
        }
      } else {
        for (std::int32_t i = d; i >= 1; --i) {
          if (s > 1 && i % s != 0) continue;  // a division at every node otherwise
          const std::int32_t j = s + d - i;
          visiter_noeud<5>(v, bords, n, e, i, j);
        }
      }
      v.fin_rangee();
    }
  }
}

}  // namespace render
