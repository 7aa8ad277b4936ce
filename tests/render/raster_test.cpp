#include "render/raster.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace render;

namespace {

using i64 = std::int64_t;

// Pixels of the line a-b with both ends, computed per pixel of the major axis.
std::set<std::pair<i64, i64>> line_pixels(Point a, Point b) {
  std::set<std::pair<i64, i64>> out;
  i64 dx = i64(b.x) - a.x, dy = i64(b.y) - a.y;
  if (std::abs(dx) >= std::abs(dy)) {
    if (dx < 0) { std::swap(a, b); dx = -dx; dy = -dy; }
    if (dx == 0) { out.insert({a.x, a.y}); return out; }
    for (i64 t = 0; t <= dx; ++t) {
      i64 n = 2 * t * dy + dx, d = 2 * dx;
      i64 k = n >= 0 ? n / d : -((-n + d - 1) / d);
      out.insert({a.x + t, a.y + k});
    }
  } else {
    if (dy < 0) { std::swap(a, b); dx = -dx; dy = -dy; }
    for (i64 t = 0; t <= dy; ++t) {
      i64 n = 2 * t * dx + dy, d = 2 * dy;
      i64 k = n >= 0 ? n / d : -((-n + d - 1) / d);
      out.insert({a.x + k, a.y + t});
    }
  }
  return out;
}

// Interior coverage from exact edge functions, tested at every pixel of the box.
Mask8 interior_oracle(int w, int h, Point a, Point b, Point c) {
  Mask8 m(w, h, 0);
  i64 area = i64(b.x - a.x) * (c.y - a.y) - i64(b.y - a.y) * (c.x - a.x);
  if (area == 0) return m;
  if (area < 0) std::swap(b, c);
  Point v[3] = {a, b, c};
  i64 ex[3], ey[3];
  bool inclusive[3];
  for (int k = 0; k < 3; ++k) {
    ex[k] = i64(v[(k + 1) % 3].x) - v[k].x;
    ey[k] = i64(v[(k + 1) % 3].y) - v[k].y;
    inclusive[k] = ey[k] < 0 || (ey[k] == 0 && ex[k] > 0);
  }
  // Nothing outside the bounding box can be covered.
  int x0 = std::max(0, std::min({a.x, b.x, c.x})), x1 = std::min(w - 1, std::max({a.x, b.x, c.x}));
  int y0 = std::max(0, std::min({a.y, b.y, c.y})), y1 = std::min(h - 1, std::max({a.y, b.y, c.y}));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      bool in = true;
      for (int k = 0; k < 3 && in; ++k) {
        i64 e = ex[k] * (y - v[k].y) - ey[k] * (x - v[k].x);
        in = e > 0 || (e == 0 && inclusive[k]);
      }
      if (in) m.at(x, y) = 1;
    }
  return m;
}

Mask8 oracle(const Mask8& inside, Point a, Point b, Point c, Contour mode) {
  Mask8 m = inside;
  const int w = m.width(), h = m.height();
  if (mode != Contour::aucun) {
    for (auto [p, q] : {std::pair{a, b}, std::pair{b, c}, std::pair{c, a}}) {
      bool x_major = std::abs(i64(q.x) - p.x) >= std::abs(i64(q.y) - p.y);
      for (auto [x, y] : line_pixels(p, q)) {
        for (int k = 0; k <= (mode == Contour::double_ ? 1 : 0); ++k) {
          i64 px = x_major ? x : x + k, py = x_major ? y + k : y;
          if (px >= 0 && py >= 0 && px < w && py < h) m.at(int(px), int(py)) = 1;
        }
      }
    }
  }
  return m;
}

}  // namespace

TEST(Raster, TrianglesMatchThePerPixelRuleInEveryMode) {
  std::mt19937 gen(12345);
  std::uniform_int_distribution<int> coord(-50, 300);
  std::uniform_int_distribution<int> small(-4, 4);
  int mismatches = 0;
  for (int n = 0; n < 10000 && mismatches < 5; ++n) {
    Point a{coord(gen), coord(gen)}, b, c;
    if (n % 3 == 0) {  // many tiny triangles, as on a fine lattice
      b = {a.x + small(gen), a.y + small(gen)};
      c = {a.x + small(gen), a.y + small(gen)};
    } else {
      b = {coord(gen), coord(gen)};
      c = {coord(gen), coord(gen)};
    }
    const Mask8 inside = interior_oracle(256, 256, a, b, c);
    for (Contour mode : {Contour::aucun, Contour::simple, Contour::double_}) {
      Mask8 got(256, 256, 0);
      fill_triangle<std::uint8_t>(got.surface(), a, b, c, mode, 1);
      Mask8 want = oracle(inside, a, b, c, mode);
      if (!(got == want)) {
        ++mismatches;
        ADD_FAILURE() << "triangle (" << a.x << "," << a.y << ") (" << b.x << "," << b.y << ") (" << c.x << ","
                      << c.y << ") mode " << int(mode);
      }
    }
  }
}

TEST(Raster, EveryTinyTriangleMatchesThePerPixelRule) {
  // All triangles with vertices on a 4 x 4 grid, well inside the picture and
  // touching its right and bottom edges.
  for (int key = 0; key < 4096; ++key) {
    for (Point o : {Point{3, 2}, Point{4, 4}}) {
      const Point a{o.x + ((key >> 10) & 3), o.y + ((key >> 8) & 3)}, b{o.x + ((key >> 6) & 3), o.y + ((key >> 4) & 3)},
          c{o.x + ((key >> 2) & 3), o.y + (key & 3)};
      const Mask8 inside = interior_oracle(8, 8, a, b, c);
      for (Contour mode : {Contour::aucun, Contour::simple, Contour::double_}) {
        Mask8 got(8, 8, 0);
        fill_triangle<std::uint8_t>(got.surface(), a, b, c, mode, 1);
        ASSERT_EQ(got, oracle(inside, a, b, c, mode)) << key << " mode " << int(mode) << " at " << o.x;
      }
    }
  }
}

// A land facet over the occupancy buffer: the joint fill paints exactly the
// two fills, tiny triangles (every one on a 4 x 4 grid, at the surface's
// corners too), larger ones, ones across the edges, and a depth buffer of
// another size.
TEST(Raster, FacetAndDepthFillIsTheTwoFills) {
  auto comparer = [](int w, int h, int dw, int dh, Point a, Point b, Point c) {
    Bitmap image(w, h, pixel_rgb(1, 2, 3)), attendue = image;
    DepthBuffer profondeur(dw, dh, 7), attendu = profondeur;
    fill_triangle_depth(image.surface(), profondeur.surface(), a, b, c, pixel_rgb(200, 100, 50), 1234);
    fill_triangle(attendue.surface(), a, b, c, Contour::simple, pixel_rgb(200, 100, 50));
    fill_triangle(attendu.surface(), a, b, c, Contour::aucun, 1234);
    return image == attendue && profondeur == attendu;
  };
  for (Point o : {Point{0, 0}, Point{6, 3}, Point{8, 8}})
    for (int key = 0; key < 4096; ++key) {
      const Point a{o.x + ((key >> 10) & 3), o.y + ((key >> 8) & 3)}, b{o.x + ((key >> 6) & 3), o.y + ((key >> 4) & 3)},
          c{o.x + ((key >> 2) & 3), o.y + (key & 3)};
      ASSERT_TRUE(comparer(12, 12, 12, 12, a, b, c)) << o.x << "," << o.y << " key " << key;
    }
  std::mt19937 g(5);
  std::uniform_int_distribution<int> u(-20, 60);
  for (int k = 0; k < 3000; ++k) {
    const Point a{u(g), u(g)}, b{u(g), u(g)}, c{u(g), u(g)};
    ASSERT_TRUE(comparer(40, 30, 40, 30, a, b, c)) << k;
    ASSERT_TRUE(comparer(40, 30, 20, 30, a, b, c)) << k;
  }
  EXPECT_TRUE(comparer(8, 8, 8, 8, {-5000000, 3}, {3, 2000000000}, {4, 4}));
}

TEST(Raster, DifferentOutlineColourPaintsEdgesOverTheFill) {
  Mask8 m(20, 20, 0);
  fill_triangle<std::uint8_t>(m.surface(), {2, 2}, {15, 2}, {2, 15}, Contour::simple, 1, 2);
  EXPECT_EQ(m.at(2, 2), 2);
  EXPECT_EQ(m.at(15, 2), 2);
  EXPECT_EQ(m.at(8, 2), 2);
  EXPECT_EQ(m.at(5, 5), 1);
  EXPECT_EQ(m.at(16, 2), 0);
  Mask8 same(20, 20, 0);
  fill_triangle<std::uint8_t>(same.surface(), {2, 2}, {15, 2}, {2, 15}, Contour::simple, 1);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) EXPECT_EQ(m.at(x, y) != 0, same.at(x, y) != 0);
}

TEST(Raster, LatticeCoversEveryInteriorPixelOnceAndOutlinesLeaveNoHole) {
  // A 32 x 32 cell lattice with irregular node offsets over a 200 x 200 area.
  std::mt19937 gen(7);
  std::uniform_int_distribution<int> jitter(-1, 1);  // keeps every cell convex
  const int cells = 32, step = 6;
  std::vector<Point> nodes((cells + 1) * (cells + 1));
  for (int j = 0; j <= cells; ++j)
    for (int i = 0; i <= cells; ++i) {
      bool rim = i == 0 || j == 0 || i == cells || j == cells;
      nodes[j * (cells + 1) + i] = {4 + i * step + (rim ? 0 : jitter(gen)), 4 + j * step + (rim ? 0 : jitter(gen))};
    }
  auto node = [&](int i, int j) { return nodes[j * (cells + 1) + i]; };
  DepthBuffer count(210, 210, 0);
  Mask8 outlined(210, 210, 0);
  for (int j = 0; j < cells; ++j)
    for (int i = 0; i < cells; ++i) {
      Point p = node(i, j), q = node(i + 1, j), r = node(i, j + 1), s = node(i + 1, j + 1);
      for (auto [a, b, c] : {std::tuple{p, q, r}, std::tuple{q, s, r}}) {
        Mask8 one(210, 210, 0);
        fill_triangle<std::uint8_t>(one.surface(), a, b, c, Contour::aucun, 1);
        for (int y = 0; y < 210; ++y)
          for (int x = 0; x < 210; ++x) count.at(x, y) += one.at(x, y);
        fill_triangle<std::uint8_t>(outlined.surface(), a, b, c, Contour::simple, 1);
      }
    }
  // Pixels strictly inside the lattice's outer square (top and left edges are
  // included by the rule, bottom and right are not).
  const int lo = 4, hi = 4 + cells * step;
  for (int y = lo; y < hi; ++y)
    for (int x = lo; x < hi; ++x) {
      ASSERT_EQ(count.at(x, y), 1) << x << "," << y;
      ASSERT_EQ(outlined.at(x, y), 1) << x << "," << y;
    }
  for (int x = lo; x <= hi; ++x) EXPECT_EQ(outlined.at(x, hi), 1);
}

TEST(Raster, EveryNonDegenerateOutlinedTrianglePaints) {
  std::mt19937 gen(99);
  std::uniform_int_distribution<int> c(0, 3);
  for (int n = 0; n < 2000; ++n) {
    Point a{10 + c(gen), 10 + c(gen)}, b{10 + c(gen), 10 + c(gen)}, d{10 + c(gen), 10 + c(gen)};
    Mask8 m(20, 20, 0);
    fill_triangle<std::uint8_t>(m.surface(), a, b, d, Contour::simple, 1);
    int painted = 0;
    for (auto v : m.pixels()) painted += v;
    EXPECT_GT(painted, 0);
  }
}

TEST(Raster, HugeAndOutsideCoordinatesStayInsideThePicture) {
  const int L = 1 << 30;
  Bitmap pic(64, 48, 0);
  for (Contour mode : {Contour::aucun, Contour::simple, Contour::double_}) {
    fill_triangle<Pixel>(pic.surface(), {-L, -L}, {L, -L}, {0, L}, mode, 7);
    fill_triangle<Pixel>(pic.surface(), {-L, 10}, {L, 11}, {-L, 12}, mode, 8);
    fill_triangle<Pixel>(pic.surface(), {100, 100}, {200, 100}, {150, 200}, mode, 9);  // outside
    fill_triangle<Pixel>(pic.surface(), {-10, -10}, {-1, -10}, {-5, -1}, mode, 9);
    fill_triangle<Pixel>(pic.surface(), {L + 5, 0}, {-L - 5, 3}, {INT32_MAX, INT32_MIN}, mode, 6);
  }
  for (Pixel p : pic.pixels()) EXPECT_NE(p, 9u);
  EXPECT_EQ(pic.at(20, 20), 7u);  // the first one covers the picture
  draw_line<Pixel>(pic.surface(), {-L, -L}, {L, L}, 2, 5);
  EXPECT_EQ(pic.at(10, 10), 5u);
  draw_line<Pixel>(pic.surface(), {-L, 5}, {L, 6}, 4, 4);
  fill_ellipse<Pixel>(pic.surface(), -L, -L, L, L, 3);
  EXPECT_EQ(pic.at(0, 0), 3u);
  fill_rect<Pixel>(pic.surface(), -(std::int64_t(1) << 40), 0, std::int64_t(1) << 40, 1, 2);
  EXPECT_EQ(pic.at(63, 0), 2u);
}

TEST(Raster, RectanglesNormaliseAndLeaveOutRightAndBottom) {
  Mask8 a(10, 10, 0), b(10, 10, 0);
  fill_rect<std::uint8_t>(a.surface(), 0, 6, 10, 2, 1);
  fill_rect<std::uint8_t>(b.surface(), 0, 2, 10, 6, 1);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a.at(3, 2), 1);
  EXPECT_EQ(a.at(3, 5), 1);
  EXPECT_EQ(a.at(3, 6), 0);
  Mask8 c(10, 10, 0);
  fill_rect<std::uint8_t>(c.surface(), 4, 4, 4, 8, 1);  // empty
  EXPECT_EQ(c, Mask8(10, 10, 0));
}

TEST(Raster, EllipsesCoverCentresInsideTheInscribedEllipse) {
  Mask8 m(20, 20, 0);
  fill_ellipse<std::uint8_t>(m.surface(), 2, 2, 3, 3, 1);  // 1 x 1 box
  EXPECT_EQ(m.at(2, 2), 1);
  int painted = 0;
  for (auto v : m.pixels()) painted += v;
  EXPECT_EQ(painted, 1);
  Mask8 e(20, 20, 0);
  fill_ellipse<std::uint8_t>(e.surface(), 1, 1, 11, 7, 1);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      double u = (x - 5.5) / 5.0, v = (y - 3.5) / 3.0;
      EXPECT_EQ(e.at(x, y), u * u + v * v <= 1.0 ? 1 : 0) << x << "," << y;
    }
  Mask8 none(20, 20, 0);
  fill_ellipse<std::uint8_t>(none.surface(), 5, 5, 5, 9, 1);
  fill_ellipse<std::uint8_t>(none.surface(), 5, 5, 9, 5, 1);
  EXPECT_EQ(none, Mask8(20, 20, 0));
}

TEST(Raster, LinesLeaveOutTheirLastPixelAndWidenAlongTheMinorAxis) {
  Mask8 m(10, 10, 0);
  draw_line<std::uint8_t>(m.surface(), {1, 1}, {6, 1}, 1, 1);
  EXPECT_EQ(m.at(1, 1), 1);
  EXPECT_EQ(m.at(5, 1), 1);
  EXPECT_EQ(m.at(6, 1), 0);
  Mask8 dot(10, 10, 0);
  draw_line<std::uint8_t>(dot.surface(), {3, 3}, {3, 3}, 1, 1);
  EXPECT_EQ(dot, Mask8(10, 10, 0));
  Mask8 w2(10, 10, 0);
  draw_line<std::uint8_t>(w2.surface(), {2, 1}, {2, 6}, 2, 1);  // vertical: widened in x
  EXPECT_EQ(w2.at(2, 1), 1);
  EXPECT_EQ(w2.at(3, 5), 1);
  EXPECT_EQ(w2.at(2, 6), 0);
  EXPECT_EQ(w2.at(1, 3), 0);
  Mask8 w4(10, 10, 0);
  draw_line<std::uint8_t>(w4.surface(), {1, 5}, {8, 5}, 4, 1);  // rows 4..7
  EXPECT_EQ(w4.at(3, 4) + w4.at(3, 5) + w4.at(3, 6) + w4.at(3, 7), 4);
  EXPECT_EQ(w4.at(3, 3) + w4.at(3, 8), 0);
}

TEST(Raster, ReadsCopiesAndStretchesClip) {
  Bitmap pic(4, 3, 0);
  pic.at(3, 2) = 9;
  EXPECT_EQ(read_pixel(pic.surface(), 3, 2), std::optional<Pixel>(9));
  for (auto [x, y] : {std::pair{-1, 0}, std::pair{4, 0}, std::pair{0, -1}, std::pair{0, 3}})
    EXPECT_FALSE(read_pixel(pic.surface(), x, y).has_value());

  Bitmap src(3, 3, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) src.at(x, y) = Pixel(10 * y + x + 1);
  Bitmap dst(4, 4, 0);
  const Bitmap& csrc = src;
  copy_rect(dst.surface(), -1, 2, csrc.surface(), 0, 0, 10, 10);
  EXPECT_EQ(dst.at(0, 2), 2u);  // source (1, 0)
  EXPECT_EQ(dst.at(1, 3), 13u);
  EXPECT_EQ(dst.at(0, 0), 0u);
  copy_rect(dst.surface(), 0, 0, csrc.surface(), -2, -2, 3, 3);
  EXPECT_EQ(dst.at(2, 2), 1u);
  EXPECT_EQ(dst.at(1, 1), 0u);

  Bitmap big(8, 8, 0);
  stretch(big.surface(), -3, -3, 9, 9, csrc.surface());  // 12 x 12: each source pixel 4 x 4
  EXPECT_EQ(big.at(0, 0), 1u);
  EXPECT_EQ(big.at(1, 1), 12u);
  EXPECT_EQ(big.at(7, 7), 23u);
  stretch(big.surface(), 2, 2, 2, 6, csrc.surface());  // empty
  EXPECT_EQ(big.at(2, 2), 12u);
}

TEST(Raster, MapCanvasDrawsLineToWithPenWidth) {
  Bitmap pic(10, 10, 0);
  BitmapMapCanvas canvas(pic);
  canvas.set_pen({0, 0, 255}, 2);
  canvas.move_to(1, 1);
  canvas.line_to(1, 5);
  EXPECT_EQ(pic.at(1, 1), pixel_rgb(0, 0, 255));
  EXPECT_EQ(pic.at(2, 4), pixel_rgb(0, 0, 255));
  EXPECT_EQ(pic.at(1, 5), 0u);
  canvas.set_pen({255, 255, 255}, 1);
  canvas.line_to(5, 5);
  EXPECT_EQ(pic.at(1, 5), pixel_rgb(255, 255, 255));
  EXPECT_EQ(pic.at(5, 5), 0u);
}
