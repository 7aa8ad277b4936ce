// The RLE8 codec of the AVI "mrle" movies: a fixed colour cube and the
// run-length coding of one key frame.
#include <algorithm>

#include "platform/vidconv/conversion_video.h"

namespace platform::vcv {

namespace {

constexpr int kLevels[6] = {0, 51, 102, 153, 204, 255};

// 4 x 4 ordered thresholds, centred on 0 and spread over one level step (51).
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

int nearest_level(int v) {
  // Levels are 51 apart: the nearest is (v + 25) / 51, halves going down.
  v = std::clamp(v, 0, 255);
  return (v + 25) / 51;
}

int dither_offset(int x, int y) { return (kBayer[y & 3][x & 3] * 51 + 25) / 16 - 25 - 1; }

}  // namespace

std::uint32_t rle8_palette_entry(int index) {
  if (index < 0 || index >= 216) return 0xFF000000u;
  const int r = kLevels[index / 36], g = kLevels[(index / 6) % 6], b = kLevels[index % 6];
  return 0xFF000000u | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
}

std::vector<std::uint8_t> quantize_rle8(const FrameView& frame, bool dithering) {
  std::vector<std::uint8_t> out;
  if (!frame.data || frame.width <= 0 || frame.height <= 0) return out;
  out.resize(std::size_t(frame.width) * std::size_t(frame.height));
  for (int y = 0; y < frame.height; ++y) {
    const std::uint32_t* row = frame.data + std::ptrdiff_t(y) * frame.stride;
    std::uint8_t* o = out.data() + std::size_t(y) * std::size_t(frame.width);
    for (int x = 0; x < frame.width; ++x) {
      const std::uint32_t p = row[x];
      const int d = dithering ? dither_offset(x, y) : 0;
      const int r = nearest_level(int((p >> 16) & 0xFF) + d);
      const int g = nearest_level(int((p >> 8) & 0xFF) + d);
      const int b = nearest_level(int(p & 0xFF) + d);
      o[x] = std::uint8_t(36 * r + 6 * g + b);
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

}  // namespace platform::vcv
