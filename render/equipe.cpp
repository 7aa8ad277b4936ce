#include "render/equipe.h"

#include <algorithm>
#include <cmath>

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

int Equipe::aides_libres(int coeurs, double autres) {
  coeurs = std::clamp(coeurs, 1, kAidesMachine + 1);
  const double libres = double(coeurs - 1) - std::max(autres, 0.0);
  return std::clamp(static_cast<int>(std::floor(libres + 0.5)), 0, coeurs - 1);
}

int Equipe::aides_machine() {
  const int coeurs = platform::processeurs_utilisables();
  if (coeurs <= 1) return 0;
  // On a busy machine, helpers would only take turns with the caller on the
  // same cores.
  return aides_libres(coeurs, platform::processeurs_occupes_autres());
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
    // Two batches with nothing in them, which no helper takes part in.
    const std::lock_guard<std::mutex> verrou(garde_);
    actifs_ = 0;
    for (int k = 0; k < 2; ++k) ouvrir(lot_ + 1, 0, nullptr);
  }
  // A helper that took an index before the close ends it (a few microseconds
  // of work); one arriving after it takes nothing.
  while (en_cours_.load(std::memory_order_seq_cst) != 0) std::this_thread::yield();
  occupee_.store(false, std::memory_order_release);
}

void Equipe::ouvrir(std::uint32_t lot, std::int32_t nombre, const std::function<void(std::int32_t)>* travail) {
  lot_ = lot;
  Lot& l = lots_[lot % 2];
  l.travail = travail;
  l.nombre = std::max(nombre, 0);
  l.prochain.store(std::uint64_t(lot) << 32, std::memory_order_seq_cst);
}

std::int32_t Equipe::prendre_indice(std::uint32_t lot, std::int32_t nombre) {
  std::atomic<std::uint64_t>& prochain = lots_[lot % 2].prochain;
  std::uint64_t v = prochain.load(std::memory_order_relaxed);
  for (;;) {
    if (static_cast<std::uint32_t>(v >> 32) != lot) return -1;
    const auto k = static_cast<std::int32_t>(v & 0xffffffffu);
    if (k >= nombre) return -1;
    if (prochain.compare_exchange_weak(v, v + 1, std::memory_order_seq_cst, std::memory_order_relaxed)) return k;
  }
}

std::int32_t Equipe::restants(std::uint32_t lot, std::int32_t nombre) const {
  const std::uint64_t v = lots_[lot % 2].prochain.load(std::memory_order_relaxed);
  if (static_cast<std::uint32_t>(v >> 32) != lot) return 0;
  return std::max(nombre - static_cast<std::int32_t>(v & 0xffffffffu), 0);
}

void Equipe::boucle(int rang) {
  const std::uint32_t bit = 1u << rang;
  std::uint32_t vu = 1;  // the batch opened last when this helper last looked
  for (;;) {
    // The two open batches, the older first.
    const std::function<void(std::int32_t)>* travaux[2] = {nullptr, nullptr};
    std::int32_t nombres[2] = {0, 0};
    std::uint32_t numeros[2] = {0, 0};
    // A helper that finds no work sleeps at once: during a render the next
    // batch comes only when the caller has drawn a line (a millisecond or so
    // later), and watching for it burnt a core per helper.
    std::uint32_t a_reveiller = 0;
    {
      std::unique_lock<std::mutex> verrou(garde_);
      endormis_ |= bit;
      reveils_[rang].wait(verrou, [&] { return arret_ || (lot_ != vu && rang < actifs_); });
      endormis_ &= ~bit;
      if (arret_) return;
      vu = lot_;
      std::int32_t reste = 0;
      for (int k = 0; k < 2; ++k) {
        numeros[k] = vu - 1 + std::uint32_t(k);
        const Lot& l = lots_[numeros[k] % 2];
        travaux[k] = l.travail;
        nombres[k] = l.nombre;
        reste += restants(numeros[k], nombres[k]);
      }
      // Its two followers, when they sleep and the batches still have indices left.
      if (reste > 1) a_reveiller = endormis_ & suivants(2 * rang + 2);
      // Counted while the batches are still open: rendre() then waits for it.
      en_cours_.fetch_add(1, std::memory_order_seq_cst);
    }
    reveiller(a_reveiller);
    for (int b = 0; b < 2; ++b)
      if (travaux[b])
        for (std::int32_t k; (k = prendre_indice(numeros[b], nombres[b])) >= 0;) (*travaux[b])(k);
    en_cours_.fetch_sub(1, std::memory_order_seq_cst);
  }
}

std::uint32_t Equipe::lancer(std::int32_t nombre, const std::function<void(std::int32_t)>& travail) {
  std::uint32_t a_reveiller = 0;
  std::uint32_t lot = 0;
  {
    const std::lock_guard<std::mutex> verrou(garde_);
    lot = lot_ + 1;
    ouvrir(lot, nombre, &travail);
    if (nombre > 1) a_reveiller = endormis_ & suivants(0);
  }
  reveiller(a_reveiller);
  return lot;
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

std::int32_t Equipe::aider(std::uint32_t lot) {
  // The batches' values are written by this very thread (helpers only read them).
  const Lot& l = lots_[lot % 2];
  std::int32_t faits = 0;
  if (l.travail)
    for (std::int32_t k; (k = prendre_indice(lot, l.nombre)) >= 0; ++faits) (*l.travail)(k);
  return faits;
}

void Equipe::participants(int aides) {
  const std::lock_guard<std::mutex> verrou(garde_);
  actifs_ = std::clamp(aides, 0, taille());
}

ReglageAides::ReglageAides(int depart, int maximum)
    : maximum_(std::clamp(maximum, 0, kMax)), aides_(std::clamp(depart, std::min(1, maximum_), maximum_)) {}

int ReglageAides::ligne(std::int32_t parts, std::int32_t propres, double calcul, double cycle) {
  ++lignes_[aides_];
  const int avant = aides_;
  const bool retard = propres > 0;
  bool aisee = false;
  if ((retard && retard_) || propres * (aides_ + 1) > parts) {
    aides_ = std::min(aides_ + 1, maximum_);
  } else if (!retard && calcul >= 0.0 && aides_ > 1) {
    aisee = calcul * aides_ < kPartAides * cycle * (aides_ - 1);
  }
  retard_ = retard && aides_ == avant;  // after one more, two new late lines for the next
  aisees_ = aisee ? aisees_ + 1 : 0;
  if (aisees_ == kLignesAisees) {
    --aides_;
    aisees_ = 0;
  }
  return aides_;
}

int ReglageAides::retenu() const {
  int meilleur = 0;
  for (int a = 1; a <= kMax; ++a)
    if (lignes_[a] > 0 && lignes_[a] >= lignes_[meilleur]) meilleur = a;
  return meilleur;
}

}  // namespace render
