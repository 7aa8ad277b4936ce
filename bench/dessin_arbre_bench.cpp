// Tree drawing: single trees per species and rendition, and whole renders of
// a forest.
//
// TreeDraw/<species>/<rendition>: the median microseconds per tree drawn onto
// a 1024 x 768 picture (stroke s = 1.5, symbol s = 4, segments at s = 12, 30
// and 60 with a 6-variant model, close-up s = 100 with its generation).
// ForestRender/<view>/degree<k>: a generated terrain (key 4242) with trees of
// layers 1..4 at 1024 x 768, the default view and the detail view of the render
// benchmark, with the forest on (Oak, Fir, Poplar, Pine) and off; `trees` is
// the number of trees drawn, `trees_per_second` those per second.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "bench/terrains_bench.h"
#include "exemples/arbres_dessin.h"
#include "model/defauts.h"
#include "render/calcul_image.h"
#include "render/canevas_arbre.h"
#include "render/dessin_arbre.h"

using namespace render;

namespace {

void TreeDraw(benchmark::State& state, int espece, double s) {
  ArbreSeul a;
  a.couche = couche_defaut(espece);
  a.variantes = 6;
  auto t = modele_seul(a);
  param_vue v;
  valeurs_defaut_vue(v);
  const TMyPalette palette = palette_pour_vue(v);
  Bitmap image(1024, 768);
  CanevasImage cv(image.surface());
  a.taille = s / (3.2 * t->echelle);
  int k = 0;
  for (auto _ : state) {
    a.numero = ++k;
    dessiner_seul(*t, a, cv, palette, {100 + (k * 37) % 800, 700});
  }
}

const char* const kNoms[9] = {"", "Oak", "Fir", "Poplar", "Pine", "Palm", "Corn", "Cactus", "Bush"};

struct Inscription {
  Inscription() {
    const std::pair<const char*, double> rendus[] = {{"stroke", 1.5},    {"symbol", 4},      {"segments12", 12},
                                                     {"segments30", 30}, {"segments60", 60}, {"closeup100", 100}};
    for (int e = 1; e <= 8; ++e)
      for (auto [nom, s] : rendus)
        benchmark::RegisterBenchmark((std::string("TreeDraw/") + kNoms[e] + "/" + nom).c_str(), TreeDraw, e, s)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
  }
} inscription;

Tmatrice& terrain(int degre) {
  return terrain_genere_bench(degre, 4242, [](Tmatrice& t) { planter_foret(t, 40); });
}

struct Compte : ObservateurArbres {
  std::int64_t n = 0;
  void arbre(const RapportArbre& r) override { n += r.rendu != RenduArbre::aucun; }
};

void ForestRender(benchmark::State& state, int degre, bool detail, bool foret) {
  Tmatrice& t = terrain(degre);
  param_vue v = vue_foret();
  v.foret = foret;
  v.horizon = 1;
  if (detail) {
    v.premier_plan = 1;
    v.distance = 10;
    v.angle_vertical = 20;
  }
  const TMyPalette palette = palette_pour_vue(v);
  Bitmap image(1024, 768);
  auto une = [&](ObservateurArbres* o) {
    RenderOptions options;
    options.phases.observateur_arbres = o;
    t.marquer_modifiee();
    calcul_image(t, 0, palette, image, {}, v, 1024, 768, nullptr, nullptr, 0, 0, 0, 1, 0, {}, options);
  };
  Compte c;
  une(&c);
  for (auto _ : state) une(nullptr);
  state.counters["trees"] = double(c.n);
  state.counters["trees_per_second"] =
      benchmark::Counter(double(c.n) * double(state.iterations()), benchmark::Counter::kIsRate);
}

struct InscriptionRendu {
  InscriptionRendu() {
    for (int degre : {9, 11})
      for (bool detail : {false, true})
        for (bool foret : {true, false}) {
          const std::string nom = std::string("ForestRender/") + (detail ? "detail" : "default") + "/degree" +
                                  std::to_string(degre) + (foret ? "/forest" : "/bare");
          benchmark::RegisterBenchmark(nom.c_str(), ForestRender, degre, detail, foret)
              ->Unit(benchmark::kMillisecond)
              ->Repetitions(5)
              ->ReportAggregatesOnly(true);
        }
  }
} inscription_rendu;

}  // namespace
