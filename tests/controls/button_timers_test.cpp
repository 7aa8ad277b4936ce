// Repeat and hover timers of the buttons, driven by stepping the application's
// timer pool by hand (one step is 50 ms).
#include <gtest/gtest.h>

#include <QCursor>
#include <QSignalSpy>
#include <QTest>

#include "controls/application.h"
#include "controls/speedbutton.h"

namespace {

struct ManualPool {
  CtlTimerPool* pool = CtlApplication::Instance()->Timers();
  ManualPool() { pool->SetManualStepping(true); }
  ~ManualPool() { pool->SetManualStepping(false); }
};

// Steps the pool `n` times and lists the steps (1-based) after which `spy` grew.
std::vector<int> StepsWithClicks(CtlTimerPool* pool, QSignalSpy& spy, int n) {
  std::vector<int> steps;
  for (int k = 1; k <= n; ++k) {
    const int avant = spy.count();
    pool->Step();
    if (spy.count() > avant) steps.push_back(k);
  }
  return steps;
}

}  // namespace

TEST(ButtonTimers, RepeatedClickAtThePressThenAfterTheDelayAndEachInterval) {
  ManualPool m;
  QWidget parent;
  auto* b = new CtlSpeedButton(&parent);
  b->SetRepeatedClick(true);
  b->SetRepeatingDelay(200);
  b->SetRepeatingInterval(100);
  parent.show();
  QSignalSpy spy(b, &CtlBaseGraphicButton::clicked);
  QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(spy.count(), 1);
  EXPECT_EQ(StepsWithClicks(m.pool, spy, 9), std::vector<int>({4, 6, 8}));
  QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(spy.count(), 4);  // the release adds none
  EXPECT_FALSE(b->RepeatActive());

  // An interval the pool refuses keeps the delay's pace.
  b->SetRepeatingInterval(20);
  spy.clear();
  QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(StepsWithClicks(m.pool, spy, 12), std::vector<int>({4, 8, 12}));
  QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST(ButtonTimers, NoRepeatWhileThePointerIsOutside) {
  ManualPool m;
  QWidget parent;
  parent.resize(100, 100);
  auto* b = new CtlSpeedButton(&parent);
  b->SetRepeatedClick(true);
  b->SetRepeatingDelay(100);
  b->SetRepeatingInterval(100);
  parent.show();
  QSignalSpy spy(b, &CtlBaseGraphicButton::clicked);
  QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseMove(b, QPoint(60, 60));
  EXPECT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsUp);
  EXPECT_TRUE(StepsWithClicks(m.pool, spy, 6).empty());
  QTest::mouseMove(b, QPoint(6, 6));
  EXPECT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsHeld);
  EXPECT_EQ(StepsWithClicks(m.pool, spy, 4), std::vector<int>({2, 4}));
  QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(6, 6));
}

TEST(ButtonTimers, HoverWatchResetsAButtonThePointerLeftSilently) {
  ManualPool m;
  QWidget parent;
  parent.resize(200, 200);
  parent.move(0, 0);
  auto* b = new CtlSpeedButton(&parent);
  parent.show();
  QCursor::setPos(b->mapToGlobal(QPoint(5, 5)));
  QTest::mouseMove(b, QPoint(5, 5));
  ASSERT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsHot);
  EXPECT_TRUE(b->HoverWatchActive());
  QCursor::setPos(b->mapToGlobal(QPoint(150, 150)));
  m.pool->Step();
  EXPECT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsHot);
  m.pool->Step();
  EXPECT_EQ(b->ButtonState(), CtlBaseGraphicButton::bsUp);
  EXPECT_FALSE(b->HoverWatchActive());
}

TEST(ButtonTimers, WithoutFreeSlotsTheButtonStillClicksOncePerPress) {
  ManualPool m;
  CtlApplication* app = CtlApplication::Instance();
  std::vector<int> pris;
  for (int id; (id = app->AddTimer(50, [](CtlTimerPool*) {})) != 0;) pris.push_back(id);
  QWidget parent;
  auto* b = new CtlSpeedButton(&parent);
  auto* r = new CtlSpeedButton(&parent);
  r->move(30, 0);
  r->SetRepeatedClick(true);
  parent.show();
  QSignalSpy spy(b, &CtlBaseGraphicButton::clicked), spy_r(r, &CtlBaseGraphicButton::clicked);
  for (int k = 0; k < 2; ++k) {
    QTest::mouseMove(b, QPoint(5, 5));  // hot without a hover watch
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(5, 5));
    for (int s = 0; s < 30; ++s) m.pool->Step();
  }
  EXPECT_EQ(spy.count(), 2);
  EXPECT_EQ(spy_r.count(), 2);
  for (int id : pris) app->RemoveTimer(id);
}
