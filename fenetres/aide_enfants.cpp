#include "fenetres/aide_enfants.h"

namespace {
std::function<void(int)>& afficheur() {
  static std::function<void(int)> f;
  return f;
}
}  // namespace

void afficher_sujet_aide(int sujet) {
  if (afficheur()) afficheur()(sujet);
}

void fixer_afficheur_aide(std::function<void(int)> a) { afficheur() = std::move(a); }
