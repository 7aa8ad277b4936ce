#include "controls/controltimer.h"

#include <QCoreApplication>
#include <cstdio>

#include "controls/application.h"

CtlPoolTimer::CtlPoolTimer(std::function<void()> tick) : tick_(std::move(tick)) {}

CtlPoolTimer::~CtlPoolTimer() { Stop(); }

bool CtlPoolTimer::Start(int interval_ms) {
  Stop();
  if (!QCoreApplication::instance()) return false;
  id_ = CtlApplication::Instance()->AddTimer(interval_ms, [this](CtlTimerPool*) { tick_(); });
  if (id_ == 0) {
    static bool dit = false;
    if (!dit) std::fprintf(stderr, "Pas assez de timers disponibles\n");
    dit = true;
  }
  return id_ != 0;
}

bool CtlPoolTimer::SetInterval(int interval_ms) {
  if (id_ == 0) return false;
  CtlTimerItem* item = CtlApplication::Instance()->TimerItem(id_);
  if (!item) return false;
  const int avant = item->Interval();
  item->SetInterval(interval_ms);
  return item->Interval() != avant || interval_ms == avant;
}

void CtlPoolTimer::Stop() {
  if (id_ == 0) return;
  if (QCoreApplication::instance()) CtlApplication::Instance()->RemoveTimer(id_);
  id_ = 0;
}

bool CtlPoolTimer::Active() const { return id_ != 0; }
