#include "controls/timerpool.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "controls/ctlerror.h"

namespace {

const char kBadInterval[] = "Interval not compatible with MinInterval property!";

}  // namespace

CtlTimerItem::CtlTimerItem(CtlTimerPool* pool, int id) : pool_(pool), id_(id) {
  if (!pool) throw CtlInvalidOperation("TCtlTimerItem: Invalid Owner or List");
  steps_per_fire_ = std::max(1, 1000 / pool->MinInterval());
}

void CtlTimerItem::Rearm() {
  fire_count_ = 0;
  steps_ = 0;
  armed_in_step_ = pool_->stepping_;
}

void CtlTimerItem::SetEnabled(bool value) {
  if (value == enabled_) return;
  if (value && MaxFireCount == 0) return;
  enabled_ = value;
  Rearm();
  pool_->ItemStateChanged();
}

void CtlTimerItem::SetInterval(int ms) {
  const int step = pool_->MinInterval();
  if (ms == 0) ms = step;
  if (ms < 0 || ms > 65535 || ms % step != 0) return;
  interval_ = ms;
  steps_per_fire_ = std::max(1, ms / step);
  Rearm();
}

CtlTimerPool::CtlTimerPool(int min_interval, QObject* owner) : CtlComponent(owner), min_interval_(min_interval) {
  if (min_interval < 1 || min_interval > 65535) throw CtlError(kBadInterval);
  timer_.setInterval(min_interval);
  // No exception leaves the Qt timer handler: an event that throws is reported and the step ends.
  connect(&timer_, &QTimer::timeout, this, [this] {
    try {
      Step();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "Timer event failed: %s\n", e.what());
    }
  });
}

CtlTimerPool::~CtlTimerPool() {
  timer_.stop();
  items_.clear();
}

int CtlTimerPool::Add(int id, int interval, CtlTimerEvent event) {
  if (IndexOf(id) >= 0) {
    char text[64];
    std::snprintf(text, sizeof text, "Indice de liste hors limites (%d)", id);
    throw CtlListError(text);
  }
  if (interval < min_interval_ || interval > 65535 || interval % min_interval_ != 0) throw CtlError(kBadInterval);
  items_.push_back(std::unique_ptr<CtlTimerItem>(new CtlTimerItem(this, id)));
  CtlTimerItem& item = *items_.back();
  item.SetInterval(interval);
  item.OnTimer = std::move(event);
  Restart(true);
  return Count() - 1;
}

void CtlTimerPool::Remove(int id) {
  const int i = IndexOf(id);
  if (i < 0) return;
  removing_ = true;
  std::unique_ptr<CtlTimerItem> item = std::move(items_[static_cast<std::size_t>(i)]);
  items_.erase(items_.begin() + i);
  item->enabled_ = false;
  item->OnTimer = nullptr;
  item.reset();
  removing_ = false;
  ItemStateChanged();
}

CtlTimerItem* CtlTimerPool::FindItem(int id) const {
  const int i = IndexOf(id);
  return i < 0 ? nullptr : items_[static_cast<std::size_t>(i)].get();
}

int CtlTimerPool::IndexOf(int id) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->id_ == id) return static_cast<int>(i);
  return -1;
}

bool CtlTimerPool::AnyEnabled() const {
  return std::any_of(items_.begin(), items_.end(), [](const auto& it) { return it->enabled_; });
}

void CtlTimerPool::Restart(bool run) {
  timer_.stop();
  running_ = run && AnyEnabled();
  if (running_ && !manual_) timer_.start();
  step_counter_ = 1;
}

// Starts the QTimer when the first item is enabled, stops it with the last.
void CtlTimerPool::ItemStateChanged() {
  const bool any = AnyEnabled();
  if (!CtlStore(running_, any)) return;
  if (!running_)
    timer_.stop();
  else if (!manual_)
    timer_.start();
}

void CtlTimerPool::SetManualStepping(bool manual) {
  manual_ = manual;
  if (manual_)
    timer_.stop();
  else if (running_)
    timer_.start();
}

void CtlTimerPool::Step() {
  if (stepping_ || removing_) return;
  stepping_ = true;
  // Events may remove or add items (a dialog closing frees its buttons):
  // walk a copy of the ids and find each item again before counting it.
  std::vector<int> ids;
  ids.reserve(items_.size());
  for (const auto& it : items_) ids.push_back(it->id_);
  try {
    for (int id : ids) {
      CtlTimerItem* item = FindItem(id);
      if (!item || !item->enabled_ || item->armed_in_step_) continue;
      if (++item->steps_ < item->steps_per_fire_) continue;
      item->steps_ = 0;
      Fire(*item);
    }
  } catch (...) {
    for (const auto& it : items_) it->armed_in_step_ = false;
    stepping_ = false;
    throw;
  }
  for (const auto& it : items_) it->armed_in_step_ = false;
  ++step_counter_;
  stepping_ = false;
}

void CtlTimerPool::Fire(CtlTimerItem& item) {
  const int id = item.id_;
  item.fire_count_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(item.fire_count_) + 1u);
  if (item.fire_count_ < 0) item.fire_count_ = 0;
  const std::int32_t count = item.fire_count_;
  if (count == item.MaxFireCount) {
    // Disabled with its count kept, so the event still sees it.
    item.enabled_ = false;
    ItemStateChanged();
  }
  if (item.OnTimer) {
    // A copy: the event may remove its own item.
    CtlTimerEvent event = item.OnTimer;
    event(this);
  } else if (OnTimer) {
    OnTimer(this, id, count);
  }
}
