// The disc standards of the MPEG variants and where a picture goes on a disc
// frame. The figures are those of FFmpeg's disc targets (-target ntsc-vcd,
// ntsc-svcd, ntsc-dvd).
//
// A disc is always made in its NTSC form, at 30000/1001 (29.97) frames per
// second: the program renders 30 frames per second, and at 29.97 each rendered
// frame is shown exactly once, none dropped or repeated (the movie plays 0.1 %
// longer). The PAL form's 25 frames per second would drop one frame in six.
#include <algorithm>

#include "platform/arrondi.h"
#include "platform/vidconv/conversion_video.h"

namespace platform::vcv {

namespace {

constexpr int kMpegVcd = 1;
constexpr int kMpegSvcd = 3;
constexpr int kMpegDvd = 4;

// Stored pixels of w x h shown on a 4:3 screen are (4 h) / (3 w) wide.
constexpr DiscStandard kVcd{"VCD", "vcd", "mpeg1video", 352, 240, 30000, 1001, 18,
                            1150000, 1150000, 1150000, 327680, 2324, 1411200, 10, 11};
constexpr DiscStandard kSvcd{"SVCD", "svcd", "mpeg2video", 480, 480, 30000, 1001, 18,
                             2040000, 2516000, 0, 1835008, 2324, 0, 4, 3};
constexpr DiscStandard kDvd{"DVD", "dvd", "mpeg2video", 720, 480, 30000, 1001, 18,
                            6000000, 9000000, 0, 1835008, 2048, 10080000, 8, 9};

// The nearest even number, at least 2 and at most `most`.
int even(double v, int most) { return std::clamp(2 * Round(v / 2), 2, most); }

}  // namespace

std::optional<DiscStandard> disc_standard(int container, std::uint32_t codec) {
  if (container != kContainerMpeg) return std::nullopt;
  switch (codec) {
    case kMpegVcd: return kVcd;
    case kMpegSvcd: return kSvcd;
    case kMpegDvd: return kDvd;
    default: return std::nullopt;
  }
}

DiscPlace disc_place(const DiscStandard& disc, int width, int height) {
  DiscPlace p{0, 0, disc.width, disc.height};
  if (width <= 0 || height <= 0) return p;
  // On the 4:3 screen the frame's width stands for 4 units and its height for 3.
  if (3.0 * width >= 4.0 * height) {
    p.height = even(disc.height * 4.0 * height / (3.0 * width), disc.height);
  } else {
    p.width = even(disc.width * 3.0 * width / (4.0 * height), disc.width);
  }
  p.x = (disc.width - p.width) / 4 * 2;
  p.y = (disc.height - p.height) / 4 * 2;
  return p;
}

}  // namespace platform::vcv
