// Work spread over the processor's cores: indices handed out one by one to the
// calling thread and a few helper threads, for loops whose steps are
// independent of one another (each step writes only its own outputs).
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace model {

// Helper threads to start besides the caller: one per further core, at most 7.
inline int aides_paralleles() {
  const unsigned c = std::thread::hardware_concurrency();
  return static_cast<int>(std::clamp(c, 1u, 8u)) - 1;
}

// Runs travail(k) once for every k in [0, nombre). The calling thread takes
// part and, after each index it ran itself, calls suite(), which may answer
// false: the indices not handed out yet then go to sauter(k) instead (also once
// each). Returns when every index is done. Small counts run on the caller only.
// An exception of any step stops the handing out (the indices left are then
// neither run nor skipped) and is raised again in the caller.
template <class Travail, class Suite, class Sauter>
void repartir(std::int32_t nombre, Travail&& travail, Suite&& suite, Sauter&& sauter, std::int32_t minimum = 64) {
  std::atomic<std::int32_t> prochain{0};
  std::atomic<bool> arret{false};
  std::mutex garde;
  std::exception_ptr erreur;
  auto boucle = [&](bool appelant) {
    try {
      for (;;) {
        const std::int32_t k = prochain.fetch_add(1, std::memory_order_relaxed);
        if (k >= nombre) return;
        if (arret.load(std::memory_order_relaxed)) {
          sauter(k);
          continue;
        }
        travail(k);
        if (appelant && !suite()) arret.store(true, std::memory_order_relaxed);
      }
    } catch (...) {
      // The first error stops the handing out; the caller raises it again.
      const std::lock_guard<std::mutex> verrou(garde);
      if (!erreur) erreur = std::current_exception();
      arret.store(true, std::memory_order_relaxed);
      prochain.store(nombre, std::memory_order_relaxed);
    }
  };
  const int aides = nombre >= minimum ? aides_paralleles() : 0;
  std::vector<std::thread> fils;
  fils.reserve(static_cast<std::size_t>(aides));
  for (int a = 0; a < aides; ++a) {
    try {
      fils.emplace_back(boucle, false);
    } catch (const std::system_error&) {
      break;  // fewer helpers: the caller does the rest
    }
  }
  boucle(true);
  for (auto& f : fils) f.join();
  if (erreur) std::rethrow_exception(erreur);
}

// Runs travail(k) once for every k in [0, nombre), spread over the cores.
template <class Travail>
void repartir(std::int32_t nombre, Travail&& travail, std::int32_t minimum = 64) {
  repartir(nombre, travail, [] { return true; }, [](std::int32_t) {}, minimum);
}

}  // namespace model
