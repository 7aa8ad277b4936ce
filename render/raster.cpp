#include "render/raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace render {

namespace {

using i64 = std::int64_t;
using i128 = __int128;

constexpr i64 kLimit = i64(1) << 30;

inline i64 clamp_coord(i64 v) { return v < -kLimit ? -kLimit : (v > kLimit ? kLimit : v); }
inline Point clamp_point(Point p) {
  return {std::int32_t(clamp_coord(p.x)), std::int32_t(clamp_coord(p.y))};
}

// Floor division for a positive divisor.
inline i64 floor_div(i64 a, i64 b) {
  i64 q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}
inline i64 floor_div128(i128 a, i64 b) {
  i128 q = a / b;
  if (a % b != 0 && a < 0) --q;
  return i64(q);
}

// Exact x of an edge at successive rows, as floor plus remainder:
// x(y) = xa + (y - ya) (xb - xa) / (yb - ya), with yb > ya.
struct EdgeStep {
  i64 x = 0, r = 0, den = 1, sq = 0, sr = 0;

  void start(i64 xa, i64 ya, i64 xb, i64 yb, i64 y) {
    den = yb - ya;
    i64 dx = xb - xa;
    if (y == ya) {
      x = xa;
      r = 0;
    } else {
      i64 num = (y - ya) * dx;  // |y - ya| <= 2^31 and |dx| <= 2^31
      i64 q = floor_div(num, den);
      x = xa + q;
      r = num - q * den;
    }
    if (dx >= 0 && dx < den) {
      sq = 0;
      sr = dx;
    } else if (dx < 0 && -dx <= den) {
      sq = -1;
      sr = dx + den;
    } else {
      sq = floor_div(dx, den);
      sr = dx - sq * den;
    }
  }
  // Smallest integer >= the exact x.
  i64 ceil() const { return x + (r != 0); }
  void next() {
    x += sq;
    r += sr;
    if (r >= den) {
      r -= den;
      ++x;
    }
  }
};

// Interior spans of a triangle, for the rows of 0..height-1 it touches:
// emit(y, first, last) with first > last for an empty row.
template <class Emit>
inline void scan_interior(int height, Point p0, Point p1, Point p2, Emit&& emit) {
  if (p1.y < p0.y) std::swap(p0, p1);
  if (p2.y < p1.y) std::swap(p1, p2);
  if (p1.y < p0.y) std::swap(p0, p1);
  const i64 cross = (i64(p1.x) - p0.x) * (i64(p2.y) - p0.y) - (i64(p1.y) - p0.y) * (i64(p2.x) - p0.x);
  if (cross == 0) return;
  const bool long_left = cross > 0;
  i64 y = p0.y < 0 ? 0 : p0.y;
  const i64 y_end = std::min<i64>(p2.y, height);  // rows y < y_end
  if (y >= y_end) return;
  EdgeStep lng, sht;
  lng.start(p0.x, p0.y, p2.x, p2.y, y);
  // Upper part: rows p0.y .. p1.y - 1 against the edge p0 -> p1.
  const i64 y_mid = std::min<i64>(p1.y, y_end);
  if (y < y_mid) {
    sht.start(p0.x, p0.y, p1.x, p1.y, y);
    for (; y < y_mid; ++y) {
      if (long_left)
        emit(y, lng.ceil(), sht.ceil() - 1);
      else
        emit(y, sht.ceil(), lng.ceil() - 1);
      lng.next();
      sht.next();
    }
  }
  if (y < y_end) {
    sht.start(p1.x, p1.y, p2.x, p2.y, y);
    for (; y < y_end; ++y) {
      if (long_left)
        emit(y, lng.ceil(), sht.ceil() - 1);
      else
        emit(y, sht.ceil(), lng.ceil() - 1);
      lng.next();
      sht.next();
    }
  }
}

// Visits the pixels of the line a-b (both end points included; the set does not
// depend on the direction) that lie in columns xmin..xmax and rows ymin..ymax:
// visit_run(y, x0, x1) for each row of a mostly horizontal line, visit(x, y)
// for each pixel of a mostly vertical one.
template <class VisitRun, class Visit>
inline void walk_line(Point a, Point b, i64 xmin, i64 xmax, i64 ymin, i64 ymax, VisitRun&& visit_run,
                      Visit&& visit) {
  i64 adx = std::abs(i64(b.x) - a.x), ady = std::abs(i64(b.y) - a.y);
  if (adx >= ady) {
    if (b.x < a.x) std::swap(a, b);
    const i64 dx = i64(b.x) - a.x, dy = i64(b.y) - a.y;
    i64 xs = std::max<i64>(a.x, xmin), xe = std::min<i64>(b.x, xmax);
    if (xs > xe) return;
    if (dx == 0) {
      if (a.y >= ymin && a.y <= ymax) visit_run(i64(a.y), i64(a.x), i64(a.x));
      return;
    }
    // y(x) = a.y + floor((2 (x - a.x) dy + dx) / (2 dx))
    const i64 two_dx = 2 * dx;
    i64 k = 0, rem = dx;  // at x = a.x
    if (xs != a.x) {
      const i128 num = i128(2) * i128(xs - a.x) * dy + dx;
      k = floor_div128(num, two_dx);
      rem = i64(num - i128(k) * two_dx);
    }
    i64 y = a.y + k;
    const i64 step = 2 * dy;
    // Runs of equal y.
    i64 run_start = xs;
    for (i64 x = xs; x <= xe; ++x) {
      rem += step;
      bool change;
      if (dy >= 0) {
        change = rem >= two_dx;
        if (change) rem -= two_dx;
      } else {
        change = rem < 0;
        if (change) rem += two_dx;
      }
      if (change || x == xe) {
        if (y >= ymin && y <= ymax)
          visit_run(y, run_start, x);
        else if ((dy >= 0 && y > ymax) || (dy < 0 && y < ymin))
          return;
        y += dy >= 0 ? 1 : -1;
        run_start = x + 1;
      }
    }
  } else {
    if (b.y < a.y) std::swap(a, b);
    const i64 dx = i64(b.x) - a.x, dy = i64(b.y) - a.y;
    i64 ys = std::max<i64>(a.y, ymin), ye = std::min<i64>(b.y, ymax);
    if (ys > ye) return;
    const i64 two_dy = 2 * dy;
    i64 k = 0, rem = dy;  // at y = a.y
    if (ys != a.y) {
      const i128 num = i128(2) * i128(ys - a.y) * dx + dy;
      k = floor_div128(num, two_dy);
      rem = i64(num - i128(k) * two_dy);
    }
    i64 x = a.x + k;
    const i64 step = 2 * dx;
    for (i64 y = ys; y <= ye; ++y) {
      if (x >= xmin && x <= xmax)
        visit(x, y);
      else if ((dx >= 0 && x > xmax) || (dx < 0 && x < xmin))
        return;
      rem += step;
      if (dx >= 0) {
        if (rem >= two_dy) {
          rem -= two_dy;
          ++x;
        }
      } else if (rem < 0) {
        rem += two_dy;
        --x;
      }
    }
  }
}

template <class T>
inline void fill_span(Surface<T> s, i64 y, i64 x0, i64 x1, T colour) {
  if (x0 < 0) x0 = 0;
  if (x1 >= s.width) x1 = s.width - 1;
  if (x0 > x1) return;
  std::fill_n(s.row(int(y)) + x0, x1 - x0 + 1, colour);
}

// Pixels of a line of the given width: each pixel of the thin line plus its
// neighbours -(w - 1) / 2 .. w / 2 along the minor axis.
template <class T>
void thick_line(Surface<T> s, Point a, Point b, int width, T colour, bool skip_b) {
  if (width < 1) width = 1;
  const i64 lo = -(i64(width) - 1) / 2, hi = width / 2;
  walk_line(
      a, b, -hi, i64(s.width) - 1 - lo, -hi, i64(s.height) - 1 - lo,
      [&](i64 y, i64 x0, i64 x1) {
        if (skip_b && y == b.y && x1 == b.x) --x1;
        if (skip_b && y == b.y && x0 == b.x) ++x0;
        for (i64 k = lo; k <= hi; ++k)
          if (y + k >= 0 && y + k < s.height) fill_span(s, y + k, x0, x1, colour);
      },
      [&](i64 x, i64 y) {
        if (skip_b && x == b.x && y == b.y) return;
        if (y >= 0 && y < s.height) fill_span(s, y, x + lo, x + hi, colour);
      });
}

// Line pixels of a short edge as bits of rows relative to (x0, y0) (the same
// pixels as walk_line).
__attribute__((always_inline)) inline void small_edge(Point p, Point q, int extra, int x0, int y0,
                                                      std::uint32_t* rows) {
  int dx = q.x - p.x, dy = q.y - p.y;
  if ((dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy)) {
    if (dx < 0) {
      std::swap(p, q);
      dx = -dx;
      dy = -dy;
    }
    int rem = dx, y = p.y - y0;
    const int two = 2 * dx, step = 2 * dy;
    for (int x = p.x - x0; x <= q.x - x0; ++x) {
      const std::uint32_t bit = 1u << x;
      rows[y] |= bit;
      rows[y + extra] |= bit;
      rem += step;
      if (rem >= two) {
        rem -= two;
        ++y;
      } else if (rem < 0) {
        rem += two;
        --y;
      }
    }
  } else {
    if (dy < 0) {
      std::swap(p, q);
      dx = -dx;
      dy = -dy;
    }
    int rem = dy, x = p.x - x0;
    const int two = 2 * dy, step = 2 * dx;
    const std::uint32_t pair = extra ? 3u : 1u;
    for (int y = p.y - y0; y <= q.y - y0; ++y) {
      rows[y] |= pair << x;
      rem += step;
      if (rem >= two) {
        rem -= two;
        ++x;
      } else if (rem < 0) {
        rem += two;
        --x;
      }
    }
  }
}

// Outline-mode coverage of a triangle whose box spans at most 10 x 10 pixels
// inside the surface, as one bit per pixel of each row relative to (x0, y0).
// Same rule as the general path: exact edge functions for the interior, the
// line pixels for the edges.
inline void small_outline(Point a, Point b, Point c, int extra, int x0, int y0, int x1, int y1, std::uint32_t* rows,
                          bool edges = true) {
  const int area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
  if (area != 0) {
    if (area < 0) std::swap(b, c);
    const Point v[3] = {a, b, c};
    int ex[3], ey[3], bias[3], e[3];
    for (int k = 0; k < 3; ++k) {
      const Point w = v[k == 2 ? 0 : k + 1];
      ex[k] = w.x - v[k].x;
      ey[k] = w.y - v[k].y;
      bias[k] = (ey[k] < 0 || (ey[k] == 0 && ex[k] > 0)) ? 0 : 1;  // e >= bias
      e[k] = ex[k] * (y0 - v[k].y) - ey[k] * (x0 - v[k].x) - bias[k];
    }
    for (int y = y0; y <= y1; ++y) {
      int e0 = e[0], e1 = e[1], e2 = e[2];
      std::uint32_t bits = 0;
      for (int x = 0; x <= x1 - x0; ++x) {
        bits |= std::uint32_t((e0 | e1 | e2) >= 0) << x;
        e0 -= ey[0];
        e1 -= ey[1];
        e2 -= ey[2];
      }
      rows[y - y0] |= bits;
      e[0] += ex[0];
      e[1] += ex[1];
      e[2] += ex[2];
    }
  }
  if (!edges) return;
  small_edge(a, b, extra, x0, y0, rows);
  small_edge(b, c, extra, x0, y0, rows);
  small_edge(c, a, extra, x0, y0, rows);
}

// Coverage of every triangle whose vertices lie on a 4 x 4 grid, in each mode
// (index 0 interior only, 1 and 2 outline widths 1 and 2): five rows of five
// bits each, packed into 25 bits. Most facets of a large terrain are such
// triangles.
struct TinyTable {
  std::uint32_t masks[3][4096];
  // Out of line, so that the fills, which read the table, do not save every
  // register for its construction at each call.
  [[gnu::noinline]] TinyTable() {
    for (int mode = 0; mode <= 2; ++mode) {
      const int extra = mode == 2 ? 1 : 0;
      for (int key = 0; key < 4096; ++key) {
        const Point a{(key >> 10) & 3, (key >> 8) & 3}, b{(key >> 6) & 3, (key >> 4) & 3}, c{(key >> 2) & 3, key & 3};
        std::uint32_t rows[11] = {};
        small_outline(a, b, c, extra, 0, 0, std::max({a.x, b.x, c.x}), std::max({a.y, b.y, c.y}), rows, mode > 0);
        std::uint32_t m = 0;
        for (int r = 0; r < 5; ++r) m |= rows[r] << (5 * r);
        masks[mode][key] = m;
      }
    }
  }
};

inline const TinyTable& tiny_table() {
  static const TinyTable t;
  return t;
}

// The table's key of a tiny triangle whose box starts at (x0, y0).
inline int tiny_key(Point a, Point b, Point c, int x0, int y0) {
  return ((a.x - x0) << 10) | ((a.y - y0) << 8) | ((b.x - x0) << 6) | ((b.y - y0) << 4) | ((c.x - x0) << 2) |
         (c.y - y0);
}

// Fills one row of a tiny triangle's mask: `bits`, not 0, are its pixels from x0.
template <class T>
inline void fill_mask_row(T* row, int x0, std::uint32_t bits, T value) {
  const int first = __builtin_ctz(bits), last = 31 - __builtin_clz(bits);
  std::fill_n(row + x0 + first, last - first + 1, value);
}

// Per-row extents of the outline modes (reused between calls).
thread_local std::vector<std::int32_t> t_extent;

}  // namespace

template <class T>
void fill_triangle(Surface<T> s, Point a, Point b, Point c, Contour mode, T fill, T outline) {
  if (s.width <= 0 || s.height <= 0) return;
  a = clamp_point(a);
  b = clamp_point(b);
  c = clamp_point(c);
  const i64 min_x = std::min({a.x, b.x, c.x}), max_x = std::max({a.x, b.x, c.x});
  const i64 min_y = std::min({a.y, b.y, c.y}), max_y = std::max({a.y, b.y, c.y});
  const int extra = mode == Contour::double_ ? 1 : 0;
  if (max_x + extra < 0 || max_y + extra < 0 || min_x >= s.width || min_y >= s.height) return;
  // Tiny triangles inside the surface: one table look-up.
  if ((mode == Contour::aucun || fill == outline) && max_x - min_x <= 3 && max_y - min_y <= 3 && min_x >= 0 && min_y >= 0 && max_x + extra < s.width &&
      max_y + extra < s.height) {
    const int x0 = int(min_x), y0 = int(min_y);
    std::uint32_t m = tiny_table().masks[int(mode)][tiny_key(a, b, c, x0, y0)];
    for (int y = y0; m != 0; ++y, m >>= 5)
      if (const std::uint32_t bits = m & 31u) fill_mask_row(s.row(y), x0, bits, fill);
    return;
  }

  if (mode == Contour::aucun) {
    scan_interior(s.height, a, b, c, [&](i64 y, i64 x0, i64 x1) { fill_span(s, y, x0, x1, fill); });
    return;
  }
  if (!(fill == outline)) {
    scan_interior(s.height, a, b, c, [&](i64 y, i64 x0, i64 x1) { fill_span(s, y, x0, x1, fill); });
    const int w = mode == Contour::double_ ? 2 : 1;
    thick_line(s, a, b, w, outline, false);
    thick_line(s, b, c, w, outline, false);
    thick_line(s, c, a, w, outline, false);
    return;
  }

  // Same colour: the union of interior and outline is one span per row.
  if (max_x - min_x <= 9 && max_y - min_y <= 9 && min_x >= 0 && min_y >= 0 && max_x + extra < s.width &&
      max_y + extra < s.height) {
    std::uint32_t rows[11] = {};
    small_outline(a, b, c, extra, int(min_x), int(min_y), int(max_x), int(max_y), rows);
    for (i64 k = 0; k <= max_y - min_y + extra; ++k) {
      if (!rows[k]) continue;
      const int first = __builtin_ctz(rows[k]), last = 31 - __builtin_clz(rows[k]);
      std::fill_n(s.row(int(min_y + k)) + min_x + first, last - first + 1, fill);
    }
    return;
  }
  const i64 r0 = std::max<i64>(min_y, 0);
  const i64 r1 = std::min<i64>(max_y + extra, s.height - 1);
  const std::size_t rows = std::size_t(r1 - r0 + 1);
  std::int32_t small[2 * 64];
  std::int32_t* lo = small;
  if (rows > 64) {
    if (t_extent.size() < 2 * rows) t_extent.resize(2 * rows);
    lo = t_extent.data();
  }
  std::int32_t* hi = lo + rows;
  for (std::size_t k = 0; k < rows; ++k) {
    lo[k] = s.width;
    hi[k] = -1;
  }
  const i64 wmax = s.width - 1;
  auto mark = [&](i64 y, i64 x0, i64 x1) {
    if (x0 > x1 || x1 < 0 || x0 > wmax) return;
    const std::size_t k = std::size_t(y - r0);
    if (x0 < lo[k]) lo[k] = std::int32_t(x0 < 0 ? 0 : x0);
    if (x1 > hi[k]) hi[k] = std::int32_t(x1 > wmax ? wmax : x1);
  };
  scan_interior(s.height, a, b, c, mark);
  auto edge = [&](Point p, Point q) {
    walk_line(
        p, q, -extra, wmax, r0 - extra, r1,
        [&](i64 y, i64 x0, i64 x1) {
          if (y >= r0) mark(y, x0, x1);
          if (extra && y + 1 <= r1) mark(y + 1, x0, x1);
        },
        [&](i64 x, i64 y) {
          if (y >= r0) mark(y, x, x + extra);
        });
  };
  edge(a, b);
  edge(b, c);
  edge(c, a);
  for (std::size_t k = 0; k < rows; ++k)
    if (lo[k] <= hi[k]) std::fill_n(s.row(int(r0 + i64(k))) + lo[k], hi[k] - lo[k] + 1, fill);
}

void fill_triangle_depth(Surface<Pixel> s, Surface<std::int32_t> depth, Point a, Point b, Point c, Pixel colour,
                         std::int32_t value) {
  // The tiny triangles inside the surfaces take the table's path in both
  // fills, under the same conditions: their two masks come from one key.
  if (s.width > 0 && s.height > 0 && depth.width == s.width && depth.height == s.height) {
    const Point ca = clamp_point(a), cb = clamp_point(b), cc = clamp_point(c);
    const int min_x = std::min({ca.x, cb.x, cc.x}), max_x = std::max({ca.x, cb.x, cc.x});
    const int min_y = std::min({ca.y, cb.y, cc.y}), max_y = std::max({ca.y, cb.y, cc.y});
    if (max_x - min_x <= 3 && max_y - min_y <= 3 && min_x >= 0 && min_y >= 0 && max_x < s.width &&
        max_y < s.height) {
      const int key = tiny_key(ca, cb, cc, min_x, min_y);
      const TinyTable& t = tiny_table();
      std::uint32_t m = t.masks[int(Contour::simple)][key], d = t.masks[int(Contour::aucun)][key];
      for (int y = min_y; m != 0; ++y, m >>= 5, d >>= 5) {
        if (const std::uint32_t bits = m & 31u) fill_mask_row(s.row(y), min_x, bits, colour);
        if (const std::uint32_t bits = d & 31u) fill_mask_row(depth.row(y), min_x, bits, value);
      }
      return;
    }
  }
  fill_triangle(s, a, b, c, Contour::simple, colour, colour);
  fill_triangle(depth, a, b, c, Contour::aucun, value, value);
}

template <class T>
void draw_line(Surface<T> s, Point from, Point to, int width, T colour) {
  if (s.width <= 0 || s.height <= 0) return;
  thick_line(s, clamp_point(from), clamp_point(to), width, colour, true);
}

template <class T>
void fill_rect(Surface<T> s, i64 x1, i64 y1, i64 x2, i64 y2, T colour) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  x1 = std::max<i64>(x1, 0);
  y1 = std::max<i64>(y1, 0);
  x2 = std::min<i64>(x2, s.width);
  y2 = std::min<i64>(y2, s.height);
  if (x1 >= x2) return;
  for (i64 y = y1; y < y2; ++y) std::fill_n(s.row(int(y)) + x1, x2 - x1, colour);
}

template <class T>
void fill_ellipse(Surface<T> s, i64 x1, i64 y1, i64 x2, i64 y2, T colour) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  x1 = clamp_coord(x1);
  x2 = clamp_coord(x2);
  y1 = clamp_coord(y1);
  y2 = clamp_coord(y2);
  const i64 w = x2 - x1, h = y2 - y1;
  if (w <= 0 || h <= 0) return;
  // With twice the offsets from the centre, u = 2x - (x1 + x2 - 1) and
  // v = 2y - (y1 + y2 - 1), a centre is inside when u^2 h^2 + v^2 w^2 <= w^2 h^2.
  const i64 cu = x1 + x2 - 1, cv = y1 + y2 - 1;
  const i128 w2 = i128(w) * w, h2 = i128(h) * h;
  const i64 ys = std::max<i64>(y1, 0), ye = std::min<i64>(y2, s.height);
  for (i64 y = ys; y < ye; ++y) {
    const i64 v = 2 * y - cv;
    const i128 m = w2 * (h2 - i128(v) * v);  // u^2 h^2 <= m
    if (m < 0) continue;
    i64 u = i64(std::sqrt(double(m) / double(h2)));
    while (u > 0 && i128(u) * u * h2 > m) --u;
    while (i128(u + 1) * (u + 1) * h2 <= m) ++u;
    // Columns with |2x - cu| <= u.
    const i64 xa = -floor_div(u - cu, 2);  // ceil((cu - u) / 2)
    const i64 xb = floor_div(cu + u, 2);
    fill_span(s, y, std::max(xa, x1), std::min(xb, x2 - 1), colour);
  }
}

template <class T>
std::optional<T> read_pixel(Surface<const T> s, i64 x, i64 y) {
  if (x < 0 || y < 0 || x >= s.width || y >= s.height) return std::nullopt;
  return s.row(int(y))[x];
}

template <class T>
void copy_rect(Surface<T> dst, i64 dx, i64 dy, Surface<const T> src, i64 sx, i64 sy, i64 w, i64 h) {
  if (w <= 0 || h <= 0) return;
  // Clip against the source, then the destination.
  if (sx < 0) { dx -= sx; w += sx; sx = 0; }
  if (sy < 0) { dy -= sy; h += sy; sy = 0; }
  w = std::min<i64>(w, src.width - sx);
  h = std::min<i64>(h, src.height - sy);
  if (dx < 0) { sx -= dx; w += dx; dx = 0; }
  if (dy < 0) { sy -= dy; h += dy; dy = 0; }
  w = std::min<i64>(w, dst.width - dx);
  h = std::min<i64>(h, dst.height - dy);
  if (w <= 0 || h <= 0) return;
  for (i64 k = 0; k < h; ++k) std::copy_n(src.row(int(sy + k)) + sx, w, dst.row(int(dy + k)) + dx);
}

template <class T>
void stretch(Surface<T> dst, i64 x1, i64 y1, i64 x2, i64 y2, Surface<const T> src) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  x1 = clamp_coord(x1);
  x2 = clamp_coord(x2);
  y1 = clamp_coord(y1);
  y2 = clamp_coord(y2);
  const i64 dw = x2 - x1, dh = y2 - y1;
  if (dw <= 0 || dh <= 0 || src.width <= 0 || src.height <= 0) return;
  const i64 xs = std::max<i64>(x1, 0), xe = std::min<i64>(x2, dst.width);
  const i64 ys = std::max<i64>(y1, 0), ye = std::min<i64>(y2, dst.height);
  if (xs >= xe) return;
  thread_local std::vector<std::int32_t> columns;
  columns.resize(std::size_t(xe - xs));
  for (i64 x = xs; x < xe; ++x) columns[std::size_t(x - xs)] = std::int32_t((2 * (x - x1) + 1) * i64(src.width) / (2 * dw));
  for (i64 y = ys; y < ye; ++y) {
    const T* in = src.row(int((2 * (y - y1) + 1) * i64(src.height) / (2 * dh)));
    T* out = dst.row(int(y));
    for (i64 x = xs; x < xe; ++x) out[x] = in[columns[std::size_t(x - xs)]];
  }
}

#define QUORVEL_RASTER_INSTANCES(T)                                                                    \
  template void fill_triangle<T>(Surface<T>, Point, Point, Point, Contour, T, T);                     \
  template void draw_line<T>(Surface<T>, Point, Point, int, T);                                        \
  template void fill_rect<T>(Surface<T>, i64, i64, i64, i64, T);                                       \
  template void fill_ellipse<T>(Surface<T>, i64, i64, i64, i64, T);                                    \
  template std::optional<T> read_pixel<T>(Surface<const T>, i64, i64);                                 \
  template void copy_rect<T>(Surface<T>, i64, i64, Surface<const T>, i64, i64, i64, i64);              \
  template void stretch<T>(Surface<T>, i64, i64, i64, i64, Surface<const T>);

QUORVEL_RASTER_INSTANCES(Pixel)
QUORVEL_RASTER_INSTANCES(std::uint8_t)
QUORVEL_RASTER_INSTANCES(std::int32_t)

void BitmapMapCanvas::set_pen(Rgb colour, int width) {
  colour_ = pixel_of(colour);
  width_ = width < 1 ? 1 : width;
}

void BitmapMapCanvas::move_to(int x, int y) { position_ = {x, y}; }

void BitmapMapCanvas::line_to(int x, int y) {
  draw_line(picture_.surface(), position_, Point{x, y}, width_, colour_);
  position_ = {x, y};
}

}  // namespace render
