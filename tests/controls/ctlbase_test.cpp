// Change protocol, application object and timer pool. Timed behaviour is
// stepped by hand; no test waits on the clock.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "controls/application.h"
#include "controls/ctlerror.h"
#include "controls/ctlobject.h"
#include "controls/instancemutex.h"
#include "controls/timerpool.h"

namespace {

class Sample : public CtlObject {
 public:
  void SetA(int v) { Store(a_, v); }
  void SetB(int v) { Store(b_, v); }
  void SetC(int v) { Store(c_, v); }
  int A() const { return a_; }
  void Assign(const CtlObject& source) override {
    if (auto* s = dynamic_cast<const Sample*>(&source)) {
      BeginUpdate();
      SetA(s->a_);
      SetB(s->b_);
      SetC(s->c_);
      EndUpdate(true);
      return;
    }
    CtlObject::Assign(source);
  }

 private:
  void Store(int& field, int v) {
    if (field == v) return;
    field = v;
    Change();
  }
  int a_ = 0, b_ = 0, c_ = 0;
};

std::string ThrownText(const std::function<void()>& f) {
  try {
    f();
  } catch (const CtlError& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

}  // namespace

TEST(ChangeProtocol, UpdateBracketNotifiesOnceAndEqualValuesNever) {
  Sample s;
  std::vector<CtlObject*> seen;
  s.OnChange = [&](CtlObject* o) { seen.push_back(o); };
  s.BeginUpdate();
  s.SetA(1);
  s.SetB(2);
  s.SetC(3);
  EXPECT_TRUE(seen.empty());
  s.EndUpdate(true);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], &s);

  s.BeginUpdate();
  s.SetA(5);
  s.EndUpdate(false);
  EXPECT_EQ(seen.size(), 1u);

  s.SetA(5);
  EXPECT_EQ(seen.size(), 1u);
  s.SetA(6);
  EXPECT_EQ(seen.size(), 2u);
}

TEST(ChangeProtocol, AssignCopiesValuesButNotTheHookAndRefusesOtherClasses) {
  Sample a, b;
  int changes = 0;
  b.OnChange = [&](CtlObject*) { ++changes; };
  a.SetA(7);
  Sample copy(a);
  EXPECT_EQ(copy.A(), 7);
  EXPECT_FALSE(copy.OnChange);
  b.Assign(a);
  EXPECT_EQ(b.A(), 7);
  EXPECT_EQ(changes, 1);
  CtlObject plain;
  EXPECT_EQ(ThrownText([&] { b.Assign(plain); }), "Cannot assign a TCtlObject to a TCtlObject");
}

TEST(ChangeProtocol, ComponentsNotifyWithThemselves) {
  CtlComponent c;
  std::vector<CtlCustomComponent*> seen;
  c.OnChange = [&](CtlCustomComponent* o) { seen.push_back(o); };
  c.BeginUpdate();
  c.Changed();
  c.EndUpdate(false);
  EXPECT_TRUE(seen.empty());
  c.BeginUpdate();
  c.Changed();
  c.EndUpdate(true);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], &c);
}

class ApplicationTimers : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = CtlApplication::Instance();
    app_->Timers()->SetManualStepping(true);
  }
  void TearDown() override {
    for (int i = 1; i <= CtlApplication::kTimerSlots; ++i) app_->RemoveTimer(CtlApplication::kTimerBase + i);
    app_->Timers()->SetManualStepping(false);
  }
  CtlApplication* app_ = nullptr;
};

TEST_F(ApplicationTimers, SlotsAreTakenInOrderAndFreedOnlyByTheirIds) {
  for (int i = 1; i <= 250; ++i) ASSERT_EQ(app_->AddTimer(50, nullptr), 64768 + i);
  EXPECT_EQ(app_->AddTimer(50, nullptr), 0);

  app_->RemoveTimer(64800);
  EXPECT_EQ(app_->TimerItem(64800), nullptr);
  EXPECT_EQ(app_->AddTimer(100, nullptr), 64800);
  EXPECT_EQ(app_->TimerItem(64800)->Interval(), 100);

  app_->RemoveTimer(65535);
  app_->RemoveTimer(1);
  app_->RemoveTimer(64768);
  for (int i = 1; i <= 250; ++i) EXPECT_TRUE(app_->SlotUsed(i)) << i;
  EXPECT_EQ(app_->Timers()->Count(), 250);
}

TEST_F(ApplicationTimers, ARefusedIntervalLeavesTheSlotFree) {
  EXPECT_EQ(app_->AddTimer(75, nullptr), 0);
  EXPECT_FALSE(app_->SlotUsed(1));
  EXPECT_EQ(app_->AddTimer(50, nullptr), 64769);
}

TEST_F(ApplicationTimers, ItemsOfTheApplicationFireFromTheSharedPool) {
  int fired = 0;
  const int id = app_->AddTimer(100, [&](CtlTimerPool*) { ++fired; });
  ASSERT_NE(id, 0);
  for (int i = 0; i < 4; ++i) app_->Timers()->Step();
  EXPECT_EQ(fired, 2);
  app_->TimerItem(id)->SetEnabled(false);
  app_->Timers()->Step();
  app_->Timers()->Step();
  EXPECT_EQ(fired, 2);
}

TEST(Application, PatternAndCheckerBrushes) {
  CtlApplication* app = CtlApplication::Instance();
  EXPECT_EQ(app->Options(), 0x36);
  const QImage checker = app->CheckerBrush();
  const QImage red = app->PatternBrush(CtlRgb(255, 0, 0));
  ASSERT_EQ(red.size(), QSize(8, 8));
  EXPECT_EQ(red.pixelColor(0, 0), QColor(Qt::white));
  EXPECT_EQ(red.pixelColor(1, 0), QColor(255, 0, 0));
  EXPECT_EQ(red.pixelColor(0, 1), QColor(255, 0, 0));
  EXPECT_EQ(red.pixelColor(1, 1), QColor(Qt::white));
  EXPECT_EQ(red.pixelColor(7, 6), QColor(255, 0, 0));
  const QImage blue = app->PatternBrush(clBlue);
  EXPECT_EQ(blue.pixelColor(1, 0), QColor(0, 0, 255));
  EXPECT_EQ(red.pixelColor(1, 0), QColor(255, 0, 0));
  EXPECT_EQ(checker.pixelColor(1, 0), QColor(Qt::black));
  EXPECT_EQ(app->CheckerBrush().pixelColor(1, 0), QColor(Qt::black));
  EXPECT_EQ(app->CheckerBrush().pixelColor(1, 1), QColor(Qt::white));
  // A system colour goes through the fixed table.
  EXPECT_EQ(app->PatternBrush(clBtnFace).pixelColor(0, 1), ColorToRgb(clBtnFace));
}

TEST(Application, HandCursor) {
  EXPECT_EQ(CtlApplication::Cursor(crHandPoint).shape(), Qt::PointingHandCursor);
  EXPECT_EQ(CtlApplication::Cursor(0).shape(), Qt::ArrowCursor);
}

TEST(Application, FreedWithItsApplication) {
  // The sanitizer build's leak check sees the object go with the test program's application.
  CtlApplication* app = CtlApplication::Instance();
  EXPECT_EQ(app->parent(), QCoreApplication::instance());
  EXPECT_EQ(CtlApplication::Instance(), app);
}

class TimerPool : public ::testing::Test {
 protected:
  TimerPool() { pool.SetManualStepping(true); }
  CtlTimerPool pool{50};
};

TEST_F(TimerPool, IntervalsMustBeMultiplesOfTheStep) {
  const char text[] = "Interval not compatible with MinInterval property!";
  pool.Add(1, 50, nullptr);
  pool.Add(2, 100, nullptr);
  pool.Add(3, 150, nullptr);
  EXPECT_EQ(pool.FindItem(3)->StepsPerFire(), 3);
  EXPECT_EQ(ThrownText([&] { pool.Add(4, 75, nullptr); }), text);
  EXPECT_EQ(ThrownText([&] { pool.Add(5, 30, nullptr); }), text);
  EXPECT_EQ(ThrownText([&] { pool.Add(2, 50, nullptr); }), "Indice de liste hors limites (2)");
  EXPECT_EQ(pool.Count(), 3);
  EXPECT_EQ(pool.IndexOf(3), 2);
  EXPECT_EQ(pool.IndexOf(4), -1);

  CtlTimerItem* item = pool.FindItem(2);
  item->SetInterval(75);
  item->SetInterval(30);
  EXPECT_EQ(item->Interval(), 100);
  EXPECT_EQ(item->StepsPerFire(), 2);
  item->SetInterval(0);
  EXPECT_EQ(item->Interval(), 50);
  EXPECT_EQ(item->StepsPerFire(), 1);

  EXPECT_EQ(ThrownText([] { CtlTimerPool bad(0); }), text);
}

TEST_F(TimerPool, EachItemCountsFromItsOwnStart) {
  std::vector<int> first, second;
  int step = 0;
  pool.Add(1, 150, [&](CtlTimerPool*) { first.push_back(step); });
  pool.Add(2, 150, [&](CtlTimerPool*) { second.push_back(step); });
  pool.FindItem(2)->SetEnabled(false);
  for (step = 1; step <= 10; ++step) {
    pool.Step();
    if (step == 4) pool.FindItem(2)->SetEnabled(true);
  }
  EXPECT_EQ(first, (std::vector<int>{3, 6, 9}));
  EXPECT_EQ(second, (std::vector<int>{7, 10}));
}

TEST_F(TimerPool, MaximumFireCountDisablesAfterTheLastFire) {
  std::vector<std::int32_t> counts;
  pool.Add(1, 50, nullptr);
  pool.OnTimer = [&](CtlTimerPool* sender, int id, std::int32_t count) {
    EXPECT_EQ(sender, &pool);
    EXPECT_EQ(id, 1);
    counts.push_back(count);
  };
  CtlTimerItem* item = pool.FindItem(1);
  item->MaxFireCount = 2;
  for (int i = 0; i < 5; ++i) pool.Step();
  EXPECT_EQ(counts, (std::vector<std::int32_t>{1, 2}));
  EXPECT_FALSE(item->Enabled());

  // Its own event sees the count of the fire that disabled it.
  std::int32_t seen = -1;
  item->OnTimer = [&](CtlTimerPool* p) { seen = p->FindItem(1)->FireCount(); };
  item->SetEnabled(true);
  pool.Step();
  pool.Step();
  EXPECT_EQ(seen, 2);

  item->MaxFireCount = 0;
  item->SetEnabled(true);
  EXPECT_FALSE(item->Enabled());
}

TEST_F(TimerPool, AnEventMayRemoveItsOwnAndOtherItems) {
  std::vector<int> fired;
  pool.Add(1, 50, [&](CtlTimerPool* p) {
    fired.push_back(1);
    p->Step();  // a nested step is dropped
    p->Remove(1);
    p->Remove(2);
  });
  pool.Add(2, 50, [&](CtlTimerPool*) { fired.push_back(2); });
  pool.Add(3, 50, [&](CtlTimerPool*) { fired.push_back(3); });
  pool.Step();
  pool.Step();
  EXPECT_EQ(fired, (std::vector<int>{1, 3, 3}));
  EXPECT_EQ(pool.Count(), 1);
}

TEST_F(TimerPool, AnItemEnabledByAnEventStartsCountingAtTheNextStep) {
  std::vector<int> fired;
  int step = 0;
  pool.Add(1, 100, [&](CtlTimerPool* p) { p->FindItem(2)->SetEnabled(true); });
  pool.Add(2, 100, [&](CtlTimerPool*) { fired.push_back(step); });
  pool.FindItem(2)->SetEnabled(false);
  pool.FindItem(1)->MaxFireCount = 1;
  for (step = 1; step <= 6; ++step) pool.Step();
  EXPECT_EQ(fired, (std::vector<int>{4, 6}));
}

TEST(TimerPoolClock, TheTimerRunsExactlyWhileSomeItemIsEnabled) {
  CtlTimerPool pool(50);
  EXPECT_FALSE(pool.TimerActive());
  pool.Add(1, 100, nullptr);
  EXPECT_TRUE(pool.TimerActive());
  pool.Add(2, 100, nullptr);
  pool.FindItem(1)->SetEnabled(false);
  EXPECT_TRUE(pool.TimerActive());
  pool.FindItem(2)->SetEnabled(false);
  EXPECT_FALSE(pool.TimerActive());
  pool.FindItem(2)->SetEnabled(true);
  EXPECT_TRUE(pool.TimerActive());
  pool.SetManualStepping(true);
  EXPECT_FALSE(pool.TimerActive());
  EXPECT_TRUE(pool.Running());
  pool.SetManualStepping(false);
  EXPECT_TRUE(pool.TimerActive());
  pool.Remove(2);
  EXPECT_FALSE(pool.TimerActive());
  EXPECT_FALSE(pool.Running());
}

TEST_F(TimerPool, AThrowingEventLeavesThePoolStepping) {
  int fired = 0;
  pool.Add(1, 50, [&](CtlTimerPool*) {
    if (++fired == 1) throw CtlError("failed");
  });
  EXPECT_THROW(pool.Step(), CtlError);
  pool.Step();
  EXPECT_EQ(fired, 2);
}

// Qt allows one application object per process, so the second instance is a
// second holder of the same mutex name.
TEST(InstanceMutex, TheFirstHolderOwnsTheNameUntilItGoes) {
  QTemporaryDir dir;
  EXPECT_EQ(CtlApplication::Instance()->Mutex().Name(), QFileInfo(QCoreApplication::applicationFilePath()).fileName());
  EXPECT_EQ(CtlInstanceMutex::ExecutableName(), QFileInfo(QCoreApplication::applicationFilePath()).fileName());
  auto first = std::make_unique<CtlInstanceMutex>("quorvel", dir.path());
  EXPECT_EQ(first->FilePath(), dir.path() + "/quorvel.lock");
  EXPECT_TRUE(first->Owned());
  {
    CtlInstanceMutex second("quorvel", dir.path());
    EXPECT_TRUE(second.AlreadyExisted());
    CtlInstanceMutex other_program("qvimport", dir.path());
    EXPECT_TRUE(other_program.Owned());
  }
  EXPECT_TRUE(QFileInfo::exists(first->FilePath()));  // the second one leaves it alone
  first.reset();
  EXPECT_FALSE(QFileInfo::exists(dir.path() + "/quorvel.lock"));
  CtlInstanceMutex third("quorvel", dir.path());
  EXPECT_TRUE(third.Owned());
}

TEST(InstanceMutex, ALockLeftByADeadProcessIsTakenOver) {
  QTemporaryDir dir;
  QFile left(dir.path() + "/quorvel.lock");
  ASSERT_TRUE(left.open(QIODevice::WriteOnly));
  // No process has this number (above the kernel's largest).
  left.write("2147483646\nquorvel\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  left.close();
  CtlInstanceMutex holder("quorvel", dir.path());
  EXPECT_TRUE(holder.Owned());
}
