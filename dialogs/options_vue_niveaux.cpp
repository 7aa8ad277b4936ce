// The Levels page of the view options dialog.
#include "dialogs/options_vue_niveaux.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "controls/checkbox.h"
#include "controls/trackbar.h"
#include "dialogs/options_vue_boites.h"
#include "fenetres/elements_pages.h"
#include "fenetres/saisie.h"
#include "render/palette.h"

using namespace fenetres;

namespace dialogs {

namespace {

// Each bar: its caption, names, field and range; its position is base - field.
struct BarreNiveau {
  const char *titre, *barre, *edit;
  std::int32_t param_vue::*champ;
  int minimum, maximum;
  int base;  // position = base - field
};
constexpr BarreNiveau kBarres[7] = {
    {"Sea", "ScrollBar_mer", "Edit_mer", &param_vue::niveau_mer, -1000, 1000, 0},
    {"Grass", "ScrollBar_herbe", "Edit_herbe", &param_vue::niveau_herbe, -1000, 2000, 1000},
    {"Rock", "ScrollBar_rocher", "Edit_rocher", &param_vue::niveau_rocher, 0, 4000, 4000},
    {"Overlap", "ScrollBar_recouvre", "Edit_recouvre", &param_vue::zone_recouvrement, 0, 2000, 2000},
    {"Sand", "ScrollBar_sable", "Edit_sable", &param_vue::hauteur_sable, -1000, 200, -800},
    {"Snow", "ScrollBar_neige", "Edit_neige", &param_vue::niveau_neige, -1000, 4000, 3000},
    {"Snow tr.", "ScrollBar_delta_neige", "Edit_delta_neige", &param_vue::delta_neige, 0, 500, 500},
};

}  // namespace

void copier_niveaux(const param_vue& s, param_vue& d) {
  d.niveau_mer = s.niveau_mer;
  d.niveau_herbe = s.niveau_herbe;
  d.niveau_rocher = s.niveau_rocher;
  d.zone_recouvrement = s.zone_recouvrement;
  d.niveau_neige = s.niveau_neige;
  d.delta_neige = s.delta_neige;
  d.diversite_couleurs = s.diversite_couleurs;
  d.strates = s.strates;
}

PageNiveauxVue::PageNiveauxVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent)
    : PageOptionsVue(v, contexte, parent) {
  setObjectName("Option_niveaux");
  construire();
  connecter();
}

PageNiveauxVue::~PageNiveauxVue() { taire_controles(); }

void PageNiveauxVue::construire() {
  for (int k = 0; k < 7; ++k) {
    const BarreNiveau& b = kBarres[k];
    const int x = 8 + 52 * k;
    etiquette(this, b.titre, {x, 4, 52, 18});
    barres_[std::size_t(k)] = barre(this, b.barre, Qt::Vertical, b.minimum, b.maximum, {x + 12, 24, 16, 170});
    barres_[std::size_t(k)]->setPageStep(100);
    edits_[std::size_t(k)] = zone_saisie(this, b.edit, {x, 200, 48, 22});
  }
  etiquette(this, "Colour diversity", {8, 236, 110, 18});
  Trackbar_alea = glissiere(this, "Trackbar_alea", 0, 10, {120, 230, 150, 30});
  edits_[7] = zone_saisie(this, "Edit_alea", {276, 234, 36, 22});
  CheckBox_strates = coche(this, "CheckBox_strates", "Horizontal stratum", {8, 270, 150, 20});
  etiquette(this, "Snow on:", {170, 270, 60, 20});
  CheckBox_neige = coche(this, "CheckBox_neige", "sun", {232, 270, 150, 20});
  checkbox_arb_neige = coche(this, "checkbox_arb_neige", "Trees", {300, 270, 150, 20});
  Image_niveaux = new PreviewBox(this, kLargeurNiveaux, kHauteurNiveaux);
  Image_niveaux->setObjectName("Image_niveaux");
  Image_niveaux->move(384, 8);
  ajouter_copie("BitBtn_no_niv", {450, 268, 70, 26}, {470, 250}, {470, 296});
}

void PageNiveauxVue::connecter() {
  for (QScrollBar* b : barres_)
    sur_defilement(b, this, [this, b](int code, int position) { ScrollBar_nivScroll(b, code, position); });
  for (QLineEdit* e : edits_) connect(e, &QLineEdit::editingFinished, this, [this, e] { Edit_nivExit(e); });
  connect(Trackbar_alea, &CtlTrackBar::changed, this, [this] {
    vue_.diversite_couleurs = Trackbar_alea->Position();
    afficher_niveaux();
    emit change();
  });
  const std::pair<CtlCheckBox*, std::uint8_t param_vue::*> drapeaux[] = {
      {CheckBox_strates, &param_vue::strates},
      {CheckBox_neige, &param_vue::neige_soleil},
      {checkbox_arb_neige, &param_vue::neige_arbres}};
  for (auto [c, champ] : drapeaux)
    connect(c, &CtlCheckBox::changed, this, [this, c = c, champ = champ] {
      vue_.*champ = c->Checked();
      emit change();
    });
  Image_niveaux->fixer_rendu([this](render::Bitmap& b) { rendre_niveaux(b); });
}

// ---------------------------------------------------------------- load, store, show

void PageNiveauxVue::charger(const param_vue& v) {
  vue_ = v;
  drapeau_niveaux_ = true;
  charger_niveaux();
}

void PageNiveauxVue::ranger(param_vue& v) const {
  copier_niveaux(vue_, v);
  v.hauteur_sable = vue_.hauteur_sable;
  v.neige_soleil = vue_.neige_soleil;
  v.neige_arbres = vue_.neige_arbres;
}

void PageNiveauxVue::charger_niveaux() {
  const param_vue& v = vue_;
  for (int k = 0; k < 7; ++k) barres_[std::size_t(k)]->setValue(kBarres[k].base - v.*(kBarres[k].champ));
  placer(Trackbar_alea, v.diversite_couleurs);
  CheckBox_strates->SetChecked(v.strates != 0);
  CheckBox_neige->SetChecked(v.neige_soleil != 0);
  checkbox_arb_neige->SetChecked(v.neige_arbres != 0);
  palette_ = palette_de(v);
  montrer_copie();
  afficher_niveaux();
}

void PageNiveauxVue::afficher_niveaux() {
  const param_vue& v = vue_;
  for (int k = 0; k < 7; ++k) edits_[std::size_t(k)]->setText(QString::number(v.*(kBarres[k].champ)));
  edits_[7]->setText(QString::number(v.diversite_couleurs));
  if (drapeau_niveaux_) Image_niveaux->invalidate();
}

// ---------------------------------------------------------------- handlers

void PageNiveauxVue::ScrollBar_nivScroll(QScrollBar* b, int code, int position) {
  for (int k = 0; k < 7; ++k)
    if (b == barres_[std::size_t(k)]) vue_.*(kBarres[k].champ) = kBarres[k].base - position;
  // The preview follows once the thumb is let go.
  if (code == kFinDefilement || code == kPouceLache) drapeau_niveaux_ = true;
  afficher_niveaux();
  emit change();
}

void PageNiveauxVue::Edit_nivExit(QLineEdit* e) {
  param_vue& v = vue_;
  for (int k = 0; k < 7; ++k)
    if (e == edits_[std::size_t(k)]) v.*(kBarres[k].champ) = entier_saisi(e->text(), v.*(kBarres[k].champ));
  if (e == edits_[7]) v.diversite_couleurs = entier_saisi(e->text(), v.diversite_couleurs);
  drapeau_niveaux_ = true;
  charger_niveaux();
  emit change();
}

// ---------------------------------------------------------------- preview

void PageNiveauxVue::rendre_niveaux(render::Bitmap& image) {
  if (!drapeau_niveaux_) return;
  drapeau_niveaux_ = false;
  param_vue v = vue_;
  v.agitation_mer = 0;
  v.horizon = v.detail_arbres = v.reflet = v.brume = v.ombre_portee = v.strates = v.foret = v.deformation = 0;
  v.premier_plan = v.photo_aerienne = 0;
  Tmatrice* terrain = contexte_.terrain();
  contexte_.rendre(terrain ? *terrain : contexte_.apercu(), v, *palette_, image);
}

}  // namespace dialogs
