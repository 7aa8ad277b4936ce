#include "app/images_qt.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include "components/gif_plugin.h"

std::optional<image_rgb32> lire_image_vue(const std::string& chemin) {
  QImageReader lecteur;
  components::OpenPicture(lecteur, QFile::decodeName(QByteArray::fromStdString(chemin)));
  QImage image = lecteur.read();
  if (image.isNull()) return std::nullopt;
  image = image.convertToFormat(QImage::Format_RGB32);
  image_rgb32 r;
  r.largeur = image.width();
  r.hauteur = image.height();
  r.pixels.resize(static_cast<std::size_t>(r.largeur) * static_cast<std::size_t>(r.hauteur));
  for (int y = 0; y < r.hauteur; ++y) {
    const auto* ligne = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < r.largeur; ++x)
      r.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(r.largeur) + static_cast<std::size_t>(x)] =
          ligne[x] & 0x00FFFFFFu;
  }
  return r;
}
