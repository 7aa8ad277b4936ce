#include "platform/vidconv/conversion_video.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <fnmatch.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <variant>

#include "platform/fichiers.h"
#include "platform/vidconv/image_alignee.h"
#include "platform/vidconv/indeo3.h"
#include "platform/vidconv/ouverture_film.h"

namespace platform::vcv {

namespace {

// ---------------------------------------------------------------- objects

// Every picture the layer holds is in the scaler's layout.
using Picture = ImageBgra;

struct FileList {
  std::vector<std::string> names;
};

// What one source request was answered with.
struct Source {
  enum class Answer { none, file, image, finished } answer = Answer::none;
  std::string file;
  Picture image;
};

struct Converter {
  SourceFn source;
  ProgressFn progress;
  ErrorFn error;
  double frame_rate = 30.0;
  int width = 0;
  int height = 0;
  bool codec_set = false;
  int container = 0;
  std::uint32_t codec = 0;
  std::string output;
  int byte_rate_avi = 0;
  int byte_rate_mpeg = 0;
  bool dithering = false;
  bool compatible = false;  // disc variants comply with their disc standard
  Handle list = 0;  // the list last shown by output_dlg
};

using Object = std::variant<Converter, Picture, FileList, Source>;

std::map<Handle, Object>& objects() {
  static std::map<Handle, Object> o;
  return o;
}
Handle g_next = 0;
bool g_busy = false;
int g_code = 0;
std::string g_text;
std::string g_log;  // the codec library's messages since the last conversion began
OutputDialogHook g_dialog;
Handle g_list_used = 0;  // the list the source callback reads names from

template <class T>
T* find(Handle h) {
  auto it = objects().find(h);
  if (it == objects().end()) return nullptr;
  return std::get_if<T>(&it->second);
}

Handle add(Object o) {
  do {
    ++g_next;
  } while (g_next == 0 || objects().count(g_next));
  objects().emplace(g_next, std::move(o));
  return g_next;
}

void record(int code, std::string text) {
  g_code = code;
  g_text = std::move(text);
}

bool bad_handle(const char* call) {
  record(kBadCall, std::string(call) + ": unknown or wrong handle");
  return false;
}

void log_callback(void*, int level, const char* fmt, va_list args) {
  if (level > AV_LOG_ERROR) return;
  char line[512];
  std::vsnprintf(line, sizeof line, fmt, args);
  if (g_log.size() < 4096) g_log += line;
}

void install_log() {
  static bool done = false;
  if (!done) {
    av_log_set_callback(log_callback);
    done = true;
  }
}

std::string av_text(int err) {
  char buf[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(err, buf, sizeof buf);
  return buf;
}

// ---------------------------------------------------------------- codecs

struct CodecChoice {
  const char* muxer = nullptr;
  const char* encoder = nullptr;  // null: the layer's own RLE8 or IV32
  AVPixelFormat format = AV_PIX_FMT_NONE;
  std::uint32_t tag = 0;          // codec tag to force, or 0
  bool multiple_of_4 = false;     // the encoder wants sides that are multiples of 4
  bool mpeg = false;
  const char* name = "";
};

std::optional<CodecChoice> choice_for(int container, std::uint32_t codec) {
  if (container == kContainerAvi) {
    if (codec == fourcc("cvid")) return CodecChoice{"avi", "cinepak", AV_PIX_FMT_RGB24, 0, true, false, "Cinepak"};
    if (codec == fourcc("msvc"))
      return CodecChoice{"avi", "msvideo1", AV_PIX_FMT_RGB555LE, fourcc("msvc"), true, false, "Microsoft Video 1"};
    if (codec == fourcc("mrle"))
      return CodecChoice{"avi", nullptr, AV_PIX_FMT_PAL8, fourcc("mrle"), false, false, "Run Length Encoding"};
    // Coded at the nearest size the format holds (iv32_size).
    if (codec == fourcc("IV32"))
      return CodecChoice{"avi", nullptr, AV_PIX_FMT_YUV410P, fourcc("IV32"), false, false, "Intel Indeo Video R3.2"};
    return std::nullopt;
  }
  if (container == kContainerMpeg) {
    static const char* const muxers[] = {"mpeg", "vcd", "vob", "svcd", "dvd"};
    if (codec > 4) return std::nullopt;
    const bool deux = codec >= 2;
    return CodecChoice{muxers[codec], deux ? "mpeg2video" : "mpeg1video", AV_PIX_FMT_YUV420P, 0, false, true,
                       deux ? "MPEG-2 video" : "MPEG-1 video"};
  }
  return std::nullopt;
}

std::string unavailable_text(int container, std::uint32_t codec) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "codec %08X of container %d cannot be written on this system", unsigned(codec),
                container);
  return buf;
}

bool choice_works(const CodecChoice& c) {
  if (!av_guess_format(c.muxer, nullptr, nullptr)) return false;
  return !c.encoder || avcodec_find_encoder_by_name(c.encoder);
}

// ---------------------------------------------------------------- frames

// Decodes a JPEG frame file into 0xFFRRGGBB pixels.
bool decode_jpeg(const std::string& path, Picture& out, std::string& why) {
  auto bytes = lire_fichier(path, &why);
  if (!bytes) return false;
  const AVCodec* dec = avcodec_find_decoder(AV_CODEC_ID_MJPEG);
  if (!dec) {
    why = "no JPEG decoder";
    return false;
  }
  std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> ctx(avcodec_alloc_context3(dec),
                                                                  [](AVCodecContext* c) { avcodec_free_context(&c); });
  std::unique_ptr<AVPacket, void (*)(AVPacket*)> pkt(av_packet_alloc(), [](AVPacket* p) { av_packet_free(&p); });
  std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
  if (!ctx || !pkt || !frame || avcodec_open2(ctx.get(), dec, nullptr) < 0 ||
      av_new_packet(pkt.get(), int(bytes->size())) < 0) {
    why = "cannot start the JPEG decoder";
    return false;
  }
  std::memcpy(pkt->data, bytes->data(), bytes->size());
  if (avcodec_send_packet(ctx.get(), pkt.get()) < 0 || avcodec_send_packet(ctx.get(), nullptr) < 0 ||
      avcodec_receive_frame(ctx.get(), frame.get()) < 0 || frame->width <= 0 || frame->height <= 0) {
    why = "not a readable JPEG picture";
    return false;
  }
  const AVPixelFormat fmt = AVPixelFormat(frame->format);
  SwsContext* sws = sws_getContext(frame->width, frame->height, fmt, frame->width, frame->height, AV_PIX_FMT_BGRA,
                                   SWS_POINT, nullptr, nullptr, nullptr);
  if (!sws) {
    why = "cannot convert the JPEG picture";
    return false;
  }
  // The decoder's YUV output is full range.
  int* inv = nullptr;
  int* tab = nullptr;
  int src_range = 0, dst_range = 0, brightness = 0, contrast = 0, saturation = 0;
  if (sws_getColorspaceDetails(sws, &inv, &src_range, &tab, &dst_range, &brightness, &contrast, &saturation) >= 0)
    sws_setColorspaceDetails(sws, inv, 1, tab, 1, brightness, contrast, saturation);
  if (!out.allouer(frame->width, frame->height)) {
    sws_freeContext(sws);
    why = "the JPEG picture is larger than 4095 x 4095 pixels";
    return false;
  }
  sws_scale(sws, frame->data, frame->linesize, 0, frame->height, out.plans(), out.pas());
  sws_freeContext(sws);
  for (int y = 0; y < out.height(); ++y) {
    std::uint32_t* ligne = out.ligne(y);
    for (int x = 0; x < out.width(); ++x) ligne[x] |= 0xFF000000u;
  }
  return true;
}

// Scales the picture into out's rectangle at (x, y) of width x height.
void scale_into(const Picture& f, Picture& out, int x, int y, int width, int height, int flags) {
  SwsContext* sws = sws_getContext(f.width(), f.height(), AV_PIX_FMT_BGRA, width, height, AV_PIX_FMT_BGRA, flags,
                                   nullptr, nullptr, nullptr);
  if (!sws) return;
  std::uint8_t* dst[1] = {reinterpret_cast<std::uint8_t*>(out.ligne(y) + x)};
  sws_scale(sws, f.plans(), f.pas(), 0, f.height(), dst, out.pas());
  sws_freeContext(sws);
}

// The frame brought to the movie size: cropped at the right and bottom when
// larger, stretched when smaller. Empty when the size cannot be allocated.
Picture to_size(const Picture& f, int width, int height) {
  Picture out;
  if (!out.allouer(width, height) || f.vide()) return out;
  if (f.width() >= width && f.height() >= height) {
    for (int y = 0; y < height; ++y) std::copy_n(f.ligne(y), width, out.ligne(y));
    return out;
  }
  scale_into(f, out, 0, 0, width, height, SWS_BILINEAR);
  return out;
}

// The frame scaled into its place on a disc frame, black around it.
Picture to_disc(const Picture& f, const DiscStandard& disc) {
  Picture out;
  if (!out.allouer(disc.width, disc.height) || f.vide()) return out;
  const DiscPlace at = disc_place(disc, f.width(), f.height());
  scale_into(f, out, at.x, at.y, at.width, at.height, SWS_BICUBIC);
  return out;
}

// ---------------------------------------------------------------- writer

class Writer {
 public:
  ~Writer() { close(); }

  // Opens the muxer and the encoder (with a disc's settings when `disc` is
  // given); on failure sets code and text.
  bool open(const Converter& c, const CodecChoice& choice, const DiscStandard* disc, const std::string& part,
            int& code, std::string& text) {
    choice_ = choice;
    width_ = c.width;
    height_ = c.height;
    dithering_ = c.dithering;
    if (avformat_alloc_output_context2(&oc_, nullptr, choice.muxer, part.c_str()) < 0 || !oc_) {
      code = kCodecUnavailable;
      text = std::string("the ") + choice.muxer + " container cannot be written on this system";
      return false;
    }
    st_ = avformat_new_stream(oc_, nullptr);
    if (!st_) return fail(kEncoderFailure, "cannot add the video stream", code, text);
    const AVRational tb = disc ? AVRational{disc->rate_den, disc->rate_num}
                               : av_inv_q(av_d2q(c.frame_rate > 0 ? c.frame_rate : 30.0, 1000));
    if (choice.encoder) {
      const AVCodec* enc = avcodec_find_encoder_by_name(choice.encoder);
      if (!enc) {
        code = kCodecUnavailable;
        text = std::string(choice.name) + " cannot be written on this system";
        return false;
      }
      enc_ = avcodec_alloc_context3(enc);
      if (!enc_) return fail(kEncoderFailure, "cannot make the encoder", code, text);
      enc_->width = width_;
      enc_->height = height_;
      enc_->pix_fmt = choice.format;
      enc_->time_base = tb;
      enc_->framerate = av_inv_q(tb);
      st_->time_base = tb;
      AVDictionary* opts = nullptr;
      if (disc) {
        disc_settings(*disc, opts);
      } else if (choice.mpeg) {
        const int rate = c.byte_rate_mpeg > 0 ? c.byte_rate_mpeg : 600;
        enc_->bit_rate = std::int64_t(rate) * 8000;
        enc_->gop_size = 12;
      }
      if (oc_->oformat->flags & AVFMT_GLOBALHEADER) enc_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
      if (std::strcmp(choice.encoder, "cinepak") == 0) {
        av_dict_set(&opts, "max_extra_cb_iterations", "0", 0);
        av_dict_set(&opts, "max_strips", "1", 0);
      }
      const int r = avcodec_open2(enc_, enc, &opts);
      av_dict_free(&opts);
      if (r < 0) return fail(kEncoderFailure, std::string(choice.name) + ": " + av_text(r), code, text);
      if (avcodec_parameters_from_context(st_->codecpar, enc_) < 0)
        return fail(kEncoderFailure, "cannot describe the video stream", code, text);
      if (choice.tag) st_->codecpar->codec_tag = choice.tag;
      st_->sample_aspect_ratio = enc_->sample_aspect_ratio;
      sws_ = sws_alloc_context();
      if (!sws_) return fail(kEncoderFailure, "cannot make the pixel converter", code, text);
      av_opt_set_int(sws_, "srcw", width_, 0);
      av_opt_set_int(sws_, "srch", height_, 0);
      av_opt_set_int(sws_, "src_format", AV_PIX_FMT_BGRA, 0);
      av_opt_set_int(sws_, "dstw", width_, 0);
      av_opt_set_int(sws_, "dsth", height_, 0);
      av_opt_set_int(sws_, "dst_format", choice.format, 0);
      av_opt_set_int(sws_, "sws_flags", SWS_BICUBIC, 0);
      av_opt_set(sws_, "sws_dither", dithering_ ? "bayer" : "none", 0);
      if (sws_init_context(sws_, nullptr, nullptr) < 0)
        return fail(kEncoderFailure, "cannot start the pixel converter", code, text);
      frame_ = av_frame_alloc();
      if (!frame_) return fail(kEncoderFailure, "out of memory", code, text);
      frame_->format = choice.format;
      frame_->width = width_;
      frame_->height = height_;
      if (av_frame_get_buffer(frame_, 0) < 0) return fail(kEncoderFailure, "out of memory", code, text);
    } else {
      st_->time_base = tb;
      rle_tb_ = tb;
      AVCodecParameters* p = st_->codecpar;
      p->codec_type = AVMEDIA_TYPE_VIDEO;
      p->codec_id = AV_CODEC_ID_MSRLE;
      p->bits_per_coded_sample = 8;
      if (choice.tag == fourcc("IV32")) {
        const auto taille = iv32_size(width_, height_);
        iv32_ = std::make_unique<Iv32Encoder>();
        if (!taille || !iv32_->open(taille->width, taille->height))
          return fail(kBadFrameSize, "the frame size does not fit Intel Indeo Video R3.2", code, text);
        p->codec_id = AV_CODEC_ID_INDEO3;
        p->bits_per_coded_sample = 24;
        width_ = taille->width;
        height_ = taille->height;
      }
      p->codec_tag = choice.tag;
      p->width = width_;
      p->height = height_;
      p->format = choice.format;
      st_->avg_frame_rate = av_inv_q(tb);
    }
    pkt_ = av_packet_alloc();
    if (!pkt_) return fail(kEncoderFailure, "out of memory", code, text);
    int r = avio_open(&oc_->pb, part.c_str(), AVIO_FLAG_WRITE);
    if (r < 0) {
      code = kCannotCreateOutput;
      text = "cannot create the movie file " + part + ": " + av_text(r);
      return false;
    }
    AVDictionary* mux = nullptr;
    if (disc) {
      av_dict_set_int(&mux, "packetsize", disc->packet_size, 0);
      if (disc->mux_rate) av_dict_set_int(&mux, "muxrate", disc->mux_rate, 0);
      // A VideoCD's clock starts at 36000 and its first three packs come before
      // the data: the pictures start 0.44 s in.
      if (std::strcmp(disc->muxer, "vcd") == 0) av_dict_set_int(&mux, "preload", 440000, 0);
    }
    // Each packet goes to the file as it is written, the header at once: a
    // full disk is told where it happens, not a buffer later.
    oc_->flush_packets = 1;
    r = avformat_write_header(oc_, &mux);
    av_dict_free(&mux);
    if (r < 0) return fail(kWriteFailure, "cannot write the movie header: " + av_text(r), code, text);
    header_ = true;
    avio_flush(oc_->pb);
    if (oc_->pb->error < 0)
      return fail(kWriteFailure, "cannot write the movie header: " + av_text(oc_->pb->error), code, text);
    return true;
  }

  bool write(const Picture& f, int& code, std::string& text) {
    if (f.vide()) return fail(kEncoderFailure, "out of memory", code, text);
    if (iv32_) return write_iv32(f.view(), code, text);
    if (!enc_) return write_rle(f.view(), code, text);
    if (av_frame_make_writable(frame_) < 0) return fail(kEncoderFailure, "out of memory", code, text);
    sws_scale(sws_, f.plans(), f.pas(), 0, height_, frame_->data, frame_->linesize);
    frame_->pts = next_pts_++;
    return encode(frame_, code, text);
  }

  bool finish(int& code, std::string& text) {
    if (enc_ && !encode(nullptr, code, text)) return false;
    // FFmpeg takes the muxer down whether the trailer was written or not: it
    // is never asked for twice.
    trailer_ = true;
    const int r = av_write_trailer(oc_);
    if (r < 0) return fail(kWriteFailure, "cannot finish the movie: " + av_text(r), code, text);
    if (oc_->pb) {
      avio_closep(&oc_->pb);
    }
    return true;
  }

  void close() {
    if (oc_) {
      if (header_ && !trailer_) av_write_trailer(oc_);
      if (oc_->pb) avio_closep(&oc_->pb);
      avformat_free_context(oc_);
      oc_ = nullptr;
    }
    if (enc_) avcodec_free_context(&enc_);
    if (frame_) av_frame_free(&frame_);
    if (pkt_) av_packet_free(&pkt_);
    if (sws_) {
      sws_freeContext(sws_);
      sws_ = nullptr;
    }
  }

 private:
  // The encoder's rate control, key frames, pixel shape and options for a disc.
  void disc_settings(const DiscStandard& d, AVDictionary*& opts) {
    enc_->gop_size = d.gop;
    enc_->bit_rate = d.bit_rate;
    enc_->rc_max_rate = d.max_rate;
    enc_->rc_min_rate = d.min_rate;
    enc_->rc_buffer_size = d.buffer_size;
    enc_->sample_aspect_ratio = AVRational{d.sar_num, d.sar_den};
    // Room for the scan offsets a Super VideoCD player looks for.
    if (std::strcmp(d.muxer, "svcd") == 0) av_dict_set(&opts, "scan_offset", "1", 0);
  }

  bool fail(int c, std::string why, int& code, std::string& text) {
    code = c;
    text = std::move(why);
    return false;
  }

  bool encode(AVFrame* f, int& code, std::string& text) {
    int r = avcodec_send_frame(enc_, f);
    if (r < 0) return fail(kEncoderFailure, std::string(choice_.name) + ": " + av_text(r), code, text);
    for (;;) {
      r = avcodec_receive_packet(enc_, pkt_);
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
      if (r < 0) return fail(kEncoderFailure, std::string(choice_.name) + ": " + av_text(r), code, text);
      av_packet_rescale_ts(pkt_, enc_->time_base, st_->time_base);
      pkt_->stream_index = st_->index;
      r = av_interleaved_write_frame(oc_, pkt_);
      if (r < 0) return fail(kWriteFailure, "cannot write the movie: " + av_text(r), code, text);
    }
  }

  // The movie's palette comes from its first frame and goes with its first
  // packet into the file's header.
  bool write_rle(const FrameView& f, int& code, std::string& text) {
    if (!rle_palette_) rle_palette_ = std::make_unique<Rle8Palette>(f);
    const std::vector<std::uint8_t> data = rle8_frame(rle_palette_->quantize(f), width_, height_);
    if (av_new_packet(pkt_, int(data.size())) < 0) return fail(kEncoderFailure, "out of memory", code, text);
    std::memcpy(pkt_->data, data.data(), data.size());
    pkt_->flags |= AV_PKT_FLAG_KEY;
    if (next_pts_ == 0) {
      std::uint8_t* pal = av_packet_new_side_data(pkt_, AV_PKT_DATA_PALETTE, AVPALETTE_SIZE);
      if (!pal) return fail(kEncoderFailure, "out of memory", code, text);
      for (int i = 0; i < 256; ++i) {
        const std::uint32_t e = rle_palette_->entry(i);
        std::memcpy(pal + 4 * i, &e, 4);
      }
    }
    return write_own_packet(code, text);
  }

  bool write_iv32(const FrameView& f, int& code, std::string& text) {
    bool cle = false;
    const std::vector<std::uint8_t> data = iv32_->encode(f, cle);
    if (data.empty()) return fail(kEncoderFailure, "Intel Indeo Video R3.2: the frame cannot be coded", code, text);
    if (av_new_packet(pkt_, int(data.size())) < 0) return fail(kEncoderFailure, "out of memory", code, text);
    std::memcpy(pkt_->data, data.data(), data.size());
    if (cle) pkt_->flags |= AV_PKT_FLAG_KEY;
    return write_own_packet(code, text);
  }

  // Writes the packet one of the program's own encoders filled: the next
  // frame's time, one frame long.
  bool write_own_packet(int& code, std::string& text) {
    pkt_->pts = pkt_->dts = next_pts_++;
    pkt_->duration = 1;
    av_packet_rescale_ts(pkt_, rle_tb_, st_->time_base);
    pkt_->stream_index = st_->index;
    const int r = av_interleaved_write_frame(oc_, pkt_);
    if (r < 0) return fail(kWriteFailure, "cannot write the movie: " + av_text(r), code, text);
    return true;
  }

  CodecChoice choice_;
  std::unique_ptr<Iv32Encoder> iv32_;
  std::unique_ptr<Rle8Palette> rle_palette_;
  AVFormatContext* oc_ = nullptr;
  AVStream* st_ = nullptr;
  AVCodecContext* enc_ = nullptr;
  AVFrame* frame_ = nullptr;
  AVPacket* pkt_ = nullptr;
  SwsContext* sws_ = nullptr;
  AVRational rle_tb_{1, 30};
  int width_ = 0;
  int height_ = 0;
  bool dithering_ = false;
  bool header_ = false;
  bool trailer_ = false;
  std::int64_t next_pts_ = 0;
};

// Clears the busy flag on every path out of convert.
struct Occupe {
  Occupe() { g_busy = true; }
  ~Occupe() { g_busy = false; }
};

// Reports an error through the converter's callback; true when the caller
// asked to skip (only offered for unreadable frame files).
bool report(Handle conv, int code, const std::string& text) {
  record(code, g_log.empty() ? text : text + " (" + g_log.substr(0, g_log.find_last_not_of('\n') + 1) + ")");
  int answer = 2;
  if (Converter* c = find<Converter>(conv); c && c->error) {
    ErrorFn fn = c->error;  // the callback may free the converter
    fn(conv, code, answer);
  }
  return code == kUnreadableFrame && answer == 1;
}

void progress(Handle conv, int kind, int value, int total) {
  if (Converter* c = find<Converter>(conv); c && c->progress) {
    ProgressFn fn = c->progress;
    fn(conv, kind, value, total);
  }
}

}  // namespace

void set_output_dialog_hook(OutputDialogHook hook) { g_dialog = std::move(hook); }

Handle alloc() { return add(Converter{}); }
Handle img_alloc() { return add(Picture{}); }
Handle list_alloc() { return add(FileList{}); }

bool free(Handle h) {
  if (h == 0) return false;
  auto it = objects().find(h);
  if (it == objects().end()) return false;
  // A source belongs to its conversion; a converter in use stays until it ends.
  if (std::holds_alternative<Source>(it->second)) return bad_handle("free");
  objects().erase(it);
  return true;
}

bool list_free(Handle list) {
  if (!find<FileList>(list)) return false;
  objects().erase(list);
  return true;
}

bool assign_video_source(Handle conv, SourceFn fn) {
  Converter* c = find<Converter>(conv);
  if (!c) return bad_handle("assign_video_source");
  c->source = std::move(fn);
  return true;
}

bool assign_progress(Handle conv, ProgressFn fn) {
  Converter* c = find<Converter>(conv);
  if (!c) return bad_handle("assign_progress");
  c->progress = std::move(fn);
  return true;
}

bool assign_error(Handle conv, ErrorFn fn) {
  Converter* c = find<Converter>(conv);
  if (!c) return bad_handle("assign_error");
  c->error = std::move(fn);
  return true;
}

bool list_add(Handle list, const std::string& pattern, int) {
  FileList* l = find<FileList>(list);
  if (!l) return bad_handle("list_add");
  const auto slash = pattern.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : pattern.substr(0, slash);
  const std::string prefix = slash == std::string::npos ? "" : pattern.substr(0, slash + 1);
  const std::string mask = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
    if (!e.is_regular_file(ec)) continue;
    const std::string name = e.path().filename().string();
    if (fnmatch(mask.c_str(), name.c_str(), FNM_PERIOD) == 0) found.push_back(prefix + name);
  }
  std::sort(found.begin(), found.end());
  l->names.insert(l->names.end(), found.begin(), found.end());
  return true;
}

std::optional<std::string> list_get_name(Handle list, int index) {
  FileList* l = find<FileList>(list);
  if (!l) {
    bad_handle("list_get_name");
    return std::nullopt;
  }
  g_list_used = list;
  if (index < 0 || std::size_t(index) >= l->names.size()) return std::nullopt;
  return l->names[std::size_t(index)];
}

int list_count(Handle list) {
  FileList* l = find<FileList>(list);
  return l ? int(l->names.size()) : 0;
}

bool set_frame_rate(Handle conv, double fps) {
  Converter* c = find<Converter>(conv);
  if (!c) return bad_handle("set_frame_rate");
  if (!(fps > 0 && fps <= 1000)) {
    record(kBadCall, "frame rate out of range");
    return false;
  }
  c->frame_rate = fps;
  return true;
}

bool set_resolution(Handle conv, int width, int height) {
  Converter* c = find<Converter>(conv);
  if (!c) return bad_handle("set_resolution");
  if (width < 1 || width > kMaxFrameSide || height < 1 || height > kMaxFrameSide) {
    record(kBadFrameSize, "frame size " + std::to_string(width) + " x " + std::to_string(height) +
                              " is outside 1 to 4095 pixels");
    return false;
  }
  c->width = width;
  c->height = height;
  return true;
}

bool codec_available(int container, std::uint32_t codec) {
  const auto choice = choice_for(container, codec);
  return choice && choice_works(*choice);
}

bool set_codec(Handle conv, int container, std::uint32_t codec) {
  Converter* c = find<Converter>(conv);
  if (!c) return bad_handle("set_codec");
  if (!codec_available(container, codec)) {
    record(kCodecUnavailable, unavailable_text(container, codec));
    c->codec_set = false;
    c->container = container;
    c->codec = codec;
    return false;
  }
  c->codec_set = true;
  c->container = container;
  c->codec = codec;
  return true;
}

bool set_output_file(Handle conv, const std::string& path, int) {
  Converter* c = find<Converter>(conv);
  if (!c) return bad_handle("set_output_file");
  c->output = path;
  return true;
}

bool set_byte_rate(Handle conv, int container, int rate) {
  Converter* c = find<Converter>(conv);
  if (!c) return bad_handle("set_byte_rate");
  if (rate <= 0 || rate > 100000) {
    record(kBadCall, "byte rate out of range");
    return false;
  }
  if (container == kContainerAvi) c->byte_rate_avi = rate;
  else if (container == kContainerMpeg) c->byte_rate_mpeg = rate;
  else return bad_handle("set_byte_rate");
  return true;
}

bool set_dithering(Handle conv, int on) {
  Converter* c = find<Converter>(conv);
  if (!c) return bad_handle("set_dithering");
  c->dithering = on != 0;
  return true;
}

bool force_compatibility(Handle conv, int level) {
  Converter* c = find<Converter>(conv);
  if (!c) return bad_handle("force_compatibility");
  c->compatible = level != 0;
  return true;
}

int output_dlg(Handle conv, Handle list, const std::string& title, int) {
  Converter* c = find<Converter>(conv);
  if (!c) return bad_handle("output_dlg");
  if (!g_dialog) return 1;
  OutputSettings s;
  const bool mpeg = c->codec_set ? c->container == kContainerMpeg : false;
  s.codec_set = c->codec_set;
  s.container_family = c->container;
  s.codec = c->codec;
  s.container = mpeg ? "MPEG" : "AVI";
  s.width = c->width;
  s.height = c->height;
  s.frame_rate = c->frame_rate;
  s.byte_rate = mpeg ? (c->byte_rate_mpeg ? c->byte_rate_mpeg : 600) : (c->byte_rate_avi ? c->byte_rate_avi : 600);
  s.output_file = c->output;
  s.frames_in_list = list_count(list);
  OutputDialogHook hook = g_dialog;
  const int r = hook(s, title);
  c = find<Converter>(conv);
  if (c) c->list = list;
  if (r == 1 && c && s.byte_rate > 0) {
    if (mpeg) c->byte_rate_mpeg = s.byte_rate;
    else c->byte_rate_avi = s.byte_rate;
  }
  return r == 1 ? 1 : 0;
}

bool convert(Handle conv) {
  install_log();
  if (g_busy) {
    record(kBusy, "another conversion is running");
    return false;
  }
  Converter* c = find<Converter>(conv);
  if (!c) return bad_handle("convert");
  Occupe occupe;
  g_log.clear();
  record(kOk, "");
  if (c->width <= 0 || c->height <= 0) {
    report(conv, kBadFrameSize, "no frame size was set");
    return false;
  }
  if (c->output.empty() || !c->source) {
    report(conv, kBadCall, c->output.empty() ? "no output file was set" : "no video source was set");
    return false;
  }
  std::optional<CodecChoice> choice;
  if (c->codec_set) {
    choice = choice_for(c->container, c->codec);
  } else if (c->codec != 0 || c->container != 0) {
    report(conv, kCodecUnavailable, unavailable_text(c->container, c->codec));
    return false;
  } else {
    // No codec given: the output file's extension decides.
    const std::string& o = c->output;
    const bool avi = o.size() >= 4 && fin_majuscule(o) == ".AVI";
    choice = avi ? choice_for(kContainerAvi, fourcc("cvid")) : choice_for(kContainerMpeg, 0);
  }
  if (!choice || !choice_works(*choice)) {
    report(conv, kCodecUnavailable, unavailable_text(c->container, c->codec));
    return false;
  }
  Converter settings = *c;
  std::optional<DiscStandard> disc;
  if (settings.compatible && settings.codec_set) disc = disc_standard(settings.container, settings.codec);
  if (disc) {
    settings.width = disc->width;
    settings.height = disc->height;
  }
  if (choice->multiple_of_4) {
    settings.width = std::max(4, settings.width / 4 * 4);
    settings.height = std::max(4, settings.height / 4 * 4);
  }
  // The movie replaces only a regular file (through a link, the file it
  // names), and is made beside it under a work name first: a new file of
  // ours, never one that was there, which FFmpeg then opens by name.
  Echec refus;
  const std::optional<std::string> cible = cible_ecriture(settings.output, &refus);
  if (!cible) {
    report(conv, kCannotCreateOutput, "cannot write the movie " + settings.output + ": " + refus);
    return false;
  }
  const std::string output = *cible;
  const std::optional<std::string> provisoire = creer_provisoire(output, kWorkFileEnding, &refus);
  if (!provisoire) {
    report(conv, kCannotCreateOutput, "cannot create a work file beside the movie " + output + ": " + refus);
    return false;
  }
  const std::string part = *provisoire;
  const Handle source = add(Source{});
  struct Fin {
    Handle source;
    std::string part;
    bool keep = false;
    ~Fin() {
      objects().erase(source);
      if (!keep) std::remove(part.c_str());
    }
  } fin{source, part};

  Writer writer;
  int code = 0;
  std::string text;
  if (!writer.open(settings, *choice, disc ? &*disc : nullptr, part, code, text)) {
    report(conv, code, text);
    return false;
  }
  int written = 0;
  g_list_used = settings.list;
  for (int index = 0;;) {
    const int total = list_count(g_list_used);
    Source* s = find<Source>(source);
    *s = Source{};
    Converter* now = find<Converter>(conv);
    if (!now || !now->source) {
      report(conv, kBadCall, "the converter was freed during the conversion");
      return false;
    }
    SourceFn fn = now->source;
    fn(source, index);
    s = find<Source>(source);
    if (s->answer == Source::Answer::finished) break;
    if (s->answer == Source::Answer::none) {
      progress(conv, 1, written, total);
      if (!find<Converter>(conv)) return false;
      continue;
    }
    Picture decoded;
    if (s->answer == Source::Answer::file) {
      std::string why;
      if (!decode_jpeg(s->file, decoded, why)) {
        if (report(conv, kUnreadableFrame, "frame file " + s->file + " is unreadable: " + why)) {
          ++index;
          continue;
        }
        return false;
      }
    } else {
      decoded = std::move(s->image);
    }
    const Picture sized = disc ? to_disc(decoded, *disc) : to_size(decoded, settings.width, settings.height);
    if (!writer.write(sized, code, text)) {
      report(conv, code, text);
      return false;
    }
    ++written;
    ++index;
    progress(conv, 3, written, total);
  }
  if (written == 0) {
    report(conv, kNoFrame, "no frame was given to the movie");
    return false;
  }
  if (!writer.finish(code, text)) {
    report(conv, code, text);
    return false;
  }
  writer.close();
  refus = remplacer_par(part, output);
  if (!refus.empty()) {
    report(conv, kWriteFailure, "cannot rename the movie to " + output + ": " + refus);
    return false;
  }
  fin.keep = true;
  progress(conv, 2, written, list_count(g_list_used));
  return true;
}

int check_error() { return g_code; }
std::string last_error_text() { return g_text; }

bool get_file_info(const std::string& path, int, FileInfo& info) {
  install_log();
  AVFormatContext* ic = ouvrir_entree(path);
  if (!ic) return false;
  std::unique_ptr<AVFormatContext*, void (*)(AVFormatContext**)> garde(&ic, avformat_close_input);
  if (avformat_find_stream_info(ic, nullptr) < 0) return false;
  const int k = av_find_best_stream(ic, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (k < 0) return false;
  AVStream* st = ic->streams[k];
  info = FileInfo{};
  info.file_name = path;
  info.file_format = ic->iformat->long_name ? ic->iformat->long_name : ic->iformat->name;
  std::error_code ec;
  const auto taille = std::filesystem::file_size(path, ec);
  info.file_size = ec ? 0.0 : double(taille);
  const AVCodecDescriptor* d = avcodec_descriptor_get(st->codecpar->codec_id);
  info.video_format = d ? (d->long_name ? d->long_name : d->name) : "";
  AVPacket* pkt = av_packet_alloc();
  std::int32_t frames = 0;
  while (pkt && av_read_frame(ic, pkt) >= 0) {
    if (pkt->stream_index == k) ++frames;
    av_packet_unref(pkt);
  }
  av_packet_free(&pkt);
  info.frames = frames;
  AVRational r = st->avg_frame_rate.num ? st->avg_frame_rate : st->r_frame_rate;
  info.frames_per_second = r.num && r.den ? av_q2d(r) : 0.0;
  info.playing_time = info.frames_per_second > 0 ? frames / info.frames_per_second : 0.0;
  info.width = st->codecpar->width;
  info.height = st->codecpar->height;
  const AVPixFmtDescriptor* pd = av_pix_fmt_desc_get(AVPixelFormat(st->codecpar->format));
  info.bits_per_pixel = pd ? av_get_bits_per_pixel(pd) : 0;
  info.bytes_per_pixel = (info.bits_per_pixel + 7) / 8;
  return true;
}

bool src_set_file(Handle source, const std::string& path) {
  Source* s = find<Source>(source);
  if (!s) return bad_handle("src_set_file");
  s->answer = Source::Answer::file;
  s->file = path;
  return true;
}

bool dib_to_img(Handle image, const FrameView& frame) {
  Picture* p = find<Picture>(image);
  if (!p) return bad_handle("dib_to_img");
  if (!frame.data || frame.width <= 0 || frame.height <= 0 || frame.stride < frame.width) {
    record(kBadFrameSize, "dib_to_img: empty picture");
    return false;
  }
  if (!p->copier(frame)) {
    record(kBadFrameSize, "dib_to_img: pictures are held up to 4095 x 4095 pixels");
    return false;
  }
  return true;
}

bool src_set_img(Handle source, Handle image) {
  Source* s = find<Source>(source);
  Picture* p = find<Picture>(image);
  if (!s || !p) return bad_handle("src_set_img");
  if (p->vide()) {
    record(kNoFrame, "src_set_img: the picture holds no frame");
    return false;
  }
  s->answer = Source::Answer::image;
  s->image = *p;
  return true;
}

bool src_finished(Handle source) {
  Source* s = find<Source>(source);
  if (!s) return bad_handle("src_finished");
  s->answer = Source::Answer::finished;
  return true;
}

}  // namespace platform::vcv
