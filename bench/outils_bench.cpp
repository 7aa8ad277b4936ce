// Stroke tools on a large terrain: a Shape along long strokes and a Road,
// with the grid search for the nearest trace node and with the plain search.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "model/matrice.h"
#include "model/outils_trace.h"

namespace {

std::unique_ptr<Tmatrice> terrain_degre_11() {
  param_mat p{};
  p.maillage = 11;
  auto m = std::make_unique<Tmatrice>(p);
  m->nombre_noeuds = static_cast<std::uint16_t>(m->n);
  const int n = m->n;
  for (int i = 1; i <= n; ++i)
    for (int j = 1; i + j <= n + 1; ++j) {
      double x = static_cast<double>(i) / n, y = static_cast<double>(j) / n;
      m->hauteurs->ecrire(i, j, static_cast<int>(900 * std::sin(9 * x) * std::cos(7 * y) + 300));
    }
  return m;
}

// A winding stroke of `longueur` nodes through the middle of the terrain.
void tracer(Tmatrice& m, int longueur) {
  m.debut_trace(300, 300);
  int i = 300, j = 300;
  for (int k = 1; k < longueur; ++k) {
    if (k % 3 == 0) ++i; else ++j;
    if (k % 7 == 0) --i;
    m.lire_trace(i, j);
  }
}

void lancer(benchmark::State& state, std::int32_t code, int longueur, bool simple) {
  auto m = terrain_degre_11();
  tracer(*m, longueur);
  for (auto _ : state) {
    arguments_outil a;
    a.outil = code;
    a.largeur_base_debut = a.largeur_base_fin = 800;
    a.largeur_sommet_debut = 40;
    a.altitude_finale_debut = a.altitude_finale_fin = 5;
    a.valeur = 20;
    parametres_trace p = parametres_outil_trace(a);
    p.recherche_simple = simple;
    controle_outil c;
    outil_trace(*m, p, c);
    m->nombre_elements = 0;
  }
  state.counters["trace_nodes"] = m->dernier_point + 1;
}

void StrokeTools_Shape200(benchmark::State& s) { lancer(s, OUTIL_FORME, 200, false); }
void StrokeTools_Shape2000(benchmark::State& s) { lancer(s, OUTIL_FORME, 2000, false); }
void StrokeTools_Road500(benchmark::State& s) { lancer(s, OUTIL_ROUTE, 500, false); }
void StrokeTools_Shape200_Plain(benchmark::State& s) { lancer(s, OUTIL_FORME, 200, true); }
void StrokeTools_Shape2000_Plain(benchmark::State& s) { lancer(s, OUTIL_FORME, 2000, true); }
void StrokeTools_Road500_Plain(benchmark::State& s) { lancer(s, OUTIL_ROUTE, 500, true); }

}  // namespace

BENCHMARK(StrokeTools_Shape200)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(StrokeTools_Shape2000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(StrokeTools_Road500)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(StrokeTools_Shape200_Plain)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(StrokeTools_Shape2000_Plain)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(StrokeTools_Road500_Plain)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
