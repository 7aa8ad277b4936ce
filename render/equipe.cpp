#include "render/equipe.h"

#include <cstdio>
#include <cstdlib>

#include <algorithm>
#include <chrono>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace render {

namespace {

// A short wait that leaves the core's resources to its other thread.
inline void pause_processeur() {
#if defined(__x86_64__) || defined(__i386__)
  _mm_pause();
#else
  std::this_thread::yield();
#endif
}

}  // namespace

Equipe::Equipe(int aides) {
  for (int a = 0; a < aides; ++a) {
    try {
      fils_.emplace_back([this] { boucle(); });
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
  reveil_.notify_all();
  for (std::thread& f : fils_) f.join();
}

int Equipe::aides_pour(int coeurs, double charge, int executables) {
  coeurs = std::clamp(coeurs, 1, 8);
  // The load average also counts this program's own helpers of the renders
  // just before; the threads runnable now (the caller among them) tell what
  // the others take at this moment. The lesser of the two is what is busy.
  double occupes = charge;
  if (executables >= 1) occupes = std::min(occupes, double(executables - 1));
  return std::clamp(static_cast<int>(coeurs - 1 - occupes), 0, coeurs - 1);
}

int Equipe::aides_machine() {
  const int coeurs = static_cast<int>(std::thread::hardware_concurrency());
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

std::int32_t Equipe::prendre(std::uint32_t lot, std::int32_t nombre) {
  std::uint64_t v = prochain_.load(std::memory_order_relaxed);
  for (;;) {
    if (static_cast<std::uint32_t>(v >> 32) != lot) return -1;
    const auto k = static_cast<std::int32_t>(v & 0xffffffffu);
    if (k >= nombre) return -1;
    if (prochain_.compare_exchange_weak(v, v + 1, std::memory_order_acq_rel, std::memory_order_relaxed)) return k;
  }
}

void Equipe::boucle() {
  std::uint32_t vu = 0;
  for (;;) {
    const std::function<void(std::int32_t)>* travail = nullptr;
    std::int32_t nombre = 0;
    // Batches follow each other closely during a render: a helper first
    // watches for the next one for a while, as waking a sleeping thread
    // costs the caller more than a batch's share of work.
    const auto fin_guet = std::chrono::steady_clock::now() + std::chrono::microseconds(kGuetMicro);
    for (int tour = 0; static_cast<std::uint32_t>(prochain_.load(std::memory_order_acquire) >> 32) == vu; ++tour) {
      pause_processeur();
      if ((tour & 63) == 63 && (arret_demande_.load(std::memory_order_relaxed) ||
                                std::chrono::steady_clock::now() > fin_guet))
        break;
    }
    {
      std::unique_lock<std::mutex> verrou(garde_);
      ++dormeurs_;
      reveil_.wait(verrou, [&] { return arret_ || lot_ != vu; });
      --dormeurs_;
      if (arret_) return;
      vu = lot_;
      travail = travail_;
      nombre = nombre_;
    }
    for (std::int32_t k; (k = prendre(vu, nombre)) >= 0;) (*travail)(k);
  }
}

void Equipe::lancer(std::int32_t nombre, const std::function<void(std::int32_t)>& travail) {
  bool dormeurs = false;
  {
    const std::lock_guard<std::mutex> verrou(garde_);
    ++lot_;
    travail_ = &travail;
    nombre_ = std::max(nombre, 0);
    prochain_.store(std::uint64_t(lot_) << 32, std::memory_order_release);
    dormeurs = dormeurs_ > 0;
  }
  // Helpers still watching take the batch without being woken.
  if (dormeurs && nombre > 1) reveil_.notify_all();
}

void Equipe::aider() {
  for (std::int32_t k; (k = prendre(lot_, nombre_)) >= 0;) (*travail_)(k);
}

}  // namespace render
