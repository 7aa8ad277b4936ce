// Height encoding of the picture shown to the user, the decoder, the mesh
// degree proposal and the frame geometry.
#include <algorithm>
#include <climits>
#include <cmath>

#include "import/importation.h"
#include "model/aleatoire.h"

Rgb encoder_hauteur(std::int32_t h, bool large) {
  if (h <= 0) return Rgb{0, 0, 255};
  const std::int32_t r = h % 4096;
  if (!large)
    return Rgb{static_cast<std::uint8_t>((r / 256) * 128 + 64), static_cast<std::uint8_t>(r % 256), 127};
  return Rgb{static_cast<std::uint8_t>(r % 256), static_cast<std::uint8_t>(255 - 16 * (r / 256)),
             static_cast<std::uint8_t>(((h / 4096) % 2) * 128)};
}

std::int32_t decoder_couleur(std::uint8_t r, std::uint8_t g, std::uint8_t b, bool bitmap, bool large) {
  if ((r == 0 && g == 0 && b == 255) || (r == 0 && g == 0 && b == 0)) return 0;
  if (bitmap) return r + g + b;
  if (large) return r + 256 * Round((255 - g) / 16.0) + (b == 128 ? 4096 : 0);
  return 256 * Round((r - 64) / 128.0) + g;
}

std::uint16_t degre_propose_pour(std::int32_t largeur, std::int32_t hauteur) {
  std::uint16_t k = 8;
  if (largeur > 500) k = 9;
  if (largeur > 1000 && hauteur > 1000) k = 10;
  if (largeur > 2000 && hauteur > 2000) k = 11;
  return k;
}

cadre_import cadre_import::par_defaut(std::int32_t largeur, std::int32_t hauteur) {
  cadre_import c;
  c.cx = Round(0.5 * largeur);
  c.cy = Round(0.6 * hauteur);
  c.R0 = 0.55 * largeur;
  c.rotation = 3.14159265358979323846;
  c.L0 = Round((std::cos(decalage_2) - std::cos(decalage_1)) * c.R0);
  c.f = 1.0;
  return c;
}

std::array<render::Point, 3> cadre_import::sommets() const {
  const double r = rayon();
  std::array<render::Point, 3> s;
  const double decalages[3] = {decalage_1, decalage_2, decalage_3};
  // A centre far out of the picture must not overflow.
  auto borne = [](std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
  };
  for (int k = 0; k < 3; ++k)
    s[static_cast<std::size_t>(k)] = {borne(std::int64_t(cx) + Round(r * std::cos(rotation + decalages[k]))),
                                      borne(std::int64_t(cy) + Round(r * std::sin(rotation + decalages[k])))};
  return s;
}

render::Bitmap Importation::image() const {
  if (extension == ".BMP") return bitmap;
  render::Bitmap b(largeur, hauteur);
  for (std::int32_t y = 0; y < hauteur; ++y) {
    render::Pixel* ligne = b.row(y);
    for (std::int32_t x = 0; x < largeur; ++x) ligne[x] = render::pixel_of(encoder_hauteur(hauteur_pixel(x, y), large));
  }
  return b;
}
