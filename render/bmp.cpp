#include "render/bmp.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace render {

namespace {

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t o) {
  return std::uint32_t(b[o]) | std::uint32_t(b[o + 1]) << 8 | std::uint32_t(b[o + 2]) << 16 |
         std::uint32_t(b[o + 3]) << 24;
}
std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t o) {
  return std::uint16_t(b[o] | b[o + 1] << 8);
}

void put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
  b.push_back(std::uint8_t(v));
  b.push_back(std::uint8_t(v >> 8));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

}  // namespace

bool lire_bmp(const std::string& chemin, Bitmap& image) {
  std::ifstream f(chemin, std::ios::binary);
  if (!f) return false;
  const std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return false;
  const std::uint32_t donnees = u32(b, 10);
  const std::uint32_t entete = u32(b, 14);
  std::int64_t largeur = 0, hauteur = 0;
  std::uint32_t bits = 0, compression = 0, couleurs = 0;
  std::size_t taille_palette = 0;  // bytes per palette entry
  if (entete == 12) {
    largeur = u16(b, 18);
    hauteur = std::int16_t(u16(b, 20));
    bits = u16(b, 24);
    taille_palette = 3;
  } else if (entete >= 40 && entete <= 1024 && b.size() >= 14 + std::size_t(entete)) {
    largeur = std::int32_t(u32(b, 18));
    hauteur = std::int32_t(u32(b, 22));
    if (u16(b, 26) != 1) return false;
    bits = u16(b, 28);
    compression = u32(b, 30);
    couleurs = u32(b, 46);
    taille_palette = 4;
  } else {
    return false;
  }
  const bool haut_en_bas = hauteur < 0;
  if (haut_en_bas) hauteur = -hauteur;
  if (largeur < 1 || hauteur < 1 || largeur > 65535 || hauteur > 65535 || largeur * hauteur > (std::int64_t(1) << 28))
    return false;
  if (!(bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32)) return false;
  // Bit fields are accepted for 32 bits in the usual order only.
  if (compression == 3 && bits == 32) {
    if (b.size() < 66 || u32(b, 54) != 0x00FF0000u || u32(b, 58) != 0x0000FF00u || u32(b, 62) != 0x000000FFu)
      return false;
  } else if (compression != 0) {
    return false;
  }
  std::vector<Pixel> palette;
  if (bits <= 8) {
    const std::size_t maxi = std::size_t(1) << bits;
    const std::size_t nombre = couleurs == 0 ? maxi : std::size_t(couleurs);
    if (nombre > maxi) return false;
    const std::size_t debut = 14 + std::size_t(entete);
    if (debut + nombre * taille_palette > b.size()) return false;
    for (std::size_t k = 0; k < nombre; ++k) {
      const std::size_t o = debut + k * taille_palette;
      palette.push_back(pixel_rgb(b[o + 2], b[o + 1], b[o]));
    }
  }
  const std::size_t ligne = ((std::size_t(largeur) * bits + 31) / 32) * 4;
  if (donnees > b.size() || (b.size() - donnees) / ligne < std::size_t(hauteur)) return false;
  Bitmap resultat{int(largeur), int(hauteur)};
  for (std::int64_t r = 0; r < hauteur; ++r) {
    const std::uint8_t* s = b.data() + donnees + std::size_t(r) * ligne;
    Pixel* d = resultat.row(int(haut_en_bas ? r : hauteur - 1 - r));
    for (std::int64_t x = 0; x < largeur; ++x) {
      if (bits == 24) {
        d[x] = pixel_rgb(s[3 * x + 2], s[3 * x + 1], s[3 * x]);
      } else if (bits == 32) {
        d[x] = pixel_rgb(s[4 * x + 2], s[4 * x + 1], s[4 * x]);
      } else {
        const std::size_t bit = std::size_t(x) * bits;
        const std::uint8_t octet = s[bit / 8];
        const unsigned k = (octet >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        if (k >= palette.size()) return false;
        d[x] = palette[k];
      }
    }
  }
  image = std::move(resultat);
  return true;
}

bool ecrire_bmp(const std::string& chemin, const Bitmap& image) {
  const std::size_t w = std::size_t(image.width()), h = std::size_t(image.height());
  if (w < 1 || h < 1) return false;
  const std::size_t ligne = (w * 3 + 3) / 4 * 4;
  std::vector<std::uint8_t> b;
  b.reserve(54 + ligne * h);
  b.push_back('B');
  b.push_back('M');
  put32(b, std::uint32_t(54 + ligne * h));
  put32(b, 0);
  put32(b, 54);
  put32(b, 40);
  put32(b, std::uint32_t(w));
  put32(b, std::uint32_t(h));
  put16(b, 1);
  put16(b, 24);
  put32(b, 0);
  put32(b, std::uint32_t(ligne * h));
  put32(b, 2835);
  put32(b, 2835);
  put32(b, 0);
  put32(b, 0);
  for (std::size_t r = 0; r < h; ++r) {
    const Pixel* p = image.row(int(h - 1 - r));
    for (std::size_t x = 0; x < w; ++x) {
      b.push_back(std::uint8_t(p[x]));
      b.push_back(std::uint8_t(p[x] >> 8));
      b.push_back(std::uint8_t(p[x] >> 16));
    }
    for (std::size_t k = w * 3; k < ligne; ++k) b.push_back(0);
  }
  std::ofstream f(chemin, std::ios::binary);
  f.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  return bool(f);
}

}  // namespace render
