// The small widgets of the view options dialog: the Scale page's box shows
// the displayed view's thumbnail (or grey) with the picture's share outlined
// in red, set before the paint (the paint only draws); the stepping buttons.
#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QWidget>

#include "dialogs/options_vue_calculs.h"

class TMyPalette;

namespace dialogs {

class BoiteEchelle : public QWidget {
 public:
  using QWidget::QWidget;
  // The thumbnail (null: grey), the rectangle and whether it is drawn over a thumbnail.
  void montrer(const QImage& vignette, Rectangle r, bool rectangle_sur_vignette);
  const Rectangle& rectangle() const { return rectangle_; }
  bool rectangle_visible() const { return vignette_.isNull() || sur_vignette_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QImage vignette_;
  Rectangle rectangle_;
  bool sur_vignette_ = false;
};

// The Colours page's charts, painted from the working palette (given again
// each time the dialog makes a new one): the palette of all levels, the arrow
// at the selected level, the selected colour's sample, a component gauge.
class BoitePalette : public QWidget {
 public:
  using QWidget::QWidget;
  void fixer_palette(const TMyPalette* p) {
    palette_ = p;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const TMyPalette* palette_ = nullptr;
};

class BoiteFleche : public QWidget {
 public:
  using QWidget::QWidget;
  void fixer_niveau(int i) {
    niveau_ = i;
    update();
  }
  int niveau() const { return niveau_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int niveau_ = 3;
};

class BoiteCouleur : public QWidget {
 public:
  using QWidget::QWidget;
  void montrer(const TMyPalette* p, int entree) {
    palette_ = p;
    entree_ = entree;
    update();
  }
  int entree() const { return entree_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const TMyPalette* palette_ = nullptr;
  int entree_ = 1;
};

class Jauge : public QWidget {
 public:
  Jauge(QColor couleur, QWidget* parent) : QWidget(parent), couleur_(couleur) {}
  void fixer_valeur(int v) {
    valeur_ = v;
    update();
  }
  int valeur() const { return valeur_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QColor couleur_;
  int valeur_ = 0;  // 0..255
};

// A small stepping button of the Framing page: painted white to aqua while
// held, aqua to blue otherwise; pressed() and released() come from QAbstractButton.
class BoutonPas : public QAbstractButton {
  Q_OBJECT
 public:
  explicit BoutonPas(const QString& texte, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent*) override;
};

}  // namespace dialogs
