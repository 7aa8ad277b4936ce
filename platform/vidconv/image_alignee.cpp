// Pictures in the pixel scaler's layout (see image_alignee.h).
#include "platform/vidconv/image_alignee.h"

#include <algorithm>
#include <utility>

namespace platform::vcv {

ImageBgra::~ImageBgra() { av_frame_free(&frame_); }

ImageBgra::ImageBgra(const ImageBgra& autre) {
  if (!autre.vide()) copier(autre.view());
}

ImageBgra& ImageBgra::operator=(const ImageBgra& autre) {
  if (this == &autre) return *this;
  if (autre.vide()) av_frame_free(&frame_);
  else copier(autre.view());
  return *this;
}

ImageBgra::ImageBgra(ImageBgra&& autre) noexcept : frame_(std::exchange(autre.frame_, nullptr)) {}

ImageBgra& ImageBgra::operator=(ImageBgra&& autre) noexcept {
  std::swap(frame_, autre.frame_);
  return *this;
}

bool ImageBgra::allouer(int width, int height, std::uint32_t fond) {
  av_frame_free(&frame_);
  if (width < 1 || width > kMaxFrameSide || height < 1 || height > kMaxFrameSide) return false;
  frame_ = av_frame_alloc();
  if (!frame_) return false;
  frame_->format = AV_PIX_FMT_BGRA;
  frame_->width = width;
  frame_->height = height;
  // Alignment 0: the widest vector word of this processor.
  if (av_frame_get_buffer(frame_, 0) < 0) {
    av_frame_free(&frame_);
    return false;
  }
  // The padding too is set, so that the scaler's words beyond a row never
  // read undefined bytes.
  for (AVBufferRef* b : frame_->buf)
    if (b) std::fill_n(b->data, b->size, std::uint8_t(0));
  for (int y = 0; y < height; ++y) std::fill_n(ligne(y), width, fond);
  return true;
}

bool ImageBgra::copier(const FrameView& f) {
  if (!f.data || f.width <= 0 || f.height <= 0 || f.stride < f.width) return false;
  if (width() != f.width || height() != f.height) {
    if (!allouer(f.width, f.height)) return false;
  }
  for (int y = 0; y < f.height; ++y) std::copy_n(f.data + std::ptrdiff_t(y) * f.stride, f.width, ligne(y));
  return true;
}

FrameView ImageBgra::view() const {
  if (!frame_) return {};
  return {ligne(0), width(), height(), stride()};
}

}  // namespace platform::vcv
