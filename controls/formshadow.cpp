#include "controls/formshadow.h"

#include <QBitmap>
#include <QEvent>
#include <QPainter>

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

CtlFormShadow::CtlFormShadow(QWidget* form) : QObject(form), form_(form) {
  right_ = new CtlShadowStrip(form, &shadow_);
  bottom_ = new CtlShadowStrip(form, &shadow_);
  form->installEventFilter(this);
  Reposition();
}

CtlFormShadow::~CtlFormShadow() {
  if (form_) form_->removeEventFilter(this);
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

bool CtlFormShadow::Allowed() const {
  if (!form_ || !form_->isVisible()) return false;
  if (form_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) return false;
  return form_->isActiveWindow() || ShowInActive;
}

void CtlFormShadow::Hide() {
  if (right_) right_->hide();
  if (bottom_) bottom_->hide();
}

void CtlFormShadow::Show() {
  if (!right_ || !bottom_ || shadow_.Style() == hssNone) return;
  right_->show();
  bottom_->show();
}

void CtlFormShadow::Reposition() {
  if (!form_ || !right_ || !bottom_) return;
  QRect frame = form_->frameGeometry();
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

bool CtlFormShadow::eventFilter(QObject* o, QEvent* e) {
  if (o != form_) return false;
  switch (e->type()) {
    case QEvent::Move:
      Hide();
      Reposition();
      break;
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowStateChange: Reposition(); break;
    case QEvent::Hide:
    case QEvent::Close: Hide(); break;
    case QEvent::WindowDeactivate:
      if (!ShowInActive) Hide();
      break;
    case QEvent::WindowActivate:
      if (Allowed()) Show();
      break;
    default: break;
  }
  return false;
}
