// The Scale page of the view options dialog.
#include "dialogs/options_vue_echelle.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

#include "controls/checkbox.h"
#include "controls/trackbar.h"
#include "dialogs/options_vue_boites.h"
#include "fenetres/fenetres.h"
#include "fenetres/saisie.h"

using namespace fenetres;

namespace dialogs {

namespace {

// The four sizes of the radios (the last caption says 760).
constexpr std::array<std::pair<int, int>, 4> kTaillesImage{{{320, 240}, {640, 480}, {800, 600}, {1024, 768}}};

void montrer_nombre(QLineEdit* e, int v) { e->setText(QString::number(v)); }

}  // namespace

PageEchelleVue::PageEchelleVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent)
    : PageOptionsVue(v, contexte, parent) {
  setObjectName("Option_echelle");
  construire();
  connecter();
  CheckBox_spex->SetChecked(!cocher_taille());
  for (QWidget* w : std::initializer_list<QWidget*>{Checkbox_photo, Checkbox_masque, Edit_R, Edit_V, Edit_B,
                                                     static_cast<QWidget*>(ScrollBar_transparence)})
    w->setEnabled(contexte.photo_terrain);
}

PageEchelleVue::~PageEchelleVue() { taire_controles(); }

void PageEchelleVue::construire() {
  auto* tailles = new QButtonGroup(this);
  const char* legendes[] = {"320 x 240", "640 x 480", "800 x 600", "1024 x 760"};
  const char* noms[] = {"RadioButton_320x", "RadioButton_640x", "RadioButton_800x", "RadioButton_1024x"};
  for (int k = 0; k < 4; ++k) {
    QRadioButton* r = radios_taille_[std::size_t(k)] = new QRadioButton(legendes[k], this);
    r->setObjectName(noms[k]);
    r->setGeometry(12, 10 + 22 * k, 110, 20);
    tailles->addButton(r);
  }
  CheckBox_spex = coche(this, "CheckBox_spex", "specific sizes", {12, 100, 120, 20});
  Edit_Xmax = zone_saisie(this, "Edit_Xmax", {12, 124, 44, 22}, 4);
  etiquette(this, "x", {60, 126, 10, 18});
  Edit_Ymax = zone_saisie(this, "Edit_Ymax", {72, 124, 44, 22}, 4);
  const QString limites = QString("From %1 to %2 pixels").arg(kTailleImageMin).arg(kTailleImageMax);
  Edit_Xmax->setToolTip(limites);
  Edit_Ymax->setToolTip(limites);
  Checkbox_predef = coche(this, "Checkbox_predef", "predefined size image", {12, 156, 160, 20});
  CheckBox_defor = coche(this, "CheckBox_defor", "Distortion", {12, 186, 160, 20});
  auto* fichiers = new QButtonGroup(this);
  RadioButton_BMP = new QRadioButton("BMP file", this);
  RadioButton_JPEG = new QRadioButton("JPEG File kind", this);
  RadioButton_BMP->setObjectName("RadioButton_BMP");
  RadioButton_JPEG->setObjectName("RadioButton_JPEG");
  RadioButton_BMP->setGeometry(12, 214, 140, 20);
  RadioButton_JPEG->setGeometry(12, 236, 140, 20);
  fichiers->addButton(RadioButton_BMP);
  fichiers->addButton(RadioButton_JPEG);

  CheckBox_scroll = coche(this, "CheckBox_scroll", "Fixed scale", {200, 10, 120, 20});
  Image_echelle = new BoiteEchelle(this);
  Image_echelle->setObjectName("Image_echelle");
  Image_echelle->setGeometry(200, 36, kLargeurEchelle, kHauteurEchelle);
  ScrollBar_taille = barre(this, "ScrollBar_taille", Qt::Horizontal, 10, 30, {200, 140, kLargeurEchelle, 16});
  Label_taille = etiquette(this, "1:1.0", {336, 139, 60, 18});
  Label_taille->setObjectName("Label_taille");
  Label_nomfichier = etiquette(this, "New ", {200, 162, 200, 18});
  Label_nomfichier->setObjectName("Label_nomfichier");

  CheckBox_details = coche(this, "CheckBox_details", QString::fromUtf8("Détails "), {410, 10, 120, 20});
  etiquette(this, "Depth", {410, 36, 120, 18});
  Trackbar_profondeur = glissiere(this, "Trackbar_profondeur", 1, 10, {410, 54, 150, 30});
  Edit_profondeur = zone_saisie(this, "Edit_profondeur", {564, 58, 32, 22}, 2);
  etiquette(this, "Roughness", {410, 92, 120, 18});
  Trackbar_rugosite = glissiere(this, "Trackbar_rugosite", 0, 10, {410, 110, 150, 30});
  Edit_rugosite = zone_saisie(this, "Edit_rugosite", {564, 114, 32, 22}, 2);

  Checkbox_photo = coche(this, "Checkbox_photo", "Imported picture", {200, 200, 150, 20});
  Checkbox_masque = coche(this, "Checkbox_masque", "Mask", {200, 224, 80, 20});
  etiquette(this, "R", {200, 252, 12, 18});
  Edit_R = zone_saisie(this, "Edit_R", {212, 250, 36, 22}, 3);
  etiquette(this, "G", {254, 252, 12, 18});
  Edit_V = zone_saisie(this, "Edit_V", {266, 250, 36, 22}, 3);
  etiquette(this, "B", {308, 252, 12, 18});
  Edit_B = zone_saisie(this, "Edit_B", {320, 250, 36, 22}, 3);
  etiquette(this, "Tolerance", {370, 252, 64, 18});
  Edit_tolerance = zone_saisie(this, "Edit_tolerance", {436, 250, 36, 22}, 3);
  etiquette(this, "Transparency", {200, 284, 90, 18});
  ScrollBar_transparence = barre(this, "ScrollBar_transparence", Qt::Horizontal, 0, 100, {292, 286, 140, 16});
  Edit_transparence = zone_saisie(this, "Edit_transparence", {436, 282, 36, 22}, 3);
}

void PageEchelleVue::connecter() {
  for (std::size_t k = 0; k < 4; ++k)
    connect(radios_taille_[k], &QRadioButton::clicked, this, [this, k] {
      vue_.largeur_image = kTaillesImage[k].first;
      vue_.hauteur_image = kTaillesImage[k].second;
      modifier(false);
    });
  connect(CheckBox_spex, &CtlCheckBox::changed, this, [this] { modifier(true); });
  connect(Edit_Xmax, &QLineEdit::textEdited, this, [this] { ecrire_taille(Edit_Xmax, true); });
  connect(Edit_Ymax, &QLineEdit::textEdited, this, [this] { ecrire_taille(Edit_Ymax, false); });
  // Once typed, the edit shows the size taken, bounded to the picture limits.
  for (QLineEdit* e : {Edit_Xmax, Edit_Ymax})
    connect(e, &QLineEdit::editingFinished, this, [this, e] {
      ecrire_taille(e, e == Edit_Xmax);
      montrer_nombre(e, e == Edit_Xmax ? vue_.largeur_image : vue_.hauteur_image);
      modifier(false);
    });
  connect(Checkbox_predef, &CtlCheckBox::changed, this, [this] {
    vue_.dim_predef = Checkbox_predef->Checked();
    modifier(true);
  });
  connect(CheckBox_scroll, &CtlCheckBox::changed, this, [this] {
    vue_.echelle_fixe = CheckBox_scroll->Checked();
    if (!vue_.echelle_fixe) vue_.taille = 10;
    modifier(true);
  });
  sur_defilement(ScrollBar_taille, this, [this](int, int position) {
    vue_.taille = position;
    drapeau_echelle_ = true;
    modifier(false);
  });
  connect(CheckBox_details, &CtlCheckBox::changed, this, [this] {
    vue_.premier_plan = CheckBox_details->Checked();
    modifier(true);
  });
  connect(Trackbar_profondeur, &CtlTrackBar::changed, this, [this] {
    vue_.profondeur_details = Trackbar_profondeur->Position();
    modifier(false);
  });
  connect(Trackbar_rugosite, &CtlTrackBar::changed, this, [this] {
    vue_.rugosite = Trackbar_rugosite->Position();
    modifier(false);
  });
  connect(Edit_profondeur, &QLineEdit::editingFinished, this, [this] {
    vue_.profondeur_details = entier_borne(Edit_profondeur->text(), 1, 10, 1);
    modifier(false);
  });
  connect(Edit_rugosite, &QLineEdit::editingFinished, this, [this] {
    vue_.rugosite = entier_borne(Edit_rugosite->text(), 0, 10, 1);
    modifier(false);
  });
  connect(CheckBox_defor, &CtlCheckBox::changed, this, [this] {
    vue_.deformation = CheckBox_defor->Checked();
    emit change();
  });
  connect(RadioButton_BMP, &QRadioButton::clicked, this, [this] {
    vue_.type_image = 1;
    modifier(false);
  });
  connect(RadioButton_JPEG, &QRadioButton::clicked, this, [this] {
    vue_.type_image = 2;
    modifier(false);
  });
  connect(Checkbox_photo, &CtlCheckBox::changed, this, [this] {
    vue_.photo_aerienne = Checkbox_photo->Checked();
    modifier(true);
  });
  connect(Checkbox_masque, &CtlCheckBox::changed, this, [this] {
    vue_.masque = Checkbox_masque->Checked();
    emit change();
  });
  for (QLineEdit* e : {Edit_R, Edit_V, Edit_B, Edit_tolerance, Edit_transparence})
    connect(e, &QLineEdit::editingFinished, this, [this] { ecrire_masque(); });
  sur_defilement(ScrollBar_transparence, this, [this](int, int position) {
    vue_.transparence = position;
    modifier(false);
  });
}

void PageEchelleVue::modifier(bool recharger) {
  if (recharger) charger_echelle();
  else afficher_echelle();
  emit change();
}

bool PageEchelleVue::cocher_taille() {
  // An exclusive group never unchecks its checked button by itself.
  QButtonGroup* groupe = radios_taille_[0]->group();
  groupe->setExclusive(false);
  bool trouvee = false;
  for (std::size_t k = 0; k < 4; ++k) {
    const bool c = vue_.largeur_image == kTaillesImage[k].first && vue_.hauteur_image == kTaillesImage[k].second;
    radios_taille_[k]->setChecked(c);
    trouvee = trouvee || c;
  }
  groupe->setExclusive(true);
  return trouvee;
}

void PageEchelleVue::ecrire_taille(QLineEdit* e, bool largeur) {
  // Bounded to the view window's picture limits; unreadable text gives the default side.
  if (largeur) vue_.largeur_image = entier_borne(e->text(), kTailleImageMin, kTailleImageMax, 320);
  else vue_.hauteur_image = entier_borne(e->text(), kTailleImageMin, kTailleImageMax, 240);
  drapeau_echelle_ = true;
  emit change();
}

void PageEchelleVue::ecrire_masque() {
  vue_.masque_rvb[0] = entier_borne(Edit_R->text(), 0, 255, 255);
  vue_.masque_rvb[1] = entier_borne(Edit_V->text(), 0, 255, 255);
  vue_.masque_rvb[2] = entier_borne(Edit_B->text(), 0, 255, 255);
  vue_.tolerance_masque = entier_borne(Edit_tolerance->text(), 0, 255, 10);
  vue_.transparence = entier_borne(Edit_transparence->text(), 0, 100, 0);
  modifier(false);
}

// ---------------------------------------------------------------- load, store, show

void PageEchelleVue::charger(const param_vue& v) {
  vue_ = v;
  charger_echelle();
}

void PageEchelleVue::ranger(param_vue& v) const {
  v.largeur_image = vue_.largeur_image;
  v.hauteur_image = vue_.hauteur_image;
  v.dim_predef = vue_.dim_predef;
  v.echelle_fixe = vue_.echelle_fixe;
  v.taille = vue_.taille;
  v.premier_plan = vue_.premier_plan;
  v.profondeur_details = vue_.profondeur_details;
  v.rugosite = vue_.rugosite;
  v.deformation = vue_.deformation;
  v.type_image = vue_.type_image;
  v.photo_aerienne = vue_.photo_aerienne;
  v.masque = vue_.masque;
  v.masque_rvb = vue_.masque_rvb;
  v.tolerance_masque = vue_.tolerance_masque;
  v.transparence = vue_.transparence;
}

void PageEchelleVue::charger_echelle() {
  param_vue& v = vue_;
  if (v.dim_predef) v.taille = 10;
  const bool photo = v.photo_aerienne != 0;
  for (QWidget* w : std::initializer_list<QWidget*>{Checkbox_masque, Edit_R, Edit_V, Edit_B, Edit_tolerance,
                                                     Edit_transparence, static_cast<QWidget*>(ScrollBar_transparence)})
    w->setEnabled(photo && Checkbox_photo->isEnabled());
  ScrollBar_taille->setEnabled(v.echelle_fixe != 0);
  Checkbox_predef->setEnabled(v.echelle_fixe != 0);
  for (QWidget* w : std::initializer_list<QWidget*>{Trackbar_profondeur, Trackbar_rugosite, Edit_profondeur, Edit_rugosite})
    w->setEnabled(v.premier_plan != 0);
  if (!Checkbox_predef->isEnabled()) v.dim_predef = 0;
  if (v.dim_predef) {
    v.echelle_fixe = 1;
    ScrollBar_taille->setEnabled(false);
  }
  cocher_taille();
  for (QRadioButton* r : radios_taille_) r->setEnabled(v.dim_predef && !CheckBox_spex->Checked());
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
  drapeau_echelle_ = true;
  afficher_echelle();
}

void PageEchelleVue::afficher_echelle() {
  const param_vue& v = vue_;
  if (!Edit_Xmax->hasFocus()) montrer_nombre(Edit_Xmax, v.largeur_image);
  if (!Edit_Ymax->hasFocus()) montrer_nombre(Edit_Ymax, v.hauteur_image);
  montrer_nombre(Edit_profondeur, v.profondeur_details);
  montrer_nombre(Edit_rugosite, v.rugosite);
  placer(Trackbar_profondeur, v.profondeur_details);
  placer(Trackbar_rugosite, v.rugosite);
  ScrollBar_taille->setValue(v.taille);
  Label_taille->setText(QString::fromStdString(texte_echelle(v.taille)));
  Label_nomfichier->setText(
      QString::fromLocal8Bit(nom_fichier_vue(contexte_.texte_liste, contexte_.vue_affichee != 0, v.type_image).c_str()));
  montrer_nombre(Edit_R, v.masque_rvb[0]);
  montrer_nombre(Edit_V, v.masque_rvb[1]);
  montrer_nombre(Edit_B, v.masque_rvb[2]);
  montrer_nombre(Edit_tolerance, v.tolerance_masque);
  montrer_nombre(Edit_transparence, v.transparence);
  ScrollBar_transparence->setValue(v.transparence);
  if (drapeau_echelle_) {
    drapeau_echelle_ = false;
    Image_echelle->montrer(contexte_.vignette, rectangle_echelle(kLargeurEchelle, kHauteurEchelle, v.taille),
                           v.taille >= 11);
  }
}

}  // namespace dialogs
