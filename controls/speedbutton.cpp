#include "controls/speedbutton.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

CtlSpeedButton::CtlSpeedButton(QWidget* parent) : QWidget(parent) {
  resize(23, 22);
  hover_.setInterval(100);
  connect(&hover_, &QTimer::timeout, this, &CtlSpeedButton::HoverCheck);
  setMouseTracking(true);
  setAttribute(Qt::WA_Hover, false);
}

int CtlSpeedButton::StyleBorderWidth() const {
  switch (style_) {
    case ubsWin31: return 3;
    case ubsAutoDetect:
    case ubsWin40:
    case ubsTarnel:
    case ubsTarnelFlat:
    case ubsNavigator:
    case ubsIntegrated: return 2;
    default: return 1;
  }
}

void CtlSpeedButton::SetStyle(CtlUserButtonStyle style) {
  if (style == style_) return;
  style_ = style;
  bool explorer = style == ubsExplorer || style == ubsExplorerColored;
  // Explorer styles paint over the parent's background.
  setAttribute(Qt::WA_OpaquePaintEvent, !explorer);
  setAutoFillBackground(false);
  update();
}

void CtlSpeedButton::SetColor(CtlColor c) {
  if (c == color_) return;
  color_ = c;
  update();
}

void CtlSpeedButton::SetImageList(const CtlImageList* list, int list_index, int image_index) {
  list_ = list;
  if (list_index >= 0) list_index_ = list_index;
  if (image_index >= 0) image_index_ = image_index;
  glyph_.SetGlyph(list_ && list_->HasEntry(list_index_, image_index_) ? list_->Picture(list_index_, image_index_) : QImage());
  update();
}

void CtlSpeedButton::SetGlyph(const QImage& glyph) {
  list_ = nullptr;
  glyph_.SetGlyph(glyph);
  update();
}

void CtlSpeedButton::SetState(int state) {
  if (state == state_) return;
  previous_ = (state == bsHot && state_ != bsPressed) ? bsUp : state_;
  state_ = state;
  update();
  if (allow_mouse_over_) {
    if (state != bsHot) hover_.stop();
    else if (!pressed_) hover_.start();
  }
}

void CtlSpeedButton::Broadcast() {
  if (!parentWidget() || group_ == 0) return;
  for (auto* b : parentWidget()->findChildren<CtlSpeedButton*>(Qt::FindDirectChildrenOnly))
    if (b != this) b->ButtonPressedNotice(group_, this);
}

void CtlSpeedButton::ButtonPressedNotice(int group, CtlSpeedButton* sender) {
  if (group != group_ || sender == this) return;
  if (sender->pressed_ && pressed_) {
    pressed_ = false;
    state_ = isEnabled() ? bsUp : bsDisabled;
    update();
  }
  allow_all_up_ = sender->allow_all_up_;
}

void CtlSpeedButton::SetPressed(bool value) {
  if (group_ == 0) value = false;
  if (value == pressed_) return;
  if (pressed_ && !allow_all_up_) return;
  pressed_ = value;
  if (value) {
    state_ = isEnabled() ? bsPressed : bsDisabledPressed;
    update();
    Broadcast();
  } else {
    state_ = isEnabled() ? bsUp : bsDisabled;
    update();
  }
}

void CtlSpeedButton::SetGroupIndex(int group) {
  if (group == group_) return;
  group_ = group;
  Broadcast();
}

void CtlSpeedButton::SetAllowAllUp(bool allow) {
  if (allow == allow_all_up_) return;
  allow_all_up_ = allow;
  Broadcast();
}

bool CtlSpeedButton::PointerInside() const { return rect().contains(mapFromGlobal(QCursor::pos())); }

void CtlSpeedButton::HoverCheck() {
  if (!isEnabled() || PointerInside()) return;
  mouse_over_ = false;
  if (state_ == bsHot) SetState(pressed_ ? bsPressed : bsUp);
  hover_.stop();
}

void CtlSpeedButton::enterEvent(QEnterEvent*) {
  if (state_ == bsUp && isEnabled() && allow_mouse_over_) {
    mouse_over_ = true;
    SetState(bsHot);
  }
}

void CtlSpeedButton::leaveEvent(QEvent*) {
  if (state_ == bsHot) SetState(previous_);
  mouse_over_ = false;
  update();
  if (hide_hint_) QToolTip::hideText();
}

void CtlSpeedButton::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !isEnabled()) return;
  captured_ = true;
  if (pressed_) SetState(bsPressed);
  else SetState(bsHeld);
}

void CtlSpeedButton::mouseMoveEvent(QMouseEvent* e) {
  bool inside = rect().contains(e->position().toPoint());
  if (captured_) {
    if (inside) SetState(pressed_ ? bsPressed : bsHeld);
    else if (group_ == 0 || state_ == bsHeld) SetState(pressed_ ? bsPressed : bsUp);
    return;
  }
  if (inside && state_ == bsUp && isEnabled() && allow_mouse_over_) {
    mouse_over_ = true;
    SetState(bsHot);
  }
}

void CtlSpeedButton::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !captured_) return;
  captured_ = false;
  bool inside = rect().contains(e->position().toPoint());
  if (!inside) {
    SetState(pressed_ ? bsPressed : bsUp);
    return;
  }
  if (group_ != 0) {
    if (!(pressed_ && !allow_all_up_)) {
      bool now = !pressed_;
      pressed_ = now;
      state_ = now ? bsPressed : bsUp;
      if (now) Broadcast();
      update();
    } else {
      SetState(bsPressed);
    }
  } else {
    SetState(allow_mouse_over_ ? bsHot : bsUp);
  }
  emit clicked();
  MatchPointer();
}

void CtlSpeedButton::MatchPointer() {
  bool inside = PointerInside();
  if (!pressed_ && isEnabled()) {
    if (inside && allow_mouse_over_) {
      mouse_over_ = true;
      SetState(bsHot);
    } else if (!inside) {
      mouse_over_ = false;
      SetState(bsUp);
    }
  }
}

void CtlSpeedButton::mouseDoubleClickEvent(QMouseEvent* e) {
  if (pressed_) return;
  mousePressEvent(e);
}

void CtlSpeedButton::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange) {
    if (isEnabled()) state_ = pressed_ ? bsPressed : bsUp;
    else {
      state_ = pressed_ ? bsDisabledPressed : bsDisabled;
      mouse_over_ = false;
      hover_.stop();
    }
    update();
  }
  QWidget::changeEvent(e);
}

void CtlSpeedButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  DrawButtonFace(p, mouse_over_ && state_ == bsHot, rect(), color_, 5, state_, style_);
  int b = StyleBorderWidth();
  QRect area = rect().adjusted(b, b, -b, -b);
  if (state_ == bsPressed || state_ == bsHeld || state_ == bsDropDown) area.translate(1, 1);
  QImage img = glyph_.StateImage(isEnabled() ? state_ : bsDisabled);
  if (!img.isNull()) p.drawImage(AlignRect(agCenter, img.size(), area).topLeft(), img);
}
