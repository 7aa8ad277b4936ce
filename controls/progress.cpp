#include "controls/progress.h"

#include <QPaintEvent>
#include <algorithm>
#include <cstdlib>

#include "platform/arrondi.h"

namespace {

// The range that a new bound `value` and the other bound `kept` span; a user
// value outside it goes to the maximum when `to_max`, else to the minimum.
void Respan(int value, int kept, bool to_max, int& min, int& max, int& user) {
  min = std::min(value, kept);
  max = std::max(value, kept);
  if (user < min || user > max) user = to_max ? max : min;
}

}  // namespace

CtlBaseMeter::CtlBaseMeter(QWidget* parent) : CtlGraphicControl(parent) {
  Bevel().BeginUpdate();
  Bevel().SetStyleOuter(bvLowered);
  Bevel().EndUpdate(false);
  Bevel().OnChange = [this](CtlObject*) {
    CheckAutoSize();
    repaint();
  };
  font3d_.OnChange = [this](CtlObject*) { repaint(); };
  SetTransparent(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(80, 20);
}

CtlBaseMeter::~CtlBaseMeter() { font3d_.OnChange = nullptr; }

void CtlBaseMeter::SetAlignment(Qt::Alignment a) { if (CtlStore(alignment_, a)) repaint(); }

void CtlBaseMeter::SetDirection(CtlMeterDirection d) {
  if (!CtlStore(direction_, d)) return;
  CheckAutoSize();
  repaint();
}

void CtlBaseMeter::SetOptionsText(CtlMeterTextOptions o) { if (CtlStore(options_text_, o)) repaint(); }

void CtlBaseMeter::SetUseFontColor(bool on) { if (CtlStore(use_font_color_, on)) repaint(); }

void CtlBaseMeter::SetFontColor(CtlColor c) { if (CtlStore(font_color_, c)) repaint(); }

void CtlBaseMeter::SetCaption(const QString& c) {
  if (!CtlStore(caption_, c)) return;
  if (options_text_ == toCaption) repaint();
}

void CtlBaseMeter::SetPosition(int value) {
  value = std::clamp(value, 0, 100);
  if (!CtlStore(position_, value)) return;
  user_value_ = min_value_ + Round(position_ * 0.01 * (max_value_ - min_value_));
  UpdateBar();
}

void CtlBaseMeter::PositionFromUserValue() {
  position_ =
      std::clamp(Round(static_cast<double>(user_value_ - min_value_) / (max_value_ - min_value_) * 100), 0, 100);
}

void CtlBaseMeter::SetUserValue(int value) {
  if (value == user_value_ || value < min_value_ || value > max_value_) return;
  user_value_ = value;
  PositionFromUserValue();
  UpdateBar();
}

void CtlBaseMeter::SetMaxValue(int value) {
  if (value == max_value_ || value == min_value_) return;
  Respan(value, min_value_, true, min_value_, max_value_, user_value_);
  PositionFromUserValue();
  repaint();
}

void CtlBaseMeter::SetMinValue(int value) {
  if (value == min_value_ || value == max_value_) return;
  Respan(value, max_value_, false, min_value_, max_value_, user_value_);
  PositionFromUserValue();
  repaint();
}

QString CtlBaseMeter::Text() const {
  switch (options_text_) {
    case toPercent: return QString::asprintf("%d%%", GetPercent());
    case toCaption: return caption_;
    default: return {};
  }
}

void CtlBaseMeter::SplitBar(int percent, QRect& filled, QRect& empty) const {
  const QRect inner = InnerRect();
  filled = empty = inner;
  if (direction_ == mdHorizontal || direction_ == mdHorizontalReverse) {
    const int len = std::min(inner.width(), Round(percent * 0.01 * inner.width()));
    if (direction_ == mdHorizontal) {
      filled.setWidth(len);
      empty.setLeft(inner.left() + len);
    } else {
      filled.setLeft(inner.left() + inner.width() - len);
      empty.setWidth(inner.width() - len);
    }
  } else {
    const int len = std::min(inner.height(), Round(percent * 0.01 * inner.height()));
    if (direction_ == mdVertical) {
      filled.setHeight(len);
      empty.setTop(inner.top() + len);
    } else {
      filled.setTop(inner.top() + inner.height() - len);
      empty.setHeight(inner.height() - len);
    }
  }
}

// The workers keep the event loop waiting, so the meter paints at once.
void CtlBaseMeter::UpdateBar() {
  const int percent = GetPercent();
  const bool redraw = percent == 0 || last_drawn_ < 0 || std::abs(percent - last_drawn_) >= RedrawThreshold() ||
                      (options_text_ == toPercent && percent != last_drawn_);
  if (redraw) repaint();
}

void CtlBaseMeter::resizeEvent(QResizeEvent* e) {
  CtlGraphicControl::resizeEvent(e);
  if (sizing_) return;
  sizing_ = true;
  CheckAutoSize();
  sizing_ = false;
}

void CtlBaseMeter::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  CtlFillRect(p, rect(), ColorToRgb(Color()));
  const QRect inner = Bevel().PaintBevel(p, rect(), false);
  const int percent = GetPercent();
  last_drawn_ = percent;
  if (inner.width() <= 0 || inner.height() <= 0) return;
  QRect filled, empty;
  SplitBar(percent, filled, empty);
  PaintBar(p, filled, empty, inner);
}

void CtlBaseMeter::PaintBar(QPainter&, const QRect&, const QRect&, const QRect&) {}

void CtlBaseMeter::PaintText(QPainter& p, const QRect& filled, const QRect& empty, const QRect& whole,
                             CtlColor bar) {
  if (options_text_ == toNoText) return;
  const QString text = Text();
  QFont f = font();
  f.setStyleStrategy(QFont::NoAntialias);
  p.setFont(f);
  const int flags = static_cast<int>(alignment_ & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter | Qt::TextSingleLine;
  if (use_font_color_) {
    DrawFxText(p, text, &font3d_, nullptr, isEnabled() ? fxEnabled : 0u, flags, whole, ColorToRgb(font_color_),
               ColorToRgb(Color()));
    return;
  }
  p.save();
  if (filled.width() > 0 && filled.height() > 0) {
    p.setClipRect(filled);
    p.setPen(ColorToRgb(Color()));
    p.drawText(whole, flags, text);
  }
  if (empty.width() > 0 && empty.height() > 0) {
    p.setClipRect(empty);
    p.setPen(ColorToRgb(bar));
    p.drawText(whole, flags, text);
  }
  p.restore();
}

CtlProgress::CtlProgress(QWidget* parent) : CtlBaseMeter(parent) {
  small_bar_.OnChange = [this](CtlObject*) {
    CheckAutoSize();
    repaint();
  };
}

CtlProgress::~CtlProgress() { small_bar_.OnChange = nullptr; }

void CtlProgress::SetBarColor(CtlColor c) {
  if (!CtlStore(bar_color_, c)) return;
  if (style_ == pgBar) repaint();
}

void CtlProgress::SetBar3D(CtlBorderStyle s) {
  if (!CtlStore(bar3d_, s)) return;
  if (style_ == pgBar) repaint();
}

void CtlProgress::SetStyle(CtlProgressStyle s) {
  if (!CtlStore(style_, s)) return;
  CheckAutoSize();
  repaint();
}

int CtlProgress::RedrawThreshold() const {
  if ((style_ == pgSmallBar || style_ == pgSmallBarColor) && OptionsText() != toPercent)
    return (100 / small_bar_.BarCount()) / 2;
  return 1;
}

int CtlProgress::LitSegments(int percent) const { return Round((percent % 128) * small_bar_.BarCount() / 100.0); }

bool CtlProgress::CheckAutoSize() {
  if ((style_ != pgSmallBar && style_ != pgSmallBarColor) || !small_bar_.Autosize()) return false;
  const QRect inner = InnerRect();
  const bool across = Direction() == mdHorizontal || Direction() == mdHorizontalReverse;
  const int seg = std::max(1, small_bar_.BarSize(Direction(), inner.width(), inner.height()));
  const int gap = across ? small_bar_.HSpace() : small_bar_.VSpace();
  const int want = 2 * Bevel().BevelExtend() + small_bar_.BarCount() * (seg + gap);
  if (want == (across ? width() : height())) return false;
  if (across) resize(want, height());
  else resize(width(), want);
  return true;
}

void CtlProgress::PaintBar(QPainter& p, const QRect& filled, const QRect& empty, const QRect& whole) {
  switch (style_) {
    case pgBar:
      CtlFillRect(p, filled, ColorToRgb(bar_color_));
      if (Position() != 0 && bar3d_ != lsNone) {
        QRect f = filled;
        DrawEdgeStyle(p, f, bar3d_, 0);
      }
      PaintText(p, filled, empty, whole, bar_color_);
      break;
    case pgSmallBar:
    case pgSmallBarColor:
      PaintSegments(p, filled, whole);
      PaintText(p, filled, empty, whole, small_bar_.BarColor());
      break;
    case pgOwnerDraw:
      if (OnPaint) OnPaint(this, p, filled, empty, whole);
      break;
  }
}

void CtlProgress::PaintSegments(QPainter& p, const QRect& filled, const QRect& whole) {
  const bool across = Direction() == mdHorizontal || Direction() == mdHorizontalReverse;
  const bool reverse = Direction() == mdHorizontalReverse || Direction() == mdVerticalReverse;
  const int seg = small_bar_.BarSize(Direction(), whole.width(), whole.height());
  if (seg <= 0) {
    CtlFillRect(p, filled, ColorToRgb(small_bar_.BarColor()));
    return;
  }
  const int gap = across ? small_bar_.HSpace() : small_bar_.VSpace();
  const int lit = LitSegments(GetPercent());
  p.save();
  p.setClipRect(whole);
  for (int i = 0; i < lit; ++i) {
    CtlColor colour = small_bar_.BarColor();
    if (style_ == pgSmallBarColor && OnGetColor) OnGetColor(this, i, colour);
    const int from = i * (seg + gap);
    QRect r = whole;
    if (across) {
      r.setLeft(reverse ? whole.left() + whole.width() - from - seg : whole.left() + from);
      r.setWidth(seg);
    } else {
      r.setTop(reverse ? whole.top() + whole.height() - from - seg : whole.top() + from);
      r.setHeight(seg);
    }
    CtlFillRect(p, r, ColorToRgb(colour));
  }
  p.restore();
}
