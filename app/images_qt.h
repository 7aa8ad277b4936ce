// Reading the picture saved beside a view document: bitmaps and JPEG pictures
// through the renderer's readers, GIF pictures through the program's GIF class.
#pragma once

#include <optional>
#include <string>

#include "render/raster.h"

// Decodes the file by its content (a BMP named ".jpg" still reads), the first
// frame of a GIF file included; nullopt when it is none of these or damaged,
// with the reason in `raison` when given. A picture whose header claims more
// than the largest view (kTailleImageMax a side) is refused on that header,
// before anything is allocated for it.
std::optional<render::Bitmap> lire_image_vue(const std::string& chemin, std::string* raison = nullptr,
                                             std::string* octets_lus = nullptr);
