// The Indeo Video R3.2 encoder, checked by libavcodec's own indeo3 decoder:
// the worked example frames, rendered frames at the required quality, the
// movies ffprobe and the program's player read, the sizes scaled into the
// format and the sizes refused.
#include <gtest/gtest.h>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/md5.h>
#include <libswscale/swscale.h>
}

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <tuple>

#include "model/defauts.h"
#include "platform/fichiers.h"
#include "platform/vidconv/indeo3.h"
#include "platform/vidconv/lecteur_film.h"
#include "render/calcul_image.h"
#include "render/palette.h"
#include "tests/support/commande.h"
#include "tests/support/terrains.h"

namespace fs = std::filesystem;
namespace vcv = platform::vcv;

namespace {

// Frames made and checked against FFmpeg by hand: a 16 x 16 worked example, three
// intra frames of a test pattern, and a key frame followed by two inter frames.
const fs::path kExemples = fs::path(QUORVEL_SOURCE_DIR) / "tests/data/indeo3";

// ---------------------------------------------------------------- decoding

// libavcodec's indeo3 decoder, one packet at a time.
class Decodeur {
 public:
  Decodeur(int largeur, int hauteur) {
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_INDEO3);
    ctx_ = avcodec_alloc_context3(codec);
    ctx_->width = largeur;
    ctx_->height = hauteur;
    ctx_->codec_tag = vcv::fourcc("IV32");
    ouvert_ = codec && avcodec_open2(ctx_, codec, nullptr) >= 0;
    pkt_ = av_packet_alloc();
    frame_ = av_frame_alloc();
  }
  ~Decodeur() {
    av_frame_free(&frame_);
    av_packet_free(&pkt_);
    avcodec_free_context(&ctx_);
  }
  bool ouvert() const { return ouvert_; }

  // The picture of one packet, planes packed; none when the decoder refuses it.
  std::optional<vcv::Yuv410> decoder(const std::vector<std::uint8_t>& paquet) {
    if (!ouvert_ || av_new_packet(pkt_, int(paquet.size())) < 0) return std::nullopt;
    std::copy(paquet.begin(), paquet.end(), pkt_->data);
    const int r = avcodec_send_packet(ctx_, pkt_);
    av_packet_unref(pkt_);
    if (r < 0 || avcodec_receive_frame(ctx_, frame_) < 0) return std::nullopt;
    vcv::Yuv410 y;
    y.width = frame_->width;
    y.height = frame_->height;
    const int lc = (y.width + 3) / 4, hc = (y.height + 3) / 4;
    auto copier = [&](int plan, int l, int h, std::vector<std::uint8_t>& o) {
      o.resize(std::size_t(l) * std::size_t(h));
      for (int r = 0; r < h; ++r)
        std::copy_n(frame_->data[plan] + std::ptrdiff_t(r) * frame_->linesize[plan], l, o.data() + std::size_t(r) * l);
    };
    copier(0, y.width, y.height, y.y);
    copier(1, lc, hc, y.u);
    copier(2, lc, hc, y.v);
    av_frame_unref(frame_);
    return y;
  }

 private:
  AVCodecContext* ctx_ = nullptr;
  AVPacket* pkt_ = nullptr;
  AVFrame* frame_ = nullptr;
  bool ouvert_ = false;
};

struct Film {
  int largeur = 0, hauteur = 0;
  std::vector<std::vector<std::uint8_t>> paquets;
  std::vector<bool> cles;
};

// The video packets of an AVI file, in order.
Film lire_film(const std::string& chemin) {
  Film f;
  AVFormatContext* ic = nullptr;
  if (avformat_open_input(&ic, chemin.c_str(), nullptr, nullptr) < 0) return f;
  if (avformat_find_stream_info(ic, nullptr) >= 0) {
    const int k = av_find_best_stream(ic, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (k >= 0) {
      f.largeur = ic->streams[k]->codecpar->width;
      f.hauteur = ic->streams[k]->codecpar->height;
      AVPacket* pkt = av_packet_alloc();
      while (av_read_frame(ic, pkt) >= 0) {
        if (pkt->stream_index == k) {
          f.paquets.emplace_back(pkt->data, pkt->data + pkt->size);
          f.cles.push_back((pkt->flags & AV_PKT_FLAG_KEY) != 0);
        }
        av_packet_unref(pkt);
      }
      av_packet_free(&pkt);
    }
  }
  avformat_close_input(&ic);
  return f;
}

std::vector<vcv::Yuv410> decoder_film(const Film& f) {
  std::vector<vcv::Yuv410> images;
  Decodeur d(f.largeur, f.hauteur);
  for (const auto& p : f.paquets)
    if (auto y = d.decoder(p)) images.push_back(std::move(*y));
  return images;
}

std::string md5(const std::vector<vcv::Yuv410>& images) {
  std::unique_ptr<AVMD5, void (*)(void*)> m(av_md5_alloc(), av_free);
  av_md5_init(m.get());
  for (const auto& y : images)
    for (const auto* p : {&y.y, &y.u, &y.v}) av_md5_update(m.get(), p->data(), p->size());
  std::uint8_t out[16];
  av_md5_final(m.get(), out);
  char texte[33];
  for (int i = 0; i < 16; ++i) std::snprintf(texte + 2 * i, 3, "%02x", out[i]);
  return texte;
}

// ---------------------------------------------------------------- sources

// A picture converted as the encoder converts it: scaled to width x height in
// yuv410p.
vcv::Yuv410 en_yuv410(const render::Bitmap& b, int largeur, int hauteur) {
  vcv::Yuv410 y;
  y.width = largeur;
  y.height = hauteur;
  AVFrame* f = av_frame_alloc();
  f->format = AV_PIX_FMT_YUV410P;
  f->width = largeur;
  f->height = hauteur;
  av_frame_get_buffer(f, 0);
  SwsContext* sws = sws_getContext(b.width(), b.height(), AV_PIX_FMT_BGRA, largeur, hauteur, AV_PIX_FMT_YUV410P,
                                   SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
  const std::uint8_t* src[1] = {reinterpret_cast<const std::uint8_t*>(b.pixels().data())};
  const int pas[1] = {b.width() * 4};
  sws_scale(sws, src, pas, 0, b.height(), f->data, f->linesize);
  sws_freeContext(sws);
  const int lc = (largeur + 3) / 4, hc = (hauteur + 3) / 4;
  auto copier = [&](int plan, int l, int h, std::vector<std::uint8_t>& o) {
    o.resize(std::size_t(l) * std::size_t(h));
    for (int r = 0; r < h; ++r)
      std::copy_n(f->data[plan] + std::ptrdiff_t(r) * f->linesize[plan], l, &o[std::size_t(r) * l]);
  };
  copier(0, largeur, hauteur, y.y);
  copier(1, lc, hc, y.u);
  copier(2, lc, hc, y.v);
  av_frame_free(&f);
  return y;
}

double psnr_luma(const vcv::Yuv410& a, const vcv::Yuv410& b) {
  double somme = 0;
  for (std::size_t i = 0; i < a.y.size(); ++i) {
    const double d = double(a.y[i]) - double(b.y[i]);
    somme += d * d;
  }
  const double mse = somme / double(a.y.size());
  return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

// Frames of a turn around a generated terrain, rendered at width x height in
// its default view at zoom 20 (the mountain fills the lower half), the view
// turning 2 degrees a frame; with `mer`, under a sea risen to that height and
// rippled.
std::vector<render::Bitmap> vol(int largeur, int hauteur, int n, std::int32_t mer = 0) {
  param_mat p = parametres_test(6);
  p.cle = 4321;
  const auto terrain = terrain_genere(p);
  param_vue vue;
  valeurs_defaut_vue(vue);
  vue.zoom = 20;
  if (mer != 0) {
    vue.niveau_mer = mer;
    vue.agitation_mer = 3;
  }
  const TMyPalette palette = palette_pour_vue(vue);
  std::vector<render::Bitmap> images;
  for (int k = 1; k <= n; ++k) {
    vue.angle_horizontal = (vue.angle_horizontal + 182) % 360 - 180;
    render::Bitmap b(largeur, hauteur);
    render::calcul_image(*terrain, 0, palette, b, {}, vue, largeur, hauteur, nullptr, nullptr, 0, 0, 0, 0, 0, {});
    images.push_back(std::move(b));
  }
  return images;
}

// How a decoded plane departs from its source, in 8-bit levels, below its
// first `saut` rows: the largest pixel error, and the largest mean error of
// a column.
struct Ecarts {
  int pixel = 0;
  double colonne = 0;
};
Ecarts ecarts(const std::vector<std::uint8_t>& d, const std::vector<std::uint8_t>& s, int largeur, int saut) {
  Ecarts e;
  const int hauteur = int(s.size()) / largeur;
  for (int x = 0; x < largeur; ++x) {
    double somme = 0;
    for (int y = saut; y < hauteur; ++y) {
      const int ecart = int(d[std::size_t(y * largeur + x)]) - int(s[std::size_t(y * largeur + x)]);
      e.pixel = std::max(e.pixel, std::abs(ecart));
      somme += ecart;
    }
    e.colonne = std::max(e.colonne, std::abs(somme) / (hauteur - saut));
  }
  return e;
}

vcv::FrameView vue(const render::Bitmap& b) { return {b.pixels().data(), b.width(), b.height(), b.width()}; }

// ---------------------------------------------------------------- movies

std::map<std::string, std::string> sonder(const std::string& film) {
  std::map<std::string, std::string> m;
  std::istringstream in(
      test_commande::sortie("ffprobe -v error -select_streams v:0 -count_frames -show_entries "
             "stream=codec_name,codec_tag_string,width,height,r_frame_rate,nb_read_frames,"
             "duration,pix_fmt -of default=nw=1 '" +
             film + "'"));
  std::string l;
  while (std::getline(in, l))
    if (const auto eg = l.find('='); eg != std::string::npos) m[l.substr(0, eg)] = l.substr(eg + 1);
  return m;
}

// An IV32 movie of `images` through the movie-writing layer at width x height.
bool faire_film(const std::string& chemin, const std::vector<render::Bitmap>& images, int largeur, int hauteur) {
  const vcv::Handle conv = vcv::alloc(), img = vcv::img_alloc();
  vcv::assign_video_source(conv, [&](vcv::Handle s, int k) {
    if (k >= int(images.size())) return void(vcv::src_finished(s));
    vcv::dib_to_img(img, vue(images[std::size_t(k)]));
    vcv::src_set_img(s, img);
  });
  vcv::set_frame_rate(conv, 30.0);
  vcv::set_resolution(conv, largeur, hauteur);
  vcv::set_codec(conv, vcv::kContainerAvi, vcv::fourcc("IV32"));
  vcv::set_output_file(conv, chemin, 0);
  const bool ok = vcv::convert(conv);
  vcv::free(conv);
  vcv::free(img);
  return ok;
}

struct Dossier {
  fs::path d = fs::temp_directory_path() / ("quorvel-iv32-" + std::to_string(::getpid()));
  Dossier() { fs::create_directories(d); }
  ~Dossier() { fs::remove_all(d); }
  std::string operator/(const std::string& nom) const { return (d / nom).string(); }
};

bool ffprobe_present() { return std::system("command -v ffprobe >/dev/null 2>&1") == 0; }

// ---------------------------------------------------------------- tests

TEST(Indeo32, TheWorkedExampleIsCodedByteForByteAndTheExampleFilesDecodeToTheirChecksums) {
  if (!fs::exists(kExemples)) GTEST_SKIP() << "the example files are not on this machine";
  const auto source = lire_fichier((kExemples / "example16.yuv").string());
  const auto attendu = lire_fichier((kExemples / "example16.iv32").string());
  ASSERT_TRUE(source && attendu && source->size() == 288);
  vcv::Yuv410 y{16, 16, {}, {}, {}};
  y.y.assign(source->begin(), source->begin() + 256);
  y.u.assign(source->begin() + 256, source->begin() + 272);
  y.v.assign(source->begin() + 272, source->end());
  vcv::Iv32Encoder e;
  ASSERT_TRUE(e.open(16, 16));
  bool cle = false;
  const auto trame = e.encode(y, cle);
  EXPECT_TRUE(cle);
  EXPECT_EQ(std::string(trame.begin(), trame.end()), *attendu);
  const auto r = e.reconstruction();
  EXPECT_EQ(r.y, y.y);
  EXPECT_EQ(r.u, y.u);

  const std::pair<const char*, const char*> fichiers[] = {{"example16.avi", "573b2b4f66ca46551c15958610e73756"},
                                                          {"ts176_intra.avi", "d54684d6e06c5b3845f9e9a632e99806"},
                                                          {"pan.avi", "97c64bf86f77a9f8f9411744cdbdc56d"}};
  for (const auto& [nom, somme] : fichiers) {
    SCOPED_TRACE(nom);
    const Film f = lire_film((kExemples / nom).string());
    ASSERT_FALSE(f.paquets.empty());
    const auto images = decoder_film(f);
    EXPECT_EQ(images.size(), f.paquets.size());
    EXPECT_EQ(md5(images), somme);
  }
}

// Key and inter frames of a fly-through decode exactly as the encoder rebuilt
// them, at 44 dB at least (luma); pictures at the ends of the sample range too.
TEST(Indeo32, DecodedFramesAreTheEncodersOwnAndFaithful) {
  const int l = 320, h = 240;
  std::vector<render::Bitmap> images = vol(l, h, 8);
  // Black and white stripes, saturated colours and noise.
  std::mt19937 alea(7);
  render::Bitmap extremes(l, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < l; ++x) {
      const bool blanc = (x / 8 + y / 6) % 2 == 0;
      extremes.at(x, y) =
          y < 80    ? (blanc ? render::pixel_rgb(255, 255, 255) : render::pixel_rgb(0, 0, 0))
          : y < 160 ? render::pixel_rgb(std::uint8_t(x % 3 == 0 ? 255 : 0), std::uint8_t(y % 5 == 0 ? 255 : 0), 255)
                    : render::Pixel(alea() | 0xFF000000u);
    }
  images.push_back(extremes);
  images.push_back(extremes);
  vcv::Iv32Encoder e;
  ASSERT_TRUE(e.open(l, h, true, 4));
  Decodeur d(l, h);
  ASSERT_TRUE(d.ouvert());
  std::size_t octets = 0;
  for (std::size_t k = 0; k < images.size(); ++k) {
    SCOPED_TRACE(k);
    bool cle = false;
    const auto trame = e.encode(vue(images[k]), cle);
    octets += trame.size();
    EXPECT_EQ(cle, k % 4 == 0);
    const auto decodee = d.decoder(trame);
    ASSERT_TRUE(decodee);
    const auto r = e.reconstruction();
    EXPECT_TRUE(decodee->y == r.y && decodee->u == r.u && decodee->v == r.v);
    const double psnr = psnr_luma(*decodee, en_yuv410(images[k], l, h));
    if (k < 8) {
      EXPECT_GE(psnr, 44.0);
      std::printf("frame %zu: %zu bytes, luma PSNR %.2f dB\n", k, trame.size(), psnr);
    }
  }
  // Flat white and black stay white and black.
  const auto r = e.reconstruction();
  const auto s = en_yuv410(extremes, l, h);
  for (int y : {2, 3, 6 + 2}) {
    for (int x : {1, 2, 9})
      EXPECT_LE(std::abs(int(r.y[std::size_t(y * l + x)]) - int(s.y[std::size_t(y * l + x)])), 2) << x << "," << y;
  }
  EXPECT_GT(octets, 0u);
}

// A picture panned one way and back: the inter frames follow it with motion
// vectors, decode exactly and take far fewer bytes than key frames.
TEST(Indeo32, InterFramesFollowAPan) {
  const std::vector<render::Bitmap> grande = vol(400, 300, 1);
  const int l = 320, h = 240;
  vcv::Iv32Encoder e;
  ASSERT_TRUE(e.open(l, h, true, 30));
  Decodeur d(l, h);
  std::size_t cle_octets = 0, inter_octets = 0;
  for (int k = 0; k < 16; ++k) {
    SCOPED_TRACE(k);
    const int x = k < 8 ? 5 * k : 5 * (16 - k), y = k < 8 ? 3 * k : 3 * (16 - k);
    const vcv::FrameView v{&grande[0].at(x, y), l, h, grande[0].width()};
    bool cle = false;
    const auto trame = e.encode(v, cle);
    (cle ? cle_octets : inter_octets) += trame.size();
    const auto decodee = d.decoder(trame);
    ASSERT_TRUE(decodee);
    const auto r = e.reconstruction();
    EXPECT_TRUE(decodee->y == r.y && decodee->u == r.u && decodee->v == r.v);
    render::Bitmap source(l, h);
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < l; ++i) source.at(i, j) = grande[0].at(x + i, y + j);
    EXPECT_GE(psnr_luma(*decodee, en_yuv410(source, l, h)), 35.0);
  }
  EXPECT_LT(inter_octets / 15, cle_octets / 2);
}

// Each pixel row of a key frame is the row above plus deltas, and the delta
// table has no step of one level: pairs of pixels left a step off stayed off
// all the way down, so flat areas came out as vertical stripes. Flat areas
// now come out within one level below their first rows, and gentle
// gradients and a rendered sea without a column of their own.
TEST(Indeo32, FlatAreasAndGentleGradientsComeOutWithoutStripes) {
  const int l = 320, h = 240;
  auto image = [&](auto couleur) {
    render::Bitmap b(l, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < l; ++x) b.at(x, y) = couleur(x, y);
    return b;
  };
  auto gris = [](int v) { return render::pixel_rgb(std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)); };
  const struct {
    std::string nom;
    render::Bitmap image;
    bool plat;
    double chroma;  // the largest column mean allowed in the chroma planes
  } cas[] = {
      {"grey 100", image([&](int, int) { return gris(100); }), true, 1.0},
      {"grey 187", image([&](int, int) { return gris(187); }), true, 1.0},
      {"sky", image([](int, int) { return render::pixel_rgb(168, 206, 235); }), true, 1.0},
      {"down", image([&](int, int y) { return gris(80 + y / 3); }), false, 1.0},
      {"across", image([](int x, int) {
         return render::pixel_rgb(std::uint8_t(80 + x / 4), std::uint8_t(100 + x / 4), std::uint8_t(140 + x / 4));
       }), false, 1.0},
      // Sea, sky and a mountain whose facets leave coding noise in the small
      // chroma planes.
      {"sea", vol(l, h, 1, 900)[0], false, 1.75}};
  Decodeur d(l, h);
  ASSERT_TRUE(d.ouvert());
  for (const auto& c : cas) {
    SCOPED_TRACE(c.nom);
    vcv::Iv32Encoder e;
    ASSERT_TRUE(e.open(l, h));
    bool cle = false;
    const auto decodee = d.decoder(e.encode(vue(c.image), cle));
    ASSERT_TRUE(decodee && cle);
    const vcv::Yuv410 s = en_yuv410(c.image, l, h);
    // Below the first block row: from the row of 64 above the plane, a value
    // the table cannot give at once takes a few rows to reach.
    for (const auto& [plan, source, largeur] : {std::tuple{&decodee->y, &s.y, l}, std::tuple{&decodee->u, &s.u, l / 4},
                                                 std::tuple{&decodee->v, &s.v, l / 4}}) {
      const Ecarts e = ecarts(*plan, *source, largeur, 4);
      if (c.plat) {
        EXPECT_LE(e.pixel, 1) << largeur;
      }
      EXPECT_LE(e.colonne, largeur == l ? 1.0 : c.chroma) << largeur;
    }
  }
}

TEST(Indeo32, MoviesAreReadByFfprobeTheDecoderAndThePlayer) {
  if (!ffprobe_present()) GTEST_SKIP() << "ffprobe (Debian package ffmpeg) is needed";
  Dossier d;
  const std::vector<render::Bitmap> images = vol(320, 240, 10);
  ASSERT_TRUE(faire_film(d / "vol.avi", images, 320, 240)) << vcv::last_error_text();
  auto m = sonder(d / "vol.avi");
  EXPECT_EQ(m["codec_name"], "indeo3");
  EXPECT_EQ(m["codec_tag_string"], "IV32");
  EXPECT_EQ(m["width"], "320");
  EXPECT_EQ(m["height"], "240");
  EXPECT_EQ(m["pix_fmt"], "yuv410p");
  EXPECT_EQ(m["r_frame_rate"], "30/1");
  EXPECT_EQ(m["nb_read_frames"], "10");
  EXPECT_NEAR(std::stod(m["duration"].empty() ? "0" : m["duration"]), 10.0 / 30.0, 0.001);
  const Film f = lire_film(d / "vol.avi");
  ASSERT_EQ(f.paquets.size(), 10u);
  EXPECT_TRUE(f.cles[0]);
  const auto decodees = decoder_film(f);
  ASSERT_EQ(decodees.size(), 10u);
  for (std::size_t k = 0; k < decodees.size(); ++k)
    EXPECT_GE(psnr_luma(decodees[k], en_yuv410(images[k], 320, 240)), 35.0) << k;
  // The player shows the frames, last one first.
  vcv::MovieReader lecteur;
  ASSERT_TRUE(lecteur.open(d / "vol.avi"));
  EXPECT_EQ(lecteur.frame_count(), 10);
  std::vector<std::uint32_t> pixels;
  ASSERT_TRUE(lecteur.read(9, pixels));
  ASSERT_TRUE(lecteur.read(0, pixels));
  ASSERT_EQ(pixels.size(), 320u * 240u);
  const std::uint32_t attendu = images[0].at(160, 20), lu = pixels[20 * 320 + 160];
  for (int c : {0, 8, 16}) EXPECT_NEAR(int((lu >> c) & 255), int((attendu >> c) & 255), 12) << c;

  // Sizes the format does not hold are scaled into it.
  const struct { int l, h, lf, hf; } tailles[] = {{800, 450, 640, 360}, {322, 242, 320, 240}};
  for (const auto& t : tailles) {
    SCOPED_TRACE(t.l);
    const std::vector<render::Bitmap> grandes = vol(t.l, t.h, 2);
    const std::string nom = d / ("taille" + std::to_string(t.l) + ".avi");
    ASSERT_TRUE(faire_film(nom, grandes, t.l, t.h)) << vcv::last_error_text();
    m = sonder(nom);
    EXPECT_EQ(m["width"], std::to_string(t.lf));
    EXPECT_EQ(m["height"], std::to_string(t.hf));
    const auto dec = decoder_film(lire_film(nom));
    ASSERT_EQ(dec.size(), 2u);
    EXPECT_GE(psnr_luma(dec[1], en_yuv410(grandes[1], t.lf, t.hf)), 35.0);
  }
}

TEST(Indeo32, SizesAreScaledIntoTheFormatAndHostileOnesRefused) {
  const struct {
    int l, h, lf, hf;
  } cas[] = {{320, 240, 320, 240}, {16, 16, 16, 16},      {640, 480, 640, 480}, {800, 600, 640, 480},
             {800, 450, 640, 360}, {1000, 200, 640, 128}, {322, 242, 320, 240}, {4095, 16, 640, 16},
             {16, 4095, 16, 480},  {10, 10, 16, 16},      {1, 1, 16, 16},       {642, 480, 640, 480}};
  for (const auto& c : cas) {
    const auto t = vcv::iv32_size(c.l, c.h);
    ASSERT_TRUE(t) << c.l << "x" << c.h;
    EXPECT_EQ(t->width, c.lf) << c.l << "x" << c.h;
    EXPECT_EQ(t->height, c.hf) << c.l << "x" << c.h;
    EXPECT_TRUE(vcv::iv32_holds(t->width, t->height));
  }
  for (auto [l, h] : {std::pair{0, 240},
                      {320, 0},
                      {-320, 240},
                      {320, -4},
                      {4096, 240},
                      {320, 1 << 30},
                      {std::numeric_limits<int>::min(), 16}})
    EXPECT_FALSE(vcv::iv32_size(l, h)) << l << "x" << h;

  vcv::Iv32Encoder e;
  bool cle = true;
  std::vector<std::uint32_t> pixels(64 * 64, 0xFF808080u);
  EXPECT_TRUE(e.encode(vcv::FrameView{pixels.data(), 64, 64, 64}, cle).empty());  // not open
  EXPECT_FALSE(cle);
  for (auto [l, h] : {std::pair{0, 0},
                      {-16, 16},
                      {644, 480},
                      {640, 484},
                      {18, 16},
                      {16, 12},
                      {1 << 20, 1 << 20},
                      {std::numeric_limits<int>::max(), 16}})
    EXPECT_FALSE(e.open(l, h)) << l << "x" << h;
  EXPECT_EQ(e.width(), 0);
  ASSERT_TRUE(e.open(64, 64));
  for (const vcv::FrameView& v : {vcv::FrameView{nullptr, 64, 64, 64}, vcv::FrameView{pixels.data(), 0, 64, 64},
                                  vcv::FrameView{pixels.data(), 64, -1, 64}, vcv::FrameView{pixels.data(), 64, 64, 32},
                                  vcv::FrameView{pixels.data(), 5000, 1, 5000}})
    EXPECT_TRUE(e.encode(v, cle).empty());
  vcv::Yuv410 faux{32, 32, std::vector<std::uint8_t>(32 * 32), std::vector<std::uint8_t>(64),
                   std::vector<std::uint8_t>(64)};
  EXPECT_TRUE(e.encode(faux, cle).empty());  // not the coded size
  EXPECT_FALSE(e.encode(vcv::FrameView{pixels.data(), 64, 64, 64}, cle).empty());

  // The layer takes every frame size it accepts and scales it.
  EXPECT_TRUE(vcv::codec_available(vcv::kContainerAvi, vcv::fourcc("IV32")));
}

}  // namespace
