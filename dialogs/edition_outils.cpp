// The map editor's mouse and keyboard: where the tools take their input. With
// the cursor (tool 0) the mouse shows the position and the altitude under it.
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include "dialogs/edition.h"

using namespace dialogs;

namespace {

const char* const kAideOutil0 = "Cursor:  Choose a tool in the toolbar";

}  // namespace

void Tfenetre_edition::affiche_outil() {
  const QString aide = kAideOutil0;
  panneaux[1]->setText(aide);
  nom_outil->setText(aide.section(':', 0, 0));
  zone_carte()->setCursor(outil == 0 ? QCursor(Qt::ArrowCursor) : QCursor());
}

void Tfenetre_edition::deplacement_souris(std::int32_t x, std::int32_t y) {
  souris = {x, y};
  std::int32_t h = 0;
  const NoeudCarte n = ecran_vers_grille(x, y, h);
  if (n == noeud && sur_terrain) return;
  if (h < -4000 || TimerT1.isActive()) {
    if (sur_terrain) efface_jauge();
    sur_terrain = 0;
    return;
  }
  noeud = n;
  sur_terrain = 1;
  affiche_position(h);
}

void Tfenetre_edition::Image1MouseDown(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) {
    efface_jauge();
    noeud = {-1, -1};  // the next step shows the node again
    deplacement_souris(souris.x, souris.y);
    return;
  }
  bouton_enfonce = 1;
}

void Tfenetre_edition::Image1MouseMove(QMouseEvent* e) {
  deplacement_souris(e->position().toPoint().x(), e->position().toPoint().y());
}

void Tfenetre_edition::Image1MouseUp(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) bouton_enfonce = 0;
}

void Tfenetre_edition::FormKeyDown(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_F1: Aide1Click(); break;
    case Qt::Key_Home: bascule_zoom(); break;
    case Qt::Key_End: SpeedButton_niveauxClick(); break;
    default: e->ignore(); break;
  }
}

void Tfenetre_edition::keyPressEvent(QKeyEvent* e) {
  e->accept();
  FormKeyDown(e);
  if (!e->isAccepted()) FenetreEdition::keyPressEvent(e);
}
