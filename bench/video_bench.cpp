// Movie writing per codec type (one rendered landscape handed over 30 times)
// and the camera path of a long video.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>

#include "bench/application_bench.h"
#include "bench/terrains_bench.h"
#include "model/defauts.h"
#include "platform/vidconv/conversion_video.h"
#include "render/calcul_image.h"
#include "platform/vidconv/lecteur_film.h"
#include "render/jpeg.h"
#include "video/codecs_video.h"
#include "video/creation.h"
#include "model/echantillons.h"
#include "video/reglages_calculs.h"
#include "video/trajectoire.h"

namespace {

const render::Bitmap& paysage() {
  static render::Bitmap image = paysage_rendu_bench(640, 480);
  return image;
}

// Arguments: codec type, and 0 for 320 x 240 or 1 for 640 x 480. The frames
// pan over a landscape rendered at 800 x 600 (4 pixels right and 3 down each),
// so that codecs which code changes only cannot skip frames.
void VideoEncode(benchmark::State& state) {
  namespace vcv = platform::vcv;
  const int type = int(state.range(0));
  const int l = state.range(1) ? 640 : 320, h = state.range(1) ? 480 : 240;
  static const render::Bitmap image = paysage_rendu_bench(800, 600);
  const std::string film = (std::filesystem::temp_directory_path() /
                            ("quorvel-bench-" + std::to_string(::getpid()) + extension_film(type)))
                               .string();
  const auto codec = codec_video(type);
  for (auto _ : state) {
    const vcv::Handle conv = vcv::alloc(), img = vcv::img_alloc();
    vcv::assign_video_source(conv, [&](vcv::Handle s, int index) {
      if (index >= 30) {
        vcv::src_finished(s);
        return;
      }
      vcv::dib_to_img(img, {&image.at(4 * index, 3 * index), l, h, image.width()});
      vcv::src_set_img(s, img);
    });
    vcv::set_resolution(conv, l, h);
    vcv::set_codec(conv, codec->conteneur, codec->codec);
    vcv::set_output_file(conv, film, 0);
    vcv::set_dithering(conv, 1);
    if (!vcv::convert(conv)) state.SkipWithError(vcv::last_error_text().c_str());
    vcv::free(conv);
    vcv::free(img);
  }
  std::remove(film.c_str());
  state.counters["frames_per_second"] = benchmark::Counter(30.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(VideoEncode)
    ->Args({2, 0})
    ->Args({2, 1})
    ->Args({3, 0})
    ->Args({3, 1})
    ->Args({4, 1})
    ->Args({5, 1})
    ->Args({6, 1})
    ->Args({8, 1})
    ->Unit(benchmark::kMillisecond);

void CameraPath(benchmark::State& state) {
  Tmatrice& t = terrain_genere_bench(9, 1234, [](Tmatrice&) {});
  Param_video p{};
  p.nombre_images = 9999;
  p.type_trajectoire = 1;
  p.rayon_cercle = 80;
  p.distance_point_vise = 25;
  p.bezier_altitude = {1500, 1600, 1700, 1800, 1700, 1600, 1500};
  std::vector<enregistrement_camera> table;
  DessinTrajectoire dessin;
  EditeurAltitude altitudes{300, 100, 0, 0};
  for (auto _ : state) {
    benchmark::DoNotOptimize(calcule_trajectoire(p, t, altitudes, false, table, dessin));
  }
}
BENCHMARK(CameraPath)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// 20 frames at 640 x 480 (file mode) of a generated terrain through the real
// making window, offscreen; the shares of rendering, JPEG writing and encoding
// are measured apart on the same frames.
void VideoMaking(benchmark::State& state) {
  const int degre = int(state.range(0)), type = int(state.range(1));
  Tmatrice& t = terrain_genere_bench(degre, 1234, [](Tmatrice&) {});
  Param_video p{};
  valeurs_defaut_vue(p.vue);
  p.nombre_images = 200;
  p.type_video = type;
  p.type_trajectoire = 1;
  p.largeur_image = 640;
  p.hauteur_image = 480;
  p.premiere_image = 1;
  p.derniere_image = 21;  // frames 1..20
  p.rayon_cercle = 90;
  p.distance_point_vise = 25;
  p.bezier_altitude.fill(3000);
  p.bezier_x.fill(-1);
  p.bezier_y.fill(-1);
  std::vector<enregistrement_camera> table;
  DessinTrajectoire dessin;
  EditeurAltitude altitudes{300, 100, 0, 0};
  calcule_trajectoire(p, t, altitudes, false, table, dessin);
  const TMyPalette palette = palette_pour_vue(p.vue);
  const auto dossier = std::filesystem::temp_directory_path() / ("quorvel-making-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dossier / "temp");
  application_bench();
  int images = 0;
  for (auto _ : state) {
    TCreation c;
    c.init_creation(p, dossier.string(), &palette, &t, 1);
    c.encoder_video(false, &table);
    images += 20;
  }
  // The parts alone: render, JPEG, encode.
  render::Bitmap image(640, 480);
  param_vue vue = p.vue;
  vue.largeur_image = 704;
  vue.hauteur_image = 528;
  vue.type_ciel = 0;
  auto chrono = [](auto&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  };
  const double rendu = chrono([&] {
    for (int k = 1; k <= 20; ++k)
      render::calcul_image(t, 0, palette, image, {}, vue, 640, 480, nullptr, nullptr, 0, 0, 0, 0, 1, table[std::size_t(k)]);
  });
  const double jpeg = chrono([&] {
    for (int k = 1; k <= 20; ++k) render::ecrire_jpeg((dossier / "j.jpg").string(), image, 90);
  });
  std::filesystem::remove_all(dossier);
  state.counters["frames_per_second"] = benchmark::Counter(images, benchmark::Counter::kIsRate);
  state.counters["render_s_per_20"] = rendu;
  state.counters["jpeg_s_per_20"] = jpeg;
}
BENCHMARK(VideoMaking)->Args({7, 2})->Args({7, 6})->Args({9, 2})->Args({9, 6})->Unit(benchmark::kMillisecond)->Iterations(1);

void MovieDecode(benchmark::State& state) {
  namespace vcv = platform::vcv;
  const bool grand = state.range(0) != 0;
  const int l = grand ? 640 : 320, h = grand ? 480 : 240;
  const std::string film = (std::filesystem::temp_directory_path() /
                            ("quorvel-decode-" + std::to_string(::getpid()) + (grand ? ".mpg" : ".avi")))
                               .string();
  const render::Bitmap& image = paysage();
  std::vector<std::uint32_t> pixels(std::size_t(l) * std::size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < l; ++x) pixels[std::size_t(y * l + x)] = image.at(x, y);
  const vcv::Handle conv = vcv::alloc(), img = vcv::img_alloc();
  vcv::assign_video_source(conv, [&](vcv::Handle s, int k) {
    if (k >= 60) return void(vcv::src_finished(s));
    vcv::dib_to_img(img, {pixels.data(), l, h, l});
    vcv::src_set_img(s, img);
  });
  vcv::set_resolution(conv, l, h);
  vcv::set_codec(conv, grand ? vcv::kContainerMpeg : vcv::kContainerAvi, grand ? 0 : vcv::fourcc("cvid"));
  vcv::set_output_file(conv, film, 0);
  vcv::convert(conv);
  vcv::free(conv);
  vcv::free(img);
  vcv::MovieReader lecteur;
  if (!lecteur.open(film)) state.SkipWithError("movie not readable");
  std::vector<std::uint32_t> frame;
  int lues = 0;
  for (auto _ : state) {
    for (int k = 0; k < lecteur.frame_count(); ++k) lues += lecteur.read(k, frame);
  }
  std::remove(film.c_str());
  state.counters["frames_per_second"] = benchmark::Counter(lues, benchmark::Counter::kIsRate);
}
BENCHMARK(MovieDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The settings dialog's frame preview: frame 100 of a circle path over a
// degree-9 terrain, rendered at 280 x 210 on the preview terrain filled from
// its 36 x 36 sample: full (degree 5) and rough (degree 4, rough flag), as
// while a bar is dragged.
void VideoDialogPreview(benchmark::State& state) {
  const bool grossier = state.range(0) != 0;
  Tmatrice& t = terrain_genere_bench(9, 1234, [](Tmatrice&) {});
  Param_video p{};
  valeurs_defaut_vue(p.vue);
  p.nombre_images = 360;
  p.type_trajectoire = 1;
  p.rayon_cercle = 80;
  p.distance_point_vise = 50;
  p.zoom_video = 20;
  p.angle_vision = -25;
  p.bezier_altitude.fill(2500);
  p.bezier_x.fill(-1);
  p.bezier_y.fill(-1);
  std::vector<enregistrement_camera> table;
  DessinTrajectoire dessin;
  EditeurAltitude altitudes{402, 120, 0, 0};
  calcule_trajectoire(p, t, altitudes, false, table, dessin);
  param_mat pm{};
  pm.maillage = grossier ? 4 : 5;
  Tmatrice apercu(pm);
  remplir_depuis_echantillon(apercu, echantillonner_36(t));
  const TMyPalette palette = palette_pour_vue(p.vue);
  const param_vue vue = reglages::vue_apercu(p, 280, 210);
  render::Bitmap image(280, 210);
  for (auto _ : state) {
    apercu.marquer_modifiee();
    render::calcul_image(apercu, 0, palette, image, {}, vue, 280, 210, nullptr, nullptr, 0, grossier ? 1 : 0, 0, 0,
                         1, table[100]);
  }
  std::set<render::Pixel> couleurs(image.pixels().begin(), image.pixels().end());
  state.counters["colours"] = double(couleurs.size());
}
BENCHMARK(VideoDialogPreview)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
