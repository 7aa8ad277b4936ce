// Drop shadow of a form: two strip windows to the right of and below it that
// follow its moves, size changes and activation. One per form; the strips
// exist while the component is hooked. The component watches the form's
// window through a window hook, so it also sees the non-client mouse events
// of a title bar that the program draws: a drag by the title bar hides the
// shadow until the button is released.
//
// Under Wayland, where a program cannot place its own windows, the shadow is
// drawn instead in a translucent margin that the form's own window gains to
// the right and below.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "controls/formcomponent.h"
#include "controls/properties.h"

class TRxWindowHook;

class CtlShadowStrip : public QWidget {
  Q_OBJECT
 public:
  CtlShadowStrip(QWidget* owner, const CtlShadow* shadow);
  // The traced style's mask: every second pixel, by the parity of the strip's place on the screen.
  void Reshape(QPoint origin);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const CtlShadow* shadow_;
};

// Paints the shadow over `r`: solid, or every second pixel (by the parity of
// `origin` + position, so that strips side by side match) leaving the others untouched.
void PaintShadow(QPainter& p, const QRect& r, const CtlShadow& shadow, QPoint origin);

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
  // The shadow is shown: the strips, or the margin under Wayland.
  bool Shown() const;
  // A drag of the form by its title bar is under way.
  bool Dragging() const { return dragging_; }
  // The shadow is drawn in the form's own translucent margin (Wayland).
  bool InMargin() const { return margin_ > 0; }
  // Places the strips beside the frame, shown only when allowed.
  void Reposition();

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
  void Before(QEvent* e);
  void After(QEvent* e);
  void EndDrag();
  void OpenMargin();
  void CloseMargin();
  void PaintMargin();
  QPointer<QWidget> form_;
  CtlShadow shadow_;
  QPointer<CtlShadowStrip> right_, bottom_;
  TRxWindowHook* hook_;
  bool dragging_ = false;
  // Wayland: the margin's depth while open, whether it shows, and the form's own background fill.
  int margin_ = 0;
  bool margin_shown_ = false;
  bool form_filled_ = false;
};
