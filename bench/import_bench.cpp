// Import: reading a 2049 x 2049 text grid (2050 lines, read as 2048 x 2048)
// and a 2048 x 2048 USGS DEM from files, as the import window does, in
// milliseconds and MB/s; resampling the text grid at degree 11 (about two
// million nodes) with smoothing off (/0) and on (/1), in milliseconds and
// nodes per second. No progress window.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "import/importation.h"

namespace {

namespace fs = std::filesystem;

std::string grille_2049() {
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
}

// Right-aligned field of six characters, as in a DEM's records.
std::string champ(long long v) {
  std::string s = std::to_string(v);
  return std::string(s.size() < 6 ? 6 - s.size() : 0, ' ') + s;
}

void bloc(std::string& s) {
  if (s.size() % 1024) s.append(1024 - s.size() % 1024, ' ');
}

// A DEM of 2048 profiles of 2048 elevations laid out as a USGS writer does:
// record A (name, level code, profile count in their columns), then one B
// profile a column, in 1024-byte records (25 MB).
std::string dem_2048() {
  std::string s = "bench grid";
  s.resize(144, ' ');
  s += champ(1) + champ(1) + champ(0) + champ(0);
  for (int k = 0; k < 15; ++k) s += std::string(21, ' ') + "0.0";
  s += champ(2) + champ(2) + champ(4);
  s.append(264, ' ');
  s += champ(0);
  s.append(36, ' ');
  s += champ(1) + champ(2048);
  bloc(s);
  for (int p = 1; p <= 2048; ++p) {
    s += champ(1) + champ(p) + champ(2048) + champ(1);
    s.append(120, ' ');
    for (int q = 1; q <= 2048; ++q) {
      if (s.size() % 1024 > 1018) bloc(s);
      s += champ((q * 37 + p * 53 + (q * p) % 97) % 2400 + 100);
    }
    bloc(s);
  }
  return s;
}

// The two sources, written once into a scratch folder removed at exit.
struct Sources {
  fs::path dossier = fs::temp_directory_path() / ("quorvel-bench-import-" + std::to_string(::getpid()));
  std::string txt = (dossier / "bench.txt").string();
  std::string dem = (dossier / "bench.dem").string();
  Sources() {
    fs::create_directories(dossier);
    ecrire_fichier(txt, grille_2049());
    ecrire_fichier(dem, dem_2048());
  }
  ~Sources() {
    std::error_code e;
    fs::remove_all(dossier, e);
  }
};

const Sources& sources() {
  static const Sources s;
  return s;
}

void ImportRead(benchmark::State& state, bool dem) {
  const std::string& chemin = dem ? sources().dem : sources().txt;
  for (auto _ : state) {
    Importation imp;
    const Echec e = imp.importer(chemin, param_mat{}, nullptr, 0);
    if (!e.empty() || imp.largeur != 2048 || imp.hauteur != 2048) state.SkipWithError("the grid was not read");
    benchmark::DoNotOptimize(imp.grille.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(fs::file_size(chemin)));
}

void ImportResample(benchmark::State& state) {
  Importation imp;
  if (!imp.importer(sources().txt, param_mat{}, nullptr, 0).empty()) state.SkipWithError("no source");
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

BENCHMARK_CAPTURE(ImportRead, txt, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ImportRead, dem, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ImportResample)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
