#include "dialogs/edition.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "fenetres/aide_enfants.h"
#include "fenetres/attente.h"
#include "fenetres/operation_longue.h"
#include "fenetres/rendu.h"
#include "controls/mirror.h"
#include "controls/panels.h"
#include "controls/speedbutton.h"
#include "dialogs/dlg_edit.h"
#include "dialogs/edition_glyphes.h"
#include "dialogs/edition_hote.h"
#include "dialogs/edition_panneaux.h"
#include "model/aleatoire.h"
#include "model/erreur.h"
#include "platform/fichiers.h"
#include "render/jpeg.h"

using namespace fenetres;

namespace dialogs {

// The map area inside the scroll box: shows Image1 and takes the mouse.
class ZoneCarte : public QWidget {
 public:
  explicit ZoneCarte(Tfenetre_edition* e) : QWidget(nullptr), e_(e) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override { e_->peindre_carte(this); }
  // A closing editor still shows its map but takes no more strokes.
  void mousePressEvent(QMouseEvent* m) override {
    if (e_->aide_contextuelle) {
      afficher_sujet_aide(4008);
      return;
    }
    if (!e_->fermeture) e_->souris_enfoncee(m->button(), pixel(m));
  }
  void mouseMoveEvent(QMouseEvent* m) override {
    if (!e_->fermeture) e_->souris_deplacee(pixel(m));
  }
  void mouseReleaseEvent(QMouseEvent* m) override {
    if (!e_->fermeture) e_->souris_relachee(m->button(), pixel(m));
  }

 private:
  static PixelCarte pixel(QMouseEvent* m) { return {m->position().toPoint().x(), m->position().toPoint().y()}; }
  Tfenetre_edition* e_;
};

namespace {

constexpr render::Pixel kBlanc = render::pixel_rgb(255, 255, 255);
constexpr render::Pixel kNoir = render::pixel_rgb(0, 0, 0);
constexpr std::int64_t kLimite = std::int64_t(1) << 30;

render::Point point_borne(std::int64_t x, std::int64_t y) {
  return {std::int32_t(std::clamp(x, -kLimite, kLimite)), std::int32_t(std::clamp(y, -kLimite, kLimite))};
}

// Raises a flag for its lifetime.
struct Bulle {
  bool& drapeau;
  explicit Bulle(bool& d) : drapeau(d) { drapeau = true; }
  ~Bulle() { drapeau = false; }
};

render::Surface<const render::Pixel> lecture(const render::Bitmap& b) { return b.surface(); }

// The part of `b` from (x, y), w x h, clipped to the picture (empty when outside).
render::Surface<const render::Pixel> partie(const render::Bitmap& b, int x, int y, int w, int h) {
  if (x < 0 || y < 0 || x + w > b.width() || y + h > b.height() || w <= 0 || h <= 0) return {};
  return {b.row(y) + x, w, h, b.width()};
}

// Clips the segment to the rectangle (Liang-Barsky); false when nothing is left.
bool couper(double& x1, double& y1, double& x2, double& y2, double xmin, double ymin, double xmax, double ymax) {
  double t0 = 0, t1 = 1;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - xmin, xmax - x1, y1 - ymin, ymax - y1};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return false;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const double ax = x1 + t0 * dx, ay = y1 + t0 * dy, bx = x1 + t1 * dx, by = y1 + t1 * dy;
  x1 = ax;
  y1 = ay;
  x2 = bx;
  y2 = by;
  return true;
}

}  // namespace

void preparer_palette_carte(TMyPalette& palette, const param_vue& vue) {
  if (vue.couleurs_defaut)
    palette.charger_couleurs_base();
  else
    for (int k = 0; k < 10; ++k)
      palette.fixer_couleur(static_cast<std::uint8_t>(k + 1), vue.couleurs[k].r, vue.couleurs[k].g,
                            vue.couleurs[k].b);
  palette.construire(5, 25, false, 0);
}

}  // namespace dialogs

using namespace dialogs;


// ---------------------------------------------------------------- creation

Tfenetre_edition::Tfenetre_edition(QWidget* parent)
    : FenetreEdition(parent), hote_(std::make_unique<HoteFenetre>(*this)),
      session_(std::make_unique<SessionOutil>(*hote_, *hote_)) {
  setWindowTitle("Edition window");
  handle_ = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
  for (int id : {105, 106, 107}) curseur_edition(id);
  for (int k = 1; k <= 2; ++k) {
    carte[k].reset(k * kLargeurCarte, k * kHauteurCarte, kNoir);
    fond_cible[k].reset(16 * k, 16 * k, kNoir);
    fond_observateur[k].reset(8 * k, 8 * k, kNoir);
  }
  Image1 = QImage(kLargeurCarte, kHauteurCarte, QImage::Format_RGB32);
  Image1.fill(Qt::black);

  auto* colonne = new QVBoxLayout(this);
  colonne->setContentsMargins(0, 0, 0, 0);
  colonne->setSpacing(0);
  construire_barre();
  // Read right to left, the tool bar and its brush panels start at the right.
  for (QWidget* barre : {static_cast<QWidget*>(CtlSimplePanel1), Panel_arb, Panel_coul}) CtlMirrorChildren(*barre);
  colonne->addWidget(CtlSimplePanel1);
  auto* milieu = new QHBoxLayout;
  milieu->setSpacing(0);
  ScrollBox1 = new QScrollArea(this);
  ScrollBox1->setFrameShape(QFrame::NoFrame);
  ScrollBox1->setBackgroundRole(QPalette::Dark);
  zone_ = new ZoneCarte(this);
  zone_->setFixedSize(kLargeurCarte, kHauteurCarte);
  ScrollBox1->setWidget(zone_);
  milieu->addWidget(ScrollBox1, 1);
  Panel_altitude = new PanneauAltitude(this, [this] { return aide_contextuelle != 0; });
  Label_altitude = Panel_altitude->Label_altitude;
  milieu->addWidget(Panel_altitude);
  colonne->addLayout(milieu, 1);
  StatusBar_edit = new QStatusBar(this);
  StatusBar_edit->setSizeGripEnabled(false);
  for (int k = 0; k < 2; ++k) {
    panneaux[k] = new QLabel;
    panneaux[k]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusBar_edit->addWidget(panneaux[k], k);
  }
  // The position panel holds the widest readout whole.
  panneaux[0]->setFixedWidth(std::max(120, panneaux[0]->fontMetrics().horizontalAdvance(" x= -88888   y= -88888") + 12));
  colonne->addWidget(StatusBar_edit);
  construire_menu();
  lier_touches();

  for (auto [t, ms, m] : {std::tuple(&TimerThread, 900, Minuterie::carte_resultat),
                          std::tuple(&TimerT1, 750, Minuterie::execution_differee)}) {
    t->setInterval(ms);
    t->setSingleShot(true);
    connect(t, &QTimer::timeout, this, [this, m] { session_->minuterie_ecoulee(m); });
  }
  // However the main window sizes it, the whole tool bar and the gauge's
  // scale down to "-1000" stay in sight.
  setMinimumSize(minimumSizeHint());
  resize(sizeHint());
}

QSize Tfenetre_edition::sizeHint() const { return QSize(518, 555 - 66).expandedTo(minimumSizeHint()); }

QSize Tfenetre_edition::minimumSizeHint() const {
  const int barre = 4 + 25 * kNombreOutils + 6;  // the tool buttons and the panel's bevel
  const int largeur = std::max(barre, QWidget::minimumSizeHint().width());
  return {largeur, QWidget::minimumSizeHint().height()};
}

Tfenetre_edition::~Tfenetre_edition() {
  TimerThread.stop();
  TimerT1.stop();
  platform::unregister_window(handle_);
}

void Tfenetre_edition::construire_barre() {
  CtlSimplePanel1 = new CtlSimplePanel(this);
  CtlSimplePanel1->Bevel().SetStyleOuter(bvRaised);
  CtlSimplePanel1->Bevel().SetWidthOuter(2);
  CtlSimplePanel1->Bevel().SetStyleInner(bvNone);
  CtlSimplePanel1->setFixedHeight(65);
  auto bouton = [this](int x, int y, int glyphe, const QString& bulle) {
    auto* b = new CtlSpeedButton(CtlSimplePanel1);
    b->setGeometry(x, y, 24, 24);
    b->SetGlyph(glyphe_edition(glyphe));
    if (!bulle.isEmpty()) b->setToolTip(bulle);
    return b;
  };
  for (int k = 0; k < kNombreOutils; ++k) {
    outils[k] = bouton(4 + 25 * k, 4, k, ligne_en_position(k).bulle);
    outils[k]->SetGroupIndex(1);
  }
  bouton_outil(OUTIL_COLLER)->setEnabled(false);  // the paste button waits for a copy
  SpeedButton_undo = bouton(4, 34, kGlypheAnnuler, "Cancel the last operation");
  SpeedButton_zoom = bouton(40, 34, kGlypheZoom, "Zoom twice");
  SpeedButton_niveaux = bouton(65, 34, kGlypheNiveaux, "Level curves");
  SpeedButton_save = bouton(90, 34, kGlypheSauver, "Autosave");
  const std::pair<CtlSpeedButton*, int> groupes[] = {
      {SpeedButton_zoom, 2}, {SpeedButton_niveaux, 3}, {SpeedButton_save, 4}};
  for (const auto& [b, g] : groupes) {
    b->SetGroupIndex(g);
    b->SetAllowAllUp(true);
  }
  for (int k = 0; k < kNombreOutils; ++k) connect(outils[k], &CtlSpeedButton::clicked, this, [this, k] { choisir_position(k); });
  connect(SpeedButton_undo, &CtlSpeedButton::clicked, this, [this] { SpeedButton_undo1Click(); });
  connect(SpeedButton_zoom, &CtlSpeedButton::clicked, this, [this] { bascule_zoom(); });
  connect(SpeedButton_niveaux, &CtlSpeedButton::clicked, this, [this] { SpeedButton_niveauxClick(); });
  connect(SpeedButton_save, &CtlSpeedButton::clicked, this, [this] { SpeedButton_save1Click(); });
  nom_outil = new QLabel(CtlSimplePanel1);
  QFont gras = font();
  gras.setBold(true);
  nom_outil->setFont(gras);
  QPalette rouge = nom_outil->palette();
  rouge.setColor(QPalette::WindowText, Qt::red);
  nom_outil->setPalette(rouge);
  nom_outil->setGeometry(122, 38, 156, 18);
  pinceaux_ = std::make_unique<PanneauxPinceaux>(CtlSimplePanel1, session_->pinceaux, vue);
  Panel_arb = pinceaux_->Panel_arb;
  ScrollBar_taille = pinceaux_->ScrollBar_taille;
  RadioButton_p1 = pinceaux_->RadioButton_p1;
  RadioButton_p2 = pinceaux_->RadioButton_p2;
  Panel_coul = pinceaux_->Panel_coul;
  epaisseurs = pinceaux_->epaisseurs;
}

void Tfenetre_edition::construire_menu() {
  PopupMenu_edition = new QMenu(this);
  auto item = [this](const QString& caption, std::function<void()> action) {
    QAction* a = PopupMenu_edition->addAction(caption);
    if (action) connect(a, &QAction::triggered, this, std::move(action));
    return a;
  };
  Coupe1 = item("Cross-section", [this] { elevation_coupe(true); });
  Raffraichir1 = item("Refresh", [this] { Raffraichir1Click(); });
  Elever1 = item("Raise ...", [this] { elevation_coupe(false); });
  PopupMenu_edition->addSeparator();
  Supprimerrivieres1 = item("Erase rivers", [this] { Supprimerrivieres1Click(); });
  Supprimerarbres1 = item("Erase trees", [this] { Supprimerarbres1Click(); });
  Supprimerterrain1 = item("Erase ground", [this] { Supprimerterrain1Click(); });
  PopupMenu_edition->addSeparator();
  Courbes1 = item("Level curves", [this] { SpeedButton_niveauxClick(); });
  Enregistrercarte1 = item("Save map", [this] { Enregistrercarte1Click(); });
  Zoom1 = item("Zoom", [this] { bascule_zoom(); });
  PopupMenu_edition->addSeparator();
  Aide1 = item("Help\tF1", [this] { Aide1Click(); });
}

QAction* Tfenetre_edition::element(const QString& caption) const {
  for (QAction* a : PopupMenu_edition->actions())
    if (a->text().section('\t', 0, 0) == caption) return a;
  return nullptr;
}

QWidget* Tfenetre_edition::zone_carte() const { return zone_; }
QWidget* Tfenetre_edition::Image_altitude() const { return Panel_altitude->jauge; }

// ---------------------------------------------------------------- opening

void Tfenetre_edition::ouvre_edition(const OuvertureEdition& o) {
  no_matrice = o.no_montagne;
  matrice = o.matrice;
  if (!matrice) return;
  matrice->marquer_modifiee();
  matrice->creer_annulation();
  vue = vue_de_carte(o.vue_defaut);
  grossier = o.grossier;
  courbes = o.courbes;
  SpeedButton_niveaux->SetPressed(courbes != 0);
  Courbes1->setText(courbes ? "Photo aérienne" : "Level curves");
  const bool avec_fichier = fichier.size() > 4;
  SpeedButton_save->setEnabled(avec_fichier);
  Enregistrercarte1->setEnabled(avec_fichier);
  bouton_outil(OUTIL_STRATE)->setEnabled(matrice->dx && matrice->dy);
  outils[0]->SetPressed(true);
  session_->ouvrir(matrice);
  palette = std::make_unique<TMyPalette>(false, 4);
  affiche_outil();
  pixel_observateur = points_vo(matrice->observateur_i, matrice->observateur_j, false);
  pixel_cible = points_vo(matrice->cible_i, matrice->cible_j, true);
  const bool elements = matrice->nombre_elements > 0;
  for (QAction* a : {Supprimerrivieres1, Supprimerarbres1, Supprimerterrain1}) a->setEnabled(elements);
  zone_->update();
}

void Tfenetre_edition::fixer_fichier(const std::string& chemin) {
  FenetreEdition::fixer_fichier(chemin);
  const bool avec_fichier = fichier.size() > 4;
  SpeedButton_save->setEnabled(avec_fichier);
  Enregistrercarte1->setEnabled(avec_fichier);
  if (SpeedButton_save->Pressed()) sauver_carte = avec_fichier ? 1 : 0;
}

void Tfenetre_edition::activer_coller(bool actif) {
  FenetreEdition::activer_coller(actif);
  bouton_outil(OUTIL_COLLER)->setEnabled(actif);
}

void Tfenetre_edition::rafraichir_edition(const param_vue& defaut) {
  FenetreEdition::rafraichir_edition(defaut);
  carte_a_refaire();
}

// ---------------------------------------------------------------- geometry

PixelCarte Tfenetre_edition::points_vo(std::int32_t i, std::int32_t j, bool garder) {
  const std::int32_t n = matrice ? matrice->n : 0;
  const double z = matrice && matrice->hauteurs ? matrice->hauteurs->lire(i, j) : 0;
  const PointMonde p = monde_du_noeud(n, i, j, z);
  if (garder) cible_monde = p;
  return projeter_monde(p);
}

// ---------------------------------------------------------------- painting

void Tfenetre_edition::montrer_carte() {
  const render::Bitmap& b = carte[echelle_carte];
  if (Image1.width() != b.width() || Image1.height() != b.height()) {
    Image1 = QImage(b.width(), b.height(), QImage::Format_RGB32);
    Image1.fill(Qt::black);
    zone_->setFixedSize(b.width(), b.height());
  }
  contenu_ = ContenuImage::carte;
  zone_->update();
}

void Tfenetre_edition::copier_carte_dans_image() {
  const render::Bitmap& b = carte[echelle_carte];
  for (int y = 0; y < b.height() && y < Image1.height(); ++y)
    std::memcpy(Image1.scanLine(y), b.row(y), std::size_t(std::min(b.width(), Image1.width())) * 4);
}

void Tfenetre_edition::carte_a_refaire() {
  carte_calculee = 0;
  // Marks drawn just before must not turn the coming paint into one that
  // only shows them: the map is made again in any case.
  if (contenu_ == ContenuImage::marques) contenu_ = ContenuImage::carte;
  session_->relire_noeud();
  zone_->update();
  programmer_carte();
}

void Tfenetre_edition::montrer_marques() {
  if (contenu_ != ContenuImage::marques_gardees) contenu_ = ContenuImage::marques;
  zone_->update();
}

void Tfenetre_edition::FormPaint() {
  peinture_finie = 0;
  if (!matrice) return;
  if (a_recharger || !carte_calculee) {
    programmer_carte();
    return;
  }
  peinture_finie = 1;
}

void Tfenetre_edition::peindre_carte(QWidget* zone) {
  MarqueurPeinture garde;
  // A paint that only shows new marks leaves them on the picture.
  const ContenuImage contenu = contenu_;
  if (contenu == ContenuImage::marques) contenu_ = ContenuImage::carte;
  if (!fermeture && contenu != ContenuImage::marques) {
    FormPaint();
    const render::Bitmap& b = carte[echelle_carte];
    if (contenu == ContenuImage::carte && !en_rendu_ && b.width() == Image1.width() && b.height() == Image1.height()) {
      copier_carte_dans_image();
      traits_presents_ = {false, false};  // the copy took the sight lines away
      traits_vision = {};
    }
  }
  QPainter p(zone);
  p.drawImage(0, 0, Image1);
}

void Tfenetre_edition::programmer_carte() {
  if (carte_programmee_ || en_rendu_ || fermeture) return;
  carte_programmee_ = true;
  QTimer::singleShot(0, this, [this] { calculer_carte(); });
}

void Tfenetre_edition::calculer_carte() {
  carte_programmee_ = false;
  if (fermeture || en_rendu_ || !matrice) return;
  if (carte_calculee && !a_recharger) return;
  if (operation_en_cours()) {
    // Another long operation runs: try again once it has finished.
    carte_programmee_ = true;
    QTimer::singleShot(20, this, [this] { calculer_carte(); });
    return;
  }
  if (a_recharger && charger_cartes()) return;
  rendre_carte();
}

// The pictures of an earlier session, when both are there and whole.
bool Tfenetre_edition::charger_cartes() {
  if (fichier.size() <= 4) return false;
  const std::string b1 = image_carte(fichier, 1), b2 = image_carte(fichier, 2);
  if (!fichier_existe(b1) || !fichier_existe(b2)) return false;
  sauver_carte = 1;
  SpeedButton_save->SetPressed(true);
  Enregistrercarte1->setText("Don't save map");
  render::Bitmap i1, i2;
  if (!lire_image_jpeg(b1, i1) || !lire_image_jpeg(b2, i2)) return false;
  if (i1.width() != kLargeurCarte || i1.height() != kHauteurCarte || i2.width() != 2 * kLargeurCarte ||
      i2.height() != 2 * kHauteurCarte)
    return false;
  carte[1] = std::move(i1);
  carte[2] = std::move(i2);
  // The corners carry the map under the markers.
  for (int k = 1; k <= 2; ++k) {
    render::stretch(fond_cible[k].surface(), 0, 0, 16 * k, 16 * k, partie(carte[k], 1, 1, 16 * k - 1, 16 * k - 1));
    render::stretch(fond_observateur[k].surface(), 0, 0, 8 * k, 8 * k,
                    partie(carte[k], 16 * k + 1, 16 * k + 1, 16 * k - 1, 16 * k - 1));
  }
  fond_cible_a_sauver = 0;
  fond_observateur_a_sauver = 0;
  carte_calculee = 1;
  matrice->marquer_modifiee();
  a_recharger = 0;
  montrer_carte();
  if (zoom2) defiler_zoom2();
  peinture_finie = 1;
  return true;
}

void Tfenetre_edition::rendre_carte() {
  OperationLongue operation;
  Bulle bulle(en_rendu_);
  preparer_palette_carte(*palette, vue);
  if (matrice->nombre_elements > 0) vue.foret = 1;
  carte_calculee = 1;
  if (a_recharger) matrice->marquer_modifiee();
  montrer_carte();
  {
    TAttente attente(window());
    // The live picture: the map of the current zoom, as far as it is drawn.
    render::AffichageDirect affichage = [this](const render::Bitmap&) {
      copier_carte_dans_image();
      zone_->repaint();
    };
    try {
      calculer_image(*matrice, handle_, *palette, carte[1], affichage, vue, kLargeurCarte, kHauteurCarte, &attente,
                     &carte[2], echelle_carte, grossier, courbes, 0, 0, enregistrement_camera{});
    } catch (const ModelError& x) {
      warn(std::string("The map could not be drawn: ") + x.what(), "Edition");
    }
  }
  // Every new map gets its markers, and the stores hold pixels of this map.
  fond_cible_a_sauver = 1;
  fond_observateur_a_sauver = 1;
  dessine_point_vise(pixel_cible, false);
  dessine_observateur(pixel_observateur, false);
  if (zoom2) defiler_zoom2();
  a_recharger = 0;
  peinture_finie = 1;
  zone_->update();
}

void Tfenetre_edition::defiler_zoom2() {
  ScrollBox1->horizontalScrollBar()->setValue(170);
  ScrollBox1->verticalScrollBar()->setValue(149);
}

// ---------------------------------------------------------------- markers

void Tfenetre_edition::dessine_point_vise(PixelCarte p, bool restaurer) {
  for (int k = 1; k <= 2; ++k) {
    render::Bitmap& c = carte[k];
    render::Bitmap& f = fond_cible[k];
    const std::int64_t s = 16 * k;
    if (restaurer)
      render::copy_rect(c.surface(), (std::int64_t(pixel_cible.x) - 8) * k, (std::int64_t(pixel_cible.y) - 8) * k,
                        lecture(f), 0, 0, s, s);
    if (restaurer || fond_cible_a_sauver)
      render::copy_rect(f.surface(), 0, 0, lecture(c), (std::int64_t(p.x) - 8) * k, (std::int64_t(p.y) - 8) * k, s,
                        s);
    const std::int64_t x = std::int64_t(p.x) * k, y = std::int64_t(p.y) * k, d = 4 * k;
    render::draw_line(c.surface(), point_borne(x - d, y - d), point_borne(x + d, y + d), 2 * k, kBlanc);
    render::draw_line(c.surface(), point_borne(x - d, y + d), point_borne(x + d, y - d), 2 * k, kBlanc);
  }
  fond_cible_a_sauver = 0;
  carte_calculee = 1;
  pixel_cible = p;
  montrer_carte();
}

void Tfenetre_edition::dessine_observateur(PixelCarte p, bool restaurer) {
  for (int k = 1; k <= 2; ++k) {
    render::Bitmap& c = carte[k];
    render::Bitmap& f = fond_observateur[k];
    const std::int64_t s = 8 * k;
    if (restaurer)
      render::copy_rect(c.surface(), (std::int64_t(pixel_observateur.x) - 4) * k,
                        (std::int64_t(pixel_observateur.y) - 4) * k, lecture(f), 0, 0, s, s);
    if (restaurer || fond_observateur_a_sauver)
      render::copy_rect(f.surface(), 0, 0, lecture(c), (std::int64_t(p.x) - 4) * k, (std::int64_t(p.y) - 4) * k, s,
                        s);
    const std::int64_t x = std::int64_t(p.x) * k, y = std::int64_t(p.y) * k, d = 3 * k;
    render::fill_ellipse(c.surface(), x - d, y - d, x + d, y + d, kBlanc);
  }
  fond_observateur_a_sauver = 0;
  carte_calculee = 1;
  pixel_observateur = p;
  montrer_carte();
}

void Tfenetre_edition::point_observateur(bool depuis_marqueur, double ox, double oy, double oz, double ax, double ay,
                                         double bx, double by) {
  const int z = echelle_carte;
  const PointMonde& c = cible_monde;
  PixelCarte o = depuis_marqueur ? pixel_observateur : projeter_monde({c.x + ox, c.y + oy, c.z + oz});
  const PixelCarte e1 = projeter_monde({c.x + ax, c.y + ay, 0});
  const PixelCarte e2 = projeter_monde({c.x + bx, c.y + by, 0});
  auto fois = [z](PixelCarte p) { return std::array<double, 2>{double(p.x) * z, double(p.y) * z}; };
  QPainter peintre(&Image1);
  peintre.setRenderHint(QPainter::Antialiasing, false);
  peintre.setCompositionMode(QPainter::RasterOp_NotDestination);
  peintre.setPen(QPen(Qt::white, 1));
  const double marge = 16;
  auto trait = [&](double x1, double y1, double x2, double y2) {
    if (!couper(x1, y1, x2, y2, -marge, -marge, Image1.width() + marge, Image1.height() + marge)) return;
    peintre.drawLine(QPoint(Round(x1), Round(y1)), QPoint(Round(x2), Round(y2)));
  };
  for (int k = 0; k < 2; ++k)
    if (traits_presents_[k])
      trait(traits_vision[0], traits_vision[1], traits_vision[2 + 2 * k], traits_vision[3 + 2 * k]);
  const auto po = fois(o), p1 = fois(e1), p2 = fois(e2);
  traits_presents_ = {ax != 0, bx != 0};
  traits_vision = {std::int32_t(po[0]), std::int32_t(po[1]), ax != 0 ? std::int32_t(p1[0]) : 0, std::int32_t(p1[1]),
                   bx != 0 ? std::int32_t(p2[0]) : 0, std::int32_t(p2[1])};
  for (int k = 0; k < 2; ++k)
    if (traits_presents_[k])
      trait(traits_vision[0], traits_vision[1], traits_vision[2 + 2 * k], traits_vision[3 + 2 * k]);
  peintre.end();
  montrer_marques();
}

// ---------------------------------------------------------------- readout

void Tfenetre_edition::affiche_position(std::int32_t altitude) {
  if (altitude > -4000)
    panneaux[0]->setText(QString::fromStdString(texte_position(souris.x, souris.y, echelle_carte)));
  Panel_altitude->afficher(altitude);
}

void Tfenetre_edition::efface_jauge() { Panel_altitude->effacer(); }

std::int32_t Tfenetre_edition::altitude_jauge() const { return Panel_altitude->altitude_jauge(); }

// ---------------------------------------------------------------- commands

void Tfenetre_edition::bascule_zoom() {
  zoom2 = !zoom2;
  echelle_carte = zoom2 ? 2 : 1;
  session_->fixer_zoom(echelle_carte);
  montrer_carte();
  if (zoom2) defiler_zoom2();
  Zoom1->setText(zoom2 ? "Zoom out" : "Zoom in");
  SpeedButton_zoom->SetPressed(zoom2 != 0);
  affiche_outil();
}

void Tfenetre_edition::SpeedButton_niveauxClick() {
  courbes = !courbes;
  Courbes1->setText(courbes ? "Photo aérienne" : "Level curves");
  SpeedButton_niveaux->SetPressed(courbes != 0);
  carte_a_refaire();
}

void Tfenetre_edition::SpeedButton_save1Click() {
  sauver_carte = SpeedButton_save->Pressed() && fichier.size() > 4 ? 1 : 0;
  Enregistrercarte1->setText(sauver_carte ? "Don't save map" : "Save map");
}

void Tfenetre_edition::Enregistrercarte1Click() {
  SpeedButton_save->SetPressed(!SpeedButton_save->Pressed());
  SpeedButton_save1Click();
}

bool Tfenetre_edition::effacer_elements(ElementsCarte genre) {
  if (!matrice) return false;
  bool fait = false;
  QAction* a = nullptr;
  switch (genre) {
    case ElementsCarte::rivieres: fait = matrice->effacer_rivieres(); a = Supprimerrivieres1; break;
    case ElementsCarte::arbres: fait = matrice->effacer_arbres(); a = Supprimerarbres1; break;
    case ElementsCarte::sol: fait = matrice->effacer_sol(); a = Supprimerterrain1; break;
  }
  if (!fait) return false;
  modifiee = 1;
  a->setEnabled(false);
  carte_a_refaire();  // the erased features leave the map
  return true;
}


void Tfenetre_edition::Aide1Click() { afficher_sujet_aide(4008); }

void Tfenetre_edition::contextMenuEvent(QContextMenuEvent* e) { PopupMenu_edition->popup(e->globalPos()); }

// ---------------------------------------------------------------- closing

void Tfenetre_edition::ecrire_cartes() {
  for (int k = 1; k <= 2; ++k) {
    render::stretch(carte[k].surface(), 1, 1, 16 * k, 16 * k, lecture(fond_cible[k]));
    render::stretch(carte[k].surface(), 16 * k + 1, 16 * k + 1, 32 * k, 32 * k, lecture(fond_observateur[k]));
  }
  for (int k = 1; k <= 2; ++k) {
    const std::string nom = image_carte(fichier, k);
    const auto octets = render::octets_jpeg(carte[k], 90);
    const Echec echec = octets ? ecrire_fichier(nom, *octets) : Echec("no picture");
    if (!echec.empty()) {
      warn("The map picture " + nom + " could not be written: " + echec, "Quorvel");
      return;  // the second picture would not match the first one
    }
  }
}

void Tfenetre_edition::closeEvent(QCloseEvent* e) {
  if (en_rendu_) {  // never closes under its renderer
    e->ignore();
    return;
  }
  if (!fermeture) {
    peinture_finie = 0;
    fermeture = 1;
    session_->annuler();  // a stroke or a waiting run ends here
    const bool avec_fichier = fichier.size() > 4;
    if (avec_fichier && sauver_carte && carte_calculee && !a_recharger) {
      ecrire_cartes();
    } else if (avec_fichier && !sauver_carte) {
      const std::string b1 = image_carte(fichier, 1), b2 = image_carte(fichier, 2);
      if (fichier_existe(b1) && fichier_existe(b2)) {
        supprimer_fichier(b1);
        supprimer_fichier(b2);
      }
    }
    for (auto* b : {&carte, &fond_cible, &fond_observateur})
      for (render::Bitmap& x : *b) x = render::Bitmap();
    palette.reset();
    if (demander_fermeture) {
      // The main window asks its save questions now, while the editor still
      // shows its map (Image1 is kept), and then takes the window down itself.
      e->ignore();
      demander_fermeture();
      return;
    }
  }
  FenetreEdition::closeEvent(e);
}
