// A caller's frame that ends just before an unreadable page: the Indeo
// encoder hands its frames to FFmpeg's pixel scaler, which reads whole vector
// words, so it must read a frame only through its own padded copy. (The
// converter's own pictures are checked the same way, each block of the process
// before an unreadable page, by the test program film_pages_gardees.)
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "platform/vidconv/indeo3.h"

namespace vcv = platform::vcv;

namespace {

// `pixels` 32-bit pixels whose last one is followed by a page that cannot be
// read or written.
class PixelsGardes {
 public:
  explicit PixelsGardes(std::size_t pixels) {
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    utile_ = (pixels * 4 + page - 1) / page * page;
    longueur_ = utile_ + page;
    base_ = static_cast<char*>(mmap(nullptr, longueur_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    if (base_ == MAP_FAILED || mprotect(base_ + utile_, page, PROT_NONE) != 0) {
      base_ = nullptr;
      return;
    }
    data_ = reinterpret_cast<std::uint32_t*>(base_ + utile_) - pixels;
  }
  ~PixelsGardes() {
    if (base_) munmap(base_, longueur_);
  }
  std::uint32_t* data() const { return data_; }

 private:
  char* base_ = nullptr;
  std::size_t utile_ = 0, longueur_ = 0;
  std::uint32_t* data_ = nullptr;
};

}  // namespace

TEST(PagesGardees, IndeoCodesFramesThatEndBeforeAnUnreadablePage) {
  const int tailles[][2] = {{1, 5}, {2, 5}, {3, 4}, {4, 3}, {5, 5}, {6, 4}, {7, 5}, {321, 252}, {641, 4}, {4095, 4}};
  for (const auto& t : tailles) {
    const int w = t[0], h = t[1];
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    PixelsGardes pixels(std::size_t(w) * std::size_t(h));
    ASSERT_NE(pixels.data(), nullptr);
    for (int k = 0; k < w * h; ++k) pixels.data()[k] = 0xFF000000u | std::uint32_t(k * 2654435761u >> 8);
    const auto taille = vcv::iv32_size(w, h);
    ASSERT_TRUE(taille);
    vcv::Iv32Encoder codeur;
    ASSERT_TRUE(codeur.open(taille->width, taille->height));
    bool cle = false;
    EXPECT_FALSE(codeur.encode({pixels.data(), w, h, w}, cle).empty());
    EXPECT_TRUE(cle);
    // The last row alone, as a frame one row high.
    EXPECT_FALSE(codeur.encode({pixels.data() + std::ptrdiff_t(w) * (h - 1), w, 1, w}, cle).empty());
  }
}
