// A pool of software timers sharing one QTimer that steps every MinInterval
// ms on the GUI thread. Each enabled item counts its own steps from the
// moment it is enabled or its interval is set, fires when the count reaches
// its steps per fire, then counts again from 0; items started together fire
// together. The QTimer runs only while some item is enabled.
//
// Tests never wait on the clock: SetManualStepping(true) stops the QTimer and
// each Step() delivers one step.
#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "controls/ctlobject.h"

class CtlTimerPool;

// The item's own event; the sender is the pool.
using CtlTimerEvent = std::function<void(CtlTimerPool*)>;
// The pool's event for items without their own: pool, item id, fire count.
using CtlTimerPoolEvent = std::function<void(CtlTimerPool*, int id, std::int32_t count)>;

class CtlTimerItem {
 public:
  int Id() const { return id_; }
  bool Enabled() const { return enabled_; }
  // A change only; enabling an item whose maximum fire count is 0 is
  // ignored. The fire count and the step count restart at 0.
  void SetEnabled(bool value);
  int Interval() const { return interval_; }
  // 0 means MinInterval; a value that is not a multiple of MinInterval is
  // ignored. The fire count and the step count restart at 0.
  void SetInterval(int ms);
  std::int32_t StepsPerFire() const { return steps_per_fire_; }
  std::int32_t FireCount() const { return fire_count_; }
  // −1: no limit. The item disables itself when its fire count reaches it.
  std::int32_t MaxFireCount = -1;
  CtlTimerEvent OnTimer;

  CtlTimerItem(const CtlTimerItem&) = delete;
  CtlTimerItem& operator=(const CtlTimerItem&) = delete;

 private:
  friend class CtlTimerPool;
  CtlTimerItem(CtlTimerPool* pool, int id);
  void Rearm();

  CtlTimerPool* pool_;
  int id_;
  std::int32_t fire_count_ = 0;
  bool enabled_ = true;
  int interval_ = 1000;
  std::int32_t steps_per_fire_;
  std::int32_t steps_ = 0;     // steps counted since enabled or last fire
  bool armed_in_step_ = false;  // enabled or re-timed by an event of the running step
};

class CtlTimerPool : public CtlComponent {
  Q_OBJECT
 public:
  // `min_interval` 1..65535 ms; anything else is refused with the interval message.
  explicit CtlTimerPool(int min_interval = 1000, QObject* owner = nullptr);
  ~CtlTimerPool() override;

  int MinInterval() const { return min_interval_; }
  CtlTimerPoolEvent OnTimer;

  // Adds an item; returns its index. Refuses a known id (CtlListError) and
  // an interval below MinInterval or not a multiple of it (CtlError).
  int Add(int id, int interval, CtlTimerEvent event);
  void Remove(int id);
  CtlTimerItem* FindItem(int id) const;
  int IndexOf(int id) const;
  int Count() const { return static_cast<int>(items_.size()); }
  // Stops the QTimer, and starts it again when `run` and some item is enabled.
  void Restart(bool run);

  // Whether the pool would have its QTimer running (some item enabled).
  bool Running() const { return running_; }
  // The QTimer itself; never active while stepping by hand.
  bool TimerActive() const { return timer_.isActive(); }
  std::uint32_t StepCounter() const { return step_counter_; }

  // Test hook: stops the QTimer; Step() then delivers each step.
  void SetManualStepping(bool manual);
  bool ManualStepping() const { return manual_; }
  // One step: every enabled item counts it and fires when due. A step that
  // arrives while items fire (a nested event loop) is dropped.
  void Step();

 private:
  friend class CtlTimerItem;
  void ItemStateChanged();
  bool AnyEnabled() const;
  void Fire(CtlTimerItem& item);

  int min_interval_;
  std::vector<std::unique_ptr<CtlTimerItem>> items_;
  QTimer timer_;
  bool running_ = false;
  bool stepping_ = false;
  bool removing_ = false;
  bool manual_ = false;
  std::uint32_t step_counter_ = 0;
};
