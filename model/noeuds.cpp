#include "model/noeuds.h"

#include <string>

#include "model/erreur.h"

namespace detail {

void verifier_taille(std::int32_t n) {
  if (n < 1 || n > 2049) throw ModelError("node array: lattice size " + std::to_string(n) + " out of 1..2049");
}

}  // namespace detail
