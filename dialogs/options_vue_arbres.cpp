// The Arbres page of the view options dialog.
#include "dialogs/options_vue_arbres.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "fenetres/elements_pages.h"
#include "fenetres/saisie.h"
#include "controls/checkbox.h"
#include "controls/combobox.h"
#include "controls/imagelist.h"
#include "controls/trackbar.h"
#include "dialogs/arbres_apercu.h"
#include "dialogs/options_vue_boites.h"
#include "dialogs/options_vue_calculs.h"
#include "model/aleatoire.h"
#include "model/defauts.h"
#include "model/interfaces.h"
#include "render/canevas_arbre.h"
#include "render/especes.h"
#include "render/palette.h"

using namespace fenetres;

namespace dialogs {

namespace {

constexpr double kDegre = 3.14159265358979323846 / 180;
constexpr render::Pixel kAqua = render::pixel_rgb(0, 255, 255);

// A layer with one of the eight kinds; 0 (and anything else) means no trees.
bool a_une_espece(const espece_arbres& c) { return c.espece >= 1 && c.espece <= nombre_especes; }

// The nine bars: field, range, lower limit of the edit (none for the trunk), upper limit of the edit.
struct BarreArbre {
  const char* titre;
  std::int32_t espece_arbres::*champ;
  int minimum, maximum;
  bool borne_basse, borne_haute;
};
constexpr BarreArbre kBarres[9] = {
    {"Height", &espece_arbres::hauteur, 1, 80, true, false},
    {"Width", &espece_arbres::largeur, 1, 20, true, false},
    {"Weight", &espece_arbres::poids_branches, 1, 40, true, false},
    {"Leaf size", &espece_arbres::taille_feuilles, 1, 10, true, false},
    {"Leaf width", &espece_arbres::largeur_feuilles, 1, 20, true, false},
    {"Trunk height", &espece_arbres::hauteur_tronc, 0, 20, false, false},
    {"Trunk width", &espece_arbres::largeur_tronc, 0, 10, false, false},
    {"Growth", &espece_arbres::taux_croissance, 1, 10, true, true},
    {"Diversity", &espece_arbres::diversite, 0, 10, false, false},
};

// A small picture of each tree kind, drawn with the project's own tree model.
QImage image_espece(int espece) {
  param_vue vue;
  valeurs_defaut_vue(vue);
  vue.distance = 5.0;
  vue.detail_arbres = 1;
  espece_arbres couche{};
  couche.espece = espece;
  couche.couleur = 1;
  couche.hauteur = 20;
  defauts_espece(couche, espece);
  TMyPalette palette(false, 4);
  palette.construire(50, 20, false, 0);
  render::Bitmap b(32, 32, kAqua);
  auto t = Tarbre::creer(vue, false, 1, couche);
  bool annule = false;
  t->generer_arbre(vue, couche, 1.0, 0.0, std::cos(vue.elevation_soleil * kDegre), std::cos(vue.azimut_soleil * kDegre),
                   1.0, 0.0, 7, 1, 0, nullptr, annule, 0.0, 0.0);
  render::CanevasImage cv(b.surface());
  t->dessiner_arbre({16, 30}, 40, 8.0, 0, false, 0, 4, 0, cv, palette, false, 1, 0.0, nullptr, 0, annule, false);
  return QImage(reinterpret_cast<const uchar*>(b.surface().row(0)), 32, 32, 32 * 4, QImage::Format_RGB32).copy();
}

}  // namespace

void copier_arbres(const param_vue& source, param_vue& cible) { cible.arbres = source.arbres; }

PageArbresVue::PageArbresVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent)
    : PageOptionsVue(v, contexte, parent) {
  setObjectName("Option_arbres");
  construire();
  connecter();
  connecter_couche();
}

PageArbresVue::~PageArbresVue() { taire_controles(); }

void PageArbresVue::construire() {
  auto* couches = new QButtonGroup(this);
  const char* noms[] = {"C1", "C2", "C3", "C4", "P1", "P2"};
  for (int k = 0; k < 6; ++k) {
    QRadioButton* r = radios_couche_[std::size_t(k)] = new QRadioButton(noms[k], this);
    r->setObjectName(QString("RadioButton_C%1").arg(k + 1));
    r->setGeometry(8 + 44 * k, 4, 44, 20);
    couches->addButton(r, k + 1);
  }
  ComboBox_couche = new CtlComboBox(this);
  ComboBox_couche->setObjectName("ComboBox_couche");
  ComboBox_couche->setGeometry(8, 28, 150, 24);
  for (const char* t : {"Lev 1: Plain ", "Lev 2: Medium low", "Lev 3: Medium high", "Lev 4: High ground",
                        "Located trees 1", "Located trees 2"})
    ComboBox_couche->addItem(t);
  UpDown_couche = new HautBas(this);
  UpDown_couche->setObjectName("UpDown_couche");
  UpDown_couche->setGeometry(160, 28, 16, 24);
  UpDown_couche->fixer_bornes(1, 6);
  BitmapList_arbres = new CtlBitmapList(this);
  BitmapList_arbres->setObjectName("BitmapList_arbres");
  for (int e = 1; e <= 8; ++e) BitmapList_arbres->AddBitmap(image_espece(e));
  ComboBox_type = new CtlImageComboBox(this);
  ComboBox_type->setObjectName("ComboBox_type");
  ComboBox_type->setGeometry(180, 28, 110, 36);
  ComboBox_type->SetImageList(BitmapList_arbres);
  // Each row of the list as tall as its picture, the name beside its middle.
  ComboBox_type->SetOptions(ComboBox_type->Options() | lboCalcHeight);
  ComboBox_type->Layout().SetAlignment(agCenterLeft);
  for (const char* t : {"Oak", "Fir", "Poplar", "Pine", "Palm", "Corn", "Cactus", "Bush"}) ComboBox_type->addItem(t);
  ComboBox_couleur = new CtlComboBox(this);
  ComboBox_couleur->setObjectName("ComboBox_couleur");
  ComboBox_couleur->setGeometry(8, 60, 150, 24);
  for (const char* t : {"Color 1 ", "Color 1 dark", "Color 2", "Color 2 dark"}) ComboBox_couleur->addItem(t);
  ComboBox_couleur->OnDrawItem = [this](QPainter& p, const QRect& r, int index, bool) {
    if (index < 0 || index > 3 || !palette_) return;
    const int s = palette_->facteur();
    const int entrees[4] = {48 * s + 18, 45 * s + 18, 60 * s + 18, 57 * s + 18};
    const Rgb c = palette_->lire_couleur(static_cast<std::uint16_t>(entrees[index]));
    p.fillRect(r, QColor(c.r, c.g, c.b));
    QFont f = p.font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::yellow);
    p.drawText(r.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, ComboBox_couleur->itemText(index));
  };
  construire_glissieres();
  construire_boutons();
}

// The nine bars of the selected layer, with their edits.
void PageArbresVue::construire_glissieres() {
  const char* barres[9] = {"TrackBar_hauteur",   "TrackBar_largeur",   "TrackBar_poids",
                           "TrackBar_taille_f",  "TrackBar_largeur_f", "TrackBar_haut_tronc",
                           "TrackBar_larg_tronc", "TrackBar_croissance", "TrackBar_divers"};
  const char* edits[8] = {"Edit_hauteur", "Edit_largeur",    "Edit_poids",      "Edit_taille_f",
                          "Edit_lg_f",    "Edit_Haut_tronc", "Edit_larg_tronc", "Edit_croissance"};
  for (int k = 0; k < 9; ++k) {
    const int y = 92 + 24 * k;
    etiquette(this, kBarres[k].titre, {8, y + 4, 80, 18});
    glissieres_[std::size_t(k)] = glissiere(this, barres[k], kBarres[k].minimum, kBarres[k].maximum, {88, y, 150, 24});
    if (k < 8) edits_[std::size_t(k)] = zone_saisie(this, edits[k], {242, y + 1, 40, 22});
  }
  Label_diversite = etiquette(this, "0", {246, 92 + 24 * 8 + 4, 30, 18});
  Label_diversite->setObjectName("Label_diversite");
}

void PageArbresVue::construire_boutons() {
  etiquette(this, "Not on:", {296, 60, 50, 18});
  CheckBox_int1 = coche(this, "CheckBox_int1", "on rock", {296, 78, 90, 20});
  CheckBox_int2 = coche(this, "CheckBox_int2", "on soil", {296, 98, 90, 20});
  CheckBox_int3 = coche(this, "CheckBox_int3", "on grass", {296, 118, 90, 20});
  CheckBox_arbres = coche(this, "CheckBox_arbres", QString::fromUtf8("Arbres présents"), {296, 4, 130, 20});
  CheckBox_diversite = coche(this, "CheckBox_diversite", QString::fromUtf8("Détails "), {296, 24, 80, 20});
  CheckBoxdetailplus = coche(this, "CheckBoxdetailplus", "Details plus", {376, 24, 110, 20});
  Image_arbres = new PreviewBox(this, kLargeurArbres, kHauteurArbres);
  Image_arbres->setObjectName("Image_arbres");
  Image_arbres->move(296, 144);
  Tourner_G = new BoutonPas("Tourner_G", "<", {296, 268, 24, 22}, this);
  Tourner_D = new BoutonPas("Tourner_D", ">", {322, 268, 24, 22}, this);
  auto bouton = [this](const char* nom, const char* texte, QRect g) {
    auto* b = new QPushButton(texte, this);
    b->setObjectName(nom);
    b->setGeometry(g);
    return b;
  };
  Button_a1 = bouton("Button_a1", "draw a tree for each layer", {350, 266, 180, 24});
  Button_A2 = bouton("Button_A2", "detailed drawing", {296, 294, 120, 24});
  Button_a4 = bouton("Button_a4", "Create a new tree", {420, 294, 120, 24});
  ajouter_copie("BitBtn_no_arbre", {540, 268, 56, 26}, {560, 250}, {560, 296});
  Timer_tourner = new QTimer(this);
  Timer_tourner->setObjectName("Timer_tourner");
  Timer_tourner->setInterval(150);
}

// The layer choice and the kind and colour of the layer.
void PageArbresVue::connecter_couche() {
  for (int k = 0; k < 6; ++k)
    connect(radios_couche_[std::size_t(k)], &QRadioButton::clicked, this, [this, k] {
      couche_choisie_ = k + 1;
      drapeau_arbres_ = true;
      charger_arbres();
    });
  connect(ComboBox_couche, &CtlComboBox::changed, this, [this] { ComboBox_couche1Change(ComboBox_couche->currentIndex()); });
  connect(UpDown_couche, &HautBas::clic, this, [this](int p) { UpDown_coucheClick(p); });
  connect(ComboBox_type, &CtlComboBox::changed, this, [this] { ComboBox_type1Change(ComboBox_type->currentIndex()); });
  connect(ComboBox_couleur, &CtlComboBox::changed, this, [this] {
    const int i = ComboBox_couleur->currentIndex();
    if (i < 0 || i > 3) return;
    couche_affichee().couleur = i + 1;
    drapeau_arbres_ = true;
    charger_arbres();
    emit change();
  });
}

void PageArbresVue::connecter() {
  for (int k = 0; k < 9; ++k) {
    CtlTrackBar* t = glissieres_[std::size_t(k)];
    connect(t, &CtlTrackBar::changed, this, [this, t, k] {
      couche_affichee().*(kBarres[k].champ) = t->Position();
      rapide_ = true;
      drapeau_arbres_ = true;
      afficher_arbres();
      emit change();
    });
    (new FiltreSouris(t, false))->relache = [this](QPoint) {
      rapide_ = false;
      drapeau_arbres_ = true;
      afficher_arbres();
    };
  }
  for (QLineEdit* e : edits_) connect(e, &QLineEdit::editingFinished, this, [this, e] { Edit_arbresExit(e); });
  const std::pair<CtlCheckBox*, std::uint8_t param_vue::*> drapeaux[] = {
      {CheckBox_arbres, &param_vue::foret},
      {CheckBox_diversite, &param_vue::detail_arbres},
      {CheckBoxdetailplus, &param_vue::detail_plus}};
  for (auto [c, champ] : drapeaux)
    connect(c, &CtlCheckBox::changed, this, [this, c = c, champ = champ] {
      vue_.*champ = c->Checked();
      charger_arbres();
      emit change();
    });
  const std::pair<CtlCheckBox*, std::uint8_t espece_arbres::*> interdits[] = {
      {CheckBox_int1, &espece_arbres::interdit_rocher},
      {CheckBox_int2, &espece_arbres::interdit_terre},
      {CheckBox_int3, &espece_arbres::interdit_herbe}};
  for (auto [c, champ] : interdits)
    connect(c, &CtlCheckBox::changed, this, [this, c = c, champ = champ] {
      couche_affichee().*champ = c->Checked();
      emit change();
    });
  connect(Button_a1, &QPushButton::clicked, this, &PageArbresVue::Button_a1Click);
  connect(Button_A2, &QPushButton::clicked, this, &PageArbresVue::Button_a2Click);
  connect(Button_a4, &QPushButton::clicked, this, &PageArbresVue::Button_a4Click);
  for (BoutonPas* b : {Tourner_G, Tourner_D}) {
    connect(b, &QAbstractButton::pressed, this, [this, b] { tourner_appui(b == Tourner_G); });
    connect(b, &QAbstractButton::released, this, [this] { tourner_relache(); });
  }
  connect(Timer_tourner, &QTimer::timeout, this, &PageArbresVue::Timer_tournerTimer);
  Image_arbres->fixer_rendu([this](render::Bitmap& b) { rendre_arbres(b); });
}

espece_arbres& PageArbresVue::couche_affichee() {
  return vue_.arbres[std::size_t(std::clamp(couche_choisie_, 1, 6) - 1)];
}

// ---------------------------------------------------------------- load, store, show

void PageArbresVue::charger(const param_vue& v) {
  vue_ = v;
  drapeau_arbres_ = true;
  charger_arbres();
}

void PageArbresVue::ranger(param_vue& v) const {
  v.arbres = vue_.arbres;
  v.foret = vue_.foret;
  v.detail_arbres = vue_.detail_arbres;
  v.detail_plus = vue_.detail_plus;
}

void PageArbresVue::charger_arbres() {
  if (!contexte_.couche_disponible(couche_choisie_))
    for (int k = 1; k <= 6; ++k)
      if (contexte_.couche_disponible(k)) {
        couche_choisie_ = k;
        break;
      }
  for (int k = 1; k <= 6; ++k) radios_couche_[std::size_t(k - 1)]->setEnabled(contexte_.couche_disponible(k));
  palette_ = palette_de(vue_);
  couche_choisie_ = std::clamp(couche_choisie_, 1, 6);
  radios_couche_[std::size_t(couche_choisie_ - 1)]->setChecked(true);
  ComboBox_couche->setCurrentIndex(couche_choisie_ - 1);
  UpDown_couche->fixer_position(couche_choisie_);
  const espece_arbres& c = couche_affichee();
  // A layer without a kind shows none chosen; choosing one then loads its values.
  ComboBox_type->setCurrentIndex(a_une_espece(c) ? c.espece - 1 : -1);
  ComboBox_couleur->setCurrentIndex(std::clamp(c.couleur, 1, 4) - 1);
  for (int k = 0; k < 9; ++k) placer(glissieres_[std::size_t(k)], c.*(kBarres[k].champ));
  const param_vue& v = vue_;
  const bool detail = v.detail_arbres && v.foret;
  for (QWidget* w : std::initializer_list<QWidget*>{glissieres_[8], Button_A2, Button_a4,
                                                     static_cast<QWidget*>(Tourner_G), Tourner_D})
    w->setEnabled(detail);
  CheckBox_diversite->SetChecked(v.detail_arbres != 0);
  CheckBoxdetailplus->SetChecked(v.detail_plus != 0);
  for (int k = 0; k < 8; ++k) glissieres_[std::size_t(k)]->setEnabled(v.foret != 0);
  CheckBoxdetailplus->setEnabled(v.foret && v.detail_arbres && v.premier_plan);
  rapide_ = false;
  montrer_copie();
  afficher_arbres();
}

void PageArbresVue::afficher_arbres() {
  const espece_arbres& c = couche_affichee();
  CheckBox_arbres->SetChecked(vue_.foret != 0);
  CheckBox_int1->SetChecked(c.interdit_rocher != 0);
  CheckBox_int2->SetChecked(c.interdit_terre != 0);
  CheckBox_int3->SetChecked(c.interdit_herbe != 0);
  for (int k = 0; k < 8; ++k) edits_[std::size_t(k)]->setText(QString::number(c.*(kBarres[k].champ)));
  Label_diversite->setText(QString::number(c.diversite));
  if (drapeau_arbres_) Image_arbres->invalidate();
}

// ---------------------------------------------------------------- handlers

void PageArbresVue::Edit_arbresExit(QLineEdit* e) {
  espece_arbres& c = couche_affichee();
  for (int k = 0; k < 8; ++k) {
    if (e != edits_[std::size_t(k)]) continue;
    int v = entier_saisi(e->text(), c.*(kBarres[k].champ));
    if (kBarres[k].borne_basse) v = std::max(v, 1);
    if (kBarres[k].borne_haute) v = std::min(v, 10);
    c.*(kBarres[k].champ) = v;
  }
  drapeau_arbres_ = true;
  charger_arbres();
  emit change();
}

void PageArbresVue::ComboBox_couche1Change(int item) {
  if (item < 0 || item > 5) return;
  if (!contexte_.couche_disponible(item + 1)) {
    inform("The selected layer doestn't appear in the displayed mountain !", "Trees");
    ComboBox_couche->setCurrentIndex(couche_choisie_ - 1);
    return;
  }
  couche_choisie_ = item + 1;
  drapeau_arbres_ = true;
  charger_arbres();
}

void PageArbresVue::UpDown_coucheClick(int position) {
  const bool haut = position > couche_choisie_;
  int p = position;
  while (p >= 1 && p <= 6 && !contexte_.couche_disponible(p)) p += haut ? 1 : -1;
  if (p < 1 || p > 6) {
    UpDown_couche->fixer_position(couche_choisie_);
    return;
  }
  couche_choisie_ = p;
  drapeau_arbres_ = true;
  charger_arbres();
}

void PageArbresVue::ComboBox_type1Change(int item) {
  if (item < 0 || item > 7) return;
  espece_arbres& c = couche_affichee();
  c.espece = item + 1;
  defauts_espece(c, item + 1);
  drapeau_arbres_ = true;
  charger_arbres();
  emit change();
}

void PageArbresVue::redessiner() {
  drapeau_arbres_ = true;
  Image_arbres->invalidate();
}

void PageArbresVue::Button_a1Click() {
  graine_arbre_ = graine_arbre_ >= 11111 ? 111 : graine_arbre_ + 11;
  mode_arbres_ = 2;
  redessiner();
}

void PageArbresVue::Button_a2Click() {
  mode_arbres_ = 1;
  redessiner();
}

void PageArbresVue::Button_a4Click() {
  Randomize();
  angle_arbre_ = Round(Random() * 360);
  ++graine_arbre_;
  mode_arbres_ = 0;
  redessiner();
}

void PageArbresVue::tourner_appui(bool gauche) {
  tourner_gauche_ = gauche;
  redessiner();
  Timer_tourner->start();
}

void PageArbresVue::Timer_tournerTimer() {
  angle_arbre_ += tourner_gauche_ ? -3 : 3;
  rapide_ = true;
  redessiner();
}

void PageArbresVue::tourner_relache() {
  rapide_ = false;
  redessiner();
  Timer_tourner->stop();
}

// ---------------------------------------------------------------- preview

void PageArbresVue::rendre_arbres(render::Bitmap& image) {
  if (!drapeau_arbres_) return;
  drapeau_arbres_ = false;
  const int mode = mode_arbres_;
  mode_arbres_ = 0;
  param_vue v = vue_;
  v.distance = 50.0;
  v.premier_plan = 1;
  const double a = v.angle_vertical * kDegre, t = angle_arbre_ * kDegre;
  const double e = v.elevation_soleil * kDegre, z = v.azimut_soleil * kDegre;
  const double cos_a = std::cos(a), sin_a = std::sin(a), cos_t = std::cos(t), sin_t = std::sin(t);
  const double cos_ea = std::cos(e - a), cos_z = std::cos(z);
  const int H = image.height();
  image.reset(image.width(), H, kAqua);
  render::CanevasImage canevas(image.surface());
  const int L = std::clamp(couche_choisie_, 1, 6);
  const espece_arbres& couche = v.arbres[std::size_t(L - 1)];
  int y = Round((cos_a * 0.5 + 0.5) * H - 2);
  auto echelle = [&](int y0) { return couche.hauteur > 35 ? Round(double(y0) * couche.hauteur / 35) : y0; };
  if (mode == 2) {
    for (int k = 1; k <= 6; ++k) {
      const espece_arbres& ck = v.arbres[std::size_t(k - 1)];
      if (!contexte_.couche_disponible(k) || !a_une_espece(ck)) continue;
      auto m = creer_arbre(v, false, 1, ck);
      generer_arbre(*m, v, ck, cos_a, sin_a, cos_ea, cos_z, cos_t, sin_t, graine_arbre_ + k);
      dessiner_arbre(*m, {(k - 1) * 36 + 20, y}, 12.0, canevas, *palette_, rapide_, sin_a);
    }
    return;
  }
  if (!a_une_espece(couche)) return;
  if (mode == 1) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    v.distance = 5.0;
    v.detail_arbres = v.detail_plus = 1;
    if (cos_a < 0.2) y = Round(H * 0.6);
  }
  auto m = creer_arbre(v, false, 1, couche);
  generer_arbre(*m, v, couche, cos_a, sin_a, cos_ea, cos_z, cos_t, sin_t, graine_arbre_);
  if (mode == 1) set_seed(1024);
  dessiner_arbre(*m, {100, echelle(y)}, 30.0, canevas, *palette_, rapide_, sin_a);
  if (mode == 1) QApplication::restoreOverrideCursor();
}

}  // namespace dialogs
