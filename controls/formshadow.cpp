// The form shadow: its strip windows, the rules that show and hide them as
// the form's window moves, sizes, activates and is dragged, and the margin
// drawn in the form's own window under Wayland.
#include "controls/formshadow.h"

#include <QBitmap>
#include <QEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "controls/ctlerror.h"
#include "controls/windowhook.h"

// ---- Painting ----

namespace {
// The pixels whose screen coordinates add up to an odd number.
void PaintTraced(QPainter& p, const QRect& r, const QColor& colour, QPoint origin) {
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left() + ((r.left() + origin.x() + y + origin.y() + 1) & 1); x <= r.right(); x += 2)
      p.fillRect(x, y, 1, 1, colour);
}
}  // namespace

void PaintShadow(QPainter& p, const QRect& r, const CtlShadow& shadow, QPoint origin) {
  const QColor colour = ColorToRgb(shadow.Color());
  if (shadow.Style() == hssTracing) PaintTraced(p, r, colour, origin);
  else p.fillRect(r, colour);
}

CtlShadowStrip::CtlShadowStrip(QWidget* owner, const CtlShadow* shadow)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint),
      shadow_(shadow) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

void CtlShadowStrip::Reshape(QPoint origin) {
  if (shadow_->Style() != hssTracing || width() <= 0 || height() <= 0) {
    clearMask();
    return;
  }
  // Every second pixel in the shadow colour, the screen below showing through
  // the others: the pixels of PaintTraced, set as bits (a painter would fill
  // them one by one).
  QImage bits(size(), QImage::Format_MonoLSB);
  bits.setColorCount(2);
  bits.setColor(0, QColor(Qt::color0).rgb());
  bits.setColor(1, QColor(Qt::color1).rgb());
  bits.fill(0);
  for (int y = 0; y < bits.height(); ++y) {
    uchar* line = bits.scanLine(y);
    for (int x = (origin.x() + y + origin.y() + 1) & 1; x < bits.width(); x += 2)
      line[x >> 3] = static_cast<uchar>(line[x >> 3] | (1u << (x & 7)));
  }
  setMask(QBitmap::fromImage(bits));
}

void CtlShadowStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), ColorToRgb(shadow_->Color()));
}

// ---- The component ----

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
  hook_ = new TRxWindowHook(this);
  hook_->SetActive(false);
  hook_->BeforeMessage = [this](TRxWindowHook*, QEvent* e, bool&) { Before(e); };
  hook_->AfterMessage = [this](TRxWindowHook*, QEvent* e, bool&) { After(e); };
  Init();
}

CtlFormShadow::~CtlFormShadow() {
  shadow_.OnChange = nullptr;
  Done();
}

void CtlFormShadow::Init() {
  CtlWndProcComponent::Init();
  if (!Hooked() || !form_ || right_ || margin_) return;
  hook_->SetWinControl(form_);
  hook_->SetActive(true);
  if (PlatformName() == "wayland") {
    OpenMargin();
  } else {
    right_ = new CtlShadowStrip(form_, &shadow_);
    bottom_ = new CtlShadowStrip(form_, &shadow_);
  }
  Reposition();
}

void CtlFormShadow::Done() {
  CtlWndProcComponent::Done();
  if (hook_) hook_->SetActive(false);
  CloseMargin();
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

bool CtlFormShadow::FormActive() const {
  if (!form_) return false;
  // The native window's own state: the widget's follows only after the activation events.
  const QWindow* w = form_->windowHandle();
  return w ? w->isActive() : form_->isActiveWindow();
}

bool CtlFormShadow::Allowed() const {
  if (!form_ || !form_->isVisible()) return false;
  if (form_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) return false;
  return FormActive() || FormKind() == fkMdiMain;
}

bool CtlFormShadow::Shown() const {
  if (margin_) return margin_shown_;
  return right_ && bottom_ && right_->isVisible() && bottom_->isVisible();
}

void CtlFormShadow::Hide() {
  if (margin_) {
    if (margin_shown_) {
      margin_shown_ = false;
      PaintMargin();
    }
    return;
  }
  if (right_) right_->hide();
  if (bottom_) bottom_->hide();
}

void CtlFormShadow::Show() {
  // While the form is dragged by its title bar the shadow stays away.
  if (dragging_ || shadow_.Style() == hssNone) return Hide();
  if (margin_) {
    if (!margin_shown_) {
      margin_shown_ = true;
      PaintMargin();
    }
    return;
  }
  if (!right_ || !bottom_) return;
  right_->show();
  bottom_->show();
  // A strip shown again after it was hidden must paint itself anew: its
  // window keeps no picture of its own, and the mask alone lets the old
  // screen through where nothing is painted.
  right_->update();
  bottom_->update();
}

void CtlFormShadow::Reposition() {
  if (!form_) return;
  // A hidden form's strips wait for its showing: its place is not known yet.
  if (!margin_ && right_ && bottom_ && form_->isVisible()) {
    const QRect frame = form_->frameGeometry();
    const QRect r = RightStrip(frame, shadow_.Depth()), b = BottomStrip(frame, shadow_.Depth());
    // The mask's checks follow the place asked for, not the one the window reports later.
    if (right_->geometry() != r || !right_->mask().isEmpty() != (shadow_.Style() == hssTracing)) {
      right_->setGeometry(r);
      right_->Reshape(r.topLeft());
    }
    if (bottom_->geometry() != b || !bottom_->mask().isEmpty() != (shadow_.Style() == hssTracing)) {
      bottom_->setGeometry(b);
      bottom_->Reshape(b.topLeft());
    }
  }
  if (Allowed()) Show();
  else Hide();
}

void CtlFormShadow::ShadowChanged() {
  if (margin_) {
    CloseMargin();
    OpenMargin();
  }
  Reposition();
  if (right_) right_->update();
  if (bottom_) bottom_->update();
}

void CtlFormShadow::EndDrag() {
  dragging_ = false;
  Reposition();
}

// Before the form's window: a press on its title bar starts a drag; the
// first pointer event after it (the button let go) ends it.
void CtlFormShadow::Before(QEvent* e) {
  switch (e->type()) {
    case QEvent::NonClientAreaMouseButtonPress:
      if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        Hide();
        dragging_ = true;
      }
      break;
    default: break;
  }
}

void CtlFormShadow::After(QEvent* e) {
  switch (e->type()) {
    case QEvent::NonClientAreaMouseMove:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::Enter:
      if (dragging_) EndDrag();
      break;
    case QEvent::MouseMove:
      // While the program moves the form itself, moves with the button held belong to the drag.
      if (dragging_ && static_cast<QMouseEvent*>(e)->buttons() == Qt::NoButton) EndDrag();
      break;
    case QEvent::FocusIn:
    case QEvent::Show:
    case QEvent::Resize: Reposition(); break;
    case QEvent::FocusOut:
      if (!ShowInActive) Hide();
      break;
    case QEvent::Move:
      Hide();
      Reposition();
      break;
    case QEvent::WindowStateChange:
      if (form_ && (form_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) Hide();
      else Reposition();
      break;
    case QEvent::Hide:
    case QEvent::Close:
    case QEvent::PlatformSurface: Hide(); break;
    default: break;
  }
}

// The form's widget itself: only the margin's painting, under Wayland.
bool CtlFormShadow::WndProc(QObject*, QEvent* e) {
  if (margin_ && e->type() == QEvent::Paint && form_) {
    QPainter p(form_);
    const QRect inner = form_->rect().adjusted(0, 0, -margin_, -margin_);
    p.fillRect(inner, form_->palette().brush(form_->backgroundRole()));
    if (margin_shown_) {
      PaintShadow(p, RightStrip(inner, margin_), shadow_, QPoint());
      PaintShadow(p, BottomStrip(inner, margin_), shadow_, QPoint());
    }
  }
  return false;
}

// ---- The margin (Wayland) ----

// The form's window grows by the shadow's depth to the right and below; that
// margin stays transparent but for the shadow, and the form's content keeps its place and size.
void CtlFormShadow::OpenMargin() {
  const int d = shadow_.Depth();
  if (!form_ || d <= 0) return;
  margin_ = d;
  form_->setAttribute(Qt::WA_TranslucentBackground);
  form_filled_ = form_->autoFillBackground();
  form_->setAutoFillBackground(false);
  const QMargins m = form_->contentsMargins();
  form_->setContentsMargins(m.left(), m.top(), m.right() + d, m.bottom() + d);
  const QSize grow(d, d);
  if (form_->minimumSize() == form_->maximumSize()) form_->setFixedSize(form_->maximumSize() + grow);
  else form_->resize(form_->size() + grow);
}

void CtlFormShadow::CloseMargin() {
  if (!margin_ || !form_) {
    margin_ = 0;
    return;
  }
  const int d = margin_;
  margin_ = 0;
  margin_shown_ = false;
  const QMargins m = form_->contentsMargins();
  form_->setContentsMargins(m.left(), m.top(), m.right() - d, m.bottom() - d);
  const QSize shrink(d, d);
  if (form_->minimumSize() == form_->maximumSize()) form_->setFixedSize(form_->maximumSize() - shrink);
  else form_->resize(form_->size() - shrink);
  form_->setAutoFillBackground(form_filled_);
}

void CtlFormShadow::PaintMargin() {
  if (!form_ || !margin_) return;
  const QRect inner = form_->rect().adjusted(0, 0, -margin_, -margin_);
  form_->update(RightStrip(inner, margin_));
  form_->update(BottomStrip(inner, margin_));
}
