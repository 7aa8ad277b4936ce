// The one-instance check and the event-filter base on the program's window layout.
#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include "controls/ctlerror.h"
#include "controls/formcomponent.h"

namespace {

class OnePerForm : public CtlComponent {
  Q_OBJECT
 public:
  explicit OnePerForm(QObject* owner) : CtlComponent(owner) {
    CheckOneInstance(owner, staticMetaObject, "TOnePerForm", false);
  }
};

class Counted : public CtlComponent {
  Q_OBJECT
 public:
  using CtlComponent::CtlComponent;
};

class Watcher : public CtlWndProcComponent {
  Q_OBJECT
 public:
  using CtlWndProcComponent::CtlWndProcComponent;
  int paints = 0, resizes = 0, main_events = 0;
  bool HookAppProc(QObject*, QEvent*) override {
    ++main_events;
    return false;
  }
  bool WndProc(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    if (e->type() == QEvent::Resize) ++resizes;
    return false;
  }
};

// The main window's layout: the MDI area inside a plain central widget, beside another panel.
struct MainLayout {
  QMainWindow window;
  QMdiArea* area;
  MainLayout() {
    auto* central = new QWidget;
    auto* row = new QHBoxLayout(central);
    row->addWidget(new QWidget);
    area = new QMdiArea;
    row->addWidget(area);
    window.setCentralWidget(central);
    window.resize(400, 300);
  }
};

}  // namespace

TEST(OneInstance, OwnersAndSecondInstances) {
  QWidget form;
  auto* child = new QWidget(&form);
  QObject module;
  EXPECT_TRUE(IsInvalidInstance(child, OnePerForm::staticMetaObject, false));
  EXPECT_FALSE(IsInvalidInstance(&module, OnePerForm::staticMetaObject, true));
  EXPECT_TRUE(IsInvalidInstance(&module, OnePerForm::staticMetaObject, false));

  new OnePerForm(&form);
  EXPECT_FALSE(IsInvalidInstance(&form, OnePerForm::staticMetaObject, false));
  try {
    new OnePerForm(&form);
    FAIL() << "second instance accepted";
  } catch (const CtlEOneInstError& e) {
    EXPECT_STREQ(e.what(), "TOnePerForm:\rInvalid owner (<>TForm) or second instance on a form");
  }
  EXPECT_FALSE(IsInvalidInstance(&form, OnePerForm::staticMetaObject, false));  // the refused one is gone
  EXPECT_THROW(OnePerForm{child}, CtlEOneInstError);

  new Counted(&form);
  EXPECT_FALSE(IsInvalidInstance(&form, Counted::staticMetaObject, false));
  new Counted(&form);
  EXPECT_TRUE(IsInvalidInstance(&form, Counted::staticMetaObject, false));

  // The widget of an MDI sub-window is a form.
  QMdiArea area;
  auto* sub = new QMdiSubWindow;
  auto* inner = new QWidget;
  sub->setWidget(inner);
  area.addSubWindow(sub);
  EXPECT_TRUE(IsForm(inner));
  EXPECT_FALSE(IsForm(sub));
}

TEST(WndProcComponent, MdiMainFormWatchesTheAreaViewport) {
  MainLayout main;
  auto* watcher = new Watcher(&main.window);
  EXPECT_FALSE(watcher->Hooked());
  watcher->Loaded();
  ASSERT_TRUE(watcher->Hooked());
  EXPECT_EQ(watcher->FormKind(), fkMdiMain);
  EXPECT_EQ(watcher->HookedWidget(), main.area->viewport());

  main.window.show();
  QCoreApplication::processEvents();
  main.window.resize(420, 320);
  QCoreApplication::processEvents();
  main.area->viewport()->repaint();
  EXPECT_GT(watcher->paints, 0);
  EXPECT_GT(watcher->resizes, 0);

  watcher->SetEnabled(false);
  EXPECT_FALSE(watcher->Hooked());
  const int paints = watcher->paints, resizes = watcher->resizes;
  main.window.resize(440, 340);
  QCoreApplication::processEvents();
  main.area->viewport()->repaint();
  EXPECT_EQ(watcher->paints, paints);
  EXPECT_EQ(watcher->resizes, resizes);

  watcher->SetEnabled(true);
  EXPECT_TRUE(watcher->Hooked());
}

TEST(WndProcComponent, FormKindsAndDestructionInEitherOrder) {
  {
    QWidget plain;
    Watcher w(&plain);
    w.Loaded();
    EXPECT_EQ(w.FormKind(), fkNormal);
    EXPECT_EQ(w.HookedWidget(), &plain);
  }
  {
    QMdiArea area;
    auto* inner = new QWidget;
    area.addSubWindow(inner);
    Watcher w(inner);
    w.Loaded();
    EXPECT_EQ(w.FormKind(), fkMdiChild);
  }
  {
    // The window goes first and takes the component with it.
    auto* main = new MainLayout;
    QPointer<Watcher> w = new Watcher(&main->window);
    w->Loaded();
    delete main;
    EXPECT_TRUE(w.isNull());
  }
  {
    // A component whose form is not its owner any more outlives it.
    auto* main = new MainLayout;
    Watcher w(&main->window);
    w.Loaded();
    w.setParent(nullptr);
    delete main;
    EXPECT_FALSE(w.Hooked());
    w.SetEnabled(false);
  }
  QWidget child_owner;
  Watcher none(new QWidget(&child_owner));
  none.Loaded();
  EXPECT_FALSE(none.Hooked());
}

TEST(WndProcComponent, HooksTheMainWindowWhenAsked) {
  MainLayout main;
  QWidget dialog;
  Watcher w(&dialog);
  w.SetHookMainWindow(true);
  w.Loaded();
  QEvent ping(QEvent::User);
  QCoreApplication::sendEvent(&main.window, &ping);
  EXPECT_EQ(w.main_events, 1);
  const int seen = w.main_events;
  w.SetEnabled(false);
  QCoreApplication::sendEvent(&main.window, &ping);
  EXPECT_EQ(w.main_events, seen);
}

#include "formcomponent_test.moc"
