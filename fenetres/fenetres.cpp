#include "fenetres/fenetres.h"

#include <QCloseEvent>
#include <algorithm>

#include "render/ciel.h"

// The sky's picture limit is worked out from the largest picture a view makes.
static_assert(kTailleImageMax <= render::kCoteImageMaxi, "a view larger than the sky's limit allows");

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

void FenetreEdition::rafraichir_edition(const param_vue& defaut) {
  vue.niveau_mer = defaut.niveau_mer;
  vue.niveau_herbe = defaut.niveau_herbe;
  vue.niveau_rocher = defaut.niveau_rocher;
  vue.couleurs_defaut = defaut.couleurs_defaut;
  vue.arbres = defaut.arbres;
  vue.couleurs = defaut.couleurs;
  peinte = 0;
}

void FenetreEdition::closeEvent(QCloseEvent* e) {
  fermeture = 1;
  e->accept();
}

void FenetreImport::closeEvent(QCloseEvent* e) {
  fermee = 1;
  e->accept();
}

void FenetreVideo::prendre_cameras(const std::vector<enregistrement_camera>* source, std::int32_t nombre_images) {
  const std::size_t n = std::size_t(std::clamp(nombre_images, 0, kCamerasMax)) + 1;
  cameras.assign(n, enregistrement_camera{});
  if (source) std::copy_n(source->begin(), std::min(n, source->size()), cameras.begin());
}
