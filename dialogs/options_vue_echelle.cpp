// The Scale page of the view options dialog: picture size, fixed scale over
// the view's thumbnail, foreground details, distortion, file kind, and the
// picture colour and mask controls.
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>

#include "fenetres/elements_pages.h"
#include "fenetres/fenetres.h"
#include "fenetres/saisie.h"
#include "controls/checkbox.h"
#include "controls/trackbar.h"
#include "dialogs/options_vue.h"
#include "dialogs/options_vue_boites.h"

namespace dialogs {

namespace {

// The four sizes of the radios (the last caption says 760).
constexpr std::array<std::pair<int, int>, 4> kTaillesImage{{{320, 240}, {640, 480}, {800, 600}, {1024, 768}}};

QLabel* etiquette(QWidget* page, const char* texte, int x, int y, int w = 120) {
  auto* l = new QLabel(texte, page);
  l->setGeometry(x, y, w, 18);
  return l;
}

QLineEdit* edit(QWidget* page, int x, int y, int longueur, int w = 44) {
  auto* e = new QLineEdit(page);
  e->setGeometry(x, y, w, 22);
  e->setMaxLength(longueur);
  return e;
}

CtlCheckBox* case_a_cocher(QWidget* page, const char* texte, int x, int y, int w = 160) {
  auto* c = new CtlCheckBox(page);
  c->SetCaption(QString::fromUtf8(texte));
  c->setGeometry(x, y, w, 20);
  return c;
}

CtlTrackBar* glissiere(QWidget* page, int minimum, int maximum, int x, int y) {
  auto* t = new CtlTrackBar(page);
  t->SetMinValue(minimum);
  t->SetMaxValue(maximum);
  t->setGeometry(x, y, 150, 30);
  return t;
}

void montrer_nombre(QLineEdit* e, int v) { e->setText(QString::number(v)); }

void placer_glissiere(CtlTrackBar* t, int v) {
  const QSignalBlocker b(t);
  t->SetPosition(v);
}

}  // namespace

void BoiteEchelle::montrer(const QImage& vignette, Rectangle r, bool rectangle_sur_vignette) {
  vignette_ = vignette;
  rectangle_ = r;
  sur_vignette_ = rectangle_sur_vignette;
  update();
}

void BoiteEchelle::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (vignette_.isNull())
    p.fillRect(rect(), QColor(128, 128, 128));
  else
    p.drawImage(0, 0, vignette_);
  if (!rectangle_visible()) return;
  p.setPen(Qt::red);
  p.setBrush(Qt::NoBrush);
  p.drawRect(rectangle_.gauche, rectangle_.haut, rectangle_.droite - rectangle_.gauche - 1,
             rectangle_.bas - rectangle_.haut - 1);
}

BoutonPas::BoutonPas(const QString& texte, QWidget* parent) : QAbstractButton(parent) {
  setText(texte);
  setFocusPolicy(Qt::NoFocus);
}

void BoutonPas::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient g(0, 0, 0, height());
  g.setColorAt(0, isDown() ? Qt::white : QColor(0, 255, 255));
  g.setColorAt(1, isDown() ? QColor(0, 255, 255) : QColor(0, 0, 255));
  p.fillRect(rect(), isEnabled() ? QBrush(g) : QBrush(Qt::lightGray));
  p.setPen(Qt::darkGray);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setPen(!isEnabled() ? Qt::gray : isDown() ? Qt::black : Qt::white);
  p.drawText(rect(), Qt::AlignCenter, text());
}

void TPagesDlg2::construire_echelle(QWidget* page) {
  auto* tailles = new QButtonGroup(page);
  const char* legendes[] = {"320 x 240", "640 x 480", "800 x 600", "1024 x 760"};
  for (int k = 0; k < 4; ++k) {
    radios_taille[std::size_t(k)] = new QRadioButton(legendes[k], page);
    radios_taille[std::size_t(k)]->setGeometry(12, 10 + 22 * k, 110, 20);
    tailles->addButton(radios_taille[std::size_t(k)]);
  }
  CheckBox_spex = case_a_cocher(page, "specific sizes", 12, 100, 120);
  Edit_Xmax = edit(page, 12, 124, 4);
  etiquette(page, "x", 60, 126, 10);
  Edit_Ymax = edit(page, 72, 124, 4);
  const QString limites = QString("From %1 to %2 pixels").arg(kTailleImageMin).arg(kTailleImageMax);
  Edit_Xmax->setToolTip(limites);
  Edit_Ymax->setToolTip(limites);
  Checkbox_predef = case_a_cocher(page, "predefined size image", 12, 156);
  CheckBox_defor = case_a_cocher(page, "Distortion", 12, 186);
  auto* fichiers = new QButtonGroup(page);
  RadioButton_BMP = new QRadioButton("BMP file", page);
  RadioButton_JPEG = new QRadioButton("JPEG File kind", page);
  RadioButton_BMP->setGeometry(12, 214, 140, 20);
  RadioButton_JPEG->setGeometry(12, 236, 140, 20);
  fichiers->addButton(RadioButton_BMP);
  fichiers->addButton(RadioButton_JPEG);

  CheckBox_scroll = case_a_cocher(page, "Fixed scale", 200, 10, 120);
  Image_echelle = new BoiteEchelle(page);
  Image_echelle->setGeometry(200, 36, kLargeurEchelle, kHauteurEchelle);
  ScrollBar_taille = barre(page, Qt::Horizontal, 10, 30, {200, 140, kLargeurEchelle, 16});
  Label_taille = etiquette(page, "1:1.0", 336, 139, 60);
  Label_nomfichier = etiquette(page, "New ", 200, 162, 200);

  CheckBox_details = case_a_cocher(page, "Détails ", 410, 10, 120);
  etiquette(page, "Depth", 410, 36);
  Trackbar_profondeur = glissiere(page, 1, 10, 410, 54);
  Edit_profondeur = edit(page, 564, 58, 2, 32);
  etiquette(page, "Roughness", 410, 92);
  Trackbar_rugosite = glissiere(page, 0, 10, 410, 110);
  Edit_rugosite = edit(page, 564, 114, 2, 32);

  Checkbox_photo = case_a_cocher(page, "Imported picture", 200, 200, 150);
  Checkbox_masque = case_a_cocher(page, "Mask", 200, 224, 80);
  etiquette(page, "R", 200, 252, 12);
  Edit_R = edit(page, 212, 250, 3, 36);
  etiquette(page, "G", 254, 252, 12);
  Edit_V = edit(page, 266, 250, 3, 36);
  etiquette(page, "B", 308, 252, 12);
  Edit_B = edit(page, 320, 250, 3, 36);
  etiquette(page, "Tolerance", 370, 252, 64);
  Edit_tolerance = edit(page, 436, 250, 3, 36);
  etiquette(page, "Transparency", 200, 284, 90);
  ScrollBar_transparence = barre(page, Qt::Horizontal, 0, 100, {292, 286, 140, 16});
  Edit_transparence = edit(page, 436, 282, 3, 36);
}

void TPagesDlg2::connecter_echelle() {
  for (std::size_t k = 0; k < 4; ++k)
    connect(radios_taille[k], &QRadioButton::clicked, this, [this, k] {
      vues[0].largeur_image = kTaillesImage[k].first;
      vues[0].hauteur_image = kTaillesImage[k].second;
      afficher_echelle();
    });
  connect(CheckBox_spex, &CtlCheckBox::changed, this, [this] { charger_echelle(); });
  connect(Edit_Xmax, &QLineEdit::textEdited, this, [this] { ecrire_taille(Edit_Xmax, true); });
  connect(Edit_Ymax, &QLineEdit::textEdited, this, [this] { ecrire_taille(Edit_Ymax, false); });
  // Once typed, the edit shows the size taken, bounded to the picture limits.
  for (QLineEdit* e : {Edit_Xmax, Edit_Ymax})
    connect(e, &QLineEdit::editingFinished, this, [this, e] {
      ecrire_taille(e, e == Edit_Xmax);
      montrer_nombre(e, e == Edit_Xmax ? vues[0].largeur_image : vues[0].hauteur_image);
      afficher_echelle();
    });
  connect(Checkbox_predef, &CtlCheckBox::changed, this, [this] {
    vues[0].dim_predef = Checkbox_predef->Checked();
    charger_echelle();
  });
  connect(CheckBox_scroll, &CtlCheckBox::changed, this, [this] {
    vues[0].echelle_fixe = CheckBox_scroll->Checked();
    if (!vues[0].echelle_fixe) vues[0].taille = 10;
    charger_echelle();
  });
  connect(adaptateurs[ScrollBar_taille], &AdaptateurDefilement::defilement, this, [this](int, int position) {
    vues[0].taille = position;
    drapeau_echelle = true;
    afficher_echelle();
  });
  connect(CheckBox_details, &CtlCheckBox::changed, this, [this] {
    vues[0].premier_plan = CheckBox_details->Checked();
    charger_echelle();
  });
  connect(Trackbar_profondeur, &CtlTrackBar::changed, this, [this] {
    vues[0].profondeur_details = Trackbar_profondeur->Position();
    afficher_echelle();
  });
  connect(Trackbar_rugosite, &CtlTrackBar::changed, this, [this] {
    vues[0].rugosite = Trackbar_rugosite->Position();
    afficher_echelle();
  });
  connect(Edit_profondeur, &QLineEdit::editingFinished, this, [this] {
    vues[0].profondeur_details = entier_borne(Edit_profondeur->text(), 1, 10, 1);
    afficher_echelle();
  });
  connect(Edit_rugosite, &QLineEdit::editingFinished, this, [this] {
    vues[0].rugosite = entier_borne(Edit_rugosite->text(), 0, 10, 1);
    afficher_echelle();
  });
  connect(CheckBox_defor, &CtlCheckBox::changed, this, [this] { vues[0].deformation = CheckBox_defor->Checked(); });
  connect(RadioButton_BMP, &QRadioButton::clicked, this, [this] {
    vues[0].type_image = 1;
    afficher_echelle();
  });
  connect(RadioButton_JPEG, &QRadioButton::clicked, this, [this] {
    vues[0].type_image = 2;
    afficher_echelle();
  });
  connect(Checkbox_photo, &CtlCheckBox::changed, this, [this] {
    vues[0].photo_aerienne = Checkbox_photo->Checked();
    charger_echelle();
  });
  connect(Checkbox_masque, &CtlCheckBox::changed, this, [this] { vues[0].masque = Checkbox_masque->Checked(); });
  for (QLineEdit* e : {Edit_R, Edit_V, Edit_B, Edit_tolerance, Edit_transparence})
    connect(e, &QLineEdit::editingFinished, this, [this] { ecrire_masque(); });
  connect(adaptateurs[ScrollBar_transparence], &AdaptateurDefilement::defilement, this, [this](int, int position) {
    vues[0].transparence = position;
    afficher_echelle();
  });
}

bool TPagesDlg2::cocher_taille(const param_vue& v) {
  // An exclusive group never unchecks its checked button by itself.
  QButtonGroup* groupe = radios_taille[0]->group();
  groupe->setExclusive(false);
  bool trouvee = false;
  for (std::size_t k = 0; k < 4; ++k) {
    const bool c = v.largeur_image == kTaillesImage[k].first && v.hauteur_image == kTaillesImage[k].second;
    radios_taille[k]->setChecked(c);
    trouvee = trouvee || c;
  }
  groupe->setExclusive(true);
  return trouvee;
}

void TPagesDlg2::ecrire_taille(QLineEdit* e, bool largeur) {
  // Bounded to the view window's picture limits; unreadable text gives the default side.
  if (largeur) vues[0].largeur_image = entier_borne(e->text(), kTailleImageMin, kTailleImageMax, 320);
  else vues[0].hauteur_image = entier_borne(e->text(), kTailleImageMin, kTailleImageMax, 240);
  drapeau_echelle = true;
}

void TPagesDlg2::ecrire_masque() {
  param_vue& v = vues[0];
  v.masque_rvb[0] = entier_borne(Edit_R->text(), 0, 255, 255);
  v.masque_rvb[1] = entier_borne(Edit_V->text(), 0, 255, 255);
  v.masque_rvb[2] = entier_borne(Edit_B->text(), 0, 255, 255);
  v.tolerance_masque = entier_borne(Edit_tolerance->text(), 0, 255, 10);
  v.transparence = entier_borne(Edit_transparence->text(), 0, 100, 0);
  afficher_echelle();
}

void TPagesDlg2::charger_echelle() {
  page_courante = 1;
  param_vue& v = vues[0];
  if (v.dim_predef) v.taille = 10;
  const bool photo = v.photo_aerienne != 0;
  for (QWidget* w : std::initializer_list<QWidget*>{Checkbox_masque, Edit_R, Edit_V, Edit_B, Edit_tolerance,
                                                     Edit_transparence, static_cast<QWidget*>(ScrollBar_transparence)})
    w->setEnabled(photo && Checkbox_photo->isEnabled());
  ScrollBar_taille->setEnabled(v.echelle_fixe != 0);
  Checkbox_predef->setEnabled(v.echelle_fixe != 0);
  Trackbar_profondeur->setEnabled(v.premier_plan != 0);
  Trackbar_rugosite->setEnabled(v.premier_plan != 0);
  Edit_profondeur->setEnabled(v.premier_plan != 0);
  Edit_rugosite->setEnabled(v.premier_plan != 0);
  if (!Checkbox_predef->isEnabled()) v.dim_predef = 0;
  if (v.dim_predef) {
    v.echelle_fixe = 1;
    ScrollBar_taille->setEnabled(false);
  }
  cocher_taille(v);
  for (QRadioButton* r : radios_taille) r->setEnabled(v.dim_predef && !CheckBox_spex->Checked());
  CheckBox_spex->setEnabled(v.dim_predef != 0);
  const bool specifiques = CheckBox_spex->Checked() && CheckBox_spex->isEnabled();
  Edit_Xmax->setEnabled(specifiques);
  Edit_Ymax->setEnabled(specifiques);
  Checkbox_predef->SetChecked(v.dim_predef != 0);
  CheckBox_scroll->SetChecked(v.echelle_fixe != 0);
  CheckBox_details->SetChecked(v.premier_plan != 0);
  CheckBox_defor->SetChecked(v.deformation != 0);
  Checkbox_photo->SetChecked(photo);
  Checkbox_masque->SetChecked(v.masque != 0);
  RadioButton_BMP->setChecked(v.type_image == 1);
  RadioButton_JPEG->setChecked(v.type_image != 1);
  drapeau_echelle = true;
  afficher_echelle();
}

void TPagesDlg2::afficher_echelle() {
  const param_vue& v = vues[0];
  if (!Edit_Xmax->hasFocus()) montrer_nombre(Edit_Xmax, v.largeur_image);
  if (!Edit_Ymax->hasFocus()) montrer_nombre(Edit_Ymax, v.hauteur_image);
  montrer_nombre(Edit_profondeur, v.profondeur_details);
  montrer_nombre(Edit_rugosite, v.rugosite);
  placer_glissiere(Trackbar_profondeur, v.profondeur_details);
  placer_glissiere(Trackbar_rugosite, v.rugosite);
  ScrollBar_taille->setValue(v.taille);
  Label_taille->setText(QString::fromStdString(texte_echelle(v.taille)));
  const std::string liste = ComboBox_no->currentText().toLocal8Bit().toStdString();
  Label_nomfichier->setText(QString::fromLocal8Bit(nom_fichier_vue(liste, vue_affichee != 0, v.type_image).c_str()));
  montrer_nombre(Edit_R, v.masque_rvb[0]);
  montrer_nombre(Edit_V, v.masque_rvb[1]);
  montrer_nombre(Edit_B, v.masque_rvb[2]);
  montrer_nombre(Edit_tolerance, v.tolerance_masque);
  montrer_nombre(Edit_transparence, v.transparence);
  ScrollBar_transparence->setValue(v.transparence);
  if (drapeau_echelle) {
    drapeau_echelle = false;
    const QImage& vignette = vue_affichee >= 1 && vue_affichee <= 10 ? vignettes[vue_affichee] : QImage();
    Image_echelle->montrer(vignette, rectangle_echelle(kLargeurEchelle, kHauteurEchelle, v.taille), v.taille >= 11);
  }
}

}  // namespace dialogs
