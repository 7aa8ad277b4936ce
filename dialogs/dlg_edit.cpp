#include "dialogs/dlg_edit.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "fenetres/aide_enfants.h"
#include "fenetres/dialogue_fixe.h"
#include "fenetres/elements_pages.h"
#include "fenetres/rendu.h"
#include "model/aleatoire.h"

using namespace fenetres;

namespace dialogs {

// The section box: paints the prepared profiles.
class ZoneSection : public QWidget {
 public:
  ZoneSection(Tdlg_edit* d, QWidget* parent) : QWidget(parent), d_(d) {
    setToolTip("Section with difference in altitude");
  }

 protected:
  void paintEvent(QPaintEvent*) override { d_->peindre_section(this); }

 private:
  Tdlg_edit* d_;
};


namespace {

constexpr double kPi = 3.14159265358979323846;

QLabel* etiquette(QWidget* parent, const QString& texte, int x, int y, int w = 60) {
  auto* l = new QLabel(texte, parent);
  l->setGeometry(x, y, w, 16);
  return l;
}

QScrollBar* barre(QWidget* parent, Qt::Orientation o, int min, int max, const QString& bulle) {
  auto* b = new QScrollBar(o, parent);
  b->setRange(min, max);
  b->setToolTip(bulle);
  return b;
}

void fixer_barre(QScrollBar* b, int min, int max, int petit = 1, int grand = 10) {
  const QSignalBlocker bloque(b);
  b->setRange(min, max);
  b->setSingleStep(petit);
  b->setPageStep(grand);
}

void positionner(QScrollBar* b, int v) {
  const QSignalBlocker bloque(b);
  b->setValue(v);
}

// Clamps v so that -v lies within the bar's range.
std::int32_t dans_barre_inverse(const QScrollBar* b, std::int32_t v) {
  return std::clamp(v, -b->maximum(), -b->minimum());
}

}  // namespace

// ---------------------------------------------------------------- creation

Tdlg_edit::Tdlg_edit(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Editor dialog");
  construire();
  disposer();
  lier_touche_aide(*this, [this] { return contexte_aide(); });
  bordure_dialogue_fixe(*this);
}

void Tdlg_edit::construire() {
  Panel_alt = new QWidget(this);
  Panel_alt->setGeometry(10, 10, 300, 200);
  ScrollBar_alt = barre(Panel_alt, Qt::Vertical, -4000, 2000, "Final altitude at the summit");
  ScrollBar_alt->setGeometry(0, 0, 16, 172);
  ScrollBar_alt1 = barre(Panel_alt, Qt::Vertical, -4000, 2000, "Initial Height at summit");
  ScrollBar_alt1->setGeometry(18, 0, 16, 172);
  ScrollBar_alt1->hide();
  for (QScrollBar* b : {ScrollBar_alt, ScrollBar_alt1}) b->setPageStep(100);
  Label_a1 = etiquette(Panel_alt, "+ 4000 m", 38, 0, 54);
  Label_a2 = etiquette(Panel_alt, "- 2000 m", 38, 156, 54);
  Panel_image = new QWidget(Panel_alt);
  Panel_image->setGeometry(94, 0, 202, 172);
  Image_deniv = new ZoneSection(this, Panel_image);
  Image_deniv->setGeometry(2, 2, 198, 168);
  Label_3 = etiquette(Panel_alt, "Before", 0, 178, 50);
  Label_avant = etiquette(Panel_alt, "", 50, 178, 50);
  Label_4 = etiquette(Panel_alt, "After", 110, 178, 50);
  Label_apres = etiquette(Panel_alt, "", 160, 178, 50);
  Panel_alt->raise();

  Panel_df = new QWidget(this);
  Panel_df->setGeometry(320, 10, 120, 60);
  Label_fin = etiquette(Panel_df, "End", 0, 0, 120);
  Button_df = placer(new QPushButton("D=F", Panel_df), {0, 22, 55, 24}, "Begin = End");
  Button_d_f = placer(new QPushButton("D<->F", Panel_df), {60, 22, 55, 24}, "Toggle between begin and end");
  Button_rotate = placer(new QPushButton("60 °", this), {320, 75, 55, 24}, "To rotate the section by 60 °");
  RadioButton_Unif = placer(new QRadioButton("Uniforme", this), {320, 108, 120, 20}, "Uniform raise");
  RadioButton_etirem = placer(new QRadioButton("Stretching", this), {320, 128, 120, 20}, "Elevation by stretching");
  RadioButton_Unif->hide();
  RadioButton_etirem->hide();
  CheckBox_Riviere = placer(new QCheckBox("River only", this),
                            {320, 152, 120, 20}, "Do not digg the valley (existing relief)");
  CheckBox_Riviere->hide();
  Label_d = etiquette(this, "Difference in altitude", 10, 318, 200);
  Label_deniv = etiquette(this, "", 210, 318, 80);

  auto panneau = [this](int y, QWidget*& p, QLabel*& titre, const QString& texte, QScrollBar*& b, int min, int max,
                        const QString& bulle, QLabel*& valeur) {
    p = new QWidget(this);
    p->setGeometry(10, y, 430, 36);
    titre = etiquette(p, texte, 0, 10, 110);
    b = barre(p, Qt::Horizontal, min, max, bulle);
    b->setGeometry(115, 10, 250, 16);
    valeur = etiquette(p, "", 372, 10, 58);
  };
  panneau(212, Panel_base, Label_b, "Base", ScrollBar_base, 1, 8000, "Width at base", Label_base);
  panneau(246, Panel_sommet, Label_s, "Summit", ScrollBar_sommet, 0, 4000, "Width at summit", Label_sommet);
  panneau(280, Panel_coeff, Label_c, "Ratio", ScrollBar_coeff, -40, 0, "Ratio", Label_coeff);
  CheckBox_resdessiner = placer(new QCheckBox("see the result", this), {10, 345, 150, 20}, "Redraw after OK");
  OKbtn = placer(new QPushButton("&OK", this), {200, 375, 75, 25}, "Validate modifications");
  OKbtn->setDefault(true);
  Cancelbtn = placer(new QPushButton("&Cancel", this), {280, 375, 75, 25}, "Cancel modifications");
  helpbtn = placer(new QPushButton("Help", this), {360, 375, 75, 25}, "help online about the tool");

  connect(ScrollBar_base, &QScrollBar::valueChanged, this, [this] { ScrollBar_baseChange(); });
  connect(ScrollBar_sommet, &QScrollBar::valueChanged, this, [this] { ScrollBar_sommetChange(); });
  connect(ScrollBar_alt, &QScrollBar::valueChanged, this, [this] { ScrollBar_altChange(false); });
  connect(ScrollBar_alt1, &QScrollBar::valueChanged, this, [this] { ScrollBar_altChange(true); });
  connect(ScrollBar_coeff, &QScrollBar::valueChanged, this, [this] { ScrollBar_coeffChange(); });
  connect(RadioButton_Unif, &QRadioButton::clicked, this, [this] { RadioButton_e(); });
  connect(RadioButton_etirem, &QRadioButton::clicked, this, [this] { RadioButton_e(); });
  connect(CheckBox_resdessiner, &QCheckBox::clicked, this, [this] { CheckBox_resdessinerClick(); });
  connect(CheckBox_Riviere, &QCheckBox::clicked, this, [this] { CheckBox_RiviereClick(); });
  connect(Button_df, &QPushButton::clicked, this, [this] { Button_df1Click(); });
  connect(Button_d_f, &QPushButton::clicked, this, [this] { Button_d_f1Click(); });
  connect(Button_rotate, &QPushButton::clicked, this, [this] { Button_rotate1Click(); });
  connect(OKbtn, &QPushButton::clicked, this, [this] { done(1); });
  connect(Cancelbtn, &QPushButton::clicked, this, [this] { done(2); });
  connect(helpbtn, &QPushButton::clicked, this, [this] { helpbtn1Click(); });
}

// ---------------------------------------------------------------- set-up

void Tdlg_edit::prepare_outil(MarquesCarte* c, PixelCarte p_debut, bool avec_deformation, bool avec_zoom2,
                              PixelCarte p_fin) {
  voir_resultat = 0;
  apres = fin.apres;
  avant = fin.avant;
  base = fin.base;
  sommet = fin.sommet;
  forme = fin.forme;
  canevas = c;
  point_debut = p_debut;
  point_fin = p_fin;
  zoom2 = avec_zoom2;
  deformation = avec_deformation;
  // Only Plateau and Relief carry their second option in the sign of their value.
  const bool signe = outil == OUTIL_PLATEAU || outil == OUTIL_RELIEF;
  option2 = signe && coefficient < 0;
  pondere = forme < 0;
  orientation = 1;
  if (coefficient == 0) coefficient = 20;
  if (signe) coefficient = std::abs(coefficient);
  profil = un_point ? profil_debut : profil_fin;
  if (outil == OUTIL_COLLER) {
    profil_resultat = profil;
    for (int t = 0; t < kEchantillons; ++t)
      for (int cote = 1; cote <= 2; ++cote)
        for (int o = 1; o <= 3; ++o) {
          const std::int32_t somme = profil.hauteur(t, cote, o) + profil_fin.hauteur(t, cote, o);
          profil_resultat.hauteur(t, cote, o) = somme;
          apres = std::max(apres, somme);
        }
    sommet_colle = apres;
  }
  installer_outil();
  placer_barres();
  regles_initiales();
  disposer();
  affiche_valeurs();
  if (!un_point && outil != OUTIL_ROUTE) trace_coupe(debut.base, debut.sommet, true, false, true);
}

// The per-tool captions, ranges and visible controls.
void Tdlg_edit::installer_outil() {
  if (auto installer = ligne_outil(outil).installer) (this->*installer)();
}

// The radio pair, relabelled, with the second one checked when `second`.
void Tdlg_edit::montrer_radios(const char* a, const char* bulle_a, const char* b, const char* bulle_b, bool second) {
  RadioButton_Unif->setText(a);
  RadioButton_Unif->setToolTip(bulle_a);
  RadioButton_etirem->setText(b);
  RadioButton_etirem->setToolTip(bulle_b);
  RadioButton_Unif->show();
  RadioButton_etirem->show();
  (second ? RadioButton_etirem : RadioButton_Unif)->setChecked(true);
}

void Tdlg_edit::montrer_alt1(const char* bulle) {
  ScrollBar_alt1->show();
  ScrollBar_alt1->setToolTip(bulle);
}

void Tdlg_edit::installer_forme() {
  setWindowTitle("Shape");
  Panel_coeff->hide();
  if (deformation) {
    Panel_coeff->show();
    fixer_barre(ScrollBar_coeff, -100, 100);
    Label_c->setText("Thrust");
    ScrollBar_coeff->setToolTip("Horizontal ratio");
    coefficient = 0;
  }
  montrer_radios("Linear", "Linear distortion", "Weighted", "Sinusoidal distorsion", pondere);
}

void Tdlg_edit::installer_plateau() {
  setWindowTitle("Plateau");
  if (deformation) {
    fixer_barre(ScrollBar_sommet, 0, 100, 1, 10);
    ScrollBar_sommet->setToolTip("Horizontal ratio");
    ScrollBar_coeff->setToolTip("Vertical ratio");
    Label_s->setText("Slope");
  } else {
    Panel_sommet->hide();
  }
  montrer_alt1("Initial altitude");
  ScrollBar_alt->setToolTip("Final altitude");
  Label_3->setText("start");
  Label_4->setText("end");
  Panel_df->hide();
  montrer_radios("Plateau", "Progressive edges", "Cliff", "Vertical edges", option2);
}

void Tdlg_edit::installer_vallee() {
  setWindowTitle("Valley");
  apres = avant - 40;
  CheckBox_Riviere->show();
  CheckBox_Riviere->setChecked(riviere_seule);
  fixer_barre(ScrollBar_sommet, 0, 100, 1, 10);
  ScrollBar_sommet->setToolTip("River width");
  fixer_barre(ScrollBar_base, 1, 1000);
  ScrollBar_base->setToolTip("Valley width");
  Label_b->setText("Valley");
  Label_s->setText("River");
  Label_d->setText("Depth");
  Panel_coeff->hide();
  Panel_df->hide();
}

void Tdlg_edit::installer_lissage() {
  setWindowTitle("Smooting");
  option2 = 0;
  montrer_alt1("minimum altitude");
  ScrollBar_alt->setToolTip("maximum altitude");
  Label_3->setText("mini");
  Label_4->setText("maxi");
  fixer_barre(ScrollBar_coeff, -40, 40);
  ScrollBar_coeff->setToolTip("<0:+rough, >0:+smooth");
  Panel_sommet->hide();
  Panel_df->hide();
}

void Tdlg_edit::installer_cone() {
  setWindowTitle("Cone");
  fixer_barre(ScrollBar_coeff, -70, 70);
  Label_c->setText("Angle");
  Label_d->setText("Sommit at :");
}

void Tdlg_edit::installer_col() {
  setWindowTitle("Pass");
  Panel_coeff->hide();
  Panel_sommet->hide();
  Panel_df->hide();
}

void Tdlg_edit::installer_route() {
  setWindowTitle("Road");
  CheckBox_Riviere->setText("Path");
  CheckBox_Riviere->show();
  CheckBox_Riviere->setChecked(chemin);
  fixer_barre(ScrollBar_sommet, 0, 400);
  ScrollBar_sommet->setToolTip("Road width");
  Label_s->setText("Width");
  Label_c->setText("Earth.");
  ScrollBar_coeff->setToolTip("Earthworks");
  for (QWidget* w : {Panel_alt, Panel_base, Panel_df, static_cast<QWidget*>(Label_d),
                     static_cast<QWidget*>(Label_deniv), static_cast<QWidget*>(Button_rotate)})
    w->hide();
}

void Tdlg_edit::installer_strate() {
  setWindowTitle("Stratum");
  montrer_alt1("minimum altitude");
  ScrollBar_alt->setToolTip("altitude at the end of the stratum");
  Label_3->setText("bottom");
  Label_4->setText("top");
  Panel_df->hide();
  Panel_coeff->hide();
  fixer_barre(ScrollBar_sommet, -100, 100, 1, 10);
  ScrollBar_sommet->setToolTip("Depth of stratum");
  Label_s->setText("Depth");
  Label_d->setText("Height stratum");
}

void Tdlg_edit::installer_relief() {
  setWindowTitle("Relief");
  apres = fin.apres + 1000;
  avant = fin.avant - 1000;
  sommet = 50;
  fixer_barre(ScrollBar_coeff, -100, 0);
  ScrollBar_coeff->setToolTip("% emergent part");
  montrer_alt1("minimum altitude");
  ScrollBar_alt->setToolTip("maximum altitude");
  Label_3->setText("mini");
  Label_4->setText("maxi");
  fixer_barre(ScrollBar_sommet, 0, 100, 1, 10);
  ScrollBar_sommet->setToolTip("Height of relief");
  Label_s->setText("Relief");
  Panel_df->hide();
  montrer_radios("Totality", "Relief totally reshaped", "Emergent", "Only the positive relief is new", option2);
}

void Tdlg_edit::installer_ruissellement() {
  setWindowTitle("Streaming");
  coefficient = 0;
  fixer_barre(ScrollBar_coeff, -20, 0);
  ScrollBar_coeff->setToolTip("Density");
  fixer_barre(ScrollBar_sommet, 0, 20, 1, 10);
  ScrollBar_sommet->setToolTip("Valley width");
  Label_d->setText("Valley depth");
  for (QWidget* w : {Label_avant, Label_apres, Label_4}) w->hide();
  Panel_df->hide();
  Label_3->setText("Depth");
  Label_a1->setText("0");
  Label_a2->setText("-200");
  Label_s->setText("Width");
  Label_b->setText("Area");
  fixer_barre(ScrollBar_alt, 0, 200, 1, 10);
  ScrollBar_alt->setToolTip("Valley depth");
  apres = 0;
  avant = 0;
}

void Tdlg_edit::installer_copier() {
  setWindowTitle("Copy of a portion");
  ScrollBar_alt->hide();
  montrer_alt1("Initial altitude");
  Label_3->setText("start");
  Label_4->setText("end");
  Label_b->setText("Area to be copied");
  for (QWidget* w : {static_cast<QWidget*>(CheckBox_resdessiner), Panel_coeff, Panel_sommet, Panel_df}) w->hide();
  avant = 0;
}

void Tdlg_edit::installer_coller() {
  setWindowTitle("Past from a portion");
  for (QWidget* w : {Panel_coeff, Panel_sommet, Panel_base, Panel_df}) w->hide();
  Label_d->setText("Maximum altitude difference");
  ScrollBar_alt->setToolTip("Highest point");
}

void Tdlg_edit::installer_elevation() {
  setWindowTitle("Elevation");
  for (QWidget* w : {Panel_coeff, Panel_sommet, Panel_base, Panel_df}) w->hide();
  montrer_radios("Uniforme", "Uniform raise", "Stretching", "Elevation by stretching", mode_elevation);
  Label_d->setText("Maximum altitude difference");
  ScrollBar_alt->setToolTip("Highest point");
  base = 8000;
  altitude_max = std::max(fin.apres, 1);
}

void Tdlg_edit::installer_coupe() {
  setWindowTitle("Cross-section of a ground");
  for (QWidget* w : {Panel_coeff, Panel_sommet, Panel_base, Panel_df, static_cast<QWidget*>(RadioButton_Unif),
                     static_cast<QWidget*>(RadioButton_etirem), static_cast<QWidget*>(Cancelbtn),
                     static_cast<QWidget*>(CheckBox_resdessiner), static_cast<QWidget*>(Label_d),
                     static_cast<QWidget*>(Label_deniv), static_cast<QWidget*>(helpbtn),
                     static_cast<QWidget*>(ScrollBar_alt), static_cast<QWidget*>(Label_avant),
                     static_cast<QWidget*>(Label_apres), static_cast<QWidget*>(Label_3),
                     static_cast<QWidget*>(Label_4)})
    w->hide();
  OKbtn->setToolTip(QString());
  base = 8000;
}

// Lays the shown controls out without gaps: the altitude bars (the
// before-altitude's bar, when shown, on the left, under which its label
// reads first), the scale texts sized to their font, the section picture
// (larger for the cross-section), the width and ratio rows one under the
// other, then the difference, "see the result" and the buttons; the column of
// buttons and options right of the section. The dialog takes the size this
// needs, so no text is cut and no blank band is left.
void Tdlg_edit::disposer() {
  const QFontMetrics fm(Label_a1->font());
  const bool coupe = outil == OUTIL_COUPE;
  const int echelle = std::max(fm.horizontalAdvance(Label_a1->text()), fm.horizontalAdvance(Label_a2->text())) + 6;
  const int ligne = fm.height() + 4;
  // The bars: the before-altitude's first.
  int x = 0;
  for (QScrollBar* b : {ScrollBar_alt1, ScrollBar_alt})
    if (!b->isHidden()) {
      b->setGeometry(x, 0, 16, 172);
      x += 18;
    }
  if (x > 0) x += 2;
  const int largeur_image = coupe ? 335 : 202, hauteur_image = coupe ? 230 : 172;
  Label_a1->setGeometry(x, 0, echelle, ligne);
  Label_a2->setGeometry(x, hauteur_image - ligne, echelle, ligne);
  const int xi = x + echelle + 2;
  Panel_image->setGeometry(xi, 0, largeur_image, hauteur_image);
  Image_deniv->setGeometry(2, 2, largeur_image - 4, hauteur_image - 4);
  int bas_alt = hauteur_image;
  if (!Label_3->isHidden() || !Label_4->isHidden()) {
    int lx = 0;
    for (QLabel* l : {Label_3, Label_avant, Label_4, Label_apres}) {
      const int w = std::max(fm.horizontalAdvance(l->text()) + 8, l == Label_3 || l == Label_4 ? 50 : 60);
      l->setGeometry(lx, hauteur_image + 6, w, ligne);
      if (!l->isHidden()) lx += w;
    }
    bas_alt = hauteur_image + 6 + ligne;
  }
  Panel_alt->setGeometry(10, 10, xi + largeur_image, bas_alt);
  // The column right of the section.
  const int xc = Panel_alt->isHidden() ? 10 : Panel_alt->geometry().right() + 14;
  int yc = 10;
  auto colonne = [&](QWidget* w, int largeur, int hauteur) {
    w->setGeometry(xc, yc, largeur, hauteur);
    if (!w->isHidden()) yc += hauteur + 6;
  };
  colonne(Panel_df, 120, 50);
  colonne(Button_rotate, std::max(55, fm.horizontalAdvance(Button_rotate->text()) + 16), 24);
  colonne(RadioButton_Unif, 120, 20);
  colonne(RadioButton_etirem, 120, 20);
  colonne(CheckBox_Riviere, 120, 20);
  // The rows under the section.
  // Without the section (Road) the rows come under the column.
  int y = Panel_alt->isHidden() ? yc : Panel_alt->geometry().bottom() + 10;
  for (QWidget* p : {Panel_base, Panel_sommet, Panel_coeff}) {
    p->setGeometry(10, y, 430, 34);
    if (!p->isHidden()) y += 34;
  }
  if (!Label_d->isHidden()) {
    const int w = fm.horizontalAdvance(Label_d->text()) + 10;
    Label_d->setGeometry(10, y + 4, w, ligne);
    Label_deniv->setGeometry(10 + w, y + 4, 80, ligne);
    y += ligne + 8;
  }
  if (!CheckBox_resdessiner->isHidden()) {
    CheckBox_resdessiner->setGeometry(10, y, 200, 22);
    y += 26;
  }
  y = std::max(y, yc) + 6;
  const int largeur = std::max({450, xc + 130, Panel_alt->geometry().right() + 10});
  int xb = largeur - 10;
  for (QPushButton* b : {helpbtn, Cancelbtn, OKbtn})
    if (!b->isHidden()) {
      xb -= 75;
      b->setGeometry(xb, y, 75, 25);
      xb -= 5;
    }
  setFixedSize(largeur, y + 25 + 10);
}

// The working values within their bars, then the bars at them.
void Tdlg_edit::placer_barres() {
  base = std::clamp(base, ScrollBar_base->minimum(), ScrollBar_base->maximum());
  sommet = std::clamp(sommet, ScrollBar_sommet->minimum(), ScrollBar_sommet->maximum());
  apres = dans_barre_inverse(ScrollBar_alt, apres);
  avant = dans_barre_inverse(ScrollBar_alt1, avant);
  if (outil == OUTIL_CONE)
    forme = dans_barre_inverse(ScrollBar_coeff, forme);
  else
    coefficient = dans_barre_inverse(ScrollBar_coeff, coefficient);
  positionner(ScrollBar_base, base);
  positionner(ScrollBar_sommet, sommet);
  positionner(ScrollBar_alt, -apres);
  positionner(ScrollBar_alt1, -avant);
  positionner(ScrollBar_coeff, outil == OUTIL_CONE ? -forme : -coefficient);
}

// The rules the handlers apply, once, for the values just set.
void Tdlg_edit::regles_initiales() {
  if (outil == OUTIL_VALLEE && riviere_seule) {
    apres = avant;
    positionner(ScrollBar_alt, -apres);
  }
  if (outil == OUTIL_RELIEF) {
    if (!option2) {
      coefficient = 100;
      positionner(ScrollBar_coeff, -100);
    }
    ScrollBar_coeff->setEnabled(option2);
  }
  garder_ordre();
  if (outil == OUTIL_ROUTE) ScrollBar_coeff->setVisible(!chemin);
}

// The altitude bars' order: Cone's after-altitude stays at or below its
// before-altitude; Copy's start, and Smoothing's minimum, stay at or below the
// after-altitude (the maximum), so that the band is never empty.
void Tdlg_edit::garder_ordre() {
  if (outil == OUTIL_CONE && apres > avant) {
    apres = avant;
    positionner(ScrollBar_alt, -apres);
  }
  if ((outil == OUTIL_COPIER || outil == OUTIL_LISSAGE) && avant > apres) {
    avant = apres;
    positionner(ScrollBar_alt1, -avant);
  }
}

// ---------------------------------------------------------------- display

void Tdlg_edit::affiche_valeurs() {
  Label_fin->setText(un_point ? "Point" : jeu_affiche ? "Begin" : "End");
  Label_avant->setText(QString::number(avant));
  Label_apres->setText(QString::number(apres));
  Label_base->setText(QString::number(base));
  Label_sommet->setText(QString::number(sommet));
  Label_coeff->setText(QString::number(outil == OUTIL_CONE ? forme : coefficient));
  ecart = apres - avant;
  Label_deniv->setText(QString::number(ecart));
  Button_df->setEnabled(!un_point);
  Button_d_f->setEnabled(!un_point);
  const bool riviere = outil == OUTIL_VALLEE && riviere_seule;
  ScrollBar_alt->setEnabled(!riviere);
  ScrollBar_base->setEnabled(!riviere);
  if (outil == OUTIL_ROUTE) ScrollBar_coeff->setVisible(!chemin);
  JeuOutil& j = jeu_affiche ? debut : fin;
  j.base = base;
  j.sommet = sommet;
  j.apres = apres;
  j.avant = avant;
  j.forme = forme;
  if (un_point && outil == OUTIL_CONE) debut.forme = forme;
  Image_deniv->update();
  calcule_profil();
}

ValeursProfil Tdlg_edit::valeurs() const {
  ValeursProfil v;
  v.outil = outil;
  v.base = base;
  v.sommet = sommet;
  v.apres = apres;
  v.avant = avant;
  v.coefficient = coefficient;
  v.forme = forme;
  v.option2 = option2;
  v.pondere = pondere;
  v.mode_elevation = mode_elevation;
  v.deformation = deformation;
  v.altitude_max = altitude_max;
  v.sommet_colle = sommet_colle;
  return v;
}

void Tdlg_edit::calcule_profil() {
  std::int32_t c = coefficient;
  dialogs::calcule_profil(valeurs(), orientation, profil, profil_fin, profil_resultat, c);
  coefficient = c;
  Image_deniv->update();
}

PixelCarte Tdlg_edit::point_coupe(bool au_debut) const {
  if (outil == OUTIL_COL) return {Round((point_debut.x + point_fin.x) / 2.0), Round((point_debut.y + point_fin.y) / 2.0)};
  return au_debut ? point_debut : point_fin;
}

void Tdlg_edit::trace_coupe(std::int32_t r1, std::int32_t r2, bool ligne, bool cercles, bool au_debut) {
  if (!canevas) return;
  marquer_coupe(*canevas, point_coupe(au_debut), r1, r2, ligne, cercles, orientation, zoom());
}

void Tdlg_edit::marque_extremite() {
  if (canevas) canevas->croix(point_affiche(), 12, 2);
}

int Tdlg_edit::contexte_aide() const {
  const int sujet = ligne_outil(outil).sujet_aide;
  return sujet != 0 ? sujet : 4021;
}

// ---------------------------------------------------------------- handlers

void Tdlg_edit::ScrollBar_baseChange() { changer_largeur(base, ScrollBar_base->value()); }

void Tdlg_edit::ScrollBar_sommetChange() { changer_largeur(sommet, ScrollBar_sommet->value()); }

// A width bar moved: the section's marks are erased, the width (base or top)
// takes the bar's value, the top stays within two thirds of the base except
// for Road, and the marks are drawn again.
void Tdlg_edit::changer_largeur(std::int32_t& largeur, std::int32_t v) {
  if (v == largeur) return;
  const bool au_debut = jeu_affiche;
  trace_coupe(base, sommet, true, true, au_debut);
  largeur = v;
  if (outil != OUTIL_ROUTE && sommet > Round(2.0 * base / 3)) {
    sommet = Round(2.0 * base / 3);
    positionner(ScrollBar_sommet, sommet);
  }
  affiche_valeurs();
  trace_coupe(base, sommet, true, true, au_debut);
}

void Tdlg_edit::ScrollBar_altChange(bool alt1) {
  if (alt1)
    avant = -ScrollBar_alt1->value();
  else
    apres = -ScrollBar_alt->value();
  garder_ordre();
  affiche_valeurs();
}

void Tdlg_edit::ScrollBar_coeffChange() {
  switch (outil) {
    case OUTIL_FORME:
    case OUTIL_PLATEAU:
    case OUTIL_LISSAGE:
    case OUTIL_COL:
    case OUTIL_ROUTE:
    case OUTIL_RELIEF:
    case OUTIL_RUISSELLEMENT: coefficient = -ScrollBar_coeff->value(); break;
    case OUTIL_CONE: forme = -ScrollBar_coeff->value(); break;
    default: break;
  }
  affiche_valeurs();
}

void Tdlg_edit::RadioButton_e() {
  const std::uint8_t second = RadioButton_etirem->isChecked() ? 1 : 0;
  if (outil == OUTIL_ELEVATION)
    mode_elevation = second;
  else if (outil == OUTIL_FORME)
    pondere = second;
  else
    option2 = second;
  Image_deniv->update();
  calcule_profil();
  if (outil == OUTIL_RELIEF) {
    if (!option2) {
      coefficient = 100;
      positionner(ScrollBar_coeff, -100);
    }
    ScrollBar_coeff->setEnabled(option2);
  }
}

void Tdlg_edit::CheckBox_resdessinerClick() { voir_resultat = CheckBox_resdessiner->isChecked() ? 1 : 0; }

void Tdlg_edit::CheckBox_RiviereClick() {
  const bool coche = CheckBox_Riviere->isChecked();
  if (outil == OUTIL_ROUTE) {
    chemin = coche;
  } else {
    riviere_seule = coche;
    if (coche) {
      apres = avant;
      positionner(ScrollBar_alt, -apres);
    }
  }
  affiche_valeurs();
}

void Tdlg_edit::Button_df1Click() {
  if (un_point) return;
  const bool autre_debut = !jeu_affiche;
  const JeuOutil& montre = jeu_affiche ? debut : fin;
  JeuOutil& autre = jeu_affiche ? fin : debut;
  trace_coupe(autre.base, autre.sommet, false, true, autre_debut);
  autre.base = montre.base;
  autre.sommet = montre.sommet;
  autre.forme = montre.forme;
  autre.apres = autre.avant + (montre.apres - montre.avant);
  trace_coupe(autre.base, autre.sommet, false, true, autre_debut);
}

void Tdlg_edit::Button_d_f1Click() {
  if (un_point) return;
  marque_extremite();
  trace_coupe(0, 0, true, false, true);
  trace_coupe(0, 0, true, false, false);
  jeu_affiche = !jeu_affiche;
  const JeuOutil& j = jeu_affiche ? debut : fin;
  profil = jeu_affiche ? profil_debut : profil_fin;
  apres = j.apres;
  avant = j.avant;
  base = j.base;
  sommet = j.sommet;
  forme = j.forme;
  for (int t = 0; t < kEchantillons; ++t)
    for (int rang = 0; rang < 4; ++rang)
      profil_resultat.v[std::size_t(t)][std::size_t(rang)][std::size_t(orientation - 1)] =
          profil.v[std::size_t(t)][std::size_t(rang)][std::size_t(orientation - 1)];
  placer_barres();
  affiche_valeurs();
  marque_extremite();
}

void Tdlg_edit::Button_rotate1Click() {
  const bool au_debut = jeu_affiche && !un_point;
  trace_coupe(0, 0, true, false, au_debut);
  orientation = orientation % 3 + 1;
  trace_coupe(0, 0, true, false, au_debut);
  affiche_valeurs();
}

void Tdlg_edit::helpbtn1Click() { afficher_sujet_aide(contexte_aide()); }

void Tdlg_edit::FormClose() {
  if (outil != OUTIL_ROUTE) trace_coupe(0, 0, true, false, jeu_affiche && !un_point);
}

// ---------------------------------------------------------------- section

void Tdlg_edit::peindre_section(QWidget* zone) {
  MarqueurPeinture marque;
  QPainter p(zone);
  p.fillRect(zone->rect(), Qt::white);
  const int W = zone->width(), H = zone->height();
  const int m = outil == OUTIL_ELEVATION ? 3 : outil == OUTIL_COUPE ? 4 : 2;
  const int cx = Round(W / 2.0);
  auto y = [H](std::int32_t a) { return ligne_section(a, H); };
  p.setPen(QPen(Qt::cyan, 1));
  p.drawLine(0, y(mer_coupe), W, y(mer_coupe));
  p.setPen(QPen(Qt::darkGreen, 1));
  const int bx = Round(base * 0.025);
  const int bas = outil == OUTIL_CONE ? H : 36;
  p.drawLine(cx - bx, 12, cx - bx, bas);
  p.drawLine(cx + bx, 12, cx + bx, bas);
  auto courbe = [&](const Profil& pr) {
    for (int cote = 1; cote <= 2; ++cote) {
      const int signe = cote == 1 ? 1 : -1;
      QPolygon l;
      for (int t = 0; t < kEchantillons; ++t)
        l << QPoint(cx + signe * m * t + Round(pr.decalage(t, cote, orientation) * 0.025),
                    y(pr.hauteur(t, cote, orientation)));
      p.drawPolyline(l);
    }
  };
  p.setPen(QPen(Qt::black, 1));
  courbe(profil);
  if (std::abs(apres - avant) > 100) {
    const int pointe = y(apres), sens = apres > avant ? 1 : -1;
    const int talon = pointe + sens * 18;
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygon({QPoint(cx, pointe), QPoint(cx - 6, talon), QPoint(cx + 6, talon)}));
    p.fillRect(QRect(QPoint(cx - 2, std::min(talon, y(avant))), QPoint(cx + 1, std::max(talon, y(avant)))),
               Qt::black);
    p.setBrush(Qt::NoBrush);
  }
  p.setPen(QPen(Qt::red, 1));
  if (outil == OUTIL_CONE) {
    const int dy = Round(80 * std::tan(forme * kPi / 180));
    p.drawLine(cx, y(apres), cx - 80, y(apres) + dy);
    p.drawLine(cx, y(apres), cx + 80, y(apres) + dy);
  } else if (outil == OUTIL_FORME || outil == OUTIL_PLATEAU || outil == OUTIL_VALLEE || outil == OUTIL_COL ||
             outil == OUTIL_COLLER || outil == OUTIL_ELEVATION) {
    courbe(profil_resultat);
  }
}

}  // namespace dialogs
