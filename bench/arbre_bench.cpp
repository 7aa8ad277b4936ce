// Tree generation. TreeGeneration/<species>/<variants>/<level>: builds and
// generates one model (creation included) with the default layer at distance
// 5 km; the `_median` row gives the milliseconds per model and
// `segments_per_second` the stored segments generated per second.
#include <benchmark/benchmark.h>

#include <memory>

#include "render/arbre.h"

namespace {

void TreeGeneration(benchmark::State& state) {
  const int espece = static_cast<int>(state.range(0));
  const int variantes = static_cast<int>(state.range(1));
  const int niveau = static_cast<int>(state.range(2));
  param_vue vue{};
  vue.detail_arbres = 1;
  vue.distance = niveau == 3 ? 10 : 5;
  vue.azimut_soleil = 90;
  espece_arbres c{};
  c.espece = espece;
  c.diversite = 2;
  c.couleur = 1;
  c.hauteur = 25;
  c.largeur = 5;
  c.taille_feuilles = 7;
  c.largeur_feuilles = 5;
  c.hauteur_tronc = 5;
  c.largeur_tronc = 5;
  c.poids_branches = 20;
  c.taux_croissance = 5;
  // One variant asks for its level as the drawer's close-up model does.
  const bool detail = variantes == 1;
  const std::int32_t demande = detail ? -niveau : variantes;
  double segments = 0;
  for (auto _ : state) {
    auto a = Tarbre::creer(vue, detail, demande, c);
    bool annule = false;
    a->generer_arbre(vue, c, 0.8, 0.5, 0.7, 0.5, 0, 1.0, 7, 100, 0, nullptr, annule, 0.2, 0.7);
    for (int k = 0; k < a->nb_variantes; ++k)
      for (int l = 1; l <= a->niveau; ++l) segments += a->nb_segments[k][l];
    benchmark::DoNotOptimize(a->etendue[0][1]);
  }
  state.counters["segments_per_second"] = benchmark::Counter(segments, benchmark::Counter::kIsRate);
}

void Arguments(benchmark::internal::Benchmark* b) {
  for (int sp = 1; sp <= 8; ++sp) {
    b->Args({sp, 24, 4});
    b->Args({sp, 6, 3});
  }
  b->Args({1, 1, 7});
  b->Args({2, 1, 6});
  b->Args({3, 1, 7});
  b->Args({4, 1, 7});
}

}  // namespace

BENCHMARK(TreeGeneration)
    ->Apply(Arguments)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
