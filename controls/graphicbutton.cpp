#include "controls/graphicbutton.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "controls/actionlink.h"

namespace {

std::function<bool()>& ActiveTest() {
  static std::function<bool()> test;
  return test;
}

bool ApplicationActive() {
  if (ActiveTest()) return ActiveTest()();
  return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

}  // namespace

void CtlBaseGraphicButton::SetApplicationActiveTest(std::function<bool()> test) { ActiveTest() = std::move(test); }

CtlBaseGraphicButton::CtlBaseGraphicButton(QWidget* parent)
    : CtlBaseControl(parent), hover_([this] { HoverCheck(); }), repeat_([this] { RepeatTick(); }) {
  resize(25, 25);
  glyph_.OnChange = [this] { RequestRepaint(); };
  layout_.OnChange = [this](CtlObject*) { RequestRepaint(); };
  font_fx_.OnChange = [this](CtlObject*) { RequestRepaint(); };
  // Window-less: what the button does not paint shows its parent.
  setMouseTracking(true);
  connect(this, &CtlBaseGraphicButton::clicked, this, [this] {
    if (action_link_) action_link_->Clicked();
  });
}

CtlBaseGraphicButton::~CtlBaseGraphicButton() {
  action_link_.reset();
  glyph_.OnChange = nullptr;
  layout_.OnChange = nullptr;
  font_fx_.OnChange = nullptr;
  delete accelerator_.data();
}

void CtlBaseGraphicButton::RequestRepaint() { update(); }

void CtlBaseGraphicButton::SetTransparent(bool transparent) {
  if (!CtlStore(transparent_, transparent)) return;
  RequestRepaint();
}

void CtlBaseGraphicButton::SetEnterColor(CtlColor c) { if (CtlStore(enter_color_, c)) RequestRepaint(); }

void CtlBaseGraphicButton::SetEnterColorChange(bool change) {
  if (!CtlStore(enter_color_change_, change)) return;
  RequestRepaint();
}

void CtlBaseGraphicButton::SetCaption(const QString& caption) {
  if (caption == caption_ && (accelerator_ || QKeySequence::mnemonic(caption).isEmpty())) return;
  caption_ = caption;
  CtlReplaceMnemonic(accelerator_, this, caption, [this] { Accelerator(); });
  RequestRepaint();
}

void CtlBaseGraphicButton::SetButtonLayout(const CtlButtonLayout& layout) { layout_.Assign(layout); }

void CtlBaseGraphicButton::SetFontFx(const CtlFxCaption& fx) { font_fx_.Assign(fx); }

void CtlBaseGraphicButton::SetMultiLine(bool multi) { if (CtlStore(multi_line_, multi)) RequestRepaint(); }

void CtlBaseGraphicButton::SetImageList(const CtlCustomImageList* list, int list_index, int image_index) {
  SetListIndex(list_index);
  SetImageIndex(image_index);
  CtlBaseControl::SetImageList(list);
  ImageListChanged();
}

void CtlBaseGraphicButton::ImageListChanged() {
  glyph_.SetGlyph(Entry().Picture());
  RequestRepaint();
}

void CtlBaseGraphicButton::SetGlyph(const QImage& glyph) {
  CtlBaseControl::SetImageList(nullptr);
  glyph_.SetGlyph(glyph);
  RequestRepaint();
}

QAction* CtlBaseGraphicButton::Action() const { return action_link_ ? action_link_->Action() : nullptr; }

void CtlBaseGraphicButton::SetAction(QAction* action) {
  if (action == Action()) return;
  action_link_.reset();
  if (action) action_link_ = std::make_unique<CtlButtonActionLink>(this, action);
}

void CtlBaseGraphicButton::SetNumGlyphs(int n) {
  glyph_.SetNumGlyphs(n);
  RequestRepaint();
}

void CtlBaseGraphicButton::SetDropDownMenu(QMenu* menu) { menu_ = menu; }

bool CtlBaseGraphicButton::IsInside(int x, int y) const { return x >= 0 && y >= 0 && x <= width() && y <= height(); }

bool CtlBaseGraphicButton::MouseChangesDropped() const {
  if (ApplicationActive()) return false;
  QWidget* form = CtlOwnerForm(const_cast<CtlBaseGraphicButton*>(this));
  if (!form) return false;
  const bool mdi_child = !form->isWindow();
  const bool mdi_parent = form->findChild<QMdiArea*>() != nullptr;
  return mdi_child || mdi_parent;
}

void CtlBaseGraphicButton::SetState(int state, bool by_mouse) {
  const bool up_hot = (state_ == bsUp && state == bsHot) || (state_ == bsHot && state == bsUp);
  // While the program is inactive an MDI form ignores the pointer's hot tracking;
  // code's changes (Enabled, Pressed, group notices) always apply.
  if (by_mouse && up_hot && MouseChangesDropped()) return;
  if (state == state_) return;
  const int old = state_;
  previous_ = (state == bsHot && old != bsPressed) ? bsUp : old;
  state_ = state;
  bool repaint = true;
  if (up_hot)
    repaint = glyph_.NumGlyphs() >= 3 || (allow_mouse_over_ && enter_color_change_) || glyph_.Flat() || HasHotLook();
  else if ((old == bsHot && state == bsPressed) || (old == bsPressed && state == bsHot))
    repaint = glyph_.NumGlyphs() >= 3;
  if (repaint) RequestRepaint();
  if (allow_mouse_over_) {
    if (state != bsHot) hover_.Stop();
    else if (!pressed_ && !hover_.Active()) hover_.Start(100);
  }
}

void CtlBaseGraphicButton::Broadcast() {
  if (!parentWidget() || group_ == 0) return;
  for (auto* b : parentWidget()->findChildren<CtlBaseGraphicButton*>(Qt::FindDirectChildrenOnly))
    if (b != this) b->ButtonPressedNotice(group_, this);
}

void CtlBaseGraphicButton::ButtonPressedNotice(int group, CtlBaseGraphicButton* sender) {
  if (group != group_ || sender == this) return;
  if (sender->pressed_ && pressed_) {
    pressed_ = false;
    state_ = isEnabled() ? bsUp : bsDisabled;
    RequestRepaint();
    if (action_link_) action_link_->PressedChanged();
  }
  allow_all_up_ = sender->allow_all_up_;
}

void CtlBaseGraphicButton::SetPressed(bool value) {
  if (group_ == 0) value = false;
  if (value == pressed_) return;
  if (pressed_ && !allow_all_up_) return;
  pressed_ = value;
  // A disabled button stays disabled-looking: pressed shows state 7.
  if (value) {
    state_ = isEnabled() ? bsPressed : bsDisabledPressed;
    RequestRepaint();
    Broadcast();
  } else {
    state_ = isEnabled() ? bsUp : bsDisabled;
    RequestRepaint();
  }
}

void CtlBaseGraphicButton::SetGroupIndex(int group) { if (CtlStore(group_, group)) Broadcast(); }

void CtlBaseGraphicButton::SetAllowAllUp(bool allow) { if (CtlStore(allow_all_up_, allow)) Broadcast(); }

void CtlBaseGraphicButton::TogglePressed() {
  const bool now = !pressed_;
  pressed_ = now;
  state_ = now ? bsPressed : bsUp;
  if (now) Broadcast();
  RequestRepaint();
  if (action_link_) action_link_->PressedChanged();
}

bool CtlBaseGraphicButton::PointerInside() const {
  const QPoint p = mapFromGlobal(QCursor::pos());
  if (!rect().contains(p)) return false;
  return !allow_transparency_ || IsInside(p.x(), p.y());
}

void CtlBaseGraphicButton::HoverCheck() {
  if (!isEnabled() || PointerInside()) return;
  if (state_ == bsHot) SetState(pressed_ ? bsPressed : bsUp);
  if (mouse_over_) {
    mouse_over_ = false;
    if (HasHotLook()) RequestRepaint();
  }
  hover_.Stop();
}

void CtlBaseGraphicButton::PointerEnter() {
  inside_ = true;
  if (state_ == bsUp && isEnabled() && allow_mouse_over_) {
    mouse_over_ = true;
    SetState(bsHot, true);
    if (state_ != bsHot) mouse_over_ = false;
  }
  MouseEnter();
}

void CtlBaseGraphicButton::PointerLeave() {
  inside_ = false;
  if (state_ == bsHot) SetState(previous_, true);
  if (state_ != bsHot && mouse_over_) {
    mouse_over_ = false;
    if (HasHotLook()) RequestRepaint();
  }
  if (hide_hint_) QToolTip::hideText();
  MouseExit();
}

void CtlBaseGraphicButton::enterEvent(QEnterEvent* e) {
  if (!allow_transparency_) PointerEnter();
  else {
    const QPoint p = e->position().toPoint();
    if (IsInside(p.x(), p.y())) PointerEnter();
  }
}

void CtlBaseGraphicButton::leaveEvent(QEvent*) {
  if (inside_) PointerLeave();
}

void CtlBaseGraphicButton::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (e->button() != Qt::LeftButton || !isEnabled() || (allow_transparency_ && !IsInside(p.x(), p.y()))) {
    e->ignore();
    return;
  }
  if (menu_ && PressOpensMenu(p)) {
    OpenMenu();
    return;
  }
  captured_ = true;
  held_inside_ = true;
  repeat_fired_ = false;
  {
    QPointer<CtlBaseGraphicButton> self(this);
    emit pressed();
    if (!self || !captured_) return;
  }
  if (pressed_) {
    SetState(bsPressed);
    return;
  }
  SetState(bsHeld);
  if (repeated_click_) {
    repeat_fired_ = true;
    repeat_interval_set_ = false;
    repeat_.Start(repeating_delay_);
    emit clicked();
  }
}

void CtlBaseGraphicButton::RepeatTick() {
  if (!captured_) {
    repeat_.Stop();
    return;
  }
  // The first tick ends the delay; a refused interval keeps the delay's pace.
  if (!repeat_interval_set_) {
    repeat_interval_set_ = true;
    repeat_.SetInterval(repeating_interval_);
  }
  if (held_inside_) emit clicked();
}

void CtlBaseGraphicButton::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  const bool inside = rect().contains(p) && (!allow_transparency_ || IsInside(p.x(), p.y()));
  if (captured_) {
    held_inside_ = inside;
    if (inside) SetState(pressed_ ? bsPressed : bsHeld);
    else if (group_ == 0 || state_ == bsHeld) SetState(pressed_ ? bsPressed : bsUp);
    return;
  }
  if (allow_transparency_ && inside != inside_) {
    if (inside) PointerEnter();
    else PointerLeave();
  } else if (inside && state_ == bsUp && isEnabled() && allow_mouse_over_) {
    PointerEnter();
  }
}

void CtlBaseGraphicButton::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !captured_) {
    e->ignore();
    return;
  }
  captured_ = false;
  repeat_.Stop();
  {
    QPointer<CtlBaseGraphicButton> self(this);
    emit released();
    if (!self) return;
  }
  const QPoint p = e->position().toPoint();
  const bool inside = rect().contains(p) && (!allow_transparency_ || IsInside(p.x(), p.y()));
  if (!inside) {
    SetState(pressed_ ? bsPressed : bsUp);
    return;
  }
  if (group_ != 0) {
    if (!(pressed_ && !allow_all_up_)) TogglePressed();
    else SetState(bsPressed);
  } else {
    SetState(allow_mouse_over_ ? bsHot : bsUp);
  }
  if (!repeat_fired_) {
    QPointer<CtlBaseGraphicButton> self(this);
    emit clicked();
    if (!self) return;
  }
  MatchPointer();
}

void CtlBaseGraphicButton::MatchPointer() {
  if (pressed_ || !isEnabled()) return;
  const bool inside = PointerInside();
  if (inside && allow_mouse_over_) {
    // An inactive MDI program turns the re-check's hot into up.
    const bool dropped = MouseChangesDropped();
    mouse_over_ = !dropped;
    SetState(dropped ? bsUp : bsHot);
  } else if (!inside) {
    mouse_over_ = false;
    SetState(bsUp);
  }
}

void CtlBaseGraphicButton::mouseDoubleClickEvent(QMouseEvent* e) {
  if (pressed_) {
    emit dblClicked();
    return;
  }
  mousePressEvent(e);
}

void CtlBaseGraphicButton::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange) {
    if (isEnabled()) state_ = pressed_ ? bsPressed : bsUp;
    else {
      state_ = pressed_ ? bsDisabledPressed : bsDisabled;
      mouse_over_ = false;
      captured_ = false;
      hover_.Stop();
      repeat_.Stop();
    }
    RequestRepaint();
  }
  CtlBaseControl::changeEvent(e);
}

void CtlBaseGraphicButton::OpenMenu() {
  QPointer<CtlBaseGraphicButton> self(this);
  SetState(bsDropDown);
  emit dropDown();
  if (!self || !menu_) return;
  const QPoint at = drop_down_right_ ? mapToGlobal(QPoint(width(), drop_down_indent_))
                                     : mapToGlobal(QPoint(drop_down_indent_, height()));
  menu_->exec(at);
  if (!self) return;
  // The click that closed the menu never reaches the button.
  captured_ = false;
  repeat_.Stop();
  mouse_over_ = true;
  SetState(bsHot);
}

void CtlBaseGraphicButton::Accelerator() {
  if (!isEnabled() || !isVisible() || (parentWidget() && !parentWidget()->isVisible())) return;
  if (menu_) {
    OpenMenu();
    return;
  }
  if (group_ != 0) {
    if (pressed_ && !allow_all_up_) return;
    TogglePressed();
    if (allow_mouse_over_ && pressed_) emit clicked();
    return;
  }
  QPointer<CtlBaseGraphicButton> self(this);
  SetState(bsHot);
  emit clicked();
  if (!self) return;
  RequestRepaint();
  if (!PointerInside()) {
    mouse_over_ = false;
    SetState(bsUp);
  }
}

QColor CtlBaseGraphicButton::CaptionColour() const {
  if (allow_mouse_over_ && enter_color_change_ && state_ >= bsHot && state_ <= bsDropDown)
    return ColorToRgb(enter_color_);
  return ColorToRgb(clBtnText);
}

void CtlBaseGraphicButton::DrawGlyphAndCaption(QPainter& p, const QRect& area) {
  p.setFont(font());
  const int flags = Qt::TextShowMnemonic | (multi_line_ ? Qt::TextWordWrap : Qt::TextSingleLine);
  const unsigned etat = (isEnabled() ? glEnabled : 0) | fxAuto3d | glNoShift;
  glyph_.Draw(p, caption_, &font_fx_, layout_.Values(), isEnabled() ? state_ : bsDisabled, etat, flags, area,
              CaptionColour());
}
