#include "controls/shapehint.h"

#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <cmath>

#include "platform/arrondi.h"

namespace {
CtlShapeHint* g_active = nullptr;
constexpr int kHintTextMargin = 3;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
}  // namespace

QSize CtlHintWindowSize(CtlHintStyle style, QSize t, int d) {
  int w = t.width(), h = t.height();
  switch (style) {
    case hsRect: return QSize(w + d, h + d);
    case hsRoundRect: return QSize(w + 8 + d, h + 4 + d);
    case hsEllipse: return QSize(w + w / 3 + d, h + h / 3 + d);
    case hsNoseRect:
    case hsNoseRoundRect: return QSize(std::max(w, 46) + 15 + d + 8, h + 15 + d + 3);
    case hsNoseEllipse: return QSize(w + w / 2 + d + 15, h + h / 2 + d + 15);
  }
  return t;
}

QPoint CtlHintOrigin(CtlHintPosition place, QPoint a, QSize s) {
  switch (place) {
    case hpAboveLeft: return QPoint(a.x() - 1 - s.width(), a.y() - 1 - s.height());
    case hpAboveRight: return QPoint(a.x() + 1, a.y() - 1 - s.height());
    case hpBelowLeft: return QPoint(a.x() - 3 - s.width(), a.y() + 1);
    case hpBelowRight: return QPoint(a.x() + 6, a.y() + 1);
  }
  return a;
}

CtlHintPlace CtlPlaceHint(QPoint anchor, QSize size, CtlHintPosition preferred, QRect screen) {
  QPoint pos;
  for (int k = 0; k < 4; ++k) {
    auto place = static_cast<CtlHintPosition>((static_cast<int>(preferred) + k) % 4);
    pos = CtlHintOrigin(place, anchor, size);
    bool fits = pos.x() >= screen.left() && pos.y() >= screen.top() &&
                pos.x() + size.width() <= screen.left() + screen.width() &&
                pos.y() + size.height() <= screen.top() + screen.height();
    if (fits) return {pos, place, true};
  }
  return {pos, preferred, false};
}

CtlShapeHintWindow::CtlShapeHintWindow(const CtlShapeHint* owner)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), owner_(owner) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setEnabled(false);
}

void CtlShapeHintWindow::ActivateHint(QPoint anchor, const QString& text) {
  text_ = text;
  setWindowTitle(text);
  QRect screen(0, 0, 1024, 768);
  if (QScreen* s = QGuiApplication::screenAt(anchor)) screen = s->geometry();
  else if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->geometry();
  int limit = owner_->MaxWidth < 0 ? screen.width() / -owner_->MaxWidth : owner_->MaxWidth;
  limit = std::max(limit, 1);
  const QRect tr = owner_->MeasureText(text, limit);
  QSize size = CtlHintWindowSize(owner_->Style, tr.size(), owner_->Shadow.Depth());
  CtlHintPlace pl = CtlPlaceHint(anchor, size, owner_->Position, screen);
  place_ = pl.place;
  picture_ = owner_->PaintShape(size, tr, place_, text);
  setGeometry(QRect(pl.pos, size));
  // The window takes the outline of body, nose and shadow.
  setMask(QBitmap::fromImage(picture_.createAlphaMask()));
  show();
  raise();
  update();
}

void CtlShapeHintWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, picture_);
}

QPoint CtlEllipsePoint(const QRect& r, double degrees) {
  const int rx = r.width() / 2, ry = r.height() / 2;
  const int cx = r.left() + rx, cy = r.top() + ry;
  const double a = degrees * M_PI / 180.0;
  return QPoint(cx + Trunc(rx * std::sin(a)), cy - Trunc(ry * std::cos(a)));
}

namespace {

QRect Edges(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }

// The places of one pass: body rectangle, whether it has a nose, the nose's tip and base start.
struct HintPass {
  QRect body;
  bool nose;
  QPoint tip, base;
};
struct HintPasses {
  HintPass shadow, body;
  QPoint text;   // text offset of the nose rectangles
  int angle;     // the nose-ellipse's first angle
};

HintPasses NosePasses(CtlHintPosition place, int W, int H, int d) {
  switch (place) {
    case hpAboveLeft:
      return {{Edges(d, d, W - 15, H - 15), true, {W, H}, {W - 55, H - 16}},
              {Edges(0, 0, W - d - 15, H - d - 15), true, {W - d, H - d}, {W - d - 55, H - d - 16}},
              {4, 4},
              125};
    case hpAboveRight:
      return {{Edges(d + 15, d, W, H - 15), true, {0, H}, {d + 25, H - 16}},
              {Edges(15, 0, W - d, H - d - 15), true, {0, H - d}, {25, H - d - 16}},
              {19, 4},
              205};
    case hpBelowLeft:
      return {{Edges(d, d + 15, W - 15, H), true, {W, d}, {W - 55, d + 16}},
              {Edges(0, 15, W - d - 15, H - d), true, {W, 0}, {W - d - 55, 16}},
              {4, 19},
              25};
    case hpBelowRight:
      break;
  }
  return {{Edges(d + 15, d + 15, W, H), false, {}, {}}, {Edges(15, 15, W - d, H - d), true, {0, 0}, {25, 16}},
          {19, 19}, 295};
}

// Keeps the shadow at the pixels where x + y is odd, as the checker of the
// shadow colour ANDed over what lies beneath would darken them.
void TraceShadow(QImage& layer) {
  for (int y = 0; y < layer.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
    for (int x = (y + 1) % 2 == 0 ? 1 : 0; x < layer.width(); x += 2) line[x] = 0;
  }
}

void PaintBody(QPainter& p, CtlHintStyle style, QColor border, const QRect& r, QColor fill, bool outline) {
  p.setBrush(fill);
  p.setPen(outline ? QPen(border, 0) : QPen(Qt::NoPen));
  const QRect drawn = outline ? r.adjusted(0, 0, -1, -1) : r;
  switch (style) {
    case hsRect:
    case hsNoseRect: p.drawRect(drawn); break;
    case hsRoundRect:
    case hsNoseRoundRect: p.drawRoundedRect(drawn, 8, 8); break;
    case hsEllipse:
    case hsNoseEllipse: p.drawEllipse(drawn); break;
  }
}

// One pass (shadow or body) of a nosed balloon; `angle` places the nose of an ellipse.
void PaintNosePass(QPainter& p, CtlHintStyle style, QColor border, const HintPass& pass, int angle, QColor fill,
                   bool outline) {
  if (style != hsNoseEllipse) {
    PaintBody(p, style, border, pass.body, fill, outline);
    if (!pass.nose) return;
    p.drawPolygon(QPolygon({pass.base, pass.tip, pass.base + QPoint(30, 0)}));
    // The body's border along the nose's base is wiped.
    if (outline) CtlLine(p, pass.base.x(), pass.base.y(), pass.base.x() + 30, pass.base.y(), fill);
    return;
  }
  // The ellipse one pixel larger to the right and bottom, filled without outline.
  const QRect e = pass.body.adjusted(0, 0, 1, 1);
  const QPoint p1 = CtlEllipsePoint(e, angle), p2 = CtlEllipsePoint(e, angle + 25);
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawEllipse(e);
  if (pass.nose) p.drawPolygon(QPolygon({p1, pass.tip, p2}));
  if (!outline) return;
  p.setPen(QPen(border, 0));
  p.setBrush(Qt::NoBrush);
  // The arc outside the nose: clockwise from a + 25 round to a (Qt counts counter-clockwise from 3 o'clock).
  p.drawArc(e.adjusted(0, 0, -1, -1), (90 - (angle + 25)) * 16, -335 * 16);
  p.drawPolyline(QPolygon({p1, pass.tip, p2}));
}

}  // namespace

QImage CtlShapeHint::PaintShape(QSize size, QRect tr, CtlHintPosition place, const QString& text) const {
  QImage img(size, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  const int d = Shadow.Depth(), W = size.width(), H = size.height();
  const QColor body = ColorToRgb(Color), shadow = ColorToRgb(Shadow.Color()), border = ColorToRgb(BorderColor);
  const bool nosed = Style == hsNoseRect || Style == hsNoseRoundRect || Style == hsNoseEllipse;
  const HintPasses passes = NosePasses(place, W, H, d);
  if (Shadow.Style() != hssNone) {
    QImage layer(size, QImage::Format_ARGB32);
    layer.fill(Qt::transparent);
    QPainter sp(&layer);
    CtlPreparePainter(sp);
    if (nosed)
      PaintNosePass(sp, Style, border, passes.shadow, passes.angle, shadow, false);
    else
      PaintBody(sp, Style, border, Edges(d, d, W, H), shadow, false);
    sp.end();
    if (Shadow.Style() == hssTracing) TraceShadow(layer);
    QPainter(&img).drawImage(0, 0, layer);
  }
  QPainter p(&img);
  CtlPreparePainter(p);
  QRect text_rect = tr;
  if (nosed) {
    PaintNosePass(p, Style, border, passes.body, passes.angle, body, true);
    text_rect.translate(Style == hsNoseEllipse ? NoseEllipseTextOffset(place, tr, size) : passes.text);
  } else {
    PaintBody(p, Style, border, Edges(0, 0, W - d, H - d), body, true);
    text_rect.translate(Style == hsRect        ? QPoint(3, 3)
                        : Style == hsRoundRect ? QPoint(5, 5)
                                               : QPoint((tr.right() + 1 - d) / 5 + 3, (tr.bottom() + 1 - d) / 5 + 3));
  }
  p.setFont(Font);
  DrawFxText(p, text, &Font3D, nullptr, fxEnabled, kTextFlags, text_rect, ColorToRgb(FontColor), body);
  return img;
}

QPoint CtlShapeHint::NoseEllipseTextOffset(CtlHintPosition place, const QRect& tr, QSize size) const {
  const int d = Shadow.Depth();
  const int tw = tr.width(), th = tr.height();
  if (place == hpAboveRight)
    return QPoint((size.width() - tw + 15) / 2 - tr.left(), (size.height() - th - 15) / 2 - tr.top());
  const int k = place == hpAboveLeft ? 3 : place == hpBelowLeft ? 18 : 15;
  return QPoint((tr.right() + 1 - d) / 3 + 3, (tr.bottom() + 1 - d) / 3 + k);
}

CtlShapeHint::CtlShapeHint(QObject* parent) : QObject(parent) {
  Font = QApplication::font();
  Font.setPixelSize(11);
  Font.setStyleStrategy(QFont::NoAntialias);
  Font3D.OnChange = [this](CtlObject*) { Restyle(); };
  Shadow.OnChange = [this](CtlObject*) { Restyle(); };
  qApp->installEventFilter(this);
  SetEnabled(true);
}

// The measured text with a margin of 3 pixels at the sides and 1 above and
// below: the fonts found on Linux run wider than their metrics at the edges,
// and text drawn at the measured size touches the balloon's outline.
QRect CtlShapeHint::MeasureText(const QString& text, int limit) const {
  QRect r(0, 0, std::max(limit, 1), 0);
  DrawLabelText(Font, &Font3D, r, text, true, false, 0, 0);
  return QRect(kHintTextMargin, 1, r.width() + 2 * kHintTextMargin, r.height() + 2);
}

void CtlShapeHint::Restyle() {
  if (window_ && window_->isVisible()) window_->ActivateHint(last_anchor_, last_text_);
}

CtlShapeHint::~CtlShapeHint() {
  Font3D.OnChange = nullptr;
  Shadow.OnChange = nullptr;
  if (g_active == this) g_active = nullptr;
  if (qApp) qApp->removeEventFilter(this);
  delete window_;
}

CtlShapeHint* CtlShapeHint::Active() { return g_active; }

void CtlShapeHint::SetEnabled(bool e) {
  if (!CtlStore(enabled_, e)) return;
  if (e) {
    g_active = this;
  } else {
    if (g_active == this) g_active = nullptr;
    HideHint();
  }
}

void CtlShapeHint::ShowHint(QPoint anchor, const QString& text) {
  if (!window_) window_ = new CtlShapeHintWindow(this);
  last_anchor_ = anchor;
  last_text_ = text;
  window_->ActivateHint(anchor, text);
}

void CtlShapeHint::HideHint() {
  if (window_) window_->hide();
}

bool CtlShapeHint::eventFilter(QObject* o, QEvent* e) {
  auto* w = qobject_cast<QWidget*>(o);
  if (!enabled_) {
    // Plain tool tips, with no balloon anywhere, show the short part of a "short|long" hint too.
    if (e->type() == QEvent::ToolTip && w && !g_active && w->toolTip().contains('|')) {
      QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), w->toolTip().section('|', 0, 0), w);
      return true;
    }
    return QObject::eventFilter(o, e);
  }
  switch (e->type()) {
    case QEvent::ToolTip:
      if (w && !w->toolTip().isEmpty() && g_active == this) {
        hinted_ = w;
        ShowHint(static_cast<QHelpEvent*>(e)->globalPos(), w->toolTip().section('|', 0, 0));
        return true;
      }
      break;
    case QEvent::Enter:
      // The status line takes the long part of a hint ("short|long").
      if (w && w->toolTip().contains('|')) emit hintChanged(w->toolTip().section('|', 1));
      break;
    case QEvent::Leave:
      if (w && w == hinted_) HideHint();
      if (w && w->toolTip().contains('|')) emit hintChanged(QString());
      break;
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::WindowDeactivate: HideHint(); break;
    default: break;
  }
  return QObject::eventFilter(o, e);
}
