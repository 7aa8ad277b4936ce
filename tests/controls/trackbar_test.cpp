// The track bar: geometry of both orientations, the change events of every
// source (code, range, drag, paging repeats stepped by hand, keys, wheel),
// the thumb-only repaint of a drag, the mirrored bar read right to left; and
// the shadow fill's checker.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QWheelEvent>

#include "controls/application.h"
#include "controls/trackbar.h"

namespace {

struct ManualPool {
  CtlTimerPool* pool = CtlApplication::Instance()->Timers();
  ManualPool() { pool->SetManualStepping(true); }
  ~ManualPool() { pool->SetManualStepping(false); }
};

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

void Wheel(QWidget* w, int dy) {
  QWheelEvent e(QPointF(10, 10), QPointF(w->mapToGlobal(QPoint(10, 10))), QPoint(), QPoint(0, dy), Qt::NoButton,
                Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(w, &e);
}

// Records the region of every paint event of the watched widget.
struct PaintRecorder : QObject {
  std::vector<QRegion> regions;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) regions.push_back(static_cast<QPaintEvent*>(e)->region());
    return false;
  }
};

// Positions along the bar reported by the owner-draw callback for one side.
std::vector<std::pair<int, int>> OwnerDrawnTicks(CtlTrackBar& bar) {
  std::vector<std::pair<int, int>> ticks;
  bar.SetTickStyle(tsOwnerDraw);
  bar.OnDrawTick = [&](CtlTrackBar*, QPainter&, int v, QPoint at) {
    ticks.push_back({v, bar.Orientation() == toHorizontal ? at.x() : at.y()});
  };
  QImage img(bar.size(), QImage::Format_RGB32);
  bar.render(&img);
  bar.OnDrawTick = nullptr;
  return ticks;
}

}  // namespace

TEST(TrackBar, DefaultHorizontalGeometryAndTicks) {
  CtlTrackBar bar;
  EXPECT_EQ(bar.size(), QSize(220, 35));
  EXPECT_TRUE(bar.TabStop());
  EXPECT_EQ(bar.ThumbLength(), 11);
  EXPECT_EQ(bar.ThumbThickness(), 20);
  const CtlTrackGeometry g = bar.Geometry();
  EXPECT_EQ(g.area, QRect(QPoint(1, 1), QPoint(218, 33)));
  EXPECT_EQ(g.half, 5);
  EXPECT_EQ(g.track, QRect(6, 7, 208, 10));
  EXPECT_EQ(bar.ThumbRect(0), QRect(1, 2, 11, 20));
  EXPECT_EQ(bar.ThumbRect(5).topLeft(), QPoint(104, 2));
  EXPECT_EQ(bar.ThumbRect(10).topLeft(), QPoint(208, 2));

  bar.SetTickGap(3);
  const auto gapped = OwnerDrawnTicks(bar);
  const std::vector<std::pair<int, int>> want{{0, 6}, {3, 68}, {6, 130}, {9, 192}};
  EXPECT_EQ(gapped, want);
  bar.SetTickGap(-2);  // refused
  EXPECT_EQ(bar.TickGap(), 3);
  bar.SetTickGap(-1);
  EXPECT_EQ(OwnerDrawnTicks(bar).size(), 11u);
}

TEST(TrackBar, VerticalGeometryPutsEachTickAtItsThumb) {
  CtlTrackBar bar;
  bar.SetOrientation(toVertical);
  bar.resize(35, 220);
  EXPECT_EQ(bar.Thumb().width(), 40);  // two frames of 20
  EXPECT_EQ(bar.ThumbThickness(), 20);
  EXPECT_EQ(bar.ThumbLength(), 12);
  const CtlTrackGeometry g = bar.Geometry();
  EXPECT_EQ(g.half, 6);
  EXPECT_EQ(g.track, QRect(6, 7, 10, 206));
  for (int v : {0, 3, 5, 10}) EXPECT_EQ(bar.ThumbRect(v).topLeft(), QPoint(1, 207 - (206 * v) / 10)) << v;
  const auto ticks = OwnerDrawnTicks(bar);
  ASSERT_EQ(ticks.size(), 11u);
  EXPECT_EQ(ticks[0].second, 213);
  EXPECT_EQ(ticks[5].second, 110);
  EXPECT_EQ(ticks[10].second, 7);
  for (int v : {0, 5, 10}) {
    const QRect t = bar.ThumbRect(v);
    EXPECT_EQ(ticks[v].second, t.top() + t.height() / 2) << v;
  }
  // Each tip lies inside its own frame: the first two columns of frame 1 stay olive.
  const QImage& pic = bar.Thumb();
  EXPECT_EQ(pic.pixel(19, 5), QColor(Qt::black).rgb());
  EXPECT_EQ(pic.pixel(39, 5), QColor(Qt::black).rgb());
  for (int y = 0; y < pic.height(); ++y)
    for (int x = 20; x < 22; ++x) EXPECT_EQ(pic.pixel(x, y), ColorToRgb(clOlive).rgb()) << x << "," << y;
}

TEST(TrackBar, ThumbShapesFollowTickSideAndWidth) {
  CtlTrackBar bar;
  bar.SetTickMarks(tmBoth);
  EXPECT_EQ(bar.Thumb().size(), QSize(20, 18));  // two rectangles of 10 x 18
  bar.SetTrackWidth(2);                          // refused
  EXPECT_EQ(bar.TrackWidth(), 10);
  bar.SetTickMarks(tmTopLeft);
  bar.SetTrackWidth(13);
  EXPECT_EQ(bar.Thumb().size(), QSize(26, 22));  // 13 x 21 made odd, one row more
  EXPECT_EQ(bar.Thumb().pixel(6, 0), QColor(Qt::black).rgb());  // the tip points up
  bar.SetMargin(0);
  EXPECT_EQ(bar.Margin(), 1);

  QImage custom(30, 8, QImage::Format_RGB32);
  custom.fill(Qt::red);
  bar.SetThumb(custom);
  EXPECT_EQ(bar.ThumbStyle(), tsCustom);
  EXPECT_EQ(bar.ThumbLength(), 15);
  EXPECT_EQ(bar.ThumbThickness(), 8);
  bar.SetThumb(QImage());
  EXPECT_EQ(bar.ThumbStyle(), tsStandard);
  EXPECT_EQ(bar.ThumbLength(), 13);
}

TEST(TrackBar, EveryChangeOfPositionFiresOnceAndNothingElseFires) {
  CtlTrackBar bar;
  QSignalSpy spy(&bar, &CtlTrackBar::changed);
  bar.SetPosition(30);
  EXPECT_EQ(bar.Position(), 10);
  EXPECT_EQ(spy.count(), 1);
  bar.SetPosition(10);
  EXPECT_EQ(spy.count(), 1);

  bar.SetPosition(7);
  spy.clear();
  bar.SetMaxValue(4);
  EXPECT_EQ(bar.Position(), 4);
  EXPECT_EQ(spy.count(), 1);
  bar.SetMaxValue(0);  // equal to MinValue: refused
  EXPECT_EQ(bar.MaxValue(), 4);
  bar.SetMinValue(4);
  EXPECT_EQ(bar.MinValue(), 0);
  bar.SetMinValue(2);
  bar.SetTickGap(2);
  bar.SetThumbColor(clWhite);
  bar.SetTrackWidth(6);
  EXPECT_EQ(spy.count(), 1);
}

TEST(TrackBar, HandlersReenterTheSetterAndRunawayCascadesStop) {
  CtlTrackBar bar;
  std::vector<int> seen;
  QObject::connect(&bar, &CtlTrackBar::changed, [&] {
    seen.push_back(bar.Position());
    if (bar.Position() == 3) bar.SetPosition(5);
  });
  bar.SetPosition(3);
  EXPECT_EQ(seen, (std::vector<int>{3, 5}));

  CtlTrackBar a, b;
  a.SetMaxValue(1000000);
  b.SetMaxValue(1000000);
  int fired = 0;
  QObject::connect(&a, &CtlTrackBar::changed, [&] { ++fired, b.SetPosition(b.Position() + 1); });
  QObject::connect(&b, &CtlTrackBar::changed, [&] { ++fired, a.SetPosition(a.Position() + 1); });
  a.SetPosition(1);
  EXPECT_EQ(fired, 32);
  EXPECT_EQ(a.Position() + b.Position(), 33);  // the last value is stored without its event
  // The guard resets: a new cascade fires again.
  fired = 0;
  a.SetPosition(500);
  EXPECT_EQ(fired, 32);
}

TEST(TrackBar, DragSetsTheValueAndRepaintsOnlyTheThumbs) {
  QWidget parent;
  auto* bar = new CtlTrackBar(&parent);
  parent.resize(300, 100);
  parent.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  PaintRecorder rec;
  bar->installEventFilter(&rec);
  QSignalSpy spy(bar, &CtlTrackBar::changed);

  SendMouse(bar, QEvent::MouseButtonPress, QPoint(5, 12), Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(bar->Dragging());
  rec.regions.clear();
  SendMouse(bar, QEvent::MouseMove, QPoint(109, 12), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(bar->Position(), 5);
  EXPECT_EQ(spy.count(), 1);
  ASSERT_EQ(rec.regions.size(), 1u);
  EXPECT_EQ(rec.regions[0], QRegion(bar->ThumbRect(0)) | bar->ThumbRect(5));
  SendMouse(bar, QEvent::MouseMove, QPoint(400, 12), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(bar->Position(), 10);
  SendMouse(bar, QEvent::MouseButtonRelease, QPoint(400, 12), Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(bar->Dragging());

  // Code outside a drag repaints the whole bar.
  rec.regions.clear();
  bar->SetPosition(2);
  ASSERT_EQ(rec.regions.size(), 1u);
  EXPECT_EQ(rec.regions[0], QRegion(bar->rect()));

  // A bar no wider than half its thumb ignores drags.
  bar->resize(6, 35);
  SendMouse(bar, QEvent::MouseButtonPress, QPoint(3, 12), Qt::LeftButton, Qt::LeftButton);
  SendMouse(bar, QEvent::MouseMove, QPoint(4, 12), Qt::NoButton, Qt::LeftButton);
  SendMouse(bar, QEvent::MouseButtonRelease, QPoint(4, 12), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(bar->Position(), 2);
}

TEST(TrackBar, PressOnTheTrackPagesAndRepeatsUntilTheThumbPassesThePointer) {
  ManualPool m;
  CtlTrackBar bar;
  bar.SetPosition(5);
  QSignalSpy spy(&bar, &CtlTrackBar::changed);
  SendMouse(&bar, QEvent::MouseButtonPress, QPoint(50, 12), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(bar.Position(), 3);
  for (int k = 0; k < 5; ++k) m.pool->Step();
  EXPECT_EQ(bar.Position(), 3);
  m.pool->Step();
  EXPECT_EQ(bar.Position(), 1);
  for (int k = 0; k < 12; ++k) m.pool->Step();
  EXPECT_EQ(bar.Position(), 1);
  EXPECT_EQ(spy.count(), 2);
  SendMouse(&bar, QEvent::MouseButtonRelease, QPoint(50, 12), Qt::LeftButton, Qt::NoButton);

  // Above the thumb of a vertical bar pages up; the release stops the repeat.
  CtlTrackBar v;
  v.SetOrientation(toVertical);
  v.resize(35, 220);
  SendMouse(&v, QEvent::MouseButtonPress, QPoint(10, 20), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(v.Position(), 2);
  SendMouse(&v, QEvent::MouseButtonRelease, QPoint(10, 20), Qt::LeftButton, Qt::NoButton);
  for (int k = 0; k < 12; ++k) m.pool->Step();
  EXPECT_EQ(v.Position(), 2);
}

TEST(TrackBar, KeysAndWheelOnBothOrientations) {
  for (CtlOrientation o : {toHorizontal, toVertical}) {
    CtlTrackBar bar;
    bar.SetOrientation(o);
    bar.SetPosition(5);
    QTest::keyClick(&bar, Qt::Key_Up);
    EXPECT_EQ(bar.Position(), 6);
    QTest::keyClick(&bar, Qt::Key_Left);
    QTest::keyClick(&bar, Qt::Key_Down);
    EXPECT_EQ(bar.Position(), 4);
    QTest::keyClick(&bar, Qt::Key_Right);
    QTest::keyClick(&bar, Qt::Key_PageUp);
    EXPECT_EQ(bar.Position(), 7);
    QTest::keyClick(&bar, Qt::Key_PageDown);
    QTest::keyClick(&bar, Qt::Key_Home);
    QTest::keyClick(&bar, Qt::Key_End);
    EXPECT_EQ(bar.Position(), 5);
    Wheel(&bar, -120);
    EXPECT_EQ(bar.Position(), 6);
    Wheel(&bar, 120);
    Wheel(&bar, 120);
    EXPECT_EQ(bar.Position(), 4);
  }
}

TEST(TrackBar, TheBarKeepsItsArrowKeys) {
  CtlTrackBar bar;
  for (int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home}) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    e.ignore();
    QCoreApplication::sendEvent(&bar, &e);
    EXPECT_TRUE(e.isAccepted()) << key;  // an accepted key never moves the focus
  }
  bar.SetFocusStyle(tbNoFocus);
  EXPECT_EQ(bar.focusPolicy(), Qt::NoFocus);
  bar.SetFocusStyle(tbFocus);
  EXPECT_TRUE(bar.TabStop());
}

// Read right to left, a horizontal bar runs as a mirrored scroll bar does:
// thumbs, ticks, drags, pages and arrow keys all have the minimum at the right.
TEST(TrackBar, RightToLeftPutsTheMinimumAtTheRight) {
  ManualPool m;
  CtlTrackBar bar;
  std::vector<QRect> ltr;
  for (int v = 0; v <= 10; ++v) ltr.push_back(bar.ThumbRect(v));
  bar.setLayoutDirection(Qt::RightToLeft);
  const QRect area = bar.Geometry().area;
  const std::vector<std::pair<int, int>> ticks = OwnerDrawnTicks(bar);
  ASSERT_EQ(ticks.size(), 11u);
  for (int v = 0; v <= 10; ++v) {
    EXPECT_EQ(bar.ThumbRect(v), QStyle::visualRect(Qt::RightToLeft, area, ltr[std::size_t(v)])) << v;
    EXPECT_EQ(ticks[std::size_t(v)].second, bar.ThumbRect(v).center().x()) << v;
  }
  EXPECT_GT(bar.ThumbRect(0).left(), bar.ThumbRect(10).left());

  // A press left of the thumb pages up; right of it, down.
  bar.SetPosition(5);
  SendMouse(&bar, QEvent::MouseButtonPress, QPoint(50, 12), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(bar.Position(), 7);
  SendMouse(&bar, QEvent::MouseButtonRelease, QPoint(50, 12), Qt::LeftButton, Qt::NoButton);
  SendMouse(&bar, QEvent::MouseButtonPress, QPoint(200, 12), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(bar.Position(), 5);
  // The repeat goes on while the thumb stays left of the pointer.
  for (int k = 0; k < 6; ++k) m.pool->Step();
  EXPECT_EQ(bar.Position(), 3);
  SendMouse(&bar, QEvent::MouseButtonRelease, QPoint(200, 12), Qt::LeftButton, Qt::NoButton);

  // Dragging to the left end gives the maximum, to the right end the minimum.
  bar.SetPosition(4);
  const QPoint thumb = bar.ThumbRect(4).center();
  SendMouse(&bar, QEvent::MouseButtonPress, thumb, Qt::LeftButton, Qt::LeftButton);
  ASSERT_TRUE(bar.Dragging());
  SendMouse(&bar, QEvent::MouseMove, QPoint(0, thumb.y()), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(bar.Position(), 10);
  SendMouse(&bar, QEvent::MouseMove, QPoint(bar.width(), thumb.y()), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(bar.Position(), 0);
  SendMouse(&bar, QEvent::MouseButtonRelease, QPoint(bar.width(), thumb.y()), Qt::LeftButton, Qt::NoButton);

  // The arrow keys move the thumb their way; Up and Down keep their values.
  bar.SetPosition(5);
  QTest::keyClick(&bar, Qt::Key_Left);
  EXPECT_EQ(bar.Position(), 6);
  QTest::keyClick(&bar, Qt::Key_Right);
  QTest::keyClick(&bar, Qt::Key_Right);
  EXPECT_EQ(bar.Position(), 4);
  QTest::keyClick(&bar, Qt::Key_Up);
  EXPECT_EQ(bar.Position(), 5);

  // A vertical bar does not turn round.
  CtlTrackBar v;
  v.SetOrientation(toVertical);
  v.resize(35, 220);
  const QRect top = v.ThumbRect(10);
  v.setLayoutDirection(Qt::RightToLeft);
  EXPECT_EQ(v.ThumbRect(10), top);
}

TEST(ShadowFill, WhiteIsBlackAndTheCheckerDarkensEveryOtherPixel) {
  QWidget parent;
  parent.setAutoFillBackground(true);
  QPalette pal;
  pal.setColor(QPalette::Window, Qt::white);
  parent.setPalette(pal);
  parent.resize(60, 40);
  auto* fill = new CtlShadowFill(&parent);
  fill->setGeometry(0, 0, 41, 25);
  fill->SetShadowColor(clWhite);
  EXPECT_EQ(fill->ShadowColor(), clBlack);
  fill->Bevel().SetMode(bmStandard);
  fill->Bevel().SetStandardStyle(lsSingleLowered);
  const QRect inner = fill->Bevel().GetClientRect(fill->rect());
  ASSERT_NE(inner, fill->rect());

  auto check = [&](const QRect& shaded) {
    const QImage img = parent.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = shaded.top(); y <= shaded.bottom(); ++y)
      for (int x = shaded.left(); x <= shaded.right(); ++x) {
        const QRgb want = (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        if (img.pixel(x, y) != want) {
          ADD_FAILURE() << "pixel " << x << "," << y;
          return;
        }
      }
    EXPECT_EQ(img.pixel(45, 30), qRgb(255, 255, 255));  // outside the control
  };
  check(inner);
  // Over the whole control, bevel or not.
  fill->Bevel().SetStandardStyle(lsNone);
  fill->SetStyle(CtlShadowFillStyle::sfFullShadow);
  check(fill->rect());
}
