// JPEG pictures through libjpeg: baseline and progressive, colour and grey,
// read into a picture; pictures written at a given quality.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "render/raster.h"

namespace render {

// The largest JPEG picture read: 65500 pixels a side and 2^28 pixels in all
// (a caller may ask for less), checked on the header before anything is decoded.
inline constexpr std::int64_t kJpegCoteMaxi = 65500;
inline constexpr std::int64_t kJpegPixelsMaxi = std::int64_t(1) << 28;

// Reads the file into `image` (RGB). False, with `image` unchanged, for a
// missing, corrupt or truncated file, a header claiming more than
// `pixels_maxi` pixels, a picture in several scans (progressive) whose scan
// data holds less than one bit for each 8 x 8 block it claims, or a colour
// space other than grey, RGB or YCbCr. Never ends the process.
bool lire_jpeg(const std::string& chemin, Bitmap& image, std::int64_t pixels_maxi = kJpegPixelsMaxi);
// The same for the bytes of a JPEG file.
bool decoder_jpeg(std::string_view octets, Bitmap& image, std::int64_t pixels_maxi = kJpegPixelsMaxi);

// Whether decoder_jpeg would start decoding these bytes, from the header
// alone: it is read and checked as decoder_jpeg checks it, and nothing is
// decoded (the library's picture and coefficient buffers are never made).
// False, with the reason in words in `raison` when given, where it would refuse.
bool entete_jpeg_acceptable(std::string_view octets, std::int64_t pixels_maxi = kJpegPixelsMaxi,
                            std::string* raison = nullptr);

// The width and height a JPEG file's frame header gives, read without
// decoding: the markers are walked up to the first frame header (SOF0..SOF15
// but DHT, JPG and DAC). Nullopt for bytes that are no JPEG or have no frame
// header before their scan.
std::optional<std::pair<int, int>> taille_jpeg(std::string_view octets);

// Writes `image` as a baseline JPEG of quality 1..100 (clamped) through the
// safe file write. False for an empty or oversized picture, or when the file
// cannot be written.
bool ecrire_jpeg(const std::string& chemin, const Bitmap& image, int qualite);

// The same baseline JPEG as bytes; nullopt for an empty or oversized picture.
std::optional<std::string> octets_jpeg(const Bitmap& image, int qualite);

}  // namespace render
