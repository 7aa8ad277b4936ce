#include "controls/shape.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "controls/application.h"
#include "platform/arrondi.h"

namespace {

int Rnd(double v) { return Round(v); }

}  // namespace

void CtlSimpleBevel::SetWidth(int w) { if (CtlStore(width_, std::clamp(w, 0, 50))) Change(); }
void CtlSimpleBevel::SetStyle(CtlSimpleBevelStyle s) { if (CtlStore(style_, s)) Change(); }
void CtlSimpleBevel::SetColor(CtlColor c) { if (CtlStore(color_, c)) Change(); }
void CtlSimpleBevel::SetLightColor(CtlColor c) { if (CtlStore(light_, c)) Change(); }
void CtlSimpleBevel::SetShadowColor(CtlColor c) { if (CtlStore(shadow_, c)) Change(); }

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

void CtlShape::SetBrushColor(CtlColor c) { if (CtlStore(brush_colour_, c)) Change(); }
void CtlShape::SetBrushStyle(Qt::BrushStyle s) { if (CtlStore(brush_style_, s)) Change(); }
void CtlShape::SetRoundPercent(int percent) { if (CtlStore(round_percent_, std::clamp(percent, 0, 100))) Change(); }
void CtlShape::SetShape(CtlShapeType type) { if (CtlStore(shape_, type)) Change(); }
void CtlShape::SetSquare(bool square) { if (CtlStore(square_, square)) Change(); }

void CtlShape::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const CtlShape*>(&source);
  if (!s) return CtlObject::Assign(source);
  BeginUpdate();
  Bevel.Assign(s->Bevel);
  Shadow.Assign(s->Shadow);
  brush_colour_ = s->brush_colour_;
  brush_style_ = s->brush_style_;
  round_percent_ = s->round_percent_;
  shape_ = s->shape_;
  square_ = s->square_;
  EndUpdate(true);
}


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

// A figure of the shape over its two corners (ellipse, rectangle, rounded
// rectangle with corner size `corner`) or through its points. Corners follow
// the platform's rule: the right and bottom edges are left out, also under a pen.
void Figure(QPainter& p, CtlShapeType type, const QPoint* pt, int count, int corner) {
  const bool pen = p.pen().style() != Qt::NoPen;
  const QRect box = QRect(pt[0], pt[1]).adjusted(0, 0, pen ? -1 : 0, pen ? -1 : 0);
  if (type != stEllipse && type != stRectangle && type != stRoundRect) {
    p.drawPolygon(pt, count);
    return;
  }
  if (box.width() <= 0 || box.height() <= 0) return;
  if (type == stEllipse) p.drawEllipse(box);
  else if (type == stRectangle) p.drawRect(box);
  else p.drawRoundedRect(QRectF(box), corner / 2.0, corner / 2.0);
}

// The same figure as a path, for clipping.
QPainterPath FigurePath(CtlShapeType type, const QPoint* pt, int count, int corner) {
  QPainterPath path;
  const QRectF box(QRect(pt[0], pt[1]).adjusted(0, 0, -1, -1));
  if (type == stEllipse) path.addEllipse(box);
  else if (type == stRectangle) path.addRect(box);
  else if (type == stRoundRect) path.addRoundedRect(box, corner / 2.0, corner / 2.0);
  else path.addPolygon(QPolygonF(QPolygon(QList<QPoint>(pt, pt + count))));
  path.setFillRule(Qt::WindingFill);
  return path;
}

// A line through the points in the pen width: one pixel wide it leaves each
// segment's end pixel out, as the platform does; wider it has round ends and joins.
void EdgeLine(QPainter& p, std::initializer_list<QPoint> pts, const QColor& c, int bw) {
  if (bw == 1) {
    for (auto a = pts.begin(), b = a + 1; b != pts.end(); ++a, ++b) CtlLine(p, a->x(), a->y(), b->x(), b->y(), c);
    return;
  }
  p.setPen(QPen(c, bw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygon(QList<QPoint>(pts)));
}

// Arc of the box from angle `start` through `span` degrees (counter-clockwise).
void EdgeArc(QPainter& p, const QRectF& box, int start, int span, const QColor& c, int bw) {
  p.setPen(QPen(c, bw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawArc(box, start * 16, span * 16);
}

void Shadow(QPainter& p, CtlShapeType type, const QPoint* outline, int half, int corner, const CtlShadow& shadow) {
  p.setPen(Qt::NoPen);
  if (shadow.Style() == hssSolid) {
    p.setBrush(ColorToRgb(shadow.Color()));
    Figure(p, type, outline, half, corner);
    return;
  }
  // Traced: the application's checker in the shadow colour ANDed into the figure.
  const QPainterPath path = FigurePath(type, outline, half, corner);
  p.save();
  p.setClipPath(path, Qt::IntersectClip);
  CreateShadowPatternBrush(p, path.boundingRect().toAlignedRect(),
                           CtlApplication::Instance()->PatternBrush(shadow.Color()));
  p.restore();
}

// The body through a mask: white where the body is, `key` elsewhere; the
// picture shows only where the mask is white.
void MaskedBody(QPainter& p, const QRect& r, CtlShapeType type, const QPoint* body, int half, int corner, int bw,
                CtlColor key, const QImage& picture) {
  if (r.width() <= 0 || r.height() <= 0) return;
  QImage mask(r.size(), QImage::Format_RGB32);
  mask.fill(ColorToRgb(key));
  {
    QPainter m(&mask);
    CtlPreparePainter(m);
    m.translate(-r.topLeft());
    if (bw > 0) m.setPen(QPen(Qt::white, bw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    else m.setPen(Qt::NoPen);
    m.setBrush(Qt::white);
    Figure(m, type, body, half, corner);
  }
  const QRgb white = qRgb(255, 255, 255), k = ColorToRgb(key).rgb();
  QImage work = picture.convertToFormat(QImage::Format_RGB32);
  if (work.size() != mask.size()) work = work.copy(QRect(QPoint(0, 0), mask.size()));
  for (int y = 0; y < work.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(work.scanLine(y));
    const auto* ml = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
    for (int x = 0; x < work.width(); ++x)
      if ((ml[x] | 0xFF000000u) != white) line[x] = k;
  }
  DrawBitmapStyled(p, r, work, work.rect(), nullptr, key, dbTransparent);
}

// Step 5: the light and dark edges of each shape type.
void BevelEdges(QPainter& p, CtlShapeType type, const QPoint* outline, const QPoint* body, int half, int corner,
                int bw, const QColor& first, const QColor& second) {
  const int a = bw / 2, b = (bw - 1) / 2;
  int L = outline[0].x(), T = outline[0].y(), R = L, B = T;
  const int corners = type == stRoundRect ? 2 : half;  // the third point of a rounded rectangle is its corner size
  for (int k = 0; k < corners; ++k) {
    L = std::min(L, outline[k].x());
    R = std::max(R, outline[k].x());
    T = std::min(T, outline[k].y());
    B = std::max(B, outline[k].y());
  }
  const int mx = L + (R - L) / 2, my = T + (B - T) / 2;
  p.setBrush(Qt::NoBrush);
  switch (type) {
    case stEllipse: {
      const QRectF box(L + a, T + a, (R - b) - (L + a), (B - b) - (T + a));
      EdgeArc(p, box, 45, 180, first, bw);
      EdgeArc(p, box, 225, 180, second, bw);
      return;
    }
    case stRectangle:
      EdgeLine(p, {{L + a, B - b}, {L + a, T + a}, {R - b, T + a}}, first, bw);
      EdgeLine(p, {{R - b - 1, T + a}, {R - b - 1, B - b - 1}, {L + a, B - b - 1}}, second, bw);
      return;
    case stRoundRect: {
      const int c = std::max(corner, 1), h = c / 2;
      const double l = L + a, t = T + a, rr = R - b, bb = B - b;
      const QRectF ul(l, t, c, c), ur(rr - c, t, c, c), ll(l, bb - c, c, c), lr(rr - c, bb - c, c, c);
      EdgeArc(p, ul, 90, 90, first, bw);
      EdgeArc(p, ur, 45, 45, first, bw);
      EdgeArc(p, ll, 180, 45, first, bw);
      if (B - b - h > T + a + h) EdgeLine(p, {{L + a, T + a + h}, {L + a, B - b - h}}, first, bw);
      if (R - b - h > L + a + h) EdgeLine(p, {{L + a + h, T + a}, {R - b - h, T + a}}, first, bw);
      EdgeArc(p, ur, 0, 45, second, bw);
      EdgeArc(p, lr, 270, 90, second, bw);
      EdgeArc(p, ll, 225, 45, second, bw);
      if (B - b - h > T + a + h) EdgeLine(p, {{R - b - 1, T + a + h}, {R - b - 1, B - b - h}}, second, bw);
      if (R - b - h > L + a + h) EdgeLine(p, {{L + a + h, B - b - 1}, {R - b - h, B - b - 1}}, second, bw);
      return;
    }
    case stDirectUp:
      EdgeLine(p, {{L, B}, {mx, T}, {R, B}}, first, bw);
      EdgeLine(p, {{R, B}, {L, B}}, second, bw);
      return;
    case stDirectRight:
      EdgeLine(p, {{L + a, T + a}, {L + a, B - b}}, first, bw);
      EdgeLine(p, {{L + a, T + a}, {R - b, my}, {L + a, B - b}}, second, bw);
      return;
    case stDirectDown:
      EdgeLine(p, {{L - b, T + a}, {mx, B - b}, {R - b, T + a}}, second, bw);
      EdgeLine(p, {{L + a, T + a}, {R - b, T - b}}, first, bw);
      return;
    case stDirectLeft:
      EdgeLine(p, {{R - a - 1, T + a}, {R - a - 1, B - b}}, second, bw);
      EdgeLine(p, {{R - a - 1, T + a}, {L + a, my + a}, {R - a - 1, B - a}}, first, bw);
      return;
    default:
      // Sides of the body outline: those whose outward normal points up (or
      // left when vertical) take the first colour, the others the second.
      for (int k = 0; k < half; ++k) {
        const QPoint u = body[k], v = body[(k + 1) % half];
        const QPoint n(v.y() - u.y(), u.x() - v.x());  // outward normal of a clockwise outline
        EdgeLine(p, {u, v}, n.y() < 0 || (n.y() == 0 && n.x() < 0) ? first : second, bw);
      }
  }
}

}  // namespace

void DrawShape(QPainter& p, const QRect& r, CtlShapeType type, CtlColor background, CtlColor key,
               const QImage* fill_bitmap, const CtlShadow* shadow, const CtlSimpleBevel* bevel, int round_percent,
               const QBrush& brush, bool square, const CtlPointList* points) {
  if (r.width() <= 0 || r.height() <= 0) return;
  CtlPointList pts;
  if (points) pts = *points;
  else CalcShapeOutline(QRect(0, 0, r.width(), r.height()), type, pts, shadow, bevel, round_percent, square);
  if (pts.size() < 4) return;
  const int d = ShapeShadowDepth(shadow);
  const bool rond = type == stRoundRect;
  // The rounded rectangle's corner size is held apart and never moved; it is
  // the same for the shadow and the body.
  const int corner = rond ? pts[2].x() : 0;
  for (std::size_t k = 0; k < pts.size(); ++k)
    if (!(rond && (k == 2 || k == 5))) pts[k] += r.topLeft();
  const int half = static_cast<int>(pts.size() / 2);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  if (d > 0) Shadow(p, type, pts.data(), half, corner, *shadow);
  for (std::size_t k = 0; k < pts.size(); ++k)
    if (!(rond && (k == 2 || k == 5))) pts[k] -= QPoint(d, d);
  const QPoint* outline = pts.data();
  const QPoint* body = pts.data() + half;
  const int bw = bevel ? bevel->Width() : 1;
  const CtlSimpleBevelStyle style = bevel ? bevel->Style() : sbNormal;
  const QColor pen_colour = style == sbNormal ? ColorToRgb(bevel ? bevel->Color() : clBlack) : brush.color();
  auto body_pen = [&](QPainter& q) {
    if (bw > 0) q.setPen(QPen(pen_colour, bw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    else q.setPen(Qt::NoPen);
  };
  if (fill_bitmap && !fill_bitmap->isNull()) {
    MaskedBody(p, r, type, body, half, corner, bw, key, *fill_bitmap);
    body_pen(p);
    p.setBrush(Qt::NoBrush);
    if (bw > 0) Figure(p, type, body, half, corner);
  } else {
    body_pen(p);
    p.setBrush(brush);
    if (brush.style() != Qt::SolidPattern) {
      p.setBackgroundMode(Qt::OpaqueMode);
      p.setBackground(ColorToRgb(background));
    }
    Figure(p, type, body, half, corner);
    p.setBackgroundMode(Qt::TransparentMode);
  }
  if (bw > 0 && (style == sbInset || style == sbOffset)) {
    const QColor light = ColorToRgb(bevel->LightColor()), dark = ColorToRgb(bevel->ShadowColor());
    BevelEdges(p, type, outline, body, half, corner, bw, style == sbOffset ? light : dark,
               style == sbOffset ? dark : light);
  }
  p.restore();
}
