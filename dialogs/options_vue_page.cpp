// The view options pages' shared context: the displayed mountain's samples in
// the preview terrains, the sky folder and the preview renders; and the
// copy block every page but Scale and Weather carries.
#include "dialogs/options_vue_page.h"

#include <QLabel>
#include <QPushButton>
#include <filesystem>

#include "fenetres/dossiers.h"
#include "fenetres/rendu.h"
#include "model/aleatoire.h"
#include "model/erreur.h"
#include "model/matrice.h"
#include "model/noeuds.h"
#include "render/palette.h"

using namespace fenetres;

namespace dialogs {

namespace {

// The height of the node nearest to the fractions (x, y).
double hauteur_au_point(const Tmatrice& t, double x, double y) {
  return t.hauteurs->lire(Round(x * t.n), Round(y * t.n));
}

// Every second node of the degree-5 preview into the degree-4 one.
void copier_un_sur_deux(const Tmatrice& apercu, Tmatrice& rapide) {
  for (int i = 1; i <= 18; ++i)
    for (int j = 1; j <= 18; ++j) rapide.hauteurs->ecrire(i, j, apercu.hauteurs->lire(2 * i - 1, 2 * j - 1));
}

}  // namespace

MontagneOptionsVue decrire_montagne(const Tmatrice& t) {
  MontagneOptionsVue m;
  m.cible_x = t.cible.x;
  m.cible_y = t.cible.y;
  m.observateur_x = t.observateur.x;
  m.observateur_y = t.observateur.y;
  m.altitude_cible = hauteur_au_point(t, t.cible.x, t.cible.y);
  m.altitude_observateur = hauteur_au_point(t, t.observateur.x, t.observateur.y);
  m.especes = t.especes_presentes;
  m.echantillons = echantillonner_36(t);
  return m;
}

std::unique_ptr<TMyPalette> palette_de(const param_vue& v, bool grande) {
  auto palette = std::make_unique<TMyPalette>(grande, 4);
  if (v.couleurs_defaut)
    palette->charger_couleurs_base();
  else
    for (int k = 0; k < 10; ++k)
      palette->fixer_couleur(static_cast<std::uint8_t>(k + 1), v.couleurs[std::size_t(k)].r,
                             v.couleurs[std::size_t(k)].g, v.couleurs[std::size_t(k)].b);
  palette->construire(v.contraste, v.profondeur_ombre, v.ombre_portee != 0, grande ? v.brume_densite : 0);
  return palette;
}

// ---------------------------------------------------------------- context

ContexteOptionsVue::ContexteOptionsVue()
    : handle_(platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; })) {}

ContexteOptionsVue::~ContexteOptionsVue() { platform::unregister_window(handle_); }

void ContexteOptionsVue::preparer(const param_mat& p, const std::string& dossier_programme) {
  param_mat q = p;
  q.maillage = 5;
  relief_apercu_ = std::make_unique<Tmatrice>(q);
  relief_apercu_->charger_apercu();
  relief_apercu_->placer_cible(0.333, 0.333, 0);
  relief_apercu_->placer_observateur(0.01, 0.01, 0);
  q.maillage = 4;
  relief_rapide_ = std::make_unique<Tmatrice>(q);
  relief_rapide_->charger_apercu();
  relief_rapide_->placer_cible(0.333, 0.333, 0);
  relief_rapide_->placer_observateur(0.01, 0.01, 0);
  copier_un_sur_deux(*relief_apercu_, *relief_rapide_);
  q.maillage = 6;
  relief_arbres_ = std::make_unique<Tmatrice>(q);
  relief_arbres_->amplitude = 4000;
  relief_arbres_->placer_cible(0.33, 0.33, 100);
  relief_arbres_->placer_observateur(0.1, 0.1, 100);
  montagne_chargee_ = 0;

  namespace fs = std::filesystem;
  dossier_programme_ = dossier_programme;
  const fs::path ciels = dossiers::ciels(dossier_programme);
  std::error_code ec;
  ciel_present_ = !dossier_programme.empty() && fs::is_regular_file(ciels / "nuage.jpg", ec);
  dossier_liste_ciels_ = ciel_present_ ? fs::absolute(ciels, ec).string() : dossier_programme;
}

const MontagneOptionsVue* ContexteOptionsVue::montagne() const {
  const int m = montagne_affichee;
  if (m < 1 || m > 5 || !montagnes[std::size_t(m)]) return nullptr;
  return &*montagnes[std::size_t(m)];
}

Tmatrice* ContexteOptionsVue::terrain() const {
  const int m = montagne_affichee;
  return m >= 1 && m <= 5 ? terrains[std::size_t(m)] : nullptr;
}

bool ContexteOptionsVue::couche_disponible(int k) const {
  if (k < 1 || k > 6) return false;
  const MontagneOptionsVue* m = montagne();
  return !m || m->especes[std::size_t(k)] != 0;
}

Tmatrice& ContexteOptionsVue::apercu() {
  charger_apercu_relief();
  return *relief_apercu_;
}

Tmatrice& ContexteOptionsVue::rapide() {
  charger_apercu_relief();
  return *relief_rapide_;
}

Tmatrice& ContexteOptionsVue::plat() { return *relief_arbres_; }

void ContexteOptionsVue::charger_apercu_relief() {
  const MontagneOptionsVue* d = montagne();
  if (!d || montagne_affichee == montagne_chargee_) return;
  for (Tmatrice* t : {relief_apercu_.get(), relief_rapide_.get()}) {
    t->placer_cible(d->cible_x, d->cible_y, d->altitude_cible);
    t->placer_observateur(d->observateur_x, d->observateur_y, d->altitude_observateur);
  }
  for (int i = 1; i <= 36; ++i)
    for (int j = 1; j <= 36 && i + j < 40; ++j) relief_apercu_->hauteurs->ecrire(i, j, d->echantillons[i][j]);
  copier_un_sur_deux(*relief_apercu_, *relief_rapide_);
  montagne_chargee_ = montagne_affichee;
}

void ContexteOptionsVue::rendre(Tmatrice& t, const param_vue& v, const TMyPalette& palette,
                                render::Bitmap& image) const {
  render::RenderOptions o;
  o.dossier_ciels = dossiers::ciels(dossier_programme_);
  t.marquer_modifiee();
  try {
    calculer_image(t, handle_, palette, image, {}, v, image.width(), image.height(), nullptr, nullptr, 0, 0, 0, 0,
                   0, camera_nulle_, o);
  } catch (const ModelError&) {
    // A preview that cannot be drawn keeps what was drawn.
  }
}

// ---------------------------------------------------------------- page

PageOptionsVue::PageOptionsVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent)
    : QWidget(parent), vue_(v), contexte_(contexte) {}

QPushButton* PageOptionsVue::ajouter_copie(const char* nom, QRect bouton, QPoint origine, QPoint destination) {
  origine_ = new QLabel("0", this);
  origine_->setGeometry(origine.x(), origine.y(), 30, 18);
  bouton_copie_ = new QPushButton("Copy", this);
  bouton_copie_->setObjectName(nom);
  bouton_copie_->setGeometry(bouton);
  destination_ = new QLabel("0", this);
  destination_->setGeometry(destination.x(), destination.y(), 30, 18);
  connect(bouton_copie_, &QPushButton::clicked, this, &PageOptionsVue::copie);
  montrer_copie();
  return bouton_copie_;
}

void PageOptionsVue::montrer_copie() {
  if (!bouton_copie_) return;
  origine_->setText(QString::number(contexte_.vue_affichee));
  destination_->setText(QString::number(contexte_.vue_active));
  bouton_copie_->setEnabled(contexte_.copie_permise);
}

void PageOptionsVue::taire_controles() {
  for (QObject* o : findChildren<QObject*>()) o->blockSignals(true);
}

}  // namespace dialogs
