// Pictures written beside view documents: a 24-bit Windows bitmap and a JPEG
// file. Plain C++ (libjpeg), no Qt.
#pragma once

#include <optional>
#include <string>

#include "app/hote_documents.h"

// BMP: 54-byte header, 24 bits per pixel, rows bottom-up, each padded to 4 bytes;
// empty when the picture is empty or its pixels are short.
std::string octets_bmp(const image_rgb32& image);
// JPEG at `qualite` (the documents use 90); nullopt when libjpeg fails.
std::optional<std::string> octets_jpeg(const image_rgb32& image, int qualite);
