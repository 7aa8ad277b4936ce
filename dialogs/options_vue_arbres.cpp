// The Arbres page of the view options dialog: one of six tree layers (only
// those the displayed mountain holds), its kind with its picture, leaf colour,
// sizes on track bars with edits, forbidden grounds, the display flags, and a
// tree preview that turns while a button is held, regrows with a new seed,
// draws in detail or shows every layer side by side.
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
#include "dialogs/options_vue.h"
#include "dialogs/options_vue_boites.h"
#include "dialogs/options_vue_calculs.h"
#include "model/aleatoire.h"
#include "model/defauts.h"
#include "model/interfaces.h"
#include "render/canevas_arbre.h"
#include "render/palette.h"

namespace dialogs {

namespace {

constexpr double kDegre = 3.14159265358979323846 / 180;
constexpr render::Pixel kAqua = render::pixel_rgb(0, 255, 255);

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

// Mouse releases of the track bars.
class RelacheGlissiere : public QObject {
 public:
  RelacheGlissiere(std::function<void()> f, QObject* parent) : QObject(parent), f_(std::move(f)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::MouseButtonRelease) f_();
    return false;
  }

 private:
  std::function<void()> f_;
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

void TPagesDlg2::construire_arbres(QWidget* page) {
  auto* couches = new QButtonGroup(page);
  const char* noms[] = {"C1", "C2", "C3", "C4", "P1", "P2"};
  for (int k = 0; k < 6; ++k) {
    radios_couche[std::size_t(k)] = new QRadioButton(noms[k], page);
    radios_couche[std::size_t(k)]->setGeometry(8 + 44 * k, 4, 44, 20);
    couches->addButton(radios_couche[std::size_t(k)], k + 1);
  }
  ComboBox_couche = new CtlComboBox(page);
  ComboBox_couche->setGeometry(8, 28, 150, 24);
  for (const char* t : {"Lev 1: Plain ", "Lev 2: Medium low", "Lev 3: Medium high", "Lev 4: High ground",
                        "Located trees 1", "Located trees 2"})
    ComboBox_couche->addItem(t);
  UpDown_couche = new HautBas(page);
  UpDown_couche->setGeometry(160, 28, 16, 24);
  UpDown_couche->fixer_bornes(1, 6);
  BitmapList_arbres = new CtlBitmapList(this);
  for (int e = 1; e <= 8; ++e) BitmapList_arbres->AddBitmap(image_espece(e));
  ComboBox_type = new CtlImageComboBox(page);
  ComboBox_type->setGeometry(180, 28, 110, 36);
  ComboBox_type->SetImageList(BitmapList_arbres);
  for (const char* t : {"Oak", "Fir", "Poplar", "Pine", "Palm", "Corn", "Cactus", "Bush"}) ComboBox_type->addItem(t);
  ComboBox_couleur = new CtlComboBox(page);
  ComboBox_couleur->setGeometry(8, 60, 150, 24);
  for (const char* t : {"Color 1 ", "Color 1 dark", "Color 2", "Color 2 dark"}) ComboBox_couleur->addItem(t);
  ComboBox_couleur->OnDrawItem = [this](QPainter& p, const QRect& r, int index, bool) {
    if (index < 0 || index > 3 || !palette) return;
    const int s = palette->facteur();
    const int entrees[4] = {48 * s + 18, 45 * s + 18, 60 * s + 18, 57 * s + 18};
    const Rgb c = palette->lire_couleur(static_cast<std::uint16_t>(entrees[index]));
    p.fillRect(r, QColor(c.r, c.g, c.b));
    QFont f = p.font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::yellow);
    p.drawText(r.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, ComboBox_couleur->itemText(index));
  };
  for (int k = 0; k < 9; ++k) {
    const int y = 92 + 24 * k;
    auto* l = new QLabel(kBarres[k].titre, page);
    l->setGeometry(8, y + 4, 80, 18);
    auto* t = new CtlTrackBar(page);
    t->SetMinValue(kBarres[k].minimum);
    t->SetMaxValue(kBarres[k].maximum);
    t->setGeometry(88, y, 150, 24);
    glissieres_arbres[std::size_t(k)] = t;
    if (k < 8) {
      auto* e = new QLineEdit(page);
      e->setGeometry(242, y + 1, 40, 22);
      edits_arbres[std::size_t(k)] = e;
    }
  }
  Label_diversite = new QLabel("0", page);
  Label_diversite->setGeometry(246, 92 + 24 * 8 + 4, 30, 18);
  auto coche = [page](const char* texte, QRect g) {
    auto* c = new CtlCheckBox(page);
    c->SetCaption(QString::fromUtf8(texte));
    c->setGeometry(g);
    return c;
  };
  auto* interdit = new QLabel("Not on:", page);
  interdit->setGeometry(296, 60, 50, 18);
  CheckBox_int1 = coche("on rock", {296, 78, 90, 20});
  CheckBox_int2 = coche("on soil", {296, 98, 90, 20});
  CheckBox_int3 = coche("on grass", {296, 118, 90, 20});
  CheckBox_arbres = coche("Arbres présents", {296, 4, 130, 20});
  CheckBox_diversite = coche("Détails ", {296, 24, 80, 20});
  CheckBoxdetailplus = coche("Details plus", {376, 24, 110, 20});
  Image_arbres = new PreviewBox(page, kLargeurArbres, kHauteurArbres);
  Image_arbres->move(296, 144);
  Tourner_G = new BoutonPas("<", page);
  Tourner_G->setGeometry(296, 268, 24, 22);
  Tourner_D = new BoutonPas(">", page);
  Tourner_D->setGeometry(322, 268, 24, 22);
  Button_a1 = new QPushButton("draw a tree for each layer", page);
  Button_a1->setGeometry(350, 266, 180, 24);
  Button_A2 = new QPushButton("detailed drawing", page);
  Button_A2->setGeometry(296, 294, 120, 24);
  Button_a4 = new QPushButton("Create a new tree", page);
  Button_a4->setGeometry(420, 294, 120, 24);
  labels_origine[1] = new QLabel("0", page);
  labels_origine[1]->setGeometry(560, 250, 30, 18);
  boutons_copie[1] = new QPushButton("Copy", page);
  boutons_copie[1]->setGeometry(540, 268, 56, 26);
  labels_destination[1] = new QLabel("0", page);
  labels_destination[1]->setGeometry(560, 296, 30, 18);
  Timer_tourner.setInterval(150);
}

void TPagesDlg2::connecter_arbres() {
  for (int k = 0; k < 6; ++k)
    connect(radios_couche[std::size_t(k)], &QRadioButton::clicked, this, [this, k] {
      couche_choisie = k + 1;
      drapeau_arbres = true;
      charger_arbres();
    });
  connect(ComboBox_couche, &CtlComboBox::changed, this, [this] { ComboBox_couche1Change(ComboBox_couche->currentIndex()); });
  connect(UpDown_couche, &HautBas::clic, this, [this](int p) { UpDown_coucheClick(p); });
  connect(ComboBox_type, &CtlComboBox::changed, this, [this] { ComboBox_type1Change(ComboBox_type->currentIndex()); });
  connect(ComboBox_couleur, &CtlComboBox::changed, this, [this] {
    const int i = ComboBox_couleur->currentIndex();
    if (i < 0 || i > 3) return;
    couche_affichee().couleur = i + 1;
    drapeau_arbres = true;
    charger_arbres();
  });
  for (int k = 0; k < 9; ++k) {
    CtlTrackBar* t = glissieres_arbres[std::size_t(k)];
    connect(t, &CtlTrackBar::changed, this, [this, t, k] {
      couche_affichee().*(kBarres[k].champ) = t->Position();
      rapide = 1;
      drapeau_arbres = true;
      afficher_arbres();
    });
    t->installEventFilter(new RelacheGlissiere(
        [this] {
          rapide = 0;
          drapeau_arbres = true;
          afficher_arbres();
        },
        t));
  }
  for (QLineEdit* e : edits_arbres) connect(e, &QLineEdit::editingFinished, this, [this, e] { Edit_arbresExit(e); });
  connect(CheckBox_arbres, &CtlCheckBox::changed, this, [this] {
    vues[0].foret = CheckBox_arbres->Checked();
    charger_arbres();
  });
  connect(CheckBox_diversite, &CtlCheckBox::changed, this, [this] {
    vues[0].detail_arbres = CheckBox_diversite->Checked();
    charger_arbres();
  });
  connect(CheckBoxdetailplus, &CtlCheckBox::changed, this, [this] {
    vues[0].detail_plus = CheckBoxdetailplus->Checked();
    charger_arbres();
  });
  const std::pair<CtlCheckBox*, std::uint8_t espece_arbres::*> interdits[] = {
      {CheckBox_int1, &espece_arbres::interdit_rocher},
      {CheckBox_int2, &espece_arbres::interdit_terre},
      {CheckBox_int3, &espece_arbres::interdit_herbe}};
  for (auto [c, champ] : interdits)
    connect(c, &CtlCheckBox::changed, this, [this, c = c, champ = champ] { couche_affichee().*champ = c->Checked(); });
  connect(Button_a1, &QPushButton::clicked, this, &TPagesDlg2::Button_a1Click);
  connect(Button_A2, &QPushButton::clicked, this, &TPagesDlg2::Button_a2Click);
  connect(Button_a4, &QPushButton::clicked, this, &TPagesDlg2::Button_a4Click);
  for (BoutonPas* b : {Tourner_G, Tourner_D}) {
    connect(b, &QAbstractButton::pressed, this, [this, b] { tourner_appui(b == Tourner_G); });
    connect(b, &QAbstractButton::released, this, [this] { tourner_relache(); });
  }
  connect(&Timer_tourner, &QTimer::timeout, this, &TPagesDlg2::Timer_tournerTimer);
  connect(boutons_copie[1], &QPushButton::clicked, this, &TPagesDlg2::BitBtn_no_arbre1Click);
  Image_arbres->fixer_rendu([this](render::Bitmap& b) { rendre_arbres(b); });
}

// ---------------------------------------------------------------- availability

bool TPagesDlg2::couche_disponible(int k) const {
  if (k < 1 || k > 6) return false;
  const int m = montagne_affichee;
  if (m < 1 || m > 5 || !montagnes[std::size_t(m)]) return true;
  return montagnes[std::size_t(m)]->especes[std::size_t(k)] != 0;
}

espece_arbres& TPagesDlg2::couche_affichee() {
  return vues[0].arbres[std::size_t(std::clamp(couche_choisie, 1, 6) - 1)];
}

// ---------------------------------------------------------------- load and show

void TPagesDlg2::charger_arbres() {
  if (!couche_disponible(couche_choisie))
    for (int k = 1; k <= 6; ++k)
      if (couche_disponible(k)) {
        couche_choisie = k;
        break;
      }
  for (int k = 1; k <= 6; ++k) radios_couche[std::size_t(k - 1)]->setEnabled(couche_disponible(k));
  page_courante = 3;
  nouvelle_palette();
  couche_choisie = std::clamp(couche_choisie, 1, 6);
  radios_couche[std::size_t(couche_choisie - 1)]->setChecked(true);
  ComboBox_couche->setCurrentIndex(couche_choisie - 1);
  UpDown_couche->fixer_position(couche_choisie);
  const espece_arbres& c = couche_affichee();
  ComboBox_type->setCurrentIndex(std::clamp(c.espece, 1, 8) - 1);
  ComboBox_couleur->setCurrentIndex(std::clamp(c.couleur, 1, 4) - 1);
  for (int k = 0; k < 9; ++k) {
    const QSignalBlocker b(glissieres_arbres[std::size_t(k)]);
    glissieres_arbres[std::size_t(k)]->SetPosition(c.*(kBarres[k].champ));
  }
  const param_vue& v = vues[0];
  const bool detail = v.detail_arbres && v.foret;
  for (QWidget* w : std::initializer_list<QWidget*>{glissieres_arbres[8], Button_A2, Button_a4,
                                                     static_cast<QWidget*>(Tourner_G), Tourner_D})
    w->setEnabled(detail);
  CheckBox_diversite->SetChecked(v.detail_arbres != 0);
  CheckBoxdetailplus->SetChecked(v.detail_plus != 0);
  for (int k = 0; k < 8; ++k) glissieres_arbres[std::size_t(k)]->setEnabled(v.foret != 0);
  CheckBoxdetailplus->setEnabled(v.foret && v.detail_arbres && v.premier_plan);
  rapide = 0;
  afficher_arbres();
}

void TPagesDlg2::afficher_arbres() {
  const espece_arbres& c = couche_affichee();
  CheckBox_arbres->SetChecked(vues[0].foret != 0);
  CheckBox_int1->SetChecked(c.interdit_rocher != 0);
  CheckBox_int2->SetChecked(c.interdit_terre != 0);
  CheckBox_int3->SetChecked(c.interdit_herbe != 0);
  for (int k = 0; k < 8; ++k) edits_arbres[std::size_t(k)]->setText(QString::number(c.*(kBarres[k].champ)));
  Label_diversite->setText(QString::number(c.diversite));
  if (drapeau_arbres) Image_arbres->invalidate();
}

// ---------------------------------------------------------------- handlers

void TPagesDlg2::Edit_arbresExit(QLineEdit* e) {
  espece_arbres& c = couche_affichee();
  for (int k = 0; k < 8; ++k) {
    if (e != edits_arbres[std::size_t(k)]) continue;
    int v = entier_saisi(e->text(), c.*(kBarres[k].champ));
    if (kBarres[k].borne_basse) v = std::max(v, 1);
    if (kBarres[k].borne_haute) v = std::min(v, 10);
    c.*(kBarres[k].champ) = v;
  }
  drapeau_arbres = true;
  charger_arbres();
}

void TPagesDlg2::ComboBox_couche1Change(int item) {
  if (item < 0 || item > 5) return;
  if (!couche_disponible(item + 1)) {
    inform("The selected layer doestn't appear in the displayed mountain !", "Trees");
    ComboBox_couche->setCurrentIndex(couche_choisie - 1);
    return;
  }
  couche_choisie = item + 1;
  drapeau_arbres = true;
  charger_arbres();
}

void TPagesDlg2::UpDown_coucheClick(int position) {
  const bool haut = position > couche_choisie;
  int p = position;
  while (p >= 1 && p <= 6 && !couche_disponible(p)) p += haut ? 1 : -1;
  if (p < 1 || p > 6) {
    UpDown_couche->fixer_position(couche_choisie);
    return;
  }
  couche_choisie = p;
  drapeau_arbres = true;
  charger_arbres();
}

void TPagesDlg2::ComboBox_type1Change(int item) {
  if (item < 0 || item > 7) return;
  espece_arbres& c = couche_affichee();
  c.espece = item + 1;
  defauts_espece(c, item + 1);
  drapeau_arbres = true;
  charger_arbres();
}

void TPagesDlg2::Button_a1Click() {
  graine_arbre = graine_arbre >= 11111 ? 111 : graine_arbre + 11;
  mode_arbres = 2;
  drapeau_arbres = true;
  Image_arbres->invalidate();
}

void TPagesDlg2::Button_a2Click() {
  mode_arbres = 1;
  drapeau_arbres = true;
  Image_arbres->invalidate();
}

void TPagesDlg2::Button_a4Click() {
  Randomize();
  angle_arbre = Round(Random() * 360);
  ++graine_arbre;
  mode_arbres = 0;
  drapeau_arbres = true;
  Image_arbres->invalidate();
}

void TPagesDlg2::tourner_appui(bool gauche) {
  tourner_gauche_ = gauche;
  drapeau_arbres = true;
  Image_arbres->invalidate();
  Timer_tourner.start();
}

void TPagesDlg2::Timer_tournerTimer() {
  angle_arbre += tourner_gauche_ ? -3 : 3;
  rapide = 1;
  drapeau_arbres = true;
  Image_arbres->invalidate();
}

void TPagesDlg2::tourner_relache() {
  rapide = 0;
  drapeau_arbres = true;
  Image_arbres->invalidate();
  Timer_tourner.stop();
}

void TPagesDlg2::BitBtn_no_arbre1Click() {
  if (!index_vue_active) return;
  if (index_affiche) vues[index_affiche] = vues[0];
  vues[index_vue_active].arbres = vues[0].arbres;
  montrer_vue_active();
}

// ---------------------------------------------------------------- preview

void TPagesDlg2::rendre_arbres(render::Bitmap& image) {
  if (!drapeau_arbres) return;
  drapeau_arbres = false;
  const int mode = mode_arbres;
  mode_arbres = 0;
  param_vue v = vues[0];
  v.distance = 50.0;
  v.premier_plan = 1;
  const double a = v.angle_vertical * kDegre, t = angle_arbre * kDegre;
  const double e = v.elevation_soleil * kDegre, z = v.azimut_soleil * kDegre;
  const double cos_a = std::cos(a), sin_a = std::sin(a), cos_t = std::cos(t), sin_t = std::sin(t);
  const double cos_ea = std::cos(e - a), cos_z = std::cos(z);
  const int H = image.height();
  image.reset(image.width(), H, kAqua);
  render::CanevasImage canevas(image.surface());
  const int L = std::clamp(couche_choisie, 1, 6);
  const espece_arbres& couche = v.arbres[std::size_t(L - 1)];
  int y = Round((cos_a * 0.5 + 0.5) * H - 2);
  auto echelle = [&](int y0) { return couche.hauteur > 35 ? Round(double(y0) * couche.hauteur / 35) : y0; };
  if (mode == 2) {
    for (int k = 1; k <= 6; ++k) {
      if (!couche_disponible(k)) continue;
      const espece_arbres& ck = v.arbres[std::size_t(k - 1)];
      auto m = creer_arbre(v, false, 1, ck);
      generer_arbre(*m, v, ck, cos_a, sin_a, cos_ea, cos_z, cos_t, sin_t, graine_arbre + k);
      dessiner_arbre(*m, {(k - 1) * 36 + 20, y}, 12.0, canevas, *palette, rapide != 0, sin_a);
    }
    return;
  }
  if (mode == 1) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    v.distance = 5.0;
    v.detail_arbres = v.detail_plus = 1;
    if (cos_a < 0.2) y = Round(H * 0.6);
  }
  auto m = creer_arbre(v, false, 1, couche);
  generer_arbre(*m, v, couche, cos_a, sin_a, cos_ea, cos_z, cos_t, sin_t, graine_arbre);
  if (mode == 1) set_seed(1024);
  dessiner_arbre(*m, {100, echelle(y)}, 30.0, canevas, *palette, rapide != 0, sin_a);
  if (mode == 1) QApplication::restoreOverrideCursor();
}

}  // namespace dialogs
