#include "fenetres/proprietaire_boites.h"

#include <QApplication>

namespace {

constexpr const char* kPassagere = "quorvel_passagere";

}  // namespace

void marquer_passagere(QWidget& fenetre) { fenetre.setProperty(kPassagere, true); }

bool est_passagere(const QWidget* fenetre) {
  for (const QWidget* w = fenetre; w; w = w->parentWidget())
    if (w->property(kPassagere).toBool() || (w->isWindow() && w->testAttribute(Qt::WA_DeleteOnClose))) return true;
  return false;
}

QWidget* proprietaire_boite(QWidget* secours) {
  for (QWidget* candidat : {QApplication::activeWindow(), QApplication::activeModalWidget()})
    if (candidat && !est_passagere(candidat)) return candidat;
  return secours;
}
