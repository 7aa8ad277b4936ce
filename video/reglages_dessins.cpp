// The two editors of the Path page: the camera path drawn on the terrain seen
// from above, and the altitude profile with its markers and frame range.
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "fenetres/rendu.h"
#include "model/aleatoire.h"
#include "model/interfaces.h"
#include "video/reglages_editeurs.h"
#include "video/reglages_textes.h"

namespace T = textes_reglages;

namespace {

constexpr int kPrise = 4;     // hit box of a control point and a range line
constexpr int kPriseAlt = 6;  // hit box of an altitude marker

// A point as drawn: stored points may hold anything a file gave.
QPoint pixel(const reglages::PointTrajet& p) {
  return {std::clamp(p.x, -10000, 10000), std::clamp(p.y, -10000, 10000)};
}

// A point inside the editor: stored points are at least 1 in both axes.
reglages::PointTrajet dans_editeur(QPoint pt) {
  return {std::clamp(pt.x(), 1, kLargeurEditeurTrajet - 1), std::clamp(pt.y(), 1, kHauteurEditeurTrajet - 1)};
}

int x_marqueur(int i) { return (i - 1) * reglages::kLargeurElevation / 6; }

}  // namespace

// ------------------------------------------------------------------ path editor

EditeurTrajet::EditeurTrajet(QWidget* parent, Param_video& v, const DessinTrajectoire& dessin, const QImage& fond,
                             QLabel* compteur)
    : QWidget(parent), v_(v), dessin_(dessin), fond_(fond), compteur_(compteur),
      Timer_cercle([this] { Timer_cercleTimer(); }) {
  setFixedSize(kLargeurEditeurTrajet, kHauteurEditeurTrajet);
  setMouseTracking(true);
}

void EditeurTrajet::charger() {
  const std::vector<reglages::PointTrajet> enregistres = reglages::points_enregistres(v_);
  points_.fill({});
  nombre_points_ = int(enregistres.size());
  std::copy(enregistres.begin(), enregistres.end(), points_.begin());
  trace_en_cours_ = false;
  point_choisi_ = -1;
  glisse_ = false;
  setCursor(Qt::ArrowCursor);
  compteur();
}

void EditeurTrajet::points_de_calcul(Param_video& p) const {
  for (std::size_t i = 0; i < 13; ++i) {
    p.bezier_x[i] = int(i) < nombre_points_ ? points_[i].x : -1;
    p.bezier_y[i] = int(i) < nombre_points_ ? points_[i].y : -1;
  }
}

bool EditeurTrajet::suspendre_cercle() {
  const bool actif = Timer_cercle.Active();
  Timer_cercle.Stop();
  return actif;
}

void EditeurTrajet::reprendre_cercle() { Timer_cercle.Start(100); }

void EditeurTrajet::hideEvent(QHideEvent* e) {
  Timer_cercle.Stop();
  QWidget::hideEvent(e);
}

void EditeurTrajet::paintEvent(QPaintEvent*) {
  fenetres::MarqueurPeinture marqueur;
  QPainter p(this);
  if (fond_.isNull()) p.fillRect(rect(), QColor(192, 192, 192));
  else p.drawImage(0, 0, fond_);
  p.setPen(QPen(Qt::black, 1));
  const QPoint triangle[] = {{0, kHauteurEditeurTrajet - 1}, {kLargeurEditeurTrajet - 1, kHauteurEditeurTrajet - 1},
                             {kLargeurEditeurTrajet / 2, 0}};
  p.drawPolygon(triangle, 3);
  if (v_.point_vise_fixe) {
    const QPoint c(std::clamp(v_.point_vise_x, -10000, 10000) + kCentreReferenceX,
                   std::clamp(v_.point_vise_y, -10000, 10000) + kCentreReferenceY);
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(c - QPoint(6, 6), c + QPoint(6, 6));
    p.drawLine(c - QPoint(6, -6), c + QPoint(6, -6));
  }
  const int n = std::min(dessin_.echantillons, DessinTrajectoire::kEchantillons);
  if (!trace_en_cours_ && (cercle() || nombre_points_ >= 4) && n > 0) {
    p.setPen(QPen(QColor(128, 128, 128), 1, Qt::DashLine));
    for (int s = 1; s <= n; s += 10)
      p.drawLine(dessin_.observateur_x[s], dessin_.observateur_y[s], dessin_.cible_x[s], dessin_.cible_y[s]);
    QPolygon observateur, cible;
    for (int s = 1; s <= n; ++s) {
      observateur << QPoint(dessin_.observateur_x[s], dessin_.observateur_y[s]);
      cible << QPoint(dessin_.cible_x[s], dessin_.cible_y[s]);
    }
    p.setPen(QPen(Qt::blue, 1));
    if (!v_.point_vise_fixe) p.drawPolyline(cible);
    p.setPen(QPen(cercle() ? Qt::red : QColor(128, 0, 0), cercle() ? 2 : 1));
    p.drawPolyline(observateur);
  }
  if (!cercle()) dessiner_points(p);
}

// The control points, joined while drawing, the Bezier curve after.
void EditeurTrajet::dessiner_points(QPainter& p) {
  p.setPen(QPen(Qt::black, 1));
  for (int i = 0; i < nombre_points_; ++i) {
    p.drawRect(QRect(pixel(points_[std::size_t(i)]) - QPoint(4, 4), QSize(8, 8)));
    if (trace_en_cours_ && i > 0) p.drawLine(pixel(points_[std::size_t(i - 1)]), pixel(points_[std::size_t(i)]));
  }
  if (trace_en_cours_ || !reglages::compte_valide(nombre_points_, false)) return;
  QPainterPath courbe(pixel(points_[0]));
  for (int g = 0; 3 * g + 3 < nombre_points_; ++g)
    courbe.cubicTo(pixel(points_[std::size_t(3 * g + 1)]), pixel(points_[std::size_t(3 * g + 2)]),
                   pixel(points_[std::size_t(3 * g + 3)]));
  p.setPen(QPen(Qt::red, 2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(courbe);
}

void EditeurTrajet::mousePressEvent(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  const bool gauche = e->button() == Qt::LeftButton;
  if (trace_en_cours_) {
    if (gauche) ajouter_point(pt);
  } else if (point_choisi_ >= 0 && gauche) {
    glisse_ = true;
  } else if (v_.point_vise_fixe && outil_ == Outil::cible && gauche) {
    v_.point_vise_x = pt.x() - kCentreReferenceX;
    v_.point_vise_y = pt.y() - kCentreReferenceY;
    emit change(false);
  } else if (cercle() && outil_ == Outil::taille && (gauche || e->button() == Qt::RightButton)) {
    agrandir_ = gauche;
    Timer_cercleTimer();
    if (v_.rayon_cercle < reglages::kRayonMax || !agrandir_) Timer_cercle.Start(100);
  } else if (cercle() && outil_ == Outil::centre && gauche) {
    v_.centre_cercle_x = pt.x() - kCentreReferenceX;
    v_.centre_cercle_y = pt.y() - kCentreReferenceY;
    emit change(false);
  }
}

void EditeurTrajet::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  if (trace_en_cours_ || cercle()) return;
  if (glisse_ && point_choisi_ >= 0) {
    points_[std::size_t(point_choisi_)] = dans_editeur(pt);
    const bool ferme = v_.type_trajectoire == 3;
    if (ferme && point_choisi_ == 0) points_[std::size_t(nombre_points_ - 1)] = points_[0];
    if (ferme && point_choisi_ == nombre_points_ - 1) points_[0] = points_[std::size_t(point_choisi_)];
    update();
    return;
  }
  point_choisi_ = -1;
  for (int i = 0; i < nombre_points_; ++i) {
    const QPoint d = pt - pixel(points_[std::size_t(i)]);
    if (std::abs(d.x()) <= kPrise && std::abs(d.y()) <= kPrise) {
      point_choisi_ = i;
      break;
    }
  }
  setCursor(point_choisi_ >= 0 ? Qt::SizeAllCursor : Qt::ArrowCursor);
}

void EditeurTrajet::mouseReleaseEvent(QMouseEvent*) {
  if (Timer_cercle.Active()) {
    Timer_cercle.Stop();
    emit change(false);
  } else if (cercle() && outil_ == Outil::taille && !trace_en_cours_) {
    emit change(false);
  }
  if (glisse_) {
    glisse_ = false;
    ranger_points();
    emit change(false);
  }
}

void EditeurTrajet::mouseDoubleClickEvent(QMouseEvent* e) {
  if (trace_en_cours_ && e->button() == Qt::LeftButton) fin_trace();
}

void EditeurTrajet::ajouter_point(QPoint pt) {
  if (nombre_points_ >= 13) return;
  points_[std::size_t(nombre_points_++)] = dans_editeur(pt);
  compteur();
  update();
  const bool ferme = v_.type_trajectoire == 3;
  if (nombre_points_ == (ferme ? 12 : 13)) fin_trace();
}

// Ends a drawing when the count fits the path kind; a closed path then gets
// its first point again as its last.
void EditeurTrajet::fin_trace() {
  const bool ferme = v_.type_trajectoire == 3;
  if (!reglages::compte_valide(nombre_points_, ferme)) {
    inform(ferme ? T::kManqueFerme : T::kManqueOuvert, T::kMessage);
    return;
  }
  if (ferme) points_[std::size_t(nombre_points_++)] = points_[0];
  trace_en_cours_ = false;
  point_choisi_ = -1;
  setCursor(Qt::ArrowCursor);
  ranger_points();
  emit change(false);
}

// The editor's points into the settings, the unused entries at 0.
void EditeurTrajet::ranger_points() {
  for (std::size_t i = 0; i < 13; ++i) {
    const bool pris = int(i) < nombre_points_;
    v_.bezier_x[i] = pris ? points_[i].x : 0;
    v_.bezier_y[i] = pris ? points_[i].y : 0;
  }
}

void EditeurTrajet::compteur() {
  const bool ferme = v_.type_trajectoire == 3;
  compteur_->setText(QString::fromUtf8(T::kNombre) + QString::number(nombre_points_));
  compteur_->setStyleSheet(reglages::compte_vert(nombre_points_, ferme) ? QStringLiteral("color: #008000")
                                                                        : QStringLiteral("color: red"));
  compteur_->setVisible(v_.type_trajectoire == 2 || v_.type_trajectoire == 3);
}

void EditeurTrajet::Timer_cercleTimer() {
  v_.rayon_cercle = reglages::pas_cercle(v_.rayon_cercle, agrandir_);
  const bool fin = agrandir_ ? v_.rayon_cercle >= reglages::kRayonMax : v_.rayon_cercle <= 1;
  if (fin) Timer_cercle.Stop();
  emit change(true);
}

void EditeurTrajet::creer() {
  if (nombre_points_ > 0 && !ask_yes_no(T::kEffacerTrajet, T::kMessage)) return;
  points_.fill({});
  nombre_points_ = 0;
  trace_en_cours_ = true;
  point_choisi_ = -1;
  glisse_ = false;
  setCursor(Qt::CrossCursor);
  compteur();
  update();
}

// ------------------------------------------------------------------ altitude editor

EditeurAltitudes::EditeurAltitudes(QWidget* parent, Param_video& v, const DessinTrajectoire& dessin)
    : QWidget(parent), v_(v), dessin_(dessin) {
  setFixedSize(reglages::kLargeurElevation, reglages::kHauteurElevation);
  setMouseTracking(true);
}

void EditeurAltitudes::placer_marqueurs(double sommet) {
  for (int i = 1; i <= 7; ++i)
    marqueurs_[std::size_t(i)] = std::clamp(reglages::ligne_marqueur(v_.bezier_altitude[std::size_t(i - 1)],
                                                                     v_.vue.niveau_mer, sommet,
                                                                     reglages::kHauteurElevation),
                                            -100000, 100000);
  update();
}

void EditeurAltitudes::paintEvent(QPaintEvent*) {
  fenetres::MarqueurPeinture marqueur;
  QPainter p(this);
  const int h = reglages::kHauteurElevation;
  p.fillRect(rect(), Qt::white);
  const int n = std::min(dessin_.echantillons, DessinTrajectoire::kEchantillons);
  if (n > 0) {
    QPolygon sol;
    sol << QPoint(2, h);
    for (int s = 1; s <= n; ++s) sol << QPoint(2 * s, h - std::clamp(dessin_.profil_sol[s], 0, 100000));
    sol << QPoint(2 * n, h);
    p.setPen(QPen(QColor(60, 110, 40), 1));
    p.setBrush(QColor(150, 200, 120));
    p.drawPolygon(sol);
    p.setBrush(Qt::NoBrush);
    QPolygon observateur, cible;
    const bool cercle = v_.type_trajectoire != 2 && v_.type_trajectoire != 3;
    for (int s = 1; s <= n; ++s) {
      observateur << QPoint(2 * s, h - std::clamp(dessin_.profil_observateur[s], -100000, 100000));
      const int x = cercle || dessin_.colonne_cible[s] == 0 ? 2 * s : dessin_.colonne_cible[s];
      cible << QPoint(x, h - std::clamp(dessin_.profil_cible[s], -100000, 100000));
    }
    p.setPen(QPen(Qt::black, 1));
    p.drawPolyline(observateur);
    p.setPen(QPen(QColor(0, 0, 200), 1, Qt::DotLine));
    p.drawPolyline(cible);
  }
  p.setPen(QPen(Qt::blue, 1));
  for (int position : {v_.premiere_image, v_.derniere_image}) {
    const int x = 2 * std::clamp(position, 0, 1000);
    p.drawLine(x, 0, x, h);
  }
  // The altitude curve through the seven markers, two Bezier segments.
  const auto& m = marqueurs_;
  QPainterPath courbe(QPointF(x_marqueur(1), m[1]));
  courbe.cubicTo(x_marqueur(2), m[2], x_marqueur(3), m[3], x_marqueur(4), m[4]);
  courbe.cubicTo(x_marqueur(5), m[5], x_marqueur(6), m[6], x_marqueur(7), m[7]);
  p.setPen(QPen(Qt::red, 2));
  p.drawPath(courbe);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::yellow);
  for (int i = 1; i <= 7; ++i) p.drawRect(QRect(x_marqueur(i) - 3, m[std::size_t(i)] - 3, 6, 6));
  p.setBrush(Qt::NoBrush);
}

int EditeurAltitudes::marqueur_sous(QPoint pt) const {
  for (int i = 1; i <= 7; ++i)
    if (std::abs(pt.x() - x_marqueur(i)) <= kPriseAlt && std::abs(pt.y() - marqueurs_[std::size_t(i)]) <= kPriseAlt)
      return i;
  return 0;
}

int EditeurAltitudes::borne_sous(QPoint pt) const {
  if (std::abs(pt.x() - 2 * v_.premiere_image) <= kPrise) return 1;
  if (std::abs(pt.x() - 2 * v_.derniere_image) <= kPrise) return 2;
  return 0;
}

void EditeurAltitudes::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const QPoint pt = e->position().toPoint();
  marqueur_choisi_ = marqueur_sous(pt);
  borne_choisie_ = marqueur_choisi_ ? 0 : borne_sous(pt);
}

void EditeurAltitudes::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  if (marqueur_choisi_) {
    const int y = std::clamp(pt.y(), 0, reglages::kHauteurElevation);
    marqueurs_[std::size_t(marqueur_choisi_)] = y;
    // Circle and closed paths: the first and the last marker move together.
    if (v_.type_trajectoire != 2 && (marqueur_choisi_ == 1 || marqueur_choisi_ == 7)) marqueurs_[1] = marqueurs_[7] = y;
    update();
  } else if (borne_choisie_) {
    const int position = std::clamp(Round(pt.x() / 2.0), 1, reglages::kPositions);
    (borne_choisie_ == 1 ? v_.premiere_image : v_.derniere_image) = position;
    update();
  } else {
    setCursor(marqueur_sous(pt) ? Qt::SizeVerCursor : borne_sous(pt) ? Qt::SizeHorCursor : Qt::ArrowCursor);
  }
}

void EditeurAltitudes::mouseReleaseEvent(QMouseEvent*) {
  if (marqueur_choisi_) {
    const int i = marqueur_choisi_;
    marqueur_choisi_ = 0;
    emit altitude_tiree(i, marqueurs_[std::size_t(i)]);
  }
  if (borne_choisie_) lacher_borne();
}

// The range ends stay at least 30 positions apart: the end moved gives way.
void EditeurAltitudes::lacher_borne() {
  const int ecart = reglages::kEcartPlage;
  int& p1 = v_.premiere_image;
  int& p2 = v_.derniere_image;
  if (borne_choisie_ == 1) {
    if (p1 > p2 - ecart) p1 = p2 - ecart;
    if (p1 < 1) p1 = 1, p2 = std::max(p2, 1 + ecart);
  } else {
    if (p2 < p1 + ecart) p2 = p1 + ecart;
    if (p2 > reglages::kPositions) p2 = reglages::kPositions, p1 = std::min(p1, reglages::kPositions - ecart);
  }
  borne_choisie_ = 0;
  emit change(false);
}
