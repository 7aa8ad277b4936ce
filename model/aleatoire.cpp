#include "model/aleatoire.h"

#include <chrono>

namespace {

Generateur g_generateur;
std::function<std::uint32_t()> g_clock;

}  // namespace

void set_seed(std::uint32_t s) { g_generateur.fixer(s); }
std::uint32_t seed() { return g_generateur.etat(); }

double Random() { return g_generateur.tirer(); }

std::uint32_t Random(std::uint32_t m) { return g_generateur.tirer(m); }

void Randomize() { g_generateur.depuis_horloge(); }

void semer_cle(std::int32_t cle, bool nouvelle_cle) {
  if (cle == 0 || nouvelle_cle)
    Randomize();
  else
    set_seed(static_cast<std::uint32_t>(cle));
}

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
