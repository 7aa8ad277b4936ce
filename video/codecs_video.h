// The codec types of a video's settings (the codec list's index + 2): the
// line the making window shows, what the movie-writing layer is given and the
// movie file's extension. Every place that needs one of these facts asks this
// table.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/vidconv/conversion_video.h"

struct CodecVideo {
  int type;
  const char* ligne;  // the codec line
  int conteneur;      // container family of the layer
  std::uint32_t codec;  // an AVI's FourCC, an MPEG's variant
  const char* extension;  // the movie file's, with its dot
};

// Types 2 to 10, in the order of the codec list.
inline std::span<const CodecVideo> codecs_video() {
  using platform::vcv::fourcc;
  using platform::vcv::kContainerAvi;
  using platform::vcv::kContainerMpeg;
  static constexpr CodecVideo table[] = {
      {2, "AVI CVID Cinepack", kContainerAvi, fourcc("cvid"), ".avi"},
      {3, "AVI IV32 Intel Indeo Video R3.2", kContainerAvi, fourcc("IV32"), ".avi"},
      {4, "AVI MSVC Microsoft Video 1", kContainerAvi, fourcc("msvc"), ".avi"},
      {5, "AVI RLE Run Length Encoding", kContainerAvi, fourcc("mrle"), ".avi"},
      {6, "MPEG-1 standard", kContainerMpeg, 0, ".mpg"},
      {7, "MPEG-1 VCD extension VideoCD", kContainerMpeg, 1, ".mpg"},
      {8, "MPEG-2 standard", kContainerMpeg, 2, ".mpg"},
      {9, "MPEG-2 SVCD extension Super VideoCD", kContainerMpeg, 3, ".mpg"},
      {10, "MPEG-2 DVD", kContainerMpeg, 4, ".mpg"},
  };
  return table;
}

// The row of a type; another type has none (no codec line, no codec set).
inline std::optional<CodecVideo> codec_video(int type) {
  for (const CodecVideo& c : codecs_video())
    if (c.type == type) return c;
  return std::nullopt;
}

// The codec line of what a converter was set to code, empty when no row of
// the table codes it.
inline std::string ligne_codec(int conteneur, std::uint32_t codec) {
  for (const CodecVideo& c : codecs_video())
    if (c.conteneur == conteneur && c.codec == codec) return c.ligne;
  return {};
}

// The position of a type in the codec list, -1 when it has none.
inline int rang_codec(int type) {
  const auto table = codecs_video();
  for (std::size_t k = 0; k < table.size(); ++k)
    if (table[k].type == type) return int(k);
  return -1;
}

// The extension of a type's movies. A type outside the table sets no codec,
// and the layer then writes what the file's extension says: the first row's.
inline std::string extension_film(int type) {
  const auto c = codec_video(type);
  return c ? c->extension : codecs_video().front().extension;
}

// Every extension a movie of the table can have, each once.
inline std::vector<std::string> extensions_films() {
  std::vector<std::string> e;
  for (const CodecVideo& c : codecs_video())
    if (std::find(e.begin(), e.end(), c.extension) == e.end()) e.push_back(c.extension);
  return e;
}

// Whether a type's movies are coded by the Indeo 3.2 encoder, which holds
// only some frame sizes.
inline bool codec_indeo(int type) {
  const auto c = codec_video(type);
  return c && c->conteneur == platform::vcv::kContainerAvi && c->codec == platform::vcv::fourcc("IV32");
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
