// BMP files of the library and the picture fields of list items. The byte
// layout is fixed: a 14-byte file header ("BM", total size, two zero words,
// offset of the bits), a 40-byte info header in which only width, height,
// planes 1, bit count and image size are set, the colour table (none at 24
// bits), then the rows bottom-up, each padded to 4 bytes.
//
// Colour counts: 0 writes the picture in its own depth (1 bit for a
// monochrome picture, else 8 or 24), 2, 16 or 256 give 1, 4 or 8 bits:
// - 2: black and white, a pixel is white when R + G + B >= 384;
// - 16: the classic 16-colour table, nearest colour;
// - 256: the picture's colours in order of first appearance (rows bottom-up)
//   when there are at most 256, else a 6 × 6 × 6 cube and 40 greys, nearest colour.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <cstdint>
#include <functional>
#include <vector>

struct CtlBitmapInfoHeader {
  std::int32_t Width = 0, Height = 0;
  std::uint16_t Planes = 1, BitCount = 24;
  std::uint32_t SizeImage = 0;
};

// The BMP file of a width x height picture at `bits` (1, 4, 8 or 24) bits per
// pixel: `table` written as the colour table (padded with black to 2^bits
// entries, none at 24 bits), then the rows bottom-up, `pixel(x, y)` giving
// the palette index, or the RGB colour at 24 bits. `important` is the
// header's count of important colours.
QByteArray PackDIBFile(int width, int height, int bits, const std::vector<QRgb>& table,
                       const std::function<std::uint32_t(int x, int y)>& pixel, std::uint32_t important = 0);

CtlBitmapInfoHeader InitBitmapInfoHeader(const QImage& bmp, int colours);
// Info size (header and colour table) and image size of a header.
void BitmapInfoSizes(const CtlBitmapInfoHeader& info, int& info_size, int& image_size);
// The whole BMP file; a null picture raises CtlError "Image bitmap incorrecte".
QByteArray BuildDIBFile(const QImage& bmp, int colours);
// Writes the file at the stream's position, preceded by its int32 length when asked.
void WriteDIB(QIODevice& stream, const QImage& bmp, int colours, bool with_length);
// A monochrome picture always with 2 colours; rewinds the stream afterwards.
void WriteBitmapDIB(QIODevice& stream, const QImage& bmp, int colours);

// Reads a BMP file of 1, 4, 8, 24 or 32 bits (RLE too): monochrome files give
// Format_Mono, the others Format_RGB32. A header whose size or bit offset lies
// past the data, or a picture Qt cannot read, raises CtlReadError.
QImage ReadBMP(const QByteArray& bytes);

// Picture field: packed (the chunked stream of the BMP file) or plain (int32
// length of the BMP bytes, then the file). `colours` 0 writes the own form.
void WriteBitmapToStream(QIODevice& stream, const QImage& bmp, bool compressed, int colours);
QImage ReadBitmapFromStream(QIODevice& stream, bool compressed);
