#include "dialogs/edition_glyphes.h"

#include "dialogs/table_outils.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <map>

namespace dialogs {

namespace {

const QColor kBleu(0, 64, 224), kVert(0, 128, 0), kBrun(128, 80, 32), kRouge(208, 0, 0), kGris(96, 96, 96);

void croix_rouge(QPainter& p) {
  p.setPen(QPen(kRouge, 2));
  p.drawLine(9, 9, 14, 14);
  p.drawLine(9, 14, 14, 9);
}

void petit_arbre(QPainter& p, int x, int y) {
  p.setPen(Qt::NoPen);
  p.setBrush(kBrun);
  p.drawRect(x - 1, y + 2, 2, 5);
  p.setBrush(kVert);
  p.drawEllipse(QPoint(x, y), 4, 4);
}

void riviere(QPainter& p) {
  p.setPen(QPen(kBleu, 2));
  QPainterPath c(QPointF(1, 3));
  c.cubicTo(8, 3, 4, 12, 14, 13);
  p.setBrush(Qt::NoBrush);
  p.drawPath(c);
}

void montagne(QPainter& p, const QColor& c, int sommet) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(c);
  const QPoint pts[3] = {{1, 14}, {7, sommet}, {14, 14}};
  p.drawPolygon(pts, 3);
}

}  // namespace

// The tool bar's tools, one picture each.
namespace glyphes {

void curseur(QPainter& p) {
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  const QPoint pts[7] = {{3, 1}, {3, 13}, {6, 10}, {9, 15}, {11, 14}, {8, 9}, {12, 9}};
  p.drawPolygon(pts, 7);
}

void forme(QPainter& p) {
  montagne(p, kBrun, 2);
}

void cone(QPainter& p) {
  montagne(p, QColor(160, 120, 64), 1);
  p.setPen(Qt::black);
  p.drawLine(1, 14, 14, 14);
}

void col(QPainter& p) {
  // two summits and the saddle between
  p.setPen(QPen(kBrun, 2));
  QPainterPath c(QPointF(1, 13));
  c.lineTo(4, 3);
  c.quadTo(8, 12, 11, 3);
  c.lineTo(14, 13);
  p.drawPath(c);
}

void plateau(QPainter& p) {
  p.setPen(Qt::black);
  p.setBrush(kBrun);
  const QPoint pts[4] = {{1, 14}, {5, 5}, {10, 5}, {14, 14}};
  p.drawPolygon(pts, 4);
}

void vallee(QPainter& p) {
  riviere(p);
}

void couleur(QPainter& p) {
  // a brush over a green patch
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(64, 176, 64));
  p.drawRect(1, 9, 14, 6);
  p.setPen(QPen(kBrun, 2));
  p.drawLine(12, 1, 6, 9);
}

void lissage(QPainter& p) {
  // a flattened wave
  p.setPen(QPen(kBrun, 2));
  p.drawLine(1, 12, 5, 8);
  p.drawLine(5, 8, 10, 8);
  p.drawLine(10, 8, 14, 12);
}

void route(QPainter& p) {
  p.setPen(QPen(kGris, 1));
  p.drawLine(4, 15, 7, 0);
  p.drawLine(11, 15, 9, 0);
  p.setPen(QPen(Qt::white, 1));
  p.drawLine(8, 14, 8, 11);
  p.drawLine(8, 7, 8, 4);
}

void arbre(QPainter& p) {
  petit_arbre(p, 7, 6);
}

void cible(QPainter& p) {
  p.setPen(QPen(kRouge, 2));
  p.drawLine(3, 3, 12, 12);
  p.drawLine(3, 12, 12, 3);
}

void observateur(QPainter& p) {
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawEllipse(QPoint(7, 7), 5, 5);
  p.setBrush(Qt::black);
  p.drawEllipse(QPoint(7, 7), 1, 1);
}

void gomme_arbre(QPainter& p) {
  petit_arbre(p, 6, 5);
  croix_rouge(p);
}

void ruissellement(QPainter& p) {
  // drops
  p.setPen(Qt::NoPen);
  p.setBrush(kBleu);
  p.drawEllipse(QPoint(4, 4), 2, 2);
  p.drawEllipse(QPoint(10, 7), 2, 2);
  p.drawEllipse(QPoint(6, 12), 2, 2);
}

void gomme_sol(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(64, 176, 64));
  p.drawRect(1, 2, 10, 8);
  croix_rouge(p);
}

void gomme_riviere(QPainter& p) {
  riviere(p);
  croix_rouge(p);
}

void strate(QPainter& p) {
  p.setPen(QPen(kBrun, 1));
  for (int y = 3; y <= 13; y += 3) p.drawLine(1, y, 14, y - 2);
}

void relief(QPainter& p) {
  p.setPen(QPen(kBrun, 1));
  p.setBrush(QColor(200, 160, 96));
  p.drawEllipse(QPoint(5, 9), 4, 4);
  p.drawEllipse(QPoint(11, 6), 3, 3);
}

void copier(QPainter& p) {
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(1, 1, 8, 9);
  p.drawRect(6, 5, 8, 9);
}

void coller(QPainter& p) {
  // a clipboard
  p.setPen(Qt::black);
  p.setBrush(kBrun);
  p.drawRect(2, 2, 11, 13);
  p.setBrush(Qt::white);
  p.drawRect(4, 4, 7, 9);
  p.setBrush(kGris);
  p.drawRect(5, 0, 5, 3);
}

}  // namespace glyphes

namespace {

void dessiner(QPainter& p, int index) {
  if (index >= 0 && index < kNombreOutils) {
    ligne_en_position(index).glyphe(p);
    return;
  }
  switch (index) {
    case kGlypheAnnuler: {  // a turning arrow
      p.setPen(QPen(kBleu, 2));
      p.setBrush(Qt::NoBrush);
      p.drawArc(3, 3, 10, 10, 90 * 16, 270 * 16);
      p.setPen(Qt::NoPen);
      p.setBrush(kBleu);
      const QPoint pts[3] = {{8, 0}, {8, 6}, {4, 3}};
      p.drawPolygon(pts, 3);
      break;
    }
    case kGlypheZoom: {  // a magnifier
      p.setPen(QPen(Qt::black, 2));
      p.setBrush(QColor(200, 232, 255));
      p.drawEllipse(QPoint(6, 6), 4, 4);
      p.drawLine(9, 9, 14, 14);
      break;
    }
    case kGlypheNiveaux: {  // level curves
      p.setPen(QPen(kBrun, 1));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPoint(7, 8), 6, 5);
      p.drawEllipse(QPoint(7, 8), 4, 3);
      p.drawEllipse(QPoint(7, 8), 1, 1);
      break;
    }
    case kGlypheSauver: {  // a disk
      p.setPen(Qt::black);
      p.setBrush(QColor(48, 48, 160));
      p.drawRect(1, 1, 13, 13);
      p.setBrush(Qt::white);
      p.drawRect(4, 1, 7, 5);
      p.setBrush(kGris);
      p.drawRect(4, 9, 7, 5);
      break;
    }
    default: break;
  }
}

QCursor fabriquer_curseur(int id) {
  QPixmap image(32, 32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  QPoint point_chaud(0, 0);
  switch (id) {
    case 105: {  // "pointeur": a cross with an open centre
      p.setPen(QPen(Qt::white, 3));
      p.drawLine(15, 2, 15, 12);
      p.drawLine(15, 18, 15, 28);
      p.drawLine(2, 15, 12, 15);
      p.drawLine(18, 15, 28, 15);
      p.setPen(QPen(Qt::black, 1));
      p.drawLine(15, 2, 15, 12);
      p.drawLine(15, 18, 15, 28);
      p.drawLine(2, 15, 12, 15);
      p.drawLine(18, 15, 28, 15);
      point_chaud = {15, 15};
      break;
    }
    case 106: {  // "crayon": a pencil, tip at the bottom left
      p.setPen(Qt::black);
      p.setBrush(QColor(240, 200, 64));
      const QPoint corps[4] = {{4, 22}, {20, 6}, {25, 11}, {9, 27}};
      p.drawPolygon(corps, 4);
      p.setBrush(QColor(240, 220, 180));
      const QPoint pointe[3] = {{4, 22}, {9, 27}, {1, 30}};
      p.drawPolygon(pointe, 3);
      point_chaud = {1, 30};
      break;
    }
    case 107: {  // "arbre": a tree over a small cross
      p.setPen(Qt::NoPen);
      p.setBrush(kBrun);
      p.drawRect(14, 14, 4, 10);
      p.setPen(Qt::black);
      p.setBrush(kVert);
      p.drawEllipse(QPoint(16, 10), 8, 8);
      p.setPen(QPen(Qt::black, 1));
      p.drawLine(16, 24, 16, 30);
      p.drawLine(13, 27, 19, 27);
      point_chaud = {16, 27};
      break;
    }
    default: return QCursor(Qt::ArrowCursor);
  }
  p.end();
  return QCursor(image, point_chaud.x(), point_chaud.y());
}

}  // namespace

QImage glyphe_edition(int index) {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  dessiner(p, index);
  return image;
}

const QCursor& curseur_edition(int id) {
  static std::map<int, QCursor> curseurs;
  auto it = curseurs.find(id);
  if (it == curseurs.end()) it = curseurs.emplace(id, fabriquer_curseur(id)).first;
  return it->second;
}

}  // namespace dialogs
