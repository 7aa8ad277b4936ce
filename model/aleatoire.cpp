#include "model/aleatoire.h"

#include <chrono>
#include <cmath>

#include "model/erreur.h"

namespace {

Generateur g_generateur;
std::function<std::uint32_t()> g_clock;

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

void set_seed(std::uint32_t s) { g_generateur.fixer(s); }
std::uint32_t seed() { return g_generateur.etat(); }

double Random() { return g_generateur.tirer(); }

std::uint32_t Random(std::uint32_t m) { return g_generateur.tirer(m); }

void Randomize() { g_generateur.depuis_horloge(); }

void Generateur::depuis_horloge() {
  std::uint32_t ms;
  if (g_clock) {
    ms = g_clock();
  } else {
    using namespace std::chrono;
    auto now = system_clock::now().time_since_epoch();
    ms = static_cast<std::uint32_t>(duration_cast<milliseconds>(now).count() % 86400000LL);
  }
  etat_ = ms;
}

void set_clock_for_tests(std::function<std::uint32_t()> ms_of_day) { g_clock = std::move(ms_of_day); }
