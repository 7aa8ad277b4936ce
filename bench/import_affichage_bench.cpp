// Import window display, on a 2048 x 2048 text grid read once: the shown
// picture built at scale 1 (the height encoding of the whole grid, /1) and the
// reduced copy at 0.25 made by the zoom button (/4, one reduction and the
// return to full size per iteration); ImportMove is one move of the frame
// with its repaint, which must stay well under the 50 ms of a held button's
// repeat. Milliseconds.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "bench/application_bench.h"
#include "import/fenetre_import.h"
#include "platform/fichiers.h"

namespace {

// The window on the grid, shown offscreen; null when the grid cannot be written.
TImportation* fenetre() {
  static QTemporaryDir dossier;
  static TImportation* w = [] () -> TImportation* {
    application_bench();
    std::string s;
    s.reserve(2049u * 2048u * 5u);
    for (int q = 1; q <= 2049; ++q) {
      for (int p = 1; p <= 2048; ++p) {
        if (p > 1) s += ' ';
        s += std::to_string((q * 37 + p * 53 + (q * p) % 97) % 2400);
      }
      s += '\n';
    }
    const std::string chemin = dossier.filePath("grille.txt").toStdString();
    if (!ecrire_fichier(chemin, s).empty()) return nullptr;
    auto* f = new TImportation;
    f->show();
    if (!f->importer_altitudes(chemin, param_mat{})) return nullptr;
    return f;
  }();
  return w;
}

void ImportDisplay(benchmark::State& state) {
  TImportation* w = fenetre();
  if (!w) {
    state.SkipWithError("the source could not be written or read");
    return;
  }
  const bool reduite = state.range(0) == 4;
  for (auto _ : state) {
    if (reduite) {
      w->SpeedButtonzoomClick();
      w->SpeedButtonzoomClick();
    } else {
      render::Bitmap b = w->importation().image();
      benchmark::DoNotOptimize(b.row(0));
    }
  }
}
BENCHMARK(ImportDisplay)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void ImportMove(benchmark::State& state) {
  TImportation* w = fenetre();
  if (!w) {
    state.SkipWithError("the source could not be written or read");
    return;
  }
  bool droite = true;
  for (auto _ : state) {
    w->geste(droite ? Geste::droite : Geste::gauche);
    droite = !droite;
    w->Image_importee->repaint();
  }
}
BENCHMARK(ImportMove)->Unit(benchmark::kMillisecond);

}  // namespace
