// Pixel tests of the drawing procedures: bevels, edges, arrows, bitmap
// placement and masks, gradients, button faces and text layout.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "controls/application.h"
#include "controls/paintkit.h"

namespace {

const QRgb kRed = qRgb(255, 0, 0), kBlue = qRgb(0, 0, 255), kMagenta = qRgb(255, 0, 255);
const QRgb kBack = qRgb(1, 2, 3);
const CtlColor kCtlRed = CtlRgb(255, 0, 0), kCtlBlue = CtlRgb(0, 0, 255), kCtlMagenta = CtlRgb(255, 0, 255);

QImage Canvas(int w, int h, QRgb fill = kBack) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

QRect Gdi(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }

// Painter over an image with the exact-pixel settings.
struct Paint {
  QImage img;
  QPainter p;
  explicit Paint(int w, int h, QRgb fill = kBack) : img(Canvas(w, h, fill)), p(&img) { CtlPreparePainter(p); }
  QImage done() {
    p.end();
    return img;
  }
};

// The horizontal runs of colour c, one per row: (first x, length).
std::vector<std::pair<int, int>> Runs(const QImage& img, QRgb c) {
  std::vector<std::pair<int, int>> runs;
  for (int y = 0; y < img.height(); ++y) {
    int first = -1, n = 0;
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) == c) {
        if (first < 0) first = x;
        ++n;
      }
    if (n) runs.push_back({first, n});
  }
  return runs;
}

bool Untouched(const QImage& img) {
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != kBack) return false;
  return true;
}

}  // namespace

TEST(Drawing, MulDivRoundsHalvesAwayFromZeroAndRefusesOverflow) {
  EXPECT_EQ(MulDiv(1, 5, 2), 3);
  EXPECT_EQ(MulDiv(-1, 5, 2), -3);
  EXPECT_EQ(MulDiv(1, 10, 4), 3);
  EXPECT_EQ(MulDiv(3, 10, 4), 8);
  EXPECT_EQ(MulDiv(7, 3, 0), -1);
  EXPECT_EQ(MulDiv(0x40000000, 4, 1), -1);
  EXPECT_EQ(MulDiv(0x40000000, 4, 2), -1);
  EXPECT_EQ(MulDiv(2000000000, 2000000000, 2000000000), 2000000000);
}

TEST(Drawing, BevelFrameWidthsAndStyles) {
  const CtlColor a = kCtlRed, b = kCtlBlue;
  {
    Paint c(10, 10);
    QRect r(0, 0, 10, 10);
    EXPECT_TRUE(DrawBevelFrame(c.p, r, bvRaised, 1, a, b));
    EXPECT_EQ(r, Gdi(1, 1, 9, 9));
    QImage img = c.done();
    for (int i = 0; i <= 8; ++i) {
      EXPECT_EQ(img.pixel(0, i), kBlue) << i;
      EXPECT_EQ(img.pixel(i, 0), kBlue) << i;
    }
    for (int i = 1; i <= 9; ++i) {
      EXPECT_EQ(img.pixel(9, i), kRed) << i;
      EXPECT_EQ(img.pixel(i, 9), kRed) << i;
    }
    EXPECT_EQ(img.pixel(9, 0), kRed);  // the bottom-right polyline starts at the top-right corner
    EXPECT_EQ(img.pixel(0, 9), kBlue);
    EXPECT_EQ(img.pixel(5, 5), kBack);
  }
  {
    Paint c(10, 10);
    QRect r(0, 0, 10, 10);
    DrawBevelFrame(c.p, r, bvLowered, 1, a, b);
    QImage img = c.done();
    EXPECT_EQ(img.pixel(0, 0), kRed);
    EXPECT_EQ(img.pixel(9, 9), kBlue);
  }
  for (CtlBevelStyle s : {bvNone, bvShadow}) {
    Paint c(10, 10);
    QRect r(0, 0, 10, 10);
    EXPECT_FALSE(DrawBevelFrame(c.p, r, s, 1, a, b));
    EXPECT_EQ(r, QRect(0, 0, 10, 10));
    EXPECT_TRUE(Untouched(c.done()));
  }
  {
    Paint c(10, 10);
    QRect r(0, 0, 10, 10);
    DrawBevelFrame(c.p, r, bvRaised, 2, a, b);
    EXPECT_EQ(r, Gdi(2, 2, 8, 8));
    QImage img = c.done();
    EXPECT_EQ(img.pixel(0, 0), kBlue);
    EXPECT_EQ(img.pixel(1, 1), kBlue);
    EXPECT_EQ(img.pixel(9, 9), kRed);
    EXPECT_EQ(img.pixel(8, 8), kRed);
    EXPECT_EQ(img.pixel(5, 5), kBack);
  }
  {
    Paint c(10, 10);
    QRect r(0, 0, 10, 10);
    DrawBevelFrame(c.p, r, bvFrameRaised, 2, a, b);
    EXPECT_EQ(r, Gdi(3, 3, 7, 7));
  }
}

TEST(Drawing, ShadowBevelBandsCornersAndFrames) {
  Paint c(10, 10);
  QRect r(0, 0, 10, 10);
  EXPECT_TRUE(DrawShadowBevel(c.p, r, clBlack, false, 1, 2, kCtlBlue, kCtlRed));
  EXPECT_EQ(r, Gdi(1, 1, 7, 7));
  QImage img = c.done();
  EXPECT_EQ(img.pixel(9, 0), kBlue);
  EXPECT_EQ(img.pixel(0, 9), kBlue);
  EXPECT_EQ(img.pixel(9, 5), kRed);
  EXPECT_EQ(img.pixel(5, 9), kRed);
  EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(4, 4), kBack);

  Paint d(10, 10);
  QRect s(0, 0, 10, 10);
  DrawShadowBevel(d.p, s, clBlack, true, 0, 2, kCtlBlue, kCtlRed);
  EXPECT_EQ(d.done().pixel(9, 0), kBack);  // the corner flag leaves the squares out
}

TEST(Drawing, EdgeStylesAndBorderWidths) {
  Paint c(10, 10);
  QRect r(0, 0, 10, 10);
  EXPECT_TRUE(DrawEdgeStyle(c.p, r, lsRaised, 0));
  EXPECT_EQ(r, Gdi(2, 2, 8, 8));
  QImage img = c.done();
  EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(1, 1), qRgb(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(img.pixel(9, 9), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(8, 8), qRgb(0x80, 0x80, 0x80));
  EXPECT_EQ(img.pixel(9, 0), qRgb(0, 0, 0));  // the right column is drawn over the top row

  QImage scratch = Canvas(10, 10);
  QPainter p(&scratch);
  QRect spb(0, 0, 10, 10), ext(0, 0, 10, 10);
  DrawEdgeStyle(p, spb, lsRaisedspb, 0);
  DrawEdgeStyle(p, ext, lsRaisedExt, 0);
  EXPECT_EQ(ext, spb.adjusted(1, 1, 0, 0));
  EXPECT_EQ(BorderStyleWidth(lsNone), 0);
  EXPECT_EQ(BorderStyleWidth(lsSingleLowered), 1);
  EXPECT_EQ(BorderStyleWidth(lsSingle), 1);
  EXPECT_EQ(BorderStyleWidth(lsWindowBorder), 2);
}

TEST(Drawing, ArrowsDownUpDisabledAndOutOfRange) {
  Paint down(20, 20);
  DrawArrow(down.p, 0, 0, true, true, kCtlRed, 4);
  const std::vector<std::pair<int, int>> want_down = {{0, 7}, {1, 5}, {2, 3}, {3, 1}};
  EXPECT_EQ(Runs(down.done(), kRed), want_down);

  Paint up(20, 20);
  DrawArrow(up.p, 1, 0, true, false, kCtlRed, 4);  // x = 1, so the row starting at x − 1 stays visible
  const std::vector<std::pair<int, int>> want_up = {{3, 1}, {2, 3}, {1, 5}, {0, 7}};
  EXPECT_EQ(Runs(up.done(), kRed), want_up);

  for (int n : {1, 16}) {
    Paint c(40, 40);
    DrawArrow(c.p, 5, 5, true, true, kCtlRed, n);
    EXPECT_TRUE(Runs(c.done(), kRed).empty()) << n;
  }

  Paint off(20, 20);
  DrawArrow(off.p, 2, 2, false, true, kCtlRed, 4);
  QImage img = off.done();
  const QRgb grey = qRgb(0x80, 0x80, 0x80), white = qRgb(255, 255, 255);
  EXPECT_EQ(img.pixel(2, 2), grey);
  EXPECT_EQ(img.pixel(9, 3), white);  // one right of and below the end of the top grey row (8, 2)
  EXPECT_EQ(img.pixel(6, 6), white);  // below-right of the grey tip (5, 5)
  EXPECT_EQ(img.pixel(5, 5), grey);
}

TEST(Drawing, EmbossSplitAndDisabledGlyph) {
  QImage src(5, 1, QImage::Format_RGB32);
  src.setPixel(0, 0, kMagenta);
  src.setPixel(1, 0, qRgb(0, 0, 0));
  src.setPixel(2, 0, qRgb(100, 100, 100));
  src.setPixel(3, 0, qRgb(167, 167, 166));
  src.setPixel(4, 0, qRgb(255, 255, 255));
  const QImage e = MakeEmbossedImage(src);
  EXPECT_EQ(e.pixel(0, 0), kMagenta);
  EXPECT_EQ(e.pixel(1, 0), qRgb(0, 0, 0));
  EXPECT_EQ(e.pixel(2, 0), qRgb(0x80, 0x80, 0x80));
  EXPECT_EQ(e.pixel(3, 0), qRgb(255, 255, 255));  // button highlight
  EXPECT_EQ(e.pixel(4, 0), qRgb(255, 255, 255));

  QImage pic = Canvas(6, 6, kMagenta);
  for (int y = 1; y < 4; ++y)
    for (int x = 1; x < 4; ++x) pic.setPixel(x, y, kBlue);
  QImage mask, image;
  SplitImageMask(pic, mask, image, kCtlMagenta);
  EXPECT_EQ(mask.format(), QImage::Format_Mono);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 1 && x < 4 && y >= 1 && y < 4;
      ASSERT_EQ(mask.pixel(x, y), inside ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x << "," << y;
      ASSERT_EQ(image.pixel(x, y), inside ? kBlue : qRgb(0, 0, 0));
    }
  Paint onto(6, 6, kRed);
  DrawBitmapStyled(onto.p, QRect(0, 0, 6, 6), image, image.rect(), &mask, clNone, dbMasked);
  QImage masked = onto.done();
  EXPECT_EQ(masked.pixel(0, 0), kRed);
  EXPECT_EQ(masked.pixel(2, 2), kBlue);
  // The transparent flag splits by itself and gives the same picture.
  Paint split(6, 6, kRed);
  DrawBitmapStyled(split.p, QRect(0, 0, 6, 6), pic, kMagenta, dbTransparent);
  EXPECT_EQ(split.done(), masked);

  QImage glyph = Canvas(8, 8, kMagenta);
  for (int y = 2; y < 5; ++y)
    for (int x = 2; x < 5; ++x) glyph.setPixel(x, y, qRgb(0, 0, 0));
  QImage off;
  MakeDisabledGlyph(off, glyph, 0, 0);
  EXPECT_EQ(off.pixel(3, 3), qRgb(0x80, 0x80, 0x80));
  EXPECT_EQ(off.pixel(5, 3), qRgb(255, 255, 255));
  EXPECT_EQ(off.pixel(3, 5), qRgb(255, 255, 255));
  EXPECT_EQ(off.pixel(5, 5), qRgb(255, 255, 255));
  EXPECT_EQ(off.pixel(1, 1), kMagenta);
  EXPECT_EQ(off.pixel(6, 6), kMagenta);
}

TEST(Drawing, PlacementCentreStretchTileAndEmptySource) {
  QImage src4 = Canvas(4, 4, kRed);
  Paint c(10, 10);
  EXPECT_EQ(DrawBitmapStyled(c.p, QRect(0, 0, 10, 10), src4, QColor(), dbCenter), Gdi(3, 3, 7, 7));

  QImage wide = Canvas(20, 10, kRed), tall = Canvas(10, 20, kRed);
  EXPECT_EQ(DrawBitmap(c.p, QRect(0, 0, 10, 10), wide, clNone, dbStretch | dbKeepAspect), Gdi(0, 0, 10, 5));
  EXPECT_EQ(DrawBitmap(c.p, QRect(0, 0, 10, 10), wide, clNone, dbStretch | dbKeepWidth), Gdi(0, 0, 10, 5));
  EXPECT_EQ(DrawBitmap(c.p, QRect(0, 0, 10, 10), tall, clNone, dbStretch | dbKeepHeight), Gdi(0, 0, 5, 10));
  EXPECT_EQ(DrawBitmap(c.p, QRect(0, 0, 10, 10), wide, clNone, dbStretch), Gdi(0, 0, 10, 10));

  // A tile of 4 × 4 cells with a blue corner: 9 cells, nothing outside the target.
  QImage cell = Canvas(4, 4, kRed);
  cell.setPixel(0, 0, kBlue);
  Paint t(14, 14);
  EXPECT_EQ(DrawBitmap(t.p, Gdi(2, 2, 12, 12), cell, clNone, dbTile), Gdi(2, 2, 12, 12));
  QImage tiled = t.done();
  int corners = 0;
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 14; ++x) {
      const bool inside = x >= 2 && x < 12 && y >= 2 && y < 12;
      if (!inside) {
        ASSERT_EQ(tiled.pixel(x, y), kBack) << x << "," << y;
      }
      if (tiled.pixel(x, y) == kBlue) ++corners;
    }
  EXPECT_EQ(corners, 9);

  Paint e(10, 10);
  const QRect target(1, 1, 8, 8);
  EXPECT_EQ(DrawBitmap(e.p, target, QImage(0, 5, QImage::Format_RGB32), clNone, dbStretch | dbKeepAspect), target);
  EXPECT_EQ(DrawBitmapStyled(e.p, target, src4, QRect(0, 0, 0, 4), nullptr, clNone, dbStretch | dbKeepAspect),
            target);
  EXPECT_TRUE(Untouched(e.done()));
}

TEST(Drawing, ClippedDrawingKeepsToTheMovedTarget) {
  QImage src = Canvas(10, 10, kRed);
  Paint c(20, 20);
  // Offset (−2, 3) packed into low and high words.
  const std::uint32_t offset = (0xFFFEu) | (3u << 16);
  DrawBitmapExt(c.p, QRect(0, 0, 10, 10), src, clNone, offset, dbClip);
  QImage img = c.done();
  EXPECT_EQ(img.pixel(0, 2), kBack);
  EXPECT_EQ(img.pixel(0, 3), kRed);
  EXPECT_EQ(img.pixel(7, 9), kRed);
  EXPECT_EQ(img.pixel(8, 5), kBack);
}

TEST(Drawing, ShadowPatternAndThroughBuffer) {
  Paint c(10, 10, kRed);
  CreateShadowPatternBrush(c.p, QRect(2, 2, 4, 4), CtlApplication::Instance()->PatternBrush(clBlack));
  QImage img = c.done();
  EXPECT_EQ(img.pixel(2, 2), kRed);  // x + y even: white pattern keeps what is there
  EXPECT_EQ(img.pixel(3, 2), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(1, 2), kRed);  // outside the rectangle

  QImage pic = Canvas(4, 4, kMagenta);
  pic.setPixel(1, 1, kBlue);
  QImage buffer = Canvas(4, 4, qRgb(0, 255, 0));
  Paint d(4, 4, kRed);
  DrawMaskedThroughBuffer(d.p, QRect(0, 0, 4, 4), pic, CtlRgb(0, 255, 0), kCtlMagenta, buffer);
  QImage out = d.done();
  EXPECT_EQ(out.pixel(1, 1), kBlue);
  EXPECT_EQ(out.pixel(0, 0), kRed);
}

TEST(Drawing, GradientColoursAndBands) {
  auto colours = BuildGradientColors(kCtlBlue, clBlack, 16);
  ASSERT_EQ(colours.size(), 16u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(colours[static_cast<std::size_t>(i)], CtlRgb(0, 0, 255 - 17 * i)) << i;
  auto three = BuildGradientColors(clBlack, CtlRgb(5, 5, 5), 3);
  ASSERT_EQ(three.size(), 3u);
  EXPECT_EQ(three[1], CtlRgb(3, 3, 3));
  EXPECT_EQ(BuildGradientColors(kCtlRed, clBlack, 1), std::vector<CtlColor>{kCtlRed});
  EXPECT_TRUE(BuildGradientColors(kCtlRed, clBlack, 0).empty());
  EXPECT_EQ(BuildGradientColors(clBtnFace, clBlack, 1), std::vector<CtlColor>{CtlRgb(0xC0, 0xC0, 0xC0)});
  EXPECT_FALSE(CreateColorPalette(nullptr));

  const std::vector<CtlColor> four = {CtlRgb(10, 0, 0), CtlRgb(20, 0, 0), CtlRgb(30, 0, 0), CtlRgb(40, 0, 0)};
  for (unsigned flags : {0u, gfUseBitmap}) {
    Paint c(10, 3);
    FillGradient(c.p, QRect(0, 0, 10, 3), four, flags, gstHorizontal);
    QImage img = c.done();
    const int want[10] = {10, 10, 10, 20, 20, 30, 30, 30, 40, 40};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(qRed(img.pixel(x, 1)), want[x]) << x << " flags " << flags;
  }
  // The other styles put colour 0 at the top, in the centre or in the corner.
  Paint v(8, 8);
  FillGradient(v.p, QRect(0, 0, 8, 8), four, 0, gstVertical);
  EXPECT_EQ(qRed(v.done().pixel(3, 0)), 10);
  Paint corner(8, 8);
  FillGradient(corner.p, QRect(0, 0, 8, 8), four, gfClip, gstBottomRight);
  QImage ci = corner.done();
  EXPECT_EQ(qRed(ci.pixel(7, 7)), 10);
  EXPECT_EQ(qRed(ci.pixel(0, 0)), 40);
  Paint empty(8, 8);
  FillGradient(empty.p, QRect(0, 0, 8, 8), {}, 0, gstSquare);
  EXPECT_TRUE(Untouched(empty.done()));
}

TEST(Drawing, ButtonFacesByStyleAndState) {
  {
    Paint c(20, 20);
    EXPECT_EQ(DrawButtonFace(c.p, false, QRect(0, 0, 20, 20), clBtnFace, 0, 0, ubsWin31), Gdi(3, 3, 17, 17));
    EXPECT_EQ(DrawButtonFace(c.p, false, QRect(0, 0, 20, 20), clBtnFace, 0, 4, ubsWin31), Gdi(4, 4, 18, 18));
  }
  {
    // Latched old-style face: the pattern of the colour shows through the middle.
    Paint c(20, 20);
    DrawButtonFace(c.p, false, QRect(0, 0, 20, 20), kCtlRed, 0, 3, ubsWin31);
    QImage img = c.done();
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));  // dark outline
    EXPECT_EQ(img.pixel(10, 11), kRed);
    EXPECT_EQ(img.pixel(10, 10), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(15, 12), kRed);
  }
  {
    Paint c(20, 20);
    DrawButtonFace(c.p, false, QRect(0, 0, 20, 20), clBtnFace, 1, 0, ubsWin31);
    EXPECT_EQ(c.done().pixel(0, 0), qRgb(0xC0, 0xC0, 0xC0));  // corner pixels with flag 1
  }
  {
    Paint c(20, 20);
    DrawButtonFace(c.p, false, QRect(0, 0, 20, 20), clBtnFace, 0, 4, ubsWin40);
    QImage img = c.done();
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(19, 19), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(1, 1), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(img.pixel(18, 18), qRgb(0x80, 0x80, 0x80));
  }
  {
    // Flat family: a frame in the pen colour when hot, then the raised inner edge.
    Paint c(20, 20);
    DrawButtonFace(c.p, true, QRect(0, 0, 20, 20), clBtnFace, 0, 0, ubsTarnelFlat);
    QImage img = c.done();
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(1, 1), qRgb(255, 255, 255));
    Paint e(20, 20);
    DrawButtonFace(e.p, false, QRect(0, 0, 20, 20), clBtnFace, 0, 3, ubsExplorer);
    EXPECT_EQ(e.done().pixel(10, 10), kBack);  // explorer faces fill nothing
  }
  {
    Paint c(20, 20);
    DrawButtonFace(c.p, false, QRect(0, 0, 20, 20), clBtnFace, 0, 0, ubsIntegrated);
    QImage img = c.done();
    EXPECT_EQ(img.pixel(19, 19), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(0, 5), qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(img.pixel(1, 5), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(18, 5), qRgb(0x80, 0x80, 0x80));
  }
}

TEST(Drawing, TextMeasureAlignAndGlyphLayout) {
  QFont f;
  f.setPixelSize(12);
  QRect blank(0, 0, 0, 0), amp(0, 0, 0, 0), empty(0, 0, 0, 0);
  DrawLabelText(f, nullptr, blank, " ", false, true, 0, 2);
  DrawLabelText(f, nullptr, amp, "&", false, true, 0, 2);
  DrawLabelText(f, nullptr, empty, "", false, false, 0, 2);
  EXPECT_EQ(amp.size(), blank.size());
  EXPECT_EQ(empty.size(), blank.size());
  const QFontMetrics fm(f);
  EXPECT_EQ(blank.width(), fm.boundingRect(QRect(), Qt::TextSingleLine, " ").width() + 6);
  // A turned caption measures its turned box.
  const QSize flat = CalcTextSize(f, "Mountain", nullptr, 0, 0);
  const QSize turned = CalcTextSize(f, "Mountain", nullptr, 0, 0, false, 90);
  EXPECT_NEAR(turned.width() - 2, flat.height() - 2, 1);
  EXPECT_NEAR(turned.height() - 2, flat.width() - 2, 1);

  EXPECT_EQ(AlignRect(agBottomRight, QSize(4, 4), QRect(0, 0, 10, 10)), Gdi(6, 6, 10, 10));

  GlyphTextLayoutValues layout;
  layout.Alignment = agCenter;
  const QRect area(0, 0, 100, 40), glyph_rect(0, 0, 16, 16);
  const GlyphTextPlaces at = PlaceGlyphText(f, "Go", nullptr, layout, true, 0, 0, glyph_rect, area);
  EXPECT_EQ(at.text.left(), at.glyph.left() + 16 + layout.Spacing + 1);
  EXPECT_EQ(PlaceGlyphText(f, "Go", nullptr, layout, true, glFocusText, 0, glyph_rect, area).focus,
            at.text.adjusted(-1, -1, 1, 1));
  EXPECT_EQ(PlaceGlyphText(f, "Go", nullptr, layout, true, glFocusGlyph, 0, glyph_rect, area).focus, at.glyph);
  EXPECT_EQ(PlaceGlyphText(f, "Go", nullptr, layout, true, glFocusBoth, 0, glyph_rect, area).focus,
            at.text.united(at.glyph).adjusted(-1, -1, 1, 1));
  EXPECT_EQ(PlaceGlyphText(f, "Go", nullptr, layout, true, 0, 0, glyph_rect, area).focus, area.adjusted(1, 1, -1, -1));
  EXPECT_EQ(PlaceGlyphText(f, "Go", nullptr, layout, true, glNoShift, 0, glyph_rect, area).text,
            at.text.translated(-1, -1));
  // Without a glyph the spacing goes too; the arrow widens the text's slot.
  const GlyphTextPlaces alone = PlaceGlyphText(f, "Go", nullptr, layout, false, glNoShift, 0, QRect(), area);
  EXPECT_EQ(alone.text.left(), (100 - alone.text.width()) / 2);
  layout.Arrow = true;
  const GlyphTextPlaces arrow = PlaceGlyphText(f, "Go", nullptr, layout, false, glNoShift, 0, QRect(), area);
  EXPECT_EQ(arrow.arrow.x(), arrow.text.right() + 1 + layout.ArrowIndent);

  QImage glyph = Canvas(16, 16, kRed);
  Paint c(100, 40);
  c.p.setFont(f);
  const QRect focus = DrawGlyphTextLayout(c.p, "Go", nullptr, layout, &glyph, nullptr, clNone, glMeasure | glEnabled, 0,
                                          glyph_rect, area, Qt::black);
  EXPECT_TRUE(Untouched(c.done()));
  EXPECT_FALSE(focus.isEmpty());
}

TEST(Drawing, TrueTypeSeam) {
  QFont f;
  SetTrueTypeTestHook([](const QFont&) { return false; });
  EXPECT_FALSE(IsTrueTypeFont(f));
  SetTrueTypeTestHook(nullptr);
}
