// F1 pressed in a dialog as a user presses it: the dialog is shown and
// active, a control inside it has the focus, and the key goes to that control.
// Returns the help topics asked for meanwhile.
#pragma once

#include <QTest>
#include <QWidget>
#include <vector>

#include "fenetres/aide_enfants.h"

inline std::vector<int> sujets_sur_f1(QWidget& fenetre, QWidget* controle = nullptr) {
  std::vector<int> sujets;
  fixer_afficheur_aide([&sujets](int s) { sujets.push_back(s); });
  fenetre.show();
  fenetre.activateWindow();
  (void)QTest::qWaitForWindowActive(&fenetre);
  if (!controle)
    for (QWidget* w : fenetre.findChildren<QWidget*>())
      if (w->isVisible() && w->focusPolicy() != Qt::NoFocus && w->isEnabled()) {
        controle = w;
        break;
      }
  QWidget* cible = controle ? controle : &fenetre;
  cible->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(cible, Qt::Key_F1);
  fixer_afficheur_aide({});
  return sujets;
}
