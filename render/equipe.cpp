#include "render/equipe.h"

#include <cstdio>
#include <cstdlib>

#include <algorithm>

#include "platform/processeurs.h"

namespace render {

namespace {

constexpr int kAidesMachine = 7;

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
    // A helper that finds no work sleeps at once: during a render the next
    // batch comes only when the caller has drawn the previous one (a
    // millisecond or so later), and watching for it burnt a core per helper.
    std::uint32_t a_reveiller = 0;
    {
      std::unique_lock<std::mutex> verrou(garde_);
      endormis_ |= bit;
      reveils_[rang].wait(verrou, [&] { return arret_ || (lot_ != vu && rang < actifs_); });
      endormis_ &= ~bit;
      if (arret_) return;
      vu = lot_;
      travail = travail_;
      nombre = nombre_;
      // Its two followers, when they sleep and the batch still has indices left.
      if (static_cast<std::int32_t>(prochain_.load(std::memory_order_relaxed) & 0xffffffffu) + 1 < nombre)
        a_reveiller = endormis_ & suivants(2 * rang + 2);
      // Counted while the batch is still open: rendre() then waits for it.
      en_cours_.fetch_add(1, std::memory_order_seq_cst);
    }
    reveiller(a_reveiller);
    if (travail)
      for (std::int32_t k; (k = prendre_indice(vu, nombre)) >= 0;) (*travail)(k);
    en_cours_.fetch_sub(1, std::memory_order_seq_cst);
  }
}

void Equipe::lancer(std::int32_t nombre, const std::function<void(std::int32_t)>& travail) {
  std::uint32_t a_reveiller = 0;
  {
    const std::lock_guard<std::mutex> verrou(garde_);
    ++lot_;
    travail_ = &travail;
    nombre_ = std::max(nombre, 0);
    prochain_.store(std::uint64_t(lot_) << 32, std::memory_order_seq_cst);
    if (nombre > 1) a_reveiller = endormis_ & suivants(0);
  }
  reveiller(a_reveiller);
}

std::uint32_t Equipe::suivants(int premier) const {
  // Ranks premier and premier + 1, those that take part.
  std::uint32_t r = 0;
  for (int k = premier; k < premier + 2 && k < actifs_; ++k) r |= 1u << k;
  return r;
}

void Equipe::reveiller(std::uint32_t rangs) {
  for (int k = 0; rangs != 0; ++k, rangs >>= 1)
    if (rangs & 1u) reveils_[k].notify_one();
}

std::int32_t Equipe::aider() {
  // The batch's values are written by this very thread (helpers only read them).
  std::int32_t faits = 0;
  if (travail_)
    for (std::int32_t k; (k = prendre_indice(lot_, nombre_)) >= 0; ++faits) (*travail_)(k);
  return faits;
}

void Equipe::participants(int aides) {
  const std::lock_guard<std::mutex> verrou(garde_);
  actifs_ = std::clamp(aides, 0, taille());
}

}  // namespace render
