#include "app/fenetres/fenetres.h"

#include <QCloseEvent>

void FenetreEnfant::requete_fenetre() const { platform::send(principale, platform::WM_LBUTTONDBLCLK, 0, 0); }

void CarteMontagne::initialiser_fiche(platform::WindowHandle proprietaire, bool a_fichier, long long date) {
  principale = proprietaire;
  (void)a_fichier;
  (void)date;
}

void CarteMontagne::closeEvent(QCloseEvent* e) {
  if (!fermeture_autorisee) {
    e->ignore();
    return;
  }
  fermeture = 1;
  e->accept();
}

void FenetreVue::closeEvent(QCloseEvent* e) {
  if (!fermeture_autorisee) {
    e->ignore();
    return;
  }
  fermeture = 1;
  e->accept();
}

void FenetreVideo::closeEvent(QCloseEvent* e) {
  fermeture = 1;
  e->accept();
}

void FenetreEdition::closeEvent(QCloseEvent* e) {
  fermeture = 1;
  e->accept();
}

void FenetreImport::closeEvent(QCloseEvent* e) {
  fermee = 1;
  e->accept();
}
