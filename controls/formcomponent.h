// Components tied to their owner form: the one-instance check, and the
// event-filter base that watches the form's window (or, on an MDI main form,
// the viewport of its MDI area) where the platform would subclass the window
// procedure.
//
// A form is a top-level QWidget or the widget of a QMdiSubWindow; a data
// module is an owner object that is not a widget.
#pragma once

#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include "controls/ctlobject.h"

bool IsForm(const QObject* owner);
bool IsDataModule(const QObject* owner);
// True when the owner is not a form (nor, when allowed, a data module), or
// already holds two or more components of the class (the asking one included).
bool IsInvalidInstance(const QObject* owner, const QMetaObject& cls, bool allow_data_module);
// Raises CtlEOneInstError "<class_name>:\rInvalid owner (<>TForm) or second
// instance on a form" when IsInvalidInstance answers true. Components that
// allow one instance per form call it in their constructors.
void CheckOneInstance(const QObject* owner, const QMetaObject& cls, const char* class_name, bool allow_data_module);

enum CtlFormKind { fkNormal = 0, fkMdiChild = 1, fkMdiMain = 2 };

class CtlWndProcComponent : public CtlComponent {
  Q_OBJECT
 public:
  explicit CtlWndProcComponent(QObject* owner);
  ~CtlWndProcComponent() override;

  bool Enabled() const { return enabled_; }
  // A change hooks (Init) or unhooks (Done).
  void SetEnabled(bool value);
  // Also watch the application's main window (through HookAppProc).
  bool HookMainWindow() const { return hook_main_; }
  void SetHookMainWindow(bool value) { hook_main_ = value; }
  bool Hooked() const { return hooked_; }
  // The widget whose events WndProc sees, while hooked.
  QWidget* HookedWidget() const { return target_; }
  CtlFormKind FormKind() const { return kind_; }
  QWidget* OwnerForm() const;

  // Call once the owner form is built: hooks when enabled.
  void Loaded() { Init(); }

  // Events of the application's main window; true means handled (stopped).
  virtual bool HookAppProc(QObject* watched, QEvent* event);
  // Hooks when enabled and not yet hooked.
  virtual void Init();
  virtual void Done();
  // Events of the hooked widget; true means handled (stopped).
  virtual bool WndProc(QObject* watched, QEvent* event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool Hook();
  void Unhook();

 private:
  bool enabled_ = true;
  bool hook_main_ = false;
  bool hooked_ = false;
  CtlFormKind kind_ = fkNormal;
  QPointer<QWidget> target_;
  QPointer<QWidget> main_;
};
