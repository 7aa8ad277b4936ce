#include "render/jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "platform/fichiers.h"
#include "render/image.h"

namespace render {

namespace {

// libjpeg's own error handler ends the process: this one jumps back instead.
struct Erreur {
  jpeg_error_mgr base;
  std::jmp_buf retour;
};

[[noreturn]] void sortir(j_common_ptr c) {
  Erreur* e = reinterpret_cast<Erreur*>(c->err);
  std::longjmp(e->retour, 1);
}

void silence(j_common_ptr) {}

// Runs `travail` on the library's object `o` (compress or decompress) with
// errors jumping back here instead of ending the process, and frees the
// object afterwards either way. Between the jump's set-up and the jumps only
// plain data lives in `travail` (no objects with destructors).
template <typename Objet, typename Travail>
bool sous_garde(Objet& o, Travail travail) {
  Erreur e;
  o.err = jpeg_std_error(&e.base);
  e.base.error_exit = sortir;
  e.base.output_message = silence;
  if (setjmp(e.retour)) {
    jpeg_destroy(reinterpret_cast<j_common_ptr>(&o));
    return false;
  }
  const bool ok = travail();
  jpeg_destroy(reinterpret_cast<j_common_ptr>(&o));
  return ok;
}

// A picture in several scans (progressive, or one component at a time) keeps
// the coefficients of all its blocks, 128 bytes each a component, from the
// start of decoding, before any scan data is read. Every block costs at least
// one bit of the first scan that covers it (its DC code), so scan data shorter
// than one bit a block cannot hold the picture the header claims: it is
// refused before that buffer is made. Arithmetic-coded pictures, which the
// program never writes, are held to the same rule.
bool donnees_suffisantes(const jpeg_decompress_struct& d) {
  const bool plusieurs_passes = d.progressive_mode || d.comps_in_scan < d.num_components;
  if (!plusieurs_passes) return true;
  std::uint64_t blocs = 0;
  for (int c = 0; c < d.num_components; ++c)
    blocs += std::uint64_t(d.comp_info[c].width_in_blocks) * d.comp_info[c].height_in_blocks;
  return std::uint64_t(d.src->bytes_in_buffer) * 8 >= blocs;
}

// The size the header claims is checked before the library sets up its
// buffers, and the library's own memory is bounded too: a progressive picture
// keeps all its coefficients at once. A refusal names its reason in
// `raison` (set only after the header is read: no jump can follow it).
bool entete_acceptable(jpeg_decompress_struct& d, std::int64_t pixels_maxi, std::string* raison) {
  if (jpeg_read_header(&d, TRUE) != JPEG_HEADER_OK) return false;
  if (d.jpeg_color_space == JCS_GRAYSCALE) {
    d.out_color_space = JCS_GRAYSCALE;
  } else if (d.jpeg_color_space == JCS_YCbCr || d.jpeg_color_space == JCS_RGB) {
    d.out_color_space = JCS_RGB;
  } else {
    if (raison) *raison = "its colours are neither grey, RGB nor YCbCr";
    return false;
  }
  const std::int64_t w = d.image_width, h = d.image_height;
  if (w < 1 || h < 1 || w > kJpegCoteMaxi || h > kJpegCoteMaxi || w * h > std::min(pixels_maxi, kJpegPixelsMaxi)) {
    if (raison)
      *raison = "it claims " + std::to_string(w) + " x " + std::to_string(h) + " pixels; at most " +
                std::to_string(std::min(pixels_maxi, kJpegPixelsMaxi)) + " pixels are read";
    return false;
  }
  if (!donnees_suffisantes(d)) {
    if (raison) *raison = "its scan data is too short for the size it claims";
    return false;
  }
  d.mem->max_memory_to_use = 1L << 30;
  return true;
}

// The decoding itself, from the `taille` bytes at `octets`.
bool decoder(const unsigned char* octets, std::size_t taille, std::int64_t pixels_maxi,
             std::vector<std::uint8_t>& lignes, int& largeur, int& hauteur, int& composantes) {
  jpeg_decompress_struct d;
  return sous_garde(d, [&] {
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, octets, static_cast<unsigned long>(taille));
    if (!entete_acceptable(d, pixels_maxi, nullptr)) return false;
    jpeg_start_decompress(&d);
    largeur = int(d.output_width);
    hauteur = int(d.output_height);
    composantes = d.output_components;
    if (largeur < 1 || hauteur < 1 || (composantes != 1 && composantes != 3)) return false;
    // Rows are kept as they are decoded, so a file that claims a large picture
    // but holds little data takes only the memory of what it holds. A truncated
    // file is padded by the library with a warning: the first warning is damage.
    const std::size_t ligne = std::size_t(largeur) * std::size_t(composantes);
    lignes.clear();
    while (d.output_scanline < d.output_height && d.err->num_warnings == 0) {
      const std::size_t debut = std::size_t(d.output_scanline) * ligne;
      if (lignes.size() < debut + ligne)
        lignes.resize(std::min(std::max(2 * lignes.size(), debut + ligne), std::size_t(hauteur) * ligne));
      JSAMPROW r = lignes.data() + debut;
      if (jpeg_read_scanlines(&d, &r, 1) != 1) break;
    }
    const bool complet = d.output_scanline == d.output_height && d.err->num_warnings == 0;
    if (complet) jpeg_finish_decompress(&d);
    return complet;
  });
}

// Into a buffer of the library's (malloc'ed; the caller frees *memoire, also
// after a failure).
bool encoder(unsigned char** memoire, unsigned long* taille, const Bitmap& image, int qualite,
             std::vector<std::uint8_t>& ligne) {
  jpeg_compress_struct c;
  return sous_garde(c, [&] {
    jpeg_create_compress(&c);
    jpeg_mem_dest(&c, memoire, taille);
    c.image_width = JDIMENSION(image.width());
    c.image_height = JDIMENSION(image.height());
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, qualite, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
      const Pixel* p = image.row(int(c.next_scanline));
      for (int x = 0; x < image.width(); ++x) {
        ligne[std::size_t(3 * x)] = std::uint8_t(p[x] >> 16);
        ligne[std::size_t(3 * x + 1)] = std::uint8_t(p[x] >> 8);
        ligne[std::size_t(3 * x + 2)] = std::uint8_t(p[x]);
      }
      JSAMPROW r = ligne.data();
      jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    return true;
  });
}

}  // namespace

bool lire_jpeg(const std::string& chemin, Bitmap& image, std::int64_t pixels_maxi) {
  const std::optional<std::string> octets = lire_octets_image(chemin, nullptr, GenreImage::jpeg, pixels_maxi);
  return octets && decoder_jpeg(*octets, image, pixels_maxi);
}

bool decoder_jpeg(std::string_view octets, Bitmap& image, std::int64_t pixels_maxi) {
  if (octets.empty()) return false;
  std::vector<std::uint8_t> lignes;
  int largeur = 0, hauteur = 0, composantes = 0;
  if (!decoder(reinterpret_cast<const unsigned char*>(octets.data()), octets.size(), pixels_maxi, lignes, largeur,
               hauteur, composantes))
    return false;
  Bitmap resultat(largeur, hauteur);
  for (int y = 0; y < hauteur; ++y) {
    const std::uint8_t* s = lignes.data() + std::size_t(y) * std::size_t(largeur) * std::size_t(composantes);
    Pixel* d = resultat.row(y);
    for (int x = 0; x < largeur; ++x)
      d[x] = composantes == 1 ? pixel_rgb(s[x], s[x], s[x]) : pixel_rgb(s[3 * x], s[3 * x + 1], s[3 * x + 2]);
  }
  image = std::move(resultat);
  return true;
}

bool entete_jpeg_acceptable(std::string_view octets, std::int64_t pixels_maxi, std::string* raison) {
  // Set before the library runs, for a header it cannot read.
  std::string pourquoi = "the JPEG picture has no readable header";
  jpeg_decompress_struct d;
  const bool ok = !octets.empty() && sous_garde(d, [&] {
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(octets.data()), static_cast<unsigned long>(octets.size()));
    return entete_acceptable(d, pixels_maxi, &pourquoi);
  });
  if (!ok && raison) *raison = pourquoi;
  return ok;
}

std::optional<std::pair<int, int>> taille_jpeg(std::string_view o) {
  std::size_t pos = 0;
  auto lire = [&](int n) -> std::optional<std::uint32_t> {
    if (o.size() - pos < std::size_t(n)) return std::nullopt;
    std::uint32_t v = 0;
    for (int k = 0; k < n; ++k) v = v << 8 | std::uint8_t(o[pos++]);
    return v;
  };
  if (lire(2) != 0xFFD8u) return std::nullopt;
  for (;;) {
    auto marque = lire(1);
    if (marque != 0xFFu) return std::nullopt;
    while (marque == 0xFFu) marque = lire(1);  // fill bytes
    if (!marque) return std::nullopt;
    const std::uint32_t m = *marque;
    if (m == 0xD8 || (m >= 0xD0 && m <= 0xD7) || m == 0x01) continue;  // no length
    if (m == 0xDA || m == 0xD9) return std::nullopt;                    // scan or end first
    const auto longueur = lire(2);
    if (!longueur || *longueur < 2) return std::nullopt;
    if (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
      const auto precision = lire(1), h = lire(2), w = lire(2);
      if (!precision || !h || !w) return std::nullopt;
      return std::pair{int(*w), int(*h)};
    }
    if (o.size() - pos < *longueur - 2) return std::nullopt;
    pos += *longueur - 2;
  }
}

bool ecrire_jpeg(const std::string& chemin, const Bitmap& image, int qualite) {
  const std::optional<std::string> octets = octets_jpeg(image, qualite);
  return octets && ecrire_fichier(chemin, *octets).empty();
}

std::optional<std::string> octets_jpeg(const Bitmap& image, int qualite) {
  if (image.width() < 1 || image.height() < 1 || image.width() > 65500 || image.height() > 65500) return std::nullopt;
  std::vector<std::uint8_t> ligne(std::size_t(image.width()) * 3);
  unsigned char* memoire = nullptr;
  unsigned long taille = 0;
  const bool ok = encoder(&memoire, &taille, image, std::clamp(qualite, 1, 100), ligne);
  std::optional<std::string> octets;
  if (ok && memoire) octets.emplace(reinterpret_cast<const char*>(memoire), std::size_t(taille));
  std::free(memoire);
  return octets;
}

}  // namespace render
