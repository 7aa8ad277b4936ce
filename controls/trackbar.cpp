#include "controls/trackbar.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "controls/application.h"
#include "platform/arrondi.h"

namespace {

constexpr int kRepeatMs = 300;
// Handlers that keep moving bars from each other's `changed` stop firing here.
constexpr int kMaxChangeNesting = 32;
int change_nesting = 0;
bool nesting_reported = false;

int Span(const CtlTrackLayout& l, const CtlTrackGeometry& g) {
  return (l.orientation == toHorizontal ? g.area.width() : g.area.height()) - l.thumb_length;
}

// Values grow towards the left (a mirrored horizontal bar) or upwards.
bool Reversed(const CtlTrackLayout& l) { return l.orientation == toVertical || l.mirrored; }

// Closed outline of a polygon, every edge drawn with its end pixel.
void Outline(QPainter& p, const QPolygon& poly, const QColor& c) {
  for (int i = 0; i < poly.size(); ++i) {
    const QPoint a = poly[i], b = poly[(i + 1) % poly.size()];
    CtlLine(p, a.x(), a.y(), b.x(), b.y(), c);
    CtlFillRect(p, QRect(b, QSize(1, 1)), c);
  }
}

// Open line through the points, end pixel excluded.
void Polyline(QPainter& p, std::initializer_list<QPoint> pts, const QColor& c) {
  const QPoint* prev = nullptr;
  for (const QPoint& pt : pts) {
    if (prev) CtlLine(p, prev->x(), prev->y(), pt.x(), pt.y(), c);
    prev = &pt;
  }
}

void SetPixel(QPainter& p, int x, int y, const QColor& c) { CtlFillRect(p, QRect(x, y, 1, 1), c); }

// One pointer frame at `x0` of the picture, filled with `fill`.
void DrawPointerFrame(QPainter& p, int x0, CtlOrientation o, CtlTickMarks marks, int R, int B, const QBrush& fill) {
  const QColor white(Qt::white), black(Qt::black), grey = ColorToRgb(clBtnShadow);
  p.save();
  p.translate(x0, 0);
  p.setBrushOrigin(0, 0);
  auto body = [&](const QPolygon& poly) {
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPolygon(poly);
    Outline(p, poly, white);
  };
  if (o == toHorizontal) {
    const int h = R / 2;
    if (marks == tmTopLeft) {
      body(QPolygon({{0, B - 2}, {0, h}, {h, 0}, {R - 1, h}, {R - 1, B - 2}}));
      CtlLine(p, 0, h, h, 0, white);
      Polyline(p, {{0, B - 2}, {R - 1, B - 2}, {R - 1, h}, {h, 0}}, black);
      SetPixel(p, h, 0, black);
      Polyline(p, {{1, B - 3}, {R - 2, B - 3}, {R - 2, h}, {h, 1}}, grey);
    } else {
      body(QPolygon({{0, 2}, {0, B - h}, {h, B}, {R - 1, B - h}, {R - 1, 2}}));
      CtlLine(p, 0, B - h, h + 1, B + 1, white);
      Polyline(p, {{R - 1, 2}, {R - 1, B - h}, {h, B}}, black);
      SetPixel(p, h, B, black);
      Polyline(p, {{R - 2, 3}, {R - 2, B - h}, {h, B - 1}}, grey);
    }
  } else {
    const int h = B / 2;
    if (marks == tmBottomRight) {
      body(QPolygon({{2, 0}, {2, B - 1}, {R - h, B - 1}, {R, h}, {R - h, 0}}));
      Polyline(p, {{2, B - 1}, {R - h, B - 1}, {R, h}}, black);
      SetPixel(p, R, h, black);
      Polyline(p, {{3, B - 2}, {R - h, B - 2}, {R - 1, h}}, grey);
    } else {
      body(QPolygon({{R - 2, 0}, {R - 2, B - 1}, {h, B - 1}, {0, h}, {h, 0}}));
      Polyline(p, {{0, h - 1}, {h - 1, 0}, {h, 0}}, white);
      Polyline(p, {{R - 2, 0}, {R - 2, B - 1}, {h, B - 1}, {0, h}}, black);
      SetPixel(p, 0, h, black);
      Polyline(p, {{R - 3, 1}, {R - 3, B - 2}, {h, B - 2}, {1, h}}, grey);
    }
  }
  p.restore();
}

QImage CheckerOf(CtlColor c) {
  return QCoreApplication::instance() ? CtlApplication::Instance()->PatternBrush(c).copy() : QImage();
}

}  // namespace

CtlTrackGeometry CtlTrackBarGeometry(const CtlTrackLayout& l) {
  CtlTrackGeometry g;
  g.area = l.client.adjusted(l.margin, l.margin, -l.margin, -l.margin);
  const int W = g.area.width(), H = g.area.height(), TW = l.track_width;
  const int h = l.thumb_length / 2;
  g.half = h;
  const QRect& a = g.area;
  const CtlTickMarks side = l.tick_style == tsNone ? tmBottomRight : l.tick_marks;
  if (l.orientation == toHorizontal) {
    int top = a.top() + TW / 2 + 1;
    if (side == tmTopLeft) top = a.top() + H - TW - TW / 2;
    if (side == tmBoth) top = a.top() + (H - TW) / 2;
    g.track = QRect(a.left() + h, top, W - 2 * h, TW);
  } else {
    int left = a.left() + TW / 2;
    if (side == tmTopLeft) left = a.left() + W - TW - TW / 2;
    if (side == tmBoth) left = a.left() + (W - TW) / 2;
    g.track = QRect(left, a.top() + h, TW, H - 2 * h);
  }
  return g;
}

QRect CtlTrackThumbRect(const CtlTrackLayout& l, const CtlTrackGeometry& g, int v) {
  // 64-bit: a wide range times the span does not fit 32 bits.
  const std::int64_t range = std::int64_t(l.max) - l.min;
  const std::int64_t offset = range > 0 ? std::int64_t(Span(l, g)) * (std::int64_t(v) - l.min) / range : 0;
  const int T = l.thumb_thickness, L = l.thumb_length, TW = l.track_width;
  if (l.orientation == toHorizontal) {
    const int x = l.mirrored ? Span(l, g) - int(offset) : int(offset);
    return QRect(g.area.left() + x, g.track.top() - (T - TW) / 2, L, T);
  }
  return QRect(g.track.left() - (T - TW) / 2, g.area.top() + g.area.height() - L - int(offset), T, L);
}

int CtlTrackTickPos(const CtlTrackLayout& l, const CtlTrackGeometry& g, int v) {
  const double scale = double(Span(l, g)) / (double(l.max) - l.min);
  const int d = Trunc((double(v) - l.min) * scale);
  const int along = Reversed(l) ? Span(l, g) - d : d;
  return (l.orientation == toHorizontal ? g.area.left() : g.area.top()) + along + g.half;
}

bool CtlTrackDragValue(const CtlTrackLayout& l, const CtlTrackGeometry& g, QPoint pt, int& value) {
  const int h = g.half;
  double f;
  if (l.orientation == toHorizontal) {
    const int den = g.area.width() - h;
    if (den <= 0) return false;
    f = l.mirrored ? double(den - pt.x()) / den : double(pt.x() - h) / den;
  } else {
    const int den = g.area.height() - h;
    if (den <= 0) return false;
    f = double((g.area.height() - h) - pt.y()) / den;
  }
  const double v = f * (double(l.max) - l.min) + l.min;
  value = Round(std::clamp(v, double(l.min), double(l.max)));
  return true;
}

QImage CtlBuildTrackThumb(CtlOrientation o, CtlTickMarks marks, int TW, CtlColor thumb_color) {
  int fw = o == toHorizontal ? TW : TW + 8;
  int fh = o == toHorizontal ? TW + 8 : TW;
  const QImage checker = CheckerOf(thumb_color);
  const QBrush solid(ColorToRgb(thumb_color));
  const QBrush pattern = checker.isNull() ? solid : QBrush(checker);
  if (marks == tmBoth) {
    QImage pic(2 * fw, fh, QImage::Format_RGB32);
    QPainter p(&pic);
    CtlPreparePainter(p);
    for (int f = 0; f < 2; ++f) {
      QRect r(f * fw, 0, fw, fh);
      p.setBrushOrigin(r.topLeft());
      p.fillRect(r, f == 0 ? solid : pattern);
      DrawEdgeStyle(p, r, lsRaisedExt, 0);
    }
    return pic;
  }
  const int R = fw | 1, B = fh | 1;
  // Both pictures get one pixel more across the bar, so the tip fits its frame.
  const int frame_w = o == toHorizontal ? R : R + 1;
  QImage pic(2 * frame_w, B + 1, QImage::Format_RGB32);
  pic.fill(ColorToRgb(clOlive));
  QPainter p(&pic);
  CtlPreparePainter(p);
  DrawPointerFrame(p, 0, o, marks, R, B, solid);
  DrawPointerFrame(p, frame_w, o, marks, R, B, pattern);
  return pic;
}

CtlTrackBar::CtlTrackBar(QWidget* parent) : CtlCustomPanel(parent), repeat_([this] { RepeatTick(); }) {
  SetTabStop(true);
  resize(220, 35);
  fill_.OnChange = [this](CtlObject* sender) { GetChange(sender); };
  RebuildThumb();
}

CtlTrackBar::~CtlTrackBar() { fill_.OnChange = nullptr; }

CtlTrackLayout CtlTrackBar::Layout() const {
  CtlTrackLayout l;
  l.client = rect();
  l.margin = margin_;
  l.track_width = track_width_;
  l.thumb_length = thumb_length_;
  l.thumb_thickness = thumb_thickness_;
  l.orientation = orientation_;
  l.tick_marks = tick_marks_;
  l.tick_style = tick_style_;
  l.min = min_;
  l.max = max_;
  l.mirrored = isRightToLeft();
  return l;
}

QRect CtlTrackBar::ThumbRect(int v) const {
  const CtlTrackLayout l = Layout();
  return CtlTrackThumbRect(l, CtlTrackBarGeometry(l), v);
}

void CtlTrackBar::SetPosition(int v) {
  v = std::clamp(v, min_, max_);
  if (v == position_) return;
  const QRect old_thumb = ThumbRect(position_);
  position_ = v;
  if (dragging_ || left_down_)
    repaint(QRegion(old_thumb) | ThumbRect(v));
  else
    repaint();
  if (change_nesting >= kMaxChangeNesting) {
    if (!nesting_reported)
      std::fprintf(stderr, "CtlTrackBar: changed handlers nest deeper than %d levels; no further events\n",
                   kMaxChangeNesting);
    nesting_reported = true;
    return;
  }
  ++change_nesting;
  struct Out {
    ~Out() {
      if (--change_nesting == 0) nesting_reported = false;
    }
  } out;
  emit changed();
}

void CtlTrackBar::SetMaxValue(int v) {
  if (v == max_ || v <= min_) return;
  max_ = v;
  update();
  if (position_ > max_) SetPosition(max_);
}

void CtlTrackBar::SetMinValue(int v) {
  if (v == min_ || v >= max_) return;
  min_ = v;
  update();
  if (position_ < min_) SetPosition(min_);
}

void CtlTrackBar::SetMargin(int v) {
  if (v >= 1) Store(margin_, v);
}

void CtlTrackBar::SetTickGap(int v) {
  if (v >= -1) Store(tick_gap_, v);
}

void CtlTrackBar::SetOrientation(CtlOrientation o) { if (CtlStore(orientation_, o)) RebuildThumb(); }

void CtlTrackBar::SetThumbColor(CtlColor c) { if (CtlStore(thumb_color_, c)) RebuildThumb(); }

void CtlTrackBar::SetTickMarks(CtlTickMarks m) { if (CtlStore(tick_marks_, m)) RebuildThumb(); }

void CtlTrackBar::SetTrackWidth(int v) {
  if (v < 3 || v == track_width_) return;
  track_width_ = v;
  RebuildThumb();
}

void CtlTrackBar::SetFocusStyle(CtlTrackBarFocusStyle s) {
  focus_style_ = s;
  if (s == tbNoFocus)
    setFocusPolicy(Qt::NoFocus);
  else if (focusPolicy() == Qt::NoFocus)
    SetTabStop(true);
  update();
}

void CtlTrackBar::SetThumbStyle(CtlThumbStyle s) {
  thumb_style_ = s;
  if (s == tsStandard) {
    RebuildThumb();
  } else {
    thumb_ = QImage();
    MeasureThumb();
    update();
  }
}

void CtlTrackBar::SetThumb(const QImage& picture) {
  if (picture.isNull()) {
    thumb_style_ = tsStandard;
    RebuildThumb();
    return;
  }
  thumb_style_ = tsCustom;
  thumb_ = picture.convertToFormat(QImage::Format_RGB32);
  MeasureThumb();
  update();
}

void CtlTrackBar::SetTrackTransparent(bool on) {
  track_transparent_ = on;
  GetChange(nullptr);
}

void CtlTrackBar::RebuildThumb() {
  if (thumb_style_ == tsStandard) thumb_ = CtlBuildTrackThumb(orientation_, tick_marks_, track_width_, thumb_color_);
  MeasureThumb();
  update();
}

void CtlTrackBar::MeasureThumb() {
  const int frame_w = thumb_.width() / 2;
  if (thumb_style_ == tsCustom) {
    thumb_thickness_ = thumb_.height();
    thumb_length_ = frame_w;
  } else if (orientation_ == toVertical) {
    thumb_thickness_ = frame_w;
    thumb_length_ = thumb_.height();
  } else {
    thumb_thickness_ = thumb_.height();
    thumb_length_ = frame_w;
  }
}

void CtlTrackBar::ImageListChanged() {
  if (HasEntry())
    SetThumb(Entry().Picture());
  else if (thumb_style_ == tsCustom)
    SetThumb(QImage());
}

bool CtlTrackBar::IsTransparent() const {
  if (!Transparent() && !track_transparent_) return false;
  auto* parent = qobject_cast<const CtlCustomControl*>(parentWidget());
  return parent && parent->isVisible() && parent->CanSupplyBack();
}

void CtlTrackBar::PaintBackground(QPainter& p) {
  if (IsTransparent()) return;
  QRegion back(rect());
  // A see-through track leaves the parent's pixels under it.
  if (track_transparent_) back -= Geometry().track;
  p.save();
  p.setClipRegion(back, Qt::IntersectClip);
  CtlFillRect(p, rect(), ColorToRgb(Color()));
  p.restore();
}

void CtlTrackBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  PaintBackground(p);
  const CtlTrackLayout l = Layout();
  const CtlTrackGeometry g = CtlTrackBarGeometry(l);
  QRect track = g.track;
  DrawEdgeStyle(p, track, track_border_style_, 0);
  track.adjust(track_border_, track_border_, -track_border_, -track_border_);
  if (!track_transparent_ && !(fill_.Style() != sfNone && fill_.FillCanvas(p, track, Color())))
    CtlFillRect(p, track, ColorToRgb(track_color_));
  if (tick_style_ != tsNone) DrawTicks(p, l, g);
  DrawThumb(p, CtlTrackThumbRect(l, g, position_));
  DrawFocus(p);
}

void CtlTrackBar::DrawTicks(QPainter& p, const CtlTrackLayout& l, const CtlTrackGeometry& g) {
  p.setFont(font());
  const QColor c = ColorToRgb(tick_color_);
  const bool near = tick_marks_ == tmBoth || tick_marks_ == tmTopLeft;
  const bool far = tick_marks_ == tmBoth || tick_marks_ == tmBottomRight;
  const int step = tick_gap_ >= 2 ? tick_gap_ : 1;
  const QRect& a = g.area;
  const int len = tick_length_;
  for (std::int64_t v = min_; v <= max_; v += step) {
    const int at = CtlTrackTickPos(l, g, int(v));
    const bool horiz = orientation_ == toHorizontal;
    // Outer ends on the near (top or left) side, inner ends on the far side.
    const QPoint near_pt = horiz ? QPoint(at, a.top()) : QPoint(a.left(), at);
    const QPoint far_pt = horiz ? QPoint(at, a.top() + a.height() - len) : QPoint(a.left() + a.width() - len, at);
    const QPoint along = horiz ? QPoint(0, len) : QPoint(len, 0);
    for (int s = 0; s < 2; ++s) {
      if (!(s == 0 ? near : far)) continue;
      const QPoint from = s == 0 ? near_pt : far_pt;
      if (tick_style_ == tsOwnerDraw) {
        if (OnDrawTick) OnDrawTick(this, p, int(v), from);
      } else {
        const QPoint to = from + along;
        CtlLine(p, from.x(), from.y(), to.x(), to.y(), c);
      }
    }
  }
}

void CtlTrackBar::DrawThumb(QPainter& p, const QRect& r) {
  if (thumb_.isNull()) return;
  const int fw = thumb_.width() / 2;
  const int frame = (!isEnabled() || dragging_) ? 1 : 0;
  const QRect source(frame * fw, 0, fw, thumb_.height());
  if (thumb_style_ == tsStandard && tick_marks_ == tmBoth) {
    p.drawImage(r.topLeft(), thumb_, source);
    return;
  }
  // Pointer and custom thumbs: olive, or the picture's lower-left pixel, lets the track show through.
  const QColor see = thumb_style_ == tsStandard ? ColorToRgb(clOlive) : QColor(thumb_.pixel(0, thumb_.height() - 1));
  QImage part = thumb_.copy(source).convertToFormat(QImage::Format_ARGB32);
  const QRgb key = see.rgb();
  for (int y = 0; y < part.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
    for (int x = 0; x < part.width(); ++x)
      if ((line[x] | 0xFF000000u) == (key | 0xFF000000u)) line[x] = 0;
  }
  p.drawImage(r, part);
}

void CtlTrackBar::DrawFocus(QPainter& p) {
  if (!hasFocus() || focus_style_ != tbFocus) return;
  QPen pen(use_focus_color_ ? ColorToRgb(focus_color_) : QColor(Qt::black), 1, Qt::DotLine);
  p.save();
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.restore();
}

int CtlTrackBar::SideOf(QPoint pt) const {
  const CtlTrackGeometry g = Geometry();
  if (!g.track.contains(pt)) return 0;
  const QRect thumb = ThumbRect(position_);
  if (orientation_ == toHorizontal) {
    const int side = pt.x() < thumb.left() ? -1 : pt.x() > thumb.right() ? 1 : 0;
    return isRightToLeft() ? -side : side;
  }
  return pt.y() > thumb.bottom() ? -1 : pt.y() < thumb.top() ? 1 : 0;
}

void CtlTrackBar::Page() {
  const std::int64_t v = std::int64_t(position_) + std::int64_t(page_side_) * page_size_;
  SetPosition(int(std::clamp<std::int64_t>(v, min_, max_)));
}

void CtlTrackBar::RepeatTick() {
  if (!Geometry().track.contains(last_pointer_)) return;
  if (SideOf(last_pointer_) == page_side_)
    Page();
  else
    repeat_.Stop();
}

void CtlTrackBar::mousePressEvent(QMouseEvent* e) {
  CtlCustomPanel::mousePressEvent(e);
  if (focus_style_ != tbNoFocus) setFocus(Qt::MouseFocusReason);
  last_pointer_ = e->position().toPoint();
  if (e->button() != Qt::LeftButton) return;
  left_down_ = true;
  if (ThumbRect(position_).contains(last_pointer_)) {
    dragging_ = true;
    repaint(ThumbRect(position_));
    return;
  }
  const int side = SideOf(last_pointer_);
  if (side == 0) return;
  page_side_ = side;
  repeat_.Start(kRepeatMs);
  Page();
}

void CtlTrackBar::mouseMoveEvent(QMouseEvent* e) {
  CtlCustomPanel::mouseMoveEvent(e);
  last_pointer_ = e->position().toPoint();
  if (!dragging_) return;
  const CtlTrackLayout l = Layout();
  int v;
  if (CtlTrackDragValue(l, CtlTrackBarGeometry(l), last_pointer_, v)) SetPosition(v);
}

void CtlTrackBar::mouseReleaseEvent(QMouseEvent* e) {
  CtlCustomPanel::mouseReleaseEvent(e);
  repeat_.Stop();
  if (e->button() != Qt::LeftButton) return;
  left_down_ = false;
  if (dragging_) {
    dragging_ = false;
    repaint(ThumbRect(position_));
  }
}

void CtlTrackBar::keyPressEvent(QKeyEvent* e) {
  std::int64_t delta = 0;
  int key = e->key();
  // Left and Right move the thumb that way, whichever way the bar runs.
  if (orientation_ == toHorizontal && isRightToLeft() && (key == Qt::Key_Left || key == Qt::Key_Right))
    key = key == Qt::Key_Left ? Qt::Key_Right : Qt::Key_Left;
  switch (key) {
    case Qt::Key_PageUp: delta = page_size_; break;
    case Qt::Key_PageDown: delta = -std::int64_t(page_size_); break;
    case Qt::Key_Left:
    case Qt::Key_Down: delta = -std::int64_t(line_size_); break;
    case Qt::Key_Up:
    case Qt::Key_Right: delta = line_size_; break;
    case Qt::Key_Home:
    case Qt::Key_End: break;
    default: CtlCustomPanel::keyPressEvent(e); return;
  }
  e->accept();
  if (delta != 0) SetPosition(int(std::clamp<std::int64_t>(position_ + delta, min_, max_)));
}

void CtlTrackBar::wheelEvent(QWheelEvent* e) {
  const int dy = e->angleDelta().y();
  e->accept();
  if (dy < 0 && position_ < max_) SetPosition(position_ + 1);
  if (dy > 0 && position_ > min_) SetPosition(position_ - 1);
}

void CtlTrackBar::focusInEvent(QFocusEvent* e) {
  CtlCustomPanel::focusInEvent(e);
  update();
}

void CtlTrackBar::focusOutEvent(QFocusEvent* e) {
  CtlCustomPanel::focusOutEvent(e);
  update();
}

void CtlTrackBar::changeEvent(QEvent* e) {
  CtlCustomPanel::changeEvent(e);
  if (e->type() == QEvent::EnabledChange || e->type() == QEvent::LayoutDirectionChange) update();
}

CtlShadowFill::CtlShadowFill(QWidget* parent) : CtlGraphicControl(parent) { pattern_ = CheckerOf(shadow_color_); }

void CtlShadowFill::SetShadowColor(CtlColor c) {
  if (c == clWhite) c = clBlack;
  if (!CtlStore(shadow_color_, c)) return;
  pattern_ = CheckerOf(c);
  update();
}

void CtlShadowFill::SetStyle(CtlShadowFillStyle s) { if (CtlStore(style_, s)) update(); }

void CtlShadowFill::paintEvent(QPaintEvent* e) {
  if (style_ == CtlShadowFillStyle::sfNone) {
    CtlGraphicControl::paintEvent(e);
    return;
  }
  QPainter p(this);
  CtlPreparePainter(p);
  const QRect inner = Bevel().PaintBevel(p, rect(), Transparent());
  CreateShadowPatternBrush(p, style_ == CtlShadowFillStyle::sfFullShadow ? rect() : inner, pattern_);
}
