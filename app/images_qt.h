// Reading the picture saved beside a view document.
#pragma once

#include <optional>
#include <string>

#include "app/hote_documents.h"

// Decodes the file by its content (a BMP named ".jpg" still reads), as
// 32-bit pixels 0x00RRGGBB; nullopt when it is not a picture Qt can read.
std::optional<image_rgb32> lire_image_vue(const std::string& chemin);
