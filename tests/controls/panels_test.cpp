// The control roots and the bevelled panels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QVBoxLayout>


#include "controls/basecontrols.h"
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
