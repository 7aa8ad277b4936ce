// The one application object of the library: the shared timer pool (50 ms
// steps) with its 250 timer slots, the settings storage, the cached pattern
// brushes, the library's cursors and the mutex named after the executable.
// Instance() makes it on first use (the program asks for it at start-up); it
// is a child of qApp and goes with it.
#pragma once

#include <QCursor>
#include <QImage>
#include <QObject>
#include <array>
#include <cstdint>
#include <map>
#include <memory>

#include "controls/instancemutex.h"
#include "controls/paintkit.h"
#include "controls/timerpool.h"

class CtlIniCtrl;

constexpr int crHandPoint = -255;

class CtlApplication : public QObject {
  Q_OBJECT
 public:
  // Needs a QCoreApplication.
  static CtlApplication* Instance();

  static constexpr int kTimerSlots = 250;
  static constexpr int kTimerBase = 64768;  // slot i gives timer id kTimerBase + i

  // Library-wide switches; bit 0 is read by the drawing procedures.
  std::uint8_t Options() const { return options_; }
  CtlTimerPool* Timers() { return timers_; }
  CtlIniCtrl* Settings() { return settings_; }
  // Held while the object lives; tells whether another instance held it first.
  const CtlInstanceMutex& Mutex() const { return *mutex_; }

  // Takes the first free slot i and adds pool item kTimerBase + i (enabled,
  // of `interval` ms); 0 when no slot is free or the pool refused.
  int AddTimer(int interval, CtlTimerEvent event);
  // Removes the item; ids of a slot free it, other ids touch no slot.
  void RemoveTimer(int id);
  CtlTimerItem* TimerItem(int id) { return timers_->FindItem(id); }
  bool SlotUsed(int slot) const;

  // 8 × 8 white picture whose pixels with x + y odd have `colour`; redrawn
  // only when the colour differs from the last one asked.
  QImage PatternBrush(CtlColor colour);
  // The pattern in black, made once.
  QImage CheckerBrush();

  // The screen's cursor table: the cursor registered under `number`, else the
  // library's own (crHandPoint, the pointing hand), else the arrow.
  static QCursor Cursor(int number);
  // Puts a cursor into the table (a later one replaces it); needs a QCoreApplication.
  static void RegisterCursor(int number, const QCursor& cursor);

 private:
  explicit CtlApplication(QObject* parent);
  ~CtlApplication() override;

  static CtlApplication* instance_;
  std::uint8_t options_ = 0x36;
  CtlIniCtrl* settings_ = nullptr;
  QImage checker_;
  QImage pattern_;
  CtlColor pattern_colour_ = clNone;
  CtlTimerPool* timers_;
  std::array<bool, kTimerSlots + 1> slots_{};  // index 0 unused
  std::unique_ptr<CtlInstanceMutex> mutex_;
  std::map<int, QCursor> cursors_;
};
