#include "controls/pooltimer.h"

// Stand-in until the application object's pool is in: one QTimer per item.
#include <QTimer>
#include <map>
#include <memory>

namespace {
std::map<const CtlPoolTimer*, std::unique_ptr<QTimer>>& Timers() {
  static std::map<const CtlPoolTimer*, std::unique_ptr<QTimer>> t;
  return t;
}
}  // namespace

CtlPoolTimer::CtlPoolTimer(std::function<void()> tick) : tick_(std::move(tick)) {}
CtlPoolTimer::~CtlPoolTimer() { Stop(); }

bool CtlPoolTimer::Start(int interval_ms) {
  Stop();
  auto t = std::make_unique<QTimer>();
  t->setInterval(interval_ms);
  QObject::connect(t.get(), &QTimer::timeout, [this] { tick_(); });
  t->start();
  Timers()[this] = std::move(t);
  id_ = 1;
  return true;
}

bool CtlPoolTimer::SetInterval(int interval_ms) {
  if (!id_ || interval_ms % 50) return false;
  Timers()[this]->setInterval(interval_ms);
  return true;
}

void CtlPoolTimer::Stop() {
  Timers().erase(this);
  id_ = 0;
}

bool CtlPoolTimer::Active() const { return id_ != 0; }
