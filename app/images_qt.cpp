#include "app/images_qt.h"

#include <QByteArray>
#include <QImage>

#include "components/gif.h"
#include "fenetres/image_qt.h"
#include "platform/fichiers.h"
#include "render/image.h"

namespace {

// The first frame of a GIF file as an opaque picture.
std::optional<render::Bitmap> lire_gif(const std::string& octets) {
  QImage image;
  try {
    components::TGIFImage gif;
    gif.LoadFromStream(QByteArray::fromStdString(octets));
    if (gif.Count() == 0) return std::nullopt;
    image = gif.Frame(0).Bitmap();
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (image.isNull()) return std::nullopt;
  return bitmap_qt(image);
}

}  // namespace

std::optional<render::Bitmap> lire_image_vue(const std::string& chemin, std::string* raison) {
  const std::optional<std::string> octets = lire_fichier(chemin, raison);
  if (!octets) return std::nullopt;
  if (render::genre_image(*octets) == render::GenreImage::gif) {
    auto gif = lire_gif(*octets);
    if (!gif && raison) *raison = "the GIF picture cannot be decoded";
    return gif;
  }
  render::Bitmap image;
  if (!render::decoder_image(*octets, image, raison)) return std::nullopt;
  return image;
}
