// The map editor's render: both zooms of the top-down map (425 x 372 and
// 850 x 744) in one renderer call, with the editor's own view and small
// palette, for generated terrains (key 7) of degree 7, 9 and 11, shaded and as
// level curves. Each case reports the median time per map over 5 repetitions.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/terrains_bench.h"
#include "dialogs/edition.h"
#include "dialogs/edition_geometrie.h"
#include "model/defauts.h"
#include "render/calcul_image.h"

namespace {

void EditorMap(benchmark::State& state, int degre, bool courbes) {
  Tmatrice& t = terrain_genere_bench(degre, 7);
  param_vue defaut;
  valeurs_defaut_vue(defaut);
  const param_vue vue = dialogs::vue_de_carte(defaut);
  TMyPalette palette(false, 4);
  dialogs::preparer_palette_carte(palette, vue);
  render::Bitmap carte1(dialogs::kLargeurCarte, dialogs::kHauteurCarte);
  render::Bitmap carte2(2 * dialogs::kLargeurCarte, 2 * dialogs::kHauteurCarte);
  for (auto _ : state) {
    t.marquer_modifiee();
    render::calcul_image(t, 0, palette, carte1, {}, vue, dialogs::kLargeurCarte, dialogs::kHauteurCarte, nullptr,
                         &carte2, 1, 0, courbes ? 1 : 0, 0, 0, enregistrement_camera{});
  }
}

void Enregistrer() {
  for (int degre : {7, 9, 11})
    for (bool courbes : {false, true})
      benchmark::RegisterBenchmark(
          ("EditorMap/degree" + std::to_string(degre) + (courbes ? "/levels" : "/shaded")).c_str(),
          [degre, courbes](benchmark::State& s) { EditorMap(s, degre, courbes); })
          ->Unit(benchmark::kMillisecond)
          ->Repetitions(5)
          ->ReportAggregatesOnly(true);
}

const int enregistre = (Enregistrer(), 0);

}  // namespace
