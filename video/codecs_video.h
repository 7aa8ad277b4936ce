// The codec types of a video's settings (the codec list's index + 2): the
// line the making window shows and what the movie-writing layer is given.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/vidconv/conversion_video.h"

struct CodecVideo {
  int type;
  const char* ligne;  // the codec line
  int conteneur;      // container family of the layer
  std::uint32_t codec;
};

// Types 2 to 10; another type has no entry (no codec line, no codec set).
inline std::optional<CodecVideo> codec_video(int type) {
  using platform::vcv::fourcc;
  static constexpr CodecVideo table[] = {
      {2, "AVI CVID Cinepack", platform::vcv::kContainerAvi, fourcc("cvid")},
      {3, "AVI IV32 Intel Indeo Video R3.2", platform::vcv::kContainerAvi, fourcc("IV32")},
      {4, "AVI MSVC Microsoft Video 1", platform::vcv::kContainerAvi, fourcc("msvc")},
      {5, "AVI RLE Run Length Encoding", platform::vcv::kContainerAvi, fourcc("mrle")},
      {6, "MPEG-1 standard", platform::vcv::kContainerMpeg, 0},
      {7, "MPEG-1 VCD extension VideoCD", platform::vcv::kContainerMpeg, 1},
      {8, "MPEG-2 standard", platform::vcv::kContainerMpeg, 2},
      {9, "MPEG-2 SVCD extension Super VideoCD", platform::vcv::kContainerMpeg, 3},
      {10, "MPEG-2 DVD", platform::vcv::kContainerMpeg, 4},
  };
  if (type < 2 || type > 10) return std::nullopt;
  return table[type - 2];
}

// The hint of a disc variant's line in the codec list: what the movie becomes
// on its disc standard. Empty for the other types.
inline std::string indice_codec(int type) {
  const auto c = codec_video(type);
  if (!c) return {};
  const auto d = platform::vcv::disc_standard(c->conteneur, c->codec);
  if (!d) return {};
  const bool mpeg1 = std::string(d->encoder) == "mpeg1video";
  return std::string(d->name) + " disc: " + (mpeg1 ? "MPEG-1, " : "MPEG-2, ") + std::to_string(d->width) + " x " +
         std::to_string(d->height) + " at 29.97 frames per second (NTSC, every frame kept), " +
         (d->min_rate == d->max_rate ? "" : "up to ") + std::to_string(d->max_rate / 1000) +
         " kbit/s; the picture keeps its proportions on a 4:3 screen, with black bands where needed";
}
