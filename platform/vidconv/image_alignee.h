// Pictures laid out as FFmpeg's pixel scaler wants them. The scaler reads and
// writes its rows in whole vector words of 16 to 64 bytes, so a row whose
// width is not a multiple of its word runs past the end of a packed buffer.
// An ImageBgra keeps its rows aligned and padded, with spare rows after the
// last one (av_frame_get_buffer's layout): every sws_scale of the movie layer
// reads from and writes into one, never into packed pixels. Internal to the
// movie layer.
#pragma once

extern "C" {
#include <libavutil/frame.h>
}

#include <cstdint>

#include "platform/vidconv/conversion_video.h"

namespace platform::vcv {

// 0xFFRRGGBB pixels (BGRA bytes), rows `stride()` pixels apart.
class ImageBgra {
 public:
  ImageBgra() = default;
  ~ImageBgra();
  ImageBgra(const ImageBgra& autre);
  ImageBgra& operator=(const ImageBgra& autre);
  ImageBgra(ImageBgra&& autre) noexcept;
  ImageBgra& operator=(ImageBgra&& autre) noexcept;

  // A picture of width x height (1..kMaxFrameSide each) filled with `fond`; false,
  // with the picture empty, when it cannot be allocated.
  bool allouer(int width, int height, std::uint32_t fond = 0xFF000000u);
  // A copy of the frame's rows; false when the frame is empty.
  bool copier(const FrameView& f);

  bool vide() const { return !frame_; }
  int width() const { return frame_ ? frame_->width : 0; }
  int height() const { return frame_ ? frame_->height : 0; }
  std::ptrdiff_t stride() const { return frame_ ? frame_->linesize[0] / 4 : 0; }
  std::uint32_t* ligne(int y) { return reinterpret_cast<std::uint32_t*>(frame_->data[0] + y * frame_->linesize[0]); }
  const std::uint32_t* ligne(int y) const {
    return reinterpret_cast<const std::uint32_t*>(frame_->data[0] + y * frame_->linesize[0]);
  }
  FrameView view() const;

  // What sws_scale takes, as source or destination.
  std::uint8_t* const* plans() const { return frame_->data; }
  const int* pas() const { return frame_->linesize; }

 private:
  AVFrame* frame_ = nullptr;
};

}  // namespace platform::vcv
