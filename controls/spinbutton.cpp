#include "controls/spinbutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <array>
#include <vector>

#include "platform/arrondi.h"

namespace {

constexpr int kFirstRepeatMs = 300;
constexpr int kFirstRepeatExtraMs = 200;

void Pixel(QPainter& p, int x, int y, const QColor& c) { CtlFillRect(p, QRect(x, y, 1, 1), c); }

// Line with both end pixels.
void FullLine(QPainter& p, int x0, int y0, int x1, int y1, const QColor& c) {
  CtlLine(p, x0, y0, x1, y1, c);
  Pixel(p, x1, y1, c);
}

// Filled triangle of size n pointing left or right, tip at column x (left) or x + n (right).
void SideArrow(QPainter& p, int x, int y, bool left, int n, const QColor& c) {
  for (int i = 0; i <= n; ++i) {
    const int col = left ? x + i : x + n - i;
    CtlFillRect(p, QRect(col, y + n - i, 1, 2 * i + 1), c);
  }
}

void DrawSideArrow(QPainter& p, int x, int y, bool left, bool enabled) {
  if (enabled) {
    SideArrow(p, x, y, left, 2, Qt::black);
  } else {
    SideArrow(p, x + 1, y + 1, left, 2, ColorToRgb(clHighlightText));
    SideArrow(p, x, y, left, 2, ColorToRgb(clGrayText));
  }
}

// The arrow of one zone, centred in it; `shift` moves it one pixel right and down.
void ZoneArrow(QPainter& p, CtlSingleSpinButton b, const QRect& zone, bool enabled, bool shift) {
  const int s = shift ? 1 : 0;
  if (b == sbUp || b == sbDown) {
    const int x = zone.left() + Round(zone.width() / 2.0 - 2), y = zone.top() + Round(zone.height() / 2.0 - 2);
    DrawArrow(p, x + s, y + s, enabled, b == sbDown, clBlack, 3);
  } else {
    const int x = zone.left() + Round(zone.width() / 2.0 - 1.5), y = zone.top() + Round(zone.height() / 2.0 - 2.5);
    DrawSideArrow(p, x + s, y + s, b == sbLeft, enabled);
  }
}

bool SingleArrowCode(int code) { return code == 1 || code == 9 || code == 13 || code == 15; }

CtlSingleSpinButton SingleArrowOf(int code) {
  switch (code) {
    case 9: return sbDown;
    case 13: return sbLeft;
    case 15: return sbRight;
    default: return sbUp;
  }
}

struct Zone {
  CtlSingleSpinButton button;
  QRect rect;
};

// Combined layouts other than up/down: left and right columns at the ends,
// the up and down arrows stacked in the middle column.
std::vector<Zone> ColumnZones(CtlSpinButtons set, const QRect& inner) {
  const bool vertical = set.Has(sbUp) || set.Has(sbDown);
  const int columns = int(set.Has(sbLeft)) + int(set.Has(sbRight)) + int(vertical);
  const int cw = inner.width() / std::max(columns, 1);
  std::vector<Zone> zones;
  int x = inner.left();
  auto column = [&](int width) {
    QRect r(x, inner.top(), width, inner.height());
    x += width;
    return r;
  };
  if (set.Has(sbLeft)) zones.push_back({sbLeft, column(cw)});
  if (vertical) {
    const int width = inner.right() + 1 - x - (set.Has(sbRight) ? cw : 0);
    const QRect mid = column(width);
    if (set.Has(sbUp) && set.Has(sbDown)) {
      const int hh = mid.height() / 2;
      zones.push_back({sbUp, QRect(mid.left(), mid.top(), mid.width(), hh)});
      zones.push_back({sbDown, QRect(mid.left(), mid.top() + hh, mid.width(), mid.height() - hh)});
    } else {
      zones.push_back({set.Has(sbUp) ? sbUp : sbDown, mid});
    }
  }
  if (set.Has(sbRight)) zones.push_back({sbRight, column(inner.right() + 1 - x)});
  return zones;
}

}  // namespace

CtlSpinRepeat::CtlSpinRepeat(std::function<void()> fire) : fire_(std::move(fire)), timer_([this] { Tick(); }) {}

void CtlSpinRepeat::Start() {
  if (timer_.Start(kFirstRepeatMs)) timer_.SetInterval(interval_ + kFirstRepeatExtraMs);
}

void CtlSpinRepeat::Tick() {
  timer_.SetInterval(interval_);
  fire_();
}

// --- the square button ---

CtlSpinButton::CtlSpinButton(QWidget* parent) : QWidget(parent), repeat_([this] { Fire(); }) {
  setFocusPolicy(Qt::NoFocus);
  resize(20, 20);
  BuildFaces();
}

bool CtlSpinButton::InUpperHalf(QSize size, QPoint pt) {
  const std::int64_t w = size.width(), h = size.height();
  return pt.x() * h + pt.y() * w < w * h;
}

void CtlSpinButton::BuildFaces() {
  const int w = width(), h = height();
  if (w <= 0 || h <= 0) {
    faces_ = QImage();
    return;
  }
  faces_ = QImage(4 * w, h, QImage::Format_RGB32);
  faces_.fill(ColorToRgb(clBtnFace));
  QPainter p(&faces_);
  CtlPreparePainter(p);
  const QColor frame = ColorToRgb(clWindowFrame), light = ColorToRgb(clBtnHighlight),
               shade = ColorToRgb(clBtnShadow);
  for (int f = 0; f < 4; ++f) {
    p.save();
    p.translate(f * w, 0);
    const QColor up_light = f == 1 ? shade : light, up_shade = f == 1 ? light : shade;
    const QColor low_light = f == 2 ? shade : light, low_shade = f == 2 ? light : shade;
    // Upper half: lit along the top and left, shaded along the diagonal.
    FullLine(p, 1, 1, w - 3, 1, up_light);
    FullLine(p, 1, 1, 1, h - 3, up_light);
    FullLine(p, 1, h - 3, w - 3, 1, up_shade);
    // Lower half: lit along the diagonal, shaded along the bottom and right.
    FullLine(p, 2, h - 2, w - 2, 2, low_light);
    FullLine(p, 2, h - 2, w - 2, h - 2, low_shade);
    FullLine(p, w - 2, 2, w - 2, h - 2, low_shade);
    CtlFrameRect(p, QRect(0, 0, w, h), frame);
    FullLine(p, 0, h - 1, w - 1, 0, frame);
    const bool enabled = f != 3;
    const int up = f == 1 ? 1 : 0, down = f == 2 ? 1 : 0;
    DrawArrow(p, Round(w / 4.0 - 2) + 1 + up, Round(h / 4.0 - 2) + 1 + up, enabled, false, clBlack, 3);
    DrawArrow(p, Round(3.0 * w / 4 - 2) - 1 + down, Round(3.0 * h / 4 - 2) - 1 + down, enabled, true, clBlack, 3);
    p.restore();
  }
}

const QImage& CtlSpinButton::Faces() {
  if (faces_.size() != QSize(4 * width(), height())) BuildFaces();
  return faces_;
}

void CtlSpinButton::SetFace(int face) { if (CtlStore(face_, face)) update(); }

void CtlSpinButton::Fire() {
  if (face_ == 1) emit topClicked();
  if (face_ == 2) emit bottomClicked();
}

void CtlSpinButton::paintEvent(QPaintEvent*) {
  if (faces_.isNull()) return;
  QPainter p(this);
  p.drawImage(QPoint(0, 0), faces_, QRect(face_ * width(), 0, width(), height()));
}

void CtlSpinButton::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  BuildFaces();
}

void CtlSpinButton::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !isEnabled() || face_ != 0) return;
  pressed_half_ = InUpperHalf(size(), e->position().toPoint()) ? 1 : 2;
  SetFace(pressed_half_);
  Fire();
  repeat_.Start();
}

void CtlSpinButton::mouseMoveEvent(QMouseEvent* e) {
  if (pressed_half_ == 0) return;
  const QPoint pt = e->position().toPoint();
  const int half = InUpperHalf(size(), pt) ? 1 : 2;
  SetFace(rect().contains(pt) && half == pressed_half_ ? pressed_half_ : 0);
}

void CtlSpinButton::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  pressed_half_ = 0;
  repeat_.Stop();
  if (isEnabled()) SetFace(0);
}

void CtlSpinButton::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() != QEvent::EnabledChange) return;
  pressed_half_ = 0;
  repeat_.Stop();
  SetFace(isEnabled() ? 0 : 3);
}

// --- the arrow button ---

int CtlSpinButtonsCode(CtlSpinButtons set) {
  // Indexed by the set's bits: left 1, right 2, up 4, down 8.
  static constexpr std::array<int, 16> kCodes{0, 13, 15, 14, 1, 3, 4, 7, 9, 11, 10, 12, 2, 5, 6, 8};
  return kCodes[set.Bits() & 15];
}

CtlArrowSpinButton::CtlArrowSpinButton(QWidget* parent) : CtlGraphicControl(parent), repeat_([this] { Fire(); }) {
  SetColor(clWindow);
  resize(20, 20);
}

void CtlArrowSpinButton::SetSpinButtons(CtlSpinButtons set) {
  if (!CtlStore(buttons_, set)) return;
  code_ = CtlSpinButtonsCode(set);
  update();
}

int CtlArrowSpinButton::PressedFace(int code, QSize size, QPoint pt) {
  switch (code) {
    case 1: return 1;
    case 9: return 2;
    case 13: return 3;
    case 15: return 4;
    case 2: return CtlSpinButton::InUpperHalf(size, pt) ? 1 : 2;
    default: return 0;
  }
}

void CtlArrowSpinButton::DrawFace(QPainter& p, const QRect& r, int face) const {
  CtlFillRect(p, r, ColorToRgb(Color()));
  QRect inner = r;
  const bool enabled = face != 5;
  if (SingleArrowCode(code_)) {
    const bool pressed = face != 0 && face != 5;
    DrawEdgeStyle(p, inner, pressed ? lsLowered : lsSingleRaised, 0);
    ZoneArrow(p, SingleArrowOf(code_), inner, enabled, pressed);
    return;
  }
  DrawEdgeStyle(p, inner, lsSingleRaised, 0);
  const QColor line = ColorToRgb(clBtnShadow);
  if (code_ == 2) {
    // Split by the diagonal, as the square button.
    FullLine(p, r.left(), r.bottom(), r.right(), r.top(), line);
    const int w = r.width(), h = r.height();
    const int up = face == 1 ? 1 : 0, down = face == 2 ? 1 : 0;
    DrawArrow(p, r.left() + Round(w / 4.0 - 2) + 1 + up, r.top() + Round(h / 4.0 - 2) + 1 + up, enabled, false,
              clBlack, 3);
    DrawArrow(p, r.left() + Round(3.0 * w / 4 - 2) - 1 + down, r.top() + Round(3.0 * h / 4 - 2) - 1 + down, enabled,
              true, clBlack, 3);
    return;
  }
  const std::vector<Zone> zones = ColumnZones(buttons_, inner);
  for (size_t i = 0; i < zones.size(); ++i) {
    const QRect& z = zones[i].rect;
    ZoneArrow(p, zones[i].button, z, enabled, false);
    if (i == 0) continue;
    const QRect& prev = zones[i - 1].rect;
    if (prev.left() == z.left())
      CtlLine(p, z.left(), z.top(), z.right() + 1, z.top(), line);  // stacked: line across
    else
      CtlLine(p, z.left(), inner.top(), z.left(), inner.bottom() + 1, line);
  }
}

QImage CtlArrowSpinButton::BuildFaces() const {
  const int w = width(), h = height();
  if (w <= 0 || h <= 0) return QImage();
  QImage strip(6 * w, h, QImage::Format_RGB32);
  QPainter p(&strip);
  CtlPreparePainter(p);
  for (int f = 0; f < 6; ++f) DrawFace(p, QRect(f * w, 0, w, h), f);
  return strip;
}

void CtlArrowSpinButton::SetFace(int face) { if (CtlStore(face_, face)) update(); }

void CtlArrowSpinButton::Fire() {
  if (face_ != held_) return;
  switch (face_) {
    case 1: emit topClicked(); break;
    case 2: emit bottomClicked(); break;
    case 3: emit leftClicked(); break;
    case 4: emit rightClicked(); break;
    default: break;
  }
}

void CtlArrowSpinButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  DrawFace(p, rect(), face_);
}

void CtlArrowSpinButton::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !isEnabled() || face_ != 0) return;
  const int face = PressedFace(code_, size(), e->position().toPoint());
  if (face == 0) return;
  held_ = face;
  SetFace(face);
  Fire();
  repeat_.Start();
}

void CtlArrowSpinButton::mouseMoveEvent(QMouseEvent* e) {
  if (held_ == 0) return;
  SetFace(rect().contains(e->position().toPoint()) ? held_ : 0);
}

void CtlArrowSpinButton::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  held_ = 0;
  repeat_.Stop();
  if (isEnabled()) SetFace(0);
}

void CtlArrowSpinButton::changeEvent(QEvent* e) {
  CtlGraphicControl::changeEvent(e);
  if (e->type() != QEvent::EnabledChange) return;
  held_ = 0;
  repeat_.Stop();
  SetFace(isEnabled() ? 0 : 5);
}
