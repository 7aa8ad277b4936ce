#include "platform/arrondi.h"

#include <cmath>
#include <string>

namespace {

void check(double v, const char* what) {
  // The bounds are exact in double: -2^31 and 2^31.
  if (!(v > -2147483649.0 && v < 2147483648.0)) throw ModelError(std::string(what) + ": value out of integer range");
}

}  // namespace

std::int32_t arrondi_verifie(double v) {
  if (std::isnan(v)) throw ModelError("Round: not a number");
  double f = std::floor(v);
  double frac = v - f;  // exact for doubles
  double r = f;
  if (frac > 0.5 || (frac == 0.5 && std::fmod(f, 2.0) != 0.0)) r = f + 1.0;
  check(r, "Round");
  if (r < -2147483648.0) throw ModelError("Round: value out of integer range");
  return static_cast<std::int32_t>(r);
}

std::int32_t troncature_verifiee(double v) {
  if (std::isnan(v)) throw ModelError("Trunc: not a number");
  double t = std::trunc(v);
  check(t, "Trunc");
  if (t < -2147483648.0) throw ModelError("Trunc: value out of integer range");
  return static_cast<std::int32_t>(t);
}
