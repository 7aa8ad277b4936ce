// Writes a picture as a PNG file (8-bit RGB, uncompressed deflate blocks), so
// that the same picture always gives the same bytes.
#pragma once

#include <string>

#include "render/raster.h"

bool ecrire_png(const std::string& chemin, const render::Bitmap& image);
