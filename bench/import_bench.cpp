// Import: reading a 2049 x 2049 text grid (2050 lines, read as 2048 x 2048),
// in milliseconds and MB/s; resampling that source at degree 11 (about two
// million nodes) with smoothing off (/0) and on (/1), in milliseconds and nodes
// per second. No progress window.
#include <benchmark/benchmark.h>

#include <string>

#include "import/importation.h"

namespace {

const std::string& grille_2049() {
  static const std::string texte = [] {
    std::string s;
    s.reserve(2050u * 2049u * 5u);
    for (int q = 1; q <= 2050; ++q) {
      for (int p = 1; p <= 2049; ++p) {
        if (p > 1) s += ' ';
        // Rolling relief of a few hundred metres with some sea.
        s += std::to_string((q * 37 + p * 53 + (q * p) % 97) % 2400 - 200);
      }
      s += "\r\n";
    }
    return s;
  }();
  return texte;
}

void ImportRead(benchmark::State& state) {
  const std::string& texte = grille_2049();
  for (auto _ : state) {
    Importation imp;
    const Echec e = imp.lire_altitudes(texte, "bench.txt", nullptr, 0);
    if (!e.empty() || imp.largeur != 2048) state.SkipWithError("the grid was not read");
    benchmark::DoNotOptimize(imp.grille.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(texte.size()));
}

void ImportResample(benchmark::State& state) {
  Importation imp;
  if (!imp.lire_altitudes(grille_2049(), "bench.txt", nullptr, 0).empty()) state.SkipWithError("no source");
  imp.degre = 11;
  imp.lissage = state.range(0) != 0;
  for (auto _ : state) {
    imp.faire_importation(nullptr, 0);
    benchmark::DoNotOptimize(imp.terrain.get());
  }
  const std::int64_t n = 2049;
  const std::int64_t noeuds = (n - 3) * (n - 2) / 2;  // inner nodes: i, j >= 2, i + j <= n
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * noeuds);
}

BENCHMARK(ImportRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ImportResample)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
