// Bevel widths and modes, the control roots and the bevelled panels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QVBoxLayout>

#include "controls/basecontrols.h"
#include "controls/panels.h"

namespace {

QImage Blank(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

QRgb Rgb(CtlColor c) { return ColorToRgb(c).rgb(); }

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
  int changes = 0;
  b.OnChange = [&] { ++changes; };
  a.SetStyleOuter(bvLowered);
  a.SetWidthOuter(4);
  a.SetEdgeStyle(etBump);
  b.Assign(a);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b.WidthOuter(), 4);
  EXPECT_EQ(b.EdgeStyle(), etBump);
  b.SetWidthOuter(4);
  b.SetEdgeStyle(etBump);
  EXPECT_EQ(changes, 1);

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
