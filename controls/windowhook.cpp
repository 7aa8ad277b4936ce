// Window hooks over Qt event filters: the control hook on the native window,
// the process-wide list with its message window, and the window hook.
#include "controls/windowhook.h"

#include <QCoreApplication>
#include <QPlatformSurfaceEvent>
#include <algorithm>

// ---- Control hook ----

TControlHook::TControlHook(QWidget* control) : control_(control) {
  if (control)
    connect(control, &QObject::destroyed, this, [this] {
      // Every window hook on the control lets it go; the list frees this hook later.
      destroying_ = true;
      const std::vector<TRxWindowHook*> hooks = hooks_;
      for (TRxWindowHook* h : hooks) h->SetWinControl(nullptr);
      UnhookControl();
      THookList::Instance().Post(kHookFreeMessage, this);
    });
}

TControlHook::~TControlHook() {
  destroying_ = true;
  UnhookControl();
  for (TRxWindowHook* h : hooks_) h->hook_ = nullptr;
}

void TControlHook::Attach(TRxWindowHook* hook) {
  if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) hooks_.push_back(hook);
  HookControl();
}

void TControlHook::Detach(TRxWindowHook* hook) {
  std::erase(hooks_, hook);
  if (hooks_.empty()) UnhookControl();
}

void TControlHook::HookControl() {
  if (!control_ || destroying_) return;
  QWindow* w = control_->windowHandle();
  if (w == window_ && w) return;
  UnhookControl();
  if (!w) {
    // No native window yet: the hook goes on it as soon as the control makes one.
    waiting_ = true;
    control_->installEventFilter(this);
    return;
  }
  window_ = w;
  w->installEventFilter(this);
  connect(w, &QObject::destroyed, this, &TControlHook::window_gone);
}

void TControlHook::UnhookControl() {
  if (waiting_ && control_) control_->removeEventFilter(this);
  waiting_ = false;
  if (!window_) return;
  window_->removeEventFilter(this);
  disconnect(window_, &QObject::destroyed, this, &TControlHook::window_gone);
  window_ = nullptr;
}

// The native window went away without a word: hook the next one.
void TControlHook::window_gone() {
  window_ = nullptr;
  if (!destroying_ && control_) THookList::Instance().Post(kHookRehookMessage, this);
}

bool TControlHook::eventFilter(QObject* watched, QEvent* e) {
  if (watched == control_ && waiting_) {
    if (e->type() == QEvent::WinIdChange && control_->windowHandle()) HookControl();
    return false;
  }
  if (watched != window_ || e->type() == QEvent::Quit) return false;
  const bool destroyed = e->type() == QEvent::PlatformSurface &&
                         static_cast<QPlatformSurfaceEvent*>(e)->surfaceEventType() ==
                             QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed;
  // Last attached first; a hook detached by another one meanwhile is skipped.
  std::vector<QPointer<TRxWindowHook>> order(hooks_.rbegin(), hooks_.rend());
  auto attached = [this](const QPointer<TRxWindowHook>& h) {
    return h && std::find(hooks_.begin(), hooks_.end(), h.data()) != hooks_.end();
  };
  bool handled = false;
  for (const auto& h : order) {
    if (!attached(h) || !h->BeforeMessage) continue;
    h->BeforeMessage(h, e, handled);
    if (handled) break;
  }
  if (!handled || destroyed) {
    const QPointer<QObject> target = watched;
    watched->event(e);  // the window's own handling
    if (!target) return true;
  }
  for (const auto& h : order)
    if (attached(h) && h->AfterMessage) h->AfterMessage(h, e, handled);
  if (destroyed && window_ == watched) {
    UnhookControl();
    if (!destroying_ && control_) THookList::Instance().Post(kHookRehookMessage, this);
  }
  return true;
}

// ---- Hook list ----

namespace {
THookList* g_list = nullptr;
}

THookList& THookList::Instance() {
  if (!g_list) {
    g_list = new THookList;
    qAddPostRoutine([] {
      delete g_list;
      g_list = nullptr;
    });
  }
  return *g_list;
}

THookList::THookList() {
  handle_ = platform::register_window([this](const platform::Message& m) { return WndProc(m); });
}

THookList::~THookList() {
  platform::unregister_window(handle_);
  hooks_.clear();
}

TControlHook* THookList::Find(const QWidget* control) const {
  for (const auto& h : hooks_)
    if (control && h->Control() == control) return h.get();
  return nullptr;
}

TControlHook* THookList::Get(QWidget* control) {
  if (TControlHook* h = Find(control)) return h;
  hooks_.push_back(std::make_unique<TControlHook>(control));
  return hooks_.back().get();
}

bool THookList::Contains(const TControlHook* hook) const {
  return std::any_of(hooks_.begin(), hooks_.end(), [hook](const auto& h) { return h.get() == hook; });
}

void THookList::Post(std::uint32_t msg, TControlHook* hook) {
  platform::post(handle_, msg, 0, reinterpret_cast<std::intptr_t>(hook));
}

std::intptr_t THookList::WndProc(const platform::Message& m) {
  // A message may name a hook freed since it was posted (two releases of one
  // hook, say): only hooks still in the list are touched.
  auto* hook = reinterpret_cast<TControlHook*>(m.lparam);
  if ((m.msg != kHookRehookMessage && m.msg != kHookFreeMessage) || !Contains(hook)) return 0;
  if (m.msg == kHookRehookMessage) {
    if (!hook->Hooks().empty()) hook->HookControl();
  } else if (hook->Hooks().empty()) {
    std::erase_if(hooks_, [hook](const auto& h) { return h.get() == hook; });
  }
  return 0;
}

// ---- Window hook ----

TRxWindowHook::TRxWindowHook(QObject* owner) : QObject(owner) {}

TRxWindowHook::~TRxWindowHook() {
  active_ = false;
  SetWinControl(nullptr);
}

QWidget* TRxWindowHook::WinControl() const { return hook_ ? hook_->Control() : control_.data(); }

void TRxWindowHook::SetActive(bool on) {
  if (active_ == on) return;
  active_ = on;
  if (on) HookControl();
  else UnhookControl();
}

void TRxWindowHook::SetWinControl(QWidget* control) {
  if (control == control_ && (hook_ || !active_ || !control)) return;
  UnhookControl();
  if (gone_) disconnect(gone_);
  control_ = control;
  // The control's end leaves the hook without one.
  if (control) gone_ = connect(control, &QObject::destroyed, this, [this] { SetWinControl(nullptr); });
  if (active_) HookControl();
}

void TRxWindowHook::HookControl() {
  if (!control_ || hook_) return;
  hook_ = THookList::Instance().Get(control_);
  hook_->Attach(this);
}

void TRxWindowHook::UnhookControl() {
  TControlHook* old = hook_;
  if (!old) return;
  hook_ = nullptr;
  old->Detach(this);
  if (old->Hooks().empty()) THookList::Instance().Post(kHookFreeMessage, old);
}
