// Colour reduction: the six methods' palettes and indices, the popularity
// restarts, and the BMP files' headers against their bytes and Qt's reader.
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "components/graphiques.h"
#include "components/reduction.h"

using namespace components;

namespace {

QImage Rgb(int w, int h, QRgb fill = qRgb(0, 0, 0)) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

std::uint32_t Get32(const QByteArray& b, int at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}
int Get16(const QByteArray& b, int at) {
  return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}

// Checks the header against the bytes and loads the file with Qt.
QImage CheckedLoad(const QByteArray& file, int bits, std::uint32_t important = 0) {
  EXPECT_EQ(file.left(2), QByteArray("BM"));
  const int table = bits < 24 ? 4 << bits : 0;
  const int row = (file.size() > 26 ? static_cast<int>(Get32(file, 18)) * bits + 31 : 0) / 32 * 4;
  EXPECT_EQ(Get32(file, 2), static_cast<std::uint32_t>(file.size()));
  EXPECT_EQ(Get32(file, 10), static_cast<std::uint32_t>(14 + 40 + table));
  EXPECT_EQ(Get32(file, 14), 40u);
  EXPECT_EQ(Get16(file, 26), 1);
  EXPECT_EQ(Get16(file, 28), bits);
  EXPECT_EQ(Get32(file, 34), static_cast<std::uint32_t>(row) * Get32(file, 22));
  EXPECT_EQ(static_cast<std::uint32_t>(file.size()), 14u + 40u + table + Get32(file, 34));
  EXPECT_EQ(Get32(file, 50), important);
  QImage img;
  EXPECT_TRUE(img.loadFromData(file, "BMP"));
  if (bits < 24) EXPECT_EQ(img.colorCount(), 1 << bits);
  return img;
}

}  // namespace

TEST(ColourReduction, GreysAndFixedPalettes) {
  QImage pic = Rgb(3, 1);
  pic.setPixel(0, 0, qRgb(255, 255, 255));
  pic.setPixel(1, 0, qRgb(255, 0, 0));
  pic.setPixel(2, 0, qRgb(64, 64, 64));
  const Reduction grey = ReduceColors(pic, crGrayscale);
  EXPECT_EQ(grey.indices, (std::vector<std::uint8_t>{255, 76, 64}));
  EXPECT_EQ(grey.palette[76], qRgb(76, 76, 76));

  const Reduction t784 = ReduceColors(pic, crTrunc784);
  EXPECT_EQ(t784.indices[0], 223);
  EXPECT_EQ(t784.palette[223], qRgb(255, 255, 255));
  EXPECT_EQ(t784.palette[224], qRgb(128, 128, 128));
  EXPECT_EQ(t784.important, 224u);
  // Red: level 6 of 7, green and blue 0; 64 grey: red level 1 (43, a tie with 85), green 2 (73), blue 1 (85).
  EXPECT_EQ(t784.indices[1], (6 * 8 + 0) * 4 + 0);
  EXPECT_EQ(t784.indices[2], (1 * 8 + 2) * 4 + 1);

  const Reduction t666 = ReduceColors(pic, crTrunc666);
  EXPECT_EQ(t666.indices[0], 215);
  EXPECT_EQ(t666.indices[2], 1 * 36 + 1 * 6 + 1);
  EXPECT_EQ(t666.palette[43], qRgb(51, 51, 51));
  EXPECT_EQ(t666.palette[216], qRgb(128, 128, 128));
  EXPECT_EQ(t666.important, 216u);

  EXPECT_EQ(NearestLevel(7, 64), 1);
  EXPECT_EQ(NearestLevel(7, 65), 2);
  EXPECT_EQ(NearestLevel(4, 42), 0);
  EXPECT_EQ(NearestLevel(4, 43), 1);
  EXPECT_EQ(NearestLevel(8, 255), 7);
}

TEST(ColourReduction, ComponentCycleCountsRowsFromTheBottom) {
  QImage pic = Rgb(3, 2, qRgb(10, 20, 30));
  const Reduction r = ReduceColors(pic, crComponentCycle);
  // Bottom row (image row 1): red, green, blue; the row above starts one step later.
  EXPECT_EQ(r.indices[3], 2);
  EXPECT_EQ(r.indices[4], 64 + 5);
  EXPECT_EQ(r.indices[5], 128 + 7);
  EXPECT_EQ(r.indices[0], 64 + 5);
  EXPECT_EQ(r.palette[63], qRgb(252, 0, 0));
  EXPECT_EQ(r.palette[127], qRgb(0, 252, 0));
  EXPECT_EQ(r.palette[191], qRgb(0, 0, 252));
  EXPECT_EQ(r.palette[192], qRgb(0, 0, 0));
}

TEST(ColourReduction, PopularityRanksAndMapsTheRestToTheNearest) {
  // 256 reds counted twice, then 44 near-reds once each: the palette holds the
  // 256 reds by count, the others map to their red.
  QImage pic = Rgb(556, 1);
  for (int i = 0; i < 256; ++i) {
    pic.setPixel(2 * i, 0, qRgb(i, 0, 0));
    pic.setPixel(2 * i + 1, 0, qRgb(i, 0, 0));
  }
  for (int i = 0; i < 44; ++i) pic.setPixel(512 + i, 0, qRgb(i * 5, 3, 0));
  const Reduction r = ReduceColors(pic, crPopularity);
  std::set<QRgb> palette(r.palette.begin(), r.palette.end());
  EXPECT_EQ(palette.size(), 256u);
  for (int x = 0; x < 556; ++x) {
    const int red = x < 512 ? x / 2 : (x - 512) * 5;
    EXPECT_EQ(r.palette[r.indices[static_cast<std::size_t>(x)]], qRgb(red, 0, 0)) << x;
  }

  // Few colours: by count, spare entries grey.
  QImage few = Rgb(9, 1, qRgb(1, 1, 1));
  for (int x = 5; x < 8; ++x) few.setPixel(x, 0, qRgb(9, 9, 9));
  few.setPixel(8, 0, qRgb(200, 0, 0));
  const Reduction f = ReduceColors(few, crPopularity);
  EXPECT_EQ(f.palette[0], qRgb(1, 1, 1));
  EXPECT_EQ(f.palette[1], qRgb(9, 9, 9));
  EXPECT_EQ(f.palette[2], qRgb(200, 0, 0));
  EXPECT_EQ(f.palette[3], qRgb(128, 128, 128));
  EXPECT_EQ(f.indices, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 1, 1, 1, 2}));
  EXPECT_EQ(PopularityMaskHistory(few).size(), 1u);
}

TEST(ColourReduction, PopularityCoarsensBlueRedGreenBlue) {
  // 25 reds x 40 greens (all even) x 8 blues: 8000 colours, still 4000 after
  // each of the first three coarsenings, 2000 after blue's second.
  QImage pic = Rgb(200, 40);
  int n = 0;
  for (int r = 0; r < 25; ++r)
    for (int g = 0; g < 40; ++g)
      for (int b = 0; b < 8; ++b, ++n) pic.setPixel(n % 200, n / 200, qRgb(2 * r, 2 * g, b));
  const std::vector<PopularityMasks> h = PopularityMaskHistory(pic);
  ASSERT_EQ(h.size(), 5u);
  const int expected[5][3] = {{255, 255, 255}, {255, 255, 254}, {254, 255, 254}, {254, 254, 254}, {254, 254, 252}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(h[i].red, expected[i][0]) << i;
    EXPECT_EQ(h[i].green, expected[i][1]) << i;
    EXPECT_EQ(h[i].blue, expected[i][2]) << i;
  }
  const Reduction r = ReduceColors(pic, crPopularity);
  for (QRgb c : r.palette) EXPECT_EQ(qBlue(c) & 3, 0);
}

TEST(ColourReduction, MedianCutBoxes) {
  const Reduction one = ReduceColors(Rgb(4, 3, qRgb(0x37, 0xA2, 0x5C)), crMedianCut);
  EXPECT_EQ(one.important, 1u);
  EXPECT_EQ(one.palette[0], qRgb(63, 175, 95));
  EXPECT_EQ(one.palette[1], qRgb(0, 0, 0));
  for (auto i : one.indices) EXPECT_EQ(i, 0);

  // Black and white split into two boxes; a box whose colour stays at or below 16 is black.
  QImage two = Rgb(2, 1);
  two.setPixel(1, 0, qRgb(255, 255, 255));
  const Reduction bw = ReduceColors(two, crMedianCut);
  EXPECT_EQ(bw.important, 2u);
  EXPECT_EQ(bw.palette[bw.indices[0]], qRgb(0, 0, 0));
  EXPECT_EQ(bw.palette[bw.indices[1]], qRgb(255, 255, 255));

  // Every one of the 4096 cells: 256 boxes, each pixel's colour within a cell-wide reach of its box.
  QImage all = Rgb(64, 64);
  for (int c = 0; c < 4096; ++c)
    all.setPixel(c % 64, c / 64, qRgb((c >> 8) * 16, ((c >> 4) & 15) * 16, (c & 15) * 16));
  const Reduction many = ReduceColors(all, crMedianCut);
  EXPECT_EQ(many.important, 256u);
  std::set<std::uint8_t> used(many.indices.begin(), many.indices.end());
  EXPECT_EQ(used.size(), 256u);
}

TEST(DIBStream, HeadersAgreeWithTheBytesAtEveryDepth) {
  QImage pic = Rgb(5, 3, qRgb(128, 128, 128));
  pic.setPixel(0, 0, qRgb(255, 0, 0));
  pic.setPixel(4, 2, qRgb(250, 250, 250));
  const QImage one = CheckedLoad(BitmapToDIBStream(pic, pf1bit), 1);
  EXPECT_EQ(one.pixel(4, 2), qRgb(255, 255, 255));
  EXPECT_EQ(one.pixel(1, 1), qRgb(255, 255, 255));
  const QImage four = CheckedLoad(BitmapToDIBStream(pic, pf4bit), 4);
  EXPECT_EQ(four.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(four.pixel(1, 1), qRgb(128, 128, 128));
  EXPECT_EQ(four.pixel(4, 2), qRgb(255, 255, 255));
  const QImage eight = CheckedLoad(BitmapToDIBStream(pic, pf8bit, crMedianCut), 8, 3);
  EXPECT_EQ(eight.pixel(0, 0), qRgb(255, 15, 15));
  const QImage full = CheckedLoad(BitmapToDIBStream(pic, pf24bit), 24);
  EXPECT_EQ(full.convertToFormat(QImage::Format_RGB32), pic);
  CheckedLoad(BitmapToDIBStream(pic, pf8bit, crTrunc666), 8, 216);

  EXPECT_EQ(Get16(ColorCountToDIBStream(pic, 2), 28), 1);
  EXPECT_EQ(Get16(ColorCountToDIBStream(pic, 16), 28), 4);
  EXPECT_EQ(Get16(ColorCountToDIBStream(pic, 17), 28), 8);
  EXPECT_EQ(Get16(ColorCountToDIBStream(pic, 257), 28), 24);
  EXPECT_THROW(BitmapToDIBStream(pic, pf16bit), NotImplementedError);
  EXPECT_THROW(BitmapToDIBStream(QImage(), pf8bit), InvalidGraphicError);
}

TEST(DIBStream, PalettePicturesKeepTheirPaletteUnlessGreyed) {
  QImage pal(7, 2, QImage::Format_Indexed8);
  pal.setColorTable({qRgb(200, 10, 10), qRgb(10, 200, 10), qRgb(10, 10, 200)});
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 7; ++x) pal.setPixel(x, y, static_cast<uint>((x + y) % 3));
  EXPECT_EQ(GetBitmapPixelFormat(pal), pf8bit);
  const QImage same = CheckedLoad(BitmapToDIBStream(pal, pf8bit, crMedianCut), 8);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(same.color(i), pal.color(i));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(same.pixelIndex(x, y), pal.pixelIndex(x, y));

  const QImage grey = CheckedLoad(BitmapToDIBStream(pal, pf8bit, crGrayscale), 8);
  EXPECT_EQ(grey.pixel(0, 0), qRgb(67, 67, 67));  // (77 x 200 + 150 x 10 + 29 x 10) >> 8
  for (int i = 0; i < 256; ++i) EXPECT_EQ(grey.color(i), qRgb(i, i, i));

  QImage mono(9, 2, QImage::Format_Mono);
  mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  mono.fill(0);
  mono.setPixel(8, 1, 1);
  EXPECT_EQ(GetBitmapPixelFormat(mono), pf1bit);
  const QImage m = CheckedLoad(BitmapToDIBStream(mono, pf1bit), 1);
  EXPECT_EQ(m.pixel(8, 1), qRgb(255, 255, 255));
  EXPECT_EQ(m.pixel(7, 1), qRgb(0, 0, 0));
  EXPECT_EQ(GetBitmapPixelFormat(Rgb(1, 1)), pf24bit);
}
