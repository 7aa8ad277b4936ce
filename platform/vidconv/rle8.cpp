// The RLE8 codec of the AVI "mrle" movies: the movie's palette, chosen from
// its first frame, and the run-length coding of one key frame.
#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/arrondi.h"
#include "platform/vidconv/conversion_video.h"

namespace platform::vcv {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr int kExactSlots = 1024;  // a power of two, above 4 x kFromFrame

std::uint32_t rgb(int r, int g, int b) {
  return kOpaque | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}

std::size_t slot_of(std::uint32_t colour) { return std::size_t((colour * 2654435761u) >> 22) & (kExactSlots - 1); }

// ---------------------------------------------------------------- median cut

// The pixels of one 5-bit cell of colour space: how many, and their sums.
struct Cell {
  int key = 0;  // r << 10 | g << 5 | b, 5 bits each
  std::uint32_t count = 0;
  std::uint64_t sum[3] = {0, 0, 0};
  int coordinate(int axis) const { return (key >> (10 - 5 * axis)) & 31; }
};

// A box of cells [begin, end) and the axis along which its pixels spread most.
struct Box {
  std::size_t begin = 0, end = 0;
  int axis = 0;
  double spread = 0;  // count-weighted squared deviation along `axis`
};

void measure(Box& box, const std::vector<Cell>& cells) {
  box.spread = 0;
  for (int axis = 0; axis < 3; ++axis) {
    double n = 0, s = 0, s2 = 0;
    for (std::size_t k = box.begin; k < box.end; ++k) {
      const double v = cells[k].coordinate(axis), c = cells[k].count;
      n += c;
      s += c * v;
      s2 += c * v * v;
    }
    const double spread = n > 0 ? s2 - s * s / n : 0;
    if (spread > box.spread) {
      box.spread = spread;
      box.axis = axis;
    }
  }
}

// Splits the box at the median pixel along its axis, keeping equal
// coordinates on one side; false when it holds one coordinate only.
bool split(Box& box, Box& other, std::vector<Cell>& cells) {
  const int axis = box.axis;
  std::sort(cells.begin() + std::ptrdiff_t(box.begin), cells.begin() + std::ptrdiff_t(box.end),
            [axis](const Cell& a, const Cell& b) { return a.coordinate(axis) < b.coordinate(axis); });
  std::uint64_t total = 0, running = 0;
  for (std::size_t k = box.begin; k < box.end; ++k) total += cells[k].count;
  std::size_t cut = box.begin + 1;
  for (std::size_t k = box.begin; k + 1 < box.end; ++k) {
    running += cells[k].count;
    cut = k + 1;
    if (2 * running >= total) break;
  }
  // Move the cut off a run of equal coordinates, forward or else back.
  while (cut < box.end && cells[cut].coordinate(axis) == cells[cut - 1].coordinate(axis)) ++cut;
  if (cut == box.end) {
    cut = box.end - 1;
    while (cut > box.begin && cells[cut].coordinate(axis) == cells[cut - 1].coordinate(axis)) --cut;
  }
  if (cut == box.begin) return false;
  other = Box{cut, box.end};
  box.end = cut;
  measure(box, cells);
  measure(other, cells);
  return true;
}

}  // namespace

Rle8Palette::Rle8Palette(const FrameView& first)
    : exact_keys_(kExactSlots, 0), exact_index_(kExactSlots, 0), nearest_(std::size_t(1) << 18, -1) {
  if (first.data && first.width > 0 && first.height > 0 && !take_own_colours(first)) median_cut(first);
  add_cube();
}

std::size_t Rle8Palette::slot(std::uint32_t colour) const {
  std::size_t s = slot_of(colour);
  while (exact_keys_[s] != 0 && exact_keys_[s] != colour) s = (s + 1) & (kExactSlots - 1);
  return s;
}

bool Rle8Palette::take_own_colours(const FrameView& f) {
  for (int y = 0; y < f.height; ++y) {
    const std::uint32_t* row = f.data + std::ptrdiff_t(y) * f.stride;
    for (int x = 0; x < f.width; ++x) {
      const std::uint32_t c = row[x] | kOpaque;
      const std::size_t s = slot(c);
      if (exact_keys_[s] == c) continue;
      if (entries_.size() == std::size_t(kFromFrame)) {
        entries_.clear();
        std::fill(exact_keys_.begin(), exact_keys_.end(), 0u);
        return false;
      }
      exact_keys_[s] = c;
      exact_index_[s] = std::uint8_t(entries_.size());
      entries_.push_back(c);
    }
  }
  return true;
}

void Rle8Palette::median_cut(const FrameView& first) {
  std::vector<Cell> grid(std::size_t(1) << 15);
  for (int y = 0; y < first.height; ++y) {
    const std::uint32_t* row = first.data + std::ptrdiff_t(y) * first.stride;
    for (int x = 0; x < first.width; ++x) {
      const int r = int(row[x] >> 16 & 0xFF), g = int(row[x] >> 8 & 0xFF), b = int(row[x] & 0xFF);
      Cell& c = grid[std::size_t((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3))];
      ++c.count;
      c.sum[0] += std::uint64_t(r);
      c.sum[1] += std::uint64_t(g);
      c.sum[2] += std::uint64_t(b);
    }
  }
  std::vector<Cell> cells;
  for (int k = 0; k < int(grid.size()); ++k)
    if (grid[std::size_t(k)].count) {
      cells.push_back(grid[std::size_t(k)]);
      cells.back().key = k;
    }
  std::vector<Box> boxes(1, Box{0, cells.size()});
  measure(boxes[0], cells);
  while (boxes.size() < std::size_t(kFromFrame)) {
    auto widest = std::max_element(boxes.begin(), boxes.end(),
                                   [](const Box& a, const Box& b) { return a.spread < b.spread; });
    Box other;
    if (widest->spread <= 0 || !split(*widest, other, cells)) break;
    boxes.push_back(other);
  }
  for (const Box& box : boxes) {
    std::uint64_t n = 0, s[3] = {0, 0, 0};
    for (std::size_t k = box.begin; k < box.end; ++k) {
      n += cells[k].count;
      for (int a = 0; a < 3; ++a) s[a] += cells[k].sum[a];
    }
    if (n) entries_.push_back(rgb(int((s[0] + n / 2) / n), int((s[1] + n / 2) / n), int((s[2] + n / 2) / n)));
  }
}

void Rle8Palette::add_cube() {
  const int spare = 256 - int(entries_.size());
  int levels = 6;
  while (levels * levels * levels > spare) --levels;
  for (int r = 0; r < levels; ++r)
    for (int g = 0; g < levels; ++g)
      for (int b = 0; b < levels; ++b) {
        const auto level = [levels](int k) { return Round(k * 255.0 / (levels - 1)); };
        entries_.push_back(rgb(level(r), level(g), level(b)));
      }
  entries_.resize(256, kOpaque);
}

std::uint32_t Rle8Palette::entry(int index) const {
  return index >= 0 && index < 256 ? entries_[std::size_t(index)] : kOpaque;
}

int Rle8Palette::exact(std::uint32_t colour) const {
  const std::size_t s = slot(colour);
  return exact_keys_[s] == colour ? exact_index_[s] : -1;
}

std::uint8_t Rle8Palette::index_of(std::uint32_t colour) {
  if (const int e = exact(colour); e >= 0) return std::uint8_t(e);
  // The entry nearest the middle of the colour's 6-bit cell, found once a cell.
  const int cell = int((colour >> 18 & 63) << 12 | (colour >> 10 & 63) << 6 | (colour >> 2 & 63));
  std::int16_t& n = nearest_[std::size_t(cell)];
  if (n < 0) {
    const int r = (cell >> 12) * 4 + 2, g = (cell >> 6 & 63) * 4 + 2, b = (cell & 63) * 4 + 2;
    int best = 1 << 30;
    for (int k = 0; k < 256; ++k) {
      const std::uint32_t e = entries_[std::size_t(k)];
      const int dr = int(e >> 16 & 0xFF) - r, dg = int(e >> 8 & 0xFF) - g, db = int(e & 0xFF) - b;
      const int d = dr * dr + dg * dg + db * db;
      if (d < best) {
        best = d;
        n = std::int16_t(k);
      }
    }
  }
  return std::uint8_t(n);
}

std::vector<std::uint8_t> Rle8Palette::quantize(const FrameView& frame) {
  std::vector<std::uint8_t> out;
  if (!frame.data || frame.width <= 0 || frame.height <= 0) return out;
  out.resize(std::size_t(frame.width) * std::size_t(frame.height));
  for (int y = 0; y < frame.height; ++y) {
    const std::uint32_t* row = frame.data + std::ptrdiff_t(y) * frame.stride;
    std::uint8_t* o = out.data() + std::size_t(y) * std::size_t(frame.width);
    std::uint32_t last = row[0] | kOpaque;
    std::uint8_t index = index_of(last);
    for (int x = 0; x < frame.width; ++x) {
      const std::uint32_t c = row[x] | kOpaque;
      if (c != last) {
        last = c;
        index = index_of(c);
      }
      o[x] = index;
    }
  }
  return out;
}

std::vector<std::uint8_t> encode_rle8(const std::vector<std::uint8_t>& indices, int width, int height) {
  std::vector<std::uint8_t> out;
  if (width <= 0 || height <= 0 || indices.size() < std::size_t(width) * std::size_t(height)) return out;
  out.reserve(std::size_t(width) * std::size_t(height) / 2 + std::size_t(height) * 2 + 2);
  // Rows are stored bottom-up.
  for (int y = height - 1; y >= 0; --y) {
    const std::uint8_t* row = indices.data() + std::size_t(y) * std::size_t(width);
    int x = 0;
    while (x < width) {
      // A run of equal indices.
      int run = 1;
      while (x + run < width && run < 255 && row[x + run] == row[x]) ++run;
      if (run >= 2) {
        out.push_back(std::uint8_t(run));
        out.push_back(row[x]);
        x += run;
        continue;
      }
      // A stretch of differing indices: stops before the next pair of equal ones.
      int n = 1;
      while (x + n < width && n < 255 && !(x + n + 1 < width && row[x + n] == row[x + n + 1])) ++n;
      if (n >= 3) {
        out.push_back(0);
        out.push_back(std::uint8_t(n));
        out.insert(out.end(), row + x, row + x + n);
        if (n & 1) out.push_back(0);
        x += n;
      } else {
        // One or two lone indices, each a run of one.
        for (int k = 0; k < n; ++k) {
          out.push_back(1);
          out.push_back(row[x + k]);
        }
        x += n;
      }
    }
    out.push_back(0);
    out.push_back(y == 0 ? 1 : 0);  // end of row; the last one ends the picture
  }
  return out;
}

std::vector<std::uint8_t> rle8_frame(const std::vector<std::uint8_t>& indices, int width, int height) {
  std::vector<std::uint8_t> coded = encode_rle8(indices, width, height);
  const std::size_t stride = (std::size_t(width) + 3) / 4 * 4;
  if (coded.empty() || coded.size() < stride * std::size_t(height)) return coded;
  std::vector<std::uint8_t> raw(stride * std::size_t(height), 0);
  for (int y = 0; y < height; ++y)
    std::copy_n(indices.data() + std::size_t(y) * std::size_t(width), width,
                raw.data() + std::size_t(height - 1 - y) * stride);
  return raw;
}

}  // namespace platform::vcv
