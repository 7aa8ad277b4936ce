// The control roots and the bevelled panels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QVBoxLayout>


#include "controls/backpanel.h"
#include "controls/basecontrols.h"
#include "controls/glyphcache.h"
#include "controls/image.h"
#include "controls/panels.h"
#include "controls/properties.h"

namespace {

QRgb Rgb(CtlColor c) { return ColorToRgb(c).rgb(); }

}  // namespace

TEST(SimplePanel, ChildrenSitInsideTheBevel) {
  QWidget top;
  auto* panel = new CtlSimplePanel(&top);
  panel->setGeometry(0, 0, 200, 100);
  panel->Bevel().SetStyleOuter(bvRaised);
  panel->Bevel().SetWidthOuter(3);
  panel->Bevel().SetWidthInner(0);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* child = new QWidget(panel);
  layout->addWidget(child);
  top.show();
  layout->activate();
  EXPECT_EQ(child->geometry(), QRect(3, 3, 194, 94));
  EXPECT_EQ(panel->ClientRect(), QRect(3, 3, 194, 94));

  panel->Bevel().SetMode(bmWindows);
  EXPECT_EQ(panel->contentsMargins(), QMargins(2, 2, 2, 2));
  panel->SetCtl3D(false);
  EXPECT_EQ(panel->contentsMargins(), QMargins(1, 1, 1, 1));
}

TEST(SimplePanel, PaintsColourBevelAndWindowsEdge) {
  CtlSimplePanel panel;
  panel.resize(40, 30);
  panel.Bevel().SetStyleOuter(bvRaised);
  panel.Bevel().SetWidthOuter(2);
  panel.Bevel().SetWidthInner(0);
  QImage img = panel.grab().toImage();
  EXPECT_EQ(img.pixel(0, 0), Rgb(clBtnHighlight));
  EXPECT_EQ(img.pixel(39, 29), Rgb(clBtnShadow));
  EXPECT_EQ(img.pixel(20, 15), Rgb(clBtnFace));

  panel.Bevel().SetMode(bmWindows);
  img = panel.grab().toImage();
  EXPECT_EQ(img.pixel(0, 0), qRgb(0x80, 0x80, 0x80));  // sunken outer ring
  EXPECT_EQ(img.pixel(1, 1), qRgb(0, 0, 0));           // sunken inner ring
  panel.SetCtl3D(false);
  img = panel.grab().toImage();
  EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));  // window frame
  EXPECT_EQ(img.pixel(1, 1), Rgb(clBtnFace));
}

TEST(SimplePanel, FlatPanelShowsItsBevelOnlyWhileHovered) {
  CtlSimplePanel panel;
  panel.resize(40, 30);
  panel.Bevel().SetStyleOuter(bvRaised);
  panel.Bevel().SetWidthOuter(2);
  panel.SetFlat(true);
  EXPECT_EQ(panel.grab().toImage().pixel(0, 0), Rgb(clBtnFace));
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(&panel, &enter);
  EXPECT_TRUE(panel.MouseInside());
  EXPECT_EQ(panel.grab().toImage().pixel(0, 0), Rgb(clBtnHighlight));
}

TEST(CustomControl, TransparentControlPaintsItsColourUnlessAPanelSuppliesTheBackground) {
  QWidget plain;
  plain.resize(60, 60);
  auto* c = new CtlSimplePanel(&plain);
  c->setGeometry(10, 10, 20, 20);
  c->SetTransparent(true);
  c->SetColor(CtlRgb(255, 0, 0));
  plain.show();
  EXPECT_FALSE(c->IsTransparent());
  EXPECT_EQ(plain.grab().toImage().pixel(15, 15), qRgb(255, 0, 0));
}

TEST(CustomControl, TabStopAndFocusEventsAfterTheChange) {
  QWidget top;
  auto* c = new CtlSimplePanel(&top);
  EXPECT_EQ(c->focusPolicy(), Qt::ClickFocus);
  c->SetTabStop(true);
  EXPECT_EQ(c->focusPolicy(), Qt::StrongFocus);
  QSignalSpy enter(c, &CtlCustomControl::afterEnter);
  QFocusEvent in(QEvent::FocusIn);
  QApplication::sendEvent(c, &in);
  EXPECT_TRUE(c->Focused());
  EXPECT_EQ(enter.count(), 0);  // posted, not yet delivered
  QCoreApplication::processEvents();
  EXPECT_EQ(enter.count(), 1);
}

TEST(GraphicControl, MoveWithoutResizeSendsOnlyThePositionBit) {
  QWidget top;
  auto* g = new CtlGraphicControl(&top);
  top.show();
  EXPECT_EQ(g->size(), QSize(30, 30));
  EXPECT_EQ(g->focusPolicy(), Qt::NoFocus);
  QSignalSpy spy(g, &CtlBaseControl::boundsChanged);
  g->move(5, 7);
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toUInt(), CtlBaseControl::kPositionChanged);
  g->resize(40, 40);
  ASSERT_EQ(spy.count(), 2);
  EXPECT_EQ(spy.at(1).at(0).toUInt(), CtlBaseControl::kSizeChanged);
}

namespace {

// A 4 x 4 picture with one distinct colour per pixel, tiled by back panels.
QImage Checker() {
  QImage img(4, 4, QImage::Format_RGB32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) img.setPixel(x, y, qRgb(40 * x + 20, 40 * y + 20, 200));
  return img;
}

}  // namespace

TEST(ImageEntry, NegativeIndexIgnoredAndADestroyedListForgotten) {
  auto list = std::make_unique<CtlBitmapList>();
  list->AddBitmap(Checker());
  CtlBackPanel panel;
  panel.resize(20, 20);
  panel.SetImageIndex(-1);
  EXPECT_EQ(panel.ImageIndex(), 0);
  panel.SetListIndex(3);
  panel.SetListIndex(-2);
  EXPECT_EQ(panel.ListIndex(), 3);
  panel.SetListIndex(0);
  panel.SetImageList(list.get());
  EXPECT_TRUE(panel.HasEntry());
  EXPECT_TRUE(panel.HasBuffer());
  CtlLImage image;
  image.SetImageList(list.get());
  list.reset();
  EXPECT_EQ(panel.ImageList(), nullptr);
  EXPECT_EQ(image.ImageList(), nullptr);
  EXPECT_FALSE(panel.HasBuffer());
  panel.grab();
  image.grab();
}

TEST(BackPanel, TransparentChildrenShowThePictureAtTheirPlace) {
  CtlBitmapList list;
  list.AddBitmap(Checker());
  QWidget top;
  auto* back = new CtlBackPanel(&top);
  back->setGeometry(0, 0, 80, 60);
  back->SetImageList(&list);
  auto* outer = new CtlSimplePanel(back);
  outer->setGeometry(9, 6, 50, 40);
  outer->SetTransparent(true);
  outer->SetColor(CtlRgb(255, 0, 0));
  auto* inner = new CtlSimplePanel(outer);
  inner->setGeometry(5, 7, 20, 20);
  inner->SetTransparent(true);
  inner->SetColor(CtlRgb(0, 255, 0));
  top.show();
  EXPECT_TRUE(outer->IsTransparent());
  EXPECT_TRUE(inner->IsTransparent());
  const QImage shot = back->grab().toImage();
  const QImage tile = Checker();
  for (QPoint at : {QPoint(10, 7), QPoint(15, 14), QPoint(22, 20), QPoint(33, 30)})
    EXPECT_EQ(shot.pixel(at), tile.pixel(at.x() % 4, at.y() % 4)) << at.x() << "," << at.y();

  // An opaque child paints its colour; a new entry repaints the picture under the children.
  inner->SetTransparent(false);
  EXPECT_EQ(back->grab().toImage().pixel(20, 20), qRgb(0, 255, 0));
  QImage other(4, 4, QImage::Format_RGB32);
  other.fill(qRgb(1, 2, 3));
  list.AddBitmap(other);
  const qint64 fond = back->Buffer().cacheKey();
  back->SetListIndex(1);
  EXPECT_NE(back->Buffer().cacheKey(), fond);
  EXPECT_EQ(back->grab().toImage().pixel(12, 9), qRgb(1, 2, 3));
  // A transparent back panel has no buffer of its own.
  back->SetTransparent(true);
  EXPECT_FALSE(back->HasBuffer());
}

TEST(GlyphCache, StateSlotTable) {
  // Rows: NumGlyphs 1..5; columns: states 0..7; plain then flat.
  const int plain[5][8] = {{0, 1, 0, 0, 0, 0, 0, 1}, {0, 1, 0, 0, 0, 0, 0, 1}, {0, 1, 2, 0, 0, 0, 0, 1},
                           {0, 1, 2, 3, 0, 0, 0, 1}, {0, 1, 2, 3, 4, 0, 0, 1}};
  const int flat[5][8] = {{0, 1, 2, 2, 2, 2, 4, 1}, {0, 1, 2, 2, 2, 2, 4, 1}, {0, 1, 2, 2, 2, 2, 4, 1},
                          {0, 1, 2, 3, 2, 2, 4, 1}, {0, 1, 2, 3, 4, 2, 4, 1}};
  for (int n = 1; n <= 5; ++n)
    for (int s = 0; s < 8; ++s) {
      EXPECT_EQ(CtlGlyph::StateSlot(s, n, false), plain[n - 1][s]) << n << " " << s;
      EXPECT_EQ(CtlGlyph::StateSlot(s, n, true), flat[n - 1][s]) << n << " " << s;
    }
}

TEST(GlyphCache, DisabledImageAndNewGlyphRelease) {
  QImage img(16, 16, QImage::Format_RGB32);
  img.fill(qRgb(255, 0, 255));
  for (int y = 4; y < 12; ++y)
    for (int x = 3; x < 10; ++x) img.setPixel(x, y, qRgb(200, 40, 40));
  CtlGlyph g;
  g.SetGlyph(img);
  QImage expected;
  MakeDisabledGlyph(expected, img, 0, 0);
  const QImage disabled = g.StateImage(1);
  ASSERT_EQ(disabled.size(), expected.size());
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if ((expected.pixel(x, y) & 0xFFFFFF) != 0xFF00FF)
        EXPECT_EQ(disabled.pixel(x, y) & 0xFFFFFF, expected.pixel(x, y) & 0xFFFFFF) << x << "," << y;
  ASSERT_NE(g.Strip(), nullptr);
  g.SetGlyph(QImage());
  EXPECT_EQ(g.Strip(), nullptr);
  EXPECT_EQ(g.StateIndex(0), -1);
}

TEST(GlyphCache, DrawPlacesTheStateImageAndTheText) {
  QImage img(8, 8, QImage::Format_RGB32);
  img.fill(qRgb(0, 128, 0));
  img.setPixel(0, 7, qRgb(255, 0, 255));
  CtlGlyph g;
  g.SetGlyph(img);
  QImage canvas(40, 20, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  {
    QPainter p(&canvas);
    CtlButtonLayout layout;
    g.Draw(p, QString(), nullptr, layout.Values(), 0, glEnabled, 0, canvas.rect(), Qt::black);
  }
  EXPECT_EQ(canvas.pixel(20, 10), qRgb(0, 128, 0));  // centred
  EXPECT_EQ(canvas.pixel(2, 2), qRgb(255, 255, 255));
}

TEST(GlyphCache, StripsAreMaskedAndReuseFreedSlots) {
  CtlGlyphList strip(8, 8);
  EXPECT_TRUE(strip.Masked());
  QImage img(8, 8, QImage::Format_RGB32);
  img.fill(qRgb(0, 0, 200));
  img.setPixel(0, 7, qRgb(255, 0, 255));
  img.setPixel(3, 3, qRgb(255, 0, 255));
  const int a = strip.AddGlyph(img, QColor(255, 0, 255));
  const int b = strip.AddGlyph(img, QColor(255, 0, 255));
  EXPECT_EQ(strip.UsedCount(), 2);
  // The mask is white exactly at the transparent pixels.
  const QImage mask = strip.MaskStrip().copy(strip.Cell(b));
  EXPECT_EQ(qGray(mask.pixel(3, 3)), 255);
  EXPECT_EQ(qGray(mask.pixel(4, 3)), 0);
  EXPECT_EQ(qAlpha(strip.Image(b).pixel(3, 3)), 0);
  EXPECT_EQ(strip.Image(b).pixel(4, 3), qRgb(0, 0, 200));
  strip.Delete(a);
  EXPECT_TRUE(strip.Image(a).isNull());
  EXPECT_EQ(strip.UsedCount(), 1);
  const int cells = strip.Count();
  EXPECT_EQ(strip.AddGlyph(img, QColor(255, 0, 255)), a);  // the freed slot, no growth
  EXPECT_EQ(strip.Count(), cells);
}

TEST(GlyphCache, DrawLeavesTheTransparentPixelsAlone) {
  QImage img(8, 8, QImage::Format_RGB32);
  img.fill(qRgb(0, 128, 0));
  img.setPixel(0, 7, qRgb(255, 0, 255));
  img.setPixel(2, 2, qRgb(255, 0, 255));
  CtlGlyph g;
  g.SetGlyph(img);
  QImage canvas(40, 20, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  {
    QPainter p(&canvas);
    CtlButtonLayout layout;
    g.Draw(p, QString(), nullptr, layout.Values(), 0, glEnabled, 0, canvas.rect(), Qt::black);
  }
  // The glyph's cell starts at (16, 6).
  EXPECT_EQ(canvas.pixel(16 + 3, 6 + 3), qRgb(0, 128, 0));
  EXPECT_EQ(canvas.pixel(16 + 2, 6 + 2), qRgb(255, 255, 255));
  EXPECT_EQ(canvas.pixel(16 + 0, 6 + 7), qRgb(255, 255, 255));
}
