// Work spread over the processor's cores: indices handed out one by one to the
// calling thread and a few helper threads, for loops whose steps are
// independent of one another (each step writes only its own outputs).
//
// The helpers are resident: they are started once, on the first large loop,
// and sleep between loops, so that a loop costs a wake-up, not the start and
// end of threads (a generation runs some thirty such loops).
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/processeurs.h"

namespace model {

// Helper threads to start besides the caller: one per further processor the
// process may use (its affinity mask and CPU quota), at most 7.
inline int aides_paralleles() { return std::clamp(platform::processeurs_utilisables(), 1, 8) - 1; }

// The resident helper threads. One caller at a time has them: a loop started
// from inside a helper's work, or by another thread while they are taken,
// starts threads of its own instead.
class Equipe {
 public:
  using Tache = void (*)(void* contexte);

  // The process's team, with aides_paralleles() threads, started on first use.
  static Equipe& commune();

  explicit Equipe(int taille);
  ~Equipe();
  Equipe(const Equipe&) = delete;
  Equipe& operator=(const Equipe&) = delete;

  int taille() const { return static_cast<int>(fils_.size()); }

  // Takes the team for one loop; false while someone else has it.
  bool prendre() {
    bool libre = false;
    return occupee_.compare_exchange_strong(libre, true, std::memory_order_acquire);
  }
  // On a taken team: has tache(contexte) run once on each of `aides` helpers
  // (at most the team's size), and answers how many.
  int lancer(int aides, Tache tache, void* contexte);
  // Withdraws the places of the last lancer that no helper has taken yet,
  // waits until the helpers that took one have returned from the task, then
  // gives the team back. The caller comes here once the work has run out, so
  // a helper arriving late would have found nothing left to do.
  void rendre();

 private:
  void servir();

  std::mutex garde_;
  std::condition_variable reveil_, fin_;
  std::uint64_t tour_ = 0;   // one more at every lancer
  std::int32_t places_ = 0;  // helpers still wanted in this tour
  std::int32_t actifs_ = 0;  // helpers of this tour not yet done
  Tache tache_ = nullptr;
  void* contexte_ = nullptr;
  bool arret_ = false;
  std::atomic<bool> occupee_{false};
  std::vector<std::thread> fils_;
};

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
  Equipe* equipe = aides > 0 ? &Equipe::commune() : nullptr;
  if (equipe && equipe->prendre()) {
    using Boucle = decltype(boucle);
    equipe->lancer(aides, [](void* b) { (*static_cast<Boucle*>(b))(false); }, &boucle);
    boucle(true);
    equipe->rendre();
  } else {
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
  }
  if (erreur) std::rethrow_exception(erreur);
}

// Runs travail(k) once for every k in [0, nombre), spread over the cores.
template <class Travail>
void repartir(std::int32_t nombre, Travail&& travail, std::int32_t minimum = 64) {
  repartir(nombre, travail, [] { return true; }, [](std::int32_t) {}, minimum);
}

}  // namespace model
