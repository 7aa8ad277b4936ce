// Movie writing per codec type (one rendered landscape handed over 30 times)
// and the camera path of a long video.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "bench/terrains_bench.h"
#include "model/defauts.h"
#include "platform/vidconv/conversion_video.h"
#include "render/calcul_image.h"
#include "video/codecs_video.h"
#include "video/trajectoire.h"

namespace {

const render::Bitmap& paysage() {
  static render::Bitmap image = [] {
    Tmatrice& t = terrain_genere_bench(9, 1234, [](Tmatrice&) {});
    param_vue vue;
    valeurs_defaut_vue(vue);
    render::Bitmap b(640, 480);
    t.marquer_modifiee();
    render::calcul_image(t, 0, palette_pour_vue(vue), b, {}, vue, 640, 480, nullptr, nullptr, 1, 0, 0, 0, 0, {});
    return b;
  }();
  return image;
}

void VideoEncode(benchmark::State& state) {
  namespace vcv = platform::vcv;
  const int type = int(state.range(0));
  const render::Bitmap& image = paysage();
  const std::string film = (std::filesystem::temp_directory_path() /
                            ("quorvel-bench-" + std::to_string(::getpid()) + (type < 6 ? ".avi" : ".mpg")))
                               .string();
  const auto codec = codec_video(type);
  for (auto _ : state) {
    const vcv::Handle conv = vcv::alloc(), img = vcv::img_alloc();
    vcv::assign_video_source(conv, [&](vcv::Handle s, int index) {
      if (index >= 30) {
        vcv::src_finished(s);
        return;
      }
      vcv::dib_to_img(img, {image.pixels().data(), image.width(), image.height(), image.width()});
      vcv::src_set_img(s, img);
    });
    vcv::set_resolution(conv, 640, 480);
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
BENCHMARK(VideoEncode)->Arg(2)->Arg(4)->Arg(5)->Arg(6)->Arg(8)->Unit(benchmark::kMillisecond);

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
