// Window hooks: several components watch the events of one window, before
// and after the window handles them, without the window knowing.
//
// A control hook sits on the native window of a control (its QWindow, as
// soon as the control has one) as an event filter. It hands each event first to the window
// hooks attached, last attached first, through their BeforeMessage until one
// sets Handled; when none did, the window handles the event; then every hook
// gets it through AfterMessage, in the same order. Everything the platform
// sends to the window passes there: moves, sizes, activation (focus in and
// out of the window), showing, state changes, mouse and keys before they
// reach the child widgets, and the non-client mouse events that a title bar
// drawn by the program sends its window.
//
// One control hook per control, shared by every window hook on it; the
// process-wide hook list keeps them. When the control's native window is
// destroyed (recreated by a change of window flags, for instance), the
// control hook lets it go and the list, on a posted message, installs it on
// the new one. A control hook left without window hooks is freed the same
// way, through the list's own message window.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/messages.h"

class TRxWindowHook;

// Messages of the hook list's window; lParam carries the control hook.
constexpr std::uint32_t kHookRehookMessage = 45138;  // install the hook again on the recreated window
constexpr std::uint32_t kHookFreeMessage = 45139;    // free the hook when no window hook is attached

// The event, the hook that reports it, and Handled: true in BeforeMessage
// stops the other hooks and the window; AfterMessage reads it.
using THookMessageEvent = std::function<void(TRxWindowHook* sender, QEvent* msg, bool& handled)>;

class TControlHook : public QObject {
  Q_OBJECT
 public:
  explicit TControlHook(QWidget* control);
  ~TControlHook() override;

  QWidget* Control() const { return control_; }
  // The native window the filter sits on; null while not installed.
  QWindow* HookedWindow() const { return window_; }
  const std::vector<TRxWindowHook*>& Hooks() const { return hooks_; }

  // Adds the hook (once) and installs the filter.
  void Attach(TRxWindowHook* hook);
  // Removes the hook; the last one out takes the filter away.
  void Detach(TRxWindowHook* hook);
  // Installs the filter on the control's native window, or as soon as the
  // control makes one; nothing while the control is gone or being destroyed.
  void HookControl();
  void UnhookControl();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void window_gone();
  QPointer<QWidget> control_;
  QPointer<QWindow> window_;
  std::vector<TRxWindowHook*> hooks_;  // in attaching order
  bool destroying_ = false;
  bool waiting_ = false;  // for the control's native window
};

// The process-wide list of control hooks, made on first use and freed with
// the application object.
class THookList {
 public:
  static THookList& Instance();
  ~THookList();

  // The control's hook, made when missing.
  TControlHook* Get(QWidget* control);
  TControlHook* Find(const QWidget* control) const;
  bool Contains(const TControlHook* hook) const;
  int Count() const { return static_cast<int>(hooks_.size()); }
  // The list's message window (kHookRehookMessage, kHookFreeMessage).
  platform::WindowHandle Handle() const { return handle_; }
  void Post(std::uint32_t msg, TControlHook* hook);

 private:
  THookList();
  std::intptr_t WndProc(const platform::Message& m);
  std::vector<std::unique_ptr<TControlHook>> hooks_;
  platform::WindowHandle handle_ = 0;
};

class TRxWindowHook : public QObject {
  Q_OBJECT
 public:
  explicit TRxWindowHook(QObject* owner = nullptr);
  ~TRxWindowHook() override;

  bool Active() const { return active_; }
  // True attaches to the control's hook, false detaches.
  void SetActive(bool on);
  // The hooked control, or the stored one; null once the control is destroyed.
  QWidget* WinControl() const;
  void SetWinControl(QWidget* control);
  // The control is the form that owns the hook.
  bool IsForm() const { return control_ && control_ == parent(); }
  // The control hook this hook is attached to; null while not hooked.
  TControlHook* ControlHook() const { return hook_; }

  THookMessageEvent BeforeMessage, AfterMessage;

  void HookControl();
  void UnhookControl();

 private:
  friend class TControlHook;
  bool active_ = true;
  QPointer<QWidget> control_;
  QMetaObject::Connection gone_;
  TControlHook* hook_ = nullptr;
};
