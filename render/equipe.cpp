#include "render/equipe.h"

#include <cstdio>
#include <cstdlib>

#include <algorithm>
#include <chrono>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "platform/processeurs.h"

namespace render {

namespace {

constexpr int kAidesMachine = 7;

// A short wait that leaves the core's resources to its other thread.
inline void pause_processeur() {
#if defined(__x86_64__) || defined(__i386__)
  _mm_pause();
#else
  std::this_thread::yield();
#endif
}

}  // namespace

Equipe& Equipe::commune() {
  static Equipe equipe(std::clamp(platform::processeurs_utilisables(), 1, kAidesMachine + 1) - 1);
  return equipe;
}

Equipe::Equipe(int aides) {
  aides = std::clamp(aides, 0, kAidesMax);
  {
    const std::lock_guard<std::mutex> verrou(garde_);
    actifs_ = aides;
  }
  for (int a = 0; a < aides; ++a) {
    try {
      fils_.emplace_back([this, a] { boucle(a); });
    } catch (const std::system_error&) {
      break;  // fewer helpers: the caller does the rest
    }
  }
}

Equipe::~Equipe() {
  {
    const std::lock_guard<std::mutex> verrou(garde_);
    arret_ = true;
  }
  arret_demande_.store(true, std::memory_order_relaxed);
  for (std::condition_variable& r : reveils_) r.notify_all();
  for (std::thread& f : fils_) f.join();
}

int Equipe::aides_pour(int coeurs, double charge, int executables) {
  coeurs = std::clamp(coeurs, 1, kAidesMachine + 1);
  // The load average also counts this program's own helpers of the renders
  // just before; the threads runnable now (the caller among them) tell what
  // the others take at this moment. The lesser of the two is what is busy.
  double occupes = charge;
  if (executables >= 1) occupes = std::min(occupes, double(executables - 1));
  return std::clamp(static_cast<int>(coeurs - 1 - occupes), 0, coeurs - 1);
}

int Equipe::aides_machine() {
  const int coeurs = platform::processeurs_utilisables();
  if (coeurs <= 1) return 0;
  // Cores the other programs leave idle: on a busy machine, helpers would only
  // take turns with the caller on the same cores.
  double charge = 0.0;
  int executables = 0;
  if (std::FILE* f = std::fopen("/proc/loadavg", "r")) {
    double c1 = 0.0, c5 = 0.0, c15 = 0.0;
    int r = 0, t = 0;
    if (std::fscanf(f, "%lf %lf %lf %d/%d", &c1, &c5, &c15, &r, &t) == 5) {
      charge = c1;
      executables = r;
    }
    std::fclose(f);
  } else {
    double c[1] = {0.0};
    if (getloadavg(c, 1) == 1) charge = c[0];
  }
  return aides_pour(coeurs, charge, executables);
}

bool Equipe::prendre(int aides) {
  bool libre = false;
  if (!occupee_.compare_exchange_strong(libre, true, std::memory_order_acquire)) return false;
  const std::lock_guard<std::mutex> verrou(garde_);
  actifs_ = std::clamp(aides, 0, taille());
  return true;
}

void Equipe::rendre() {
  {
    // A batch with nothing in it, which no helper takes part in.
    const std::lock_guard<std::mutex> verrou(garde_);
    ++lot_;
    travail_ = nullptr;
    nombre_ = 0;
    actifs_ = 0;
    prochain_.store(std::uint64_t(lot_) << 32, std::memory_order_seq_cst);
  }
  // A helper that took an index before the close ends it (a few microseconds
  // of work); one arriving after it takes nothing.
  while (en_cours_.load(std::memory_order_seq_cst) != 0) std::this_thread::yield();
  occupee_.store(false, std::memory_order_release);
}

std::int32_t Equipe::prendre_indice(std::uint32_t lot, std::int32_t nombre) {
  std::uint64_t v = prochain_.load(std::memory_order_relaxed);
  for (;;) {
    if (static_cast<std::uint32_t>(v >> 32) != lot) return -1;
    const auto k = static_cast<std::int32_t>(v & 0xffffffffu);
    if (k >= nombre) return -1;
    if (prochain_.compare_exchange_weak(v, v + 1, std::memory_order_seq_cst, std::memory_order_relaxed)) return k;
  }
}

void Equipe::boucle(int rang) {
  const std::uint32_t bit = 1u << rang;
  std::uint32_t vu = 0;
  for (;;) {
    const std::function<void(std::int32_t)>* travail = nullptr;
    std::int32_t nombre = 0;
    // Batches follow each other closely during a render: a helper first
    // watches for the next one for a short while, as waking a sleeping thread
    // costs the caller more than a small batch's share of work.
    const auto fin_guet = std::chrono::steady_clock::now() + std::chrono::microseconds(kGuetMicro);
    for (int tour = 0; static_cast<std::uint32_t>(prochain_.load(std::memory_order_acquire) >> 32) == vu; ++tour) {
      pause_processeur();
      if ((tour & 15) == 15 && (arret_demande_.load(std::memory_order_relaxed) ||
                                std::chrono::steady_clock::now() > fin_guet))
        break;
    }
    {
      std::unique_lock<std::mutex> verrou(garde_);
      endormis_ |= bit;
      reveils_[rang].wait(verrou, [&] { return arret_ || (lot_ != vu && rang < actifs_); });
      endormis_ &= ~bit;
      if (arret_) return;
      vu = lot_;
      travail = travail_;
      nombre = nombre_;
      // The next helper, if it sleeps and the batch still has indices left.
      if (rang + 1 < actifs_ && (endormis_ & (bit << 1)) &&
          static_cast<std::int32_t>(prochain_.load(std::memory_order_relaxed) & 0xffffffffu) + 1 < nombre)
        reveils_[rang + 1].notify_one();
      // Counted while the batch is still open: rendre() then waits for it.
      en_cours_.fetch_add(1, std::memory_order_seq_cst);
    }
    if (travail)
      for (std::int32_t k; (k = prendre_indice(vu, nombre)) >= 0;) (*travail)(k);
    en_cours_.fetch_sub(1, std::memory_order_seq_cst);
  }
}

void Equipe::lancer(std::int32_t nombre, const std::function<void(std::int32_t)>& travail) {
  bool reveiller = false;
  {
    const std::lock_guard<std::mutex> verrou(garde_);
    ++lot_;
    travail_ = &travail;
    nombre_ = std::max(nombre, 0);
    prochain_.store(std::uint64_t(lot_) << 32, std::memory_order_seq_cst);
    // Helpers still watching take the batch without being woken; the first
    // one wakes the others.
    reveiller = actifs_ > 0 && (endormis_ & 1u) != 0;
  }
  if (reveiller && nombre > 1) reveils_[0].notify_one();
}

void Equipe::aider() {
  // The batch's values are written by this very thread (helpers only read them).
  if (travail_)
    for (std::int32_t k; (k = prendre_indice(lot_, nombre_)) >= 0;) (*travail_)(k);
}

}  // namespace render
