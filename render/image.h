// Picture files read by their content, whatever their name says: the one
// entry point for the Windows bitmaps and JPEG pictures the program reads and
// writes beside its documents. The GIF picture class lives with the window
// layer; a GIF file is only recognised here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "render/jpeg.h"
#include "render/raster.h"

namespace render {

enum class GenreImage { inconnu, bmp, jpeg, gif };

// The kind of picture file by its first bytes ("BM"; FF D8 FF; "GIF87a" or
// "GIF89a" in any case).
GenreImage genre_image(std::string_view octets);

// Decodes a bitmap or a JPEG picture by its content. False, with `image`
// unchanged, for any other content or a damaged picture; then `raison`, when
// given, receives the reason in words for the user. The size checks of each
// reader apply before anything is allocated.
bool decoder_image(std::string_view octets, Bitmap& image, std::string* raison = nullptr);

// The bytes of a picture file, read header first: its first bytes say its
// kind (only `seul` is taken when it is not `inconnu`; GIF only then), its
// header is checked and only the bytes it promises are read: a bitmap's
// header and palette, then its pixels with the gap before them passed over
// (see lire_octets_bmp), or for a compressed picture a bound from the pixels
// it claims (at most `pixels_maxi` count), its size looked for in its first
// 16 MiB. Nullopt, with the
// reason in `raison` when given, for a file that cannot be read (the file
// reader's words), another kind, or a header its reader refuses.
std::optional<std::string> lire_octets_image(const std::string& chemin, std::string* raison = nullptr,
                                             GenreImage seul = GenreImage::inconnu,
                                             std::int64_t pixels_maxi = kJpegPixelsMaxi);

// Decodes a bitmap or a JPEG file read as above; a file that cannot be read
// is refused with its reason.
bool lire_image(const std::string& chemin, Bitmap& image, std::string* raison = nullptr);

// The width and height the header of a bitmap or a JPEG picture claims, read
// without decoding (a bitmap's uncompressed pixels are checked to be in the
// file). False, with `raison` when given, for any other content or a header
// its reader refuses.
bool taille_image(std::string_view octets, std::int64_t& largeur, std::int64_t& hauteur,
                  std::string* raison = nullptr);

}  // namespace render
