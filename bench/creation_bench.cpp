// The creation dialog's preview: generating the preview terrain from the
// default record (as the preview lightens it) and rendering it at 181 x 133.
// CreationPreview/5 is the fast preview shown while a turn button is held
// (it must stay well under the 100 ms turning tick); /7 is "More detailed".
// Median milliseconds per preview.
#include <benchmark/benchmark.h>

#include "dialogs/creation_calculs.h"
#include "render/calcul_image.h"
#include "model/defauts.h"
#include "model/matrice.h"
#include "render/palette.h"

namespace {

void CreationPreview(benchmark::State& state) {
  const int degre = static_cast<int>(state.range(0));
  param_mat defaut;
  valeurs_defaut_matrice(defaut);
  defaut.cle = 12345;
  const param_mat p = dialogs::parametres_apercu(defaut, degre == 5, degre);
  const param_vue vue = dialogs::vue_apercu();
  TMyPalette palette(false, 4);
  palette.charger_couleurs_base();
  palette.construire(50, 20, false, 0);
  render::Bitmap image(181, 133);
  for (auto _ : state) {
    auto t = dialogs::construire_apercu(p);
    if (!t) {
      state.SkipWithError("the preview record could not be generated");
      break;
    }
    render::calcul_image(*t, 0, palette, image, {}, vue, 181, 133, nullptr, nullptr, 0, 0, 0, 0, 0,
                         enregistrement_camera{});
    benchmark::DoNotOptimize(image.at(90, 66));
  }
}

BENCHMARK(CreationPreview)
    ->Arg(5)
    ->Arg(7)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
