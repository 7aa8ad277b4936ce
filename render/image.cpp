#include "render/image.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/fichiers.h"
#include "render/bmp.h"
#include "render/jpeg.h"

namespace render {

GenreImage genre_image(std::string_view o) {
  if (o.size() >= 2 && o[0] == 'B' && o[1] == 'M') return GenreImage::bmp;
  if (o.size() >= 3 && std::uint8_t(o[0]) == 0xFF && std::uint8_t(o[1]) == 0xD8 && std::uint8_t(o[2]) == 0xFF)
    return GenreImage::jpeg;
  if (o.size() >= 6) {
    std::string tete(o.substr(0, 6));
    for (char& c : tete) c = char(std::toupper(std::uint8_t(c)));
    if (tete == "GIF87A" || tete == "GIF89A") return GenreImage::gif;
  }
  return GenreImage::inconnu;
}

namespace {

// Why a picture that is neither a bitmap nor a JPEG picture is not read.
bool refuser_genre(std::string_view octets, std::string* raison) {
  if (raison)
    *raison = genre_image(octets) == GenreImage::gif ? "it is a GIF picture, which is not read here"
                                                     : "it is neither a Windows bitmap nor a JPEG picture";
  return false;
}

// The first bytes read of any picture: a bitmap's headers and palette.
constexpr std::uint64_t kTeteImage = kTeteBmp;
// A compressed picture's markers, tables and comments, and its most bytes a
// pixel (above what a baseline JPEG of three colours can take).
constexpr std::uint64_t kOctetsFixesCompresses = std::uint64_t(16) << 20;
constexpr std::uint64_t kOctetsParPixelCompresse = 12;

// The bytes of a compressed picture of w x h pixels that are read: its data
// past them is never looked at.
std::uint64_t octets_compresses(std::int64_t w, std::int64_t h, std::int64_t pixels_maxi) {
  const std::int64_t pixels = std::clamp<std::int64_t>(w * h, 0, pixels_maxi);
  return kOctetsFixesCompresses + kOctetsParPixelCompresse * std::uint64_t(pixels);
}

std::optional<std::uint64_t> refus_promesse(std::string* raison, std::string texte) {
  if (raison) *raison = std::move(texte);
  return std::nullopt;
}

// The markers are walked up to the frame header, reading more as they need,
// never more than the fixed allowance of a compressed picture.
std::optional<std::uint64_t> promesse_jpeg(LectureFichier& f, std::int64_t pixels_maxi, std::string* raison) {
  if (genre_image(f.octets()) != GenreImage::jpeg) return refus_promesse(raison, "it is not a JPEG picture");
  for (std::uint64_t n = kTeteImage;; n = std::min(n * 4, kOctetsFixesCompresses)) {
    if (!f.lire_jusqua(n)) return refus_promesse(raison, f.raison());
    if (const auto t = taille_jpeg(f.octets())) return octets_compresses(t->first, t->second, pixels_maxi);
    if (f.fin() || n >= kOctetsFixesCompresses)
      return refus_promesse(raison, "the JPEG picture has no readable size");
  }
}

// The logical screen's size (bytes 6 to 9) bounds the frames.
std::optional<std::uint64_t> promesse_gif(std::string_view tete, std::int64_t pixels_maxi, std::string* raison) {
  if (tete.size() < 10) return refus_promesse(raison, "the GIF picture is cut short");
  auto u16 = [tete](std::size_t o) { return std::int64_t(std::uint8_t(tete[o]) | std::uint8_t(tete[o + 1]) << 8); };
  return octets_compresses(u16(6), u16(8), pixels_maxi);
}

std::optional<std::uint64_t> promesse(LectureFichier& f, GenreImage genre, std::int64_t pixels_maxi,
                                      std::string* raison) {
  switch (genre) {
    case GenreImage::jpeg:
      return promesse_jpeg(f, pixels_maxi, raison);
    case GenreImage::gif:
      return promesse_gif(f.octets(), pixels_maxi, raison);
    case GenreImage::bmp:
    case GenreImage::inconnu:
      break;
  }
  refuser_genre(f.octets(), raison);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> lire_octets_image(const std::string& chemin, std::string* raison, GenreImage seul,
                                             std::int64_t pixels_maxi) {
  LectureFichier f;
  if (!f.ouvrir(chemin) || !f.lire_jusqua(kTeteImage)) {
    if (raison) *raison = f.raison();
    return std::nullopt;
  }
  const GenreImage genre = seul != GenreImage::inconnu ? seul : genre_image(f.octets());
  if (genre == GenreImage::bmp) return lire_octets_bmp(f, raison);
  const std::optional<std::uint64_t> promis = promesse(f, genre, pixels_maxi, raison);
  if (!promis) return std::nullopt;
  if (!f.lecture_permise(*promis) || !f.lire_jusqua(*promis)) {
    if (raison) *raison = f.raison();
    return std::nullopt;
  }
  return f.prendre();
}

bool decoder_image(std::string_view octets, Bitmap& image, std::string* raison) {
  switch (genre_image(octets)) {
    case GenreImage::bmp:
      return decoder_bmp(octets, image, raison);
    case GenreImage::jpeg:
      if (decoder_jpeg(octets, image)) return true;
      if (raison) *raison = "the JPEG picture cannot be decoded";
      return false;
    case GenreImage::gif:
    case GenreImage::inconnu:
      break;
  }
  return refuser_genre(octets, raison);
}

bool taille_image(std::string_view octets, std::int64_t& largeur, std::int64_t& hauteur, std::string* raison) {
  switch (genre_image(octets)) {
    case GenreImage::bmp:
      return taille_bmp(octets, largeur, hauteur, raison);
    case GenreImage::jpeg:
      if (const auto t = taille_jpeg(octets)) {
        largeur = t->first;
        hauteur = t->second;
        return true;
      }
      if (raison) *raison = "the JPEG picture has no readable size";
      return false;
    case GenreImage::gif:
    case GenreImage::inconnu:
      break;
  }
  return refuser_genre(octets, raison);
}

bool lire_image(const std::string& chemin, Bitmap& image, std::string* raison) {
  const std::optional<std::string> octets = lire_octets_image(chemin, raison);
  return octets && decoder_image(*octets, image, raison);
}

}  // namespace render
