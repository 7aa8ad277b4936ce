// The scroll bar: what code setters do (and never fire), the double
// notification of user actions, paging repeats stepped by hand, keys, the
// thumb layout, and a handler that moves the value out of range.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "controls/application.h"
#include "controls/scrollbar.h"
#include "controls/spinbutton.h"

namespace {

struct ManualPool {
  CtlTimerPool* pool = CtlApplication::Instance()->Timers();
  ManualPool() { pool->SetManualStepping(true); }
  ~ManualPool() { pool->SetManualStepping(false); }
};

void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

void Key(QWidget* w, int key) {
  QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

// A vertical bar 16 x 200 with its notifications recorded as (code, position).
struct Bar {
  CtlScrollBar bar;
  std::vector<std::pair<int, int>> seen;
  Bar() {
    bar.SetKind(skVertical);
    bar.resize(16, 200);
    QObject::connect(&bar, &CtlScrollBar::scrolled, [this](int code, int& pos) { seen.push_back({code, pos}); });
  }
};

TEST(ScrollBar, CodeSettersClampAndFireNothing) {
  Bar b;
  b.bar.SetMax(50);
  b.bar.SetPosition(80);
  EXPECT_EQ(b.bar.Position(), 50);
  b.bar.SetMin(70);  // above Max: takes Max, and the position follows
  EXPECT_EQ(b.bar.Min(), 50);
  EXPECT_EQ(b.bar.Position(), 50);
  b.bar.SetMin(0);
  b.bar.SetMax(-5);  // below Min: takes Min
  EXPECT_EQ(b.bar.Max(), 0);
  EXPECT_EQ(b.bar.Position(), 0);
  EXPECT_TRUE(b.seen.empty());
}

TEST(ScrollBar, ThumbFollowsThePositionAndStaysOnTheTrack) {
  Bar b;
  const QRect in = b.bar.InnerRect();
  const int T = b.bar.TrackLength();
  EXPECT_EQ(T, in.height() - 32);
  EXPECT_EQ(b.bar.Thumb()->y(), in.top() + 16);
  b.bar.SetPosition(100);
  EXPECT_EQ(b.bar.Thumb()->y(), in.top() + 16 + T - 16);
  b.bar.SetThumbMode(tmAuto);  // range wider than the track: the smallest thumb
  b.bar.SetMax(1000);
  EXPECT_EQ(b.bar.ThumbLength(), 8);
  b.bar.resize(16, 20);  // shorter than buttons and thumb: the thumb stays put
  EXPECT_GE(b.bar.Thumb()->y(), b.bar.InnerRect().top() + 16);
}

TEST(ScrollBar, TrackPressPagesTwiceNotifiedAndRepeatsUntilTheThumb) {
  ManualPool m;
  Bar b;
  const QPoint below(8, 150);
  Mouse(&b.bar, QEvent::MouseButtonPress, below, Qt::LeftButton, Qt::LeftButton);
  ASSERT_EQ(b.seen.size(), 2u);
  EXPECT_EQ(b.seen[0], std::make_pair(int(scEndScroll), 10));
  EXPECT_EQ(b.seen[1], std::make_pair(int(scPageUp), 10));
  EXPECT_TRUE(b.bar.RepeatActive());
  for (int k = 0; k < 40 && b.bar.RepeatActive(); ++k) m.pool->Step();
  EXPECT_FALSE(b.bar.RepeatActive());  // the thumb reached the pointer
  const QRect t = b.bar.Thumb()->geometry();
  EXPECT_TRUE(t.top() < below.y() && below.y() < t.bottom() + 1) << t.top() << " " << t.bottom();
  Mouse(&b.bar, QEvent::MouseButtonRelease, below, Qt::LeftButton, Qt::NoButton);
}

TEST(ScrollBar, KeysPageOnceArrowsPairAndTheEndsReport) {
  Bar b;
  b.bar.SetPosition(50);
  Key(&b.bar, Qt::Key_PageUp);
  ASSERT_EQ(b.seen.size(), 1u);
  EXPECT_EQ(b.seen[0], std::make_pair(int(scPageDown), 40));
  b.seen.clear();
  Key(&b.bar, Qt::Key_Down);
  ASSERT_EQ(b.seen.size(), 2u);
  EXPECT_EQ(b.seen[1], std::make_pair(int(scLineUp), 41));
  b.bar.SetPosition(0);
  b.seen.clear();
  b.bar.Decrease();  // at the end: nothing
  EXPECT_TRUE(b.seen.empty());
  Key(&b.bar, Qt::Key_Home);  // changes nothing, but the top check follows
  ASSERT_EQ(b.seen.size(), 2u);
  EXPECT_EQ(b.seen[1].first, int(scTop));
}

TEST(ScrollBar, ArrowButtonsStepTheValueAtThePress) {
  Bar b;
  CtlArrowSpinButton* bas = b.bar.IncreaseButton();
  EXPECT_EQ(bas->SpinButtons(), (CtlSpinButtons{sbDown}));
  Mouse(bas, QEvent::MouseButtonPress, QPoint(8, 8), Qt::LeftButton, Qt::LeftButton);
  Mouse(bas, QEvent::MouseButtonRelease, QPoint(8, 8), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(b.bar.Position(), 1);
  ASSERT_EQ(b.seen.size(), 2u);
  EXPECT_EQ(b.seen[1], std::make_pair(int(scLineUp), 1));
  CtlArrowSpinButton* haut = b.bar.DecreaseButton();
  Mouse(haut, QEvent::MouseButtonPress, QPoint(8, 8), Qt::LeftButton, Qt::LeftButton);
  Mouse(haut, QEvent::MouseButtonRelease, QPoint(8, 8), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(b.bar.Position(), 0);
  EXPECT_EQ(b.seen.back(), std::make_pair(int(scLineDown), 0));
}

TEST(ScrollBar, AHandlerMovingTheValueOutOfRangeIsClampedAndLaidOut) {
  CtlScrollBar bar;
  bar.SetKind(skVertical);
  bar.resize(16, 200);
  bar.SetMin(20);
  bar.SetMax(150);
  QObject::connect(&bar, &CtlScrollBar::scrolled, [](int code, int& pos) {
    if (code == scLineUp) pos = 1000;
  });
  bar.Increase();
  EXPECT_EQ(bar.Position(), 150);
  const QRect in = bar.InnerRect();
  EXPECT_EQ(bar.Thumb()->y(), in.top() + 16 + bar.TrackLength() - bar.ThumbLength());
}

TEST(ScrollBar, DraggingTheThumbTracksAndReleaseReportsThePosition) {
  Bar b;
  CtlScrollBarThumb* t = b.bar.Thumb();
  const QPoint grip(4, 4);
  Mouse(t, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
  Mouse(t, QEvent::MouseMove, grip + QPoint(0, 30), Qt::NoButton, Qt::LeftButton);
  EXPECT_GT(b.bar.Position(), 0);
  ASSERT_FALSE(b.seen.empty());
  EXPECT_EQ(b.seen[0].first, int(scTrack));
  b.seen.clear();
  Mouse(t, QEvent::MouseButtonRelease, grip + QPoint(0, 30), Qt::LeftButton, Qt::NoButton);
  ASSERT_EQ(b.seen.size(), 2u);
  EXPECT_EQ(b.seen[1].first, int(scPosition));
}

}  // namespace
