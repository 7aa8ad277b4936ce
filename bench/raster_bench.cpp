// Triangle fills of the raster layer in its three modes, for the facet sizes a
// render meets: 1 to 4 pixels (most facets of a large terrain), about 20 and
// about 200 pixels. items_per_second = triangles, bytes_per_second = pixels
// (counted as one byte each) for the large ones.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "render/raster.h"

using namespace render;

namespace {

struct Triangles {
  std::vector<Point> points;
  std::int64_t pixels = 0;
};

// Triangles of roughly `area` pixels (the two halves of square cells of side
// s, corners jittered by one pixel), cell after cell along rows of cells over a
// 1024 x 768 picture, as a sweep visits a lattice.
Triangles make_triangles(double area, int count) {
  std::mt19937 gen(42);
  const int s = std::max(1, int(std::lround(std::sqrt(2 * area))));
  std::uniform_int_distribution<int> j(-1, 1);
  const int per_row = (1024 - 2) / s - 1, rows = (768 - 2) / s - 1;
  Triangles t;
  for (int k = 0; k < count; k += 2) {
    const int cell = (k / 2) % (per_row * rows);
    const int px = 1 + (cell % per_row) * s, py = 1 + (cell / per_row) * s;
    const Point p{px + j(gen), py + j(gen)}, q{px + s + j(gen), py + j(gen)};
    const Point r{px + j(gen), py + s + j(gen)}, u{px + s + j(gen), py + s + j(gen)};
    for (Point v : {p, q, r, q, u, r}) t.points.push_back({std::max(0, v.x), std::max(0, v.y)});
  }
  return t;
}

void RasterTriangles(benchmark::State& state, Contour mode, double area) {
  Bitmap pic(1024, 768, 0);
  const Triangles t = make_triangles(area, 4096);
  std::int64_t drawn = 0, pixels_per_pass = 0;
  // Pixels painted by one pass, measured once on a mask per triangle.
  for (std::size_t k = 0; k < t.points.size() && area >= 100; k += 3) {
    Mask8 m(1024, 768, 0);
    fill_triangle<std::uint8_t>(m.surface(), t.points[k], t.points[k + 1], t.points[k + 2], mode, 1);
    for (auto v : m.pixels()) pixels_per_pass += v;
    if (k > 300) {  // a sample is enough
      pixels_per_pass = pixels_per_pass * std::int64_t(t.points.size() / 3) / std::int64_t(k / 3 + 1);
      break;
    }
  }
  Pixel colour = 1;
  for (auto _ : state) {
    for (std::size_t k = 0; k < t.points.size(); k += 3)
      fill_triangle<Pixel>(pic.surface(), t.points[k], t.points[k + 1], t.points[k + 2], mode, colour);
    ++colour;
    drawn += std::int64_t(t.points.size() / 3);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(drawn);
  if (pixels_per_pass > 0) state.SetBytesProcessed(pixels_per_pass * state.iterations());
}

}  // namespace

BENCHMARK_CAPTURE(RasterTriangles, Interior_1to4px, Contour::aucun, 2.5);
BENCHMARK_CAPTURE(RasterTriangles, Interior_20px, Contour::aucun, 20);
BENCHMARK_CAPTURE(RasterTriangles, Interior_200px, Contour::aucun, 200);
BENCHMARK_CAPTURE(RasterTriangles, Outline1_1to4px, Contour::simple, 2.5);
BENCHMARK_CAPTURE(RasterTriangles, Outline1_20px, Contour::simple, 20);
BENCHMARK_CAPTURE(RasterTriangles, Outline1_200px, Contour::simple, 200);
BENCHMARK_CAPTURE(RasterTriangles, Outline2_1to4px, Contour::double_, 2.5);
BENCHMARK_CAPTURE(RasterTriangles, Outline2_20px, Contour::double_, 20);
BENCHMARK_CAPTURE(RasterTriangles, Outline2_200px, Contour::double_, 200);
