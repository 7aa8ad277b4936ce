// The renderer's own raster layer: pictures of 32-bit pixels, 8-bit masks and
// int32 depth buffers, and the few drawing operations the renderer needs,
// each writing rows of pixels directly.
//
// Coverage rules (vertices are integer pixel positions, pixel (x, y) is centred
// on (x, y)):
// - Triangles, interior only (Contour::aucun): a pixel is covered when its
//   centre lies strictly inside, or exactly on a top or left edge. Two triangles
//   that share an edge never share a pixel and leave no gap between them. A
//   degenerate triangle paints nothing.
// - Triangles with an outline (Contour::simple): the interior plus every pixel
//   of the three edges drawn as lines that include both end points. With
//   Contour::double_ each edge pixel also takes its neighbour one step further
//   along the minor axis (+1). This is the "fill plus a pen of the same colour"
//   coverage: adjacent facets never show cracks and a sub-pixel facet still
//   paints its pixels.
// - Lines leave out their last pixel (a line-to). A line of width w takes, for
//   each pixel, the pixels -(w - 1) / 2 .. w / 2 along its minor axis.
// - Rectangles normalise their corners and leave out the right column and the
//   bottom row.
// - An ellipse covers the pixels whose centres lie inside the ellipse inscribed
//   in its (normalised, half-open) box.
// Everything clips to the surface; coordinates may lie anywhere within +-2^30
// (larger values are clamped to that range), and rows or columns outside the
// surface are never visited.
//
// Drawing calls take their colours explicitly: there is no pen or brush state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/interfaces.h"

namespace render {

// A picture pixel: 0xFFRRGGBB (the top byte is always 0xFF). Rows are packed
// 32-bit words, the memory layout of a 32-bit RGB picture of the GUI toolkit,
// so the application can show a Bitmap by wrapping its rows without a copy.
using Pixel = std::uint32_t;

constexpr Pixel pixel_rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}
constexpr Pixel pixel_of(Rgb c) { return pixel_rgb(c.r, c.g, c.b); }
constexpr Rgb rgb_of(Pixel p) {
  return Rgb{std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)};
}

// A view of rows of T. Rows are `stride` elements apart.
template <class T>
struct Surface {
  T* data = nullptr;
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;

  T* row(int y) const { return data + std::ptrdiff_t(y) * stride; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// An owning picture of width x height elements of T.
template <class T>
class Picture {
 public:
  Picture() = default;
  Picture(int width, int height, T fill = T{}) { reset(width, height, fill); }

  // Resizes (negative sizes count as 0) and fills.
  void reset(int width, int height, T fill = T{}) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    data_.assign(std::size_t(width_) * std::size_t(height_), fill);
  }

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return data_.empty(); }
  T* row(int y) { return data_.data() + std::ptrdiff_t(y) * width_; }
  const T* row(int y) const { return data_.data() + std::ptrdiff_t(y) * width_; }
  T& at(int x, int y) { return row(y)[x]; }
  const T& at(int x, int y) const { return row(y)[x]; }
  Surface<T> surface() { return {data_.data(), width_, height_, width_}; }
  Surface<const T> surface() const { return {data_.data(), width_, height_, width_}; }
  const std::vector<T>& pixels() const { return data_; }
  bool operator==(const Picture&) const = default;

 private:
  std::vector<T> data_;
  int width_ = 0;
  int height_ = 0;
};

using Bitmap = Picture<Pixel>;               // the rendered picture
using Mask8 = Picture<std::uint8_t>;         // the shadow work picture
using DepthBuffer = Picture<std::int32_t>;   // the occupancy buffer: 0 = nothing drawn

struct Point {
  std::int32_t x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

enum class Contour : std::uint8_t {
  aucun,    // interior only (clear pen)
  simple,   // interior plus a 1-pixel outline
  double_,  // interior plus a 2-pixel outline
};

// Triangle fill; with an outline, `outline` paints the edge pixels (the same
// colour as `fill` for land facets, another for the wire mesh).
template <class T>
void fill_triangle(Surface<T> s, Point a, Point b, Point c, Contour mode, T fill, T outline);
template <class T>
inline void fill_triangle(Surface<T> s, Point a, Point b, Point c, Contour mode, T colour) {
  fill_triangle(s, a, b, c, mode, colour, colour);
}

// A facet of the terrain pass over the occupancy buffer: exactly
// fill_triangle(s, a, b, c, Contour::simple, colour) and
// fill_triangle(depth, a, b, c, Contour::aucun, value), in one call that
// places a small triangle once for both (`depth` as large as `s`, or the two
// fills are made apart).
void fill_triangle_depth(Surface<Pixel> s, Surface<std::int32_t> depth, Point a, Point b, Point c, Pixel colour,
                         std::int32_t value);

// A line from `from` to `to` without its last pixel; width 1, 2 or 4 (any width >= 1).
template <class T>
void draw_line(Surface<T> s, Point from, Point to, int width, T colour);

// Rectangle from (x1, y1) to (x2, y2), corners normalised, right column and bottom row left out.
template <class T>
void fill_rect(Surface<T> s, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, T colour);

// Filled ellipse inscribed in the box (x1, y1)-(x2, y2) (normalised, half-open).
template <class T>
void fill_ellipse(Surface<T> s, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, T colour);

// The pixel at (x, y), or nothing outside the surface.
template <class T>
std::optional<T> read_pixel(Surface<const T> s, std::int64_t x, std::int64_t y);
template <class T>
std::optional<T> read_pixel(Surface<T> s, std::int64_t x, std::int64_t y) {
  return read_pixel(Surface<const T>{s.data, s.width, s.height, s.stride}, x, y);
}

// Copies the w x h block of `src` at (sx, sy) to `dst` at (dx, dy); parts
// outside either surface are left out. The two surfaces must not overlap.
template <class T>
void copy_rect(Surface<T> dst, std::int64_t dx, std::int64_t dy, Surface<const T> src, std::int64_t sx,
               std::int64_t sy, std::int64_t w, std::int64_t h);

// Nearest-neighbour stretch of the whole of `src` into the rectangle (x1, y1)-(x2, y2)
// of `dst` (normalised, half-open); destination pixel (x, y) takes source pixel
// ((2 (x - x1) + 1) sw / (2 (x2 - x1)), likewise in y).
template <class T>
void stretch(Surface<T> dst, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, Surface<const T> src);

// The map editor's map picture as the terrain's river drawing sees it: a pen
// (colour, width) and line-to without the end pixel.
class BitmapMapCanvas : public MapCanvas {
 public:
  explicit BitmapMapCanvas(Bitmap& picture) : picture_(picture) {}
  void set_pen(Rgb colour, int width) override;
  void move_to(int x, int y) override;
  void line_to(int x, int y) override;

 private:
  Bitmap& picture_;
  Pixel colour_ = pixel_rgb(0, 0, 0);
  int width_ = 1;
  Point position_;
};

}  // namespace render

namespace render {

// Shapes of the tree drawing (the platform's geometric pen and brush).
//
// A wide line (width >= 2) covers the pixels whose centres lie within width / 2
// of the segment from `from` to `to`: a band with round ends. Width 1 is the
// one-pixel line of draw_line (last pixel left out).
template <class T>
void draw_wide_line(Surface<T> s, Point from, Point to, int width, T colour);

// A polygon of 3 to 5 vertices (fewer paint nothing, more are cut off): a pixel
// is covered when its centre lies inside by the even-odd rule, rows and
// columns taken half-open like the triangles' top-left rule.
template <class T>
void fill_polygon(Surface<T> s, const Point* points, int count, T colour);

// The closed outline of a polygon: each edge as a line of the width, both
// end points included.
template <class T>
void outline_polygon(Surface<T> s, const Point* points, int count, int width, T colour);

// The ring of an ellipse outline of the width, inside the box widened by
// (width - 1) / 2 and outside the box narrowed by width - (width - 1) / 2.
// The box is normalised first.
template <class T>
void outline_ellipse(Surface<T> s, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, int width,
                     T colour);

}  // namespace render
