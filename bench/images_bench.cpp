// Picture files read from disk as a view, a sky or the gallery reads them: a
// 1024 x 768 Windows bitmap (/0) and the same picture as a JPEG file (/1),
// opened, read and decoded, in milliseconds.
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <string>

#include "render/bmp.h"
#include "render/image.h"
#include "render/jpeg.h"

namespace {

// The two files, written once into the temporary folder.
const std::array<std::string, 2>& fichiers_bench() {
  static const std::array<std::string, 2> chemins = [] {
    render::Bitmap image(1024, 768);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        image.at(x, y) = render::pixel_rgb(std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y));
    const std::string base = (std::filesystem::temp_directory_path() / "quorvel_bench_image").string();
    render::ecrire_bmp(base + ".bmp", image);
    render::ecrire_jpeg(base + ".jpg", image, 90);
    return std::array<std::string, 2>{base + ".bmp", base + ".jpg"};
  }();
  return chemins;
}

void PictureRead(benchmark::State& state) {
  const std::string& chemin = fichiers_bench()[std::size_t(state.range(0))];
  for (auto _ : state) {
    render::Bitmap image;
    if (!render::lire_image(chemin, image) || image.width() != 1024) state.SkipWithError("the picture was not read");
    benchmark::DoNotOptimize(image.row(0));
  }
}
BENCHMARK(PictureRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
