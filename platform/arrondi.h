// The checked rounding rules every layer uses: Round (halves to even) and
// Trunc, which throw ModelError instead of wrapping.
#pragma once

#include <cstdint>

#include "platform/erreur.h"

// The checked paths of Round and Trunc (NaN, infinities, values near or
// beyond the int32_t range).
std::int32_t arrondi_verifie(double v);
std::int32_t troncature_verifiee(double v);

// Nearest integer, halves to the even neighbour. Throws ModelError for NaN,
// infinities and results outside int32_t. Inline: the renderer rounds every
// projected point.
inline std::int32_t Round(double v) {
  if (v >= -2147483648.0 && v <= 2147483647.0) {
    // Adding and removing 1.5 x 2^52 leaves the nearest integer, halves to even.
    const double r = (v + 6755399441055744.0) - 6755399441055744.0;
    return static_cast<std::int32_t>(r);
  }
  return arrondi_verifie(v);
}
// Toward zero, with the same checks.
inline std::int32_t Trunc(double v) {
  if (v > -2147483649.0 && v < 2147483648.0) return static_cast<std::int32_t>(v);
  return troncature_verifiee(v);
}
