#include "controls/button.h"

#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QToolTip>
#include <algorithm>

#include "controls/actionlink.h"

CtlButton::CtlButton(QWidget* parent) : QPushButton(parent), repeat_([this] { RepeatTick(); }) {
  glyph_.OnChange = [this] { update(); };
  layout_.OnChange = [this](CtlObject*) { update(); };
  font_fx_.OnChange = [this](CtlObject*) { update(); };
  resize(75, 25);
  // Queued, so that every slot of `clicked` has run before the dialog ends.
  connect(this, &QPushButton::clicked, this, &CtlButton::Clicked, Qt::QueuedConnection);
  connect(this, &QPushButton::clicked, this, [this] {
    if (action_link_) action_link_->Clicked();
  });
}

CtlButton::~CtlButton() {
  if (form_) form_->removeEventFilter(this);
  action_link_.reset();
  glyph_.OnChange = nullptr;
  layout_.OnChange = nullptr;
  font_fx_.OnChange = nullptr;
}

void CtlButton::SetGlyph(const QImage& strip) {
  list_ = nullptr;
  glyph_.SetGlyph(strip);
}

QAction* CtlButton::Action() const { return action_link_ ? action_link_->Action() : nullptr; }

void CtlButton::SetAction(QAction* action) {
  if (action == Action()) return;
  action_link_.reset();
  if (action) action_link_ = std::make_unique<CtlPushActionLink>(this, action);
}

void CtlButton::SetImageList(const CtlCustomImageList* list, int list_index, int image_index) {
  list_ = list;
  if (list_index >= 0) list_index_ = list_index;
  if (image_index >= 0) image_index_ = image_index;
  glyph_.SetGlyph(list_ && list_->IsValidImage(list_index_, image_index_) ? list_->GetImage(list_index_, image_index_)
                                                                      : QImage());
}

void CtlButton::SetColor(CtlColor c) {
  if (c == color_) return;
  parent_color_.Clear();
  StoreColor(c);
}

void CtlButton::StoreColor(CtlColor c) { if (CtlStore(color_, c)) update(); }

void CtlButton::SetStyle(CtlNormalButtonStyle s) { if (CtlStore(style_, s)) update(); }

void CtlButton::SetButtonLayout(const CtlButtonLayout& layout) { layout_.Assign(layout); }

void CtlButton::SetFontFx(const CtlFxCaption& fx) { font_fx_.Assign(fx); }

void CtlButton::SetMultiLine(bool multi) { if (CtlStore(multi_line_, multi)) update(); }

void CtlButton::SetCancel(bool cancel) {
  if (!CtlStore(cancel_, cancel)) return;
  WatchForm();
}

// A window-wide Escape shortcut would not do: the shortcut map counts a
// dropped list as part of the form, and the shortcut went off before the list
// saw the key, ending the dialog. The key reaching the form comes after the
// control with the focus (or the list's own window) has had it.
void CtlButton::WatchForm() {
  QWidget* form = cancel_ ? window() : nullptr;
  if (form == form_) return;
  if (form_) form_->removeEventFilter(this);
  form_ = form;
  if (form_) form_->installEventFilter(this);
}

bool CtlButton::eventFilter(QObject* watched, QEvent* e) {
  if (watched == form_ && e->type() == QEvent::KeyPress && isVisible()) {
    const auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Escape && (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      // Before the dialog's own Escape, which would reject with no result of ours.
      if (isEnabled()) click();
      return true;
    }
  }
  return QPushButton::eventFilter(watched, e);
}

int CtlButton::FaceState() const {
  if (!isEnabled()) return 1;
  return isDown() ? 4 : 0;
}

unsigned CtlButton::FaceFlags() const { return 1u | (hasFocus() ? 2u : 0u) | (isDefault() ? 0x20u : 0u); }

void CtlButton::Clicked() {
  if (menu_) {
    DropMenu();
    return;
  }
  if (modal_result_ == 0) return;
  if (auto* d = qobject_cast<QDialog*>(window())) d->done(modal_result_);
}

void CtlButton::DropMenu() {
  QPointer<CtlButton> self(this);
  if (!isDefault()) setFocus(Qt::OtherFocusReason);
  setDown(true);
  emit dropDown();
  if (!self || !menu_) return;
  const QPoint at = drop_down_right_ ? mapToGlobal(QPoint(width(), drop_down_indent_))
                                     : mapToGlobal(QPoint(drop_down_indent_, height()));
  menu_->exec(at);
  if (self) setDown(false);
}

void CtlButton::mousePressEvent(QMouseEvent* e) {
  QPushButton::mousePressEvent(e);
  if (e->button() != Qt::LeftButton || !repeated_click_ || !isDown()) return;
  repeat_interval_set_ = false;
  repeat_.Start(repeating_delay_);
}

void CtlButton::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) repeat_.Stop();
  QPushButton::mouseReleaseEvent(e);
}

// A double click counts as another press.
void CtlButton::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void CtlButton::RepeatTick() {
  if (!isDown()) return;  // the pointer is off the button
  if (!repeat_interval_set_) {
    repeat_interval_set_ = true;
    repeat_.SetInterval(repeating_interval_);
  }
  emit clicked();
}

void CtlButton::enterEvent(QEnterEvent* e) {
  QPushButton::enterEvent(e);
  emit mouseEntered();
}

void CtlButton::leaveEvent(QEvent* e) {
  QPushButton::leaveEvent(e);
  if (hide_hint_) QToolTip::hideText();
  emit mouseExited();
}

bool CtlButton::event(QEvent* e) {
  // The button, or a panel under it, may be placed into its form after SetCancel.
  if (e->type() == QEvent::ParentChange || e->type() == QEvent::Show) WatchForm();
  const bool done = QPushButton::event(e);
  parent_color_.Event(*e);
  // Becoming the default button, or ceasing to be, changes the face.
  if (isDefault() != was_default_) {
    was_default_ = isDefault();
    update();
  }
  return done;
}

void CtlButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  const int state = FaceState();
  const QRect r =
      DrawButtonFace(p, false, rect(), color_, FaceFlags(), state, static_cast<CtlUserButtonStyle>(style_));
  const QImage g = glyph_.StateImage(state);
  const QString caption = text();
  p.setFont(font());
  const int flags = Qt::TextShowMnemonic | (multi_line_ ? Qt::TextWordWrap : Qt::TextSingleLine);
  const unsigned etat = (isEnabled() ? glEnabled : 0) | fxAuto3d | glNoShift;
  DrawGlyphTextLayout(p, caption, &font_fx_, layout_.Values(), &g, nullptr, clNone, etat, flags, g.rect(), r,
                      ColorToRgb(clBtnText));
}
