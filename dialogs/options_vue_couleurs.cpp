// The Colours page of the view options dialog.
#include "dialogs/options_vue_couleurs.h"

#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/checkbox.h"
#include "controls/combobox.h"
#include "controls/trackbar.h"
#include "dialogs/options_vue_boites.h"
#include "fenetres/elements_pages.h"
#include "fenetres/saisie.h"
#include "render/palette.h"

using namespace fenetres;

namespace dialogs {

namespace {

// Colour c (1..10) of the record, or the base colour.
Rgb couleur_niveau(const param_vue& v, int c) {
  if (!v.couleurs_defaut) return v.couleurs[std::size_t(c - 1)];
  const TMyPalette base(false, 4);
  return base.slot(c <= 7 ? c : c + 2);
}

}  // namespace

void copier_couleurs(const param_vue& s, param_vue& d) {
  d.contraste = s.contraste;
  d.profondeur_ombre = s.profondeur_ombre;
  d.couleurs_defaut = s.couleurs_defaut;
  if (!s.couleurs_defaut) d.couleurs = s.couleurs;
}

PageCouleursVue::PageCouleursVue(const param_vue& v, ContexteOptionsVue& contexte, QWidget* parent, ChoixCouleur choisir)
    : PageOptionsVue(v, contexte, parent), choisir_couleur_(std::move(choisir)) {
  setObjectName("Option_couleurs");
  if (!choisir_couleur_)
    choisir_couleur_ = [this](const QColor& c) -> std::optional<QColor> {
      const QColor r = QColorDialog::getColor(c, this);
      if (!r.isValid()) return std::nullopt;
      return r;
    };
  construire();
  connecter();
}

PageCouleursVue::~PageCouleursVue() { taire_controles(); }

void PageCouleursVue::construire() {
  ComboBox_coul = new CtlComboBox(this);
  ComboBox_coul->setObjectName("ComboBox_coul");
  ComboBox_coul->setGeometry(8, 8, 130, 24);
  for (const char* t : {"Sky      ", "Rock     ", "Soil     ", "Grass    ", "Trees 1  ", "Trees 2  ", "Trunk    ",
                        "Sea & Riv", "Snow     ", "Sand     "})
    ComboBox_coul->addItem(t);
  UpDown_niveau = new HautBas(this);
  UpDown_niveau->setObjectName("UpDown_niveau");
  UpDown_niveau->setGeometry(140, 8, 16, 24);
  UpDown_niveau->fixer_bornes(0, 10);
  Image_couleur = new BoiteCouleur(this);
  Image_couleur->setObjectName("Image_couleur");
  Image_couleur->setGeometry(164, 8, 60, 40);
  const char* titres[] = {"Red", "Green", "Blue", "Light", "Contrast", "Shadow depth"};
  const char* barres[] = {"Trackbar_rouge", "Trackbar_vert", "Trackbar_bleu",
                          "Trackbar_lumiere", "Trackbar_contraste", "Trackbar_ombre"};
  const char* edits[] = {"Edit_rouge", "Edit_vert", "Edit_bleu", "Edit_lumiere", "Edit_contraste", "Edit_ombre"};
  const char* jauges[] = {"Gauge_R", "Gauge_V", "Gauge_B"};
  const int bornes[6][2] = {{0, 255}, {0, 255}, {0, 255}, {0, 255}, {1, 100}, {13, 40}};
  const QColor teintes[3] = {Qt::red, Qt::green, Qt::blue};
  for (int k = 0; k < 6; ++k) {
    const int y = 56 + 36 * k + (k >= 4 ? 12 : 0);
    etiquette(this, titres[k], {8, y + 6, 84, 18});
    CtlTrackBar* t = glissiere(this, barres[k], bornes[k][0], bornes[k][1], {92, y, 170, 30});
    edits_[std::size_t(k)] = zone_saisie(this, edits[k], {266, y + 4, 40, 22});
    if (k < 4) glissieres_rvbl_[std::size_t(k)] = t;
    if (k == 4) Trackbar_contraste = t;
    if (k == 5) Trackbar_ombre = t;
    if (k < 3) {
      jauges_[std::size_t(k)] = new Jauge(teintes[k], this);
      jauges_[std::size_t(k)]->setObjectName(jauges[k]);
      jauges_[std::size_t(k)]->setGeometry(312, y + 8, 60, 12);
    }
  }
  CheckBox_coul_def = coche(this, "CheckBox_coul_def", "Idle Colours", {236, 12, 130, 20});
  Button_gri = new QPushButton("Palette ...", this);
  Button_gri->setObjectName("Button_gri");
  Button_gri->setGeometry(312, 194, 80, 26);
  Image_fleche = new BoiteFleche(this);
  Image_fleche->setObjectName("Image_fleche");
  Image_fleche->setGeometry(396, 8, 30, 132);
  Image_palette = new BoitePalette(this);
  Image_palette->setObjectName("Image_palette");
  Image_palette->setGeometry(428, 8, 160, 132);
  ajouter_copie("BitBtn_no_coul", {450, 268, 70, 26}, {470, 250}, {470, 296});
  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setSingleShot(true);
  Timer1->setInterval(750);
}

void PageCouleursVue::connecter() {
  for (CtlTrackBar* t : {glissieres_rvbl_[0], glissieres_rvbl_[1], glissieres_rvbl_[2], glissieres_rvbl_[3],
                         Trackbar_contraste, Trackbar_ombre})
    connect(t, &CtlTrackBar::changed, this, [this, t] { TrackBar_couleursChange(t); });
  for (QLineEdit* e : edits_) connect(e, &QLineEdit::editingFinished, this, [this, e] { Edit_couleursExit(e); });
  connect(Timer1, &QTimer::timeout, this, &PageCouleursVue::calculer_palette);
  connect(ComboBox_coul, &CtlComboBox::changed, this, [this] { choisir_niveau(ComboBox_coul->currentIndex() + 1); });
  connect(UpDown_niveau, &HautBas::clic, this, [this](int p) { choisir_niveau(10 - p); });
  (new FiltreSouris(Image_palette, true))->appui = [this](QPoint p) {
    choisir_niveau(niveau_au_clic(p.y(), Image_palette->height()));
  };
  connect(CheckBox_coul_def, &CtlCheckBox::changed, this, [this] {
    vue_.couleurs_defaut = CheckBox_coul_def->Checked();
    calculer_palette();
    afficher_rvb();
    emit change();
  });
  connect(Button_gri, &QPushButton::clicked, this, &PageCouleursVue::Button_griClick);
}

// ---------------------------------------------------------------- load, store, show

void PageCouleursVue::charger(const param_vue& v) {
  vue_ = v;
  nouvelle_palette();
  placer(Trackbar_contraste, vue_.contraste);
  placer(Trackbar_ombre, vue_.profondeur_ombre);
  montrer_copie();
  afficher_rvb();
  calculer_palette();
  afficher_couleurs();
}

void PageCouleursVue::ranger(param_vue& v) const {
  v.couleurs = vue_.couleurs;
  v.contraste = vue_.contraste;
  v.profondeur_ombre = vue_.profondeur_ombre;
  v.couleurs_defaut = vue_.couleurs_defaut;
}

void PageCouleursVue::nouvelle_palette() {
  palette_ = palette_de(vue_);
  // The charts read the table: they get the new one.
  Image_palette->fixer_palette(palette_.get());
  Image_couleur->montrer(palette_.get(), Image_couleur->entree());
}

int PageCouleursVue::couleur_choisie() const { return std::max(kCouleurDeListe[std::clamp(indice_couleur_, 1, 10)], 1); }

void PageCouleursVue::choisir_niveau(int indice) {
  indice_couleur_ = indice;
  afficher_rvb();
}

void PageCouleursVue::afficher_rvb() {
  indice_couleur_ = std::clamp(indice_couleur_, 1, 10);
  const int c = couleur_choisie();
  ComboBox_coul->setCurrentIndex(indice_couleur_ - 1);
  UpDown_niveau->fixer_position(10 - indice_couleur_);
  const Rgb rgb = couleur_niveau(vue_, c);
  const int valeurs[4] = {rgb.r, rgb.g, rgb.b, lumiere_affichee(rgb)};
  for (int k = 0; k < 4; ++k) {
    placer(glissieres_rvbl_[std::size_t(k)], valeurs[k]);
    glissieres_rvbl_[std::size_t(k)]->setEnabled(!vue_.couleurs_defaut);
    edits_[std::size_t(k)]->setEnabled(!vue_.couleurs_defaut);
    edits_[std::size_t(k)]->setText(QString::number(valeurs[k]));
    if (k < 3) jauges_[std::size_t(k)]->fixer_valeur(valeurs[k]);
  }
  Image_couleur->montrer(palette_.get(), entree_echantillon(c, palette_->facteur()));
  Image_fleche->fixer_niveau(indice_couleur_);
}

void PageCouleursVue::afficher_couleurs() {
  edits_[4]->setText(QString::number(vue_.contraste));
  edits_[5]->setText(QString::number(vue_.profondeur_ombre));
}

void PageCouleursVue::calculer_palette() {
  Timer1->stop();
  CheckBox_coul_def->SetChecked(vue_.couleurs_defaut != 0);
  nouvelle_palette();
  Image_couleur->montrer(palette_.get(), entree_echantillon(couleur_choisie(), palette_->facteur()));
}

// ---------------------------------------------------------------- handlers

void PageCouleursVue::TrackBar_couleursChange(CtlTrackBar* t) {
  Rgb& rgb = vue_.couleurs[std::size_t(couleur_choisie() - 1)];
  const int p = t->Position();
  if (t == glissieres_rvbl_[0]) rgb.r = std::uint8_t(std::clamp(p, 0, 255));
  else if (t == glissieres_rvbl_[1]) rgb.g = std::uint8_t(std::clamp(p, 0, 255));
  else if (t == glissieres_rvbl_[2]) rgb.b = std::uint8_t(std::clamp(p, 0, 255));
  else if (t == glissieres_rvbl_[3]) rgb = changer_lumiere(rgb, p);
  else if (t == Trackbar_contraste) vue_.contraste = p;
  else if (t == Trackbar_ombre) vue_.profondeur_ombre = p;
  afficher_rvb();
  afficher_couleurs();
  Timer1->start();
  emit change();
}

void PageCouleursVue::Edit_couleursExit(QLineEdit* e) {
  Rgb& rgb = vue_.couleurs[std::size_t(couleur_choisie() - 1)];
  // Unreadable text gives 0, then each value's limits.
  const int n = entier_saisi(e->text(), 0);
  const auto octet = [](int x) { return std::uint8_t(std::clamp(x, 0, 255)); };
  if (e == edits_[0]) rgb.r = octet(n);
  else if (e == edits_[1]) rgb.g = octet(n);
  else if (e == edits_[2]) rgb.b = octet(n);
  else if (e == edits_[3]) rgb = changer_lumiere(rgb, n);
  else if (e == edits_[4]) vue_.contraste = std::clamp(n, 1, 100);
  else if (e == edits_[5]) vue_.profondeur_ombre = std::clamp(n, 13, 40);
  afficher_rvb();
  afficher_couleurs();
  calculer_palette();
  emit change();
}

void PageCouleursVue::Button_griClick() {
  const int c = couleur_choisie();
  const Rgb avant = couleur_niveau(vue_, c);
  const std::optional<QColor> choix = choisir_couleur_(QColor(avant.r, avant.g, avant.b));
  if (!choix) return;
  const std::uint32_t valeur = std::uint32_t(choix->red()) | std::uint32_t(choix->green()) << 8 |
                               std::uint32_t(choix->blue()) << 16;
  vue_.couleurs[std::size_t(c - 1)] = couleur_de_valeur(valeur);
  afficher_rvb();
  calculer_palette();
  emit change();
}

}  // namespace dialogs
