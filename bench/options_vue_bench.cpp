// The framing previews of the view options dialog, through the real dialog
// offscreen: the coarse preview with its wire mesh (what a drag redraws every
// 100 ms tick), the sampled preview, and the detailed display of a generated
// degree-11 terrain, each at the framing box's size.
#include <benchmark/benchmark.h>

#include "bench/application_bench.h"
#include "bench/terrains_bench.h"
#include "dialogs/elements_pages.h"
#include "dialogs/options_vue.h"
#include "model/defauts.h"

namespace {

dialogs::TPagesDlg2& dialogue() {
  static dialogs::TPagesDlg2* d = [] {
    application_bench();
    Tmatrice& t = terrain_genere_bench(11, 7);
    dialogs::EntreesOptionsVue e;
    valeurs_defaut_vue(e.vue);
    valeurs_defaut_matrice(e.parametres);
    e.montagne_courante = 1;
    e.terrains[1] = &t;
    e.montagnes[1] = dialogs::decrire_montagne(t);
    e.page = 2;
    auto* dialogue = new dialogs::TPagesDlg2;
    dialogue->remplir(e);
    dialogue->Image_cadrage->calculer();
    return dialogue;
  }();
  return *d;
}

// 0: coarse terrain with wire mesh, 1: sampled terrain, 2: detailed display.
void ViewPreview(benchmark::State& state) {
  dialogs::TPagesDlg2& d = dialogue();
  const int genre = int(state.range(0));
  d.detail_fixe = 0;
  for (auto _ : state) {
    if (genre == 2) {
      d.Button_detailClick();
    } else {
      d.rapide = genre == 0 ? 1 : 0;
      d.drapeau_cadrage = true;
      d.Image_cadrage->invalidate();
    }
    d.Image_cadrage->calculer();
  }
}
BENCHMARK(ViewPreview)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
