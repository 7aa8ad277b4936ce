// The renderer's pictures seen by the GUI toolkit: a toolkit picture over a
// Bitmap's rows, and a Bitmap made from a toolkit picture.
#pragma once

#include <QImage>

#include "render/raster.h"

// A 32-bit RGB picture over the rows of `b`, without a copy: it is valid while
// `b` lives unchanged. Null for an empty Bitmap.
QImage image_qt(const render::Bitmap& b);

// `image` as a Bitmap of its own size (every pixel opaque).
render::Bitmap bitmap_qt(const QImage& image);
