// The shape hint's sizes and places (one screen and two), the nose-ellipse's
// points and nose, the tracing shadow's checker, style changes reaching a
// balloon in view, and the switch between balloon and plain tool tips.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>

#include "controls/shapehint.h"

TEST(ShapeHintGeometry, SizesByStyleAndPlacesOnOneOrTwoScreens) {
  const QSize text(100, 30);
  EXPECT_EQ(CtlHintWindowSize(hsRect, text, 6), QSize(106, 36));
  EXPECT_EQ(CtlHintWindowSize(hsRoundRect, text, 6), QSize(114, 40));
  EXPECT_EQ(CtlHintWindowSize(hsEllipse, text, 6), QSize(139, 46));
  EXPECT_EQ(CtlHintWindowSize(hsNoseRect, text, 6), QSize(129, 54));
  EXPECT_EQ(CtlHintWindowSize(hsNoseRoundRect, text, 6), QSize(129, 54));
  EXPECT_EQ(CtlHintWindowSize(hsNoseEllipse, text, 6), QSize(171, 66));
  EXPECT_EQ(CtlHintWindowSize(hsNoseRect, QSize(20, 30), 6).width(), 75);

  const QSize hint(129, 54);
  const QRect screen(0, 0, 1024, 768);
  const CtlHintPlace corner = CtlPlaceHint(QPoint(1020, 5), hint, hpAboveRight, screen);
  EXPECT_EQ(corner.place, hpBelowLeft);
  EXPECT_EQ(corner.pos, QPoint(888, 6));
  const CtlHintPlace top_left = CtlPlaceHint(QPoint(50, 50), hint, hpAboveRight, screen);
  EXPECT_EQ(top_left.place, hpBelowRight);
  EXPECT_EQ(top_left.pos, QPoint(56, 51));
  const CtlHintPlace none = CtlPlaceHint(QPoint(50, 50), hint, hpAboveRight, QRect(0, 0, 100, 100));
  EXPECT_FALSE(none.fitted);
  EXPECT_EQ(none.place, hpAboveRight);
  EXPECT_EQ(none.pos, CtlHintOrigin(hpAboveLeft, QPoint(50, 50), hint));
  // A second screen to the right: the screen under the anchor is the one tried.
  const CtlHintPlace second = CtlPlaceHint(QPoint(1500, 400), hint, hpAboveRight, QRect(1024, 0, 1024, 768));
  EXPECT_TRUE(second.fitted);
  EXPECT_EQ(second.place, hpAboveRight);
  EXPECT_EQ(second.pos, QPoint(1501, 345));
}

TEST(ShapeHintGeometry, EllipsePointsClockwiseFromTheTop) {
  const QRect r(0, 0, 100, 60);
  EXPECT_EQ(CtlEllipsePoint(r, 125), QPoint(90, 47));
  EXPECT_EQ(CtlEllipsePoint(r, 205), QPoint(29, 57));
  EXPECT_EQ(CtlEllipsePoint(r, 25), QPoint(71, 3));
  EXPECT_EQ(CtlEllipsePoint(r, 295), QPoint(5, 18));
}

TEST(ShapeHintPainting, NoseEllipsePointsAtTheTipFromItsTwoEllipsePoints) {
  CtlShapeHint hint;
  hint.Style = hsNoseEllipse;
  hint.Shadow.SetStyle(hssNone);
  const QRect text(0, 0, 100, 30);
  const QSize size = CtlHintWindowSize(hsNoseEllipse, text.size(), 6);  // 171 x 66
  const QImage img = hint.PaintShape(size, text, hpAboveLeft, "");
  // The body ellipse (0, 0, 150, 45), one pixel larger; the nose from 125 and 150 degrees to (165, 60).
  const QRect e(0, 0, 151, 46);
  const QPoint p1 = CtlEllipsePoint(e, 125), p2 = CtlEllipsePoint(e, 150), tip(165, 60);
  const QPointF mid = (QPointF(p1) + QPointF(p2)) / 2;
  const QPointF inside = mid + (QPointF(tip) - mid) * 0.6;
  EXPECT_EQ(QColor(img.pixel(inside.toPoint())), ColorToRgb(clInfoBk));
  EXPECT_NE(qAlpha(img.pixel(tip.x() - 1, tip.y() - 1)), 0);
  // Beside the nose, below the ellipse: nothing.
  EXPECT_EQ(qAlpha(img.pixel(60, 55)), 0);
  EXPECT_EQ(qAlpha(img.pixel(160, 30)), 0);
  EXPECT_NE(qAlpha(img.pixel(150, 23)), 0);  // the ellipse reaches the enlarged right edge
  // The text moves by ((right − d) div 3 + 3, (bottom − d) div 3 + 3) above-left, and is centred above-right.
  EXPECT_EQ(hint.NoseEllipseTextOffset(hpAboveLeft, text, size), QPoint(34, 11));
  EXPECT_EQ(hint.NoseEllipseTextOffset(hpBelowLeft, text, size), QPoint(34, 26));
  EXPECT_EQ(hint.NoseEllipseTextOffset(hpBelowRight, text, size), QPoint(34, 23));
  EXPECT_EQ(hint.NoseEllipseTextOffset(hpAboveRight, text, size), QPoint(43, 10));
}

TEST(ShapeHintPainting, TracingShadowIsACheckerAndNoShadowLeavesOnlyTheBody) {
  CtlShapeHint hint;
  hint.Style = hsRect;
  hint.Shadow.SetStyle(hssTracing);
  const QRect text(0, 0, 100, 30);
  const QImage img = hint.PaintShape(QSize(106, 36), text, hpAboveRight, "");
  // The band right of the body (x 100..105, y 6..35) is shadow only.
  int opaque = 0, wrong = 0;
  for (int y = 6; y < 36; ++y)
    for (int x = 100; x < 106; ++x) {
      const bool shown = qAlpha(img.pixel(x, y)) != 0;
      opaque += shown;
      if (shown != ((x + y) % 2 == 1)) ++wrong;
    }
  EXPECT_EQ(opaque, 90);
  EXPECT_EQ(wrong, 0);
  hint.Shadow.SetStyle(hssNone);
  const QImage bare = hint.PaintShape(QSize(106, 36), text, hpAboveRight, "");
  EXPECT_EQ(qAlpha(bare.pixel(103, 20)), 0);
  EXPECT_NE(qAlpha(bare.pixel(50, 15)), 0);
}

TEST(ShapeHintBehaviour, StyleChangesReachTheBalloonAndDisablingGivesPlainTips) {
  CtlShapeHint hint;
  QWidget w;
  w.setToolTip("Open|Opens a mountain");
  w.resize(50, 30);
  w.show();
  QHelpEvent tip(QEvent::ToolTip, QPoint(10, 10), w.mapToGlobal(QPoint(10, 10)));
  QApplication::sendEvent(&w, &tip);
  ASSERT_NE(hint.Window(), nullptr);
  EXPECT_TRUE(hint.Window()->isVisible());
  EXPECT_EQ(hint.Window()->windowTitle(), "Open");
  const QSize before = hint.Window()->size();
  hint.Shadow.SetDepth(10);
  EXPECT_EQ(hint.Window()->size(), before + QSize(4, 4));

  hint.SetEnabled(false);
  EXPECT_FALSE(hint.Window()->isVisible());
  QApplication::sendEvent(&w, &tip);
  EXPECT_FALSE(hint.Window()->isVisible());
  EXPECT_EQ(QToolTip::text(), "Open");  // the plain tip, with the short part
  QToolTip::hideText();
  hint.SetEnabled(true);
  QApplication::sendEvent(&w, &tip);
  EXPECT_TRUE(hint.Window()->isVisible());
  hint.HideHint();
}
