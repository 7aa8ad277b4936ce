#include "app/images_qt.h"

#include <QByteArray>
#include <QImage>

#include "components/gif.h"
#include "fenetres/fenetres.h"
#include "fenetres/image_qt.h"
#include "render/image.h"

namespace {

// A size no view holds is refused on the header, before any pixel is made.
bool taille_de_vue(std::int64_t largeur, std::int64_t hauteur, std::string* raison) {
  if (largeur <= kTailleImageMax && hauteur <= kTailleImageMax) return true;
  if (raison)
    *raison = "it claims " + std::to_string(largeur) + " x " + std::to_string(hauteur) +
              " pixels; a view's picture is at most " + std::to_string(kTailleImageMax) + " x " +
              std::to_string(kTailleImageMax);
  return false;
}

// An indexed frame (1 or 8 bits a pixel) straight into an opaque picture, so
// that no 32-bit copy of the toolkit's stands between the two.
render::Bitmap bitmap_indexe(const QImage& image) {
  const QList<QRgb> table = image.colorTable();
  auto couleur = [&table](int k) { return 0xFF000000u | (k < table.size() ? table[k] : 0u); };
  render::Bitmap b(image.width(), image.height());
  const bool mono = image.format() == QImage::Format_Mono;
  for (int y = 0; y < b.height(); ++y) {
    const uchar* s = image.constScanLine(y);
    render::Pixel* d = b.row(y);
    for (int x = 0; x < b.width(); ++x) d[x] = couleur(mono ? (s[x >> 3] >> (7 - (x & 7))) & 1 : s[x]);
  }
  return b;
}

// The first frame of a GIF file as an opaque picture; its size is checked
// before it is decoded.
std::optional<render::Bitmap> lire_gif(const std::string& octets, std::string* raison) {
  QImage image;
  try {
    components::TGIFImage gif;
    gif.DecodeOnLoad = false;
    gif.LoadFromStream(QByteArray::fromStdString(octets));
    if (gif.Count() == 0) return std::nullopt;
    if (!taille_de_vue(gif.Frame(0).Width(), gif.Frame(0).Height(), raison)) return std::nullopt;
    image = gif.Frame(0).Bitmap();
  } catch (const std::exception&) {
    if (raison) *raison = "the GIF picture cannot be decoded";
    return std::nullopt;
  }
  if (image.isNull()) {
    if (raison) *raison = "the GIF picture cannot be decoded";
    return std::nullopt;
  }
  if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_Indexed8) return bitmap_indexe(image);
  return bitmap_qt(image);
}

}  // namespace

std::optional<render::Bitmap> lire_image_vue(const std::string& chemin, std::string* raison, std::string* octets_lus) {
  std::optional<std::string> octets =
      render::lire_octets_image(chemin, raison, render::GenreImage::inconnu,
                                std::int64_t(kTailleImageMax) * kTailleImageMax);
  if (!octets) return std::nullopt;
  if (render::genre_image(*octets) == render::GenreImage::gif) return lire_gif(*octets, raison);
  std::int64_t largeur = 0, hauteur = 0;
  if (!render::taille_image(*octets, largeur, hauteur, raison) || !taille_de_vue(largeur, hauteur, raison))
    return std::nullopt;
  render::Bitmap image;
  if (!render::decoder_image(*octets, image, raison)) return std::nullopt;
  if (octets_lus) *octets_lus = std::move(*octets);
  return image;
}
