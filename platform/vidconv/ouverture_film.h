// Opening a movie file for reading. Only what this program writes is read:
// the AVI and MPEG program-stream containers, the Cinepak, Microsoft Video 1,
// RLE8, MPEG-1 and MPEG-2 video codecs, local files only, and frames of at
// most 4095 x 4095 pixels (the writer's limit). A file that names other files,
// playlists or network addresses, or declares larger frames, is refused
// before its frames are allocated. Internal to the movie layer.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstddef>
#include <string>

#include "platform/vidconv/conversion_video.h"

namespace platform::vcv {

inline constexpr int kCoteLuMax = kMaxFrameSide;
// Packets of a movie file at most (the writer makes at most 9999 frames).
inline constexpr std::size_t kPaquetsLusMax = 100000;

inline constexpr const char* kFormatsLus = "avi,mpeg";
inline constexpr const char* kCodecsLus = "cinepak,msvideo1,msrle,indeo3,mpeg1video,mpeg2video";

// Whether frames of w x h may be read (a size of 0 is not yet known and passes).
inline bool taille_lue(int w, int h) { return w >= 0 && h >= 0 && w <= kCoteLuMax && h <= kCoteLuMax; }

// Why a file is refused, in words that follow "cannot be read: ".
inline constexpr const char* kPasUnFilm = "it is not an AVI or MPEG movie";
inline const std::string kCadresTropGrands =
    "its frames are larger than " + std::to_string(kCoteLuMax) + " x " + std::to_string(kCoteLuMax) + " pixels";

// Whether a decoder is one of the codecs the program writes.
bool codec_lu(AVCodecID id);

// The file opened with the restrictions above and its declared streams
// checked; null when refused or unreadable, with the reason in `raison` when
// given. Close with avformat_close_input.
AVFormatContext* ouvrir_entree(const std::string& path, std::string* raison = nullptr);

// The options for a decoder of such a file: only the codecs above, and
// frames of at most 4095 x 4095 pixels in all.
AVDictionary* options_decodeur();

}  // namespace platform::vcv
