#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTest>

#include "controls/paintkit.h"

#include "controls/properties.h"
#include "controls/button.h"
#include "controls/fill.h"
#include "controls/progress.h"
#include "tests/support/peintures.h"

namespace {

const QRgb kNavy = qRgb(0, 0, 0x80);
const QRgb kWhite = qRgb(0xFF, 0xFF, 0xFF);

QImage Canvas(int w, int h, QRgb fill) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

// The gauge of the progress window: 227 x 28, lowered bevel of 2, bold 16-pixel text.
struct Gauge {
  CtlProgress g;
  Gauge() {
    g.resize(227, 28);
    g.SetStyle(pgBar);
    g.SetOptionsText(toPercent);
    g.SetColor(clWhite);
    g.Bevel().SetWidthOuter(2);
    QFont f = g.font();
    f.setPixelSize(16);
    f.setBold(true);
    g.setFont(f);
    g.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&g));
  }
  QImage grab() { return g.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

}  // namespace

TEST(BevelFrame, WidthOneDrawsTheFourEdgesOnly) {
  QImage img = Canvas(10, 8, qRgb(1, 2, 3));
  {
    QPainter p(&img);
    QRect r(0, 0, 10, 8);
    EXPECT_TRUE(DrawBevelFrame(p, r, bvRaised, 1, clBtnShadow, clBtnHighlight));
    EXPECT_EQ(r, QRect(1, 1, 8, 6));
  }
  const QRgb light = kWhite, shadow = qRgb(0x80, 0x80, 0x80);
  EXPECT_EQ(img.pixel(0, 0), light);
  EXPECT_EQ(img.pixel(0, 7), light);  // the light polyline starts at the bottom-left corner
  EXPECT_EQ(img.pixel(8, 0), light);
  EXPECT_EQ(img.pixel(9, 0), shadow);
  EXPECT_EQ(img.pixel(9, 7), shadow);
  EXPECT_EQ(img.pixel(1, 7), shadow);
  for (int y = 1; y < 7; ++y)
    for (int x = 1; x < 9; ++x) ASSERT_EQ(img.pixel(x, y), qRgb(1, 2, 3)) << x << "," << y;
}

TEST(FillObject, PictureStylesAndNotifications) {
  CtlFillObject f;
  int changes = 0;
  f.OnChange = [&](CtlObject*) { ++changes; };
  EXPECT_TRUE(f.IsEmpty());
  f.SetStyle(sfBitmap);
  EXPECT_EQ(changes, 1);
  f.SetOffsetX(4);  // tiled pictures do not move
  EXPECT_EQ(changes, 1);
  QImage img = Canvas(6, 6, qRgb(1, 2, 3));
  {
    QPainter p(&img);
    EXPECT_FALSE(f.FillCanvas(p, QRect(0, 0, 6, 6), clWhite));
  }
  EXPECT_EQ(img.pixel(0, 0), qRgb(1, 2, 3));
  f.SetTileMode(tmNone);
  f.SetOffsetX(2);
  EXPECT_EQ(changes, 3);
}

TEST(Gauge, PositionIsHeldWithinZeroToHundred) {
  CtlProgress g;
  g.SetOptionsText(toPercent);
  g.SetPosition(52);
  EXPECT_EQ(g.UserValue(), 52);
  g.SetPosition(150);
  EXPECT_EQ(g.Position(), 100);
  g.SetPosition(0);
  g.SetPosition(300);
  EXPECT_EQ(g.Position(), 100);
  g.SetPosition(-5);
  EXPECT_EQ(g.Position(), 0);
  EXPECT_EQ(g.Text(), "0%");
  g.SetPosition(150);
  EXPECT_EQ(g.Text(), "100%");
}

TEST(Gauge, UserValueAndRange) {
  CtlProgress g;
  g.SetMaxValue(0);  // equal to MinValue: ignored
  EXPECT_EQ(g.MaxValue(), 100);
  g.SetUserValue(150);  // outside the range: ignored
  EXPECT_EQ(g.UserValue(), 0);
  g.SetMaxValue(200);
  g.SetUserValue(50);
  EXPECT_EQ(g.Position(), 25);
  g.SetMaxValue(-10);  // below MinValue: the two swap
  EXPECT_EQ(g.MinValue(), -10);
  EXPECT_EQ(g.MaxValue(), 0);
  EXPECT_EQ(g.UserValue(), 0);
  EXPECT_EQ(g.Position(), 100);
}

TEST(Gauge, BarSplitsTheInnerRowAndTextIsNotSmoothed) {
  Gauge gauge;
  const QRect inner = gauge.g.InnerRect();
  ASSERT_EQ(inner, QRect(2, 2, 223, 24));

  gauge.g.SetPosition(50);
  QImage img = gauge.grab();
  for (int c = 0; c < 223; ++c) ASSERT_EQ(img.pixel(inner.left() + c, inner.top()), c <= 111 ? kNavy : kWhite) << c;
  int navy_text = 0, white_text = 0;
  for (int y = inner.top(); y <= inner.bottom(); ++y)
    for (int x = inner.left(); x <= inner.right(); ++x) {
      const QRgb px = img.pixel(x, y);
      ASSERT_TRUE(px == kNavy || px == kWhite) << x << "," << y;
      if (x < 114 && px == kWhite) ++white_text;
      if (x >= 114 && px == kNavy) ++navy_text;
    }
  EXPECT_GT(white_text, 0);  // the text reads in contrast on both parts
  EXPECT_GT(navy_text, 0);

  gauge.g.SetPosition(0);
  img = gauge.grab();
  for (int c = 0; c < 223; ++c) ASSERT_EQ(img.pixel(inner.left() + c, inner.top()), kWhite);
  gauge.g.SetPosition(100);
  img = gauge.grab();
  for (int c = 0; c < 223; ++c) ASSERT_EQ(img.pixel(inner.left() + c, inner.top()), kNavy);
  EXPECT_EQ(img.pixel(0, 0), qRgb(0x80, 0x80, 0x80));  // lowered bevel: dark top left
}

TEST(Gauge, EveryPositionChangePaintsAtOnce) {
  Gauge gauge;
  CompteurPeintures compteur(&gauge.g);
  for (int k = 1; k <= 5; ++k) {
    const int before = compteur.peintures;
    gauge.g.SetPosition(k * 10);
    EXPECT_GT(compteur.peintures, before) << k;
  }
  const int before = compteur.peintures;
  gauge.g.SetPosition(50);  // unchanged
  EXPECT_EQ(compteur.peintures, before);
}

TEST(FillControl, TilesThePictureFromTheInnerTopLeft) {
  QImage tile(5, 4, QImage::Format_RGB32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) tile.setPixel(x, y, qRgb(10 * x, 20 * y, 7));
  CtlFill f;
  f.resize(40, 30);
  f.Bevel().SetStyleOuter(bvRaised);
  f.Bevel().SetWidthOuter(3);
  f.FillObject().SetStyle(sfBitmapList);
  f.FillObject().SetTileMode(tmTile);
  f.FillObject().SetListBitmap(tile);
  QImage img = f.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(img.pixel(0, 0), kWhite);
  EXPECT_EQ(img.pixel(39, 29), qRgb(0x80, 0x80, 0x80));
  for (int y = 3; y < 27; ++y)
    for (int x = 3; x < 37; ++x) ASSERT_EQ(img.pixel(x, y), tile.pixel((x - 3) % 5, (y - 3) % 4)) << x << "," << y;
}

TEST(PushButton, DisabledButtonShowsItsSecondGlyph) {
  QImage strip(32, 16, QImage::Format_RGB32);
  strip.fill(qRgb(0xFF, 0, 0xFF));  // the bottom-left pixel gives the transparent colour
  for (int y = 2; y < 14; ++y)
    for (int x = 2; x < 14; ++x) {
      strip.setPixel(x, y, qRgb(0xFF, 0, 0));
      strip.setPixel(16 + x, y, qRgb(0, 0, 0xFF));
    }
  CtlButton b;
  b.setText("Cancel");
  b.setGeometry(0, 0, 97, 25);
  b.SetGlyph(strip);
  QImage up = b.grab().toImage();
  const QRect glyphe = cadre_couleur(up, qRgb(0xFF, 0, 0));
  EXPECT_EQ(glyphe.size(), QSize(12, 12));
  EXPECT_EQ(up.pixel(0, 0), kWhite);  // raised face: light top left
  EXPECT_EQ(up.pixel(96, 24), qRgb(0, 0, 0));
  b.setEnabled(false);
  QImage off = b.grab().toImage();
  EXPECT_EQ(b.FaceState(), 1);
  EXPECT_EQ(cadre_couleur(off, qRgb(0, 0, 0xFF)), glyphe);
}

TEST(PushButton, HeldFaceMovesTheContent) {
  QImage strip(16, 16, QImage::Format_RGB32);
  strip.fill(qRgb(0xFF, 0, 0xFF));
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 12; ++x) strip.setPixel(x, y, qRgb(0, 0xFF, 0));
  CtlButton b;
  b.setGeometry(0, 0, 75, 25);
  b.SetGlyph(strip);
  const QRect up = cadre_couleur(b.grab().toImage(), qRgb(0, 0xFF, 0));
  EXPECT_EQ(up.size(), QSize(8, 8));
  b.setDown(true);
  EXPECT_EQ(b.FaceState(), 4);
  QImage img = b.grab().toImage();
  EXPECT_EQ(cadre_couleur(img, qRgb(0, 0xFF, 0)), up.translated(1, 1));
  EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));  // held: black frame
  EXPECT_EQ(img.pixel(1, 1), qRgb(0x80, 0x80, 0x80));
}

TEST(PushButton, DefaultButtonHasADarkFrameAndFocusDots) {
  CtlButton b;
  b.setGeometry(0, 0, 75, 25);
  EXPECT_EQ(b.FaceFlags(), 1u);
  b.setDefault(true);
  EXPECT_EQ(b.FaceFlags(), 0x21u);  // default without the focus: the frame, no focus dots
  QImage img = b.grab().toImage();
  EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(74, 24), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(1, 1), kWhite);  // the raised face inside the frame
  EXPECT_EQ(img.pixel(3, 3), qRgb(0xC0, 0xC0, 0xC0));
}
