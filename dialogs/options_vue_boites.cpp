// The view options pages' small widgets and control builders.
#include "dialogs/options_vue_boites.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include "controls/checkbox.h"
#include "controls/trackbar.h"
#include "model/aleatoire.h"
#include "render/palette.h"

using namespace fenetres;

namespace dialogs {

// ---------------------------------------------------------------- builders

QLabel* etiquette(QWidget* page, const QString& texte, QRect g) {
  auto* l = new QLabel(texte, page);
  l->setGeometry(g);
  return l;
}

QLineEdit* zone_saisie(QWidget* page, const char* nom, QRect g, int longueur) {
  auto* e = new QLineEdit(page);
  e->setObjectName(nom);
  e->setGeometry(g);
  if (longueur) e->setMaxLength(longueur);
  return e;
}

CtlCheckBox* coche(QWidget* page, const char* nom, const QString& texte, QRect g) {
  auto* c = new CtlCheckBox(page);
  c->setObjectName(nom);
  c->SetCaption(texte);
  c->setGeometry(g);
  return c;
}

CtlTrackBar* glissiere(QWidget* page, const char* nom, int minimum, int maximum, QRect g) {
  auto* t = new CtlTrackBar(page);
  t->setObjectName(nom);
  t->SetMinValue(minimum);
  t->SetMaxValue(maximum);
  t->setGeometry(g);
  return t;
}

QScrollBar* barre(QWidget* page, const char* nom, Qt::Orientation o, int minimum, int maximum, QRect g) {
  QScrollBar* b = barre_defilement(page, o, minimum, maximum, 1, 10, nullptr);
  b->setObjectName(nom);
  b->setGeometry(g);
  return b;
}

void placer(CtlTrackBar* t, int position) {
  const QSignalBlocker b(t);
  t->SetPosition(position);
}

FiltreSouris::FiltreSouris(QWidget* cible, bool garder) : QObject(cible), garder_(garder) {
  cible->installEventFilter(this);
}

bool FiltreSouris::eventFilter(QObject*, QEvent* e) {
  const auto point = [e] { return static_cast<QMouseEvent*>(e)->position().toPoint(); };
  switch (e->type()) {
    case QEvent::MouseButtonPress:
      if (!appui) return false;
      appui(point());
      return garder_;
    case QEvent::MouseMove:
      if (deplacement) deplacement(point());
      return false;
    case QEvent::MouseButtonRelease:
      if (!relache) return false;
      relache(point());
      return garder_;
    default: return false;
  }
}

// ---------------------------------------------------------------- Scale box

void BoiteEchelle::montrer(const QImage& vignette, Rectangle r, bool rectangle_sur_vignette) {
  vignette_ = vignette;
  rectangle_ = r;
  sur_vignette_ = rectangle_sur_vignette;
  update();
}

void BoiteEchelle::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (vignette_.isNull())
    p.fillRect(rect(), QColor(128, 128, 128));
  else
    p.drawImage(0, 0, vignette_);
  if (!rectangle_visible()) return;
  p.setPen(Qt::red);
  p.setBrush(Qt::NoBrush);
  p.drawRect(rectangle_.gauche, rectangle_.haut, rectangle_.droite - rectangle_.gauche - 1,
             rectangle_.bas - rectangle_.haut - 1);
}

// ---------------------------------------------------------------- stepping buttons

BoutonPas::BoutonPas(const QString& texte, QWidget* parent) : QAbstractButton(parent) {
  setText(texte);
  setFocusPolicy(Qt::NoFocus);
}

BoutonPas::BoutonPas(const char* nom, const QString& texte, QRect g, QWidget* parent) : BoutonPas(texte, parent) {
  setObjectName(nom);
  setGeometry(g);
}

void BoutonPas::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient g(0, 0, 0, height());
  g.setColorAt(0, isDown() ? Qt::white : QColor(0, 255, 255));
  g.setColorAt(1, isDown() ? QColor(0, 255, 255) : QColor(0, 0, 255));
  p.fillRect(rect(), isEnabled() ? QBrush(g) : QBrush(Qt::lightGray));
  p.setPen(Qt::darkGray);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setPen(!isEnabled() ? Qt::gray : isDown() ? Qt::black : Qt::white);
  p.drawText(rect(), Qt::AlignCenter, text());
}

// ---------------------------------------------------------------- Colours charts

namespace {

QColor couleur(const TMyPalette* p, int entree) {
  if (!p) return Qt::white;
  const Rgb c = p->lire_couleur(static_cast<std::uint16_t>(entree));
  return QColor(c.r, c.g, c.b);
}

// The ramp of colour slot `slot` across the box between rows y1 and y2.
void rampe(QPainter& p, const TMyPalette* palette, int largeur, int y1, int y2, int slot) {
  const int s = palette->facteur();
  const double cellule = largeur / 12.0 / s;
  for (int k = 1; k <= 12 * s; ++k) {
    const int x1 = Round(cellule * (k - 1)), x2 = Round(cellule * k) + 1;
    p.fillRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), couleur(palette, 18 + 12 * s * (slot - 1) + k));
  }
}

}  // namespace

void BoitePalette::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (!palette_) return;
  const int W = width(), H = height(), s = palette_->facteur();
  const GeometriePalette g = geometrie_palette(H);
  p.fillRect(0, 0, W, g.u, couleur(palette_, 1));  // sky
  rampe(p, palette_, W, g.u, 2 * g.u, 3);           // rock
  rampe(p, palette_, W, 2 * g.u, 3 * g.u, 1);       // soil
  rampe(p, palette_, W, 3 * g.u, 4 * g.u, 2);       // grass
  rampe(p, palette_, W, 4 * g.u, 4 * g.u + g.h, 4);  // trees 1
  rampe(p, palette_, W, 4 * g.u + g.h, g.b, 5);      // trees 2
  // The two mean colours as thin ramps across the soil band's edges.
  rampe(p, palette_, W, 3 * g.u - 5, 3 * g.u + 5, 8);
  rampe(p, palette_, W, 2 * g.u - 5, 2 * g.u + 5, 9);
  const int uni[4] = {5, 7, 12 * 6 * s + 18, 12 * 7 * s + 18};  // trunk, sea, snow, sand
  for (int k = 0; k < 4; ++k) {
    const QRect bande(0, g.b + k * g.r, W, g.r);
    p.fillRect(bande, couleur(palette_, uni[k]));
    if (k >= 2) {
      p.setPen(Qt::black);
      p.setBrush(Qt::NoBrush);
      p.drawRect(bande.adjusted(0, 0, -1, -1));
    }
  }
  // Rivers: short dashes along the first band below the ramps.
  p.setPen(QPen(couleur(palette_, 7), 2));
  for (int k = 0; k < 13; ++k) {
    const int x = 4 + k * W / 13;
    p.drawLine(x, g.b + g.r / 2, x + 8, g.b + g.r / 2);
  }
}

void BoiteFleche::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int y = fleche_y(niveau_, height());
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawRect(QRect(QPoint(13, y - 3), QPoint(28, y + 2)));
  const QPoint triangle[3] = {{1, y}, {13, y - 7}, {13, y + 6}};
  p.drawPolygon(triangle, 3);
}

void BoiteCouleur::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), couleur(palette_, entree_));
}

void Jauge::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.fillRect(0, 0, width() * std::clamp(valeur_, 0, 255) / 255, height(), couleur_);
  p.setPen(Qt::gray);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace dialogs
