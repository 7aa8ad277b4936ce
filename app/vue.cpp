#include "app/vue.h"
#include "platform/drapeau_leve.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/table_commandes.h"
#include "fenetres/aide_enfants.h"
#include "fenetres/attente.h"
#include "fenetres/operation_longue.h"
#include "app/informations.h"
#include "fenetres/image_qt.h"
#include "app/images_qt.h"
#include "model/aleatoire.h"
#include "model/erreur.h"
#include "fenetres/rendu.h"
#include "render/bmp.h"
#include "render/calcul_image.h"
#include "render/image.h"

std::optional<render::Bitmap>& image_transmise() {
  static std::optional<render::Bitmap> image;
  return image;
}

namespace {

int borne(int v) { return std::clamp(v, kTailleImageMin, kTailleImageMax); }

// The window round its client area: sizing borders of 4 pixels and a caption
// of 19. The status bar takes 19 at the client area's foot.
const QSize kBordures(8, 27);
constexpr int kHauteurBarre = 19;
// What the window adds to its picture in fixed and in variable scale (the
// extra width aside).
const QSize kCadreFixe(14, 56);
const QSize kCadreVariable(10, 46);

// The picture at a size the view accepts: one outside the bounds is stretched to them.
render::Bitmap dans_les_bornes(render::Bitmap b) {
  const int w = borne(b.width()), h = borne(b.height());
  if (b.width() == w && b.height() == h) return b;
  return bitmap_qt(image_qt(b).scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

}  // namespace

// The picture area inside the scroll box: it paints the bitmap, never renders.
class ZoneImageVue : public QWidget {
 public:
  explicit ZoneImageVue(TVuewindow* vue) : QWidget(nullptr), vue_(vue) {}

 protected:
  void paintEvent(QPaintEvent*) override { vue_->peindre_zone(this); }
  void mousePressEvent(QMouseEvent* e) override {
    if (vue_->aide_contextuelle) afficher_sujet_aide(4007);
    QWidget::mousePressEvent(e);
  }

 private:
  TVuewindow* vue_;
};

TVuewindow::TVuewindow(QWidget* parent) : FenetreVue(parent) {
  setWindowTitle("View");
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(0, 128, 128));
  setPalette(p);
  setAutoFillBackground(true);
  handle_ = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
  auto* colonne = new QVBoxLayout(this);
  colonne->setContentsMargins(0, 0, 0, 0);
  colonne->setSpacing(0);
  defilement_ = new QScrollArea(this);
  defilement_->setPalette(p);
  defilement_->setBackgroundRole(QPalette::Window);
  defilement_->setFrameShape(QFrame::NoFrame);
  zone_ = new ZoneImageVue(this);
  defilement_->setWidget(zone_);
  colonne->addWidget(defilement_, 1);
  barre_ = new QStatusBar(this);
  barre_->setFixedHeight(kHauteurBarre);
  barre_->setSizeGripEnabled(false);
  panneau1_ = new QLabel;
  panneau2_ = new QLabel;
  QFont petit = font();
  petit.setPixelSize(11);
  for (QLabel* l : {panneau1_, panneau2_}) {
    l->setFont(petit);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // 100 pixels, or more when the widest text the panel shows needs it in
    // the font this system gives.
    const int texte = QFontMetrics(petit).horizontalAdvance("Frame: 8888 x 8888");
    l->setFixedWidth(std::max(100, texte + 2 * l->frameWidth() + 2 * l->margin() + 8));
    barre_->addWidget(l);
  }
  colonne->addWidget(barre_);
  Timerechelle_ = new QTimer(this);
  Timerechelle_->setInterval(250);
  connect(Timerechelle_, &QTimer::timeout, this, [this] {
    Timerechelle_->stop();
    rafraichir_vue();
  });
  construire_menu();
}

TVuewindow::~TVuewindow() { platform::unregister_window(handle_); }

void TVuewindow::construire_menu() {
  menu_ = new QMenu(this);
  // The flags an item flips, then redraws.
  auto drapeau = [](Commande c) -> std::uint8_t param_vue::* {
    switch (c) {
      case Commande::maillage: return &param_vue::maillage_filaire;
      case Commande::arbres: return &param_vue::foret;
      case Commande::ombre_portee: return &param_vue::ombre_portee;
      case Commande::brume: return &param_vue::brume;
      case Commande::details: return &param_vue::premier_plan;
      case Commande::horizon: return &param_vue::horizon;
      case Commande::reflet: return &param_vue::reflet;
      default: return nullptr;
    }
  };
  for (const ElementSurgissant& e : menu_surgissant_vue()) {
    QAction* a = menu_->addAction(QString::fromStdString(texte_surgissant(e)));
    const Commande c = e.commande.value_or(Commande::index);
    if (const std::uint16_t code = e.requete) {
      connect(a, &QAction::triggered, this, [this, code] {
        code_commande = code;
        requete_fenetre();
      });
    } else if (const int sujet = e.sujet) {
      connect(a, &QAction::triggered, this, [sujet] { afficher_sujet_aide(sujet); });
    } else if (auto d = drapeau(c)) {
      connect(a, &QAction::triggered, this, [this, d] { basculer(d); });
      a->setCheckable(true);
      marques_.emplace_back(a, d);
    } else if (c == Commande::echelle_fixe) {
      connect(a, &QAction::triggered, this, [this] {
        parametres.echelle_fixe = !parametres.echelle_fixe;
        Timerechelle_->start();
        disposer_image_vue();
        Formsize();
        calculer_taille_vue(true);
      });
      a->setCheckable(true);
      marques_.emplace_back(a, &param_vue::echelle_fixe);
    } else if (c == Commande::deformation) {
      connect(a, &QAction::triggered, this, [this] {
        parametres.deformation = !parametres.deformation;
        disposer_image_vue();
        Formsize();
        rafraichir_vue();
      });
      a->setCheckable(true);
      marques_.emplace_back(a, &param_vue::deformation);
    } else if (c == Commande::rafraichir_vue) {
      connect(a, &QAction::triggered, this, [this] { rafraichir_vue(); });
    } else if (c == Commande::informations) {
      connect(a, &QAction::triggered, this, [this] { Informations(); });
      informations_ = a;
      informations_->setEnabled(false);
    }
    if (e.separateur_apres) menu_->addSeparator();
  }
}

void TVuewindow::basculer(std::uint8_t param_vue::* drapeau) {
  parametres.*drapeau = !(parametres.*drapeau);
  rafraichir_vue();
}

void TVuewindow::cocher_menus_vue() {
  for (const auto& [a, d] : marques_) a->setChecked(parametres.*d != 0);
}

void TVuewindow::Informations() {
  if (!a_statistiques) return;
  Tinformations dialogue(this);
  dialogue.afficher_statistiques(statistiques_);
  dialogue.exec();
}

// The window's outer size for a picture: what is left inside its borders and
// caption is the client area the picture sizes follow.
QSize TVuewindow::taille_cadre(int largeur, int hauteur, int extra) const {
  if (parametres.echelle_fixe) return QSize(largeur + extra, hauteur) + kCadreFixe;
  return QSize(largeur, hauteur) + kCadreVariable;
}

// The picture area of a fixed-scale window: the scroll box (the client area
// less the status bar) less the margin the window keeps round a picture at
// scale 1. A picture of this size shows whole, with no scroll bar, and the
// window laid out for a picture gives that picture back as its area.
QSize TVuewindow::aire_image() const {
  const QSize marge = kCadreFixe - kBordures - QSize(0, kHauteurBarre);
  return {std::max(taille_l - marge.width(), 1), std::max(taille_h - marge.height(), 1)};
}

// Sizes the window so that its client area is the one the outer size above
// leaves, whatever borders and caption this desktop's style draws.
void TVuewindow::dimensionner_cadre(QSize exterieur) {
  const QSize client = exterieur - kBordures;
  QMdiSubWindow* s = sous_fenetre();
  if (!s) {
    resize(client);
    return;
  }
  const QMargins m = s->contentsMargins();
  s->resize(client + QSize(m.left() + m.right(), m.top() + m.bottom()));
}

void TVuewindow::init_vue(platform::WindowHandle proprietaire, const param_vue& p, Tmatrice* terrain,
                          const std::string& fichier_image, bool plein, bool grossier) {
  principale = proprietaire;
  parametres = p;
  terrain_ = terrain;
  fichier_image_ = fichier_image;
  type_image_ = p.type_image;
  grossier_ = grossier;
  plein_ecran = plein;
  plein_ecran_en_attente_ = plein;
  int e = 10;
  if (parametres.echelle_fixe && parametres.dim_predef) {
    largeur_image = static_cast<std::uint16_t>(borne(parametres.largeur_image));
    hauteur_image = static_cast<std::uint16_t>(borne(parametres.hauteur_image));
    taille_l = largeur_image;
    taille_h = hauteur_image;
    e = 0;
  }
  if (image_transmise()) e = 0;
  if (!fichier_image_.empty()) e = 0;
  if (parametres.echelle_fixe && !parametres.dim_predef && !taille_donnee)
    largeur_image = static_cast<std::uint16_t>(borne(largeur_image + 10));
  derniere_l = largeur_image;
  derniere_h = hauteur_image;
  const double echelle = parametres.echelle_fixe && parametres.taille >= 11 ? parametres.taille * 0.1 : 1.0;
  if (parametres.echelle_fixe && !parametres.dim_predef && taille_donnee) {
    // A size handed over is already the picture's own, made at the record's
    // scale from a picture area: the window is laid out round that area, so
    // that laying the view out again gives the same picture.
    taille_l = Round(largeur_image / echelle);
    taille_h = Round(hauteur_image / echelle);
    e = 0;
  } else if (echelle != 1.0 && !taille_donnee) {
    fixer_taille_stockee(Round(largeur_image * echelle), Round(hauteur_image * echelle));
  }
  // A view seen in a full screen is placed first as any other, so that once
  // restored (or arranged) it has its own size and place back; a fixed-scale
  // one is the window "see" makes for the same picture.
  QWidget* cadre = sous_fenetre() ? static_cast<QWidget*>(sous_fenetre()) : this;
  if (plein_ecran && !parametres.echelle_fixe) {
    cadre->setGeometry(0, 0, taille_l, taille_h);
  } else {
    const int slot = std::max<int>(1, no_vue);
    cadre->move(32 * (slot - 1) + 25, 22 * (slot - 1));
    dimensionner_cadre(taille_cadre(taille_l, taille_h, e));
  }
  if (plein_ecran) cadre->showMaximized();
  initialisee_ = true;
  Formsize();  // the picture size is the client area the placement gave
  disposer_image_vue();
  cocher_menus_vue();
  informations_->setEnabled(false);
  if (!fichier_image_.empty()) charger_fichier_image();
}

void TVuewindow::disposer_image_vue() {
  if (parametres.echelle_fixe) {
    defilement_->setWidgetResizable(false);
    zone_->setGeometry(0, 0, largeur_image, hauteur_image);
  } else {
    defilement_->setWidgetResizable(true);
  }
  zone_->update();
  update();
  etat_barre();
}

// In fixed scale the picture is the window's picture area times the scale,
// or the record's own size when it has one. The area leaves out the margin
// round the picture, so a window left alone keeps its picture and a resized
// one takes the picture it now has room for.
void TVuewindow::calculer_taille_vue(bool relayout) {
  if (minimisee_) return;
  if (parametres.echelle_fixe && parametres.dim_predef) {
    fixer_taille_stockee(parametres.largeur_image, parametres.hauteur_image);
  } else if (relayout && parametres.echelle_fixe) {
    const QSize aire = aire_image();
    fixer_taille_stockee(Round(aire.width() * parametres.taille * 0.1), Round(aire.height() * parametres.taille * 0.1));
  }
  etat_barre();
}

void TVuewindow::fixer_taille_stockee(int largeur, int hauteur) {
  largeur_image = static_cast<std::uint16_t>(borne(largeur));
  hauteur_image = static_cast<std::uint16_t>(borne(hauteur));
  derniere_l = largeur_image;
  derniere_h = hauteur_image;
}

void TVuewindow::Formsize() {
  taille_l = width();
  taille_h = height() - kHauteurBarre;
  redimensionnee = 0;
  if (!parametres.echelle_fixe) {
    int l = std::max(taille_l, 1), h = std::max(taille_h, 1);
    if (!parametres.deformation) {
      fenetres::ajuster_4_3(l, h);
      redimensionnee = 1;
    }
    fixer_taille_stockee(l, h);
    etirer_apres_redimension();
  }
  etat_barre();
  QWidget* cadre = sous_fenetre() ? static_cast<QWidget*>(sous_fenetre()) : this;
  plein_ecran = cadre->isMaximized() ? 1 : 0;
  minimisee_ = cadre->isMinimized();
}

void TVuewindow::resizeEvent(QResizeEvent* e) {
  FenetreVue::resizeEvent(e);
  if (!fermeture && initialisee_) Formsize();
}

void TVuewindow::changeEvent(QEvent* e) {
  FenetreVue::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange) {
    QWidget* cadre = sous_fenetre() ? static_cast<QWidget*>(sous_fenetre()) : this;
    minimisee_ = cadre->isMinimized();
  }
}

void TVuewindow::etat_barre() {
  panneau1_->setText(parametres.echelle_fixe ? "Fixed " : "Variable ");
  panneau2_->setText("Frame: " + QString::number(largeur_image) + " x " + QString::number(hauteur_image));
}

void TVuewindow::rafraichir_vue() {
  QWidget* cadre = sous_fenetre() ? static_cast<QWidget*>(sous_fenetre()) : this;
  if (minimisee_ || cadre->isMinimized()) return;
  if (en_rendu_) return;  // the picture is being drawn: it is not dropped under the renderer
  cocher_menus_vue();
  if (!parametres.echelle_fixe) {
    largeur_image = static_cast<std::uint16_t>(borne(taille_l));
    hauteur_image = static_cast<std::uint16_t>(borne(taille_h));
  }
  image_ = render::Bitmap();
  octets_lus_.clear();
  image_existe_ = false;
  etat_barre();
  update();
  zone_->update();
}

void TVuewindow::liberer_image() {
  if (en_rendu_) return;
  octets_lus_.clear();
  image_ = render::Bitmap();
  image_existe_ = false;
}

void TVuewindow::copier_image_vue() {
  if (!image_existe_) return;
  QApplication::clipboard()->setImage(image_qt(image_).copy());
  image_transmise() = image_;
}

const render::Bitmap* TVuewindow::image_document() const {
  return image_existe_ && !image_.empty() ? &image_ : nullptr;
}

// Only draws what was prepared: the picture is loaded when the view opens,
// stretched when it is resized, and rendered from a zero-delay timer.
void TVuewindow::paintEvent(QPaintEvent* e) {
  fenetres::MarqueurPeinture garde;
  FenetreVue::paintEvent(e);
  peinte = 0;
  if (!fermeture && !image_existe_ && fichier_image_.empty()) programmer_rendu();
  peinte = 1;
}

// A resize made a 4:3 fit: the picture is stretched to the new size.
void TVuewindow::etirer_apres_redimension() {
  if (parametres.deformation || parametres.echelle_fixe || !redimensionnee || !image_existe_ || en_rendu_ ||
      (image_.width() == derniere_l && image_.height() == derniere_h))
    return;
  QImage etire =
      image_qt(image_).scaled(borne(derniere_l), borne(derniere_h), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  image_ = dans_les_bornes(bitmap_qt(etire));
  octets_lus_.clear();
  redimensionnee = 0;
  zone_->update();
}

void TVuewindow::peindre_zone(QWidget* zone) {
  fenetres::MarqueurPeinture garde;
  QPainter p(zone);
  p.fillRect(zone->rect(), QColor(0, 128, 128));
  if (!image_.empty()) {
    QImage i = image_qt(image_);
    if (parametres.deformation && !parametres.echelle_fixe)
      p.drawImage(zone->rect(), i);
    else
      p.drawImage(0, 0, i);
  }
  if (!image_existe_ && !fermeture && fichier_image_.empty()) programmer_rendu();
}

// The stored picture, read once when the view opens. One that cannot be read
// is reported here, once; while the message is up the name is still held, so
// no paint schedules a render under it; then the view renders.
void TVuewindow::charger_fichier_image() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  std::string raison;
  std::string octets;
  std::optional<render::Bitmap> i = lire_image_vue(fichier_image_, &raison, &octets);
  QApplication::restoreOverrideCursor();
  if (!i) {
    warn("The picture " + fichier_image_ + " could not be read: " + raison +
             ". The view is drawn again; Save asks before it replaces that file.",
         "View");
    fichier_image_.clear();
    programmer_rendu();
    return;
  }
  fichier_image_.clear();
  const int largeur = i->width(), hauteur = i->height();
  image_ = dans_les_bornes(std::move(*i));
  // Saved unchanged, the picture is written as it was read where writing it
  // again would change the file: a JPEG encoded again loses a little more at
  // every save, and a bitmap of another program has a header of its own. The
  // bitmaps this program writes are written again the same from the pixels:
  // their bytes are not kept.
  const render::GenreImage genre = render::genre_image(octets);
  const bool garder = genre == render::GenreImage::jpeg ||
                      (genre == render::GenreImage::bmp && !render::comme_octets_bmp(octets, largeur, hauteur));
  if (garder && image_.width() == largeur && image_.height() == hauteur) octets_lus_ = std::move(octets);
  image_existe_ = true;
  // The frame is the picture shown (the client area around it has a margin).
  fixer_taille_stockee(image_.width(), image_.height());
  etat_barre();
  zone_->update();
}

void TVuewindow::programmer_rendu() {
  if (rendu_programme_ || en_rendu_ || image_existe_) return;
  rendu_programme_ = true;
  QTimer::singleShot(0, this, [this] {
    rendu_programme_ = false;
    rendre();
  });
}

void TVuewindow::rendre() {
  if (fermeture || image_existe_ || en_rendu_ || !terrain_) return;
  if (operation_en_cours()) {
    // Another long operation runs: try again once it has finished.
    rendu_programme_ = true;
    QTimer::singleShot(20, this, [this] {
      rendu_programme_ = false;
      rendre();
    });
    return;
  }
  OperationLongue operation;
  platform::DrapeauLeve en_rendu(en_rendu_);
  octets_lus_.clear();  // the picture read is drawn over, or replaced
  // A duplicated view takes the picture handed over instead of rendering.
  if (image_transmise()) {
    image_ = std::move(*image_transmise());
    image_transmise().reset();
    image_existe_ = true;
    zone_->update();
    etat_barre();
    return;
  }
  int l = largeur_image, h = hauteur_image;
  fenetres::taille_image_vue(parametres, l, h);
  largeur_image = static_cast<std::uint16_t>(l);
  hauteur_image = static_cast<std::uint16_t>(h);
  // A pending full-screen option is consumed: the window is maximised and
  // the picture takes the maximised client area.
  if (plein_ecran_en_attente_) {
    plein_ecran_en_attente_ = false;
    if (sous_fenetre() && !sous_fenetre()->isMaximized()) sous_fenetre()->showMaximized();
    Formsize();
  }
  derniere_l = largeur_image;
  derniere_h = hauteur_image;
  if (parametres.echelle_fixe) zone_->setGeometry(0, 0, largeur_image, hauteur_image);
  {
    TAttente attente(window());
    const fenetres::ConduiteRenduVue conduite{handle_, &attente, [this](const render::Bitmap&) { zone_->repaint(); },
                                              grossier_, dossier_ciels};
    try {
      fenetres::rendre_vue(*terrain_, parametres, largeur_image, hauteur_image, image_, conduite);
    } catch (const ModelError& e) {
      warn(std::string("The view could not be drawn: ") + e.what(), "View");
    }
  }
  etat_rendu_ = terrain_->etat_rendu.resultat_ciel;
  render::copier_resultats_vue(*terrain_, statistiques_);
  a_statistiques = 1;
  informations_->setEnabled(true);
  image_existe_ = true;  // a cancelled render keeps what was drawn
  if (premier_rendu_du_document)
    premier_rendu_du_document = false;
  else
    modifiee = 1;
  zone_->update();
  etat_barre();
  if (apres_rendu) apres_rendu();
}

void TVuewindow::closeEvent(QCloseEvent* e) {
  peinte = 0;
  if (en_rendu_) {  // never closes under its renderer
    e->ignore();
    return;
  }
  if (fermeture_autorisee) {
    if (document_vue && modifiee) {
      if (ask_save("Save the modifications of " + windowTitle().toStdString() + " ?", "View"))
        sauvegarde_demandee = 1;
    }
    if (!sauvegarde_demandee) liberer_image();
  }
  FenetreVue::closeEvent(e);
}

void TVuewindow::contextMenuEvent(QContextMenuEvent* e) {
  cocher_menus_vue();
  menu_->popup(e->globalPos());
}

void TVuewindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    afficher_sujet_aide(4007);
    return;
  }
  FenetreVue::keyPressEvent(e);
}
