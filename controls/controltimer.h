// A control's timer: one item of the application's timer pool (timerpool.h)
// held by a control, for the hover watch, the repeat of a held button, the
// pause of an incremental search. A control that gets no item works on
// without it (no repeat, no watch).
#pragma once

#include <functional>

class CtlPoolTimer {
 public:
  explicit CtlPoolTimer(std::function<void()> tick);
  ~CtlPoolTimer();
  CtlPoolTimer(const CtlPoolTimer&) = delete;
  CtlPoolTimer& operator=(const CtlPoolTimer&) = delete;

  // (Re)starts the item with the interval; false when the pool gives none.
  bool Start(int interval_ms);
  // Changes the interval of a running item; the pool keeps the old one when
  // it refuses the new (not a multiple of its step). Says whether it was taken.
  bool SetInterval(int interval_ms);
  void Stop();
  bool Active() const;

 private:
  std::function<void()> tick_;
  int id_ = 0;
};
