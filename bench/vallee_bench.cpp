// Valley and Erosion on generated terrains of degrees 9 and 11 (fixed keys).
// Valley: a digging Valley from the highest interior node; the `_median` row
// gives ms per call, `river_points` the river's length. Erosion: a disc of
// width 2000 around the target node, density 10, depth -20; ms per call and
// `valleys_per_second`.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/defauts.h"
#include "model/matrice.h"
#include "model/outils.h"

namespace {

std::unique_ptr<Tmatrice> genere(int degre) {
  param_mat p;
  valeurs_defaut_matrice(p);
  p.maillage = degre;
  p.cle = 2024 + degre;
  p.alea = 0;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  auto t = std::make_unique<Tmatrice>(p);
  bool continuer = true;
  t->generer_montagne(nullptr, 0, continuer, false);
  t->creer_annulation();
  return t;
}

// Counts the springs drawn: every valley starts with one move.
struct CompteSources : MapCanvas {
  long sources = 0;
  void set_pen(Rgb, int) override {}
  void move_to(int, int) override { ++sources; }
  void line_to(int, int) override {}
};

void lancer(benchmark::State& state, bool erosion) {
  const int degre = static_cast<int>(state.range(0));
  auto t = genere(degre);
  const Tnoeud origine = *t->hauteurs;
  std::int32_t i0 = t->cible_i, j0 = t->cible_j;
  arguments_outil a;
  if (erosion) {
    a.outil = OUTIL_RUISSELLEMENT;
    a.largeur_base_debut = 2000;
    a.largeur_sommet_debut = 10;
    a.altitude_finale_debut = -20;
  } else {
    std::int32_t haut = -5000;
    for (int i = 2; i < t->n; ++i)
      for (int j = 2; i + j < t->n + 1; ++j)
        if (t->hauteurs->lire(i, j) > haut) {
          haut = t->hauteurs->lire(i, j);
          i0 = i;
          j0 = j;
        }
    a.outil = OUTIL_VALLEE;
    a.largeur_base_debut = 200;
    a.largeur_sommet_debut = 20;
    a.altitude_initiale_debut = haut;
    a.altitude_finale_debut = haut - 40;
  }
  CompteSources carte;
  long appels = 0;
  std::int32_t longueur = 0;
  for (auto _ : state) {
    state.PauseTiming();
    *t->hauteurs = origine;
    t->nombre_elements = 0;
    t->debut_trace(i0, j0);
    state.ResumeTiming();
    controle_outil c;
    c.carte_1 = &carte;
    t->modifier(a, c);
    ++appels;
    longueur = t->nombre_elements;
  }
  if (erosion) {
    state.counters["valleys_per_second"] =
        benchmark::Counter(static_cast<double>(carte.sources), benchmark::Counter::kIsRate);
    state.counters["valleys"] = static_cast<double>(carte.sources) / static_cast<double>(appels);
  } else {
    state.counters["river_points"] = longueur;
  }
}

void Valley(benchmark::State& s) { lancer(s, false); }
void Erosion(benchmark::State& s) { lancer(s, true); }

}  // namespace

BENCHMARK(Valley)->Arg(9)->Arg(11)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(Erosion)->Arg(9)->Arg(11)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
