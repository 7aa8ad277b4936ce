// The map editor's side panels: the altitude panel (the altitude under the
// mouse, the gauge and its scale) and the tree and ground brush panels that
// show under the tool bar for their tool.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "dialogs/edition_session.h"
#include "model/records.h"

class CtlSpeedButton;
class QLabel;
class QRadioButton;
class QScrollBar;

namespace dialogs {

// The gauge: shows its prepared picture.
class ZoneJauge : public QWidget {
 public:
  using QWidget::QWidget;
  QImage image;

 protected:
  void paintEvent(QPaintEvent*) override;
};

// The altitude panel on the editor's right. A click in context-help mode
// (when `aide` says so) shows its help topic.
class PanneauAltitude : public QWidget {
 public:
  PanneauAltitude(QWidget* parent, std::function<bool()> aide);
  // The altitude under the mouse, and the gauge from the last one shown to it.
  void afficher(std::int32_t altitude);
  void effacer();
  std::int32_t altitude_jauge() const { return altitude_jauge_; }

  QLabel* Label_altitude = nullptr;
  ZoneJauge* jauge = nullptr;  // 11 x 315

 protected:
  void mousePressEvent(QMouseEvent* m) override;

 private:
  std::function<bool()> aide_;
  std::int32_t altitude_jauge_ = -4001;  // -4001: none
};

// A ground colour swatch: a filled rectangle, outlined when selected.
class Nuancier : public QWidget {
 public:
  Nuancier(QWidget* parent, std::function<void()> clic) : QWidget(parent), clic_(std::move(clic)) {}
  QColor couleur;
  bool choisi = false;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override { clic_(); }

 private:
  std::function<void()> clic_;
};

// The view colour of ground kind 1..5 (1: grass).
QColor couleur_sol(const param_vue& v, int genre);

// The tree brush (size and kind) and the ground brush (kind and width), both
// on the tool bar's panel, editing the session's brushes.
class PanneauxPinceaux {
 public:
  PanneauxPinceaux(QWidget* barre, Pinceaux& pinceaux, const param_vue& vue);
  // Shows the panel of the tool (Tree or Color), none for the others.
  void montrer(int outil);
  void choisir_sol(int genre);

  QWidget* Panel_arb = nullptr;
  QScrollBar* ScrollBar_taille = nullptr;
  QLabel* Label_hauteur = nullptr;
  QRadioButton *RadioButton_p1 = nullptr, *RadioButton_p2 = nullptr;
  QWidget* Panel_coul = nullptr;
  std::array<Nuancier*, 5> nuanciers{};        // Shape_vert, _terre, _rocher, _neige, _sable
  std::array<CtlSpeedButton*, 4> epaisseurs{};  // SpeedButton_1..4: widths 1, 2, 4, 8

 private:
  void construire_arbres(QWidget* barre);
  void construire_couleurs(QWidget* barre);
  void affiche_arbres();
  void affiche_couleurs();
  Pinceaux& pinceaux_;
  const param_vue& vue_;
};

}  // namespace dialogs
