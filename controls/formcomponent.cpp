#include "controls/formcomponent.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "controls/ctlerror.h"

bool IsForm(const QObject* owner) {
  const auto* w = qobject_cast<const QWidget*>(owner);
  if (!w) return false;
  return w->isWindow() || qobject_cast<const QMdiSubWindow*>(w->parentWidget()) != nullptr;
}

bool IsDataModule(const QObject* owner) { return owner && !owner->isWidgetType(); }

bool IsInvalidInstance(const QObject* owner, const QMetaObject& cls, bool allow_data_module) {
  if (!IsForm(owner) && !(allow_data_module && IsDataModule(owner))) return true;
  int count = 0;
  for (const QObject* child : owner->children())
    if (child->metaObject()->inherits(&cls)) ++count;
  return count >= 2;
}

void CheckOneInstance(const QObject* owner, const QMetaObject& cls, const char* class_name, bool allow_data_module) {
  if (IsInvalidInstance(owner, cls, allow_data_module))
    throw CtlEOneInstError(std::string(class_name) + ":\rInvalid owner (<>TForm) or second instance on a form");
}

CtlWndProcComponent::CtlWndProcComponent(QObject* owner) : CtlComponent(owner) {}

CtlWndProcComponent::~CtlWndProcComponent() { Unhook(); }

QWidget* CtlWndProcComponent::OwnerForm() const {
  QWidget* w = qobject_cast<QWidget*>(parent());
  return IsForm(w) ? w : nullptr;
}

void CtlWndProcComponent::SetEnabled(bool value) {
  if (!CtlStore(enabled_, value)) return;
  if (value)
    Init();
  else
    Done();
}

bool CtlWndProcComponent::HookAppProc(QObject*, QEvent*) { return false; }

void CtlWndProcComponent::Init() {
  if (enabled_ && !hooked_) Hook();
}

void CtlWndProcComponent::Done() { Unhook(); }

bool CtlWndProcComponent::WndProc(QObject*, QEvent*) { return false; }

bool CtlWndProcComponent::Hook() {
  QWidget* form = OwnerForm();
  if (!form || hooked_) return false;
  QWidget* target = form;
  kind_ = fkNormal;
  if (qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
    kind_ = fkMdiChild;
  } else if (auto* area = form->findChild<QMdiArea*>()) {
    // The MDI client window: the area's viewport, wherever the area sits in the form.
    kind_ = fkMdiMain;
    target = area->viewport();
  }
  target_ = target;
  target->installEventFilter(this);
  connect(target, &QObject::destroyed, this, &CtlWndProcComponent::Unhook, Qt::UniqueConnection);
  if (hook_main_) {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance()))
      for (QWidget* w : app->topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w)) {
          main_ = w;
          w->installEventFilter(this);
          break;
        }
  }
  hooked_ = true;
  return true;
}

void CtlWndProcComponent::Unhook() {
  if (target_) {
    target_->removeEventFilter(this);
    disconnect(target_, &QObject::destroyed, this, &CtlWndProcComponent::Unhook);
  }
  if (main_) main_->removeEventFilter(this);
  target_ = nullptr;
  main_ = nullptr;
  hooked_ = false;
}

bool CtlWndProcComponent::eventFilter(QObject* watched, QEvent* event) {
  if (!hooked_) return false;
  if (watched == target_) return WndProc(watched, event);
  if (watched == main_) return HookAppProc(watched, event);
  return false;
}
