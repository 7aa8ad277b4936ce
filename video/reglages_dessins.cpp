// The two editors of the Path page: the camera path drawn on the terrain seen
// from above, and the altitude profile with its markers and frame range.
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>

#include "model/aleatoire.h"
#include "model/interfaces.h"
#include "video/reglages_textes.h"
#include "video/reglages_video.h"

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

void TPagesDlg3::Trace_TrajectoirePaint(QPainter& p) {
  const QImage& fond =
      choisi_ >= 0 && choisi_ < int(images_trajet_.size()) ? images_trajet_[std::size_t(choisi_)] : QImage();
  if (fond.isNull()) p.fillRect(Trace_Trajectoire->rect(), QColor(192, 192, 192));
  else p.drawImage(0, 0, fond);
  p.setPen(QPen(Qt::black, 1));
  const QPoint triangle[] = {{0, kHauteurEditeurTrajet - 1}, {kLargeurEditeurTrajet - 1, kHauteurEditeurTrajet - 1},
                             {kLargeurEditeurTrajet / 2, 0}};
  p.drawPolygon(triangle, 3);
  if (video.point_vise_fixe) {
    const QPoint c(std::clamp(video.point_vise_x, -10000, 10000) + kCentreReferenceX,
                   std::clamp(video.point_vise_y, -10000, 10000) + kCentreReferenceY);
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(c - QPoint(6, 6), c + QPoint(6, 6));
    p.drawLine(c - QPoint(6, -6), c + QPoint(6, -6));
  }
  const bool cercle = video.type_trajectoire != 2 && video.type_trajectoire != 3;
  const int n = std::min(dessin_.echantillons, DessinTrajectoire::kEchantillons);
  if (!trace_en_cours && (cercle || nombre_points >= 4) && n > 0) {
    p.setPen(QPen(QColor(128, 128, 128), 1, Qt::DashLine));
    for (int s = 1; s <= n; s += 10)
      p.drawLine(dessin_.observateur_x[s], dessin_.observateur_y[s], dessin_.cible_x[s], dessin_.cible_y[s]);
    QPolygon observateur, cible;
    for (int s = 1; s <= n; ++s) {
      observateur << QPoint(dessin_.observateur_x[s], dessin_.observateur_y[s]);
      cible << QPoint(dessin_.cible_x[s], dessin_.cible_y[s]);
    }
    p.setPen(QPen(Qt::blue, 1));
    if (!video.point_vise_fixe) p.drawPolyline(cible);
    p.setPen(QPen(cercle ? Qt::red : QColor(128, 0, 0), cercle ? 2 : 1));
    p.drawPolyline(observateur);
  }
  if (cercle) return;
  // The control points, joined while drawing, the Bezier curve after.
  p.setPen(QPen(Qt::black, 1));
  for (int i = 0; i < nombre_points; ++i) {
    p.drawRect(QRect(pixel(points[std::size_t(i)]) - QPoint(4, 4), QSize(8, 8)));
    if (trace_en_cours && i > 0) p.drawLine(pixel(points[std::size_t(i - 1)]), pixel(points[std::size_t(i)]));
  }
  if (trace_en_cours || !reglages::compte_valide(nombre_points, false)) return;
  QPainterPath courbe(pixel(points[0]));
  for (int g = 0; 3 * g + 3 < nombre_points; ++g)
    courbe.cubicTo(pixel(points[std::size_t(3 * g + 1)]), pixel(points[std::size_t(3 * g + 2)]),
                   pixel(points[std::size_t(3 * g + 3)]));
  p.setPen(QPen(Qt::red, 2));
  p.setBrush(Qt::NoBrush);
  p.drawPath(courbe);
}

void TPagesDlg3::souris_trajet(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  const bool gauche = e->button() == Qt::LeftButton;
  const bool cercle = video.type_trajectoire != 2 && video.type_trajectoire != 3;
  switch (e->type()) {
    case QEvent::MouseButtonPress:
      if (trace_en_cours) {
        if (gauche) ajouter_point(pt);
      } else if (point_choisi >= 0 && gauche) {
        glisse = true;
      } else if (Radio_pt->isEnabled() && Radio_pt->isChecked() && gauche) {
        video.point_vise_x = pt.x() - kCentreReferenceX;
        video.point_vise_y = pt.y() - kCentreReferenceY;
        modifie();
      } else if (cercle && radio_redim->isChecked() && (gauche || e->button() == Qt::RightButton)) {
        agrandir = gauche;
        Timer_cercleTimer();
        if (video.rayon_cercle < reglages::kRayonMax || !agrandir) Timer_cercle.Start(100);
      } else if (cercle && Radio_cercle->isChecked() && gauche) {
        video.centre_cercle_x = pt.x() - kCentreReferenceX;
        video.centre_cercle_y = pt.y() - kCentreReferenceY;
        modifie();
      }
      break;
    case QEvent::MouseMove:
      if (trace_en_cours || cercle) break;
      if (glisse && point_choisi >= 0) {
        points[std::size_t(point_choisi)] = dans_editeur(pt);
        const bool ferme = video.type_trajectoire == 3;
        if (ferme && point_choisi == 0) points[std::size_t(nombre_points - 1)] = points[0];
        if (ferme && point_choisi == nombre_points - 1) points[0] = points[std::size_t(point_choisi)];
        Trace_Trajectoire->update();
        break;
      }
      point_choisi = -1;
      for (int i = 0; i < nombre_points; ++i) {
        const QPoint d = pt - pixel(points[std::size_t(i)]);
        if (std::abs(d.x()) <= kPrise && std::abs(d.y()) <= kPrise) {
          point_choisi = i;
          break;
        }
      }
      Trace_Trajectoire->setCursor(point_choisi >= 0 ? Qt::SizeAllCursor : Qt::ArrowCursor);
      break;
    case QEvent::MouseButtonRelease:
      if (Timer_cercle.Active()) {
        Timer_cercle.Stop();
        modifie();
      } else if (cercle && radio_redim->isChecked() && !trace_en_cours) {
        modifie();
      }
      if (glisse) {
        glisse = false;
        ranger_points();
        modifie();
      }
      break;
    case QEvent::MouseButtonDblClick:
      if (trace_en_cours && gauche) fin_trace();
      break;
    default:
      break;
  }
}

void TPagesDlg3::ajouter_point(QPoint pt) {
  if (nombre_points >= 13) return;
  points[std::size_t(nombre_points++)] = dans_editeur(pt);
  compteur_points();
  Trace_Trajectoire->update();
  const bool ferme = video.type_trajectoire == 3;
  if (nombre_points == (ferme ? 12 : 13)) fin_trace();
}

// Ends a drawing when the count fits the path kind; a closed path then gets
// its first point again as its last.
void TPagesDlg3::fin_trace() {
  const bool ferme = video.type_trajectoire == 3;
  if (!reglages::compte_valide(nombre_points, ferme)) {
    inform(ferme ? T::kManqueFerme : T::kManqueOuvert, T::kMessage);
    return;
  }
  if (ferme) points[std::size_t(nombre_points++)] = points[0];
  trace_en_cours = false;
  point_choisi = -1;
  Trace_Trajectoire->setCursor(Qt::ArrowCursor);
  ranger_points();
  modifie();
}

// The editor's points into the settings, the unused entries at 0.
void TPagesDlg3::ranger_points() {
  for (std::size_t i = 0; i < 13; ++i) {
    const bool pris = int(i) < nombre_points;
    video.bezier_x[i] = pris ? points[i].x : 0;
    video.bezier_y[i] = pris ? points[i].y : 0;
  }
}

void TPagesDlg3::compteur_points() {
  const bool ferme = video.type_trajectoire == 3;
  label_points->setText(QString::fromUtf8(T::kNombre) + QString::number(nombre_points));
  label_points->setStyleSheet(reglages::compte_vert(nombre_points, ferme) ? QStringLiteral("color: #008000")
                                                                          : QStringLiteral("color: red"));
  label_points->setVisible(video.type_trajectoire == 2 || video.type_trajectoire == 3);
}

void TPagesDlg3::Timer_cercleTimer() {
  video.rayon_cercle = reglages::pas_cercle(video.rayon_cercle, agrandir);
  const bool fin = agrandir ? video.rayon_cercle >= reglages::kRayonMax : video.rayon_cercle <= 1;
  if (fin) Timer_cercle.Stop();
  modifie(true);
}

void TPagesDlg3::type_choisi(int type) {
  video.type_trajectoire = type;
  if (type != 1 && nombre_points == 0 && !trace_en_cours) inform(T::kCreerAvecBouton, T::kMessage);
  activer_trajet();
  modifie();
}

void TPagesDlg3::Creer_trajectoireClick() {
  if (nombre_points > 0 && !ask_yes_no(T::kEffacerTrajet, T::kMessage)) return;
  points.fill({});
  nombre_points = 0;
  trace_en_cours = true;
  point_choisi = -1;
  glisse = false;
  Trace_Trajectoire->setCursor(Qt::CrossCursor);
  compteur_points();
  Trace_Trajectoire->update();
}

// ------------------------------------------------------------------ altitude editor

void TPagesDlg3::Image_elevationPaint(QPainter& p) {
  const int h = reglages::kHauteurElevation;
  p.fillRect(Image_elevation->rect(), Qt::white);
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
    const bool cercle = video.type_trajectoire != 2 && video.type_trajectoire != 3;
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
  for (int position : {video.premiere_image, video.derniere_image}) {
    const int x = 2 * std::clamp(position, 0, 1000);
    p.drawLine(x, 0, x, h);
  }
  // The altitude curve through the seven markers, two Bezier segments.
  QPainterPath courbe(QPointF(x_marqueur(1), marqueurs[1]));
  courbe.cubicTo(x_marqueur(2), marqueurs[2], x_marqueur(3), marqueurs[3], x_marqueur(4), marqueurs[4]);
  courbe.cubicTo(x_marqueur(5), marqueurs[5], x_marqueur(6), marqueurs[6], x_marqueur(7), marqueurs[7]);
  p.setPen(QPen(Qt::red, 2));
  p.drawPath(courbe);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::yellow);
  for (int i = 1; i <= 7; ++i) p.drawRect(QRect(x_marqueur(i) - 3, marqueurs[std::size_t(i)] - 3, 6, 6));
  p.setBrush(Qt::NoBrush);
}

void TPagesDlg3::souris_elevation(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  const int h = reglages::kHauteurElevation;
  const bool deux_bouts = video.type_trajectoire != 2;  // circle and closed paths
  auto marqueur_sous = [&] {
    for (int i = 1; i <= 7; ++i)
      if (std::abs(pt.x() - x_marqueur(i)) <= kPriseAlt && std::abs(pt.y() - marqueurs[std::size_t(i)]) <= kPriseAlt)
        return i;
    return 0;
  };
  auto borne_sous = [&] {
    if (std::abs(pt.x() - 2 * video.premiere_image) <= kPrise) return 1;
    if (std::abs(pt.x() - 2 * video.derniere_image) <= kPrise) return 2;
    return 0;
  };
  switch (e->type()) {
    case QEvent::MouseButtonPress:
      if (e->button() != Qt::LeftButton) break;
      marqueur_choisi = marqueur_sous();
      borne_choisie = marqueur_choisi ? 0 : borne_sous();
      break;
    case QEvent::MouseMove:
      if (marqueur_choisi) {
        const int y = std::clamp(pt.y(), 0, h);
        marqueurs[std::size_t(marqueur_choisi)] = y;
        if (deux_bouts && (marqueur_choisi == 1 || marqueur_choisi == 7)) marqueurs[1] = marqueurs[7] = y;
        Image_elevation->update();
      } else if (borne_choisie) {
        const int position = std::clamp(Round(pt.x() / 2.0), 1, reglages::kPositions);
        (borne_choisie == 1 ? video.premiere_image : video.derniere_image) = position;
        Image_elevation->update();
      } else {
        Image_elevation->setCursor(marqueur_sous() ? Qt::SizeVerCursor
                                   : borne_sous()  ? Qt::SizeHorCursor
                                                   : Qt::ArrowCursor);
      }
      break;
    case QEvent::MouseButtonRelease:
      if (marqueur_choisi) lacher_marqueur();
      if (borne_choisie) lacher_borne();
      break;
    default:
      break;
  }
}

// The dragged marker's altitude is set by the path computation; on circle and
// closed paths the first and last altitudes stay equal.
void TPagesDlg3::lacher_marqueur() {
  const int i = marqueur_choisi;
  marqueur_choisi = 0;
  editeur_altitude_.point_tire = i;
  editeur_altitude_.y_tire = marqueurs[std::size_t(i)];
  calcule_trajectoire();
  editeur_altitude_.point_tire = 0;
  if (video.type_trajectoire != 2 && (i == 1 || i == 7)) {
    const std::int32_t a = video.bezier_altitude[std::size_t(i - 1)];
    video.bezier_altitude[0] = video.bezier_altitude[6] = a;
  }
  modifie();
}

// The range ends stay at least 30 positions apart: the end moved gives way.
void TPagesDlg3::lacher_borne() {
  const int ecart = reglages::kEcartPlage;
  int& p1 = video.premiere_image;
  int& p2 = video.derniere_image;
  if (borne_choisie == 1) {
    if (p1 > p2 - ecart) p1 = p2 - ecart;
    if (p1 < 1) p1 = 1, p2 = std::max(p2, 1 + ecart);
  } else {
    if (p2 < p1 + ecart) p2 = p1 + ecart;
    if (p2 > reglages::kPositions) p2 = reglages::kPositions, p1 = std::min(p1, reglages::kPositions - ecart);
  }
  borne_choisie = 0;
  modifie();
}
