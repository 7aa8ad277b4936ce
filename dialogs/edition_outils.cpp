// The map editor's tool bar, brush panels, mouse and keyboard: choosing a
// tool, drawing strokes with their rubber marks, and handing a stroke to the
// tool's run (edition_execution.cpp) at mouse-up.
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "controls/panels.h"
#include "controls/speedbutton.h"
#include "dialogs/dlg_edit.h"
#include "dialogs/edition.h"
#include "dialogs/edition_glyphes.h"
#include "model/aleatoire.h"

namespace dialogs {

// A ground colour swatch: a filled rectangle, outlined when selected.
class Nuancier : public QWidget {
 public:
  Nuancier(QWidget* parent, std::function<void()> clic) : QWidget(parent), clic_(std::move(clic)) {}
  QColor couleur;
  bool choisi = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), couleur);
    if (choisi) {
      p.setPen(QPen(Qt::black, 2));
      p.drawRect(rect().adjusted(1, 1, -1, -1));
    }
  }
  void mousePressEvent(QMouseEvent*) override { clic_(); }

 private:
  std::function<void()> clic_;
};

// The tools' marks on Image1: inverting, without antialiasing, so that a mark
// drawn twice is gone bit for bit.
class MarquesImage : public MarquesCarte {
 public:
  MarquesImage(QImage& image, std::function<void()> montrer) : image_(image), montrer_(std::move(montrer)) {}
  void ligne(PixelCarte a, PixelCarte b, int largeur) override {
    QPainter p(&image_);
    preparer(p, largeur);
    p.drawLine(a.x, a.y, b.x, b.y);
    fini(p);
  }
  void cercle(PixelCarte c, int rayon, int largeur) override {
    QPainter p(&image_);
    preparer(p, largeur);
    p.drawEllipse(QPoint(c.x, c.y), rayon, rayon);
    fini(p);
  }
  void croix(PixelCarte c, int demi, int largeur) override {
    QPainter p(&image_);
    preparer(p, largeur);
    p.drawLine(c.x - demi, c.y - demi, c.x + demi, c.y + demi);
    p.drawLine(c.x - demi, c.y + demi, c.x + demi, c.y - demi);
    fini(p);
  }

 private:
  static void preparer(QPainter& p, int largeur) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    p.setPen(QPen(Qt::white, largeur));
    p.setBrush(Qt::NoBrush);
  }
  void fini(QPainter& p) {
    p.end();
    montrer_();
  }
  QImage& image_;
  std::function<void()> montrer_;
};

}  // namespace dialogs

using namespace dialogs;

namespace {

QColor couleur_vue(const param_vue& v, std::size_t k) { return QColor(v.couleurs[k].r, v.couleurs[k].g, v.couleurs[k].b); }

// The view colour of ground kind 1..5.
QColor couleur_sol(const param_vue& v, int genre) {
  switch (genre) {
    case 2: return couleur_vue(v, COULEUR_TERRE);
    case 3: return couleur_vue(v, COULEUR_ROCHER);
    case 4: return couleur_vue(v, COULEUR_NEIGE);
    case 5: return couleur_vue(v, COULEUR_SABLE);
    default: return couleur_vue(v, COULEUR_HERBE);
  }
}

}  // namespace

MarquesCarte& Tfenetre_edition::marques() {
  if (!marques_) marques_ = std::make_unique<MarquesImage>(Image1, [this] { montrer_marques(); });
  return *marques_;
}

// ---------------------------------------------------------------- brushes

void Tfenetre_edition::construire_pinceaux() {
  Panel_arb = new QWidget(CtlSimplePanel1);
  Panel_arb->setGeometry(280, 32, 232, 30);
  ScrollBar_taille = new QScrollBar(Qt::Horizontal, Panel_arb);
  ScrollBar_taille->setRange(1, 63);
  ScrollBar_taille->setGeometry(0, 6, 90, 16);
  Label_hauteur = new QLabel(Panel_arb);
  Label_hauteur->setGeometry(94, 6, 24, 16);
  RadioButton_p1 = new QRadioButton("P5", Panel_arb);
  RadioButton_p1->setGeometry(120, 4, 50, 20);
  RadioButton_p2 = new QRadioButton("P6", Panel_arb);
  RadioButton_p2->setGeometry(172, 4, 50, 20);
  connect(ScrollBar_taille, &QScrollBar::valueChanged, this, [this](int v) {
    taille_arbre = static_cast<std::uint16_t>(v);
    Label_hauteur->setText(QString::number(v));
  });
  for (QRadioButton* r : {RadioButton_p1, RadioButton_p2})
    connect(r, &QRadioButton::clicked, this, [this] { espece_arbre = RadioButton_p1->isChecked() ? 5 : 6; });
  Panel_arb->hide();

  Panel_coul = new QWidget(CtlSimplePanel1);
  Panel_coul->setGeometry(280, 32, 232, 30);
  for (int k = 0; k < 5; ++k) {
    nuanciers[k] = new Nuancier(Panel_coul, [this, k] { choisir_sol(k + 1); });
    nuanciers[k]->setGeometry(2 + 22 * k, 5, 18, 18);
  }
  const int largeurs[4] = {1, 2, 4, 8};
  for (int k = 0; k < 4; ++k) {
    auto* b = new CtlSpeedButton(Panel_coul);
    b->setGeometry(114 + 25 * k, 3, 24, 24);
    b->SetCaption(QString::number(largeurs[k]));
    b->SetGroupIndex(5);
    const int w = largeurs[k];
    connect(b, &CtlSpeedButton::clicked, this, [this, w] { choisir_largeur_sol(w); });
    epaisseurs[k] = b;
  }
  Panel_coul->hide();
  for (int k = 0; k < 20; ++k) connect(outils[k], &CtlSpeedButton::clicked, this, [this, k] { choisir_position(k); });
  connect(SpeedButton_undo, &CtlSpeedButton::clicked, this, [this] { SpeedButton_undo1Click(); });
}

void Tfenetre_edition::affiche_arbres() {
  {
    const QSignalBlocker bloque(ScrollBar_taille);
    ScrollBar_taille->setValue(std::clamp<int>(taille_arbre, 1, 63));
  }
  taille_arbre = static_cast<std::uint16_t>(ScrollBar_taille->value());
  Label_hauteur->setText(QString::number(taille_arbre));
  (espece_arbre == 6 ? RadioButton_p2 : RadioButton_p1)->setChecked(true);
}

void Tfenetre_edition::affiche_couleurs() {
  const int genres[5] = {1, 2, 3, 4, 5};
  for (int k = 0; k < 5; ++k) {
    nuanciers[k]->couleur = k == 4 ? QColor(Qt::yellow) : couleur_sol(vue, genres[k]);
    nuanciers[k]->choisi = sol == genres[k];
    nuanciers[k]->update();
  }
  const int largeurs[4] = {1, 2, 4, 8};
  for (int k = 0; k < 4; ++k)
    if (largeur_sol == largeurs[k]) epaisseurs[k]->SetPressed(true);
}

void Tfenetre_edition::choisir_sol(int genre) {
  sol = static_cast<std::uint16_t>(genre);
  affiche_couleurs();
}

void Tfenetre_edition::choisir_largeur_sol(int largeur) { largeur_sol = static_cast<std::uint16_t>(largeur); }

// ---------------------------------------------------------------- tool bar

void Tfenetre_edition::choisir_position(int position) {
  position_outil = static_cast<std::uint16_t>(std::clamp(position, 0, 19));
  outil_depuis_index();
  affiche_outil();
}

void Tfenetre_edition::outil_depuis_index() { outil = outil_de_position(position_outil); }

void Tfenetre_edition::affiche_outil() {
  if (Panel_arb) {
    Panel_arb->hide();
    Panel_coul->hide();
    if (outil == OUTIL_ARBRE) {
      affiche_arbres();
      Panel_arb->show();
    } else if (outil == OUTIL_COULEUR) {
      affiche_couleurs();
      Panel_coul->show();
    }
  }
  zone_carte()->setCursor(outil == 0 ? QCursor(Qt::ArrowCursor) : curseur_edition(105));
  const bool elements = matrice && matrice->nombre_elements > 0;
  for (int k : {12, 14, 15}) outils[k]->setEnabled(elements);
  const QString aide = aide_outil(outil);
  panneaux[1]->setText(aide);
  nom_outil->setText(QString::fromStdString(nom_de_l_outil(outil)));
}

// ---------------------------------------------------------------- rubber marks

void Tfenetre_edition::disque(PixelCarte p, int rayon, QColor c) {
  QPainter peintre(&Image1);
  peintre.setRenderHint(QPainter::Antialiasing, false);
  peintre.setPen(Qt::NoPen);
  peintre.setBrush(c);
  peintre.drawEllipse(QPoint(p.x, p.y), rayon, rayon);
  peintre.end();
  montrer_marques();
}

void Tfenetre_edition::trait(PixelCarte a, PixelCarte b) {
  QPainter peintre(&Image1);
  peintre.setRenderHint(QPainter::Antialiasing, false);
  peintre.setPen(QPen(Qt::white, 2));
  peintre.drawLine(a.x, a.y, b.x, b.y);
  peintre.end();
  montrer_marques();
}

void Tfenetre_edition::marque_arbre(PixelCarte p) {
  const int r = Round(taille_arbre * 0.1);
  QPainter peintre(&Image1);
  peintre.setRenderHint(QPainter::Antialiasing, false);
  peintre.setPen(QPen(Qt::black, 1));
  peintre.setBrush(espece_arbre == 5 ? QColor(Qt::yellow) : QColor(128, 128, 0));
  peintre.drawEllipse(QPoint(p.x, p.y), r, r);
  peintre.end();
  montrer_marques();
  outils[12]->setEnabled(true);  // a tree to delete, soon
  Supprimerarbres1->setEnabled(true);
}

// ---------------------------------------------------------------- mouse

void Tfenetre_edition::deplacement_souris(std::int32_t x, std::int32_t y) { souris_deplacee({x, y}); }

void Tfenetre_edition::souris_enfoncee(Qt::MouseButton b, PixelCarte p) {
  souris = p;
  if (b != Qt::LeftButton) {
    efface_jauge();
    dernier_noeud_ = {-1, -1};
    souris_deplacee(souris);
    return;
  }
  bouton_enfonce = 1;
  if (outil == 0 || !sur_terrain) return;
  // A click reads its node afresh: heights may have changed under a pointer
  // that did not move (Undo, a tool, a raise from the card).
  relire_noeud();
  souris_deplacee(souris);
  switch (outil) {
    case OUTIL_ARBRE: marque_arbre(p); break;
    case OUTIL_GOMME_ARBRE: disque(p, 4, couleur_vue(vue, COULEUR_HERBE)); break;
    case OUTIL_COULEUR: Supprimerterrain1->setEnabled(true); break;
    case OUTIL_CIBLE: dessine_point_vise({Round(p.x / double(echelle_carte)), Round(p.y / double(echelle_carte))}, true); break;
    case OUTIL_OBSERVATEUR:
      dessine_observateur({Round(p.x / double(echelle_carte)), Round(p.y / double(echelle_carte))}, true);
      break;
    default: break;
  }
}

// The rubber mark of a stroke from the previous pixel to p, drawn over the map.
void Tfenetre_edition::marque_caoutchouc(PixelCarte p) {
  const int z = echelle_carte;
  switch (outil) {
    case OUTIL_FORME:
    case OUTIL_CONE:
    case OUTIL_COL:
    case OUTIL_ROUTE: trait(pixel_precedent, p); break;
    case OUTIL_GOMME_ARBRE: disque(p, 2 * z + 2, couleur_vue(vue, COULEUR_HERBE)); break;
    case OUTIL_COULEUR:
    case OUTIL_GOMME_SOL:
      disque(p, 2 * largeur_sol * z + 2, outil == OUTIL_COULEUR ? couleur_sol(vue, sol) : QColor(128, 128, 128));
      outils[14]->setEnabled(true);
      Supprimerterrain1->setEnabled(true);
      break;
    case OUTIL_ARBRE: marque_arbre(p); break;
    default: break;
  }
}

// While a stroke is recorded, the nodes between the previous move's node and
// the one under p are read in order, so that a fast drag records every node
// it passes over, as a slow one does.
void Tfenetre_edition::lire_passage(PixelCarte p) {
  if (!en_trace || !matrice || !matrice->trace_active || dernier_noeud_ == NoeudCarte{-1, -1}) return;
  const NoeudCarte cible = pixel_vers_noeud(matrice->n, p.x, p.y, echelle_carte);
  const auto passage = noeuds_segment(dernier_noeud_, cible, matrice->capacite_trace);
  for (std::size_t k = 0; k + 1 < passage.size(); ++k) matrice->lire_trace(passage[k].i, passage[k].j);
}

void Tfenetre_edition::souris_deplacee(PixelCarte p) {
  souris = p;
  lire_passage(p);
  std::int32_t h = 0;
  const NoeudCarte n = ecran_vers_grille(p.x, p.y, h);
  const bool meme = n == dernier_noeud_;
  dernier_noeud_ = n;
  if (!meme) {
    if (h < -4000 || TimerT1.isActive()) {
      if (sur_terrain) efface_jauge();
      sur_terrain = 0;
    } else {
      noeud = n;
      jeu_fin.apres = h;
      sur_terrain = 1;
      if (bouton_enfonce) defilement_auto(p);
      if (bouton_enfonce && en_trace) {
        pixel_fin = pixel_precedent;
        marque_caoutchouc(p);
      }
      affiche_position(h);
      pixel_precedent = p;
    }
  }
  if (sur_terrain && !bouton_enfonce && !en_trace && matrice) {
    bool proche = false;
    switch (outil) {
      case OUTIL_GOMME_ARBRE: proche = matrice->arbre_proche(noeud.i, noeud.j); break;
      case OUTIL_GOMME_RIVIERE: proche = matrice->source_proche(noeud.i, noeud.j); break;
      case OUTIL_GOMME_SOL: proche = matrice->sol_proche(noeud.i, noeud.j); break;
      default: break;
    }
    if (outil == OUTIL_GOMME_ARBRE || outil == OUTIL_GOMME_RIVIERE || outil == OUTIL_GOMME_SOL)
      zone_carte()->setCursor(curseur_edition(proche ? 107 : 105));
  }
  if (sur_terrain && outil_ligne(outil) && bouton_enfonce && !en_trace && matrice) {
    en_trace = 1;
    zone_carte()->setCursor(curseur_edition(106));
    matrice->debut_trace(noeud.i, noeud.j);
    pixel_debut = p;
    jeu_debut.apres = jeu_fin.apres;
  }
}

void Tfenetre_edition::souris_relachee(Qt::MouseButton b, PixelCarte p) {
  if (b != Qt::LeftButton) return;
  bouton_enfonce = 0;
  if (!en_trace && sur_terrain && outil > 0 && matrice) {
    matrice->debut_trace(noeud.i, noeud.j);
    en_trace = 1;
    pixel_debut = p;
  }
  if (!en_trace) return;
  matrice->arreter_trace();  // moves from here on leave the stroke as it is
  zone_carte()->setCursor(curseur_edition(105));
  pixel_fin = pixel_precedent;
  const std::int32_t noeuds = matrice->dernier_point + 1;
  un_point = pixel_fin == pixel_debut || noeuds <= 1;
  if ((outil == OUTIL_FORME || outil == OUTIL_COL) && noeuds <= 8) un_point = 1;
  // Road and Pass act with one set, as every tool that draws no line.
  if (!outil_ligne(outil) || outil == OUTIL_COL || outil == OUTIL_ROUTE) un_point = 1;
  if (outil_immediat(outil)) {
    a_executer = 1;
  } else {
    executer_dialogue_outil();
  }
  if (outil_immediat(outil) || outil == OUTIL_COPIER || outil == OUTIL_COLLER) {
    executer_maintenant();
  } else {
    TimerT1.start();
    redessiner = 0;
  }
  en_trace = 0;
}

void Tfenetre_edition::Image1MouseDown(QMouseEvent* e) {
  souris_enfoncee(e->button(), {e->position().toPoint().x(), e->position().toPoint().y()});
}

void Tfenetre_edition::Image1MouseMove(QMouseEvent* e) {
  souris_deplacee({e->position().toPoint().x(), e->position().toPoint().y()});
}

void Tfenetre_edition::Image1MouseUp(QMouseEvent* e) {
  souris_relachee(e->button(), {e->position().toPoint().x(), e->position().toPoint().y()});
}

// ---------------------------------------------------------------- pointer and scrolling

PixelCarte Tfenetre_edition::pointeur() const {
  const QPoint q = zone_carte()->mapFromGlobal(QCursor::pos());
  return {q.x(), q.y()};
}

void Tfenetre_edition::deplacer_pointeur(int dx, int dy) { QCursor::setPos(QCursor::pos() + QPoint(dx, dy)); }

void Tfenetre_edition::defilement_auto(PixelCarte p) {
  if (!matrice) return;
  const std::int32_t m = marge_defilement(matrice->degre);
  QWidget* vp = ScrollBox1->viewport();
  const QPoint c = zone_carte()->mapTo(vp, QPoint(p.x, p.y));
  QScrollBar* hb = ScrollBox1->horizontalScrollBar();
  QScrollBar* vb = ScrollBox1->verticalScrollBar();
  const std::int32_t sx = pas_defilement(c.x(), p.x, vp->width(), Image1.width(), hb->value(), m);
  const std::int32_t sy = pas_defilement(c.y(), p.y, vp->height(), Image1.height(), vb->value(), m);
  if (sx == 0 && sy == 0) return;
  hb->setValue(hb->value() - sx);
  vb->setValue(vb->value() - sy);
  deplacer_pointeur(sx, sy);
}

// ---------------------------------------------------------------- keyboard

void Tfenetre_edition::FormKeyDown(QKeyEvent* e) {
  const std::int32_t n = matrice ? matrice->n : 129;
  const std::int32_t sx = pas_clavier_x(n, echelle_carte), sy = pas_clavier_y(n, echelle_carte);
  const PixelCarte p = pointeur();
  auto aller = [this, p](int dx, int dy) {
    const PixelCarte q{p.x + dx, p.y + dy};
    defilement_auto(q);
    deplacer_pointeur(dx, dy);
    souris_deplacee(q);
  };
  switch (e->key()) {
    case Qt::Key_F1: Aide1Click(); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!bouton_enfonce) souris_enfoncee(Qt::LeftButton, p);
      souris_relachee(Qt::LeftButton, p);
      break;
    case Qt::Key_Space: souris_enfoncee(Qt::LeftButton, p); break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      const int pos = std::clamp(position_outil + (e->key() == Qt::Key_PageUp ? -1 : 1), 0, 19);
      position_outil = static_cast<std::uint16_t>(pos);
      outil_depuis_index();
      outils[std::size_t(pos)]->SetPressed(true);
      affiche_outil();
      break;
    }
    case Qt::Key_End: SpeedButton_niveauxClick(); break;
    case Qt::Key_Home: bascule_zoom(); break;
    case Qt::Key_Left:
      if (sx < p.x) aller(-sx, 0);
      break;
    case Qt::Key_Right:
      if (p.x < Image1.width() - sx) aller(sx, 0);
      break;
    case Qt::Key_Up:
      if (sy < p.y) aller(0, -sy);
      break;
    case Qt::Key_Down:
      if (p.y < Image1.height() - sy) aller(0, sy);
      break;
    default: e->ignore(); break;
  }
}

void Tfenetre_edition::keyPressEvent(QKeyEvent* e) {
  e->accept();
  FormKeyDown(e);
  if (!e->isAccepted()) FenetreEdition::keyPressEvent(e);
}
