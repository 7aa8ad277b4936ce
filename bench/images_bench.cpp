// Picture files read from disk as a view, a sky or the gallery reads them: a
// 1024 x 768 Windows bitmap (/0), the same picture as a JPEG file (/1), and a
// 4800 x 4700 run-length (RLE8) bitmap of 31.6 MB (/2), opened, read and
// decoded, in milliseconds.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "render/bmp.h"
#include "render/image.h"
#include "render/jpeg.h"

namespace {

void ajouter_le(std::string& b, std::uint32_t v, int octets) {
  for (int k = 0; k < octets; ++k) b.push_back(char(v >> (8 * k)));
}

// An 8-bit run-length bitmap whose rows repeat runs of one, one and two
// pixels and a raw run of six, in colours that change along and across the
// rows: 1.4 bytes a pixel.
std::string bmp_rle8(int largeur, int hauteur) {
  std::string flux;
  auto c = [](int x, int y) { return char((x * 7 + y * 3) & 255); };
  for (int y = 0; y < hauteur; ++y) {
    for (int x = 0; x + 10 <= largeur; x += 10) {
      flux += {1, c(x, y), 1, c(x + 1, y), 0, 6};
      for (int k = 2; k < 8; ++k) flux += c(x + k, y);
      flux += {2, c(x + 8, y)};
    }
    flux += {0, 0};
  }
  flux += {0, 1};
  std::string b = "BM";
  const std::uint32_t debut = 14 + 40 + 256 * 4;
  for (std::uint32_t v : {debut + std::uint32_t(flux.size()), 0u, debut, 40u, std::uint32_t(largeur),
                          std::uint32_t(hauteur)})
    ajouter_le(b, v, 4);
  ajouter_le(b, 1, 2);
  ajouter_le(b, 8, 2);
  for (std::uint32_t v : {1u, std::uint32_t(flux.size()), 2835u, 2835u, 256u, 0u}) ajouter_le(b, v, 4);
  for (int k = 0; k < 256; ++k) ajouter_le(b, std::uint32_t(k) * 0x010101u ^ 0x3080u, 4);
  return b + flux;
}

struct FichierBench {
  std::string chemin;
  int largeur;
};

// The three files, written once into the temporary folder.
const std::array<FichierBench, 3>& fichiers_bench() {
  static const std::array<FichierBench, 3> fichiers = [] {
    render::Bitmap image(1024, 768);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        image.at(x, y) = render::pixel_rgb(std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y));
    const std::string base = (std::filesystem::temp_directory_path() / "quorvel_bench_image").string();
    render::ecrire_bmp(base + ".bmp", image);
    render::ecrire_jpeg(base + ".jpg", image, 90);
    std::ofstream(base + "_rle8.bmp", std::ios::binary) << bmp_rle8(4800, 4700);
    return std::array<FichierBench, 3>{
        {{base + ".bmp", 1024}, {base + ".jpg", 1024}, {base + "_rle8.bmp", 4800}}};
  }();
  return fichiers;
}

void PictureRead(benchmark::State& state) {
  const FichierBench& f = fichiers_bench()[std::size_t(state.range(0))];
  for (auto _ : state) {
    render::Bitmap image;
    if (!render::lire_image(f.chemin, image) || image.width() != f.largeur)
      state.SkipWithError("the picture was not read");
    benchmark::DoNotOptimize(image.row(0));
  }
}
BENCHMARK(PictureRead)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
