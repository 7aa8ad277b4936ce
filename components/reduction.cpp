// Colour reduction: popularity counting in a small hash table, median cut
// over a 4-bit histogram, two fixed level palettes, the component cycle and
// greys, written out through the shared BMP packer.
#include "components/reduction.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <limits>

#include "components/graphiques.h"
#include "controls/bitmapfile.h"

namespace components {

namespace {

const QRgb kGrey128 = qRgb(128, 128, 128);

constexpr std::array<QRgb, 16> kVga16 = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0), qRgb(0, 0, 128),   qRgb(128, 0, 128),
    qRgb(0, 128, 128),   qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

const std::vector<int>& Levels(int n) {
  static const std::vector<int> l4 = {0, 85, 170, 255}, l6 = {0, 51, 102, 153, 204, 255},
                                l7 = {0, 43, 85, 128, 170, 213, 255}, l8 = {0, 36, 73, 109, 146, 182, 219, 255};
  switch (n) {
    case 4: return l4;
    case 6: return l6;
    case 7: return l7;
    default: return l8;
  }
}

// For every byte value, the index of the nearest level.
std::array<std::uint8_t, 256> BuildLevelLookup(int n) {
  std::array<std::uint8_t, 256> t{};
  const std::vector<int>& levels = Levels(n);
  for (int v = 0; v < 256; ++v) {
    int best = 0;
    for (int i = 1; i < static_cast<int>(levels.size()); ++i)
      if (std::abs(levels[i] - v) < std::abs(levels[best] - v)) best = i;
    t[v] = static_cast<std::uint8_t>(best);
  }
  return t;
}

const std::array<std::uint8_t, 256>& LevelLookup(int n) {
  static const std::array<std::uint8_t, 256> t4 = BuildLevelLookup(4), t6 = BuildLevelLookup(6),
                                             t7 = BuildLevelLookup(7), t8 = BuildLevelLookup(8);
  switch (n) {
    case 4: return t4;
    case 6: return t6;
    case 7: return t7;
    default: return t8;
  }
}

long long Distance(QRgb a, QRgb b) {
  const long long dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
  return dr * dr + dg * dg + db * db;
}

// Nearest entry by squared distance; the first on a tie.
int Nearest(const QRgb* table, int n, QRgb c) {
  int best = 0;
  long long best_d = std::numeric_limits<long long>::max();
  for (int i = 0; i < n; ++i) {
    const long long d = Distance(c, table[i]);
    if (d < best_d) {
      best_d = d;
      best = i;
    }
  }
  return best;
}

// Visits the pixels in the device-independent order: rows bottom-up, left to right.
void ForEachPixel(const QImage& rgb, const std::function<void(int x, int y, QRgb c)>& f) {
  for (int y = rgb.height() - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) f(x, y, line[x]);
  }
}

// ---- popularity ----

constexpr int kBuckets = 5191, kMaxColours = 2049;

struct Bucket {
  bool used = false;
  int r = 0, g = 0, b = 0;
  long long count = 0;
};

struct ColourCount {
  std::vector<Bucket> table = std::vector<Bucket>(kBuckets);
  int r_mask = 255, g_mask = 255, b_mask = 255;

  int find(int r, int g, int b) const {
    int h = static_cast<int>(static_cast<long long>(r + g) * (g + b) * (b + r) % kBuckets);
    while (table[h].used && !(table[h].r == r && table[h].g == g && table[h].b == b)) h = (h + 1) % kBuckets;
    return h;
  }
  int find(QRgb c) const { return find(qRed(c) & r_mask, qGreen(c) & g_mask, qBlue(c) & b_mask); }

  // False when a colour past the table's capacity arrives.
  bool count(const QImage& rgb) {
    table.assign(kBuckets, Bucket());
    int colours = 0;
    bool fits = true;
    for (int y = rgb.height() - 1; y >= 0 && fits; --y) {
      const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
      for (int x = 0; x < rgb.width(); ++x) {
        const int h = find(line[x]);
        Bucket& e = table[h];
        if (!e.used) {
          if (colours == kMaxColours) {
            fits = false;
            break;
          }
          e = Bucket{true, qRed(line[x]) & r_mask, qGreen(line[x]) & g_mask, qBlue(line[x]) & b_mask, 0};
          ++colours;
        }
        ++e.count;
      }
    }
    return fits;
  }

  void coarsen() {
    if (r_mask < g_mask)
      g_mask = (g_mask << 1) & 255;
    else if (r_mask <= b_mask)
      b_mask = (b_mask << 1) & 255;
    else
      r_mask = (r_mask << 1) & 255;
  }
};

void CountUntilItFits(const QImage& rgb, ColourCount& counts, std::vector<PopularityMasks>* history) {
  for (;;) {
    if (history != nullptr) history->push_back({counts.r_mask, counts.g_mask, counts.b_mask});
    if (counts.count(rgb)) return;
    counts.coarsen();
  }
}

Reduction Popularity(const QImage& rgb) {
  ColourCount counts;
  CountUntilItFits(rgb, counts, nullptr);
  std::vector<int> order;
  for (int i = 0; i < kBuckets; ++i)
    if (counts.table[i].used) order.push_back(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return counts.table[a].count > counts.table[b].count; });
  Reduction out;
  out.palette.assign(256, kGrey128);
  const int chosen = std::min<int>(256, static_cast<int>(order.size()));
  std::vector<int> index_of(kBuckets, 0);
  for (int k = 0; k < chosen; ++k) {
    const Bucket& e = counts.table[order[k]];
    out.palette[k] = qRgb(e.r, e.g, e.b);
    index_of[order[k]] = k;
  }
  for (std::size_t k = chosen; k < order.size(); ++k) {
    const Bucket& e = counts.table[order[k]];
    index_of[order[k]] = Nearest(out.palette.data(), chosen, qRgb(e.r, e.g, e.b));
  }
  out.indices.resize(static_cast<std::size_t>(rgb.width()) * rgb.height());
  ForEachPixel(rgb, [&](int x, int y, QRgb c) {
    out.indices[static_cast<std::size_t>(y) * rgb.width() + x] = static_cast<std::uint8_t>(index_of[counts.find(c)]);
  });
  return out;
}

// ---- median cut ----

int CellComponent(int cell, int k) { return (cell >> (8 - 4 * k)) & 15; }  // 0 red, 1 green, 2 blue
int CellOf(QRgb c) { return ((qRed(c) >> 4) << 8) | ((qGreen(c) >> 4) << 4) | (qBlue(c) >> 4); }

struct Box {
  int min[3] = {0, 0, 0}, extent[3] = {255, 255, 255};
  std::vector<int> cells;
  long long pixels = 0;
};

void SplitBox(std::vector<Box>& boxes, int which, int k, const std::vector<long long>& histogram) {
  Box& box = boxes[static_cast<std::size_t>(which)];
  std::sort(box.cells.begin(), box.cells.end(), [k](int a, int b) {
    const int va = CellComponent(a, k), vb = CellComponent(b, k);
    return va != vb ? va < vb : a < b;
  });
  const long long half = box.pixels / 2;
  const std::size_t n = box.cells.size();
  long long running = 0;
  std::size_t kept = 0;
  do {
    running += histogram[box.cells[kept]];
    ++kept;
  } while (kept < n - 1 && running + histogram[box.cells[kept]] <= half);
  Box added;
  std::copy(std::begin(box.min), std::end(box.min), std::begin(added.min));
  std::copy(std::begin(box.extent), std::end(box.extent), std::begin(added.extent));
  added.cells.assign(box.cells.begin() + static_cast<std::ptrdiff_t>(kept), box.cells.end());
  added.pixels = box.pixels - running;
  const int old_max = box.min[k] + box.extent[k];
  added.min[k] = CellComponent(added.cells.front(), k) * 16;
  added.extent[k] = old_max - added.min[k];
  box.cells.resize(kept);
  box.pixels = running;
  box.extent[k] = CellComponent(box.cells.back(), k) * 16 - box.min[k];
  boxes.push_back(std::move(added));
}

Reduction MedianCut(const QImage& rgb) {
  std::vector<long long> histogram(4096, 0);
  ForEachPixel(rgb, [&](int, int, QRgb c) { ++histogram[CellOf(c)]; });
  std::vector<Box> boxes(1);
  for (int cell = 0; cell < 4096; ++cell)
    if (histogram[cell] > 0) {
      boxes[0].cells.push_back(cell);
      boxes[0].pixels += histogram[cell];
    }
  while (boxes.size() < 256) {
    int which = -1, component = 0, greatest = std::numeric_limits<int>::min();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].cells.size() < 2) continue;
      for (int k = 0; k < 3; ++k)
        if (boxes[i].extent[k] > greatest) {
          greatest = boxes[i].extent[k];
          which = static_cast<int>(i);
          component = k;
        }
    }
    if (which < 0) break;
    SplitBox(boxes, which, component, histogram);
  }
  Reduction out;
  out.palette.assign(256, qRgb(0, 0, 0));
  std::vector<std::uint8_t> box_of(4096, 0);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const Box& box = boxes[i];
    if (box.cells.empty()) continue;
    int c[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k) {
      long long sum = 0;
      for (int cell : box.cells) sum += CellComponent(cell, k) * 16 + 15;
      c[k] = static_cast<int>(sum / static_cast<long long>(box.cells.size()));
    }
    if (c[0] > 16 || c[1] > 16 || c[2] > 16) out.palette[i] = qRgb(c[0], c[1], c[2]);
    for (int cell : box.cells) box_of[cell] = static_cast<std::uint8_t>(i);
  }
  out.important = static_cast<std::uint32_t>(boxes.size());
  out.indices.resize(static_cast<std::size_t>(rgb.width()) * rgb.height());
  ForEachPixel(rgb, [&](int x, int y, QRgb c) {
    out.indices[static_cast<std::size_t>(y) * rgb.width() + x] = box_of[CellOf(c)];
  });
  return out;
}

// ---- fixed palettes, component cycle, greys ----

Reduction Truncate(const QImage& rgb, int red_levels, int green_levels, int blue_levels) {
  Reduction out;
  out.palette.assign(256, kGrey128);
  const std::vector<int>&lr = Levels(red_levels), &lg = Levels(green_levels), &lb = Levels(blue_levels);
  for (int r = 0; r < red_levels; ++r)
    for (int g = 0; g < green_levels; ++g)
      for (int b = 0; b < blue_levels; ++b) out.palette[(r * green_levels + g) * blue_levels + b] = qRgb(lr[r], lg[g], lb[b]);
  out.important = static_cast<std::uint32_t>(red_levels * green_levels * blue_levels);
  const auto &tr = LevelLookup(red_levels), &tg = LevelLookup(green_levels), &tb = LevelLookup(blue_levels);
  out.indices.resize(static_cast<std::size_t>(rgb.width()) * rgb.height());
  ForEachPixel(rgb, [&](int x, int y, QRgb c) {
    out.indices[static_cast<std::size_t>(y) * rgb.width() + x] =
        static_cast<std::uint8_t>((tr[qRed(c)] * green_levels + tg[qGreen(c)]) * blue_levels + tb[qBlue(c)]);
  });
  return out;
}

// The component kept cycles with column + row, rows counted from the bottom
// as the picture's device-independent form stores them.
Reduction ComponentCycle(const QImage& rgb) {
  Reduction out;
  out.palette.assign(256, qRgb(0, 0, 0));
  for (int i = 0; i < 64; ++i) {
    out.palette[i] = qRgb(4 * i, 0, 0);
    out.palette[64 + i] = qRgb(0, 4 * i, 0);
    out.palette[128 + i] = qRgb(0, 0, 4 * i);
  }
  const int h = rgb.height();
  out.indices.resize(static_cast<std::size_t>(rgb.width()) * h);
  ForEachPixel(rgb, [&](int x, int y, QRgb c) {
    const int row = h - 1 - y;
    int v = 0;
    switch ((x + row) % 3) {
      case 0: v = qRed(c) >> 2; break;
      case 1: v = 64 + (qGreen(c) >> 2); break;
      default: v = 128 + (qBlue(c) >> 2); break;
    }
    out.indices[static_cast<std::size_t>(y) * rgb.width() + x] = static_cast<std::uint8_t>(v);
  });
  return out;
}

Reduction Grayscale(const QImage& rgb) {
  Reduction out;
  for (int i = 0; i < 256; ++i) out.palette.push_back(qRgb(i, i, i));
  out.indices.resize(static_cast<std::size_t>(rgb.width()) * rgb.height());
  ForEachPixel(rgb, [&](int x, int y, QRgb c) {
    out.indices[static_cast<std::size_t>(y) * rgb.width() + x] =
        static_cast<std::uint8_t>((77 * qRed(c) + 150 * qGreen(c) + 29 * qBlue(c)) >> 8);
  });
  return out;
}

// The picture as it is: its own colour table and indices.
QByteArray SaveItself(const QImage& bitmap, int bits) {
  if (bits == 24) {
    const QImage rgb = bitmap.convertToFormat(QImage::Format_RGB32);
    return PackDIBFile(rgb.width(), rgb.height(), 24, {},
                       [&rgb](int x, int y) { return reinterpret_cast<const QRgb*>(rgb.constScanLine(y))[x]; });
  }
  const QImage own = bits == 1 ? bitmap.convertToFormat(QImage::Format_Mono) : bitmap;
  const QList<QRgb> colours = own.colorTable();
  const std::vector<QRgb> table(colours.begin(), colours.end());
  return PackDIBFile(own.width(), own.height(), bits, table,
                     [&own](int x, int y) { return static_cast<std::uint32_t>(own.pixelIndex(x, y)); });
}

// Every pixel to the nearest colour of a fixed table.
QByteArray SaveNearest(const QImage& bitmap, int bits) {
  static const std::vector<QRgb> kMono = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
  const std::vector<QRgb> vga(kVga16.begin(), kVga16.end());
  const std::vector<QRgb>& table = bits == 1 ? kMono : vga;
  const QImage rgb = bitmap.convertToFormat(QImage::Format_RGB32);
  return PackDIBFile(rgb.width(), rgb.height(), bits, table, [&](int x, int y) {
    const QRgb c = reinterpret_cast<const QRgb*>(rgb.constScanLine(y))[x];
    return static_cast<std::uint32_t>(Nearest(table.data(), static_cast<int>(table.size()), c));
  });
}

}  // namespace

InvalidGraphicError::InvalidGraphicError() : std::runtime_error("Bitmap image is not valid") {}

TPixelFormat GetBitmapPixelFormat(const QImage& bitmap) {
  switch (bitmap.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return pf1bit;
    case QImage::Format_Indexed8: return pf8bit;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGB888: return pf24bit;
    default: return pfCustom;
  }
}

int PixelFormatColorCount(TPixelFormat format) {
  switch (format) {
    case pf1bit: return 2;
    case pf4bit: return 16;
    case pf8bit: return 256;
    default: return 0;
  }
}

int NearestLevel(int levels, int value) { return LevelLookup(levels)[static_cast<std::size_t>(value & 255)]; }

std::vector<PopularityMasks> PopularityMaskHistory(const QImage& rgb) {
  ColourCount counts;
  std::vector<PopularityMasks> history;
  CountUntilItFits(rgb.convertToFormat(QImage::Format_RGB32), counts, &history);
  return history;
}

Reduction ReduceColors(const QImage& rgb, TColorReduction method) {
  switch (method) {
    case crMedianCut: return MedianCut(rgb);
    case crTrunc784: return Truncate(rgb, 7, 8, 4);
    case crTrunc666: return Truncate(rgb, 6, 6, 6);
    case crComponentCycle: return ComponentCycle(rgb);
    case crGrayscale: return Grayscale(rgb);
    case crPopularity:
    default: return Popularity(rgb);
  }
}

QByteArray BitmapToDIBStream(const QImage& bitmap, TPixelFormat format, TColorReduction method) {
  if (bitmap.isNull()) throw InvalidGraphicError();
  const int bits = format == pf1bit ? 1 : format == pf4bit ? 4 : format == pf8bit ? 8 : format == pf24bit ? 24 : 0;
  const TPixelFormat own = GetBitmapPixelFormat(bitmap);
  if (own == format && bits != 0 && method != crGrayscale) return SaveItself(bitmap, bits);
  if (bits == 0) NotImplemented();
  if (bits == 1 || bits == 4) return SaveNearest(bitmap, bits);
  if (bits == 24) return SaveItself(bitmap, 24);
  const QImage rgb = bitmap.convertToFormat(QImage::Format_RGB32);
  const Reduction r = ReduceColors(rgb, method);
  const int w = rgb.width();
  return PackDIBFile(w, rgb.height(), 8, r.palette, [&](int x, int y) {
    return static_cast<std::uint32_t>(r.indices[static_cast<std::size_t>(y) * w + x]);
  }, r.important);
}

QByteArray ColorCountToDIBStream(const QImage& bitmap, int colour_count) {
  const TPixelFormat format = colour_count <= 2 ? pf1bit : colour_count <= 16 ? pf4bit : colour_count <= 256 ? pf8bit : pf24bit;
  return BitmapToDIBStream(bitmap, format, crPopularity);
}

}  // namespace components
