// What a test sees of a widget's painting from outside: the paint events the
// widget receives, and where a colour lies in a picture of it.
#pragma once

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QWidget>

// Counts the paint events of the widget it watches (none: install it by hand).
struct CompteurPeintures : QObject {
  int peintures = 0;
  CompteurPeintures() = default;
  explicit CompteurPeintures(QWidget* w) { w->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++peintures;
    return false;
  }
};

// The smallest rectangle holding every pixel of that colour (empty: none).
inline QRect cadre_couleur(const QImage& image, QRgb couleur) {
  QRect r;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFFu) == (couleur & 0xFFFFFFu)) r |= QRect(x, y, 1, 1);
  return r;
}
