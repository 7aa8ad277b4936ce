#include "render/image.h"

#include <cctype>

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

}  // namespace

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
  const std::optional<std::string> octets = lire_fichier(chemin);
  if (!octets) {
    if (raison) *raison = "the file cannot be opened";
    return false;
  }
  return decoder_image(*octets, image, raison);
}

}  // namespace render
