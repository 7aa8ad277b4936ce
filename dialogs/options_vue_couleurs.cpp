// The Colours page of the view options dialog: the ten level colours chosen by
// list, up-down or a click on the palette box, edited in red, green, blue and
// light; contrast, shadow depth, the base colours, the colour dialog; the
// palette box, the arrow and the sample, drawn from the working palette, which
// is recomputed 750 ms after a drag pauses.
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "fenetres/elements_pages.h"
#include "fenetres/saisie.h"
#include "controls/checkbox.h"
#include "controls/combobox.h"
#include "controls/trackbar.h"
#include "dialogs/options_vue.h"
#include "dialogs/options_vue_boites.h"
#include "model/aleatoire.h"
#include "render/palette.h"

namespace dialogs {

namespace {

QColor couleur(const TMyPalette* p, int entree) {
  if (!p) return Qt::white;
  const Rgb c = p->lire_couleur(static_cast<std::uint16_t>(entree));
  return QColor(c.r, c.g, c.b);
}

// The ramp of colour slot `slot` across the box between rows y1 and y2.
void rampe(QPainter& p, const TMyPalette* palette, int largeur, int y1, int y2, int slot) {
  const int s = palette->facteur();
  const double cellule = largeur / 12.0 / s;
  for (int k = 1; k <= 12 * s; ++k) {
    const int x1 = Round(cellule * (k - 1)), x2 = Round(cellule * k) + 1;
    p.fillRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), couleur(palette, 18 + 12 * s * (slot - 1) + k));
  }
}

// Click rows of the palette box.
class SourisPalette : public QObject {
 public:
  SourisPalette(TPagesDlg2* d, QObject* parent) : QObject(parent), d_(d) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::MouseButtonPress) return false;
    d_->Image_palettemousedown(static_cast<QMouseEvent*>(e)->position().toPoint().y());
    return true;
  }

 private:
  TPagesDlg2* d_;
};

}  // namespace

void BoitePalette::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (!palette_) return;
  const int W = width(), H = height(), s = palette_->facteur();
  const GeometriePalette g = geometrie_palette(H);
  p.fillRect(0, 0, W, g.u, couleur(palette_, 1));  // sky
  rampe(p, palette_, W, g.u, 2 * g.u, 3);           // rock
  rampe(p, palette_, W, 2 * g.u, 3 * g.u, 1);       // soil
  rampe(p, palette_, W, 3 * g.u, 4 * g.u, 2);       // grass
  rampe(p, palette_, W, 4 * g.u, 4 * g.u + g.h, 4);  // trees 1
  rampe(p, palette_, W, 4 * g.u + g.h, g.b, 5);      // trees 2
  // The two mean colours as thin ramps across the soil band's edges.
  rampe(p, palette_, W, 3 * g.u - 5, 3 * g.u + 5, 8);
  rampe(p, palette_, W, 2 * g.u - 5, 2 * g.u + 5, 9);
  const int uni[4] = {5, 7, 12 * 6 * s + 18, 12 * 7 * s + 18};  // trunk, sea, snow, sand
  for (int k = 0; k < 4; ++k) {
    const QRect bande(0, g.b + k * g.r, W, g.r);
    p.fillRect(bande, couleur(palette_, uni[k]));
    if (k >= 2) {
      p.setPen(Qt::black);
      p.setBrush(Qt::NoBrush);
      p.drawRect(bande.adjusted(0, 0, -1, -1));
    }
  }
  // Rivers: short dashes along the first band below the ramps.
  p.setPen(QPen(couleur(palette_, 7), 2));
  for (int k = 0; k < 13; ++k) {
    const int x = 4 + k * W / 13;
    p.drawLine(x, g.b + g.r / 2, x + 8, g.b + g.r / 2);
  }
}

void BoiteFleche::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int y = fleche_y(niveau_, height());
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawRect(QRect(QPoint(13, y - 3), QPoint(28, y + 2)));
  const QPoint triangle[3] = {{1, y}, {13, y - 7}, {13, y + 6}};
  p.drawPolygon(triangle, 3);
}

void BoiteCouleur::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), couleur(palette_, entree_));
}

void Jauge::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.fillRect(0, 0, width() * std::clamp(valeur_, 0, 255) / 255, height(), couleur_);
  p.setPen(Qt::gray);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// ---------------------------------------------------------------- building

void TPagesDlg2::construire_couleurs(QWidget* page) {
  ComboBox_coul = new CtlComboBox(page);
  ComboBox_coul->setGeometry(8, 8, 130, 24);
  for (const char* t : {"Sky      ", "Rock     ", "Soil     ", "Grass    ", "Trees 1  ", "Trees 2  ", "Trunk    ",
                        "Sea & Riv", "Snow     ", "Sand     "})
    ComboBox_coul->addItem(t);
  UpDown_niveau = new HautBas(page);
  UpDown_niveau->setGeometry(140, 8, 16, 24);
  UpDown_niveau->fixer_bornes(0, 10);
  Image_couleur = new BoiteCouleur(page);
  Image_couleur->setGeometry(164, 8, 60, 40);
  const char* noms[] = {"Red", "Green", "Blue", "Light", "Contrast", "Shadow depth"};
  const int bornes[6][2] = {{0, 255}, {0, 255}, {0, 255}, {0, 255}, {1, 100}, {13, 40}};
  const QColor teintes[3] = {Qt::red, Qt::green, Qt::blue};
  for (int k = 0; k < 6; ++k) {
    const int y = 56 + 36 * k + (k >= 4 ? 12 : 0);
    auto* l = new QLabel(noms[k], page);
    l->setGeometry(8, y + 6, 84, 18);
    auto* t = new CtlTrackBar(page);
    t->SetMinValue(bornes[k][0]);
    t->SetMaxValue(bornes[k][1]);
    t->setGeometry(92, y, 170, 30);
    auto* e = new QLineEdit(page);
    e->setGeometry(266, y + 4, 40, 22);
    edits_couleurs[std::size_t(k)] = e;
    if (k < 4) glissieres_rvbl[std::size_t(k)] = t;
    if (k == 4) Trackbar_contraste = t;
    if (k == 5) Trackbar_ombre = t;
    if (k < 3) {
      jauges[std::size_t(k)] = new Jauge(teintes[k], page);
      jauges[std::size_t(k)]->setGeometry(312, y + 8, 60, 12);
    }
  }
  CheckBox_coul_def = new CtlCheckBox(page);
  CheckBox_coul_def->SetCaption("Idle Colours");
  CheckBox_coul_def->setGeometry(236, 12, 130, 20);
  Button_gri = new QPushButton("Palette ...", page);
  Button_gri->setGeometry(312, 194, 80, 26);
  Image_fleche = new BoiteFleche(page);
  Image_fleche->setGeometry(396, 8, 30, 132);
  Image_palette = new BoitePalette(page);
  Image_palette->setGeometry(428, 8, 160, 132);
  Image_palette->installEventFilter(new SourisPalette(this, Image_palette));
  labels_origine[3] = new QLabel("0", page);
  labels_origine[3]->setGeometry(470, 250, 30, 18);
  boutons_copie[3] = new QPushButton("Copy", page);
  boutons_copie[3]->setGeometry(450, 268, 70, 26);
  labels_destination[3] = new QLabel("0", page);
  labels_destination[3]->setGeometry(470, 296, 30, 18);
  Timer1.setSingleShot(true);
  Timer1.setInterval(750);
  choisir_couleur = [this](const QColor& c) -> std::optional<QColor> {
    const QColor r = QColorDialog::getColor(c, this);
    if (!r.isValid()) return std::nullopt;
    return r;
  };
}

void TPagesDlg2::connecter_couleurs() {
  for (CtlTrackBar* t : glissieres_rvbl)
    connect(t, &CtlTrackBar::changed, this, [this, t] { TrackBar_couleursChange(t); });
  for (CtlTrackBar* t : {Trackbar_contraste, Trackbar_ombre})
    connect(t, &CtlTrackBar::changed, this, [this, t] { TrackBar_couleursChange(t); });
  for (QLineEdit* e : edits_couleurs) connect(e, &QLineEdit::editingFinished, this, [this, e] { Edit_couleursExit(e); });
  connect(&Timer1, &QTimer::timeout, this, &TPagesDlg2::calculer_palette);
  connect(ComboBox_coul, &CtlComboBox::changed, this, [this] {
    indice_couleur = ComboBox_coul->currentIndex() + 1;
    afficher_rvb();
  });
  connect(UpDown_niveau, &HautBas::clic, this, [this](int p) {
    indice_couleur = 10 - p;
    afficher_rvb();
  });
  connect(CheckBox_coul_def, &CtlCheckBox::changed, this, [this] {
    vues[0].couleurs_defaut = CheckBox_coul_def->Checked();
    calculer_palette();
    afficher_rvb();
  });
  connect(Button_gri, &QPushButton::clicked, this, &TPagesDlg2::Button_griClick);
  connect(boutons_copie[3], &QPushButton::clicked, this, &TPagesDlg2::BitBtn_no_coul1Click);
}

// ---------------------------------------------------------------- load and show

void TPagesDlg2::charger_couleurs() {
  page_courante = 5;
  nouvelle_palette();
  for (auto [t, v] : {std::pair{Trackbar_contraste, vues[0].contraste}, std::pair{Trackbar_ombre, vues[0].profondeur_ombre}}) {
    const QSignalBlocker b(t);
    t->SetPosition(v);
  }
  afficher_rvb();
  calculer_palette();
  afficher_couleurs();
}

namespace {
// Colour c (1..10) of the record, or the base colour.
Rgb couleur_niveau(const param_vue& v, int c) {
  if (!v.couleurs_defaut) return v.couleurs[std::size_t(c - 1)];
  const TMyPalette base(false, 4);
  return base.slot(c <= 7 ? c : c + 2);
}
}  // namespace

void TPagesDlg2::afficher_rvb() {
  indice_couleur = std::clamp(indice_couleur, 1, 10);
  const int c = std::max(kCouleurDeListe[indice_couleur], 1);
  ComboBox_coul->setCurrentIndex(indice_couleur - 1);
  UpDown_niveau->fixer_position(10 - indice_couleur);
  const Rgb rgb = couleur_niveau(vues[0], c);
  const int valeurs[4] = {rgb.r, rgb.g, rgb.b, lumiere_affichee(rgb)};
  for (int k = 0; k < 4; ++k) {
    CtlTrackBar* t = glissieres_rvbl[std::size_t(k)];
    const QSignalBlocker b(t);
    t->SetPosition(valeurs[k]);
    t->setEnabled(!vues[0].couleurs_defaut);
    edits_couleurs[std::size_t(k)]->setEnabled(!vues[0].couleurs_defaut);
    edits_couleurs[std::size_t(k)]->setText(QString::number(valeurs[k]));
    if (k < 3) jauges[std::size_t(k)]->fixer_valeur(valeurs[k]);
  }
  Image_couleur->montrer(palette.get(), entree_echantillon(c, palette->facteur()));
  Image_fleche->fixer_niveau(indice_couleur);
}

void TPagesDlg2::afficher_couleurs() {
  edits_couleurs[4]->setText(QString::number(vues[0].contraste));
  edits_couleurs[5]->setText(QString::number(vues[0].profondeur_ombre));
}

void TPagesDlg2::calculer_palette() {
  Timer1.stop();
  CheckBox_coul_def->SetChecked(vues[0].couleurs_defaut != 0);
  nouvelle_palette();
  Image_palette->fixer_palette(palette.get());
  const int c = std::max(kCouleurDeListe[std::clamp(indice_couleur, 1, 10)], 1);
  Image_couleur->montrer(palette.get(), entree_echantillon(c, palette->facteur()));
}

// ---------------------------------------------------------------- handlers

void TPagesDlg2::TrackBar_couleursChange(CtlTrackBar* t) {
  param_vue& v = vues[0];
  const int c = std::max(kCouleurDeListe[std::clamp(indice_couleur, 1, 10)], 1);
  Rgb& rgb = v.couleurs[std::size_t(c - 1)];
  const int p = t->Position();
  if (t == glissieres_rvbl[0]) rgb.r = std::uint8_t(std::clamp(p, 0, 255));
  else if (t == glissieres_rvbl[1]) rgb.g = std::uint8_t(std::clamp(p, 0, 255));
  else if (t == glissieres_rvbl[2]) rgb.b = std::uint8_t(std::clamp(p, 0, 255));
  else if (t == glissieres_rvbl[3]) rgb = changer_lumiere(rgb, p);
  else if (t == Trackbar_contraste) v.contraste = p;
  else if (t == Trackbar_ombre) v.profondeur_ombre = p;
  afficher_rvb();
  afficher_couleurs();
  Timer1.start();
}

void TPagesDlg2::Edit_couleursExit(QLineEdit* e) {
  param_vue& v = vues[0];
  const int c = std::max(kCouleurDeListe[std::clamp(indice_couleur, 1, 10)], 1);
  Rgb& rgb = v.couleurs[std::size_t(c - 1)];
  // Unreadable text gives 0, then each value's limits.
  const int n = entier_saisi(e->text(), 0);
  const auto octet = [](int x) { return std::uint8_t(std::clamp(x, 0, 255)); };
  if (e == edits_couleurs[0]) rgb.r = octet(n);
  else if (e == edits_couleurs[1]) rgb.g = octet(n);
  else if (e == edits_couleurs[2]) rgb.b = octet(n);
  else if (e == edits_couleurs[3]) rgb = changer_lumiere(rgb, n);
  else if (e == edits_couleurs[4]) v.contraste = std::clamp(n, 1, 100);
  else if (e == edits_couleurs[5]) v.profondeur_ombre = std::clamp(n, 13, 40);
  afficher_rvb();
  afficher_couleurs();
  calculer_palette();
}

void TPagesDlg2::Button_griClick() {
  if (!choisir_couleur) return;
  const int c = std::max(kCouleurDeListe[std::clamp(indice_couleur, 1, 10)], 1);
  const Rgb avant = couleur_niveau(vues[0], c);
  const std::optional<QColor> choix = choisir_couleur(QColor(avant.r, avant.g, avant.b));
  if (!choix) return;
  const std::uint32_t valeur = std::uint32_t(choix->red()) | std::uint32_t(choix->green()) << 8 |
                               std::uint32_t(choix->blue()) << 16;
  vues[0].couleurs[std::size_t(c - 1)] = couleur_de_valeur(valeur);
  afficher_rvb();
  calculer_palette();
}

void TPagesDlg2::Image_palettemousedown(int y) {
  indice_couleur = niveau_au_clic(y, Image_palette->height());
  afficher_rvb();
}

void TPagesDlg2::BitBtn_no_coul1Click() {
  if (!index_vue_active) return;
  if (index_affiche) vues[index_affiche] = vues[0];
  const param_vue& s = vues[0];
  param_vue& d = vues[index_vue_active];
  d.contraste = s.contraste;
  d.profondeur_ombre = s.profondeur_ombre;
  d.couleurs_defaut = s.couleurs_defaut;
  if (!s.couleurs_defaut) d.couleurs = s.couleurs;
  montrer_vue_active();
}

}  // namespace dialogs
