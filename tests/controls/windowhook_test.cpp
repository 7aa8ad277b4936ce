// Window hooks: the order of the before and after events, Handled, two hooks
// sharing one control hook, detaching and freeing through the list's
// messages, and the hook put back on a recreated native window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlatformSurfaceEvent>
#include <QWidget>

#include "controls/windowhook.h"
#include "platform/messages.h"

namespace {

constexpr auto kProbe = static_cast<QEvent::Type>(QEvent::User + 17);

// A form that notes when its window hands it the probe event.
class Form : public QWidget {
 public:
  std::vector<std::string>* log = nullptr;
  using QWidget::create;
  using QWidget::destroy;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == kProbe && log) log->push_back("window");
    return QWidget::event(e);
  }
};

// A hook that writes its name and phase into the shared log.
TRxWindowHook* Recorder(Form& form, const std::string& name, std::vector<std::string>& log, bool stops = false) {
  auto* h = new TRxWindowHook(&form);
  h->BeforeMessage = [&log, name, stops](TRxWindowHook*, QEvent* e, bool& handled) {
    if (e->type() != kProbe) return;
    log.push_back("before " + name);
    if (stops) handled = true;
  };
  h->AfterMessage = [&log, name](TRxWindowHook*, QEvent* e, bool& handled) {
    if (e->type() == kProbe) log.push_back("after " + name + (handled ? " handled" : ""));
  };
  h->SetWinControl(&form);
  return h;
}

void Probe(QWidget& form) {
  QEvent e(kProbe);
  QApplication::sendEvent(form.windowHandle(), &e);
}

using Log = std::vector<std::string>;

}  // namespace

TEST(WindowHook, LastAttachedFirstAndTheWindowBetweenBeforeAndAfter) {
  Form form;
  Log log;
  form.log = &log;
  TRxWindowHook* a = Recorder(form, "a", log);
  Recorder(form, "b", log);
  Recorder(form, "c", log);
  EXPECT_EQ(a->ControlHook()->HookedWindow(), nullptr);  // waiting for the native window
  form.winId();
  ASSERT_EQ(a->ControlHook()->HookedWindow(), form.windowHandle());
  Probe(form);
  EXPECT_EQ(log, (Log{"before c", "before b", "before a", "window", "after c", "after b", "after a"}));

  // A hook that handles the event stops the ones after it and the window; all see it after.
  log.clear();
  Recorder(form, "d", log, true);
  Probe(form);
  EXPECT_EQ(log, (Log{"before d", "after d handled", "after c handled", "after b handled", "after a handled"}));

  // Re-attaching moves nothing; a detached hook sees nothing more.
  log.clear();
  a->SetActive(false);
  a->SetActive(true);
  EXPECT_EQ(a->ControlHook()->Hooks().size(), 4u);
  EXPECT_EQ(a->ControlHook()->Hooks().back(), a);
  a->SetActive(false);
  Probe(form);
  EXPECT_EQ(log, (Log{"before d", "after d handled", "after c handled", "after b handled"}));
}

TEST(WindowHook, TwoHooksShareOneControlHookFreedThroughTheListsMessage) {
  platform::dispatch_pending();  // what earlier tests left to free
  THookList& list = THookList::Instance();
  const int before = list.Count();
  Form form;
  Log log;
  form.log = &log;
  TRxWindowHook* a = Recorder(form, "a", log);
  TRxWindowHook* b = Recorder(form, "b", log);
  form.winId();
  ASSERT_NE(a->ControlHook(), nullptr);
  EXPECT_EQ(a->ControlHook(), b->ControlHook());
  EXPECT_EQ(list.Count(), before + 1);
  EXPECT_EQ(a->WinControl(), &form);
  EXPECT_TRUE(a->IsForm());
  TControlHook* shared = a->ControlHook();

  a->SetActive(false);
  EXPECT_EQ(a->ControlHook(), nullptr);
  EXPECT_EQ(a->WinControl(), &form);  // the stored control
  platform::dispatch_pending();
  EXPECT_TRUE(list.Contains(shared));  // b still uses it
  Probe(form);
  EXPECT_EQ(log, (Log{"before b", "window", "after b"}));

  // The last hook out takes the filter away at once; the hook goes with the posted message.
  b->SetActive(false);
  EXPECT_EQ(shared->HookedWindow(), nullptr);
  log.clear();
  Probe(form);
  EXPECT_EQ(log, (Log{"window"}));
  EXPECT_TRUE(list.Contains(shared));
  platform::dispatch_pending();
  EXPECT_FALSE(list.Contains(shared));
  EXPECT_EQ(list.Count(), before);

  // Moving a hook to another control frees the old control hook once empty.
  Form other;
  b->SetActive(true);
  TControlHook* first = b->ControlHook();
  b->SetWinControl(&other);
  EXPECT_EQ(b->WinControl(), &other);
  EXPECT_NE(b->ControlHook(), first);
  platform::dispatch_pending();
  EXPECT_FALSE(list.Contains(first));
  EXPECT_EQ(list.Count(), before + 1);
}

TEST(WindowHook, TheControlsEndLeavesTheHooksWithoutControlAndFreesItsHook) {
  platform::dispatch_pending();  // what earlier tests left to free
  THookList& list = THookList::Instance();
  const int before = list.Count();
  TRxWindowHook a, b;
  {
    Form form;
    a.SetWinControl(&form);
    b.SetWinControl(&form);
    EXPECT_EQ(list.Count(), before + 1);
  }
  EXPECT_EQ(a.WinControl(), nullptr);
  EXPECT_EQ(b.ControlHook(), nullptr);
  // Several messages name the same hook (both hooks, the control's end, the
  // window's destruction): each is handled once, the others find nothing.
  platform::dispatch_pending();
  EXPECT_EQ(list.Count(), before);
}

TEST(WindowHook, ARecreatedNativeWindowIsHookedAgainOnThePostedMessage) {
  Form form;
  Log log;
  form.log = &log;
  TRxWindowHook* a = Recorder(form, "a", log);
  form.winId();
  bool saw_destroy = false;
  a->AfterMessage = [&, after = a->AfterMessage](TRxWindowHook* s, QEvent* e, bool& handled) {
    if (e->type() == QEvent::PlatformSurface &&
        static_cast<QPlatformSurfaceEvent*>(e)->surfaceEventType() == QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed)
      saw_destroy = true;
    after(s, e, handled);
  };
  TControlHook* hook = a->ControlHook();
  ASSERT_EQ(hook->HookedWindow(), form.windowHandle());

  form.destroy();
  EXPECT_TRUE(saw_destroy);  // the hooks are told, after the window
  EXPECT_EQ(hook->HookedWindow(), nullptr);
  form.create();
  ASSERT_NE(form.windowHandle(), nullptr);
  Probe(form);
  EXPECT_EQ(log, (Log{"window"}));  // not hooked until the message comes
  platform::dispatch_pending();
  EXPECT_EQ(hook->HookedWindow(), form.windowHandle());
  log.clear();
  Probe(form);
  EXPECT_EQ(log, (Log{"before a", "window", "after a"}));

  // New window flags on a shown form give it a new native window too.
  form.show();
  form.setWindowFlags(form.windowFlags() | Qt::FramelessWindowHint);
  form.show();
  platform::dispatch_pending();
  EXPECT_EQ(hook->HookedWindow(), form.windowHandle());
  log.clear();
  Probe(form);
  EXPECT_EQ(log, (Log{"before a", "window", "after a"}));
}
