#include "fenetres/donnees_images.h"

#include <QPainter>
#include <iostream>

#include "controls/ctlerror.h"

namespace {

TData* g_data = nullptr;

const QColor kOlive(128, 128, 0);

QImage Canvas(int w, int h, const QColor& bg) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(bg);
  return img;
}

// A list file that is missing or does not read leaves the list empty.
void ReadList(CtlCustomContainer& list, const QString& resource) {
  try {
    list.LoadFromFile(resource);
  } catch (const CtlError& e) {
    std::cerr << "Pictures unavailable (" << resource.toStdString() << "): " << e.what() << std::endl;
  }
}

QImage TreeImages() {
  QImage strip = Canvas(16 * 8, 16, kOlive);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing, false);
  auto at = [&](int k) {
    p.resetTransform();
    p.translate(16 * k, 0);
  };
  auto mountain = [&](const QColor& c) {
    p.setPen(Qt::black);
    p.setBrush(c);
    p.drawPolygon(QPolygon({QPoint(1, 13), QPoint(6, 3), QPoint(9, 7), QPoint(11, 5), QPoint(14, 13)}));
  };
  at(0);
  mountain(QColor(160, 96, 32));
  at(1);  // view: a framed picture
  p.setPen(Qt::black);
  p.setBrush(QColor(128, 192, 255));
  p.drawRect(1, 3, 13, 10);
  p.setBrush(QColor(0, 128, 0));
  p.drawPolygon(QPolygon({QPoint(2, 12), QPoint(6, 7), QPoint(10, 12)}));
  at(2);
  p.setBrush(Qt::gray);
  p.drawEllipse(3, 3, 9, 9);
  at(3);
  p.setBrush(Qt::darkGray);
  p.drawRect(3, 3, 9, 9);
  at(4);
  mountain(QColor(255, 200, 0));
  at(5);  // editor: a pencil
  p.setBrush(QColor(255, 255, 0));
  p.drawPolygon(QPolygon({QPoint(2, 13), QPoint(12, 3), QPoint(14, 5), QPoint(4, 15)}));
  at(6);
  p.setBrush(Qt::lightGray);
  p.drawEllipse(4, 4, 7, 7);
  at(7);  // video: film
  p.setBrush(Qt::black);
  p.drawRect(2, 2, 11, 11);
  p.setBrush(QColor(128, 192, 255));
  p.drawRect(5, 4, 5, 6);
  return strip;
}

}  // namespace

TData::TData(bool with_pictures) {
  g_data = this;
  if (!with_pictures) return;
  ReadList(ImageList, ":/pictures/ImageList.iml");
  ReadList(BitmapList, ":/pictures/BitmapList.bmp");
  ReadList(GlyphsList, ":/pictures/GlyphsList.bmp");
  small_images_ = TreeImages();
}

TData::~TData() {
  if (g_data == this) g_data = nullptr;
}

TData* TData::Instance() { return g_data; }

QIcon TData::ProgramIcon() const {
  const QImage logo = ImageList.GetImage(images::kLargeImages, 0);
  if (logo.isNull()) return QIcon();
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(logo));
  icon.addPixmap(QPixmap::fromImage(logo.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
  return icon;
}

QImage TData::SmallImage(const QImage& strip, int index) {
  if (strip.isNull() || index < 0 || (index + 1) * 16 > strip.width()) return QImage();
  return strip.copy(index * 16, 0, 16, 16);
}
