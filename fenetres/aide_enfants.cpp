#include "fenetres/aide_enfants.h"

#include <QShortcut>
#include <QWidget>

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

void lier_touche_aide(QWidget& fenetre, std::function<int()> sujet) {
  // A shortcut of the dialog's window: it answers whichever control has the
  // focus, also one that reads other keys itself.
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), &fenetre);
  f1->setContext(Qt::WindowShortcut);
  QObject::connect(f1, &QShortcut::activated, &fenetre, [sujet = std::move(sujet)] { afficher_sujet_aide(sujet()); });
}
