// The movie layer's entry table. The layer is built as a module of its own,
// libquorvel_vidconv.so beside the program, the only one that links the codec
// libraries; the program links a loader (chargeur_film.cpp) with the layer's
// interface that loads the module on first use and calls it through this
// table. Readers and encoders cross over as opaque objects that the module
// makes and frees. Internal to the movie layer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/vidconv/conversion_video.h"
#include "platform/vidconv/indeo3.h"

namespace platform::vcv {

// Raised whenever the table changes, so that a stale module is refused.
inline constexpr int kMovieTableVersion = 4;
// The module's file name and the one name it exports.
inline constexpr const char* kMovieModuleName = "libquorvel_vidconv.so";
inline constexpr const char* kMovieTableSymbol = "quorvel_vidconv_table";

struct MovieTable {
  int version;

  void (*set_output_dialog_hook)(OutputDialogHook hook);
  Handle (*alloc)();
  Handle (*img_alloc)();
  Handle (*list_alloc)();
  bool (*free)(Handle h);
  bool (*list_free)(Handle list);
  bool (*assign_video_source)(Handle conv, SourceFn fn);
  bool (*assign_progress)(Handle conv, ProgressFn fn);
  bool (*assign_error)(Handle conv, ErrorFn fn);
  bool (*list_add)(Handle list, const std::string& pattern, int flags);
  std::optional<std::string> (*list_get_name)(Handle list, int index);
  int (*list_count)(Handle list);
  bool (*set_frame_rate)(Handle conv, double fps);
  bool (*set_resolution)(Handle conv, int width, int height);
  bool (*set_codec)(Handle conv, int container, std::uint32_t codec);
  bool (*set_output_file)(Handle conv, const std::string& path, int flags);
  bool (*set_byte_rate)(Handle conv, int container, int rate);
  bool (*set_dithering)(Handle conv, int on);
  int (*output_dlg)(Handle conv, Handle list, const std::string& title, int flags);
  bool (*force_compatibility)(Handle conv, int level);
  bool (*codec_available)(int container, std::uint32_t codec);
  bool (*convert)(Handle conv);
  int (*check_error)();
  std::string (*last_error_text)();
  bool (*get_file_info)(const std::string& path, int flags, FileInfo& info);
  bool (*src_set_file)(Handle source, const std::string& path);
  bool (*dib_to_img)(Handle image, const FrameView& frame);
  bool (*src_set_img)(Handle source, Handle image);
  bool (*src_finished)(Handle source);

  // MovieReader, as an object of the module.
  void* (*reader_new)();
  void (*reader_delete)(void* reader);
  bool (*reader_open)(void* reader, const std::string& path);
  void (*reader_close)(void* reader);
  bool (*reader_is_open)(const void* reader);
  std::string (*reader_error)(const void* reader);
  int (*reader_frame_count)(const void* reader);
  int (*reader_width)(const void* reader);
  int (*reader_height)(const void* reader);
  double (*reader_frame_rate)(const void* reader);
  double (*reader_sample_aspect)(const void* reader);
  bool (*reader_read)(void* reader, int k, std::vector<std::uint32_t>& pixels);

  // Iv32Encoder, likewise.
  bool (*iv32_holds)(int width, int height);
  std::optional<Iv32Size> (*iv32_size)(int width, int height);
  void* (*encoder_new)();
  void (*encoder_delete)(void* encoder);
  bool (*encoder_open)(void* encoder, int width, int height, bool inter, int key_interval);
  int (*encoder_width)(const void* encoder);
  int (*encoder_height)(const void* encoder);
  std::vector<std::uint8_t> (*encoder_encode_frame)(void* encoder, const FrameView& frame, bool& key);
  std::vector<std::uint8_t> (*encoder_encode_yuv)(void* encoder, const Yuv410& picture, bool& key);
  Yuv410 (*encoder_reconstruction)(const void* encoder);
};

}  // namespace platform::vcv

// What the module exports: its table.
extern "C" const platform::vcv::MovieTable* quorvel_vidconv_table();
