// Growing terrains from a key. Generation: every pass on (islands, basin,
// preferred direction, distortion, erosion, smoothing, shore, terraces), the
// median milliseconds per generation. Subdivision: the midpoint subdivision
// alone at degree 11, in nodes per second. The process_cpu_ms counter is the
// CPU time of every thread of the process per generation (the helpers'
// included). Generation/11/helpers:0 and /helpers:7 fix the number of helpers
// a loop may take (0: the one-thread cost, to compare with).
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/cpu_processus.h"
#include "model/matrice.h"
#include "model/parallele.h"

namespace {

param_mat parametres(int degre, bool passes) {
  param_mat p{};
  p.maillage = degre;
  p.relief = 100;
  p.profil = 60;
  p.etalement = 1;
  p.cle = 12345;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  for (auto& w : p.profils_iter) w = 2;
  if (passes) {
    p.iles = 1;
    p.cuvette = 1;
    p.oriente = 1;
    p.hauteur_plis = 5;
    p.deformation = 1;
    p.degre_deformation = 50;
    p.erosion = 20;
    p.altitude_erosion = 100;
    p.taux_lissage = 10;
    p.rivage_actif = 1;
    p.rivage = 10;
    p.hauteur_rivage = 50;
    p.gradins = 1;
    p.nombre_gradins = 5;
    p.pente_gradins = 5;
  }
  return p;
}

void generer(benchmark::State& state, bool passes) {
  const param_mat p = parametres(static_cast<int>(state.range(0)), passes);
  std::int64_t noeuds = 0;
  double cpu = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    auto t = std::make_unique<Tmatrice>(p);
    state.ResumeTiming();
    bool continuer = true;
    const double debut = cpu_processus_ms();
    t->generer_montagne(nullptr, 0, continuer, false);
    cpu += cpu_processus_ms() - debut;
    benchmark::DoNotOptimize(t->hauteurs->lire(2, 2));
    noeuds += static_cast<std::int64_t>(t->n) * (t->n + 1) / 2;
    state.PauseTiming();
    t.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(noeuds);
  state.counters["process_cpu_ms"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

void Generation(benchmark::State& state) { generer(state, true); }

void Generation_aides(benchmark::State& state) {
  const model::Partage avant = model::partage();
  model::fixer_partage({.aides = static_cast<int>(state.range(1)), .part_minimale = avant.part_minimale});
  generer(state, true);
  model::fixer_partage(avant);
}
void Subdivision(benchmark::State& state) { generer(state, false); }

}  // namespace

BENCHMARK(Generation)->Arg(9)->Arg(11)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(Generation_aides)
    ->Name("Generation")
    ->ArgNames({"", "helpers"})
    ->Args({11, 0})
    ->Args({11, 7})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(Subdivision)->Arg(11)->Unit(benchmark::kMillisecond);
