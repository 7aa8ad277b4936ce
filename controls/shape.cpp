#include "controls/shape.h"

#include <algorithm>
#include <cmath>

namespace {

int Rnd(double v) { return static_cast<int>(std::nearbyint(v)); }  // halves to even (default rounding mode)

}  // namespace

#define CTL_SET(field, value) \
  if (field == (value)) return;  \
  field = (value);               \
  Change();

void CtlSimpleBevel::SetWidth(int w) { CTL_SET(width_, std::clamp(w, 0, 50)) }
void CtlSimpleBevel::SetStyle(CtlSimpleBevelStyle s) { CTL_SET(style_, s) }
void CtlSimpleBevel::SetColor(CtlColor c) { CTL_SET(color_, c) }
void CtlSimpleBevel::SetLightColor(CtlColor c) { CTL_SET(light_, c) }
void CtlSimpleBevel::SetShadowColor(CtlColor c) { CTL_SET(shadow_, c) }

void CtlSimpleBevel::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const CtlSimpleBevel*>(&source);
  if (!s) return CtlObject::Assign(source);
  BeginUpdate();
  width_ = s->width_;
  style_ = s->style_;
  color_ = s->color_;
  light_ = s->light_;
  shadow_ = s->shadow_;
  EndUpdate(true);
}

CtlShape::CtlShape() { Link(); }
CtlShape::CtlShape(const CtlShape& other) : CtlObject(other) {
  Link();
  Assign(other);
}
CtlShape& CtlShape::operator=(const CtlShape& other) {
  Assign(other);
  return *this;
}
CtlShape::~CtlShape() {
  Bevel.OnChange = nullptr;
  Shadow.OnChange = nullptr;
}

void CtlShape::Link() {
  Bevel.OnChange = [this](CtlObject*) { Change(); };
  Shadow.OnChange = [this](CtlObject*) { Change(); };
}

void CtlShape::SetBrushColor(CtlColor c) { CTL_SET(brush_colour_, c) }
void CtlShape::SetRoundPercent(int percent) { CTL_SET(round_percent_, std::clamp(percent, 0, 100)) }
void CtlShape::SetShape(CtlShapeType type) { CTL_SET(shape_, type) }
void CtlShape::SetSquare(bool square) { CTL_SET(square_, square) }

void CtlShape::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const CtlShape*>(&source);
  if (!s) return CtlObject::Assign(source);
  BeginUpdate();
  Bevel.Assign(s->Bevel);
  Shadow.Assign(s->Shadow);
  brush_colour_ = s->brush_colour_;
  round_percent_ = s->round_percent_;
  shape_ = s->shape_;
  square_ = s->square_;
  EndUpdate(true);
}

#undef CTL_SET

int ShapeShadowDepth(const CtlShadow* shadow) { return shadow && shadow->Style() != hssNone ? shadow->Depth() : 0; }

void CalcShapeOutline(const QRect& r, CtlShapeType type, CtlPointList& pts, const CtlShadow* shadow,
                      const CtlSimpleBevel* bevel, int round_percent, bool square) {
  pts.clear();
  const int W = r.width(), H = r.height();
  const int d = ShapeShadowDepth(shadow);
  const int bw = bevel ? bevel->Width() : 1;
  const int a = bw / 2, b = (bw - 1) / 2;
  int ox = 0, oy = 0;
  if (square) {
    if (W <= H) oy = (H - W) / 2;
    else ox = (W - H) / 2;
  }
  const int L = ox + d, T = oy + d, R = W - ox, B = H - oy;
  const int c = std::min(W - d, H - d) * round_percent / 100;
  const int mx = L + (R - L) / 2, my = T + (B - T) / 2;
  auto add = [&](std::initializer_list<QPoint> l) { pts.insert(pts.end(), l); };
  switch (type) {
    case stEllipse:
    case stRectangle:
      add({{L, T}, {R, B}, {L + a, T + a}, {R - b, B - b}});
      break;
    case stRoundRect:
      add({{L, T}, {R, B}, {c, c}, {L + a, T + a}, {R, B}, {c + d, c + d}});
      break;
    case stDirectUp:
      add({{mx, T}, {R, B}, {L, B}, {mx, T + a}, {R - b, B - b}, {L + 2 * a, B}});
      break;
    case stDirectRight:
      add({{L, T}, {R, my}, {L, B}, {L + a, T + a}, {R - b, my}, {L + a, B - b}});
      break;
    case stDirectDown:
      add({{L, T}, {R, T}, {mx, B}, {L + a, T + a}, {R - b, T + a}, {mx, B}});
      break;
    case stDirectLeft:
      add({{R, T}, {L, my}, {R, B}, {R - b, T + a}, {L + a, my}, {R - b, B - b}});
      break;
    case stDiamond:
      add({{mx, T}, {R, my}, {mx, B}, {L, my}, {mx, T + a}, {R - b, my}, {mx, B - b}, {L + a, my}});
      break;
    case stComb: {
      const int k = Rnd((B - T) / 5.0);
      add({{mx, T}, {R, T + k}, {R, T + 4 * k}, {mx, B}, {L, T + 4 * k}, {L, T + k}});
      add({{mx, T + a}, {R - b, T + k + a}, {R - b, T + 4 * k + a}, {mx, B - b}, {L + a, T + 4 * k + a},
           {L + a, T + k + a}});
      break;
    }
    case stOctagon: {
      const double q = 2 + std::sqrt(2.0);
      const int cx = Rnd((R - L) / q), cy = Rnd((B - T) / q);
      const int ex = Rnd(std::sqrt(2.0) * cx), ey = Rnd(std::sqrt(2.0) * cy);
      add({{L + cx, T}, {L + cx + ex, T}, {R, T + cy}, {R, T + cy + ey}, {L + cx + ex, B}, {L + cx, B},
           {L, T + cy + ey}, {L, T + cy}});
      add({{L + cx + a, T + a}, {L + cx + ex + a, T + a}, {R - b, T + cy + a}, {R - b, T + cy + ey + a},
           {L + cx + ex + a, B - b}, {L + cx + a, B - b}, {L + a, T + cy + ey + a}, {L + a, T + cy + a}});
      break;
    }
    case stStar: {
      const int w = R - L, h = B - T;
      const int y38 = T + Rnd(0.38 * h);
      const QPoint inner[5] = {{L + Rnd(0.65 * w), y38}, {L + Rnd(0.7 * w), T + Rnd(0.6 * h)}, {mx, T + Rnd(0.75 * h)},
                               {L + Rnd(0.3 * w), T + Rnd(0.6 * h)}, {L + Rnd(0.35 * w), y38}};
      add({{mx, T}, inner[0], {R, y38}, inner[1], {L + Rnd(0.85 * w), B}, inner[2], {L + Rnd(0.15 * w), B}, inner[3],
           {L, y38}, inner[4]});
      add({{mx, T + a}, inner[0], {R - b, y38}, inner[1], {L + Rnd(0.85 * w), B - b}, inner[2],
           {L + Rnd(0.15 * w), B - b}, inner[3], {L + b, y38}, inner[4]});
      break;
    }
  }
}

namespace {

void Figure(QPainter& p, CtlShapeType type, const QPoint* pt, int count) {
  switch (type) {
    case stEllipse:
      p.drawEllipse(QRect(pt[0], pt[1]).adjusted(0, 0, -1, -1));
      break;
    case stRectangle:
      p.drawRect(QRect(pt[0], pt[1]).adjusted(0, 0, -1, -1));
      break;
    case stRoundRect: {
      const double rx = pt[2].x() / 2.0, ry = pt[2].y() / 2.0;
      p.drawRoundedRect(QRectF(QRect(pt[0], pt[1]).adjusted(0, 0, -1, -1)), rx, ry);
      break;
    }
    default:
      p.drawPolygon(pt, count);
  }
}

}  // namespace

void DrawShape(QPainter& p, const QRect& r, CtlShapeType type, const CtlShadow* shadow, const CtlSimpleBevel& bevel,
               QColor brush, const CtlPointList& points) {
  if (points.empty()) return;
  CtlPointList pts = points;
  const int d = ShapeShadowDepth(shadow);
  const bool rond = type == stRoundRect;
  for (std::size_t k = 0; k < pts.size(); ++k)
    if (!(rond && (k == 2 || k == 5))) pts[k] += r.topLeft();
  const int half = static_cast<int>(pts.size() / 2);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  if (d > 0) {
    p.setPen(Qt::NoPen);
    QBrush b(ColorToRgb(shadow->Color()), shadow->Style() == hssTracing ? Qt::Dense4Pattern : Qt::SolidPattern);
    p.setBrush(b);
    Figure(p, type, pts.data(), half);
  }
  for (std::size_t k = 0; k < pts.size(); ++k)
    if (!(rond && (k == 2 || k == 5))) pts[k] -= QPoint(d, d);
  const int bw = bevel.Width();
  if (bw > 0) {
    QColor pen = bevel.Style() == sbNormal ? ColorToRgb(bevel.Color()) : brush;
    p.setPen(QPen(pen, bw, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  } else {
    p.setPen(Qt::NoPen);
  }
  p.setBrush(brush);
  Figure(p, type, pts.data() + half, half);
  if (bw > 0 && bevel.Style() != sbNormal) {
    const QColor first = ColorToRgb(bevel.Style() == sbOffset ? bevel.LightColor() : bevel.ShadowColor());
    const QColor second = ColorToRgb(bevel.Style() == sbOffset ? bevel.ShadowColor() : bevel.LightColor());
    const int a = bw / 2, b = (bw - 1) / 2;
    const int L = pts[0].x(), T = pts[0].y(), R = pts[1].x(), B = pts[1].y();
    auto pen = [&](const QColor& c) { p.setPen(QPen(c, bw, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin)); };
    p.setBrush(Qt::NoBrush);
    if (type == stRectangle || type == stRoundRect || type == stEllipse) {
      const QRectF box(L + a, T + a, (R - b) - (L + a), (B - b) - (T + a));
      if (type == stRectangle) {
        pen(first);
        p.drawPolyline(QPolygon({{L + a, B - b}, {L + a, T + a}, {R - b, T + a}}));
        pen(second);
        p.drawPolyline(QPolygon({{R - b - 1, T + a}, {R - b - 1, B - b - 1}, {L + a, B - b - 1}}));
      } else if (type == stEllipse) {
        pen(first);
        p.drawArc(box, 45 * 16, 180 * 16);
        pen(second);
        p.drawArc(box, 225 * 16, 180 * 16);
      } else {
        const int c = std::max(pts[2].x(), 1), h = c / 2;
        const double l = box.left(), t = box.top(), rr = box.right(), bb = box.bottom();
        const QRectF ul(l, t, c, c), ur(rr - c, t, c, c), ll(l, bb - c, c, c), lr(rr - c, bb - c, c, c);
        pen(first);
        p.drawArc(ul, 90 * 16, 90 * 16);
        p.drawArc(ur, 45 * 16, 45 * 16);
        p.drawArc(ll, 180 * 16, 45 * 16);
        if (B - b - h > T + a + h) p.drawLine(QPointF(l, t + h), QPointF(l, bb - h));
        if (R - b - h > L + a + h) p.drawLine(QPointF(l + h, t), QPointF(rr - h, t));
        pen(second);
        p.drawArc(ur, 0, 45 * 16);
        p.drawArc(lr, 270 * 16, 90 * 16);
        p.drawArc(ll, 225 * 16, 45 * 16);
        if (B - b - h > T + a + h) p.drawLine(QPointF(rr - 1, t + h), QPointF(rr - 1, bb - h));
        if (R - b - h > L + a + h) p.drawLine(QPointF(l + h, bb - 1), QPointF(rr - h, bb - 1));
      }
    } else {
      // Straight sides of the body outline: those facing up or left light, the others dark.
      const QPoint* q = pts.data() + half;
      for (int k = 0; k < half; ++k) {
        const QPoint u = q[k], v = q[(k + 1) % half];
        const QPoint n(v.y() - u.y(), u.x() - v.x());  // outward normal of a clockwise outline
        pen(n.y() < 0 || (n.y() == 0 && n.x() < 0) ? first : second);
        p.drawLine(u, v);
      }
    }
  }
  p.restore();
}
