// Building blocks of the option dialogs' pages: the scroll-code adapter over a
// platform scroll bar, the preview box that renders outside its paint handler,
// the flat page tabs and the up-down. Each reports the user's actions only;
// setting a value from code fires nothing.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

#include "render/raster.h"

class QScrollBar;
class QStackedWidget;
class QToolButton;

namespace fenetres {

// Places a new control at `geometrie` with its tooltip, and returns it.
template <class Controle>
Controle* placer(Controle* c, const QRect& geometrie, const QString& bulle) {
  c->setGeometry(geometrie);
  c->setToolTip(bulle);
  return c;
}

// The platform's scroll codes, as the pages' handlers read them.
enum CodeDefilement : int {
  kLigneHaut = 0,
  kLigneBas = 1,
  kPageHaut = 2,
  kPageBas = 3,
  kPouceLache = 4,
  kPouceBouge = 5,
  kDebut = 6,
  kFin = 7,
  kFinDefilement = 8,
};

// Reports a scroll bar's user actions as scroll codes with the bar's position:
// line and page steps, then 8 when the mouse button or the key is released; a
// drag gives 5 at each move, then 4 and 8. The bar's own setValue reports nothing.
class AdaptateurDefilement : public QObject {
  Q_OBJECT
 public:
  explicit AdaptateurDefilement(QScrollBar* barre);
  QScrollBar* barre() const { return barre_; }

 signals:
  void defilement(int code, int position);

 protected:
  bool eventFilter(QObject* objet, QEvent* e) override;

 private:
  void action(int action);
  void fin_pas();
  QScrollBar* barre_;
  bool pas_en_cours_ = false;  // a step waits for its end-of-scroll code
  bool roue_ = false;          // the current action comes from the wheel
};

// A scroll bar with its adapter, built together (the pages' bars).
QScrollBar* barre_defilement(QWidget* parent, Qt::Orientation sens, int min, int max, int ligne, int page,
                             AdaptateurDefilement** adaptateur);

// A preview picture of the widget's size. invalidate() schedules one render
// (zero-delay, coalesced) through the render function, then repaints; the
// paint handler only draws the picture made last.
class PreviewBox : public QWidget {
  Q_OBJECT
 public:
  using Rendu = std::function<void(render::Bitmap&)>;
  PreviewBox(QWidget* parent, int largeur, int hauteur);

  void fixer_rendu(Rendu rendu) { rendu_ = std::move(rendu); }
  void invalidate();
  // Runs a pending render now (tests, and callers that must show it at once).
  void calculer();
  bool a_refaire() const { return sale_; }
  const render::Bitmap& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  Rendu rendu_;
  render::Bitmap image_;
  QTimer minuterie_;
  bool sale_ = false;
};

// Flat page tabs over a stack of pages, each page with its code; the active
// tab is highlighted. `change` comes from the user only: a click on a tab, or
// the keys of a page control anywhere in its window (Ctrl+Tab and
// Ctrl+PageDown to the next page, Ctrl+Shift+Tab and Ctrl+PageUp to the one
// before, round the ends), which choose a tab as a click does.
class OngletsPlats : public QWidget {
  Q_OBJECT
 public:
  explicit OngletsPlats(QWidget* parent = nullptr);
  QWidget* ajouter_page(int code, const QString& titre);  // the new page, owned by the stack
  void montrer(int code);
  int code_actif() const { return actif_; }
  QWidget* page(int code) const;
  QToolButton* onglet(int code) const;
  bool surligne(int code) const;
  QStackedWidget* pile() const { return pile_; }

 signals:
  void change(int code);

 protected:
  void resizeEvent(QResizeEvent*) override;
  void changeEvent(QEvent* e) override;

 private:
  void disposer();  // the tabs from the leading edge: the left, or the right read right to left
  void choisir(int code);  // the user's choice of a tab
  // The user's step to the next (pas 1) or the previous (-1) tab that a click
  // could choose (enabled and not hidden).
  void voisin(int pas);
  QWidget* barre_ = nullptr;
  QStackedWidget* pile_ = nullptr;
  std::vector<int> codes_;
  std::map<int, QToolButton*> onglets_;
  std::map<int, QWidget*> pages_;
  int actif_ = 0;
};

// Two small arrow buttons stepping a position between a minimum and a maximum
// (the up arrow adds 1). `clic` comes from the user's clicks only.
class HautBas : public QWidget {
  Q_OBJECT
 public:
  explicit HautBas(QWidget* parent = nullptr);
  void fixer_bornes(int min, int max);
  void fixer_position(int p);
  int position() const { return position_; }
  int minimum() const { return min_; }
  int maximum() const { return max_; }
  void monter() { pas(1); }
  void descendre() { pas(-1); }

 signals:
  void clic(int position);

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  void pas(int d);
  QToolButton* haut_ = nullptr;
  QToolButton* bas_ = nullptr;
  int min_ = 0, max_ = 100, position_ = 0;
};

}  // namespace fenetres
