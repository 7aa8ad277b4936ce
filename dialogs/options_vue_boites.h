// The small widgets of the view options pages: the Scale page's box shows
// the displayed view's thumbnail (or grey) with the picture's share outlined
// in red, set before the paint (the paint only draws); the Colours page's
// charts; the stepping buttons; and the builders the pages lay out their
// controls with, each control named after its component.
#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QScrollBar>
#include <QWidget>
#include <functional>

#include "dialogs/options_vue_calculs.h"
#include "fenetres/elements_pages.h"

class CtlCheckBox;
class CtlTrackBar;
class QLabel;
class QLineEdit;
class TMyPalette;

namespace dialogs {

// --- builders
QLabel* etiquette(QWidget* page, const QString& texte, QRect g);
// An edit; `longueur` bounds the text when not 0.
QLineEdit* zone_saisie(QWidget* page, const char* nom, QRect g, int longueur = 0);
CtlCheckBox* coche(QWidget* page, const char* nom, const QString& texte, QRect g);
CtlTrackBar* glissiere(QWidget* page, const char* nom, int minimum, int maximum, QRect g);
// A scroll bar with its scroll-code adapter (line step 1, page step 10).
QScrollBar* barre(QWidget* page, const char* nom, Qt::Orientation o, int minimum, int maximum, QRect g);
// Connects a bar's scroll codes: f(code, position).
template <class F>
void sur_defilement(QScrollBar* b, QObject* contexte, F f) {
  QObject::connect(b->findChild<fenetres::AdaptateurDefilement*>(), &fenetres::AdaptateurDefilement::defilement, contexte, f);
}
// A track bar's position set from code, which reports nothing.
void placer(CtlTrackBar* t, int position);
using fenetres::placer;  // and the controls' placing with a hint

// Hands a widget's mouse presses, moves and releases to the page. A press or
// a release with a handler is kept from the widget when `garder` is set.
class FiltreSouris : public QObject {
 public:
  FiltreSouris(QWidget* cible, bool garder);
  std::function<void(QPoint)> appui, deplacement, relache;

 protected:
  bool eventFilter(QObject* objet, QEvent* e) override;

 private:
  bool garder_;
};

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
  BoutonPas(const char* nom, const QString& texte, QRect g, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent*) override;
};

}  // namespace dialogs
