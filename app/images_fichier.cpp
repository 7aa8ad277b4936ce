#include "app/images_fichier.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

void mot16(std::string& s, std::uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void mot32(std::string& s, std::uint32_t v) {
  mot16(s, v & 0xFFFF);
  mot16(s, v >> 16);
}

struct erreur_jpeg {
  jpeg_error_mgr base;
  std::jmp_buf retour;
};

void sortie_erreur_jpeg(j_common_ptr c) {
  auto* e = reinterpret_cast<erreur_jpeg*>(c->err);
  std::longjmp(e->retour, 1);
}

}  // namespace

std::string octets_bmp(const image_rgb32& image) {
  if (image.largeur <= 0 || image.hauteur <= 0 ||
      image.pixels.size() < static_cast<std::size_t>(image.largeur) * static_cast<std::size_t>(image.hauteur))
    return {};
  const auto largeur = static_cast<std::uint32_t>(image.largeur);
  const auto hauteur = static_cast<std::uint32_t>(image.hauteur);
  const std::uint32_t ligne = (largeur * 3 + 3) & ~3u;
  const std::uint32_t taille_pixels = ligne * hauteur;
  std::string s;
  s.reserve(54 + taille_pixels);
  s += "BM";
  mot32(s, 54 + taille_pixels);
  mot32(s, 0);
  mot32(s, 54);
  mot32(s, 40);
  mot32(s, largeur);
  mot32(s, hauteur);
  mot16(s, 1);
  mot16(s, 24);
  mot32(s, 0);  // no compression
  mot32(s, taille_pixels);
  mot32(s, 2835);  // 72 dots per inch
  mot32(s, 2835);
  mot32(s, 0);
  mot32(s, 0);
  for (std::uint32_t y = hauteur; y-- > 0;) {
    const std::uint32_t* p = image.pixels.data() + static_cast<std::size_t>(y) * largeur;
    for (std::uint32_t x = 0; x < largeur; ++x) {
      s.push_back(static_cast<char>(p[x] & 0xFF));
      s.push_back(static_cast<char>((p[x] >> 8) & 0xFF));
      s.push_back(static_cast<char>((p[x] >> 16) & 0xFF));
    }
    s.append(ligne - largeur * 3, '\0');
  }
  return s;
}

std::optional<std::string> octets_jpeg(const image_rgb32& image, int qualite) {
  if (image.largeur <= 0 || image.hauteur <= 0 ||
      image.pixels.size() < static_cast<std::size_t>(image.largeur) * static_cast<std::size_t>(image.hauteur))
    return std::nullopt;
  jpeg_compress_struct c{};
  erreur_jpeg erreur{};
  c.err = jpeg_std_error(&erreur.base);
  erreur.base.error_exit = sortie_erreur_jpeg;
  unsigned char* memoire = nullptr;
  unsigned long taille = 0;
  std::vector<unsigned char> rangee(static_cast<std::size_t>(image.largeur) * 3);
  if (setjmp(erreur.retour)) {
    jpeg_destroy_compress(&c);
    std::free(memoire);
    return std::nullopt;
  }
  jpeg_create_compress(&c);
  jpeg_mem_dest(&c, &memoire, &taille);
  c.image_width = static_cast<JDIMENSION>(image.largeur);
  c.image_height = static_cast<JDIMENSION>(image.hauteur);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, qualite, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    const std::uint32_t* p = image.pixels.data() + static_cast<std::size_t>(c.next_scanline) * static_cast<std::size_t>(image.largeur);
    for (std::int32_t x = 0; x < image.largeur; ++x) {
      rangee[static_cast<std::size_t>(x) * 3] = static_cast<unsigned char>((p[x] >> 16) & 0xFF);
      rangee[static_cast<std::size_t>(x) * 3 + 1] = static_cast<unsigned char>((p[x] >> 8) & 0xFF);
      rangee[static_cast<std::size_t>(x) * 3 + 2] = static_cast<unsigned char>(p[x] & 0xFF);
    }
    JSAMPROW ligne = rangee.data();
    jpeg_write_scanlines(&c, &ligne, 1);
  }
  jpeg_finish_compress(&c);
  std::string resultat(reinterpret_cast<const char*>(memoire), taille);
  jpeg_destroy_compress(&c);
  std::free(memoire);
  return resultat;
}
