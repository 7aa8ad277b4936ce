// The movie-writing layer, checked from outside by ffprobe and ffmpeg.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "platform/fichiers.h"
#include "platform/vidconv/conversion_video.h"
#include "render/jpeg.h"
#include "render/raster.h"
#include "video/codecs_video.h"
#include "tests/support/commande.h"
#include "tests/support/limite_fichiers.h"

namespace fs = std::filesystem;
namespace vcv = platform::vcv;

namespace {

bool outil_present(const char* nom) {
  return std::system((std::string("command -v ") + nom + " >/dev/null 2>&1").c_str()) == 0;
}

#define EXIGER_FFMPEG()                                                                       \
  if (!outil_present("ffprobe") || !outil_present("ffmpeg"))                                  \
  GTEST_SKIP() << "ffprobe and ffmpeg (Debian package ffmpeg) are needed to check the movies"

// key=value lines of ffprobe's default writer.
std::map<std::string, std::string> sonder(const std::string& film) {
  const std::string s = test_commande::sortie(
      "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
      "stream=codec_name,codec_tag_string,width,height,r_frame_rate,nb_read_frames,pix_fmt:format=format_name "
      "-of default=nw=1 '" + film + "'");
  std::map<std::string, std::string> m;
  std::istringstream in(s);
  std::string l;
  while (std::getline(in, l)) {
    const auto eg = l.find('=');
    if (eg != std::string::npos) m[l.substr(0, eg)] = l.substr(eg + 1);
  }
  return m;
}

struct Dossier {
  fs::path d;
  Dossier() {
    d = fs::temp_directory_path() / ("quorvel-vcv-" + std::to_string(::getpid()) + "-" + std::to_string(++compte));
    fs::remove_all(d);
    fs::create_directories(d);
  }
  ~Dossier() { fs::remove_all(d); }
  std::string operator/(const std::string& nom) const { return (d / nom).string(); }
  static inline int compte = 0;
};

// A moving gradient, so that frames differ.
render::Bitmap image_test(int w, int h, int k) {
  render::Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.at(x, y) = render::pixel_rgb(std::uint8_t((x * 255) / std::max(1, w - 1)),
                                     std::uint8_t((y * 255) / std::max(1, h - 1)), std::uint8_t(k * 12));
  return b;
}

vcv::FrameView vue(const render::Bitmap& b) { return {b.pixels().data(), b.width(), b.height(), b.width()}; }

// One conversion of in-memory frames; `finir_apres` frames are given (all when
// negative). Returns convert's result.
struct Essai {
  int type = 2;
  int largeur = 160, hauteur = 120;
  int images = 20;
  int finir_apres = -1;
  bool tramage = false;
  int compatibilite = -1;  // the level given to force_compatibility
  std::vector<render::Bitmap> donnees;  // the frames given, when set
  int progressions_3 = 0;
  std::function<void()> apres_image;  // after each frame written, when set

  bool lancer(const std::string& film) {
    const vcv::Handle conv = vcv::alloc(), img = vcv::img_alloc();
    vcv::assign_video_source(conv, [&](vcv::Handle source, int index) {
      if (index >= images || (finir_apres >= 0 && index >= finir_apres)) {
        vcv::src_finished(source);
        return;
      }
      const render::Bitmap b = donnees.empty() ? image_test(largeur, hauteur, index) : donnees[std::size_t(index)];
      vcv::dib_to_img(img, vue(b));
      vcv::src_set_img(source, img);
    });
    vcv::assign_progress(conv, [&](vcv::Handle, int kind, int, int) {
      progressions_3 += kind == 3;
      if (kind == 3 && apres_image) apres_image();
    });
    vcv::set_frame_rate(conv, 30.0);
    vcv::set_resolution(conv, largeur, hauteur);
    if (auto c = codec_video(type)) vcv::set_codec(conv, c->conteneur, c->codec);
    vcv::set_output_file(conv, film, 0);
    vcv::set_byte_rate(conv, 6, 600);
    vcv::set_byte_rate(conv, 11, 600);
    vcv::set_dithering(conv, tramage ? 1 : 0);
    vcv::force_compatibility(conv, compatibilite);
    const bool ok = vcv::convert(conv);
    vcv::free(conv);
    vcv::free(img);
    return ok;
  }
};

TEST(ConversionVideo, EveryWritableCodecTypeMakesAMovieFfprobeReads) {
  EXIGER_FFMPEG();
  struct Attendu {
    int type;
    const char* codec;
    const char* etiquette;  // empty: not checked
    const char* format;
    const char* pixels;     // empty: not checked
  };
  const Attendu attendus[] = {
      {2, "cinepak", "cvid", "avi", ""},          {3, "indeo3", "IV32", "avi", "yuv410p"},
      {4, "msvideo1", "msvc", "avi", "rgb555le"},
      {5, "msrle", "mrle", "avi", "pal8"},        {6, "mpeg1video", "", "mpeg", ""},
      {7, "mpeg1video", "", "mpeg", ""},          {8, "mpeg2video", "", "mpeg", ""},
      {9, "mpeg2video", "", "mpeg", ""},          {10, "mpeg2video", "", "mpeg", ""},
  };
  Dossier d;
  for (const Attendu& a : attendus) {
    SCOPED_TRACE(a.type);
    Essai e;
    e.type = a.type;
    // The disc variants keep the frames as they are only when not made to comply.
    if (vcv::disc_standard(codec_video(a.type)->conteneur, codec_video(a.type)->codec)) e.compatibilite = 0;
    const std::string film = d / ("video" + std::to_string(a.type) + extension_film(a.type));
    ASSERT_TRUE(e.lancer(film)) << vcv::last_error_text();
    EXPECT_EQ(vcv::check_error(), 0);
    EXPECT_EQ(e.progressions_3, 20);
    for (const auto& f : fs::directory_iterator(d.d)) EXPECT_NE(f.path().extension(), ".part") << f.path();
    auto m = sonder(film);
    EXPECT_EQ(m["codec_name"], a.codec);
    if (*a.etiquette) {
      EXPECT_EQ(m["codec_tag_string"], a.etiquette);
    }
    if (*a.pixels) {
      EXPECT_EQ(m["pix_fmt"], a.pixels);
    }
    EXPECT_EQ(m["width"], "160");
    EXPECT_EQ(m["height"], "120");
    EXPECT_EQ(m["r_frame_rate"], "30/1");
    EXPECT_EQ(m["nb_read_frames"], "20");
    EXPECT_NE(m["format_name"].find(a.format), std::string::npos) << m["format_name"];

    vcv::FileInfo info;
    ASSERT_TRUE(vcv::get_file_info(film, 0, info));
    EXPECT_EQ(info.frames, 20);
    EXPECT_EQ(info.width, 160);
    EXPECT_EQ(info.height, 120);
    EXPECT_DOUBLE_EQ(info.frames_per_second, 30.0);
    EXPECT_NEAR(info.playing_time, 20.0 / 30.0, 1e-9);
    EXPECT_EQ(info.bits_per_pixel, a.type == 2 ? 24 : a.type == 3 ? 9 : a.type == 4 ? 15 : a.type == 5 ? 8 : 12);
    EXPECT_EQ(info.bytes_per_pixel, (info.bits_per_pixel + 7) / 8);
    EXPECT_EQ(info.file_size, double(fs::file_size(film)));
    EXPECT_FALSE(info.video_format.empty());
  }
}

TEST(ConversionVideo, DiscPicturesKeepTheirProportionsOnA43Screen) {
  const vcv::DiscStandard vcd = *vcv::disc_standard(11, 1), svcd = *vcv::disc_standard(11, 3),
                          dvd = *vcv::disc_standard(11, 4);
  EXPECT_FALSE(vcv::disc_standard(11, 0));
  EXPECT_FALSE(vcv::disc_standard(11, 2));
  EXPECT_FALSE(vcv::disc_standard(6, 1));
  struct Cas {
    const vcv::DiscStandard& d;
    int l, h;
    int x, y, w, hh;
  } cas[] = {
      {vcd, 320, 240, 0, 0, 352, 240},  {vcd, 800, 450, 0, 30, 352, 180},  {dvd, 800, 450, 0, 60, 720, 360},
      {vcd, 240, 320, 76, 0, 198, 240}, {svcd, 640, 480, 0, 0, 480, 480},  {svcd, 1000, 10, 0, 236, 480, 6},
      {svcd, 4095, 1, 0, 238, 480, 2},  {dvd, 1, 4095, 358, 0, 2, 480},    {dvd, 0, 100, 0, 0, 720, 480},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(std::string(c.d.name) + " " + std::to_string(c.l) + "x" + std::to_string(c.h));
    const vcv::DiscPlace p = vcv::disc_place(c.d, c.l, c.h);
    EXPECT_EQ(p.x, c.x);
    EXPECT_EQ(p.y, c.y);
    EXPECT_EQ(p.width, c.w);
    EXPECT_EQ(p.height, c.hh);
  }
}

// The disc variants made to comply: size, NTSC rate, 4:3 screen, bands, the
// disc muxer's packs and rate.
TEST(ConversionVideo, DiscVariantsComplyWithTheirStandard) {
  EXIGER_FFMPEG();
  struct Attendu {
    int type;
    const char* codec;
    int mpeg;  // 1 or 2: the kind of pack header the muxer writes
  } attendus[] = {{7, "mpeg1video", 1}, {9, "mpeg2video", 2}, {10, "mpeg2video", 2}};
  Dossier d;
  for (const Attendu& a : attendus) {
    SCOPED_TRACE(a.type);
    const auto code = codec_video(a.type);
    const vcv::DiscStandard disc = *vcv::disc_standard(code->conteneur, code->codec);
    // White 16:9 frames: bands above and below.
    Essai e;
    e.type = a.type;
    e.largeur = 320;
    e.hauteur = 180;
    e.donnees.assign(std::size_t(e.images), render::Bitmap(320, 180, render::pixel_rgb(255, 255, 255)));
    const std::string film = d / ("disque" + std::to_string(a.type) + ".mpg");
    ASSERT_TRUE(e.lancer(film)) << vcv::last_error_text();
    auto m = sonder(film);
    EXPECT_EQ(m["codec_name"], a.codec);
    EXPECT_EQ(m["width"], std::to_string(disc.width));
    EXPECT_EQ(m["height"], std::to_string(disc.height));
    EXPECT_EQ(m["r_frame_rate"], "30000/1001");
    EXPECT_EQ(m["nb_read_frames"], "20");
    EXPECT_EQ(m["pix_fmt"], "yuv420p");
    EXPECT_EQ(m["format_name"], "mpeg");
    // The screen is 4:3 (MPEG-1 gives the pixels' shape from a table: within 1 %).
    const std::string ecran = test_commande::sortie(
        "ffprobe -v error -select_streams v:0 -show_entries stream=display_aspect_ratio -of csv=p=0 '" + film + "'");
    const auto deux_points = ecran.find(':');
    ASSERT_NE(deux_points, std::string::npos) << ecran;
    EXPECT_NEAR(std::stod(ecran.substr(0, deux_points)) / std::stod(ecran.substr(deux_points + 1)), 4.0 / 3.0,
                0.013)
        << ecran;

    // A key frame every 18 frames.
    std::string images = test_commande::sortie("ffprobe -v error -select_streams v:0 -show_entries frame=pict_type "
                                         "-of csv=p=0 '" + film + "'");
    const auto pas_image = [](char ch) { return ch != 'I' && ch != 'P' && ch != 'B'; };
    images.erase(std::remove_if(images.begin(), images.end(), pas_image), images.end());
    EXPECT_EQ(images, std::string(1, 'I') + std::string(std::size_t(disc.gop) - 1, 'P') + "I" +
                          std::string(std::size_t(e.images - disc.gop - 1), 'P'));

    // The muxer's packs: the file is whole packs, the first a pack of its MPEG kind with its rate.
    const std::string octets = lire_fichier(film).value_or("");
    ASSERT_GT(octets.size(), 14u);
    EXPECT_EQ(octets.size() % std::size_t(disc.packet_size), 0u);
    EXPECT_EQ(octets.substr(0, 4), std::string("\0\0\1\xBA", 4));
    const auto o = [&octets](int k) { return unsigned(std::uint8_t(octets[std::size_t(k)])); };
    if (a.mpeg == 1) {
      EXPECT_EQ(o(4) >> 4, 2u);
      EXPECT_EQ(((o(9) & 0x7F) << 15 | o(10) << 7 | o(11) >> 1) * 400u, unsigned(disc.mux_rate));
    } else {
      EXPECT_EQ(o(4) >> 6, 1u);
      if (disc.mux_rate) EXPECT_EQ((o(10) << 14 | o(11) << 6 | o(12) >> 2) * 400u, unsigned(disc.mux_rate));
    }

    // The first picture: black bands, the white frame between them.
    const vcv::DiscPlace place = vcv::disc_place(disc, 320, 180);
    const std::string gris =
        test_commande::sortie("ffmpeg -v error -i '" + film + "' -frames:v 1 -f rawvideo -pix_fmt gray -");
    ASSERT_EQ(gris.size(), std::size_t(disc.width) * std::size_t(disc.height));
    const auto luma = [&](int x, int y) { return int(std::uint8_t(gris[std::size_t(y) * disc.width + x])); };
    const int mx = disc.width / 2;
    EXPECT_LT(luma(mx, place.y / 2), 40);
    EXPECT_LT(luma(mx, disc.height - 1 - place.y / 2), 40);
    EXPECT_GT(luma(mx, disc.height / 2), 215);
    EXPECT_GT(luma(mx, place.y + 4), 215);
    EXPECT_GT(luma(4, disc.height / 2), 215);

    vcv::FileInfo info;
    ASSERT_TRUE(vcv::get_file_info(film, 0, info));
    EXPECT_EQ(info.width, disc.width);
    EXPECT_EQ(info.frames, 20);
    EXPECT_NEAR(info.frames_per_second, 29.97, 0.001);
  }
}

// Decoding the RLE8 movie gives back exactly the layer's quantised frames.
TEST(ConversionVideo, RunLengthMoviesDecodeToTheQuantisedFrames) {
  EXIGER_FFMPEG();
  Dossier d;
  for (bool tramage : {false, true}) {
    SCOPED_TRACE(tramage);
    Essai e;
    e.type = 5;
    e.largeur = 37;
    e.hauteur = 9;
    e.images = 4;
    e.tramage = tramage;
    for (int k = 0; k < e.images; ++k) e.donnees.push_back(image_test(37, 9, k * 5));
    // Long runs, short runs and single pixels in one frame.
    render::Bitmap &m = e.donnees[1];
    for (int x = 0; x < 37; ++x) m.at(x, 0) = render::pixel_rgb(0, 0, 0);
    for (int x = 0; x < 37; ++x) m.at(x, 1) = x % 3 ? render::pixel_rgb(255, 0, 0) : render::pixel_rgb(0, 255, 0);
    m.at(5, 2) = render::pixel_rgb(0, 0, 255);
    const std::string film = d / "rle.avi";
    ASSERT_TRUE(e.lancer(film)) << vcv::last_error_text();
    const std::string brut = test_commande::sortie("ffmpeg -v error -i '" + film + "' -f rawvideo -pix_fmt rgb24 -");
    std::string attendu;
    vcv::Rle8Palette palette(vue(e.donnees[0]));
    for (const auto& b : e.donnees) {
      for (std::uint8_t i : palette.quantize(vue(b))) {
        const std::uint32_t p = palette.entry(i);
        attendu.push_back(char((p >> 16) & 0xFF));
        attendu.push_back(char((p >> 8) & 0xFF));
        attendu.push_back(char(p & 0xFF));
      }
    }
    EXPECT_EQ(brut.size(), attendu.size());
    EXPECT_TRUE(brut == attendu);
  }
}

// RLE8 movies: a flat picture decodes to its one colour, in runs; a picture of
// at most 229 colours comes back unchanged; a picture whose coding would be
// larger than its raw 8-bit rows is stored as those rows, so that no frame
// takes more than its uncompressed size.
TEST(ConversionVideo, RunLengthMoviesKeepFlatAreasFlatAndStayWithinTheRawSize) {
  EXIGER_FFMPEG();
  Dossier d;
  const auto decode = [](const std::string& film) {
    return test_commande::sortie("ffmpeg -v error -i '" + film + "' -f rawvideo -pix_fmt rgb24 -");
  };
  const auto rgb24 = [](const render::Bitmap& b) {
    std::string o;
    for (const render::Pixel p : b.pixels()) o += {char(p >> 16 & 0xFF), char(p >> 8 & 0xFF), char(p & 0xFF)};
    return o;
  };
  const auto paquets = [](const std::string& film) {
    std::vector<long> tailles;
    std::string sortie = test_commande::sortie("ffprobe -v error -select_streams v:0 -show_entries packet=size "
                                               "-of csv=p=0 '" + film + "'");
    std::replace(sortie.begin(), sortie.end(), ',', ' ');  // the first packet's palette adds a field
    std::istringstream in(sortie);
    for (long t; in >> t;) tailles.push_back(t);
    return tailles;
  };
  Essai e;
  e.type = 5;
  e.images = 3;
  e.tramage = true;  // as the making window asks: the RLE8 coding never dithers
  // Flat, in a colour that no even cube holds: one colour, rows of runs.
  e.donnees.assign(3, render::Bitmap(160, 120, render::pixel_rgb(37, 140, 201)));
  ASSERT_TRUE(e.lancer(d / "plat.avi")) << vcv::last_error_text();
  const std::string plat = decode(d / "plat.avi");
  EXPECT_TRUE(plat == rgb24(e.donnees[0]) + rgb24(e.donnees[0]) + rgb24(e.donnees[0]));
  for (long t : paquets(d / "plat.avi")) EXPECT_LE(t, 120 * 4);  // a run and the end of each row
  // 200 bands of their own colour: the movie gives them back exactly.
  render::Bitmap bandes(200, 50);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 200; ++x) bandes.at(x, y) = render::pixel_rgb(std::uint8_t(x), std::uint8_t(255 - x), 77);
  e.donnees.assign(3, bandes);
  e.largeur = 200;
  e.hauteur = 50;
  ASSERT_TRUE(e.lancer(d / "bandes.avi")) << vcv::last_error_text();
  EXPECT_TRUE(decode(d / "bandes.avi") == rgb24(bandes) + rgb24(bandes) + rgb24(bandes));
  // Grain, every pixel its own colour, at a width whose raw rows are padded.
  e.donnees.clear();
  for (std::uint32_t k = 0; k < 3; ++k) {
    render::Bitmap grain(161, 120);
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 161; ++x) grain.at(x, y) = (std::uint32_t(x * 7919 + y * 104729) + k) * 2654435761u | 0xFF000000u;
    e.donnees.push_back(grain);
  }
  e.largeur = 161;
  e.hauteur = 120;
  ASSERT_TRUE(e.lancer(d / "grain.avi")) << vcv::last_error_text();
  const std::vector<long> tailles = paquets(d / "grain.avi");
  ASSERT_EQ(tailles.size(), 3u);
  for (long t : tailles) EXPECT_LE(t, 164 * 120);
  EXPECT_LE(fs::file_size(d / "grain.avi"), 3u * 164 * 120 + 8192);  // the headers, palette and index
  vcv::Rle8Palette palette(vue(e.donnees[0]));
  std::string attendu;
  for (const auto& b : e.donnees)
    for (std::uint8_t i : palette.quantize(vue(b))) {
      const std::uint32_t p = palette.entry(i);
      attendu += {char(p >> 16 & 0xFF), char(p >> 8 & 0xFF), char(p & 0xFF)};
    }
  EXPECT_TRUE(decode(d / "grain.avi") == attendu);
}

// A first frame of many colours: 229 stand for them, the rest is an even cube;
// a flat area among them still takes one entry, and the picture stays close.
TEST(ConversionVideo, RunLengthPaletteOfAManyColouredFrame) {
  render::Bitmap b(256, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 256; ++x)
      b.at(x, y) = x < 128 ? render::pixel_rgb(std::uint8_t(2 * x), std::uint8_t(2 * y + (x & 1)), std::uint8_t(x + y))
                           : render::pixel_rgb(90, 60, 30);
  vcv::Rle8Palette palette(vue(b));
  EXPECT_EQ(palette.entry(255), render::pixel_rgb(255, 255, 255));  // the 3-level cube ends the palette
  EXPECT_EQ(palette.entry(256 - 27), render::pixel_rgb(0, 0, 0));
  const std::vector<std::uint8_t> indices = palette.quantize(vue(b));
  double erreur = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 256; ++x) {
      const std::uint8_t i = indices[std::size_t(y * 256 + x)];
      if (x >= 128) {
        EXPECT_EQ(i, indices[128]) << x << "," << y;
      }
      const std::uint32_t p = palette.entry(i), o = b.at(x, y);
      for (int s : {0, 8, 16}) erreur += std::pow(double(int(p >> s & 0xFF) - int(o >> s & 0xFF)), 2);
    }
  EXPECT_GT(10 * std::log10(255.0 * 255.0 * 3 * 256 * 100 / erreur), 34.0);
  EXPECT_EQ(palette.entry(indices[128]), render::pixel_rgb(90, 60, 30));
}

TEST(ConversionVideo, FrameSizesAreCroppedForTheCodecsThatNeedIt) {
  EXIGER_FFMPEG();
  Dossier d;
  struct Cas {
    int type, l, h, lf, hf;
  } cas[] = {{2, 800, 450, 800, 448}, {4, 200, 150, 200, 148}, {6, 301, 201, 301, 201}};
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.type);
    Essai e;
    e.type = c.type;
    e.largeur = c.l;
    e.hauteur = c.h;
    e.images = 3;
    const std::string film = d / ("taille" + std::to_string(c.type) + extension_film(c.type));
    ASSERT_TRUE(e.lancer(film)) << vcv::last_error_text();
    auto m = sonder(film);
    EXPECT_EQ(m["width"], std::to_string(c.lf));
    EXPECT_EQ(m["height"], std::to_string(c.hf));
  }
  const vcv::Handle conv = vcv::alloc();
  EXPECT_FALSE(vcv::set_resolution(conv, 5000, 100));
  EXPECT_EQ(vcv::check_error(), vcv::kBadFrameSize);
  vcv::free(conv);
}

TEST(ConversionVideo, UnknownCodecsAreRefusedAndWriteNothing) {
  Dossier d;
  EXPECT_TRUE(vcv::codec_available(6, vcv::fourcc("IV32")));
  EXPECT_TRUE(vcv::codec_available(6, vcv::fourcc("mrle")));
  EXPECT_FALSE(vcv::codec_available(6, vcv::fourcc("IV41")));
  EXPECT_FALSE(vcv::codec_available(11, 5));
  const vcv::Handle conv = vcv::alloc();
  EXPECT_FALSE(vcv::set_codec(conv, 6, vcv::fourcc("IV41")));
  EXPECT_EQ(vcv::check_error(), vcv::kCodecUnavailable);
  vcv::assign_video_source(conv, [](vcv::Handle s, int) { vcv::src_finished(s); });
  vcv::set_resolution(conv, 160, 120);
  const std::string film = d / "indeo41.avi";
  vcv::set_output_file(conv, film, 0);
  EXPECT_FALSE(vcv::convert(conv));
  EXPECT_EQ(vcv::check_error(), vcv::kCodecUnavailable);
  EXPECT_NE(vcv::last_error_text().find("cannot be written on this system"), std::string::npos);
  vcv::free(conv);
  EXPECT_TRUE(fs::is_empty(d.d));
}

// Frames made as JPEG files in reverse order are encoded in name order.
TEST(ConversionVideo, FileListsAreEncodedInNameOrder) {
  EXIGER_FFMPEG();
  Dossier d;
  const int n = 25;
  std::vector<std::uint32_t> couleurs;
  // Colours of the 6-level cube, which an RLE8 movie of a flat first frame holds.
  for (int k = 0; k < n; ++k) {
    const int i = (k * 37 + 11) % 216;
    couleurs.push_back(render::pixel_rgb(std::uint8_t(51 * (i / 36)), std::uint8_t(51 * (i / 6 % 6)),
                                         std::uint8_t(51 * (i % 6))));
  }
  for (int k = n; k >= 1; --k) {
    render::Bitmap b(64, 48, couleurs[std::size_t(k - 1)]);
    ASSERT_TRUE(render::ecrire_jpeg(d / ("file_" + std::to_string(10000 + k) + ".jpg"), b, 90));
  }
  for (int type : {5, 6}) {
    SCOPED_TRACE(type);
    const vcv::Handle conv = vcv::alloc(), liste = vcv::list_alloc();
    ASSERT_TRUE(vcv::list_add(liste, d / "file_*.jpg", 1));
    EXPECT_EQ(vcv::list_get_name(liste, 0), d / "file_10001.jpg");
    vcv::assign_video_source(conv, [&](vcv::Handle source, int index) {
      if (auto nom = vcv::list_get_name(liste, index)) vcv::src_set_file(source, *nom);
      else vcv::src_finished(source);
    });
    int total = -1;
    vcv::assign_progress(conv, [&](vcv::Handle, int kind, int, int t) { if (kind == 3) total = t; });
    vcv::set_resolution(conv, 64, 48);
    auto c = codec_video(type);
    vcv::set_codec(conv, c->conteneur, c->codec);
    const std::string film = d / (type == 5 ? "liste.avi" : "liste.mpg");
    vcv::set_output_file(conv, film, 0);
    ASSERT_TRUE(vcv::convert(conv)) << vcv::last_error_text();
    EXPECT_EQ(total, n);
    EXPECT_EQ(sonder(film)["nb_read_frames"], std::to_string(n));
    if (type == 5) {
      const std::string brut = test_commande::sortie("ffmpeg -v error -i '" + film + "' -f rawvideo -pix_fmt rgb24 -");
      ASSERT_EQ(brut.size(), std::size_t(n) * 64 * 48 * 3);
      // The first frame's colour is kept as its JPEG file gives it (a step or
      // two off); the others are the cube's. Neighbours differ by 51 or more.
      for (int k = 0; k < n; ++k) {
        const std::size_t o = std::size_t(k) * 64 * 48 * 3 + (20 * 64 + 30) * 3;
        const std::uint32_t p = couleurs[std::size_t(k)];
        EXPECT_NEAR(std::uint8_t(brut[o]), (p >> 16) & 0xFF, 3) << k;
        EXPECT_NEAR(std::uint8_t(brut[o + 1]), (p >> 8) & 0xFF, 3) << k;
        EXPECT_NEAR(std::uint8_t(brut[o + 2]), p & 0xFF, 3) << k;
      }
    }
    vcv::list_free(liste);
    vcv::free(conv);
  }
}

TEST(ConversionVideo, CancelledFailedAndNestedConversions) {
  EXIGER_FFMPEG();
  Dossier d;
  // Finished after 10 of 20 frames: a complete 10-frame movie.
  {
    Essai e;
    e.finir_apres = 10;
    ASSERT_TRUE(e.lancer(d / "dix.avi"));
    EXPECT_EQ(sonder(d / "dix.avi")["nb_read_frames"], "10");
  }
  // Finished before any frame: code 7, no file.
  {
    Essai e;
    e.finir_apres = 0;
    EXPECT_FALSE(e.lancer(d / "vide.avi"));
    EXPECT_EQ(vcv::check_error(), vcv::kNoFrame);
    EXPECT_FALSE(fs::exists(d / "vide.avi"));
    for (const auto& f : fs::directory_iterator(d.d)) EXPECT_NE(f.path().extension(), ".part") << f.path();
  }
  // A folder that does not exist: code 3.
  {
    Essai e;
    EXPECT_FALSE(e.lancer(d / "absent/film.avi"));
    EXPECT_EQ(vcv::check_error(), vcv::kCannotCreateOutput);
  }
  // A failed conversion leaves an existing movie as it was.
  {
    ASSERT_TRUE(ecrire_fichier(d / "garde.avi", "earlier movie").empty());
    Essai e;
    e.finir_apres = 0;
    EXPECT_FALSE(e.lancer(d / "garde.avi"));
    EXPECT_EQ(lire_fichier(d / "garde.avi").value_or(""), "earlier movie");
  }
  // Another program's file under a work file's name (a download in progress)
  // is passed over and kept, whether the movie is made or not, and no work
  // file stays.
  for (int finir : {-1, 0}) {
    Dossier p;
    ASSERT_TRUE(ecrire_fichier(p / "m.avi.part", "download").empty());
    Essai e;
    e.finir_apres = finir;
    EXPECT_EQ(e.lancer(p / "m.avi"), finir < 0) << vcv::last_error_text();
    EXPECT_EQ(lire_fichier(p / "m.avi.part").value_or(""), "download");
    std::set<std::string> noms;
    for (const auto& f : fs::directory_iterator(p.d)) noms.insert(f.path().filename().string());
    const std::set<std::string> attendus =
        finir < 0 ? std::set<std::string>{"m.avi", "m.avi.part"} : std::set<std::string>{"m.avi.part"};
    EXPECT_EQ(noms, attendus);
  }
  // An unreadable frame file stops the conversion unless the error answer skips it.
  {
    ASSERT_TRUE(ecrire_fichier(d / "faux.jpg", "not a picture").empty());
    for (int reponse : {2, 1}) {
      const vcv::Handle conv = vcv::alloc(), img = vcv::img_alloc();
      const render::Bitmap b = image_test(32, 32, 1);
      vcv::assign_video_source(conv, [&](vcv::Handle s, int index) {
        if (index == 0) {
          vcv::src_set_file(s, d / "faux.jpg");
        } else if (index < 3) {
          vcv::dib_to_img(img, vue(b));
          vcv::src_set_img(s, img);
        } else {
          vcv::src_finished(s);
        }
      });
      int codes = 0;
      vcv::assign_error(conv, [&](vcv::Handle, int code, int& answer) {
        EXPECT_EQ(answer, 2);
        codes += code == vcv::kUnreadableFrame;
        answer = reponse;
      });
      vcv::set_resolution(conv, 32, 32);
      vcv::set_codec(conv, 6, vcv::fourcc("mrle"));
      vcv::set_output_file(conv, d / "saut.avi", 0);
      EXPECT_EQ(vcv::convert(conv), reponse == 1);
      EXPECT_EQ(codes, 1);
      vcv::free(conv);
      vcv::free(img);
    }
    EXPECT_EQ(sonder(d / "saut.avi")["nb_read_frames"], "2");
  }
  // A conversion started from inside another's progress callback is refused.
  {
    Essai e;
    e.images = 3;
    int refus = 0;
    const vcv::Handle conv = vcv::alloc(), img = vcv::img_alloc();
    const render::Bitmap b = image_test(32, 32, 1);
    vcv::assign_video_source(conv, [&](vcv::Handle s, int index) {
      if (index < 2) vcv::dib_to_img(img, vue(b)), vcv::src_set_img(s, img);
      else vcv::src_finished(s);
    });
    vcv::assign_progress(conv, [&](vcv::Handle, int kind, int, int) {
      if (kind == 3 && !e.lancer(d / "imbrique.avi") && vcv::check_error() == vcv::kBusy) ++refus;
    });
    vcv::set_resolution(conv, 32, 32);
    vcv::set_output_file(conv, d / "externe.avi", 0);
    EXPECT_TRUE(vcv::convert(conv));
    EXPECT_EQ(refus, 2);
    EXPECT_FALSE(fs::exists(d / "imbrique.avi"));
    vcv::free(conv);
    vcv::free(img);
  }
}

// A disk that fills (a file-size limit) in the movie's header, in its frames
// or in its last bytes: a write failure there, no work file, and the earlier
// movie as it was.
TEST(ConversionVideo, AFullDiskAtAnyPointEndsTheMovieAndKeepsTheEarlierOne) {
  Dossier d;
  std::vector<std::uintmax_t> tailles;  // the work file's, after each frame of a movie made freely
  Essai mesure;
  mesure.apres_image = [&] {
    for (const auto& f : fs::directory_iterator(d.d))
      if (f.path().extension() == ".part") tailles.push_back(fs::file_size(f.path()));
  };
  ASSERT_TRUE(mesure.lancer(d / "m.avi")) << vcv::last_error_text();
  ASSERT_EQ(tailles.size(), 20u);
  const std::pair<std::uintmax_t, std::string> cas[] = {{16, "cannot write the movie header: "},
                                                        {(tailles[0] + tailles[1]) / 2, "cannot write the movie: "},
                                                        {tailles.back(), "cannot finish the movie: "}};
  for (const auto& [octets, texte] : cas) {
    ASSERT_TRUE(ecrire_fichier(d / "m.avi", "earlier movie").empty());
    bool fait = true;
    {
      LimiteFichiers limite;
      ASSERT_TRUE(limite.poser(octets));
      fait = Essai().lancer(d / "m.avi");
    }
    EXPECT_FALSE(fait);
    EXPECT_EQ(vcv::check_error(), vcv::kWriteFailure);
    EXPECT_EQ(vcv::last_error_text().rfind(texte, 0), 0u) << vcv::last_error_text();
    EXPECT_EQ(std::distance(fs::directory_iterator(d.d), fs::directory_iterator()), 1) << texte;
    EXPECT_EQ(lire_fichier(d / "m.avi").value_or(""), "earlier movie");
  }
}

TEST(ConversionVideo, BadHandlesFailWithoutHarm) {
  const vcv::Handle conv = vcv::alloc(), img = vcv::img_alloc(), liste = vcv::list_alloc();
  EXPECT_TRUE(vcv::free(conv));
  EXPECT_FALSE(vcv::free(conv));
  EXPECT_FALSE(vcv::convert(conv));
  EXPECT_EQ(vcv::check_error(), vcv::kBadCall);
  EXPECT_FALSE(vcv::set_resolution(img, 10, 10));
  EXPECT_FALSE(vcv::list_add(conv, "/tmp/*", 1));
  EXPECT_FALSE(vcv::list_get_name(12345678, 0));
  EXPECT_FALSE(vcv::src_set_img(liste, img));
  EXPECT_FALSE(vcv::src_finished(0));
  EXPECT_FALSE(vcv::dib_to_img(liste, vcv::FrameView{}));
  EXPECT_FALSE(vcv::list_free(img));
  EXPECT_TRUE(vcv::list_free(liste));
  EXPECT_TRUE(vcv::free(img));
  vcv::FileInfo info;
  EXPECT_FALSE(vcv::get_file_info("/nonexistent/movie.avi", 0, info));
}

TEST(ConversionVideo, RunLengthCodingOfOneRow) {
  // 4 equal, 3 differing, 2 equal, 1 lone, 2 equal: a run, an absolute
  // stretch with its pad byte, a run, a run of one, a run; end of picture.
  const std::vector<std::uint8_t> ligne = {7, 7, 7, 7, 1, 2, 3, 5, 5, 9, 4, 4};
  const std::vector<std::uint8_t> attendu = {4, 7, 0, 3, 1, 2, 3, 0, 2, 5, 1, 9, 2, 4, 0, 1};
  EXPECT_EQ(vcv::encode_rle8(ligne, 12, 1), attendu);
  // Two rows: bottom row first, end of row then end of picture.
  const std::vector<std::uint8_t> deux = {1, 1, 2, 2};
  EXPECT_EQ(vcv::encode_rle8(deux, 2, 2), (std::vector<std::uint8_t>{2, 2, 0, 0, 2, 1, 0, 1}));
  EXPECT_TRUE(vcv::encode_rle8(deux, 3, 2).empty());
}

}  // namespace
