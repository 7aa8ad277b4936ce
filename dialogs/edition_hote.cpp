// The map editor's side of a tool run: the tool bar, the mouse and the
// keyboard fed to the session, and HoteFenetre, which draws on the map
// picture what the session asks for, runs the tool dialog and the terrain's
// dispatcher under a progress window, and keeps the two timers.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <algorithm>

#include "controls/speedbutton.h"
#include "dialogs/dlg_edit.h"
#include "dialogs/edition.h"
#include "dialogs/edition_glyphes.h"
#include "dialogs/edition_hote.h"
#include "dialogs/edition_panneaux.h"
#include "fenetres/attente.h"
#include "fenetres/operation_longue.h"
#include "model/aleatoire.h"
#include "model/interfaces.h"
#include "render/raster.h"

namespace dialogs {

namespace {

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

// Puts the dialog beside the point where the tool acts (left of it, else
// right), so that the marks around it stay in sight.
void placer_a_cote(QWidget& d, QPoint point, const QWidget& e) {
  const QRect ecran = e.screen() ? e.screen()->availableGeometry() : QRect(0, 0, 4000, 4000);
  const int marge = 60;
  int x = point.x() - d.width() - marge;
  if (x < ecran.left()) x = point.x() + marge;
  x = std::clamp(x, ecran.left(), std::max(ecran.left(), ecran.right() - d.width()));
  const int y = std::clamp(point.y() - d.height() / 2, ecran.top(), std::max(ecran.top(), ecran.bottom() - d.height()));
  d.move(x, y);
}

void remplir(Tdlg_edit& d, const DemandeOutil& q) {
  d.outil = q.outil;
  d.un_point = q.un_point;
  d.debut = q.debut;
  d.fin = q.fin;
  d.coefficient = q.coefficient;
  d.riviere_seule = q.riviere_seule;
  d.chemin = q.chemin;
  d.mode_elevation = q.mode_elevation;
  d.profil_debut = q.profil_debut;
  d.profil_fin = q.profil_fin;
}

ReponseOutil reponse(const Tdlg_edit& d) {
  ReponseOutil r;
  r.debut = d.debut;
  r.fin = d.fin;
  r.apres = d.apres;
  r.forme = d.forme;
  r.coefficient = d.coefficient;
  r.option2 = d.option2;
  r.pondere = d.pondere;
  r.riviere_seule = d.riviere_seule;
  r.chemin = d.chemin;
  r.mode_elevation = d.mode_elevation;
  r.voir_resultat = d.voir_resultat;
  r.point_affiche = d.point_affiche();
  return r;
}

}  // namespace

MarquesCarte& HoteFenetre::marques() { return e_.marques(); }

void HoteFenetre::trait(PixelCarte a, PixelCarte b) {
  peindre([&](QPainter& p) {
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(a.x, a.y, b.x, b.y);
  });
}

void HoteFenetre::disque(PixelCarte c, int rayon, int sol) {
  peindre([&](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(sol > 0 ? couleur_sol(e_.vue, sol) : QColor(128, 128, 128));
    p.drawEllipse(QPoint(c.x, c.y), rayon, rayon);
  });
}

void HoteFenetre::marque_arbre(PixelCarte c, int rayon, int espece) {
  peindre([&](QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(espece == 5 ? QColor(Qt::yellow) : QColor(128, 128, 0));
    p.drawEllipse(QPoint(c.x, c.y), rayon, rayon);
  });
}

void HoteFenetre::garder_marques() { e_.contenu_ = Tfenetre_edition::ContenuImage::marques_gardees; }

void HoteFenetre::effacer_marques() {
  e_.contenu_ = Tfenetre_edition::ContenuImage::carte;
  e_.zone_carte()->update();
}

void HoteFenetre::montrer_rivieres() {
  e_.copier_carte_dans_image();
  e_.montrer_marques();
}

PixelCarte HoteFenetre::taille_image() const { return {e_.Image1.width(), e_.Image1.height()}; }

void HoteFenetre::afficher_position(PixelCarte p, std::int32_t altitude) {
  e_.souris = p;
  e_.affiche_position(altitude);
}

void HoteFenetre::effacer_jauge() { e_.efface_jauge(); }

void HoteFenetre::curseur(Curseur c) {
  static constexpr int kIds[4] = {0, 105, 106, 107};
  e_.zone_carte()->setCursor(c == Curseur::defaut ? QCursor(Qt::ArrowCursor) : curseur_edition(kIds[int(c)]));
}

void HoteFenetre::defiler(PixelCarte p) { e_.defilement_auto(p); }

void HoteFenetre::deplacer_cible(PixelCarte p) { e_.dessine_point_vise(p, true); }

void HoteFenetre::deplacer_observateur(PixelCarte p) { e_.dessine_observateur(p, true); }

void HoteFenetre::replacer_cible() {
  e_.dessine_point_vise(e_.points_vo(e_.matrice->cible_i, e_.matrice->cible_j, true), true);
}

void HoteFenetre::activer(Activable c) {
  switch (c) {
    case Activable::gomme_arbre: e_.bouton_outil(OUTIL_GOMME_ARBRE)->setEnabled(true); break;
    case Activable::gomme_sol: e_.bouton_outil(OUTIL_GOMME_SOL)->setEnabled(true); break;
    case Activable::gomme_riviere: e_.bouton_outil(OUTIL_GOMME_RIVIERE)->setEnabled(true); break;
    case Activable::effacer_arbres: e_.Supprimerarbres1->setEnabled(true); break;
    case Activable::effacer_sol: e_.Supprimerterrain1->setEnabled(true); break;
    case Activable::effacer_rivieres: e_.Supprimerrivieres1->setEnabled(true); break;
    case Activable::coller: e_.activer_coller(true); break;
  }
}

bool HoteFenetre::modifier(const arguments_outil& a) {
  OperationLongue operation;
  TAttente attente(e_.window());
  render::BitmapMapCanvas c1(e_.carte[1]), c2(e_.carte[2]);
  controle_outil c;
  c.attente = &attente;
  c.fenetre = e_.handle_;
  c.carte_1 = &c1;
  c.carte_2 = &c2;
  if (e_.appel_modifier)
    e_.appel_modifier(*e_.matrice, a, c);
  else
    e_.matrice->modifier(a, c);
  return c.continuer;
}

void HoteFenetre::elever(std::int32_t difference, bool etirement) {
  OperationLongue operation;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  e_.matrice->sauver_annulation();  // Undo takes back this raise and only it
  e_.matrice->elever(difference, etirement);
  QApplication::restoreOverrideCursor();
}

void HoteFenetre::terrain_modifie() { e_.modifiee = 1; }

void HoteFenetre::refaire_carte() { e_.carte_a_refaire(); }

int HoteFenetre::dialogue(const DemandeOutil& q, ReponseOutil& r) {
  Tdlg_edit d(e_.window());
  remplir(d, q);
  d.mer_coupe = e_.vue.niveau_mer;
  d.prepare_outil(&e_.marques(), q.pixel_debut, q.deformation, e_.zoom2, q.pixel_fin);
  placer_a_cote(d, e_.zone_carte()->mapToGlobal(QPoint(d.point_fin.x, d.point_fin.y)), e_);
  const int resultat = e_.executer_dialogue ? e_.executer_dialogue(d) : d.exec();
  d.FormClose();
  r = reponse(d);
  return resultat;
}

bool HoteFenetre::confirmer(const std::string& question) { return ask_yes_no(question, "Confirm"); }

QTimer& HoteFenetre::minuterie(Minuterie m) const {
  return m == Minuterie::execution_differee ? e_.TimerT1 : e_.TimerThread;
}

void HoteFenetre::armer(Minuterie m) { minuterie(m).start(); }

void HoteFenetre::arreter(Minuterie m) { minuterie(m).stop(); }

bool HoteFenetre::armee(Minuterie m) const { return minuterie(m).isActive(); }

void HoteFenetre::peindre(const std::function<void(QPainter&)>& dessin) {
  QPainter p(&e_.Image1);
  p.setRenderHint(QPainter::Antialiasing, false);
  dessin(p);
  p.end();
  e_.montrer_marques();
}

}  // namespace dialogs

using namespace dialogs;

MarquesCarte& Tfenetre_edition::marques() {
  if (!marques_) marques_ = std::make_unique<MarquesImage>(Image1, [this] { montrer_marques(); });
  return *marques_;
}

// ---------------------------------------------------------------- tool bar

void Tfenetre_edition::choisir_position(int position) {
  session_->choisir_position(position);
  affiche_outil();
}

void Tfenetre_edition::choisir_sol(int genre) { pinceaux_->choisir_sol(genre); }

void Tfenetre_edition::affiche_outil() {
  const int outil = session_->outil();
  pinceaux_->montrer(outil);
  zone_carte()->setCursor(outil == 0 ? QCursor(Qt::ArrowCursor) : curseur_edition(105));
  const bool elements = matrice && matrice->nombre_elements > 0;
  for (int code : {OUTIL_GOMME_ARBRE, OUTIL_GOMME_SOL, OUTIL_GOMME_RIVIERE}) bouton_outil(code)->setEnabled(elements);
  panneaux[1]->setText(aide_outil(outil));
  nom_outil->setText(QString::fromStdString(nom_de_l_outil(outil)));
}

// ---------------------------------------------------------------- mouse and timers

void Tfenetre_edition::souris_enfoncee(Qt::MouseButton b, PixelCarte p) {
  souris = p;
  session_->enfoncer(b == Qt::LeftButton, p);
}

void Tfenetre_edition::souris_deplacee(PixelCarte p) {
  souris = p;
  session_->deplacer(p);
}

void Tfenetre_edition::souris_relachee(Qt::MouseButton b, PixelCarte p) {
  session_->relacher(b == Qt::LeftButton, p);
}

void Tfenetre_edition::TimerT1Timer() { session_->minuterie_ecoulee(Minuterie::execution_differee); }
void Tfenetre_edition::TimerThreadTimer() { session_->minuterie_ecoulee(Minuterie::carte_resultat); }
void Tfenetre_edition::SpeedButton_undo1Click() { session_->defaire(); }
void Tfenetre_edition::elevation_coupe(bool coupe) { session_->elevation_coupe(coupe); }

// ---------------------------------------------------------------- pointer and scrolling

PixelCarte Tfenetre_edition::pointeur() const {
  const QPoint q = zone_carte()->mapFromGlobal(QCursor::pos());
  return {q.x(), q.y()};
}

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
  QCursor::setPos(QCursor::pos() + QPoint(sx, sy));
}

// ---------------------------------------------------------------- keyboard

void Tfenetre_edition::FormKeyDown(QKeyEvent* e) {
  const std::int32_t n = matrice ? matrice->n : 129;
  const std::int32_t sx = pas_clavier_x(n, echelle_carte), sy = pas_clavier_y(n, echelle_carte);
  const PixelCarte p = pointeur();
  // The pointer moves by (dx, dy) when it stays inside the map.
  auto aller = [this, p](bool dedans, int dx, int dy) {
    if (!dedans) return;
    const PixelCarte q{p.x + dx, p.y + dy};
    defilement_auto(q);
    QCursor::setPos(QCursor::pos() + QPoint(dx, dy));
    souris_deplacee(q);
  };
  switch (e->key()) {
    case Qt::Key_F1: Aide1Click(); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!session_->bouton_enfonce()) souris_enfoncee(Qt::LeftButton, p);
      souris_relachee(Qt::LeftButton, p);
      break;
    case Qt::Key_Space: souris_enfoncee(Qt::LeftButton, p); break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      choisir_position(session_->position() + (e->key() == Qt::Key_PageUp ? -1 : 1));
      outils[session_->position()]->SetPressed(true);
      break;
    case Qt::Key_End: SpeedButton_niveauxClick(); break;
    case Qt::Key_Home: bascule_zoom(); break;
    case Qt::Key_Left: aller(sx < p.x, -sx, 0); break;
    case Qt::Key_Right: aller(p.x < Image1.width() - sx, sx, 0); break;
    case Qt::Key_Up: aller(sy < p.y, 0, -sy); break;
    case Qt::Key_Down: aller(p.y < Image1.height() - sy, 0, sy); break;
    default: e->ignore(); break;
  }
}

// The editor's keys belong to the whole window: whichever of its controls has
// the focus (the map's scroll box after Tab, which would scroll with the
// arrows and Page keys, a brush radio button), they reach FormKeyDown first.
void Tfenetre_edition::lier_touches() {
  for (int touche : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_End,
                     Qt::Key_Home, Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) {
    auto* raccourci = new QShortcut(QKeySequence(touche), this);
    raccourci->setContext(Qt::WidgetWithChildrenShortcut);
    connect(raccourci, &QShortcut::activated, this, [this, touche] {
      QKeyEvent e(QEvent::KeyPress, touche, Qt::NoModifier);
      FormKeyDown(&e);
    });
  }
}

void Tfenetre_edition::keyPressEvent(QKeyEvent* e) {
  e->accept();
  FormKeyDown(e);
  if (!e->isAccepted()) FenetreEdition::keyPressEvent(e);
}
