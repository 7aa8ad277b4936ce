// The program's own encoder of Intel Indeo Video R3.2 ("IV32") frames, the
// codec of the AVI movies of codec type 3. Pictures are coded in 7-bit
// YUV 4:1:0. A key frame is made of intra cells (each pixel row is the row
// above plus small table deltas); an inter frame of motion-compensated cells,
// copied from the previous frame or coded as deltas against it, or intra.
// Samples never leave 0..127, so any decoder gives the same pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/vidconv/conversion_video.h"

namespace platform::vcv {

// The sizes the format holds: 16..640 x 16..480 pixels, both multiples of 4.
inline constexpr int kIv32WidthMin = 16, kIv32WidthMax = 640;
inline constexpr int kIv32HeightMin = 16, kIv32HeightMax = 480;
// The largest source picture side the encoder takes (the layer's frame bound).
inline constexpr int kIv32SourceMax = 4095;

bool iv32_holds(int width, int height);

struct Iv32Size {
  int width = 0;
  int height = 0;
};

// The size at which pictures of width x height are coded. A size the format
// holds is kept. Any other is scaled by
//   s = min(1, 640 / width, 480 / height),
// raised to max(s, 16 / width, 16 / height) for a side below 16, and each side
// is then width x s and height x s brought to the nearest multiple of 4 (halves
// to even) and bounded to 16..640 and 16..480. So a picture too large for the
// format becomes the largest one of its proportions inside 640 x 480
// (800 x 600 -> 640 x 480, 800 x 450 -> 640 x 360, 1000 x 200 -> 640 x 128), and
// one that only misses the multiples of 4 keeps its size to within 2 pixels
// (322 x 242 -> 320 x 240). None for a side below 1 or above 4095.
std::optional<Iv32Size> iv32_size(int width, int height);

// A picture in the codec's colour format (yuv410p, 8-bit samples): luma
// width x height, each chroma plane ceil(width / 4) x ceil(height / 4), rows
// packed.
struct Yuv410 {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> y, u, v;
};

class Iv32Encoder {
 public:
  Iv32Encoder();
  ~Iv32Encoder();
  Iv32Encoder(const Iv32Encoder&) = delete;
  Iv32Encoder& operator=(const Iv32Encoder&) = delete;

  // Starts a movie of coded frames width x height; false, with nothing
  // allocated, for a size the format does not hold. With `inter` the frames
  // between key frames are coded against the previous one; every
  // `key_interval`-th frame is a key frame.
  bool open(int width, int height, bool inter = true, int key_interval = 30);
  int width() const;
  int height() const;

  // One frame of any size from 1 x 1 to 4095 x 4095, scaled to the coded size
  // (BT.601, limited range). Empty when the encoder is not open or the picture
  // is empty or too large. `key` tells whether the frame is a key frame.
  std::vector<std::uint8_t> encode(const FrameView& frame, bool& key);
  // One frame already in the coded size and colour format.
  std::vector<std::uint8_t> encode(const Yuv410& picture, bool& key);

  // What a decoder shows for the last frame (7-bit samples doubled).
  Yuv410 reconstruction() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform::vcv
