// Drop shadow of a form: two strip windows to the right of and below it that
// follow its moves, size changes and activation. One per form; the strips
// exist while the component is hooked.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "controls/formcomponent.h"
#include "controls/properties.h"

class CtlShadowStrip : public QWidget {
  Q_OBJECT
 public:
  CtlShadowStrip(QWidget* owner, const CtlShadow* shadow);
  void Reshape();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  const CtlShadow* shadow_;
};

class CtlFormShadow : public CtlWndProcComponent {
  Q_OBJECT
 public:
  // Throws CtlEOneInstError when the owner is not a form, is an MDI child or
  // already has a form shadow.
  explicit CtlFormShadow(QWidget* form);
  ~CtlFormShadow() override;

  CtlShadow& Shadow() { return shadow_; }
  void SetShadow(const CtlShadow& s) { shadow_.Assign(s); }
  // Keep the shadow when the form is deactivated (its next move hides it).
  bool ShowInActive = true;

  // Right strip and bottom strip for a form frame (left, top, right, bottom; right and bottom excluded).
  static QRect RightStrip(const QRect& frame, int depth);
  static QRect BottomStrip(const QRect& frame, int depth);
  // Visible, neither minimized nor maximized, and active (or an MDI main form).
  bool Allowed() const;
  CtlShadowStrip* Right() const { return right_; }
  CtlShadowStrip* Bottom() const { return bottom_; }
  // Places the strips beside the frame, shown only when allowed.
  void Reposition();

  // The strips are never shown on Wayland, where a program cannot place its windows.
  static QString PlatformName();
  static void SetPlatformNameForTest(const QString& name);  // empty: the real name

  void Init() override;
  void Done() override;
  bool WndProc(QObject* watched, QEvent* event) override;

 protected:
  virtual bool FormActive() const;

 private:
  void ShadowChanged();
  void Hide();
  void Show();
  QPointer<QWidget> form_;
  CtlShadow shadow_;
  QPointer<CtlShadowStrip> right_, bottom_;
};
