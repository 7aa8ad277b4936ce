// The framing previews of the view options dialog, through the real dialog
// offscreen: the coarse preview with its wire mesh (what a drag redraws every
// 100 ms tick), the sampled preview, and the detailed display of a generated
// degree-11 terrain, each at the framing box's size.
#include <benchmark/benchmark.h>

#include "fenetres/elements_pages.h"
#include "bench/application_bench.h"
#include "bench/terrains_bench.h"
#include "dialogs/options_vue.h"
#include "dialogs/options_vue_calculs.h"
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

namespace {

// The tree preview at its box's size: one tree, the detailed drawing, and all
// six layers side by side (0, 1, 2).
void TreePreview(benchmark::State& state) {
  dialogs::TPagesDlg2& d = dialogue();
  for (auto& c : d.vues[0].arbres) {
    c.espece = 1;
    dialogs::defauts_espece(c, 1);
    c.hauteur = 20;
    c.couleur = 1;
  }
  d.vues[0].foret = d.vues[0].detail_arbres = 1;
  d.montagnes[1]->especes = {0, 1, 1, 1, 1, 1, 1};  // every layer present
  const int genre = int(state.range(0));
  for (auto _ : state) {
    if (genre == 1) d.Button_a2Click();
    else if (genre == 2) d.Button_a1Click();
    else {
      d.drapeau_arbres = true;
      d.Image_arbres->invalidate();
    }
    d.Image_arbres->calculer();
  }
}
BENCHMARK(TreePreview)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
