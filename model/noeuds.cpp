#include "model/noeuds.h"

#include <atomic>
#include <string>

#include "model/erreur.h"

namespace detail {

void verifier_taille(std::int32_t n) {
  if (n < 1 || n > 2049) throw ModelError("node array: lattice size " + std::to_string(n) + " out of 1..2049");
}

}  // namespace detail

std::uint64_t Tnoeud::empreinte() const {
  static std::atomic<std::uint64_t> derniere{0};
  if (empreinte_ == 0) empreinte_ = derniere.fetch_add(1, std::memory_order_relaxed) + 1;
  return empreinte_;
}
