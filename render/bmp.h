// Windows bitmap files: uncompressed 1, 4, 8, 24 and 32 bits per pixel,
// bottom-up or top-down, read into a picture.
#pragma once

#include <string>

#include "render/raster.h"

namespace render {

// False, with `image` unchanged, for a missing, short or malformed file or a
// layout other than the ones above.
bool lire_bmp(const std::string& chemin, Bitmap& image);

// Writes a 24-bit bottom-up bitmap. False when the file cannot be written.
bool ecrire_bmp(const std::string& chemin, const Bitmap& image);

}  // namespace render
