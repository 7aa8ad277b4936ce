#include "controls/scrollbar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "controls/paintkit.h"
#include "controls/spinbutton.h"
#include "platform/arrondi.h"

namespace {

constexpr int kRepeatInterval = 100;

// The caret's side for a thumb side: 3 less, 0 for a thumb of 2 pixels or less.
int CaretSide(int thumb_side) { return thumb_side <= 2 ? 0 : thumb_side - 3; }

}  // namespace

// ---------------------------------------------------------------- thumb

CtlScrollBarThumb::CtlScrollBarThumb(QWidget* parent) : CtlCustomBevelPanel(parent) {
  Bevel().SetMode(bmStandard);
  Bevel().SetStandardStyle(lsRaised);
  SetTabStop(false);
  setFocusPolicy(Qt::NoFocus);
}

void CtlScrollBarThumb::mousePressEvent(QMouseEvent* e) {
  emit pressed(e->position().toPoint(), e->button());
  e->accept();
}

void CtlScrollBarThumb::mouseMoveEvent(QMouseEvent* e) {
  emit moved(e->position().toPoint(), e->buttons());
  e->accept();
}

void CtlScrollBarThumb::mouseReleaseEvent(QMouseEvent* e) {
  emit released(e->button());
  e->accept();
}

// ---------------------------------------------------------------- bar

CtlScrollBar::CtlScrollBar(QWidget* parent)
    : CtlCustomBevelPanel(parent), repeat_([this] { TrackPress(last_pointer_); }) {
  SetTabStop(true);
  Bevel().SetMode(bmStandard);
  Bevel().SetStandardStyle(lsSingleLowered);
  BuildPattern();
  // Each arrow button shows one arrow; its click of that arrow changes the value.
  decrease_ = new CtlArrowSpinButton(this);
  increase_ = new CtlArrowSpinButton(this);
  for (CtlArrowSpinButton* b : {decrease_, increase_}) b->setFocusPolicy(Qt::NoFocus);
  connect(decrease_, &CtlArrowSpinButton::topClicked, this, &CtlScrollBar::Decrease);
  connect(decrease_, &CtlArrowSpinButton::leftClicked, this, &CtlScrollBar::Decrease);
  connect(increase_, &CtlArrowSpinButton::bottomClicked, this, &CtlScrollBar::Increase);
  connect(increase_, &CtlArrowSpinButton::rightClicked, this, &CtlScrollBar::Increase);
  thumb_ = new CtlScrollBarThumb(this);
  caret_ = std::make_unique<CtlCaret>(thumb_);
  caret_->SetStyle(csBitmap);
  caret_->SetCaretBmpMode(cbTile);
  caret_->SetBitmap(pattern_);
  back_.SetStyle(sfBrushBitmap);
  back_.OnChange = [this](CtlObject*) { update(); };
  connect(thumb_, &CtlScrollBarThumb::pressed, this, [this](QPoint at, Qt::MouseButton button) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    if (button == Qt::LeftButton && allow_mouse_pos_) {
      dragging_ = true;
      last_drag_ = thumb_->pos() + at;
    }
  });
  connect(thumb_, &CtlScrollBarThumb::moved, this, [this](QPoint at, Qt::MouseButtons held) {
    const QPoint p = thumb_->pos() + at;
    last_pointer_ = p;
    if (held & Qt::LeftButton) Drag(p);
  });
  connect(thumb_, &CtlScrollBarThumb::released, this, [this](Qt::MouseButton button) {
    if (button == Qt::LeftButton) dragging_ = false;
    Notify(scPosition);
  });
  resize(121, 16);
  Layout();
}

CtlScrollBar::~CtlScrollBar() { back_.OnChange = nullptr; }

void CtlScrollBar::BuildPattern() {
  pattern_ = QImage(8, 8, QImage::Format_RGB32);
  const QRgb other = ColorToRgb(Color()).rgb();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern_.setPixel(x, y, (x % 2) == (y % 2) ? qRgb(255, 255, 255) : other);
}

void CtlScrollBar::ColorChanged() {
  BuildPattern();
  if (caret_) caret_->SetBitmap(pattern_);
  Layout();
}

void CtlScrollBar::SetBackStyle(CtlBackStyle s) { if (CtlStore(back_style_, s)) update(); }

void CtlScrollBar::SetKind(CtlScrollBarKind k) { if (CtlStore(kind_, k)) Layout(); }

void CtlScrollBar::SetMin(int v) {
  if (v == min_) return;
  min_ = std::min(v, max_);
  if (position_ < min_) position_ = min_;
  Layout();
}

void CtlScrollBar::SetMax(int v) {
  if (v == max_) return;
  max_ = std::max(v, min_);
  if (position_ > max_) position_ = max_;
  Layout();
}

void CtlScrollBar::SetPosition(int v) {
  if (!CtlStore(position_, v)) return;
  Clamp();
  Layout();
}

void CtlScrollBar::SetThumbLength(int v) {
  if (v == thumb_length_ || thumb_mode_ != tmFixed) return;
  thumb_length_ = v;
  Layout();
}

void CtlScrollBar::SetThumbMode(CtlThumbMode m) {
  thumb_mode_ = m;
  Layout();
}

void CtlScrollBar::SetButtonWidth(int v) { if (CtlStore(button_width_, v)) Layout(); }

void CtlScrollBar::Clamp() { position_ = std::max(std::min(position_, max_), min_); }

int CtlScrollBar::TrackLength() const {
  const QRect in = InnerRect();
  return (kind_ == skVertical ? in.height() : in.width()) - 2 * button_width_;
}

void CtlScrollBar::Layout() {
  if (in_layout_) return;
  in_layout_ = true;
  if (hasFocus()) caret_->Hide();
  const QRect in = InnerRect();
  const bool vertical = kind_ == skVertical;
  if (vertical) {
    decrease_->setGeometry(in.left(), in.top(), in.width(), button_width_);
    increase_->setGeometry(in.left(), in.bottom() + 1 - button_width_, in.width(), button_width_);
  } else {
    decrease_->setGeometry(in.left(), in.top(), button_width_, in.height());
    increase_->setGeometry(in.right() + 1 - button_width_, in.top(), button_width_, in.height());
  }
  decrease_->SetSpinButtons(vertical ? CtlSpinButtons{sbUp} : CtlSpinButtons{sbLeft});
  increase_->SetSpinButtons(vertical ? CtlSpinButtons{sbDown} : CtlSpinButtons{sbRight});
  const int T = TrackLength();
  if (thumb_mode_ == tmAuto) thumb_length_ = std::max(8, T - (max_ - min_));
  // A bar too short for its buttons and thumb counts its divisor as 1 and
  // keeps the thumb on the track.
  const int span = std::max(1, T - thumb_length_);
  double r = static_cast<double>(max_ - min_) / span;
  if (min_ >= max_ || r == 0) r = 1.0;
  const int offset = std::clamp(Round((position_ - min_) / r), 0, std::max(0, T - thumb_length_));
  if (vertical)
    thumb_->setGeometry(in.left(), in.top() + button_width_ + offset, in.width(), thumb_length_);
  else
    thumb_->setGeometry(in.left() + button_width_ + offset, in.top(), thumb_length_, in.height());
  PlaceCaret();
  update();
  in_layout_ = false;
}

void CtlScrollBar::PlaceCaret() {
  caret_->SetWidth(CaretSide(thumb_->width()));
  caret_->SetHeight(CaretSide(thumb_->height()));
  if (hasFocus() && thumb_->isVisible()) caret_->Show(QPoint(1, 1));
}

void CtlScrollBar::NotifyOnce(int code) {
  emit scrolled(code, position_);
  Clamp();
  Layout();
}

void CtlScrollBar::Notify(int code) {
  NotifyOnce(scEndScroll);
  NotifyOnce(code);
}

void CtlScrollBar::EndChecks() {
  if (position_ == min_) Notify(scTop);
  if (position_ == max_) Notify(scBottom);
}

void CtlScrollBar::Increase() {
  if (!hasFocus()) setFocus(Qt::OtherFocusReason);
  if (position_ == max_) return;
  SetPosition(position_ + small_change_);
  Notify(scLineUp);
}

void CtlScrollBar::Decrease() {
  if (!hasFocus()) setFocus(Qt::OtherFocusReason);
  if (position_ == min_) return;
  SetPosition(position_ - small_change_);
  Notify(scLineDown);
}

void CtlScrollBar::TrackPress(QPoint at) {
  const QRect t = thumb_->geometry();
  const bool vertical = kind_ == skVertical;
  const int v = vertical ? at.y() : at.x();
  const int start = vertical ? t.top() : t.left();
  const int length = vertical ? t.height() : t.width();
  if (!repeat_.Active()) repeat_.Start(kRepeatInterval);
  if (v < start) {
    SetPosition(position_ - large_change_);
    Notify(scPageDown);
  } else if (v > start + length) {
    SetPosition(position_ + large_change_);
    Notify(scPageUp);
  }
  const QRect n = thumb_->geometry();
  const int s = vertical ? n.top() : n.left();
  if (v > s && v < s + (vertical ? n.height() : n.width())) repeat_.Stop();
  EndChecks();
}

void CtlScrollBar::Drag(QPoint at) {
  if (!dragging_ || !InnerRect().contains(at)) return;
  const bool vertical = kind_ == skVertical;
  const int d = vertical ? at.y() - last_drag_.y() : at.x() - last_drag_.x();
  if (d == 0) return;
  const int T = TrackLength();
  const int step = thumb_length_ == T
                       ? 1
                       : Round(std::abs(d) * static_cast<double>(max_ - min_) / std::max(1, T - thumb_length_));
  SetPosition(d < 0 ? position_ - step : position_ + step);
  NotifyOnce(scTrack);
  last_drag_ = at;
  EndChecks();
}

void CtlScrollBar::paintEvent(QPaintEvent* e) {
  CtlCustomBevelPanel::paintEvent(e);
  if (Transparent() || back_.Style() == sfNone) return;
  QPainter p(this);
  QRect track = InnerRect();
  if (kind_ == skVertical)
    track.adjust(0, button_width_, 0, -button_width_);
  else
    track.adjust(button_width_, 0, -button_width_, 0);
  if (back_style_ == bsDefault)
    p.fillRect(track, QBrush(pattern_));
  else
    back_.FillCanvas(p, track, Color());
}

void CtlScrollBar::resizeEvent(QResizeEvent*) { Layout(); }

void CtlScrollBar::mousePressEvent(QMouseEvent* e) {
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  last_pointer_ = e->position().toPoint();
  if (e->button() == Qt::LeftButton) {
    TrackPress(last_pointer_);
  } else {
    EndChecks();
  }
  e->accept();
}

void CtlScrollBar::mouseMoveEvent(QMouseEvent* e) {
  last_pointer_ = e->position().toPoint();
  if (e->buttons() & Qt::LeftButton) Drag(last_pointer_);
}

void CtlScrollBar::mouseReleaseEvent(QMouseEvent*) { repeat_.Stop(); }

void CtlScrollBar::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_PageUp:
      SetPosition(position_ - large_change_);
      NotifyOnce(scPageDown);
      break;
    case Qt::Key_PageDown:
      SetPosition(position_ + large_change_);
      NotifyOnce(scPageUp);
      break;
    case Qt::Key_Left:
    case Qt::Key_Up:
      Decrease();
      break;
    case Qt::Key_Right:
    case Qt::Key_Down:
      Increase();
      break;
    case Qt::Key_Home:
    case Qt::Key_End:
      break;
    default:
      CtlCustomBevelPanel::keyPressEvent(e);
      return;
  }
  EndChecks();
  e->accept();
}

void CtlScrollBar::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange) {
    thumb_->setVisible(isEnabled());
    decrease_->setEnabled(isEnabled());
    increase_->setEnabled(isEnabled());
    Layout();
  }
  CtlCustomBevelPanel::changeEvent(e);
}

void CtlScrollBar::focusInEvent(QFocusEvent* e) {
  CtlCustomBevelPanel::focusInEvent(e);
  Layout();
}

void CtlScrollBar::focusOutEvent(QFocusEvent* e) {
  caret_->Hide();
  CtlCustomBevelPanel::focusOutEvent(e);
}
