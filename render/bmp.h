// Windows bitmap files read into a picture: 1, 4 and 8 bits through a
// palette, uncompressed or run-length encoded (4 and 8 bits); 16 bits as
// 5-5-5 or through bit fields (5-6-5 and others); 24 and 32 bits, plain or
// through bit fields in any order; bottom-up or top-down. Pictures are written
// as 24-bit bottom-up bitmaps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "render/raster.h"

class LectureFichier;

namespace render {

// The largest bitmap read: a side of at most 65535 pixels and at most 2^28
// pixels in all, checked on the header before anything is allocated.
inline constexpr std::int64_t kBmpCoteMaxi = 65535;
inline constexpr std::int64_t kBmpPixelsMaxi = std::int64_t(1) << 28;

// Decodes the bytes of a bitmap file. False, with `image` unchanged, for a
// short or malformed header, a size past the limits above, a layout other than
// the ones above, uncompressed pixel data cut short, or a pixel naming a colour
// past the palette; then `raison`, when given, receives the reason in words
// for the user. A run-length stream that ends early, or runs and moves past
// the picture's edges, keeps what lies inside and leaves the rest black.
// With `cote_garde` above 0 only the top-left `cote_garde` x `cote_garde`
// pixels are kept (and allocated).
bool decoder_bmp(std::string_view octets, Bitmap& image, std::string* raison = nullptr, int cote_garde = 0);

// The size a bitmap's header claims, after the checks decoder_bmp makes on the
// header and, for uncompressed pixels, on the length of the data (nothing is
// allocated): false, with `raison` when given, where decoder_bmp would refuse
// them. Uncompressed pixels are checked to be all present before decoder_bmp
// makes its picture, so the picture of a file that is cut short is never made.
bool taille_bmp(std::string_view octets, std::int64_t& largeur, std::int64_t& hauteur, std::string* raison = nullptr);

// The bytes a bitmap's header promises, read on from `f`, which holds the
// file's first kTeteBmp bytes (all of them when it is shorter): its
// uncompressed pixels, which must all lie within the file, or its
// run-length stream as far as its end code, whatever codes it holds, within
// the file and the read limit, read a piece at a time as its codes are
// walked, so that no more than a piece is read past its end. A gap between
// the palette and the pixels is passed over, never read: the bytes returned
// are the header and palette followed by the pixels, with the header's pixel
// offset saying so. Nullopt, with `raison` when given, where decoder_bmp
// would refuse the header, or with the file reader's reason.
inline constexpr std::size_t kTeteBmp = 14 + 1024 + 12 + 256 * 4;
std::optional<std::string> lire_octets_bmp(LectureFichier& f, std::string* raison = nullptr);

// The same for a file, of which only the header and what it promises are
// read; a file that cannot be read is refused with its reason.
bool lire_bmp(const std::string& chemin, Bitmap& image, std::string* raison = nullptr, int cote_garde = 0);

// A 24-bit bottom-up bitmap: a 54-byte header, rows padded to 4 bytes; empty
// for an empty picture.
std::string octets_bmp(const Bitmap& image);

// Whether `octets`, the bytes of a picture file that decode to a picture of
// `largeur` x `hauteur`, are those octets_bmp writes for that picture: then
// the file is written again the same from the picture alone.
bool comme_octets_bmp(std::string_view octets, int largeur, int hauteur);

// Writes it through the safe file write. False for an empty picture or when the
// file cannot be written.
bool ecrire_bmp(const std::string& chemin, const Bitmap& image);

}  // namespace render
