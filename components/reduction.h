// Colour reduction of pictures to palette BMP files held in memory: 1, 4, 8
// or 24 bits per pixel, true-colour pictures reduced to at most 256 colours
// by one of six methods. The GIF writer and the animated-cursor reader store
// their frames through it.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace components {

enum TColorReduction : std::uint8_t {
  crPopularity, crMedianCut, crTrunc784, crTrunc666, crComponentCycle, crGrayscale
};

enum TPixelFormat : std::uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

// A null picture: "Bitmap image is not valid".
class InvalidGraphicError : public std::runtime_error {
 public:
  InvalidGraphicError();
};

// Format_Mono and Format_MonoLSB: 1 bit; Format_Indexed8: 8 bits; the
// true-colour formats: 24 bits; anything else (a null picture too) pfCustom.
TPixelFormat GetBitmapPixelFormat(const QImage& bitmap);
// 2, 16 or 256 colours for 1, 4 and 8 bits, else 0.
int PixelFormatColorCount(TPixelFormat format);

// The complete BMP file of `bitmap` at `format`. A picture already in that
// format (and not to be greyed) is written as it is, palette and indices
// unchanged. 1 and 4 bits map every pixel to the nearest colour of black
// and white or of the 16 classic colours; 8 bits reduce by `method`; 24 bits
// copy the colours. Other formats raise NotImplementedError.
QByteArray BitmapToDIBStream(const QImage& bitmap, TPixelFormat format, TColorReduction method = crPopularity);
// Up to 2 colours 1 bit, up to 16 4 bits, up to 256 8 bits, else 24 bits; by popularity.
QByteArray ColorCountToDIBStream(const QImage& bitmap, int colour_count);

// An 8-bit reduction: 256 palette entries, one index per pixel (rows top
// down), and the count of important colours the file header carries.
struct Reduction {
  std::vector<QRgb> palette;
  std::vector<std::uint8_t> indices;
  std::uint32_t important = 0;
};
// `rgb` is a Format_RGB32 picture. Rows are visited bottom-up, as the
// picture's device-independent form stores them.
Reduction ReduceColors(const QImage& rgb, TColorReduction method);

// Index of the nearest of `levels` levels (4, 6, 7 or 8) for a byte; a tie takes the lower level.
int NearestLevel(int levels, int value);

// The masks popularity counting used for `rgb`, in order of the restarts
// (the first is 255, 255, 255), as red, green, blue.
struct PopularityMasks {
  int red, green, blue;
};
std::vector<PopularityMasks> PopularityMaskHistory(const QImage& rgb);

}  // namespace components
