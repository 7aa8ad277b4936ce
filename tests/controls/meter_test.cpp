// The meter's values and redraw rule, and the progress bar in every style and direction.
#include <gtest/gtest.h>

#include <QTest>

#include "controls/progress.h"
#include "tests/support/peintures.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

// A shown small-bar gauge of fixed size: lowered bevel of 1, inner 100 x 10
// (ten segments of 7 with gaps of 3), white face, red segments.
struct SmallGauge {
  CtlProgress g;
  explicit SmallGauge(CtlMeterDirection d = mdHorizontal) {
    g.SmallBar().SetAutosize(false);
    g.SmallBar().SetBarColor(CtlRgb(255, 0, 0));
    g.SetColor(clWhite);
    g.SetDirection(d);
    const bool across = d == mdHorizontal || d == mdHorizontalReverse;
    g.resize(across ? 102 : 12, across ? 12 : 102);
    g.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&g));
  }
  QImage grab() { return g.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

bool Red(QRgb px) { return px == qRgb(255, 0, 0); }

}  // namespace

TEST(Meter, UserValueFollowsThePositionAndTheRange) {
  CtlProgress g;
  g.SetMaxValue(10);
  g.SetPosition(25);
  EXPECT_EQ(g.UserValue(), 2);  // 2.5: halves to even
  g.SetPosition(55);
  EXPECT_EQ(g.UserValue(), 6);
  g.SetUserValue(3);
  EXPECT_EQ(g.Position(), 30);
  g.SetUserValue(11);
  EXPECT_EQ(g.UserValue(), 3);
  g.SetMaxValue(0);  // the current MinValue
  EXPECT_EQ(g.MaxValue(), 10);

  CtlProgress h;
  h.SetUserValue(52);
  EXPECT_EQ(h.Position(), 52);
  h.SetMaxValue(-50);
  EXPECT_EQ(h.MinValue(), -50);
  EXPECT_EQ(h.MaxValue(), 0);
  EXPECT_EQ(h.UserValue(), 0);
  EXPECT_EQ(h.Position(), 100);
}

TEST(Meter, ZeroShowsAnEmptyBarWithItsTextInTheBarColour) {
  CtlProgress g;
  g.SetStyle(pgBar);
  g.SetOptionsText(toPercent);
  g.SetColor(clWhite);
  g.resize(120, 24);
  g.SetPosition(0);
  EXPECT_EQ(g.Text(), "0%");
  QImage img = g.grab().toImage().convertToFormat(QImage::Format_RGB32);
  int navy = 0;
  for (int y = 1; y < 23; ++y)
    for (int x = 1; x < 119; ++x) {
      const QRgb px = img.pixel(x, y);
      ASSERT_TRUE(px == kWhite || px == qRgb(0, 0, 128)) << x << "," << y;
      navy += px != kWhite;
    }
  EXPECT_GT(navy, 0);
}

TEST(Meter, SmallBarsRedrawOnlyWhenASegmentMoves) {
  SmallGauge gauge;
  EXPECT_EQ(gauge.g.RedrawThreshold(), 5);  // (100 div 10) div 2
  CompteurPeintures compteur(&gauge.g);
  gauge.g.SetPosition(3);
  EXPECT_EQ(compteur.peintures, 0);
  gauge.g.SetPosition(5);
  EXPECT_EQ(compteur.peintures, 1);
  gauge.g.SetOptionsText(toPercent);
  EXPECT_EQ(gauge.g.RedrawThreshold(), 1);

  // Changing the unused solid-bar colour repaints nothing.
  const int before = compteur.peintures;
  gauge.g.SetBarColor(CtlRgb(0, 255, 0));
  EXPECT_EQ(compteur.peintures, before);
}

TEST(Meter, HalfLightsFiveSegmentsFromTheStartOfEachDirection) {
  for (CtlMeterDirection d : {mdHorizontal, mdHorizontalReverse, mdVertical, mdVerticalReverse}) {
    SmallGauge gauge(d);
    gauge.g.SetPosition(50);
    EXPECT_EQ(gauge.g.LitSegments(50), 5);
    QImage img = gauge.grab();
    const bool across = d == mdHorizontal || d == mdHorizontalReverse;
    const bool reverse = d == mdHorizontalReverse || d == mdVerticalReverse;
    // Walk the middle line from the start end and count runs of red.
    int runs = 0, reds = 0;
    bool in = false;
    for (int i = 0; i < 100; ++i) {
      const int k = reverse ? 100 - i : 1 + i;
      const QRgb px = across ? img.pixel(k, 6) : img.pixel(6, k);
      if (Red(px)) ++reds;
      if (Red(px) && !in) ++runs;
      in = Red(px);
    }
    EXPECT_EQ(runs, 5) << d;
    EXPECT_EQ(reds, 35) << d;
    const QRgb first = across ? img.pixel(reverse ? 100 : 1, 6) : img.pixel(6, reverse ? 100 : 1);
    const QRgb last = across ? img.pixel(reverse ? 1 : 100, 6) : img.pixel(6, reverse ? 1 : 100);
    EXPECT_TRUE(Red(first)) << d;
    EXPECT_FALSE(Red(last)) << d;
  }
}

TEST(Meter, OwnerDrawGetsTheThreeRectangles) {
  CtlProgress g;
  g.SetStyle(pgOwnerDraw);
  g.resize(52, 12);
  g.SetPosition(50);
  std::vector<QRect> seen;
  g.OnPaint = [&](CtlProgress* sender, QPainter&, const QRect& filled, const QRect& empty, const QRect& whole) {
    EXPECT_EQ(sender, &g);
    seen = {filled, empty, whole};
  };
  g.grab();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], QRect(1, 1, 25, 10));
  EXPECT_EQ(seen[1], QRect(26, 1, 25, 10));
  EXPECT_EQ(seen[2], QRect(1, 1, 50, 10));
}

TEST(Meter, ColourEventPerSegmentAndAutosize) {
  SmallGauge gauge;
  gauge.g.SetStyle(pgSmallBarColor);
  std::vector<int> asked;
  gauge.g.OnGetColor = [&](CtlProgress*, int segment, CtlColor& colour) {
    EXPECT_EQ(colour, CtlRgb(255, 0, 0));
    asked.push_back(segment);
    if (segment == 1) colour = CtlRgb(0, 0, 255);
  };
  gauge.g.SetPosition(30);
  QImage img = gauge.grab();
  EXPECT_EQ(asked.size() % 3, 0u);
  EXPECT_EQ(img.pixel(1 + 10 + 2, 6), qRgb(0, 0, 255));

  // Autosize: 2 x bevel + 10 x (segment + gap).
  gauge.g.resize(125, 12);
  gauge.g.SmallBar().SetAutosize(true);
  EXPECT_EQ(gauge.g.width(), 2 + 10 * (9 + 3));  // segment Round((123 - 30) / 10) = 9
  gauge.g.resize(60, 12);
  EXPECT_EQ(gauge.g.width(), 2 + 10 * (3 + 3));  // segment Round((58 - 30) / 10) = 3
}
