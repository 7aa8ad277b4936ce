#include "model/parallele.h"

#include <chrono>
#include <cmath>
#include <ctime>
#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace model {

namespace {

std::atomic<int> aides_permises{Partage::kAutomatique};
std::atomic<double> part_minimale{250e3};

// How long a helper that has served watches for its next place, and the
// caller for the helpers still at work, before they sleep. A wake-up costs
// some tens of microseconds here: watching longer than that for a place that
// does not come costs more than it saves.
constexpr int kGuetAideMicro = 10;
constexpr int kGuetAppelantMicro = 20;

// A short wait that leaves the core's resources to its other thread.
inline void pause_processeur() {
#if defined(__x86_64__) || defined(__i386__)
  _mm_pause();
#else
  std::this_thread::yield();
#endif
}

// Waits until pret() holds: watching for guet_us microseconds, then asleep on
// garde/reveil with `endormi` set, which whoever makes pret() true looks at
// (reveiller).
template <class Pret>
void attendre(std::atomic<bool>& endormi, std::mutex& garde, std::condition_variable& reveil, int guet_us,
              Pret&& pret) {
  const auto fin_guet = std::chrono::steady_clock::now() + std::chrono::microseconds(guet_us);
  for (int tour = 0; !pret(); ++tour) {
    pause_processeur();
    if ((tour & 15) == 15 && std::chrono::steady_clock::now() > fin_guet) break;
  }
  if (pret()) return;
  std::unique_lock<std::mutex> verrou(garde);
  endormi.store(true, std::memory_order_seq_cst);
  reveil.wait(verrou, pret);
  endormi.store(false, std::memory_order_relaxed);
}

// Called after making the sleeper's condition true. The sleeper sets
// `endormi` before it looks at its condition a last time under `garde`:
// either it sees what was just made true, or it is seen here.
void reveiller(std::atomic<bool>& endormi, std::mutex& garde, std::condition_variable& reveil) {
  if (!endormi.load(std::memory_order_seq_cst)) return;
  { const std::lock_guard<std::mutex> verrou(garde); }
  reveil.notify_one();
}

}  // namespace

void devenir_aide() {
#if defined(__linux__)
  // Batch threads do not preempt the running thread when they wake; they
  // keep their share of the processors otherwise. Nothing changes if refused.
  sched_param p{};
  pthread_setschedparam(pthread_self(), SCHED_BATCH, &p);
#endif
}

Partage partage() { return {aides_permises.load(), part_minimale.load()}; }

void fixer_partage(const Partage& p) {
  aides_permises.store(p.aides);
  part_minimale.store(p.part_minimale);
}

int aides_pour_charge(int coeurs, double occupes) {
  const int autres = std::clamp(coeurs, 1, detail::kParticipantsMax) - 1;
  // To the nearest: the measure is an average, and a daemon's few ticks must
  // not cost a helper.
  const double libres = double(autres) - std::max(0.0, occupes);
  return std::clamp(static_cast<int>(std::floor(libres + 0.5)), (autres + 1) / 2, autres);
}

int aides_disponibles() {
  const int coeurs = platform::processeurs_utilisables();
  // This process's own time is left out of the measure: the team's helpers
  // are not the others' load.
  return coeurs > 1 ? aides_pour_charge(coeurs, platform::processeurs_occupes_autres()) : 0;
}

int participants_pour(std::int32_t nombre, double cout) {
  const double part = part_minimale.load(std::memory_order_relaxed);
  const int permises = aides_permises.load(std::memory_order_relaxed);
  const auto plafond_pour = [&](int aides) {
    return std::min({nombre, 1 + aides_paralleles(), 1 + aides, detail::kParticipantsMax});
  };
  int plafond = plafond_pour(permises < 0 ? aides_paralleles() : permises);
  if (plafond < 2 || !(cout > 0)) return 1;
  if (permises < 0 && (part <= 0 || cout / part >= 2)) plafond = plafond_pour(aides_disponibles());
  if (part <= 0) return plafond;
  return static_cast<int>(std::clamp(cout / part, 1.0, double(plafond)));
}

namespace {

// The end of share p - 1 as a share of the whole: fractions[0] + ... + fractions[p - 1],
// or p / parts without fractions.
double borne_relative(int p, int parts, const double* fractions) {
  if (!fractions) return double(p) / parts;
  double s = 0.0;
  for (int q = 0; q < p; ++q) s += fractions[q];
  return s;
}

}  // namespace

void detail::decouper(const std::vector<double>& cumuls, int parts, std::int32_t* debuts, const double* fractions) {
  const auto nombre = static_cast<std::int32_t>(cumuls.size());
  const double total = cumuls.empty() ? 0.0 : cumuls.back();
  if (!(total > 0)) {  // nothing to weigh by: by count
    decouper(nombre, parts, debuts, fractions);
    return;
  }
  debuts[0] = 0;
  for (int p = 1; p < parts; ++p) {
    // The next share begins with the first index whose middle lies past this
    // share's end (the middles of the indices never fall).
    const double borne = total * borne_relative(p, parts, fractions);
    std::int32_t bas = 0, haut = nombre;
    while (bas < haut) {
      const std::int32_t k = bas + (haut - bas) / 2;
      const double avant = k > 0 ? cumuls[static_cast<std::size_t>(k - 1)] : 0.0;
      if ((avant + cumuls[static_cast<std::size_t>(k)]) / 2 > borne)
        haut = k;
      else
        bas = k + 1;
    }
    debuts[p] = std::clamp(bas, debuts[p - 1], nombre);
  }
  debuts[parts] = nombre;
}

void detail::decouper(std::int32_t nombre, int parts, std::int32_t* debuts, const double* fractions) {
  debuts[0] = 0;
  for (int p = 1; p < parts; ++p) {
    const auto k = fractions ? static_cast<std::int32_t>(std::floor(nombre * borne_relative(p, parts, fractions) + 0.5))
                             : static_cast<std::int32_t>(std::int64_t(nombre) * p / parts);
    debuts[p] = std::clamp(k, debuts[p - 1], nombre);
  }
  debuts[parts] = nombre;
}

void detail::ajuster_lenteurs(int participants, const double* cpu, const double* poids, double* lenteurs) {
  constexpr double kTravailLisible = 50e3;  // ns: below, a clock's step and a wake-up blur the rate
  double cpu_total = 0.0, poids_total = 0.0;
  int mesures = 0;
  const auto lisible = [&](int p) { return poids[p] > 0 && cpu[p] >= kTravailLisible; };
  for (int p = 0; p < participants; ++p)
    if (lisible(p)) {
      cpu_total += cpu[p];
      poids_total += poids[p];
      ++mesures;
    }
  if (mesures < 2) return;
  const double moyen = cpu_total / poids_total;
  for (int p = 0; p < participants; ++p)
    if (lisible(p)) lenteurs[p] = std::clamp(0.5 * lenteurs[p] + 0.5 * (cpu[p] / poids[p]) / moyen, 0.5, 2.5);
}

void detail::fractions_pour(int participants, const double* lenteurs, double* fractions) {
  double somme = 0.0;
  for (int p = 0; p < participants; ++p) somme += fractions[p] = 1.0 / std::clamp(lenteurs[p], 0.5, 2.5);
  for (int p = 0; p < participants; ++p) fractions[p] /= somme;
}

double detail::temps_processeur_fil() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

void Equipe::lenteurs(int participants, double* l) const {
  for (int p = 0; p < participants; ++p) {
    const double v = lenteurs_[static_cast<std::size_t>(p)].load(std::memory_order_relaxed);
    l[p] = v > 0 ? v : 1.0;  // not yet known: as fast as the others
  }
}

void Equipe::fractions(int participants, double* f) const {
  participants = std::clamp(participants, 1, detail::kParticipantsMax);
  std::array<double, detail::kParticipantsMax> l{};
  lenteurs(participants, l.data());
  detail::fractions_pour(participants, l.data(), f);
}

void Equipe::noter(int participants, const double* cpu, const double* poids) {
  participants = std::clamp(participants, 1, detail::kParticipantsMax);
  std::array<double, detail::kParticipantsMax> l{};
  lenteurs(participants, l.data());
  detail::ajuster_lenteurs(participants, cpu, poids, l.data());
  for (int p = 0; p < participants; ++p) lenteurs_[static_cast<std::size_t>(p)].store(l[static_cast<std::size_t>(p)], std::memory_order_relaxed);
}

Equipe& Equipe::commune() {
  static Equipe equipe(aides_paralleles());
  return equipe;
}

Equipe::Equipe(int taille) {
  for (int k = 0; k < std::max(0, taille); ++k) {
    auto place = std::make_unique<Place>();
    Place& p = *place;
    try {
      p.fil = std::thread([this, &p, rang = k + 1] {
        devenir_aide();
        servir(p, rang);
      });
    } catch (const std::system_error&) {
      break;  // a smaller team
    }
    places_.push_back(std::move(place));
  }
}

Equipe::~Equipe() {
  arret_.store(true, std::memory_order_seq_cst);
  for (auto& p : places_) reveiller(p->endormi, p->garde, p->reveil);
  for (auto& p : places_) p->fil.join();
}

void Equipe::reveiller_rang(int r) {
  if (r > offertes_) return;
  Place& p = *places_[static_cast<std::size_t>(r - 1)];
  reveiller(p.endormi, p.garde, p.reveil);
}

int Equipe::lancer(int aides, Tache tache, void* contexte) {
  offertes_ = std::clamp(aides, 0, taille());
  tache_ = tache;
  contexte_ = contexte;
  ++tour_;
  finis_.store(0, std::memory_order_relaxed);
  for (int r = 1; r <= offertes_; ++r)
    places_[static_cast<std::size_t>(r - 1)]->etat.store(2 * tour_, std::memory_order_seq_cst);
  for (int r = 1; r <= offertes_; ++r) reveiller_rang(r);
  return offertes_;
}

void Equipe::rendre() {
  // The caller ran out of work: helpers that have not come yet stay out (on a
  // busy machine they may wait long for a core).
  std::int32_t pris = 0;
  for (int r = 1; r <= offertes_; ++r) {
    std::uint64_t offert = 2 * tour_;
    if (!places_[static_cast<std::size_t>(r - 1)]->etat.compare_exchange_strong(offert, offert + 1,
                                                                                 std::memory_order_seq_cst))
      ++pris;
  }
  attendre(appelant_endormi_, fin_garde_, fin_, kGuetAppelantMicro,
           [&] { return finis_.load(std::memory_order_seq_cst) == pris; });
  offertes_ = 0;
  tache_ = nullptr;
  contexte_ = nullptr;
  occupee_.store(false, std::memory_order_release);
}

void Equipe::servir(Place& place, int rang) {
  for (;;) {
    std::uint64_t e = 0;
    // An offered place has an even state.
    attendre(place.endormi, place.garde, place.reveil, kGuetAideMicro, [&] {
      e = place.etat.load(std::memory_order_seq_cst);
      return (e & 1) == 0 || arret_.load(std::memory_order_seq_cst);
    });
    if (arret_.load(std::memory_order_seq_cst)) return;
    if (!place.etat.compare_exchange_strong(e, e + 1, std::memory_order_seq_cst)) continue;  // withdrawn
    tache_(contexte_, rang);  // never throws: repartir's loop keeps its errors
    finis_.fetch_add(1, std::memory_order_seq_cst);
    reveiller(appelant_endormi_, fin_garde_, fin_);
  }
}

}  // namespace model
