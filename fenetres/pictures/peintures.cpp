// The program's own pictures, painted once by `ctlpack pictures` into the
// list files that the image data module reads at start-up, and by the tests
// that compare those files with the painters.
#include "fenetres/pictures/peintures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

const QColor kMagenta(255, 0, 255);

using Painter = std::function<void(QPainter&)>;

QImage Canvas(int w, int h, const QColor& bg) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(bg);
  return img;
}

// A 16 x 16 drawing on magenta, with its disabled look in the second cell.
QImage TwoCellGlyph(int cell, const Painter& draw) {
  QImage up = Canvas(cell, cell, kMagenta);
  {
    QPainter p(&up);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.scale(cell / 16.0, cell / 16.0);
    draw(p);
  }
  // Keep the bottom-left pixel the transparent colour.
  up.setPixel(0, cell - 1, kMagenta.rgb());
  QImage grey = up;
  for (int y = 0; y < cell; ++y)
    for (int x = 0; x < cell; ++x) {
      QRgb c = up.pixel(x, y);
      if ((c & 0xFFFFFF) == (kMagenta.rgb() & 0xFFFFFF)) continue;
      int v = qGray(c) > 150 ? 255 : 128;
      grey.setPixel(x, y, qRgb(v, v, v));
    }
  QImage both = Canvas(2 * cell, cell, kMagenta);
  QPainter p(&both);
  p.drawImage(0, 0, up);
  p.drawImage(cell, 0, grey);
  return both;
}

void Pen(QPainter& p, const QColor& c, int w = 1) { p.setPen(QPen(c, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin)); }

// The tool bar and dialog glyphs, one painter each, in SmallIcon order.
std::vector<Painter> SmallIconPainters() {
  const QColor black(0, 0, 0), navy(0, 0, 128), green(0, 128, 0), red(192, 0, 0), yellow(255, 255, 0),
      brown(128, 64, 0), grey(128, 128, 128), white(255, 255, 255), blue(0, 64, 255), sky(128, 192, 255);
  auto mountain = [=](QPainter& p, int dy) {
    Pen(p, black);
    p.setBrush(brown);
    p.drawPolygon(QPolygon({QPoint(1, 13 + dy), QPoint(6, 4 + dy), QPoint(9, 8 + dy), QPoint(11, 6 + dy), QPoint(15, 13 + dy)}));
    p.setBrush(white);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygon({QPoint(5, 6 + dy), QPoint(6, 4 + dy), QPoint(8, 7 + dy)}));
  };
  return {
      [=](QPainter& p) {  // open: a folder
        Pen(p, black);
        p.setBrush(yellow);
        p.drawRect(1, 5, 13, 8);
        p.drawRect(1, 3, 5, 2);
        p.setBrush(QColor(224, 192, 0));
        p.drawPolygon(QPolygon({QPoint(3, 8), QPoint(15, 8), QPoint(13, 13), QPoint(1, 13)}));
      },
      [=](QPainter& p) {  // cancel: a red cross
        Pen(p, red, 2);
        p.drawLine(4, 4, 11, 11);
        p.drawLine(11, 4, 4, 11);
      },
      [=](QPainter& p) {  // save: a disk
        Pen(p, black);
        p.setBrush(navy);
        p.drawRect(2, 2, 12, 12);
        p.setBrush(white);
        p.drawRect(4, 2, 8, 5);
        p.setBrush(grey);
        p.drawRect(5, 10, 6, 4);
      },
      [=](QPainter& p) { mountain(p, 0); Pen(p, yellow); p.drawLine(12, 1, 12, 4); p.drawLine(11, 2, 13, 2); },  // new
      [=](QPainter& p) {  // creation options: a mountain and a slider
        mountain(p, -2);
        Pen(p, navy);
        p.drawLine(2, 14, 13, 14);
        p.setBrush(grey);
        p.drawRect(8, 12, 2, 3);
      },
      [=](QPainter& p) {  // editor: a pencil over a map
        Pen(p, grey);
        p.setBrush(QColor(192, 224, 160));
        p.drawRect(1, 3, 11, 11);
        Pen(p, black);
        p.setBrush(yellow);
        p.drawPolygon(QPolygon({QPoint(6, 12), QPoint(14, 4), QPoint(15, 5), QPoint(7, 13)}));
      },
      [=](QPainter& p) {  // view: an eye
        Pen(p, black);
        p.setBrush(white);
        p.drawEllipse(1, 4, 14, 8);
        p.setBrush(blue);
        p.drawEllipse(5, 5, 6, 6);
      },
      [=](QPainter& p) {  // refresh: a turning arrow
        Pen(p, green, 2);
        p.drawArc(3, 3, 10, 10, 30 * 16, 280 * 16);
        p.setBrush(green);
        p.drawPolygon(QPolygon({QPoint(11, 1), QPoint(14, 5), QPoint(9, 6)}));
      },
      [=](QPainter& p) {  // view options: an eye and a slider
        Pen(p, black);
        p.setBrush(white);
        p.drawEllipse(1, 2, 14, 7);
        p.setBrush(blue);
        p.drawEllipse(6, 3, 4, 4);
        Pen(p, navy);
        p.drawLine(2, 13, 13, 13);
        p.setBrush(grey);
        p.drawRect(4, 11, 2, 3);
      },
      [=](QPainter& p) {  // video: a film strip
        Pen(p, black);
        p.setBrush(black);
        p.drawRect(2, 1, 11, 13);
        p.setBrush(sky);
        p.drawRect(5, 3, 5, 4);
        p.drawRect(5, 8, 5, 4);
        Pen(p, white);
        for (int y = 2; y < 14; y += 3) {
          p.drawPoint(3, y);
          p.drawPoint(12, y);
        }
      },
      [=](QPainter& p) {  // video options: film and slider
        Pen(p, black);
        p.setBrush(black);
        p.drawRect(3, 1, 9, 9);
        p.setBrush(sky);
        p.drawRect(5, 3, 5, 5);
        Pen(p, navy);
        p.drawLine(2, 13, 13, 13);
        p.setBrush(grey);
        p.drawRect(9, 11, 2, 3);
      },
      [=](QPainter& p) {  // import: an arrow into a box
        Pen(p, black);
        p.setBrush(white);
        p.drawRect(2, 7, 12, 7);
        Pen(p, green, 2);
        p.drawLine(8, 1, 8, 9);
        p.drawLine(5, 6, 8, 9);
        p.drawLine(11, 6, 8, 9);
      },
      [=](QPainter& p) {  // explorer: a small tree of nodes
        Pen(p, black);
        p.drawLine(3, 3, 3, 12);
        p.drawLine(3, 7, 7, 7);
        p.drawLine(3, 12, 7, 12);
        p.setBrush(yellow);
        p.drawRect(1, 1, 4, 3);
        p.setBrush(sky);
        p.drawRect(7, 5, 7, 4);
        p.drawRect(7, 10, 7, 4);
      },
      [=](QPainter& p) {  // index: a book
        Pen(p, black);
        p.setBrush(navy);
        p.drawRect(3, 1, 10, 13);
        p.setBrush(white);
        p.drawRect(5, 3, 6, 3);
      },
      [=](QPainter& p) {  // help: a question mark
        Pen(p, black);
        p.setBrush(yellow);
        p.drawEllipse(1, 1, 13, 13);
        Pen(p, navy, 2);
        p.drawArc(5, 3, 6, 5, 0, 180 * 16);
        p.drawLine(10, 6, 8, 8);
        p.drawLine(8, 8, 8, 9);
        p.drawPoint(8, 12);
      },
      [=](QPainter& p) {  // exit: a door
        Pen(p, black);
        p.setBrush(brown);
        p.drawRect(3, 1, 9, 13);
        p.setBrush(yellow);
        p.drawRect(9, 7, 1, 1);
        Pen(p, red, 2);
        p.drawLine(12, 8, 15, 8);
      },
      [=](QPainter& p) {  // ok: a green tick
        Pen(p, green, 2);
        p.drawLine(3, 8, 6, 11);
        p.drawLine(6, 11, 13, 4);
      },
      [=](QPainter& p) {  // print: a printer
        Pen(p, black);
        p.setBrush(grey);
        p.drawRect(1, 6, 14, 6);
        p.setBrush(white);
        p.drawRect(4, 2, 8, 4);
        p.drawRect(4, 10, 8, 4);
      },
      [=](QPainter& p) {  // copy: two sheets
        Pen(p, black);
        p.setBrush(white);
        p.drawRect(2, 2, 7, 9);
        p.drawRect(6, 5, 7, 9);
      },
      [=](QPainter& p) {  // trees
        Pen(p, black);
        p.setBrush(green);
        p.drawPolygon(QPolygon({QPoint(5, 1), QPoint(9, 10), QPoint(1, 10)}));
        p.drawPolygon(QPolygon({QPoint(11, 4), QPoint(15, 12), QPoint(7, 12)}));
        p.setBrush(brown);
        p.drawRect(4, 10, 1, 3);
        p.drawRect(10, 12, 1, 2);
      },
      [=](QPainter& p) {  // refine: a finer mountain
        mountain(p, 0);
        Pen(p, black);
        for (int x = 4; x < 14; x += 3) p.drawPoint(x, 11);
      },
      [=](QPainter& p) {  // duplicate: two mountains
        Pen(p, black);
        p.setBrush(brown);
        p.drawPolygon(QPolygon({QPoint(1, 10), QPoint(5, 3), QPoint(9, 10)}));
        p.drawPolygon(QPolygon({QPoint(6, 14), QPoint(10, 7), QPoint(14, 14)}));
      },
      [=](QPainter& p) {  // close: a window with a cross
        Pen(p, black);
        p.setBrush(white);
        p.drawRect(1, 2, 13, 11);
        p.setBrush(navy);
        p.drawRect(1, 2, 13, 3);
        Pen(p, red);
        p.drawLine(5, 7, 10, 11);
        p.drawLine(10, 7, 5, 11);
      },
  };
}

QImage Tile(int w, int h, const QColor& a, const QColor& b) {
  QImage img = Canvas(w, h, a);
  QPainter p(&img);
  p.setPen(b);
  for (int y = 0; y < h; y += 4)
    for (int x = (y / 4) % 2 * 2; x < w; x += 4) p.drawPoint(x, y);
  p.setPen(a.lighter(110));
  for (int x = 0; x < w; x += 8) p.drawLine(x, 0, x + h / 2, h - 1);
  return img;
}

QImage Landscape(int w, int h, bool title) {
  QImage img = Canvas(w, h, Qt::white);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  QLinearGradient sky(0, 0, 0, h * 0.6);
  sky.setColorAt(0, QColor(40, 90, 190));
  sky.setColorAt(1, QColor(200, 225, 250));
  p.fillRect(QRect(0, 0, w, h), sky);
  auto ridge = [&](double base, double amp, double freq, const QColor& c, double phase) {
    QPainterPath path;
    path.moveTo(0, h);
    for (int x = 0; x <= w; x += 2) {
      double t = x / static_cast<double>(w);
      double y = base - amp * (0.6 * std::sin(t * freq + phase) + 0.3 * std::sin(t * freq * 2.7 + 1.3 * phase) +
                               0.1 * std::sin(t * freq * 7.1 + phase));
      path.lineTo(x, y * h);
    }
    path.lineTo(w, h);
    path.closeSubpath();
    p.fillPath(path, c);
  };
  ridge(0.55, 0.25, 5.0, QColor(120, 120, 140), 0.3);
  ridge(0.68, 0.18, 7.0, QColor(90, 110, 70), 1.7);
  ridge(0.82, 0.10, 11.0, QColor(60, 100, 40), 2.9);
  p.fillRect(QRect(0, static_cast<int>(h * 0.9), w, h), QColor(40, 80, 150));
  if (title) {
    QFont f;
    f.setPixelSize(h / 7);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(255, 255, 255, 220));
    p.drawText(QRect(0, h / 10, w, h / 4), Qt::AlignCenter, "Quorvel");
  }
  return img;
}

QImage Logo(int s) {
  QImage img = Canvas(s, s, QColor(200, 225, 250));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(110, 80, 50));
  p.drawPolygon(QPolygonF({QPointF(0, s), QPointF(s * 0.4, s * 0.2), QPointF(s * 0.6, s * 0.45), QPointF(s * 0.75, s * 0.3),
                           QPointF(s, s)}));
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({QPointF(s * 0.32, s * 0.33), QPointF(s * 0.4, s * 0.2), QPointF(s * 0.5, s * 0.32)}));
  p.setBrush(QColor(40, 110, 40));
  p.drawRect(QRectF(0, s * 0.85, s, s * 0.15));
  return img;
}

// Check-box marks: unchecked, unchecked disabled, checked, checked disabled, grayed, grayed disabled.
QImage CheckMarks(int cell) {
  QImage img = Canvas(cell * 6, cell, kMagenta);
  QPainter p(&img);
  for (int k = 0; k < 6; ++k) {
    bool disabled = k % 2 == 1;
    QRect box(k * cell, 0, cell - 1, cell - 1);
    p.setPen(QColor(128, 128, 128));
    p.setBrush(disabled ? QColor(192, 192, 192) : (k >= 4 ? QColor(224, 224, 224) : Qt::white));
    p.drawRect(box);
    if (k >= 2) {
      p.setPen(QPen(disabled || k >= 4 ? QColor(128, 128, 128) : Qt::black, 2));
      p.drawLine(box.left() + 3, box.top() + cell / 2, box.left() + cell / 2 - 1, box.bottom() - 3);
      p.drawLine(box.left() + cell / 2 - 1, box.bottom() - 3, box.right() - 3, box.top() + 3);
    }
  }
  return img;
}


// Image k of an item packed into one strip of `count` cells.
QImage Strip(int cell_w, int cell_h, const std::vector<QImage>& cells) {
  QImage strip = Canvas(cell_w * static_cast<int>(cells.size()), cell_h, kMagenta);
  QPainter p(&strip);
  for (std::size_t k = 0; k < cells.size(); ++k) p.drawImage(cell_w * static_cast<int>(k), 0, cells[k]);
  return strip;
}

}  // namespace

namespace pictures {

std::vector<QImage> SmallIcons() {
  std::vector<QImage> out;
  for (const Painter& paint : SmallIconPainters()) out.push_back(TwoCellGlyph(16, paint));
  return out;
}

std::vector<QImage> GlyphsOfSize(int cell, const std::vector<int>& which) {
  const auto painters = SmallIconPainters();
  std::vector<QImage> out;
  for (int i : which) out.push_back(TwoCellGlyph(cell, painters[static_cast<std::size_t>(i)]));
  return out;
}

std::vector<QImage> LargeImages() { return {Logo(32), Landscape(32, 32, false)}; }

QImage BitmapPicture(int index) {
  switch (index) {
    case 0: return Tile(64, 64, QColor(176, 184, 200), QColor(150, 160, 180));
    case 1: return Tile(64, 64, QColor(200, 208, 192), QColor(176, 188, 168));
    case 2: return Tile(64, 64, QColor(216, 208, 184), QColor(192, 184, 160));
    case 3: return Landscape(400, 260, true);
    case 4: return Logo(41);
    case 5: return Tile(64, 64, QColor(192, 200, 216), QColor(168, 176, 200));
    default: return QImage();
  }
}

QImage Marks() { return CheckMarks(13); }

void FillLists(CtlImageList& images, CtlBitmapList& bitmaps, CtlBitmapList& glyphs) {
  for (const ImageItem& spec : ImageItems()) {
    CtlImageListItem* item = images.AddItem(spec.width, spec.height, spec.description);
    const QImage strip = Strip(spec.width, spec.height, spec.images);
    item->Add(&strip);
  }
  for (int i = 0; i < kBitmapCount; ++i) bitmaps.AddBitmap(BitmapPicture(i), kBitmapNames[i]);
  glyphs.AddBitmap(Marks(), "Marks");
}

std::vector<ImageItem> ImageItems() {
  return {{"Petites icones", 32, 16, SmallIcons()},
          {"Grandes icones", 40, 20, GlyphsOfSize(20, {kOk, kCancel, kHelp, kOpen, kSave, kPrint, kCopy, kClose, kExit})},
          {"Moyennes icones ", 36, 18, GlyphsOfSize(18, {kOk, kCancel, kHelp, kRefresh})},
          {"Grandes images", 32, 32, LargeImages()}};
}

}  // namespace pictures
