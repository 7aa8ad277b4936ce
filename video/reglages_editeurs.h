// The two editors of the video settings' Path page. Both edit the page's
// copy of the settings, lent at construction, and draw the drawing arrays of
// the page's last path computation; they say `change` after an edit.
// - EditeurTrajet: the camera path drawn on the terrain seen from above
//   (280 x 250): new paths point by point, control points dragged, the circle
//   grown, shrunk or moved, the fixed target placed.
// - EditeurAltitudes: the altitude profile with its seven markers dragged
//   up and down, and the two frame-range lines dragged sideways.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>

#include "controls/controltimer.h"
#include "model/records.h"
#include "video/reglages_calculs.h"
#include "video/trajectoire.h"

class QLabel;

class EditeurTrajet : public QWidget {
  Q_OBJECT
 public:
  // What a click does on a circle path: grow or shrink it, move its centre,
  // or (with a fixed target) place the target.
  enum class Outil { taille, centre, cible };

  EditeurTrajet(QWidget* parent, Param_video& v, const DessinTrajectoire& dessin, const QImage& fond,
                QLabel* compteur);
  // Takes the record's control points; any drawing or drag is dropped.
  void charger();
  void fixer_outil(Outil o) { outil_ = o; }
  // "Create path": clears the points (after asking when there are some) and
  // starts a drawing.
  void creer();
  bool trace_en_cours() const { return trace_en_cours_; }
  int nombre_points() const { return nombre_points_; }
  // The points as the computation reads them: -1 where none is set.
  void points_de_calcul(Param_video& p) const;
  // Shows "N= " and the count, green when the next point can end the drawing.
  void compteur();
  // Stops the circle timer for a computation; true when it was running.
  bool suspendre_cercle();
  void reprendre_cercle();

 signals:
  void change(bool grossier);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  bool cercle() const { return v_.type_trajectoire != 2 && v_.type_trajectoire != 3; }
  void dessiner_points(QPainter& p);
  void ajouter_point(QPoint pt);
  void fin_trace();
  void ranger_points();
  void Timer_cercleTimer();

  Param_video& v_;
  const DessinTrajectoire& dessin_;
  const QImage& fond_;
  QLabel* compteur_;
  Outil outil_ = Outil::taille;
  std::array<reglages::PointTrajet, 13> points_{};
  int nombre_points_ = 0;
  bool trace_en_cours_ = false;
  int point_choisi_ = -1;
  bool glisse_ = false;
  bool agrandir_ = true;  // the held button grows the circle
  CtlPoolTimer Timer_cercle;
};

class EditeurAltitudes : public QWidget {
  Q_OBJECT
 public:
  EditeurAltitudes(QWidget* parent, Param_video& v, const DessinTrajectoire& dessin);
  // Places the markers at the record's altitudes for a profile topped at `sommet`.
  void placer_marqueurs(double sommet);

 signals:
  // A marker (1..7) was let go at row y: the computation sets its altitude.
  void altitude_tiree(int point, int y);
  void change(bool grossier);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  int marqueur_sous(QPoint pt) const;
  int borne_sous(QPoint pt) const;
  void lacher_borne();

  Param_video& v_;
  const DessinTrajectoire& dessin_;
  std::array<int, 8> marqueurs_{};  // rows of altitude points 1..7
  int marqueur_choisi_ = 0;
  int borne_choisie_ = 0;  // 1 first, 2 last frame line
};
