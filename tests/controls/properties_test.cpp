// The look objects: change protocol, ranges, bevel widths and painting,
// fills, gradients, captions and the segmented bar.
#include <gtest/gtest.h>

#include "controls/ctlerror.h"
#include "controls/properties.h"

namespace {

QImage Blank(int w, int h, QColor c = Qt::white) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}

// Counts the notifications of an object and checks their sender.
struct Counter {
  explicit Counter(CtlObject& o) {
    o.OnChange = [this, &o](CtlObject* sender) {
      EXPECT_EQ(sender, &o);
      ++count;
    };
  }
  int count = 0;
};

}  // namespace

TEST(BevelWidth, EveryModeGivesItsWidth) {
  CtlBevel b;
  b.SetStyleOuter(bvRaised);
  b.SetWidthOuter(3);
  b.SetWidthInner(0);
  EXPECT_EQ(b.BevelExtend(), 3);
  b.SetStyleOuter(bvFrameRaised);
  b.SetWidthOuter(2);
  EXPECT_EQ(b.BevelExtend(), 3);

  b.SetMode(bmEdge);
  b.SetBorderInnerWidth(1);
  EXPECT_EQ(b.BevelExtend(), 3);
  b.SetBorderSides(0);
  EXPECT_EQ(b.BevelExtend(), 1);

  CtlBevel w;
  w.SetMode(bmWindows);
  EXPECT_EQ(w.BevelExtend(), 2);
  w.SetWindowBorder(true);
  EXPECT_EQ(w.BevelExtend(), 0);

  CtlBevel s;
  s.SetStyleOuter(bvShadow);
  s.SetWidthInner(2);
  s.SetWidthOuter(5);
  EXPECT_EQ(s.BevelExtend(), 2);
  EXPECT_EQ(s.ClientInset(), 7);
  EXPECT_EQ(s.GetClientRect(QRect(0, 0, 100, 50)), QRect(2, 2, 91, 41));  // (2, 2) to (93, 43)
}

TEST(BevelWidth, RangesAreHeld) {
  CtlBevel b;
  b.SetWidthOuter(80);
  EXPECT_EQ(b.WidthOuter(), 50);
  b.SetWidthInner(-3);
  EXPECT_EQ(b.WidthInner(), 0);
  b.SetBorderWidth(400);
  EXPECT_EQ(b.BorderWidth(), 255);
}

TEST(BevelPaint, EtchedEdgeIsSunkenOutsideAndEmptyBevelDrawsNothing) {
  CtlBevel b;
  b.SetMode(bmEdge);
  QImage img = Blank(20, 20);
  {
    QPainter p(&img);
    EXPECT_EQ(b.PaintBevel(p, img.rect(), false), QRect(2, 2, 16, 16));
  }
  EXPECT_EQ(img.pixel(0, 0), qRgb(0x80, 0x80, 0x80));
  EXPECT_EQ(img.pixel(1, 1), qRgb(0xFF, 0xFF, 0xFF));

  CtlBevel none;
  QImage plain = Blank(10, 10), before = plain;
  {
    QPainter p(&plain);
    EXPECT_EQ(none.PaintBevel(p, QRect(0, 0, 10, 10), false), QRect(0, 0, 10, 10));
  }
  EXPECT_EQ(plain, before);
}

TEST(BevelNotify, AssignRecreateAndEqualValues) {
  CtlBevel a, b;
  Counter changes(b);
  a.SetStyleOuter(bvLowered);
  a.SetWidthOuter(4);
  a.SetEdgeStyle(etBump);
  b.Assign(a);
  EXPECT_EQ(changes.count, 1);
  EXPECT_THROW(b.Assign(CtlShadow()), CtlError);
  EXPECT_EQ(b.WidthOuter(), 4);
  EXPECT_EQ(b.EdgeStyle(), etBump);
  b.SetWidthOuter(4);
  b.SetEdgeStyle(etBump);
  EXPECT_EQ(changes.count, 1);

  CtlBevel w;
  EXPECT_FALSE(w.NeedsRecreate());
  w.SetMode(bmWindows);
  EXPECT_FALSE(w.NeedsRecreate());  // no window-border flag
  w.SetWindowBorder(true);
  EXPECT_TRUE(w.NeedsRecreate());   // bmWindows with the flag
  w.SetMode(bmCustom);
  EXPECT_TRUE(w.NeedsRecreate());   // left bmWindows
  EXPECT_FALSE(w.NeedsRecreate());  // answered once
}

TEST(PropertyNotify, SettersThatStayQuiet) {
  CtlBevel b;
  Counter bevel(b);
  b.SetStandardStyle(lsRaised);  // drawn only in bmStandard
  EXPECT_EQ(bevel.count, 0);
  b.SetMode(bmStandard);
  b.SetStandardStyle(lsLowered);
  EXPECT_EQ(bevel.count, 2);

  CtlFillObject f;
  Counter fill(f);
  f.SetStyle(sfBitmap);
  f.SetOffsetX(5);  // tiled: nothing moves
  EXPECT_EQ(fill.count, 1);
  f.SetTileMode(tmNone);
  f.SetOffsetX(6);
  f.SetAlignment(agCenter);
  EXPECT_EQ(fill.count, 4);

  CtlFxCaption fx;
  Counter effect(fx);
  fx.SetAngle(360);
  EXPECT_EQ(fx.Angle(), 0);
  EXPECT_EQ(effect.count, 0);  // 0 already
  fx.SetAngle(90);
  fx.SetPos(3, 4);
  EXPECT_EQ(effect.count, 1);
  EXPECT_EQ(fx.PosX(), 3);
  EXPECT_EQ(fx.PosY(), 4);
  fx.SetPosX(3);
  EXPECT_EQ(effect.count, 1);
}

TEST(PropertyNotify, RangesAndAssignAcrossClasses) {
  CtlSmallBar bar;
  bar.SetBarCount(0);
  EXPECT_EQ(bar.BarCount(), 1);
  EXPECT_EQ(bar.BarSize(mdHorizontal, 100, 20), 97);
  CtlGradient g;
  g.SetColorCount(1);
  EXPECT_EQ(g.ColorCount(), 2);
  EXPECT_EQ(g.Colors().size(), 2u);
  CtlButtonLayout layout;
  layout.SetArrowSize(30);
  EXPECT_EQ(layout.ArrowSize(), 10);
  CtlShadow s;
  s.SetDepth(99);
  EXPECT_EQ(s.Depth(), 40);

  // One notification per copy; a bevel cannot take a shadow.
  CtlShadow t;
  Counter shadow(t);
  t.Assign(s);
  EXPECT_EQ(shadow.count, 1);
  EXPECT_EQ(t.Depth(), 40);
  CtlBevel b;
  EXPECT_THROW(b.Assign(s), CtlError);
  // A caption effect copies into a rotated one and keeps its own angle when the source has none.
  Ctl3DCaption plain;
  plain.SetStyle(tdSunken);
  CtlFxCaption fx;
  fx.SetAngle(45);
  fx.Assign(plain);
  EXPECT_EQ(fx.Style(), tdSunken);
  EXPECT_EQ(fx.Angle(), 45);
}

TEST(PropertyNotify, DefaultsOfTheLayoutsAndTheFills) {
  EXPECT_EQ(CtlButtonLayout().Alignment(), agCenter);
  EXPECT_EQ(CtlGlyphTextLayout().Alignment(), agTopLeft);
  EXPECT_EQ(CtlShapeFill().Style(), sfBrush);
  EXPECT_EQ(CtlFillObject().Style(), sfNone);
  EXPECT_EQ(CtlGradient().Style(), gstVertical);
  EXPECT_EQ(FocusStyleFlags(1), 64u);
  EXPECT_EQ(FocusStyleFlags(2), 128u);
  EXPECT_EQ(FocusStyleFlags(3), 256u);
  EXPECT_EQ(FocusStyleFlags(4), 0u);
}

TEST(Caption, RotationNeedsATrueTypeFont) {
  SetTrueTypeTestHook([](const QFont&) { return false; });
  CtlCaption c;
  Counter changes(c);
  c.FontFx().SetAngle(90);
  EXPECT_EQ(c.Font().family(), "Arial");  // a new effect takes a font that turns
  QFont f;
  f.setFamily("Fixed");
  c.SetFont(f);
  EXPECT_EQ(c.FontFx().Angle(), 0);  // a new font drops the rotation
  EXPECT_EQ(changes.count, 2);
  SetTrueTypeTestHook(nullptr);

  CtlCaption ok;
  ok.FontFx().SetAngle(90);
  ok.SetFont(f);
  EXPECT_EQ(ok.FontFx().Angle(), 90);
}

TEST(Fill, TransparencyTable) {
  CtlFillObject f;
  EXPECT_TRUE(f.IsTransparent());  // sfNone
  f.SetStyle(sfBrush);
  EXPECT_FALSE(f.IsTransparent());
  f.SetBrushStyle(Qt::BDiagPattern);
  EXPECT_FALSE(f.IsTransparent());  // foFillInner
  f.SetOptions(0);
  EXPECT_TRUE(f.IsTransparent());
  f.SetStyle(sfBitmap);
  f.SetTileMode(tmCenter);
  EXPECT_TRUE(f.IsTransparent());
  f.SetTileMode(tmTile);
  EXPECT_FALSE(f.IsTransparent());
  f.SetOptions(foFillInner);
  f.SetTileMode(tmCenter);
  EXPECT_FALSE(f.IsTransparent());
  f.SetStyle(sfGradient);
  EXPECT_FALSE(f.IsTransparent());
}

TEST(Fill, EmptyPictureGradientAndPatternBitmap) {
  QImage img = Blank(20, 20), before = img;
  CtlFillObject f;
  f.SetStyle(sfBitmap);
  {
    QPainter p(&img);
    EXPECT_TRUE(f.IsEmpty());
    EXPECT_FALSE(f.FillCanvas(p, img.rect(), clBtnFace));
  }
  EXPECT_EQ(img, before);

  CtlGradient g;
  ASSERT_EQ(g.Colors().size(), 16u);
  EXPECT_EQ(g.Colors()[0], CtlRgb(0, 0, 255));
  EXPECT_EQ(g.Colors()[1], CtlRgb(0, 0, 238));
  EXPECT_EQ(g.Colors()[15], CtlRgb(0, 0, 0));

  QImage pattern = Blank(2, 2, Qt::red);
  pattern.setPixel(1, 1, qRgb(0, 0, 255));
  f.SetStyle(sfBrushBitmap);
  f.SetBitmap(pattern);
  QImage out = Blank(8, 8);
  {
    QPainter p(&out);
    EXPECT_TRUE(f.FillCanvas(p, out.rect(), clBtnFace));
  }
  EXPECT_EQ(out.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(out.pixel(5, 5), qRgb(0, 0, 255));
  EXPECT_EQ(out.pixel(6, 7), qRgb(255, 0, 0));

  f.SetStyle(sfGradient);
  QImage ramp = Blank(10, 16);
  {
    QPainter p(&ramp);
    EXPECT_TRUE(f.FillClipped(p, QRect(0, 0, 10, 16), 0, clBtnFace));
  }
  EXPECT_NE(ramp.pixel(5, 0), ramp.pixel(5, 15));
}

TEST(Fill, ClippedFillKeepsOutsideTheMovedRectangle) {
  CtlFillObject f;
  f.SetStyle(sfBrush);
  f.SetBrushColor(CtlRgb(0, 255, 0));
  QImage img = Blank(20, 20);
  {
    QPainter p(&img);
    // Offset (5, -2) packed as x in the low word, y in the high word.
    const std::uint32_t offset = 5u | (static_cast<std::uint32_t>(static_cast<std::uint16_t>(-2)) << 16);
    EXPECT_TRUE(f.FillClipped(p, QRect(0, 4, 10, 10), offset, clBtnFace));
  }
  EXPECT_EQ(img.pixel(4, 8), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(5, 8), qRgb(0, 255, 0));
  EXPECT_EQ(img.pixel(9, 11), qRgb(0, 255, 0));
  EXPECT_EQ(img.pixel(9, 12), qRgb(255, 255, 255));
}

TEST(SmallBar, SegmentLength) {
  CtlSmallBar bar;
  EXPECT_EQ(bar.BarSize(mdHorizontal, 100, 10), 7);
  bar.SetHSpace(1);
  bar.SetBarCount(20);
  EXPECT_EQ(bar.BarSize(mdHorizontalReverse, 227, 10), 10);
  EXPECT_EQ(bar.BarSize(mdVertical, 10, 100), 2);  // (100 - 3 x 20) / 20
}
