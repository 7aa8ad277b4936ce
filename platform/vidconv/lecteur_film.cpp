#include "platform/vidconv/lecteur_film.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <utility>

#include "platform/vidconv/image_alignee.h"
#include "platform/vidconv/ouverture_film.h"

namespace platform::vcv {

namespace {

// One packet of the video stream, in file order.
struct Entree {
  std::int64_t position = -1;  // byte position, -1 when unknown
  std::int64_t dts = AV_NOPTS_VALUE;
  bool cle = false;
};

}  // namespace

struct MovieReader::Impl {
  AVFormatContext* fmt = nullptr;
  AVCodecContext* dec = nullptr;
  AVPacket* pkt = nullptr;
  AVFrame* frame = nullptr;
  SwsContext* sws = nullptr;
  int flux = -1;
  int largeur = 0, hauteur = 0;
  double cadence = 30.0;
  double aspect = 1.0;  // a pixel's width over its height
  std::vector<Entree> index;
  ImageBgra tampon;  // the scaler's aligned rows
  int suivante = -1;   // the frame the decoder gives next, -1: unknown (seek first)
  bool fin_envoyee = false;
  std::string raison;  // why the last open failed

  ~Impl() { fermer(); }

  void fermer() {
    if (sws) sws_freeContext(sws);
    sws = nullptr;
    if (frame) av_frame_free(&frame);
    if (pkt) av_packet_free(&pkt);
    if (dec) avcodec_free_context(&dec);
    if (fmt) avformat_close_input(&fmt);
    flux = -1;
    largeur = hauteur = 0;
    cadence = 30.0;
    aspect = 1.0;
    index.clear();
    suivante = -1;
  }

  // Back to the first packet; the decoder gives frame 0 next.
  bool rembobiner() {
    avcodec_flush_buffers(dec);
    fin_envoyee = false;
    const std::int64_t t = index[0].dts != AV_NOPTS_VALUE ? index[0].dts : 0;
    if (av_seek_frame(fmt, flux, t, AVSEEK_FLAG_BACKWARD) < 0 &&
        av_seek_frame(fmt, -1, 0, AVSEEK_FLAG_BYTE | AVSEEK_FLAG_BACKWARD) < 0)
      return false;
    suivante = 0;
    return true;
  }

  // Puts the demuxer at packet j (a key frame), which it sends to a reset
  // decoder; the packet is recognised by its byte position.
  bool placer(int j) {
    const Entree& e = index[std::size_t(j)];
    if (j == 0 || e.position < 0 || e.dts == AV_NOPTS_VALUE) return rembobiner();
    avcodec_flush_buffers(dec);
    fin_envoyee = false;
    if (av_seek_frame(fmt, flux, e.dts, AVSEEK_FLAG_BACKWARD) < 0) return rembobiner();
    for (;;) {
      if (av_read_frame(fmt, pkt) < 0) return rembobiner();
      if (pkt->stream_index == flux && pkt->pos >= e.position) {
        if (pkt->pos != e.position) {
          av_packet_unref(pkt);
          return rembobiner();  // the seek went past it
        }
        suivante = j;
        const int r = avcodec_send_packet(dec, pkt);
        av_packet_unref(pkt);
        return r >= 0 || r == AVERROR(EAGAIN);
      }
      av_packet_unref(pkt);
    }
  }

  // The next decoded frame into `frame`; false at the end.
  bool decoder_suivante() {
    for (;;) {
      const int r = avcodec_receive_frame(dec, frame);
      if (r >= 0) return true;
      if (r != AVERROR(EAGAIN) || fin_envoyee) return false;
      if (av_read_frame(fmt, pkt) < 0) {
        avcodec_send_packet(dec, nullptr);
        fin_envoyee = true;
        continue;
      }
      if (pkt->stream_index == flux) avcodec_send_packet(dec, pkt);
      av_packet_unref(pkt);
    }
  }

  bool convertir(std::vector<std::uint32_t>& pixels) {
    if (largeur == 0 && hauteur == 0 && taille_lue(frame->width, frame->height)) {
      largeur = frame->width;
      hauteur = frame->height;
    }
    if (frame->width != largeur || frame->height != hauteur || largeur <= 0 || hauteur <= 0) return false;
    sws = sws_getCachedContext(sws, largeur, hauteur, AVPixelFormat(frame->format), largeur, hauteur, AV_PIX_FMT_BGRA,
                               SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!sws) return false;
    // The scaler writes whole vector words: it writes into padded rows, and
    // the packed rows are copied out.
    if ((tampon.width() != largeur || tampon.height() != hauteur) && !tampon.allouer(largeur, hauteur)) return false;
    sws_scale(sws, frame->data, frame->linesize, 0, hauteur, tampon.plans(), tampon.pas());
    pixels.resize(std::size_t(largeur) * std::size_t(hauteur));
    for (int y = 0; y < hauteur; ++y) {
      const std::uint32_t* ligne = tampon.ligne(y);
      std::uint32_t* vers = pixels.data() + std::size_t(y) * std::size_t(largeur);
      for (int x = 0; x < largeur; ++x) vers[x] = ligne[x] | 0xFF000000u;
    }
    return true;
  }
};

MovieReader::MovieReader() : impl_(std::make_unique<Impl>()) {}
MovieReader::~MovieReader() = default;

bool MovieReader::open(const std::string& path) {
  close();
  Impl& m = *impl_;
  const auto refuser = [&m](std::string raison) {
    m.fermer();
    m.raison = std::move(raison);
    return false;
  };
  m.fmt = ouvrir_entree(path, &m.raison);
  if (!m.fmt) return refuser(m.raison);
  m.pkt = av_packet_alloc();
  m.frame = av_frame_alloc();
  if (!m.pkt || !m.frame) return refuser("out of memory");
  // Every packet once, without decoding: a program stream declares its
  // streams only as their packets come.
  std::vector<std::pair<int, Entree>> paquets;
  while (av_read_frame(m.fmt, m.pkt) >= 0) {
    if (paquets.size() >= kPaquetsLusMax)
      return refuser("it holds more than " + std::to_string(kPaquetsLusMax) + " packets");
    paquets.push_back({m.pkt->stream_index, {m.pkt->pos, m.pkt->dts, (m.pkt->flags & AV_PKT_FLAG_KEY) != 0}});
    av_packet_unref(m.pkt);
  }
  const AVCodec* codec = nullptr;
  m.flux = av_find_best_stream(m.fmt, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
  if (m.flux < 0 || !codec || !codec_lu(codec->id)) return refuser("it holds no video of a codec the program writes");
  AVStream* st = m.fmt->streams[m.flux];
  m.largeur = st->codecpar->width;
  m.hauteur = st->codecpar->height;
  if (!taille_lue(m.largeur, m.hauteur)) return refuser(kCadresTropGrands);
  m.dec = avcodec_alloc_context3(codec);
  AVDictionary* options = options_decodeur();
  const bool ouvert = m.dec && avcodec_parameters_to_context(m.dec, st->codecpar) >= 0 &&
                      avcodec_open2(m.dec, codec, &options) >= 0;
  av_dict_free(&options);
  if (!ouvert) return refuser("its video decoder cannot be started");
  for (const auto& [flux, e] : paquets)
    if (flux == m.flux) m.index.push_back(e);
  if (m.index.empty()) return refuser("it holds no frame");
  m.index[0].cle = true;  // decoding always starts somewhere
  // The packets are a video only when the first frame decodes; a program
  // stream gives its frame size only then.
  std::vector<std::uint32_t> essai;
  if (!read(0, essai)) return refuser("its first frame cannot be decoded");
  AVRational r = st->avg_frame_rate.num ? st->avg_frame_rate : st->r_frame_rate;
  if (r.num <= 0 || r.den <= 0) r = m.dec->framerate;
  if ((r.num <= 0 || r.den <= 0) && std::string(m.fmt->iformat->name) == "avi") r = av_inv_q(st->time_base);
  m.cadence = r.num > 0 && r.den > 0 && av_q2d(r) <= 1000 ? av_q2d(r) : 30.0;
  // The first frame is still in hand: an MPEG stream gives its aspect there.
  const AVRational sar = av_guess_sample_aspect_ratio(m.fmt, st, m.frame);
  if (sar.num > 0 && sar.den > 0 && av_q2d(sar) >= 0.1 && av_q2d(sar) <= 10) m.aspect = av_q2d(sar);
  m.raison.clear();
  return true;
}

void MovieReader::close() { impl_->fermer(); }
bool MovieReader::is_open() const { return impl_->fmt != nullptr; }
std::string MovieReader::error() const { return impl_->raison; }
int MovieReader::frame_count() const { return int(impl_->index.size()); }
int MovieReader::width() const { return impl_->largeur; }
int MovieReader::height() const { return impl_->hauteur; }
double MovieReader::frame_rate() const { return impl_->cadence; }
double MovieReader::sample_aspect() const { return impl_->aspect; }

bool MovieReader::read(int k, std::vector<std::uint32_t>& pixels) {
  Impl& m = *impl_;
  if (!m.fmt || k < 0 || k >= int(m.index.size())) return false;
  if (m.suivante < 0 || k < m.suivante || k > m.suivante + 12) {
    int j = k;
    while (j > 0 && !m.index[std::size_t(j)].cle) --j;
    // Reading on from where the decoder is costs less than a seek when close.
    if (!(m.suivante >= 0 && m.suivante <= k && j <= m.suivante)) {
      if (!m.placer(j)) {
        m.suivante = -1;
        return false;
      }
    }
  }
  while (m.suivante <= k) {
    if (!m.decoder_suivante()) {
      m.suivante = -1;
      return false;
    }
    const int n = m.suivante++;
    if (n == k) return m.convertir(pixels);
  }
  return false;
}

}  // namespace platform::vcv
