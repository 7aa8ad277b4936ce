#include <gtest/gtest.h>

#include <QMdiArea>
#include <QSignalSpy>
#include <QTest>

#include "controls/backpanel.h"
#include "controls/formfill.h"
#include "controls/formshadow.h"
#include "controls/glyphcache.h"
#include "controls/image.h"
#include "controls/labels.h"
#include "controls/shapehint.h"
#include "controls/speedbutton.h"

namespace {

QImage Solid(int w, int h, QColor c) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(c);
  return img;
}


}  // namespace

TEST(SpeedButton, PressedNeedsAGroupAndFiresNothing) {
  QWidget parent;
  auto* b = new CtlSpeedButton(&parent);
  QSignalSpy spy(b, &CtlSpeedButton::clicked);
  b->SetPressed(true);
  EXPECT_FALSE(b->Pressed());
  EXPECT_EQ(b->ButtonState(), CtlSpeedButton::bsUp);
  EXPECT_EQ(spy.count(), 0);
}

TEST(SpeedButton, GroupPressesExclusivelyAndKeepsOneDown) {
  QWidget parent;
  auto* a = new CtlSpeedButton(&parent);
  auto* b = new CtlSpeedButton(&parent);
  b->move(30, 0);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  a->SetPressed(true);
  EXPECT_TRUE(a->Pressed());
  b->SetPressed(true);
  EXPECT_TRUE(b->Pressed());
  EXPECT_FALSE(a->Pressed());
  EXPECT_EQ(a->ButtonState(), CtlSpeedButton::bsUp);
  // A pressed button without AllowAllUp cannot be released directly, by code or by a click.
  b->SetPressed(false);
  EXPECT_TRUE(b->Pressed());
  parent.show();
  QSignalSpy spy(b, &CtlSpeedButton::clicked);
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(b->Pressed());
  EXPECT_EQ(spy.count(), 1);
  QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(a->Pressed());
  EXPECT_FALSE(b->Pressed());
}

TEST(SpeedButton, UngroupedClickFiresOnceAndReturnsUpOrHot) {
  QWidget parent;
  auto* b = new CtlSpeedButton(&parent);
  b->SetStyle(ubsExplorerColored);
  parent.show();
  QSignalSpy spy(b, &CtlSpeedButton::clicked);
  QTest::mousePress(b, Qt::LeftButton, {}, QPoint(4, 4));
  EXPECT_EQ(b->ButtonState(), CtlSpeedButton::bsHeld);
  QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(4, 4));
  EXPECT_EQ(spy.count(), 1);
  EXPECT_FALSE(b->Pressed());
  EXPECT_NE(b->ButtonState(), CtlSpeedButton::bsHeld);
  // Released outside: no click.
  QTest::mousePress(b, Qt::LeftButton, {}, QPoint(4, 4));
  QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(60, 60));
  EXPECT_EQ(spy.count(), 1);
  EXPECT_EQ(b->ButtonState(), CtlSpeedButton::bsUp);
}

TEST(GlyphCache, NumGlyphsFollowsTheBitmapShape) {
  CtlGlyph g;
  g.SetGlyph(Solid(64, 16, Qt::red));
  EXPECT_EQ(g.NumGlyphs(), 4);
  g.SetGlyph(Solid(96, 16, Qt::red));
  EXPECT_EQ(g.NumGlyphs(), 1);
  g.SetNumGlyphs(3);
  g.SetGlyph(Solid(40, 16, Qt::red));
  EXPECT_EQ(g.NumGlyphs(), 3);
}

TEST(GlyphCache, SameSizeGlyphsShareOneStripAndTheCacheGoesWithTheLast) {
  {
    CtlGlyph a, b;
    QImage img = Solid(32, 16, Qt::blue);
    img.setPixel(0, 15, qRgb(255, 0, 255));
    a.SetGlyph(img);
    b.SetGlyph(img);
    ASSERT_GE(a.StateIndex(0), 0);
    ASSERT_GE(b.StateIndex(0), 0);
    EXPECT_EQ(a.Strip(), b.Strip());
    ASSERT_NE(CtlGlyphCache::Instance(), nullptr);
    EXPECT_EQ(CtlGlyphCache::Instance()->StripCount(), 1);
    EXPECT_EQ(a.Strip()->UsedCount(), 2);
  }
  EXPECT_EQ(CtlGlyphCache::Instance(), nullptr);
}

TEST(GlyphCache, DisabledImageIsGeneratedForASingleImageGlyph) {
  CtlGlyph g;
  QImage img = Solid(16, 16, qRgb(255, 0, 255));
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 12; ++x) img.setPixel(x, y, qRgb(200, 40, 40));
  g.SetGlyph(img);
  ASSERT_EQ(g.NumGlyphs(), 1);
  QImage up = g.StateImage(0), disabled = g.StateImage(1);
  ASSERT_FALSE(disabled.isNull());
  EXPECT_NE(g.StateIndex(0), g.StateIndex(1));
  EXPECT_EQ(QColor(up.pixel(6, 6)), QColor(200, 40, 40));
  EXPECT_NE(QColor(disabled.pixel(6, 6)), QColor(200, 40, 40));
  EXPECT_EQ(qAlpha(disabled.pixel(0, 0)), 0);  // the transparent colour stays see-through
  EXPECT_EQ(g.StateIndex(7), g.StateIndex(1));
  EXPECT_EQ(g.StateIndex(2), g.StateIndex(0));
}

TEST(ShapeHint, WindowSizeByStyle) {
  QSize t(30, 13);
  EXPECT_EQ(CtlHintWindowSize(hsNoseRoundRect, t, 6), QSize(46 + 15 + 6 + 8, 13 + 15 + 6 + 3));
  EXPECT_EQ(CtlHintWindowSize(hsNoseRect, QSize(100, 26), 6), QSize(100 + 29, 26 + 24));
  EXPECT_EQ(CtlHintWindowSize(hsRect, t, 6), QSize(36, 19));
  EXPECT_EQ(CtlHintWindowSize(hsRoundRect, t, 6), QSize(44, 23));
  EXPECT_EQ(CtlHintWindowSize(hsEllipse, t, 6), QSize(30 + 10 + 6, 13 + 4 + 6));
  EXPECT_EQ(CtlHintWindowSize(hsNoseEllipse, t, 6), QSize(30 + 15 + 21, 13 + 6 + 21));
}

TEST(ShapeHint, PlacementTriesFourPlacesCyclically) {
  QRect screen(0, 0, 1024, 768);
  QSize s(75, 37);
  CtlHintPlace mid = CtlPlaceHint(QPoint(500, 400), s, hpAboveRight, screen);
  EXPECT_TRUE(mid.fitted);
  EXPECT_EQ(mid.place, hpAboveRight);
  EXPECT_EQ(mid.pos, QPoint(501, 400 - 1 - 37));
  // Near the top-right corner the next place that fits is below-left.
  CtlHintPlace corner = CtlPlaceHint(QPoint(1020, 5), s, hpAboveRight, screen);
  EXPECT_EQ(corner.place, hpBelowLeft);
  EXPECT_EQ(corner.pos, QPoint(1020 - 3 - 75, 6));
  // Nothing fits: the fourth place tried (above-left) with the preferred nose.
  CtlHintPlace none = CtlPlaceHint(QPoint(20, 20), s, hpAboveRight, QRect(0, 0, 50, 50));
  EXPECT_FALSE(none.fitted);
  EXPECT_EQ(none.place, hpAboveRight);
  EXPECT_EQ(none.pos, QPoint(20 - 1 - 75, 20 - 1 - 37));
  EXPECT_EQ(CtlPlaceHint(QPoint(10, 10), s, hpBelowRight, screen).place, hpBelowRight);
}

TEST(ShapeHint, BalloonHasShadowBodyAndSeeThroughCorners) {
  CtlShapeHint hint;
  QRect text(0, 0, 46, 13);
  QSize size = CtlHintWindowSize(hint.Style, text.size(), hint.Shadow.Depth());
  QImage img = hint.PaintShape(size, text, hpAboveRight, "Open");
  EXPECT_EQ(qAlpha(img.pixel(size.width() - 1, 0)), 0);             // outside the rounded body
  EXPECT_EQ(QColor(img.pixel(40, 10)), ColorToRgb(clInfoBk));         // the body
  EXPECT_EQ(QColor(img.pixel(size.width() - 2, 12)), ColorToRgb(clBtnShadow));  // shadow strip at the right
  EXPECT_NE(qAlpha(img.pixel(25, 27)), 0);  // the nose points to the bottom-left
  EXPECT_EQ(qAlpha(img.pixel(5, 20)), 0);
  hint.SetEnabled(false);
  EXPECT_EQ(CtlShapeHint::Active(), nullptr);
}

TEST(BackPanel, MissingEntryPaintsLikeABevelledPanel) {
  CtlBitmapList list;
  list.AddBitmap(Solid(8, 8, Qt::red));
  CtlBackPanel with, plain;
  for (CtlBackPanel* p : {&with, &plain}) {
    p->resize(60, 30);
    p->Bevel().SetStyleOuter(bvRaised);
    p->Bevel().SetWidthOuter(2);
    p->Bevel().SetWidthInner(0);
  }
  with.SetListIndex(5);
  with.SetImageList(&list);
  EXPECT_FALSE(with.HasBuffer());
  EXPECT_EQ(with.grab().toImage(), plain.grab().toImage());
  with.SetListIndex(0);
  EXPECT_TRUE(with.HasBuffer());
  QImage img = with.grab().toImage();
  EXPECT_EQ(QColor(img.pixel(30, 15)), QColor(Qt::red));
  EXPECT_EQ(QColor(img.pixel(0, 0)), ColorToRgb(clBtnHighlight));
  EXPECT_EQ(QColor(img.pixel(59, 29)), ColorToRgb(clBtnShadow));
  EXPECT_EQ(with.ClientRect(), QRect(2, 2, 56, 26));
}

TEST(BackPanel, ResizeRebuildsOnceAndPaintOnlyCopies) {
  CtlBitmapList list;
  list.AddBitmap(Solid(8, 8, Qt::red));
  CtlBackPanel p;
  p.resize(40, 20);
  p.SetImageList(&list);
  const qint64 fond = p.Buffer().cacheKey();
  p.grab();
  EXPECT_EQ(p.Buffer().cacheKey(), fond);
  p.resize(50, 20);
  p.grab();
  const qint64 agrandi = p.Buffer().cacheKey();
  EXPECT_NE(agrandi, fond);
  EXPECT_EQ(p.Buffer().width(), 50);
  p.grab();
  EXPECT_EQ(p.Buffer().cacheKey(), agrandi);
}

TEST(LImage, AutosizeTakesTheEntryAndTheBevel) {
  CtlBitmapList list;
  list.AddBitmap(Solid(32, 32, Qt::green));
  CtlLImage img;
  img.Bevel().SetStyleOuter(bvLowered);
  img.Bevel().SetWidthOuter(2);
  img.Bevel().SetWidthInner(0);
  img.SetStyle(sbAutosize);
  img.SetImageList(&list);
  EXPECT_EQ(img.size(), QSize(36, 36));
  img.SetListIndex(-1);
  EXPECT_EQ(img.ListIndex(), 0);
  QImage shot = img.grab().toImage();
  EXPECT_EQ(QColor(shot.pixel(18, 18)), QColor(Qt::green));
  img.SetListIndex(3);
  EXPECT_EQ(img.size(), QSize(24, 24));  // missing entry: 20 plus the bevel
  EXPECT_EQ(img.DrawFlags(), 1u);
}

TEST(Labels, RaisedShadowLayers) {
  Ctl3DCaption fx;
  fx.SetStyle(tdRaisedShadow);
  fx.SetLightDepth(1);
  fx.SetShadowDepth(2);
  int raise = 0;
  auto layers = FxTextLayers(&fx, true, fxEnabled, Qt::black, Qt::white, &raise);
  ASSERT_EQ(layers.size(), 3u);
  EXPECT_EQ(layers[0].offset, 3);
  EXPECT_EQ(layers[0].colour, ColorToRgb(clBtnShadow));
  EXPECT_EQ(layers[1].offset, 0);
  EXPECT_EQ(layers[1].colour, ColorToRgb(clBtnHighlight));
  EXPECT_TRUE(layers[2].text);
  EXPECT_EQ(layers[2].offset, 1);
  EXPECT_EQ(raise, 3);
  // Disabled with ds3d: sunken grey text.
  fx.SetDisabledStyle(ds3d);
  auto dis = FxTextLayers(&fx, false, 0, Qt::black, Qt::white);
  ASSERT_EQ(dis.size(), 2u);
  EXPECT_EQ(dis[1].colour, ColorToRgb(clGrayText));
}

TEST(Labels, JumpLabelOpensAndFailsToPlain) {
  CtlSimpleLabel l;
  QString opened;
  l.SetOpener([&](const QString& a) {
    opened = a;
    return true;
  });
  l.SetCaption("someone@example.org");
  l.SetJumpMode(CtlSimpleLabel::jmInternet);
  EXPECT_EQ(l.FontColor(), clBlue);
  l.Click();
  EXPECT_EQ(opened, "mailto:someone@example.org");
  l.SetJump("  ");
  l.SetCaption("page");
  EXPECT_EQ(l.JumpTarget(), "page");
  l.SetOpener([](const QString&) { return false; });
  l.Click();
  EXPECT_FALSE(l.isEnabled());
  EXPECT_EQ(l.Mode(), CtlSimpleLabel::jmNone);
  EXPECT_EQ(l.FontColor(), clBlack);
}

TEST(Bevel, WidthsNotificationAndShadowCoupling) {
  CtlBevel b;
  int changes = 0;
  b.OnChange = [&](CtlObject*) { ++changes; };
  b.SetStyleOuter(bvRaised);
  b.SetWidthOuter(3);
  b.SetWidthInner(0);
  EXPECT_EQ(b.BevelExtend(), 3);
  int before = changes;
  b.SetWidthOuter(3);
  b.SetStandardStyle(lsRaised);  // only matters in standard mode
  EXPECT_EQ(changes, before);
  b.SetStyleOuter(bvShadow);
  EXPECT_EQ(b.StyleInner(), bvShadow);
  b.SetStyleOuter(bvRaised);
  EXPECT_EQ(b.StyleInner(), bvNone);
  CtlBevel none;
  QImage img = Solid(10, 10, Qt::white);
  QPainter p(&img);
  EXPECT_EQ(none.PaintBevel(p, QRect(0, 0, 10, 10), false), QRect(0, 0, 10, 10));
}

