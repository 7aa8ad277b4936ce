// Wide lines, small polygons and ellipse outlines of the raster layer.
#include <algorithm>
#include <cmath>

#include "render/raster.h"

namespace render {

namespace {

using i64 = std::int64_t;
constexpr i64 kLimit = i64(1) << 30;
inline i64 borne(i64 v) { return v < -kLimit ? -kLimit : (v > kLimit ? kLimit : v); }

template <class T>
inline void span(Surface<T> s, i64 y, i64 x0, i64 x1, T colour) {
  if (y < 0 || y >= s.height) return;
  if (x0 < 0) x0 = 0;
  if (x1 >= s.width) x1 = s.width - 1;
  if (x0 > x1) return;
  std::fill_n(s.row(int(y)) + x0, x1 - x0 + 1, colour);
}

// Intersects [lo, hi] with the x solving lo_c <= k x + m <= hi_c.
inline void contrainte(double k, double m, double lo_c, double hi_c, double& lo, double& hi) {
  if (k == 0.0) {
    if (m < lo_c || m > hi_c) {
      lo = 1.0;
      hi = 0.0;
    }
    return;
  }
  double a = (lo_c - m) / k, b = (hi_c - m) / k;
  if (a > b) std::swap(a, b);
  lo = std::max(lo, a);
  hi = std::min(hi, b);
}

// Ellipse membership in the fill's terms: centre offsets doubled.
struct Ellipse {
  double cu, cv, w2, h2, w2h2;
  bool vide;
  Ellipse(i64 x1, i64 y1, i64 x2, i64 y2) {
    const double w = double(x2 - x1), h = double(y2 - y1);
    vide = w <= 0 || h <= 0;
    cu = double(x1 + x2 - 1);
    cv = double(y1 + y2 - 1);
    w2 = w * w;
    h2 = h * h;
    w2h2 = w2 * h2;
  }
  // The half-width (in doubled units) of row y, or a negative value.
  double demi(i64 y) const {
    const double v = 2.0 * double(y) - cv;
    const double m = w2 * (h2 - v * v);
    if (vide || m < 0) return -1.0;
    return std::sqrt(m / h2);
  }
};

}  // namespace

template <class T>
void draw_wide_line(Surface<T> s, Point a, Point b, int width, T colour) {
  if (width <= 1) {
    draw_line(s, a, b, 1, colour);
    return;
  }
  const double ax = double(borne(a.x)), ay = double(borne(a.y)), bx = double(borne(b.x)), by = double(borne(b.y));
  const double r = width / 2.0;
  const double dx = bx - ax, dy = by - ay, L = std::sqrt(dx * dx + dy * dy);
  const i64 y0 = std::max<i64>(0, i64(std::ceil(std::min(ay, by) - r)));
  const i64 y1 = std::min<i64>(s.height - 1, i64(std::floor(std::max(ay, by) + r)));
  for (i64 y = y0; y <= y1; ++y) {
    double lo = 1e300, hi = -1e300;
    auto disque = [&](double cx, double cy) {
      const double e = double(y) - cy;
      if (std::abs(e) > r) return;
      const double q = std::sqrt(r * r - e * e);
      lo = std::min(lo, cx - q);
      hi = std::max(hi, cx + q);
    };
    disque(ax, ay);
    disque(bx, by);
    if (L > 0) {
      const double ux = dx / L, uy = dy / L;
      double l = -1e300, h = 1e300;
      // Along the normal (-uy, ux) within r, along the direction within 0..L.
      contrainte(-uy, ux * (double(y) - ay) + uy * ax, -r, r, l, h);
      contrainte(ux, uy * (double(y) - ay) - ux * ax, 0.0, L, l, h);
      if (l <= h) {
        lo = std::min(lo, l);
        hi = std::max(hi, h);
      }
    }
    if (lo > hi) continue;
    span(s, y, i64(std::ceil(lo)), i64(std::floor(hi)), colour);
  }
}

template <class T>
void fill_polygon(Surface<T> s, const Point* p, int count, T colour) {
  if (count < 3) return;
  count = std::min(count, 5);
  i64 ymin = kLimit, ymax = -kLimit;
  double x[5], y[5];
  for (int k = 0; k < count; ++k) {
    x[k] = double(borne(p[k].x));
    y[k] = double(borne(p[k].y));
    ymin = std::min<i64>(ymin, i64(y[k]));
    ymax = std::max<i64>(ymax, i64(y[k]));
  }
  ymin = std::max<i64>(ymin, 0);
  ymax = std::min<i64>(ymax, s.height - 1);
  for (i64 row = ymin; row <= ymax; ++row) {
    const double yc = double(row);
    double cut[5];
    int n = 0;
    for (int k = 0; k < count; ++k) {
      const int m = (k + 1) % count;
      double ya = y[k], yb = y[m], xa = x[k], xb = x[m];
      if (ya == yb) continue;
      if (ya > yb) {
        std::swap(ya, yb);
        std::swap(xa, xb);
      }
      if (yc < ya || yc >= yb) continue;
      cut[n++] = xa + (xb - xa) * (yc - ya) / (yb - ya);
    }
    for (int a = 1; a < n; ++a)
      for (int b = a; b > 0 && cut[b] < cut[b - 1]; --b) std::swap(cut[b], cut[b - 1]);
    for (int k = 0; k + 1 < n; k += 2) span(s, row, i64(std::ceil(cut[k])), i64(std::ceil(cut[k + 1])) - 1, colour);
  }
}

template <class T>
void outline_polygon(Surface<T> s, const Point* p, int count, int width, T colour) {
  if (count < 2) return;
  count = std::min(count, 5);
  for (int k = 0; k < count; ++k) {
    const Point a = p[k], b = p[(k + 1) % count];
    if (width <= 1) {
      draw_line(s, a, b, 1, colour);
      if (s.contains(b.x, b.y)) s.row(b.y)[b.x] = colour;
    } else {
      draw_wide_line(s, a, b, width, colour);
    }
  }
}

template <class T>
void outline_ellipse(Surface<T> s, i64 x1, i64 y1, i64 x2, i64 y2, int width, T colour) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  x1 = borne(x1);
  x2 = borne(x2);
  y1 = borne(y1);
  y2 = borne(y2);
  if (width < 1) width = 1;
  const i64 dehors = (width - 1) / 2, dedans = width - dehors;
  const Ellipse ext(x1 - dehors, y1 - dehors, x2 + dehors, y2 + dehors);
  const Ellipse in(x1 + dedans, y1 + dedans, x2 - dedans, y2 - dedans);
  if (ext.vide) return;
  const i64 ys = std::max<i64>(y1 - dehors, 0), ye = std::min<i64>(y2 + dehors, s.height);
  for (i64 y = ys; y < ye; ++y) {
    const double u = ext.demi(y);
    if (u < 0) continue;
    const i64 xa = i64(std::ceil((ext.cu - u) / 2.0)), xb = i64(std::floor((ext.cu + u) / 2.0));
    const double v = in.demi(y);
    if (v < 0) {
      span(s, y, xa, xb, colour);
      continue;
    }
    const i64 ia = i64(std::ceil((in.cu - v) / 2.0)), ib = i64(std::floor((in.cu + v) / 2.0));
    span(s, y, xa, std::min(xb, ia - 1), colour);
    span(s, y, std::max(xa, ib + 1), xb, colour);
  }
}

#define QUORVEL_FORMES(T)                                                            \
  template void draw_wide_line<T>(Surface<T>, Point, Point, int, T);                 \
  template void fill_polygon<T>(Surface<T>, const Point*, int, T);                   \
  template void outline_polygon<T>(Surface<T>, const Point*, int, int, T);           \
  template void outline_ellipse<T>(Surface<T>, i64, i64, i64, i64, int, T);

QUORVEL_FORMES(Pixel)
QUORVEL_FORMES(std::uint8_t)

}  // namespace render
