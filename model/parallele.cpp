#include "model/parallele.h"

namespace model {

Equipe& Equipe::commune() {
  static Equipe equipe(aides_paralleles());
  return equipe;
}

Equipe::Equipe(int taille) {
  fils_.reserve(static_cast<std::size_t>(std::max(0, taille)));
  for (int k = 0; k < taille; ++k) {
    try {
      fils_.emplace_back([this] { servir(); });
    } catch (const std::system_error&) {
      break;  // a smaller team
    }
  }
}

Equipe::~Equipe() {
  {
    const std::lock_guard<std::mutex> verrou(garde_);
    arret_ = true;
  }
  reveil_.notify_all();
  for (auto& f : fils_) f.join();
}

int Equipe::lancer(int aides, Tache tache, void* contexte) {
  int nombre;
  {
    const std::lock_guard<std::mutex> verrou(garde_);
    nombre = std::clamp(aides, 0, taille());
    tache_ = tache;
    contexte_ = contexte;
    places_ = nombre;
    actifs_ = nombre;
    ++tour_;
  }
  if (nombre > 0) reveil_.notify_all();
  return nombre;
}

void Equipe::rendre() {
  {
    std::unique_lock<std::mutex> verrou(garde_);
    // The caller ran out of work: helpers that have not woken yet stay out
    // (on a busy machine they may wait long for a core).
    actifs_ -= places_;
    places_ = 0;
    fin_.wait(verrou, [this] { return actifs_ == 0; });
    tache_ = nullptr;
    contexte_ = nullptr;
  }
  occupee_.store(false, std::memory_order_release);
}

void Equipe::servir() {
  std::unique_lock<std::mutex> verrou(garde_);
  // The team is built before its first tour: a thread that starts late must
  // still see that one.
  std::uint64_t vu = 0;
  for (;;) {
    reveil_.wait(verrou, [&] { return arret_ || tour_ != vu; });
    if (arret_) return;
    vu = tour_;
    if (places_ == 0) continue;  // enough helpers took this tour
    --places_;
    const Tache tache = tache_;
    void* const contexte = contexte_;
    verrou.unlock();
    tache(contexte);  // never throws: repartir's loop keeps its errors
    verrou.lock();
    if (--actifs_ == 0) fin_.notify_all();
  }
}

}  // namespace model
