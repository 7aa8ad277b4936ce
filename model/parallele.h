// Work spread over the processor's cores: the indices of a loop shared
// between the calling thread and a few helper threads, for loops whose steps
// are independent of one another (each step writes only its own outputs).
//
// The helpers are resident: they are started once, on the first large loop,
// and sleep between loops, so that a loop costs a wake-up, not the start and
// end of threads (a generation runs some thirty such loops). A loop takes
// only as many helpers as its size pays for: a wake-up, and the moving of a
// helper's data between the cores' caches, cost processor time that a small
// share of work does not earn back.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <type_traits>
#include <vector>

#include "platform/processeurs.h"

namespace model {

// Helper threads to start besides the caller: one per further processor the
// process may use (its affinity mask and CPU quota), at most 7.
inline int aides_paralleles() { return std::clamp(platform::processeurs_utilisables(), 1, 8) - 1; }

// Marks the calling thread as a helper for the system's scheduler: a helper
// woken on the caller's processor then waits for a free one instead of
// taking the processor from the caller, which wakes the others (the caller
// stalled up to a millisecond while its own share waited).
void devenir_aide();

// How loops are shared out, process-wide: at most `aides` helpers a loop
// (kAutomatique: as many as aides_disponibles() says), and one thread for
// each `part_minimale` nanoseconds of a loop's cost. Tests and benchmarks set
// them to run every loop with a given helper count.
struct Partage {
  static constexpr int kAutomatique = -1;
  int aides = kAutomatique;
  double part_minimale = 250e3;
};
Partage partage();
void fixer_partage(const Partage& p);

// The automatic helper count from the processors the process may use and
// those the other programs keep busy (platform::processeurs_occupes_autres):
// one per further processor they leave idle (to the nearest), but never
// fewer than half the further processors (what a shared
// machine did lately says little of what the next milliseconds leave free).
// On a busy machine further helpers only take turns with the other programs
// on the same cores, each of their instructions slower: a degree-11
// generation took more processor time and no less time with 7 than with 5 or 6.
int aides_pour_charge(int coeurs, double occupes);
// The same for this machine now (the measure is taken again at most every
// platform::kFenetreReleves).
int aides_disponibles();

// The threads a loop of `nombre` indices costing about `cout` nanoseconds on
// one core is spread over, the caller included: one per part_minimale of its
// cost, at most one per index and 1 + the helpers allowed (at most
// aides_paralleles()).
int participants_pour(std::int32_t nombre, double cout);

// The resident helper threads, each with its rank 1..taille() (the caller
// has rank 0). One caller at a time has them: a loop started from inside a
// helper's work, or by another thread while they are taken, starts threads of
// its own instead.
//
// A loop offers a place to each helper it wants and wakes those that sleep
// (a helper woken by another helper would come later still, and on a busy
// machine not at all while that one waits for a core). A helper that has
// served watches for its next place a short while (the half-passes of a
// smoothing follow each other closely), then sleeps. The caller, once its own
// work has run out, withdraws the places not taken yet and waits for the
// helpers at work, watching a short while before it sleeps too.
class Equipe {
 public:
  using Tache = void (*)(void* contexte, int rang);

  // The process's team, with aides_paralleles() threads, started on first use.
  static Equipe& commune();

  explicit Equipe(int taille);
  ~Equipe();
  Equipe(const Equipe&) = delete;
  Equipe& operator=(const Equipe&) = delete;

  int taille() const { return static_cast<int>(places_.size()); }

  // The processors of a shared machine do not all run alike: the host's
  // other work slows some of them for a while (the same rows took 90 ns a
  // triangle on one and 165 on another). A loop on a taken team gives each
  // rank a share that follows its speed in the loops before, so that fewer
  // of its steps run where each costs more processor time, and reports what
  // each rank ran. Both only for the team's owner of the moment.
  void fractions(int participants, double* f) const;
  void noter(int participants, const double* cpu, const double* poids);

  // Takes the team for one loop; false while someone else has it.
  bool prendre() {
    bool libre = false;
    return occupee_.compare_exchange_strong(libre, true, std::memory_order_acquire);
  }
  // On a taken team: has tache(contexte, rang) run once on each of the
  // helpers of rank 1..aides (at most the team's size), and answers how many.
  int lancer(int aides, Tache tache, void* contexte);
  // Withdraws the places of the last lancer that no helper has taken yet,
  // waits until the helpers that took one have returned from the task, then
  // gives the team back. The caller comes here once the work has run out, so
  // a helper arriving late would have found nothing left to do.
  void rendre();

 private:
  // One helper's place. Its state is twice the number of the tour it is
  // offered, plus 1 once taken or withdrawn.
  struct alignas(64) Place {
    std::atomic<std::uint64_t> etat{1};
    std::atomic<bool> endormi{false};
    std::mutex garde;
    std::condition_variable reveil;
    std::thread fil;
  };
  void servir(Place& place, int rang);
  // Wakes the helper of rank r if it sleeps.
  void reveiller_rang(int r);
  // The slownesses of ranks 0 .. participants - 1 noted so far, into l (1
  // where none is yet).
  void lenteurs(int participants, double* l) const;

  std::vector<std::unique_ptr<Place>> places_;
  std::uint64_t tour_ = 0;
  int offertes_ = 0;  // places of this tour (ranks 1..offertes_)
  Tache tache_ = nullptr;
  void* contexte_ = nullptr;
  std::atomic<bool> arret_{false};
  std::atomic<bool> occupee_{false};
  // The helpers that took a place of this tour and are done with it.
  alignas(64) std::atomic<std::int32_t> finis_{0};
  std::atomic<bool> appelant_endormi_{false};
  std::mutex fin_garde_;
  std::condition_variable fin_;
  std::array<std::atomic<double>, 8> lenteurs_{};  // by rank, the caller's first; 0: not yet known
};

namespace detail {

// The indices [debut, fin) of one thread's share of a loop, packed in one
// word (debut in the low half): its owner takes them from the front, the
// others, once their own share is done, from the back. So each thread works
// mostly on consecutive indices, the same ones from one loop to the next
// (the same rows of a terrain stay in the same core's cache), and threads
// meet only at the ends of their shares.
struct alignas(64) Part {
  std::atomic<std::uint64_t> bornes{0};

  void poser(std::int32_t debut, std::int32_t fin) {
    bornes.store(std::uint64_t(std::uint32_t(debut)) | (std::uint64_t(std::uint32_t(fin)) << 32),
                 std::memory_order_relaxed);
  }
  // The next index from the front, or -1 when the share is used up.
  std::int32_t devant() {
    std::uint64_t v = bornes.load(std::memory_order_relaxed);
    for (;;) {
      const auto d = static_cast<std::uint32_t>(v), f = static_cast<std::uint32_t>(v >> 32);
      if (d >= f) return -1;
      if (bornes.compare_exchange_weak(v, v + 1, std::memory_order_relaxed)) return static_cast<std::int32_t>(d);
    }
  }
  // The last index, or -1 when the share is used up.
  std::int32_t derriere() {
    std::uint64_t v = bornes.load(std::memory_order_relaxed);
    for (;;) {
      const auto d = static_cast<std::uint32_t>(v), f = static_cast<std::uint32_t>(v >> 32);
      if (d >= f) return -1;
      const std::uint64_t w = std::uint64_t(d) | (std::uint64_t(f - 1) << 32);
      if (bornes.compare_exchange_weak(v, w, std::memory_order_relaxed)) return static_cast<std::int32_t>(f - 1);
    }
  }
  void vider() { bornes.store(0, std::memory_order_relaxed); }
};

// At most this many threads share a loop.
inline constexpr int kParticipantsMax = 8;

// The processor time of the calling thread, in ns.
double temps_processeur_fil();

// Every index of a loop weighs the same.
struct Uniforme {
  double operator()(std::int32_t) const { return 1.0; }
};

// Cuts the indices 0 .. cumuls.size() - 1 into `parts` shares of consecutive
// indices, share p holding about fractions[p] of the weight (the fractions
// add up to 1; an equal part each when null); cumuls[k] is the weight of
// indices 0..k (never falling). debuts[p] is the first index of share p, and
// debuts[parts] the number of indices; a share may be empty.
void decouper(const std::vector<double>& cumuls, int parts, std::int32_t* debuts, const double* fractions = nullptr);
// The same for indices that weigh the same.
void decouper(std::int32_t nombre, int parts, std::int32_t* debuts, const double* fractions = nullptr);

// How much slower than the others each thread of a team has run lately
// (1: as fast as the average). After a loop, rank p having run the weight
// poids[p] of its own share in cpu[p] ns of its processor time, the ranks
// with enough work to tell (50 us) move halfway to their rate over the
// average rate of those ranks, within 0.5 and 2.5; with fewer than two such
// ranks nothing changes.
void ajuster_lenteurs(int participants, const double* cpu, const double* poids, double* lenteurs);
// The share of each of the `participants` ranks for these slownesses: the
// inverse of its slowness, all adding up to 1.
void fractions_pour(int participants, const double* lenteurs, double* fractions);

}  // namespace detail

// Runs travail(k) once for every k in [0, nombre), a loop whose cost on one
// core is about `cout` nanoseconds (a rough estimate from its size: it only
// decides how many threads share it; 0 keeps it on the caller). The calling
// thread takes part and, after each index it ran itself, calls suite(), which
// may answer false: the indices not handed out yet then go to sauter(k)
// instead (also once each). Returns when every index is done. Each thread
// starts with its own share of consecutive indices (the caller the first),
// then takes from the ends of the others'. poids(k) is the relative cost of
// index k (the nodes of a row): the own shares are cut to hold about the same
// weight, so that threads steal little, and loops over the same rows give each
// thread the same rows, still in its core's cache. An exception of any step
// stops the handing out (the indices left are then neither run nor skipped)
// and is raised again in the caller.
template <class Travail, class Suite, class Sauter, class Poids = detail::Uniforme>
void repartir(std::int32_t nombre, Travail&& travail, Suite&& suite, Sauter&& sauter, double cout, Poids&& poids = {}) {
  const int participants = participants_pour(nombre, cout);
  const int aides = participants - 1;
  Equipe* equipe = aides > 0 ? &Equipe::commune() : nullptr;
  if (equipe && !equipe->prendre()) equipe = nullptr;  // threads of its own
  // On the team, shares that follow the ranks' speed (see Equipe::fractions).
  std::array<double, detail::kParticipantsMax> fractions{};
  if (equipe) equipe->fractions(participants, fractions.data());
  const double* f = equipe ? fractions.data() : nullptr;
  std::array<detail::Part, detail::kParticipantsMax> parts;
  std::array<std::int32_t, detail::kParticipantsMax + 1> debuts{};
  if (participants < 2) {
    debuts[1] = nombre;
  } else if constexpr (std::is_same_v<std::decay_t<Poids>, detail::Uniforme>) {
    detail::decouper(nombre, participants, debuts.data(), f);
  } else {
    std::vector<double> cumuls(static_cast<std::size_t>(nombre));
    double somme = 0.0;
    for (std::int32_t k = 0; k < nombre; ++k) cumuls[static_cast<std::size_t>(k)] = somme += std::max(0.0, double(poids(k)));
    detail::decouper(cumuls, participants, debuts.data(), f);
  }
  for (int p = 0; p < participants; ++p)
    parts[static_cast<std::size_t>(p)].poser(debuts[static_cast<std::size_t>(p)], debuts[static_cast<std::size_t>(p) + 1]);
  // What each rank ran of its own share, and in how much of its processor time.
  std::array<double, detail::kParticipantsMax> cpu{}, faits{};
  std::atomic<bool> arret{false};
  std::mutex garde;
  std::exception_ptr erreur;
  auto faire = [&](std::int32_t k, bool appelant) {
    if (arret.load(std::memory_order_relaxed)) {
      sauter(k);
      return;
    }
    travail(k);
    if (appelant && !suite()) arret.store(true, std::memory_order_relaxed);
  };
  auto boucle = [&](int rang) {
    try {
      const bool appelant = rang == 0;
      const auto r = static_cast<std::size_t>(rang);
      const double debut = equipe ? detail::temps_processeur_fil() : 0.0;
      double fait = 0.0;
      for (std::int32_t k; (k = parts[r].devant()) >= 0;) {
        faire(k, appelant);
        if (equipe) fait += std::max(0.0, double(poids(k)));
      }
      if (equipe) {
        cpu[r] = detail::temps_processeur_fil() - debut;
        faits[r] = fait;
      }
      for (int d = 1; d < participants; ++d) {
        detail::Part& autre = parts[static_cast<std::size_t>((rang + d) % participants)];
        for (std::int32_t k; (k = autre.derriere()) >= 0;) faire(k, appelant);
      }
    } catch (...) {
      // The first error stops the handing out; the caller raises it again.
      const std::lock_guard<std::mutex> verrou(garde);
      if (!erreur) erreur = std::current_exception();
      arret.store(true, std::memory_order_relaxed);
      for (int p = 0; p < participants; ++p) parts[static_cast<std::size_t>(p)].vider();
    }
  };
  if (equipe) {
    using Boucle = decltype(boucle);
    equipe->lancer(aides, [](void* b, int rang) { (*static_cast<Boucle*>(b))(rang); }, &boucle);
    boucle(0);
    equipe->rendre();
    if (!erreur) equipe->noter(participants, cpu.data(), faits.data());
  } else {
    std::vector<std::thread> fils;
    fils.reserve(static_cast<std::size_t>(aides));
    for (int a = 1; a <= aides; ++a) {
      try {
        fils.emplace_back([&boucle, a] {
          devenir_aide();
          boucle(a);
        });
      } catch (const std::system_error&) {
        break;  // fewer helpers: the caller does the rest
      }
    }
    boucle(0);
    for (auto& f : fils) f.join();
  }
  if (erreur) std::rethrow_exception(erreur);
}

// Runs travail(k) once for every k in [0, nombre), spread over the cores,
// index k weighing poids(k).
template <class Travail, class Poids = detail::Uniforme>
void repartir(std::int32_t nombre, Travail&& travail, double cout, Poids&& poids = {}) {
  repartir(nombre, travail, [] { return true; }, [](std::int32_t) {}, cout, poids);
}

}  // namespace model
