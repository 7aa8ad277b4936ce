// Pixel and text tests of the gradient fill, the "..." shortening, the
// transparent stretched drawing, and the colour, memory and cursor helpers.
#include <gtest/gtest.h>

#include <QImage>
#include <QLocale>
#include <algorithm>
#include <cstring>
#include <limits>
#include <QPainter>

#include "components/graphiques.h"
#include "controls/application.h"
#include "tests/support/memoire.h"

using namespace components;

namespace {

const QRgb kBack = qRgb(1, 2, 3);

struct Paint {
  QImage img;
  QPainter p;
  Paint(int w, int h, QRgb fill = kBack) : img(w, h, QImage::Format_RGB32) {
    img.fill(fill);
    p.begin(&img);
    CtlPreparePainter(p);
  }
  QImage done() {
    p.end();
    return img;
  }
};

int Red(const QImage& img, int x, int y) { return qRed(img.pixel(x, y)); }

// Ten pixels per character.
const TextWidth kFixed = [](const QString& s) { return static_cast<int>(s.size()) * 10; };

}  // namespace

TEST(GradientFillRect, LeftToRightBandsThenEndColourRemainder) {
  Paint paint(100, 10);
  GradientFillRect(paint.p, QRect(0, 0, 100, 10), clBlack, CtlRgb(255, 0, 0), fdLeftToRight, 64);
  const QImage img = paint.done();
  for (int x = 0; x < 64; ++x) {
    EXPECT_EQ(Red(img, x, 0), MulDiv(x, 255, 63)) << x;
    EXPECT_EQ(img.pixel(x, 9), img.pixel(x, 0)) << x;
  }
  EXPECT_EQ(Red(img, 1, 5), 4);
  EXPECT_EQ(Red(img, 32, 5), 130);
  EXPECT_EQ(Red(img, 63, 5), 255);
  for (int x = 64; x < 100; ++x) EXPECT_EQ(img.pixel(x, 3), qRgb(255, 0, 0)) << x;
}

TEST(GradientFillRect, ReversedDirectionsAndRemainderInStartColour) {
  Paint paint(100, 10);
  GradientFillRect(paint.p, QRect(0, 0, 100, 10), clBlack, CtlRgb(255, 0, 0), fdRightToLeft, 64);
  const QImage img = paint.done();
  for (int x = 0; x < 64; ++x) EXPECT_EQ(Red(img, x, 0), 255 - MulDiv(x, 255, 63)) << x;
  for (int x = 64; x < 100; ++x) EXPECT_EQ(img.pixel(x, 0), qRgb(0, 0, 0)) << x;

  // Vertical, 10 rows by 3 bands of 3 rows: the bottom row is the remainder.
  Paint down(4, 10), up(4, 10);
  GradientFillRect(down.p, QRect(0, 0, 4, 10), CtlRgb(0, 0, 0), CtlRgb(0, 200, 0), fdTopToBottom, 3);
  GradientFillRect(up.p, QRect(0, 0, 4, 10), CtlRgb(0, 0, 0), CtlRgb(0, 200, 0), fdBottomToTop, 3);
  const QImage d = down.done(), u = up.done();
  const int expected_down[10] = {0, 0, 0, 100, 100, 100, 200, 200, 200, 200};
  const int expected_up[10] = {200, 200, 200, 100, 100, 100, 0, 0, 0, 0};
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(qGreen(d.pixel(2, y)), expected_down[y]) << y;
    EXPECT_EQ(qGreen(u.pixel(2, y)), expected_up[y]) << y;
  }
}

TEST(GradientFillRect, SmallCountsEmptyRectanglesAndOffsets) {
  Paint paint(20, 6);
  GradientFillRect(paint.p, QRect(2, 1, 10, 4), CtlRgb(10, 20, 30), CtlRgb(200, 0, 0), fdLeftToRight, 1);
  GradientFillRect(paint.p, QRect(15, 0, 0, 6), CtlRgb(10, 20, 30), CtlRgb(200, 0, 0), fdLeftToRight, 64);
  GradientFillRect(paint.p, QRect(15, 0, 3, -2), CtlRgb(10, 20, 30), CtlRgb(200, 0, 0), fdLeftToRight, 64);
  const QImage img = paint.done();
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 2 && x < 12 && y >= 1 && y < 5;
      EXPECT_EQ(img.pixel(x, y), inside ? qRgb(10, 20, 30) : kBack) << x << "," << y;
    }
  // A one-pixel side makes empty bands: all of it is the far-end remainder.
  Paint thin(1, 3);
  GradientFillRect(thin.p, QRect(0, 0, 1, 3), clBlack, clWhite, fdLeftToRight, 200);
  EXPECT_EQ(thin.done().pixel(0, 1), qRgb(255, 255, 255));
}

TEST(ShortenString, FitsShortensAndGivesUp) {
  EXPECT_EQ(ShortenString("abcdef", kFixed, 60), "abcdef");
  EXPECT_EQ(ShortenString("abcdef", kFixed, 50), "ab...");
  EXPECT_EQ(ShortenString("abcdef", kFixed, 59), "ab...");
  EXPECT_EQ(ShortenString("abcdef", kFixed, 20), "...");
  EXPECT_EQ(ShortenString("abcdef", kFixed, 0), "...");
  // The first shortening already drops two characters.
  EXPECT_EQ(ShortenString("abcdef", kFixed, 55), "ab...");
  EXPECT_EQ(ShortenString("abcdefgh", kFixed, 80), "abcdefgh");
  EXPECT_EQ(ShortenString("abcdefgh", kFixed, 79), "abcd...");
  EXPECT_EQ(ShortenString("", kFixed, 0), "");
}

TEST(DrawBitmapTransparent, KeyColourLeavesTheCanvasAlsoStretched) {
  // A 4 x 2 magenta picture with red in its left half.
  QImage pic(4, 2, QImage::Format_RGB32);
  pic.fill(qRgb(255, 0, 255));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) pic.setPixel(x, y, qRgb(255, 0, 0));
  const QRgb blue = qRgb(0, 0, 255);

  Paint same(10, 10, blue);
  DrawBitmapTransparent(same.p, 1, 1, 0, 0, pic, QRect(), CtlRgb(255, 0, 255));
  const QImage a = same.done();
  EXPECT_EQ(a.pixel(1, 1), qRgb(255, 0, 0));
  EXPECT_EQ(a.pixel(2, 2), qRgb(255, 0, 0));
  EXPECT_EQ(a.pixel(3, 1), blue);
  EXPECT_EQ(a.pixel(4, 2), blue);
  EXPECT_EQ(a.pixel(5, 1), blue);

  Paint twice(10, 10, blue);
  DrawBitmapTransparent(twice.p, 0, 0, 8, 4, pic, QRect(), CtlRgb(255, 0, 255));
  const QImage b = twice.done();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(b.pixel(x, y), x < 4 ? qRgb(255, 0, 0) : blue) << x << "," << y;
  EXPECT_EQ(b.pixel(0, 4), blue);

  // "Default" takes the bottom-left pixel: here the red.
  Paint own(10, 10, blue);
  DrawBitmapTransparent(own.p, 0, 0, 0, 0, pic, QRect(), clDefault);
  const QImage d = own.done();
  EXPECT_EQ(d.pixel(0, 0), blue);
  EXPECT_EQ(d.pixel(3, 1), qRgb(255, 0, 255));

  Paint opaque(10, 10, blue);
  DrawBitmapTransparent(opaque.p, 0, 0, 0, 0, pic, QRect(), clNone);
  EXPECT_EQ(opaque.done().pixel(3, 1), qRgb(255, 0, 255));
}

TEST(DrawBitmapTransparent, SourceRectanglesAndMonochromeWhite) {
  QImage pic(4, 1, QImage::Format_RGB32);
  const QRgb c[4] = {qRgb(10, 0, 0), qRgb(20, 0, 0), qRgb(30, 0, 0), qRgb(40, 0, 0)};
  for (int x = 0; x < 4; ++x) pic.setPixel(x, 0, c[x]);
  Paint part(6, 2);
  DrawBitmapRectTransparent(part.p, 3, 1, QRect(1, 0, 2, 1), pic, CtlRgb(30, 0, 0));
  const QImage a = part.done();
  EXPECT_EQ(a.pixel(3, 1), c[1]);
  EXPECT_EQ(a.pixel(4, 1), kBack);
  EXPECT_EQ(a.pixel(5, 1), kBack);

  // A monochrome picture: white is see-through whatever colour is asked.
  QImage mono(2, 1, QImage::Format_Mono);
  mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  mono.setPixel(0, 0, 0);
  mono.setPixel(1, 0, 1);
  Paint m(2, 1);
  DrawBitmapTransparent(m.p, 0, 0, 0, 0, mono, QRect(), CtlRgb(0, 0, 0));
  const QImage b = m.done();
  EXPECT_EQ(b.pixel(0, 0), kBack);
  EXPECT_EQ(b.pixel(1, 0), qRgb(0, 0, 0));
}

TEST(GraphicsHelpers, RectanglesIntegersMemoryAndNotImplemented) {
  EXPECT_EQ(RectWidth(QRect(QPoint(3, 4), QPoint(9, 6))), 7);
  EXPECT_EQ(RectHeight(QRect(3, 4, 5, 6)), 6);
  EXPECT_EQ(MaxInteger(-3, 2), 2);
  EXPECT_EQ(MinInteger(-3, 2), -3);
  const char a[] = "abcdefgh", b[] = "abcdefgX";
  EXPECT_TRUE(CompareMemory(a, b, 7));
  EXPECT_FALSE(CompareMemory(a, b, 8));
  EXPECT_TRUE(CompareMemory(a, b, 0));
  try {
    NotImplemented();
    FAIL();
  } catch (const NotImplementedError& e) {
    EXPECT_STREQ(e.what(), "Function not yet implemented");
  }
}

TEST(Graphiques, FourDigitYearFlagFollowsTheShortDateFormat) {
  EXPECT_TRUE(ShortDateHasFourDigitYear("dd/MM/yyyy"));
  EXPECT_TRUE(ShortDateHasFourDigitYear("d.M.YyYy"));
  EXPECT_FALSE(ShortDateHasFourDigitYear("M/d/yy"));
  EXPECT_FALSE(ShortDateHasFourDigitYear("yyy-MM-dd"));
  EXPECT_FALSE(ShortDateHasFourDigitYear(QLocale(QLocale::English, QLocale::UnitedStates).dateFormat(QLocale::ShortFormat)));
  EXPECT_TRUE(ShortDateHasFourDigitYear(QLocale(QLocale::Swedish, QLocale::Sweden).dateFormat(QLocale::ShortFormat)));
  // The flag starts from the system's format and can be changed.
  const bool system = ShortDateHasFourDigitYear(QLocale::system().dateFormat(QLocale::ShortFormat));
  EXPECT_EQ(FourDigitYear(), system);
  SetFourDigitYear(!system);
  EXPECT_EQ(FourDigitYear(), !system);
  SetFourDigitYear(system);
}

TEST(StretchBltTransparent, ShrinksKeysAndLeavesWhatLiesOutsideThePicture) {
  // Four columns a b c d; shrunk to two, columns a and c are taken.
  QImage pic(4, 1, QImage::Format_RGB32);
  const QRgb c[4] = {qRgb(10, 0, 0), qRgb(20, 0, 0), qRgb(30, 0, 0), qRgb(40, 0, 0)};
  for (int x = 0; x < 4; ++x) pic.setPixel(x, 0, c[x]);
  Paint shrink(4, 1);
  StretchBltTransparent(shrink.p, 1, 0, 2, 1, pic, 0, 0, 4, 1, CtlRgb(30, 0, 0), nullptr);
  const QImage a = shrink.done();
  EXPECT_EQ(a.pixel(0, 0), kBack);
  EXPECT_EQ(a.pixel(1, 0), c[0]);
  EXPECT_EQ(a.pixel(2, 0), kBack);  // column c has the transparent colour
  EXPECT_EQ(a.pixel(3, 0), kBack);

  // A source rectangle running past the picture's right edge: that part is see-through.
  Paint past(4, 1);
  StretchBltTransparent(past.p, 0, 0, 4, 1, pic, 2, 0, 4, 1, clWhite, nullptr);
  const QImage b = past.done();
  EXPECT_EQ(b.pixel(0, 0), c[2]);
  EXPECT_EQ(b.pixel(1, 0), c[3]);
  EXPECT_EQ(b.pixel(2, 0), kBack);
  EXPECT_EQ(b.pixel(3, 0), kBack);

  // Empty and negative sizes draw nothing.
  Paint none(4, 1);
  StretchBltTransparent(none.p, 0, 0, 0, 1, pic, 0, 0, 4, 1, clWhite, nullptr);
  StretchBltTransparent(none.p, 0, 0, 4, -1, pic, 0, 0, 4, 1, clWhite, nullptr);
  StretchBltTransparent(none.p, 0, 0, 4, 1, pic, 0, 0, -4, 1, clWhite, nullptr);
  StretchBltTransparent(none.p, 0, 0, 4, 1, QImage(), 0, 0, 4, 1, clWhite, nullptr);
  const QImage n = none.done();
  for (int x = 0; x < 4; ++x) EXPECT_EQ(n.pixel(x, 0), kBack);
}

TEST(StretchBltTransparent, APaletteKeysTheNearestEntryAndHugeTargetsStayCheap) {
  QImage pic(2, 1, QImage::Format_Indexed8);
  pic.setColorTable({qRgb(250, 0, 0), qRgb(0, 200, 0)});
  pic.setPixel(0, 0, 0);
  pic.setPixel(1, 0, 1);
  const QList<QRgb> table = pic.colorTable();
  // Pure red is not in the table: alone it keys nothing, with the table it keys its nearest entry.
  Paint plain(2, 1), relative(2, 1);
  StretchBltTransparent(plain.p, 0, 0, 2, 1, pic, 0, 0, 2, 1, CtlRgb(255, 0, 0), nullptr);
  StretchBltTransparent(relative.p, 0, 0, 2, 1, pic, 0, 0, 2, 1, PaletteColor(CtlRgb(255, 0, 0)), &table);
  EXPECT_EQ(plain.done().pixel(0, 0), qRgb(250, 0, 0));
  const QImage r = relative.done();
  EXPECT_EQ(r.pixel(0, 0), kBack);
  EXPECT_EQ(r.pixel(1, 0), qRgb(0, 200, 0));
  // The bitmap drawer passes the picture's own table.
  Paint drawn(2, 1);
  DrawBitmapTransparent(drawn.p, 0, 0, 0, 0, pic, QRect(), CtlRgb(255, 0, 0));
  EXPECT_EQ(drawn.done().pixel(0, 0), kBack);

  // One pixel stretched over a billion on each side: only the canvas's part is made.
  QImage dot(1, 1, QImage::Format_RGB32);
  dot.fill(qRgb(0, 0, 255));
  Paint huge(6, 4);
  StretchBltTransparent(huge.p, -(1 << 29), -(1 << 29), 1 << 30, 1 << 30, dot, 0, 0, 1, 1, clWhite, nullptr);
  const QImage h = huge.done();
  EXPECT_EQ(h.pixel(0, 0), qRgb(0, 0, 255));
  EXPECT_EQ(h.pixel(5, 3), qRgb(0, 0, 255));

  // Under a transform the whole target is drawn through it.
  Paint scaled(8, 2);
  scaled.p.scale(2, 2);
  StretchBltTransparent(scaled.p, 0, 0, 2, 1, pic, 0, 0, 2, 1, clWhite, nullptr);
  const QImage s = scaled.done();
  EXPECT_EQ(s.pixel(1, 1), qRgb(250, 0, 0));
  EXPECT_EQ(s.pixel(3, 1), qRgb(0, 200, 0));
  EXPECT_EQ(s.pixel(4, 0), kBack);
}

// Edges past the int range are summed without wrapping, and under a
// transform only what the canvas can show is made: the canvas and the clip
// mapped back, and no more pixels than the device has where it shrinks.
TEST(StretchBltTransparent, EdgesNearTheIntLimitAndTransformsMakeOnlyWhatShows) {
  QImage dot(1, 1, QImage::Format_RGB32);
  dot.fill(qRgb(0, 0, 255));
  constexpr int kMax = std::numeric_limits<int>::max();
  Paint loin(6, 4);
  StretchBltTransparent(loin.p, kMax - 2, kMax - 2, 1000, 1000, dot, 0, 0, 1, 1, clWhite, nullptr);
  StretchBltTransparent(loin.p, 0, 0, 4, 4, dot, kMax - 1, kMax - 1, 1000, 1000, clWhite, nullptr);
  EXPECT_EQ(loin.done().pixel(3, 3), kBack);
  Paint ramene(6, 4);
  ramene.p.translate(-(kMax - 3.0), -(kMax - 3.0));
  StretchBltTransparent(ramene.p, kMax - 2, kMax - 2, 1000, 1000, dot, 0, 0, 1, 1, clWhite, nullptr);
  const QImage r = ramene.done();
  EXPECT_EQ(r.pixel(0, 0), kBack);
  EXPECT_EQ(r.pixel(1, 1), qRgb(0, 0, 255));
  EXPECT_EQ(r.pixel(2, 2), qRgb(0, 0, 255));

  // A 16000 x 16000 stretch under a shift, and a billion-pixel one under a
  // shrink to 1 %, onto a 61 x 47 canvas: a few kilobytes, not a gigabyte.
  for (const double echelle : {1.0, 0.01}) {
    Paint petit(61, 47);
    petit.p.translate(1, 1);
    petit.p.scale(echelle, echelle);
    const int cote = echelle == 1.0 ? 16000 : 1 << 30;
    const std::int64_t pic = test_memoire::croissance_pic(
        [&] { StretchBltTransparent(petit.p, 0, 0, cote, cote, dot, 0, 0, 1, 1, clWhite, nullptr); });
    const QImage img = petit.done();
    if (pic >= 0) {
      EXPECT_LT(pic, test_memoire::borne(8 << 20)) << echelle;
    }
    EXPECT_EQ(img.pixel(0, 0), kBack);
    EXPECT_EQ(img.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(60, 46), qRgb(0, 0, 255));
  }

  // Shrunk by half, each device pixel shows the middle of the two it stands for.
  QImage quatre(4, 1, QImage::Format_RGB32);
  const QRgb c[4] = {qRgb(10, 0, 0), qRgb(20, 0, 0), qRgb(30, 0, 0), qRgb(40, 0, 0)};
  for (int x = 0; x < 4; ++x) quatre.setPixel(x, 0, c[x]);
  Paint moitie(5, 2);
  moitie.p.scale(0.5, 0.5);
  StretchBltTransparent(moitie.p, 0, 0, 8, 2, quatre, 0, 0, 4, 1, clWhite, nullptr);
  const QImage m = moitie.done();
  for (int x = 0; x < 4; ++x) EXPECT_EQ(m.pixel(x, 0), c[x]) << x;
  EXPECT_EQ(m.pixel(4, 0), kBack);
  EXPECT_EQ(m.pixel(0, 1), kBack);

  // A clip cuts the work, not the place of the pixels drawn.
  Paint entier(8, 2), coupe(8, 2);
  coupe.p.setClipRect(3, 0, 3, 2);
  for (Paint* pt : {&entier, &coupe}) {
    pt->p.scale(2, 1);
    StretchBltTransparent(pt->p, 0, 0, 4, 2, quatre, 0, 0, 4, 1, clWhite, nullptr);
  }
  const QImage e = entier.done(), k = coupe.done();
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 2; ++y) EXPECT_EQ(k.pixel(x, y), x >= 3 && x < 6 ? e.pixel(x, y) : kBack) << x << "," << y;
  EXPECT_EQ(e.pixel(7, 1), c[3]);
}

TEST(GraphicsHelpers, PaletteColoursZeroedBlocksAndCursors) {
  EXPECT_EQ(PaletteColor(CtlRgb(1, 2, 3)), 0x02030201u);
  EXPECT_EQ(PaletteColor(clBtnFace), CtlRgb(0xC0, 0xC0, 0xC0) | kPaletteRelative);
  EXPECT_EQ(PaletteColor(PaletteColor(clBlue)), PaletteColor(clBlue));
  EXPECT_EQ(ColorToRgb(PaletteColor(CtlRgb(9, 8, 7))), QColor(9, 8, 7));

  EXPECT_EQ(AllocMemGlobal(0), nullptr);
  EXPECT_EQ(AllocMemGlobal(-8), nullptr);
  for (int k = 0; k < 2; ++k) {
    GlobalMemory m = AllocMemGlobal(4096);
    ASSERT_NE(m, nullptr);
    auto* bytes = static_cast<unsigned char*>(m);
    EXPECT_TRUE(std::all_of(bytes, bytes + 4096, [](unsigned char b) { return b == 0; })) << k;
    std::memset(bytes, 0xAB, 4096);  // the next block is zero again
    FreeMemGlobal(m);
    EXPECT_EQ(m, nullptr);
  }
  GlobalMemory none = nullptr;
  FreeMemGlobal(none);
  EXPECT_EQ(none, nullptr);

  RegisterCursors();
  EXPECT_EQ(CtlApplication::Cursor(crHand).shape(), Qt::OpenHandCursor);
  EXPECT_EQ(CtlApplication::Cursor(crDragHand).shape(), Qt::ClosedHandCursor);
  EXPECT_EQ(CtlApplication::Cursor(14002).shape(), Qt::ArrowCursor);
  EXPECT_EQ(CtlApplication::Cursor(crHandPoint).shape(), Qt::PointingHandCursor);
}
