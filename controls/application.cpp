#include "controls/application.h"

#include <QCoreApplication>
#include <cassert>

#include "controls/ctlerror.h"
#include "controls/inictrl.h"

CtlApplication* CtlApplication::instance_ = nullptr;

CtlApplication* CtlApplication::Instance() {
  if (!instance_) {
    assert(QCoreApplication::instance());
    instance_ = new CtlApplication(QCoreApplication::instance());
  }
  return instance_;
}

CtlApplication::CtlApplication(QObject* parent)
    : QObject(parent),
      settings_(new CtlIniCtrl(this)),
      timers_(new CtlTimerPool(50, this)),
      mutex_(std::make_unique<CtlInstanceMutex>()) {}

CtlApplication::~CtlApplication() {
  if (instance_ == this) instance_ = nullptr;
}

int CtlApplication::AddTimer(int interval, CtlTimerEvent event) {
  for (int i = 1; i <= kTimerSlots; ++i) {
    if (slots_[static_cast<std::size_t>(i)]) continue;
    try {
      timers_->Add(kTimerBase + i, interval, std::move(event));
    } catch (const CtlError&) {
      return 0;
    }
    slots_[static_cast<std::size_t>(i)] = true;
    return kTimerBase + i;
  }
  return 0;
}

void CtlApplication::RemoveTimer(int id) {
  timers_->Remove(id);
  const int slot = id - kTimerBase;
  if (slot >= 1 && slot <= kTimerSlots) slots_[static_cast<std::size_t>(slot)] = false;
}

bool CtlApplication::SlotUsed(int slot) const {
  return slot >= 1 && slot <= kTimerSlots && slots_[static_cast<std::size_t>(slot)];
}

QImage CtlApplication::PatternBrush(CtlColor colour) {
  if (pattern_.isNull() || colour != pattern_colour_) {
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::white);
    const QRgb c = ColorToRgb(colour).rgb();
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        if ((x + y) % 2 == 1) img.setPixel(x, y, c);
    pattern_ = img;
    pattern_colour_ = colour;
  }
  return pattern_;
}

QImage CtlApplication::CheckerBrush() {
  if (checker_.isNull()) checker_ = PatternBrush(clBlack).copy();
  return checker_;
}

QCursor CtlApplication::Cursor(int number) {
  if (instance_) {
    const auto it = instance_->cursors_.find(number);
    if (it != instance_->cursors_.end()) return it->second;
  }
  if (number == crHandPoint) return QCursor(Qt::PointingHandCursor);
  return QCursor(Qt::ArrowCursor);
}

void CtlApplication::RegisterCursor(int number, const QCursor& cursor) { Instance()->cursors_[number] = cursor; }
