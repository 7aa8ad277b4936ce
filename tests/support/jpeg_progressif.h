// Progressive JPEG pictures for the reader tests (the program itself writes
// baseline pictures only), and a header made to claim another size.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "render/raster.h"

namespace test_jpeg {

// `image` as a progressive JPEG of quality 90, in libjpeg's simple scan script.
inline std::string progressif(const render::Bitmap& image) {
  jpeg_compress_struct c;
  jpeg_error_mgr erreurs;
  c.err = jpeg_std_error(&erreurs);
  jpeg_create_compress(&c);
  unsigned char* memoire = nullptr;
  unsigned long taille = 0;
  jpeg_mem_dest(&c, &memoire, &taille);
  c.image_width = JDIMENSION(image.width());
  c.image_height = JDIMENSION(image.height());
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 90, TRUE);
  jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> ligne(std::size_t(image.width()) * 3);
  while (c.next_scanline < c.image_height) {
    const render::Pixel* p = image.row(int(c.next_scanline));
    for (int x = 0; x < image.width(); ++x) {
      ligne[std::size_t(3 * x)] = (unsigned char)(p[x] >> 16);
      ligne[std::size_t(3 * x + 1)] = (unsigned char)(p[x] >> 8);
      ligne[std::size_t(3 * x + 2)] = (unsigned char)(p[x]);
    }
    JSAMPROW r = ligne.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::string octets(reinterpret_cast<const char*>(memoire), taille);
  std::free(memoire);
  return octets;
}

// The same bytes with the frame header (SOF0 or SOF2) claiming `largeur` x
// `hauteur`; empty when there is no such header.
inline std::string taille_annoncee(std::string octets, int largeur, int hauteur) {
  std::size_t sof = octets.find("\xFF\xC2");
  if (sof == std::string::npos) sof = octets.find("\xFF\xC0");
  if (sof == std::string::npos) return {};
  octets[sof + 5] = char(hauteur >> 8);
  octets[sof + 6] = char(hauteur & 0xFF);
  octets[sof + 7] = char(largeur >> 8);
  octets[sof + 8] = char(largeur & 0xFF);
  return octets;
}

}  // namespace test_jpeg
