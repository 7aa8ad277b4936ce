#include "fenetres/image_qt.h"

QImage image_qt(const render::Bitmap& b) {
  if (b.empty()) return QImage();
  return QImage(reinterpret_cast<const uchar*>(b.row(0)), b.width(), b.height(), b.width() * 4,
                QImage::Format_RGB32);
}

render::Bitmap bitmap_qt(const QImage& image) {
  const QImage i = image.convertToFormat(QImage::Format_RGB32);
  render::Bitmap b(i.width(), i.height());
  for (int y = 0; y < b.height(); ++y) {
    const auto* ligne = reinterpret_cast<const QRgb*>(i.constScanLine(y));
    render::Pixel* d = b.row(y);
    for (int x = 0; x < b.width(); ++x) d[x] = 0xFF000000u | ligne[x];
  }
  return b;
}
