#include "controls/formshadow.h"

#include <QBitmap>
#include <QEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QPainter>

#include "controls/ctlerror.h"

CtlShadowStrip::CtlShadowStrip(QWidget* owner, const CtlShadow* shadow)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint),
      shadow_(shadow) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

void CtlShadowStrip::Reshape() {
  if (shadow_->Style() != hssTracing || width() <= 0 || height() <= 0) {
    clearMask();
    return;
  }
  // Every second pixel in the shadow colour, the screen below showing through the others.
  QBitmap mask(size());
  mask.fill(Qt::color0);
  QPainter p(&mask);
  p.setPen(Qt::color1);
  QPoint origin = mapToGlobal(QPoint(0, 0));
  for (int y = 0; y < height(); ++y)
    for (int x = 0; x < width(); ++x)
      if (((x + origin.x() + y + origin.y()) & 1) != 0) p.drawPoint(x, y);
  p.end();
  setMask(mask);
}

void CtlShadowStrip::resizeEvent(QResizeEvent*) { Reshape(); }

void CtlShadowStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ColorToRgb(shadow_->Color()));
}

namespace {
QString& ForcedPlatform() {
  static QString name;
  return name;
}
}  // namespace

QString CtlFormShadow::PlatformName() {
  return ForcedPlatform().isEmpty() ? QGuiApplication::platformName() : ForcedPlatform();
}

void CtlFormShadow::SetPlatformNameForTest(const QString& name) { ForcedPlatform() = name; }

CtlFormShadow::CtlFormShadow(QWidget* form) : CtlWndProcComponent(form), form_(form) {
  CheckOneInstance(form, staticMetaObject, "TCtlFormShadow", false);
  if (form && qobject_cast<QMdiSubWindow*>(form->parentWidget()))
    throw CtlEOneInstError("TCtlFormShadow:\rInvalid owner (<>TForm) or second instance on a form");
  shadow_.OnChange = [this](CtlObject*) { ShadowChanged(); };
  Init();
}

CtlFormShadow::~CtlFormShadow() {
  shadow_.OnChange = nullptr;
  Done();
}

void CtlFormShadow::Init() {
  CtlWndProcComponent::Init();
  if (!Hooked() || !form_ || right_) return;
  right_ = new CtlShadowStrip(form_, &shadow_);
  bottom_ = new CtlShadowStrip(form_, &shadow_);
  Reposition();
}

void CtlFormShadow::Done() {
  CtlWndProcComponent::Done();
  delete right_;
  delete bottom_;
}

QRect CtlFormShadow::RightStrip(const QRect& f, int d) {
  int R = f.left() + f.width(), T = f.top(), B = f.top() + f.height();
  return QRect(R, T + d, d, B - T - d);
}

QRect CtlFormShadow::BottomStrip(const QRect& f, int d) {
  int L = f.left(), R = f.left() + f.width(), B = f.top() + f.height();
  return QRect(L + d, B, R - L, d);
}

bool CtlFormShadow::FormActive() const { return form_ && form_->isActiveWindow(); }

bool CtlFormShadow::Allowed() const {
  if (!form_ || !form_->isVisible()) return false;
  if (form_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) return false;
  return FormActive() || FormKind() == fkMdiMain;
}

void CtlFormShadow::Hide() {
  if (right_) right_->hide();
  if (bottom_) bottom_->hide();
}

void CtlFormShadow::Show() {
  if (!right_ || !bottom_ || shadow_.Style() == hssNone || PlatformName() == "wayland") return Hide();
  right_->show();
  bottom_->show();
}

void CtlFormShadow::Reposition() {
  if (!form_ || !right_ || !bottom_) return;
  const QRect frame = form_->frameGeometry();
  right_->setGeometry(RightStrip(frame, shadow_.Depth()));
  bottom_->setGeometry(BottomStrip(frame, shadow_.Depth()));
  right_->Reshape();
  bottom_->Reshape();
  if (Allowed()) Show();
  else Hide();
}

void CtlFormShadow::ShadowChanged() {
  Reposition();
  if (right_) right_->update();
  if (bottom_) bottom_->update();
}

bool CtlFormShadow::WndProc(QObject*, QEvent* e) {
  switch (e->type()) {
    case QEvent::WindowActivate:
    case QEvent::Show:
    case QEvent::Resize: Reposition(); break;
    case QEvent::Move:
      Hide();
      Reposition();
      break;
    case QEvent::WindowStateChange:
      if (form_ && (form_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) Hide();
      else Reposition();
      break;
    case QEvent::Hide:
    case QEvent::Close: Hide(); break;
    case QEvent::WindowDeactivate:
      if (!ShowInActive) Hide();
      break;
    default: break;
  }
  return false;
}
