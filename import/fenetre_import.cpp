#include "import/fenetre_import.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "fenetres/aide_enfants.h"
#include "fenetres/attente.h"
#include "fenetres/donnees_images.h"
#include "fenetres/elements_pages.h"
#include "fenetres/fonds.h"
#include "fenetres/operation_longue.h"
#include "fenetres/page_de_code_qt.h"
#include "controls/backpanel.h"
#include "controls/button.h"
#include "controls/scrollbar.h"
#include "controls/speedbutton.h"
#include "controls/spinedit.h"
#include "model/aleatoire.h"
#include "model/erreur.h"

namespace {

constexpr int kSujetAide = 4016;
constexpr int kLargeurPanneau = 244;
constexpr int kHauteurFenetre = 550;
constexpr double kReductionLarge = 0.25;  // sources wider than 1200 pixels
constexpr double kReduction = 0.5;

QString Q(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }

// A QImage over the rows of a picture, without a copy; the picture must
// outlive it.
QImage envelopper(const render::Bitmap& b) {
  if (b.empty()) return QImage();
  return QImage(reinterpret_cast<const uchar*>(b.row(0)), b.width(), b.height(), b.width() * 4,
                QImage::Format_RGB32);
}

// A hint for the zoom button: what a click would do.
QString indication_zoom(bool reduite, double facteur) {
  const bool quatre = facteur == kReductionLarge;
  if (reduite) return quatre ? "Enlarge four times" : "Enlarge twice";
  return quatre ? "Reduce four times" : "Reduce twice";
}

// A panel of the status bar: `largeur` pixels wide while the window has room,
// narrower (down to nothing) when the window is narrowed, its text then cut
// at its edge instead of drawn over the next panel.
class PanneauEtat : public QLabel {
 public:
  PanneauEtat(int largeur, QWidget* parent) : QLabel(parent), largeur_(largeur) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedHeight(20);
    // Never wider than its width at rest: the room left goes to the last panel.
    setSizePolicy(largeur ? QSizePolicy::Maximum : QSizePolicy::Preferred, QSizePolicy::Fixed);
  }
  QSize sizeHint() const override { return {largeur_, 20}; }
  QSize minimumSizeHint() const override { return {0, 20}; }

 private:
  int largeur_;
};

// Marks the window busy with the wait cursor for the time of a read.
struct CurseurAttente {
  CurseurAttente() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~CurseurAttente() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

// ---------------------------------------------------------------- glyphs

QImage glyphe_import(GlypheImport g) {
  // Olive is the transparent colour (the bottom-left pixel of a glyph strip).
  QImage im(16, 16, QImage::Format_RGB32);
  im.fill(QColor(128, 128, 0));
  QPainter p(&im);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::black);
  auto fleche = [&](int quart) {  // a filled arrow, quarter turns from "up"
    p.save();
    p.translate(8, 8);
    p.rotate(90 * quart);
    const QPoint pointe[3] = {{0, -6}, {-5, 0}, {5, 0}};
    p.drawPolygon(pointe, 3);
    p.fillRect(-2, 0, 4, 6, Qt::black);
    p.restore();
  };
  auto tour = [&](bool sens_horaire) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 2));
    p.drawArc(QRect(3, 3, 10, 10), sens_horaire ? 90 * 16 : 0, 270 * 16);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::black);
    const QPoint tete_h[3] = {{8, 0}, {12, 3}, {8, 6}};
    const QPoint tete_a[3] = {{8, 0}, {4, 3}, {8, 6}};
    p.drawPolygon(sens_horaire ? tete_h : tete_a, 3);
  };
  switch (g) {
    case GlypheImport::haut: fleche(0); break;
    case GlypheImport::droite: fleche(1); break;
    case GlypheImport::bas: fleche(2); break;
    case GlypheImport::gauche: fleche(3); break;
    case GlypheImport::tourner_droite: tour(true); break;
    case GlypheImport::tourner_gauche: tour(false); break;
    case GlypheImport::centre:
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QRect(3, 3, 9, 9));
      p.drawLine(7, 1, 7, 14);
      p.drawLine(1, 7, 14, 7);
      break;
  }
  return im;
}

// ---------------------------------------------------------------- picture

ImageImportee::ImageImportee(TImportation* fenetre, QWidget* parent) : QWidget(parent), fenetre_(fenetre) {
  setMouseTracking(true);
  setCursor(Qt::CrossCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageImportee::montrer(const QImage* image, const QPolygon& triangle) {
  image_ = image;
  triangle_ = triangle;
  const QSize s = image_ && !image_->isNull() ? image_->size() : QSize(1, 1);
  if (size() != s) resize(s);
  update();
}

void ImageImportee::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!image_ || image_->isNull()) {
    p.fillRect(rect(), palette().window());
    return;
  }
  p.drawImage(0, 0, *image_);
  // The frame in an inverting pen.
  p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  p.setPen(QPen(Qt::white, 1));
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(triangle_);
}

void ImageImportee::mouseMoveEvent(QMouseEvent* e) {
  const QPoint at = e->position().toPoint();
  fenetre_->Image_importeeMouseMove(at.x(), at.y());
}

void ImageImportee::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) fenetre_->Image_importeeClick();
}

// ---------------------------------------------------------------- window

TImportation::TImportation(QWidget* parent) : FenetreImport(parent) {
  setWindowTitle("Import");
  resize(560 + kLargeurPanneau, kHauteurFenetre);
  setFocusPolicy(Qt::StrongFocus);
  handle_ = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });

  auto* ligne = new QHBoxLayout;
  ligne->setContentsMargins(0, 0, 0, 0);
  ligne->setSpacing(0);
  auto* gauche = new QVBoxLayout;
  gauche->setContentsMargins(0, 0, 0, 0);
  gauche->setSpacing(0);
  ScrollBox1 = new QScrollArea(this);
  ScrollBox1->setWidgetResizable(false);
  ScrollBox1->setFocusPolicy(Qt::NoFocus);
  ScrollBox1->setAlignment(Qt::AlignCenter);  // a small source sits in the middle of the area
  Image_importee = new ImageImportee(this, ScrollBox1);
  Image_importee->setFocusPolicy(Qt::ClickFocus);
  ScrollBox1->setWidget(Image_importee);
  gauche->addWidget(ScrollBox1, 1);
  auto* barre = new QHBoxLayout;
  barre->setSpacing(2);
  const int largeurs[5] = {120, 70, 70, 100, 0};
  for (int k = 0; k < 5; ++k) {
    StatusBar_import[k] = new PanneauEtat(largeurs[k], this);
    barre->addWidget(StatusBar_import[k], largeurs[k] ? 0 : 1);
  }
  gauche->addLayout(barre);
  ligne->addLayout(gauche, 1);

  CtlBackPanel1 = new CtlBackPanel(this);
  CtlBackPanel1->setFixedWidth(kLargeurPanneau);
  cadre_releve(CtlBackPanel1->Bevel());
  montrer_bitmap(*CtlBackPanel1, images::kImportTile);
  ligne->addWidget(CtlBackPanel1);
  setLayout(ligne);
  construire_panneau();
  regler_etat_vide();
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

TImportation::~TImportation() { platform::unregister_window(handle_); }

QSize TImportation::sizeHint() const { return QSize(560 + kLargeurPanneau, kHauteurFenetre); }

CtlButton* TImportation::bouton(const QString& texte, const QRect& r, GlypheImport g) {
  auto* b = new CtlButton(CtlBackPanel1);
  b->setText(texte);
  b->setGeometry(r);
  b->setFocusPolicy(Qt::NoFocus);
  b->setAutoDefault(false);
  b->SetGlyph(glyphe_import(g));
  return b;
}

QLabel* TImportation::etiquette(const QString& texte, const QRect& r) {
  auto* l = new QLabel(texte, CtlBackPanel1);
  l->setGeometry(r);
  return l;
}

void TImportation::construire_panneau() {
  construire_boutons();
  construire_barres();
  construire_reglages();
}

// The zoom and picture buttons, and the frame's move, turn and centre buttons.
void TImportation::construire_boutons() {
  QWidget* pan = CtlBackPanel1;
  SpeedButtonzoom = new CtlSpeedButton(pan);
  SpeedButtonzoom->setGeometry(10, 8, 28, 26);
  SpeedButtonzoom->SetCaption("Z");
  connect(SpeedButtonzoom, &CtlSpeedButton::clicked, this, [this] { SpeedButtonzoomClick(); });
  SpeedbuttonPhoto = new CtlSpeedButton(pan);
  SpeedbuttonPhoto->setGeometry(42, 8, 28, 26);
  SpeedbuttonPhoto->SetCaption("P");
  SpeedbuttonPhoto->setToolTip("Display aerial picture (P)");
  connect(SpeedbuttonPhoto, &CtlSpeedButton::clicked, this, [this] { SpeedbuttonPhotoClick(); });
  etiquette("DEM level", QRect(80, 12, 60, 18));
  Label_scale = etiquette("0", QRect(145, 12, 40, 18));

  BitBTn_rotg = bouton("Turn right (R)", QRect(6, 40, 114, 26), GlypheImport::tourner_droite);
  BitBtn_rotd = bouton("Turn left (T)", QRect(124, 40, 114, 26), GlypheImport::tourner_gauche);
  BitBtn_Left = bouton("Move left (S)", QRect(6, 70, 114, 26), GlypheImport::gauche);
  BitBtn_Right = bouton("Move right (F)", QRect(124, 70, 114, 26), GlypheImport::droite);
  BitBtn_Up = bouton("Move top (E)", QRect(6, 100, 114, 26), GlypheImport::haut);
  BitBtn_Down = bouton("Move down (C)", QRect(124, 100, 114, 26), GlypheImport::bas);
  BitBtn_centre = bouton("Put at the centre", QRect(6, 130, 232, 26), GlypheImport::centre);
  const std::pair<CtlButton*, Geste> gestes[] = {
      {BitBTn_rotg, Geste::tourner_droite}, {BitBtn_rotd, Geste::tourner_gauche}, {BitBtn_Left, Geste::gauche},
      {BitBtn_Right, Geste::droite},        {BitBtn_Up, Geste::haut},             {BitBtn_Down, Geste::bas}};
  for (auto [b, g] : gestes) connect(b, &CtlButton::clicked, this, [this, g = g] { geste(g); });
  // The moves repeat while held, at the pace of the timer pool.
  for (CtlButton* b : {BitBtn_Left, BitBtn_Up, BitBtn_Down, BitBtn_Right}) {
    b->SetRepeatedClick(true);
    b->SetRepeatingInterval(50);
  }
  connect(BitBtn_centre, &CtlButton::clicked, this, [this] { BitBtn_centreClick(); });
}

// The scale bar and the two altitude bars with their labels.
void TImportation::construire_barres() {
  QWidget* pan = CtlBackPanel1;
  etiquette("Scale", QRect(8, 162, 50, 18));
  ScrollBar_ech = new CtlScrollBar(pan);
  ScrollBar_ech->SetKind(skVertical);
  ScrollBar_ech->setGeometry(14, 182, 16, 150);
  ScrollBar_ech->SetMin(20);
  ScrollBar_ech->SetMax(150);
  ScrollBar_ech->SetPosition(100);
  ScrollBar_ech->setToolTip("Scale (Y,U)");
  connect(ScrollBar_ech, &CtlScrollBar::scrolled, this, [this](int, int& pos) { ScrollBar_echScroll(pos); });
  Label_echelle = etiquette("1.00", QRect(8, 336, 40, 18));

  etiquette("Mini", QRect(66, 162, 50, 18));
  etiquette("Maxi", QRect(126, 162, 50, 18));
  ScrollBar_alt1 = new QScrollBar(Qt::Vertical, pan);
  ScrollBar_alt1->setGeometry(72, 182, 16, 150);
  ScrollBar_alt2 = new QScrollBar(Qt::Vertical, pan);
  ScrollBar_alt2->setGeometry(132, 182, 16, 150);
  for (QScrollBar* b : {ScrollBar_alt1, ScrollBar_alt2}) {
    b->setRange(-1000, 4000);
    b->setFocusPolicy(Qt::NoFocus);
  }
  Label_min = etiquette("", QRect(60, 336, 56, 18));
  Label_max = etiquette("", QRect(120, 336, 56, 18));
  connect(ScrollBar_alt1, &QScrollBar::valueChanged, this, [this](int v) {
    imp_.minimum = 3000 - v;
    Label_min->setText(QString::number(imp_.minimum));
  });
  connect(ScrollBar_alt2, &QScrollBar::valueChanged, this, [this](int v) {
    imp_.maximum = 3000 - v;
    Label_max->setText(QString::number(imp_.maximum));
  });
}

// Mesh degree, the three check boxes, Help and Import.
void TImportation::construire_reglages() {
  QWidget* pan = CtlBackPanel1;
  etiquette("Mesh degree", QRect(8, 364, 90, 20));
  SpinEdit_maillage = new CtlSpinEdit(pan);
  SpinEdit_maillage->setGeometry(100, 362, 60, 24);
  SpinEdit_maillage->SetMinValue(5);
  SpinEdit_maillage->SetMaxValue(11);
  SpinEdit_maillage->SetValue(8);
  connect(SpinEdit_maillage, &CtlSpinEdit::changed, this,
          [this] { imp_.degre = static_cast<std::uint16_t>(SpinEdit_maillage->Value()); });

  CB_Lissage = fenetres::placer(new QCheckBox("Smooth", pan), {8, 394, 180, 20}, "Smooth before import");
  checkbox_debord = fenetres::placer(new QCheckBox("Go over", pan),
                                    {8, 416, 180, 20}, "Allow the triangle to go beyond the limits");
  checkbox_debord->setChecked(true);
  connect(checkbox_debord, &QCheckBox::toggled, this, [this](bool on) {
    manip_.debord = on;
    preparer_cadre();
  });
  Bouton_Photo = new QCheckBox("Aerial picture", pan);
  Bouton_Photo->setGeometry(8, 438, 180, 20);
  connect(Bouton_Photo, &QCheckBox::toggled, this, [this](bool on) {
    if (!on && photo_affichee_) SpeedbuttonPhotoClick();
  });
  for (QCheckBox* c : {CB_Lissage, checkbox_debord, Bouton_Photo}) {
    c->setFocusPolicy(Qt::NoFocus);
    // The style's disabled grey vanishes on the panel's light tile: a darker one still reads as disabled.
    QPalette p = c->palette();
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
      p.setColor(QPalette::Disabled, r, QColor(104, 108, 120));
    c->setPalette(p);
  }

  BitBtnAide = new CtlButton(pan);
  BitBtnAide->setText("Help");
  BitBtnAide->setGeometry(6, 476, 114, 28);
  BitBtnAide->setFocusPolicy(Qt::NoFocus);
  BitBtnAide->setAutoDefault(false);
  connect(BitBtnAide, &CtlButton::clicked, this, [this] { BitBtnAideClick(); });
  BitBtn_Importer = new CtlButton(pan);
  BitBtn_Importer->setText("Import");
  BitBtn_Importer->setToolTip("Start import to Quorvel");
  BitBtn_Importer->setGeometry(124, 476, 114, 28);
  BitBtn_Importer->setFocusPolicy(Qt::NoFocus);
  BitBtn_Importer->setAutoDefault(false);
  connect(BitBtn_Importer, &CtlButton::clicked, this, [this] { BitBtn_importClick(); });
}

// Nothing loaded: an empty picture area, and nothing to import.
void TImportation::regler_etat_vide() {
  StatusBar_import[0]->setText("No source loaded");
  activer_commandes_source(false);
  SpeedbuttonPhoto->setEnabled(false);
  Bouton_Photo->setEnabled(false);
  Image_importee->montrer(nullptr, {});
}

// The controls that act on a loaded source.
void TImportation::activer_commandes_source(bool actif) {
  for (QWidget* w : std::initializer_list<QWidget*>{BitBtn_Importer, SpeedButtonzoom, BitBTn_rotg, BitBtn_rotd,
                                                    BitBtn_Left, BitBtn_Right, BitBtn_Up, BitBtn_Down, BitBtn_centre,
                                                    ScrollBar_ech})
    w->setEnabled(actif);
}

QString TImportation::texte_panneau(int k) const {
  return k >= 0 && k < 5 ? StatusBar_import[k]->text() : QString();
}

// ---------------------------------------------------------------- opening

bool TImportation::importer_altitudes(const std::string& chemin, const param_mat& p) {
  setWindowTitle(Q("Importation of " + chemin));
  std::string echec;
  {
    OperationLongue operation;
    CurseurAttente curseur;
    TAttente attente(window());
    echec = imp_.importer_altitudes(chemin, p, &attente, handle_);
  }
  return apres_lecture(echec, chemin, true);
}

bool TImportation::importer_bmp(const std::string& chemin, const param_mat& p) {
  setWindowTitle(Q("Importation of " + chemin));
  std::string echec;
  {
    CurseurAttente curseur;
    echec = imp_.importer_bmp(chemin, p);
  }
  return apres_lecture(echec, chemin, false);
}

void TImportation::rejeter(const std::string& raison) {
  warn(raison, "Import ");
  if (QMdiSubWindow* s = sous_fenetre())
    s->close();
  else
    close();
}

bool TImportation::apres_lecture(const std::string& echec, const std::string& chemin, bool altitudes) {
  if (!echec.empty()) {
    rejeter(echec);
    return false;
  }
  if (altitudes) imp_.charger_photo_aerienne(chemin);
  montrer_source();
  return true;
}

// The labels, bars, buttons and pictures of a freshly read source.
void TImportation::montrer_source() {
  StatusBar_import[0]->setText(Q(imp_.texte_taille));
  StatusBar_import[1]->setText("X= ");
  StatusBar_import[2]->setText("Y= ");
  StatusBar_import[3]->setText("Height =");
  StatusBar_import[4]->setText(fenetres::texte_du_document(imp_.description));
  Label_scale->setText(QString::number(imp_.niveau_dem));
  Label_min->setText(QString::number(imp_.minimum));
  Label_max->setText(QString::number(imp_.maximum));
  fixer_barres_altitude();
  manip_.oublier();
  ScrollBar_ech->SetPosition(Round(imp_.cadre.f * 100));
  Label_echelle->setText(QString::number(imp_.cadre.f, 'f', 2));
  SpinEdit_maillage->SetValue(imp_.degre_propose);
  imp_.degre = static_cast<std::uint16_t>(SpinEdit_maillage->Value());
  activer_commandes_source(true);
  const bool photo = imp_.photo.has_value();
  Bouton_Photo->setChecked(photo);
  Bouton_Photo->setEnabled(photo);
  SpeedbuttonPhoto->setEnabled(photo);
  SpeedbuttonPhoto->setToolTip("Display aerial picture (P)");
  photo_affichee_ = false;
  hauteurs_ = imp_.image();
  image_hauteurs_ = envelopper(hauteurs_);
  image_photo_ = photo ? envelopper(*imp_.photo) : QImage();
  echelle_ = 1.0;
  // Wide sources start reduced, as the zoom button would reduce them.
  if (imp_.largeur > 512)
    SpeedButtonzoomClick();
  else
    fixer_echelle_affichage(1.0);
}

// The altitude bars show 3000 - Mini and 3000 - Maxi, within their range;
// Mini and Maxi keep the values read until the user moves a bar.
void TImportation::fixer_barres_altitude() {
  const QSignalBlocker b1(ScrollBar_alt1), b2(ScrollBar_alt2);
  ScrollBar_alt1->setValue(std::clamp(3000 - static_cast<std::int64_t>(imp_.minimum), std::int64_t{-1000},
                                      std::int64_t{4000}));
  ScrollBar_alt2->setValue(std::clamp(3000 - static_cast<std::int64_t>(imp_.maximum), std::int64_t{-1000},
                                      std::int64_t{4000}));
}

// ---------------------------------------------------------------- display

void TImportation::fixer_echelle_affichage(double e) {
  echelle_ = e;
  preparer_image();
  preparer_cadre();
}

void TImportation::preparer_image() {
  const QImage& source = photo_affichee_ ? image_photo_ : image_hauteurs_;
  if (source.isNull()) {
    affichee_ = QImage();
    return;
  }
  if (echelle_ == 1.0) {
    affichee_ = source;  // shares the rows
    return;
  }
  const int w = std::max(1, static_cast<int>(source.width() * echelle_));
  const int h = std::max(1, static_cast<int>(source.height() * echelle_));
  affichee_ = source.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void TImportation::preparer_cadre() {
  if (!imp_.chargee) return;
  QPolygon t;
  for (const render::Point& s : imp_.cadre.sommets())
    t << QPoint(static_cast<int>(std::lround(s.x * echelle_)), static_cast<int>(std::lround(s.y * echelle_)));
  Image_importee->montrer(&affichee_, t);
}

void TImportation::SpeedButtonzoomClick() {
  if (!imp_.chargee) return;
  const double facteur = imp_.largeur > 1200 ? kReductionLarge : kReduction;
  const bool reduire = echelle_ == 1.0;
  fixer_echelle_affichage(reduire ? facteur : 1.0);
  SpeedButtonzoom->setToolTip(indication_zoom(reduire, facteur));
}

void TImportation::SpeedbuttonPhotoClick() {
  if (!imp_.chargee || image_photo_.isNull()) return;
  photo_affichee_ = !photo_affichee_;
  SpeedbuttonPhoto->setToolTip(photo_affichee_ ? "Display DEM relief (P)" : "Display aerial picture (P)");
  preparer_image();
  preparer_cadre();
}

// ---------------------------------------------------------------- frame

void TImportation::geste(Geste g) {
  if (!imp_.chargee) return;
  if (manip_.appliquer(g)) preparer_cadre();
}

void TImportation::BitBtn_centreClick() {
  if (!imp_.chargee) return;
  manip_.centrer();
  preparer_cadre();
}

void TImportation::ScrollBar_echScroll(int& position) {
  if (!imp_.chargee) return;
  position = manip_.fixer_echelle(position);
  Label_echelle->setText(QString::number(imp_.cadre.f, 'f', 2));
  preparer_cadre();
}

void TImportation::Image_importeeMouseMove(int x, int y) {
  if (!imp_.chargee) return;
  const std::int32_t px = Round(x / echelle_), py = Round(y / echelle_);
  if (px < 0 || py < 0 || px >= imp_.largeur || py >= imp_.hauteur) {
    StatusBar_import[1]->setText("X= ");
    StatusBar_import[2]->setText("Y= ");
    StatusBar_import[3]->setText("Height =");
    return;
  }
  StatusBar_import[1]->setText("X= " + QString::number(px));
  StatusBar_import[2]->setText("Y= " + QString::number(py));
  StatusBar_import[3]->setText("Height = " + QString::number(imp_.hauteur_pixel(px, py)));
}

void TImportation::Image_importeeClick() {
  if (aide_contextuelle) afficher_sujet_aide(kSujetAide);
}

void TImportation::BitBtnAideClick() { afficher_sujet_aide(kSujetAide); }

// ---------------------------------------------------------------- import

void TImportation::BitBtn_importClick() {
  if (!imp_.chargee || !BitBtn_Importer->isEnabled()) return;
  imp_.degre = static_cast<std::uint16_t>(SpinEdit_maillage->Value());
  imp_.lissage = CB_Lissage->isChecked();
  imp_.utiliser_photo = Bouton_Photo->isChecked() && imp_.photo.has_value();
  try {
    OperationLongue operation;
    TAttente attente(window());
    imp_.faire_importation(&attente, handle_);
  } catch (const ModelError& e) {
    warn(e.what(), "Quorvel");
    return;
  }
  if (!imp_.terrain) return;
  degre = imp_.degre;
  taille = static_cast<std::uint16_t>(imp_.taille);
  parametres = imp_.parametres;
  commentaire = imp_.commentaire;
  terrain = std::move(imp_.terrain);
  importation_faite = 1;
  requete_fenetre();
}

// ---------------------------------------------------------------- keys, closing

bool TImportation::touche_lettre(const QKeyEvent* e) {
  if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  switch (e->key()) {
    case Qt::Key_Z: SpeedButtonzoomClick(); return true;
    case Qt::Key_R: geste(Geste::tourner_droite); return true;
    case Qt::Key_T: geste(Geste::tourner_gauche); return true;
    case Qt::Key_S: geste(Geste::gauche); return true;
    case Qt::Key_E: geste(Geste::haut); return true;
    case Qt::Key_C: geste(Geste::bas); return true;
    case Qt::Key_F: geste(Geste::droite); return true;
    case Qt::Key_Y: ScrollBar_ech->setFocus(Qt::ShortcutFocusReason); return true;
    case Qt::Key_U: Image_importee->setFocus(Qt::ShortcutFocusReason); return true;
    case Qt::Key_P: SpeedbuttonPhotoClick(); return true;
    default: return false;
  }
}

void TImportation::keyPressEvent(QKeyEvent* e) {
  if (touche_lettre(e)) {
    e->accept();
  } else if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    BitBtn_importClick();
    e->accept();
  } else {
    FenetreImport::keyPressEvent(e);
  }
}

// The letters act on the window before the control with the focus sees them
// (the mesh-degree field would take them as typing); digits, Backspace and the
// arrows still reach it, and Enter comes up from it to the window.
bool TImportation::eventFilter(QObject* o, QEvent* e) {
  if (e->type() == QEvent::KeyPress && touche_lettre(static_cast<QKeyEvent*>(e))) return true;
  return FenetreImport::eventFilter(o, e);
}

void TImportation::closeEvent(QCloseEvent* e) {
  Image_importee->montrer(nullptr, {});
  affichee_ = QImage();
  image_hauteurs_ = image_photo_ = QImage();
  hauteurs_ = render::Bitmap();
  std::unique_ptr<Tmatrice> garde = std::move(imp_.terrain);
  imp_ = Importation();
  FenetreImport::closeEvent(e);
  hide();
}
