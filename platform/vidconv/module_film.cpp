// The movie module's one exported entry: the table of the layer's calls,
// readers and encoders (see table_film.h). Everything else in the module is
// hidden, so its copies of the layer's names never meet the program's loader.
#include "platform/vidconv/lecteur_film.h"
#include "platform/vidconv/table_film.h"

namespace platform::vcv {
namespace {

MovieReader* lecteur(void* p) { return static_cast<MovieReader*>(p); }
const MovieReader* lecteur(const void* p) { return static_cast<const MovieReader*>(p); }
Iv32Encoder* codeur(void* p) { return static_cast<Iv32Encoder*>(p); }
const Iv32Encoder* codeur(const void* p) { return static_cast<const Iv32Encoder*>(p); }

const MovieTable kTable = {
    kMovieTableVersion,
    set_output_dialog_hook,
    alloc,
    img_alloc,
    list_alloc,
    platform::vcv::free,
    list_free,
    assign_video_source,
    assign_progress,
    assign_error,
    list_add,
    list_get_name,
    list_count,
    set_frame_rate,
    set_resolution,
    set_codec,
    set_output_file,
    set_byte_rate,
    set_dithering,
    output_dlg,
    force_compatibility,
    codec_available,
    convert,
    check_error,
    last_error_text,
    get_file_info,
    src_set_file,
    dib_to_img,
    src_set_img,
    src_finished,

    []() -> void* { return new MovieReader; },
    [](void* p) { delete lecteur(p); },
    [](void* p, const std::string& path) { return lecteur(p)->open(path); },
    [](void* p) { lecteur(p)->close(); },
    [](const void* p) { return lecteur(p)->is_open(); },
    [](const void* p) { return lecteur(p)->error(); },
    [](const void* p) { return lecteur(p)->frame_count(); },
    [](const void* p) { return lecteur(p)->width(); },
    [](const void* p) { return lecteur(p)->height(); },
    [](const void* p) { return lecteur(p)->frame_rate(); },
    [](const void* p) { return lecteur(p)->sample_aspect(); },
    [](void* p, int k, std::vector<std::uint32_t>& pixels) { return lecteur(p)->read(k, pixels); },

    iv32_holds,
    iv32_size,
    []() -> void* { return new Iv32Encoder; },
    [](void* p) { delete codeur(p); },
    [](void* p, int w, int h, bool inter, int key_interval) { return codeur(p)->open(w, h, inter, key_interval); },
    [](const void* p) { return codeur(p)->width(); },
    [](const void* p) { return codeur(p)->height(); },
    [](void* p, const FrameView& frame, bool& key) { return codeur(p)->encode(frame, key); },
    [](void* p, const Yuv410& picture, bool& key) { return codeur(p)->encode(picture, key); },
    [](const void* p) { return codeur(p)->reconstruction(); },
};

}  // namespace
}  // namespace platform::vcv

extern "C" __attribute__((visibility("default"))) const platform::vcv::MovieTable* quorvel_vidconv_table() {
  return &platform::vcv::kTable;
}
