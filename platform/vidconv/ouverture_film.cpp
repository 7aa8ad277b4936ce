// Opening a movie file for reading, restricted to what the program writes.
#include "platform/vidconv/ouverture_film.h"

#include <string_view>
#include <utility>

#include "platform/fichiers.h"

namespace platform::vcv {

bool codec_lu(AVCodecID id) {
  switch (id) {
    case AV_CODEC_ID_CINEPAK:
    case AV_CODEC_ID_MSVIDEO1:
    case AV_CODEC_ID_MSRLE:
    case AV_CODEC_ID_INDEO3:
    case AV_CODEC_ID_MPEG1VIDEO:
    case AV_CODEC_ID_MPEG2VIDEO:
      return true;
    default:
      return false;
  }
}

AVDictionary* options_decodeur() {
  AVDictionary* o = nullptr;
  av_dict_set(&o, "codec_whitelist", kCodecsLus, 0);
  av_dict_set_int(&o, "max_pixels", std::int64_t(kCoteLuMax) * kCoteLuMax, 0);
  av_dict_set_int(&o, "threads", 1, 0);
  return o;
}

namespace {

// The other movie containers, told by their first bytes: the decoder
// library only says that a format is not on its list.
struct Signature {
  std::size_t position;
  std::string_view octets;
  const char* genre;
};
constexpr Signature kAutresConteneurs[] = {
    {0, "\x1A\x45\xDF\xA3", "a Matroska or WebM movie"},
    {4, "ftyp", "an MP4 or QuickTime movie"},
    {0, "OggS", "an Ogg movie"},
    {0, "FLV", "a Flash video"},
};

// Why a file that is not an AVI or MPEG movie is refused, naming what it is
// when its first bytes tell.
std::string pas_un_film(const std::string& path) {
  LectureFichier f;
  if (!f.ouvrir(path) || !f.lire_jusqua(16)) return kPasUnFilm;
  const std::string_view o = f.octets();
  for (const Signature& s : kAutresConteneurs)
    if (o.size() >= s.position + s.octets.size() && o.substr(s.position, s.octets.size()) == s.octets)
      return std::string("it is ") + s.genre + ", not an AVI or MPEG movie";
  return kPasUnFilm;
}

}  // namespace

AVFormatContext* ouvrir_entree(const std::string& path, std::string* raison) {
  const auto refus = [raison](std::string texte) -> AVFormatContext* {
    if (raison) *raison = std::move(texte);
    return nullptr;
  };
  if (path.empty()) return refus("no file is named");
  // Asked before the decoder library opens it: a named pipe would hold the
  // open until something writes into it, and a device may never end.
  if (std::string pas_ordinaire = raison_non_ordinaire(path); !pas_ordinaire.empty()) return refus(pas_ordinaire);
  AVFormatContext* fmt = avformat_alloc_context();
  if (!fmt) return refus("out of memory");
  AVDictionary* o = nullptr;
  av_dict_set(&o, "format_whitelist", kFormatsLus, 0);
  av_dict_set(&o, "codec_whitelist", kCodecsLus, 0);
  av_dict_set(&o, "protocol_whitelist", "file", 0);
  // The name is a local file whatever it looks like ("concat:...", "http://...").
  const std::string url = "file:" + path;
  const int r = avformat_open_input(&fmt, url.c_str(), nullptr, &o);
  av_dict_free(&o);
  // The context is freed on failure. A format off the list is refused as
  // an invalid argument.
  if (r == AVERROR_INVALIDDATA || r == AVERROR(EINVAL)) return refus(pas_un_film(path));
  if (r < 0) {
    char texte[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(r, texte, sizeof texte);
    return refus(texte);
  }
  // A format outside the list can still come through a probe's fallback.
  const char* nom = fmt->iformat ? fmt->iformat->name : "";
  bool connu = false;
  for (const char* f : {"avi", "mpeg"}) connu = connu || std::string(nom) == f;
  if (!connu) {
    avformat_close_input(&fmt);
    return refus(pas_un_film(path));
  }
  for (unsigned i = 0; i < fmt->nb_streams; ++i) {
    const AVCodecParameters* p = fmt->streams[i]->codecpar;
    if (p->codec_type == AVMEDIA_TYPE_VIDEO && !taille_lue(p->width, p->height)) {
      avformat_close_input(&fmt);
      return refus(kCadresTropGrands);
    }
  }
  return fmt;
}

}  // namespace platform::vcv
