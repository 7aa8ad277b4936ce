#include "controls/progress.h"

#include <QPaintEvent>
#include <algorithm>

#include "model/aleatoire.h"

CtlProgress::CtlProgress(QWidget* parent) : QWidget(parent) {
  bevel_.BeginUpdate();
  bevel_.SetStyleOuter(bvLowered);
  bevel_.EndUpdate(false);
  bevel_.OnChange = [this](CtlObject*) { update(); };
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(80, 20);
}

void CtlProgress::SetPosition(int value) {
  value = std::clamp(value, 0, 100);
  if (value == position_) return;
  position_ = value;
  user_value_ = min_value_ + Round(position_ * 0.01 * (max_value_ - min_value_));
  UpdateBar();
}

void CtlProgress::PositionFromUserValue() {
  position_ =
      std::clamp(Round(static_cast<double>(user_value_ - min_value_) / (max_value_ - min_value_) * 100), 0, 100);
}

void CtlProgress::SetUserValue(int value) {
  if (value == user_value_ || value < min_value_ || value > max_value_) return;
  user_value_ = value;
  PositionFromUserValue();
  UpdateBar();
}

void CtlProgress::SetMaxValue(int value) {
  if (value == max_value_ || value == min_value_) return;
  const int old_min = min_value_;
  min_value_ = std::min(value, old_min);
  max_value_ = std::max(value, old_min);
  if (user_value_ < min_value_ || user_value_ > max_value_) user_value_ = max_value_;
  PositionFromUserValue();
  update();
}

void CtlProgress::SetMinValue(int value) {
  if (value == min_value_ || value == max_value_) return;
  const int old_max = max_value_;
  min_value_ = std::min(value, old_max);
  max_value_ = std::max(value, old_max);
  if (user_value_ < min_value_ || user_value_ > max_value_) user_value_ = min_value_;
  PositionFromUserValue();
  update();
}

void CtlProgress::SetColor(CtlColor c) {
  if (c == color_) return;
  color_ = c;
  update();
}

void CtlProgress::SetBarColor(CtlColor c) {
  if (c == bar_color_) return;
  bar_color_ = c;
  if (style_ == pgBar) update();
}

void CtlProgress::SetBar3D(CtlBorderStyle s) {
  if (s == bar3d_) return;
  bar3d_ = s;
  if (style_ == pgBar) update();
}

void CtlProgress::SetStyle(CtlProgressStyle s) {
  if (s == style_) return;
  style_ = s;
  update();
}

void CtlProgress::SetOptionsText(CtlMeterTextOptions o) {
  if (o == options_text_) return;
  options_text_ = o;
  update();
}

void CtlProgress::SetDirection(CtlMeterDirection d) {
  if (d == direction_) return;
  direction_ = d;
  update();
}

QString CtlProgress::Text() const {
  switch (options_text_) {
    case toPercent: return QString::asprintf("%d%%", position_);
    case toCaption: return windowTitle();
    default: return {};
  }
}

QRect CtlProgress::InnerRect() const { return bevel_.GetClientRect(rect()); }

// The workers keep the event loop waiting, so the gauge paints at once.
void CtlProgress::UpdateBar() { repaint(); }

void CtlProgress::paintEvent(QPaintEvent*) {
  ++paint_count_;
  QPainter p(this);
  CtlPreparePainter(p);
  CtlFillRect(p, rect(), ColorToRgb(color_));
  const QRect inner = bevel_.PaintBevel(p, rect(), false);
  if (inner.width() <= 0 || inner.height() <= 0) return;
  QRect filled = inner, empty = inner;
  if (direction_ == mdHorizontal || direction_ == mdHorizontalReverse) {
    const int len = std::min(inner.width(), Round(position_ * 0.01 * inner.width()));
    if (direction_ == mdHorizontal) {
      filled.setWidth(len);
      empty.setLeft(inner.left() + len);
    } else {
      filled.setLeft(inner.left() + inner.width() - len);
      empty.setWidth(inner.width() - len);
    }
  } else {
    const int len = std::min(inner.height(), Round(position_ * 0.01 * inner.height()));
    if (direction_ == mdVertical) {
      filled.setHeight(len);
      empty.setTop(inner.top() + len);
    } else {
      filled.setTop(inner.top() + inner.height() - len);
      empty.setHeight(inner.height() - len);
    }
  }
  PaintBar(p, filled, empty, inner);
}

void CtlProgress::PaintBar(QPainter& p, const QRect& filled, const QRect& empty, const QRect& whole) {
  // The gauges of this program draw the solid bar; the segment settings are kept unused.
  CtlFillRect(p, filled, ColorToRgb(bar_color_));
  if (position_ != 0 && bar3d_ != lsNone) {
    QRect f = filled;
    DrawEdgeStyle(p, f, bar3d_, 0);
  }
  PaintText(p, filled, empty, whole, bar_color_);
}

void CtlProgress::PaintText(QPainter& p, const QRect& filled, const QRect& empty, const QRect& whole, CtlColor bar) {
  if (options_text_ == toNoText) return;
  const QString text = Text();
  QFont f = font();
  f.setStyleStrategy(QFont::NoAntialias);
  p.setFont(f);
  const int flags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine;
  p.save();
  if (filled.width() > 0 && filled.height() > 0) {
    p.setClipRect(filled);
    p.setPen(ColorToRgb(color_));
    p.drawText(whole, flags, text);
  }
  if (empty.width() > 0 && empty.height() > 0) {
    p.setClipRect(empty);
    p.setPen(ColorToRgb(bar));
    p.drawText(whole, flags, text);
  }
  p.restore();
}
