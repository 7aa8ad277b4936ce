// The movie-writing layer: converters, frame sources, file lists and pictures
// behind opaque handles, as the video making window drives them. A converter
// takes its frames one at a time from a source callback (a JPEG frame file or a
// picture handed over in memory) and writes an AVI or MPEG movie at the frame
// rate, size and codec it was given. Everything runs on the calling thread.
//
// A call with an unknown, freed or wrong-kind handle fails (false or 0) and
// records an error; freeing twice is harmless. Every failure is recorded for
// check_error() and last_error_text().
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::vcv {

using Handle = std::uint32_t;  // 0 means none

// Rows of 32-bit pixels 0xFFRRGGBB, `stride` pixels apart.
struct FrameView {
  const std::uint32_t* data = nullptr;
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;
};

// Error codes of check_error().
enum Code : int {
  kOk = 0,
  kCodecUnavailable = 1,
  kBadFrameSize = 2,
  kCannotCreateOutput = 3,
  kUnreadableFrame = 4,
  kEncoderFailure = 5,
  kWriteFailure = 6,
  kNoFrame = 7,
  kBadCall = 8,
  kBusy = 9,
};

// Container families of set_codec and set_byte_rate.
inline constexpr int kContainerAvi = 6;
inline constexpr int kContainerMpeg = 11;

// The 32-bit value whose four bytes in memory order spell the code.
constexpr std::uint32_t fourcc(const char (&c)[5]) {
  return std::uint32_t(std::uint8_t(c[0])) | std::uint32_t(std::uint8_t(c[1])) << 8 |
         std::uint32_t(std::uint8_t(c[2])) << 16 | std::uint32_t(std::uint8_t(c[3])) << 24;
}

// Source callback: the source handle and the 0-based frame index asked for.
// Before it returns it calls src_set_file, src_set_img or src_finished, or
// nothing (the converter then reports progress kind 1 and asks again).
using SourceFn = std::function<void(Handle source, int index)>;
// Progress: kind 1 waiting for a frame (value = frames written), kind 2 done,
// kind 3 a frame written (value = frames written, total = list size in file
// mode, 0 otherwise). The caller processes its pending events here.
using ProgressFn = std::function<void(Handle conv, int kind, int value, int total)>;
// Error: `answer` comes preset to 2 (stop); 1 skips an unreadable frame file.
using ErrorFn = std::function<void(Handle conv, int code, int& answer)>;

// What get_file_info reads back from a movie file.
struct FileInfo {
  std::string file_name;
  std::string file_format;
  double file_size = 0;
  std::string video_format;
  std::int32_t frames = 0;
  double playing_time = 0;
  double frames_per_second = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t bytes_per_pixel = 0;
  std::int32_t bits_per_pixel = 0;
};

// What the "Video file parameters" dialog shows; it may change only the byte rate.
struct OutputSettings {
  // The codec set on the converter, as the program's codec table names it;
  // none set: the output file's extension chooses.
  bool codec_set = false;
  int container_family = 0;  // kContainerAvi or kContainerMpeg
  std::uint32_t codec = 0;   // an AVI's FourCC, an MPEG's variant
  std::string container;
  int width = 0;
  int height = 0;
  double frame_rate = 0;
  int byte_rate = 0;  // kilobytes per second
  std::string output_file;
  int frames_in_list = 0;
};
// Installed by the program at start-up; returns 1 for OK, 0 for Cancel.
using OutputDialogHook = std::function<int(OutputSettings&, const std::string& title)>;
void set_output_dialog_hook(OutputDialogHook hook);

Handle alloc();
Handle img_alloc();
Handle list_alloc();
bool free(Handle h);
bool list_free(Handle list);

bool assign_video_source(Handle conv, SourceFn fn);
bool assign_progress(Handle conv, ProgressFn fn);
bool assign_error(Handle conv, ErrorFn fn);

// Adds the files matching `pattern` (a folder and a file name with * and ?),
// sorted by byte order.
bool list_add(Handle list, const std::string& pattern, int flags);
std::optional<std::string> list_get_name(Handle list, int index);
int list_count(Handle list);

bool set_frame_rate(Handle conv, double fps);
// The largest side of a movie frame the layer writes, holds or reads.
inline constexpr int kMaxFrameSide = 4095;
// Each side 1..kMaxFrameSide.
bool set_resolution(Handle conv, int width, int height);
bool set_codec(Handle conv, int container, std::uint32_t codec);
bool set_output_file(Handle conv, const std::string& path, int flags);
bool set_byte_rate(Handle conv, int container, int rate);
bool set_dithering(Handle conv, int on);
int output_dlg(Handle conv, Handle list, const std::string& title, int flags);
// With a level other than 0, an MPEG movie of a disc variant (VCD, SVCD, DVD)
// is made to comply with its disc standard (see disc_standard); others are
// unchanged.
bool force_compatibility(Handle conv, int level);
// Whether the layer can write this codec.
bool codec_available(int container, std::uint32_t codec);

// The end of a movie's work file name.
inline constexpr const char* kWorkFileEnding = ".part";
// Runs the whole conversion; the movie is written to a new work file beside
// the path (its name, a free suffix and kWorkFileEnding) and renamed over the
// path when complete, or removed on failure. False on failure (see
// check_error).
bool convert(Handle conv);
// Removes the work files that conversions to `path` left when they could not
// end (the process was killed); every other file is kept.
void remove_work_files(const std::string& path);
int check_error();
std::string last_error_text();

bool get_file_info(const std::string& path, int flags, FileInfo& info);

bool src_set_file(Handle source, const std::string& path);
bool dib_to_img(Handle image, const FrameView& frame);
bool src_set_img(Handle source, Handle image);
bool src_finished(Handle source);

// The disc standard of an MPEG variant: codecs 1 (VideoCD), 3 (Super VideoCD)
// and 4 (DVD) of the MPEG container. A movie made after force_compatibility
// has this frame size, rate, GOP, bit rates and muxer whatever the converter
// was given, and its picture is shown on a 4:3 screen.
struct DiscStandard {
  const char* name;         // "VCD", "SVCD", "DVD"
  const char* muxer;        // FFmpeg's muxer of the disc
  const char* encoder;      // mpeg1video or mpeg2video
  int width, height;        // stored frame size
  int rate_num, rate_den;   // frames per second as a fraction
  int gop;                  // frames from one key frame to the next
  int bit_rate, max_rate, min_rate, buffer_size;  // video, in bits (per second)
  int packet_size, mux_rate;  // of the muxer; mux_rate 0 leaves the muxer's own
  int sar_num, sar_den;     // the stored pixels' shape on the 4:3 screen
};
std::optional<DiscStandard> disc_standard(int container, std::uint32_t codec);

// Where a picture of width x height square pixels goes in a disc frame so that
// it keeps its proportions on the disc's 4:3 screen: the whole width or the
// whole height, centred, with bands on the two other sides. Sizes and offsets
// are even (the colour planes are half size).
struct DiscPlace {
  int x = 0, y = 0, width = 0, height = 0;
};
DiscPlace disc_place(const DiscStandard& disc, int width, int height);

// The 256 colours of one RLE8 movie, chosen from its first frame and kept for
// the whole movie (players read them from the file's header). A first frame of
// at most 229 colours gives them exactly, so that pictures made of flat areas
// come back unchanged; a frame of more colours gives 229 that stand for them
// (median cut). The other entries hold an even cube of colours, as many levels
// a channel as fit (3 to 6), for the colours that later frames bring. There is
// no dithering: one colour always takes one entry, so a flat area stays flat
// and its rows are runs.
class Rle8Palette {
 public:
  // Entries that come from the first frame at most.
  static constexpr int kFromFrame = 229;

  explicit Rle8Palette(const FrameView& first);
  // Entry 0..255 as 0xFFRRGGBB.
  std::uint32_t entry(int index) const;
  // One palette index per pixel, rows top-down: a colour of the first frame
  // takes its own entry, any other the nearest.
  std::vector<std::uint8_t> quantize(const FrameView& frame);

 private:
  std::uint8_t index_of(std::uint32_t colour);
  int exact(std::uint32_t colour) const;  // -1 when not one of the frame's own
  // The slot of the exact table that holds `colour`, or the free one where it goes.
  std::size_t slot(std::uint32_t colour) const;
  // Takes the frame's own colours as the first entries; false, with nothing
  // taken, when it has more than kFromFrame.
  bool take_own_colours(const FrameView& first);
  void median_cut(const FrameView& first);
  void add_cube();

  std::vector<std::uint32_t> entries_;
  std::vector<std::uint32_t> exact_keys_;   // open addressing, 0 = free
  std::vector<std::uint8_t> exact_index_;
  std::vector<std::int16_t> nearest_;       // by 6-bit cell; -1 until needed
};

// One key frame of RLE8 data for indices of width x height, rows top-down.
std::vector<std::uint8_t> encode_rle8(const std::vector<std::uint8_t>& indices, int width, int height);
// The frame as stored in an RLE8 movie: its RLE8 data when smaller than the
// frame's raw 8-bit rows, else those rows (bottom-up, each padded to 4 bytes),
// so that no frame takes more than its uncompressed size; decoders tell the two
// apart by the size.
std::vector<std::uint8_t> rle8_frame(const std::vector<std::uint8_t>& indices, int width, int height);

}  // namespace platform::vcv
