// Smoothing: whole-terrain smoothing (width 8000, strength 20) of generated
// terrains of degree 9 and 11, through the edit dispatcher, without a progress
// window (/0) and with the real progress window, offscreen (/1). Median
// milliseconds per call; the difference is the cost of the progress window.
// The process_cpu_ms counter is the CPU time of every thread of the process
// per call (the helpers' included).
#include <benchmark/benchmark.h>

#include "bench/application_bench.h"
#include "bench/cpu_processus.h"
#include <cstdlib>
#include <memory>

#include "fenetres/attente.h"
#include "fenetres/donnees_images.h"
#include "model/matrice.h"
#include "model/outils.h"
#include "platform/messages.h"

namespace {

std::unique_ptr<Tmatrice> relief(int degre) {
  param_mat p{};
  p.maillage = degre;
  p.relief = 100;
  p.profil = 60;
  p.etalement = 1;
  p.cle = 4242;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  for (auto& w : p.profils_iter) w = 2;
  auto t = std::make_unique<Tmatrice>(p);
  bool continuer = true;
  t->generer_montagne(nullptr, 0, continuer, false);
  return t;
}

void Smoothing(benchmark::State& state) {
  application_bench();
  const int degre = static_cast<int>(state.range(0));
  const bool fenetre_attente = state.range(1) != 0;
  auto modele = relief(degre);
  auto t = relief(degre);
  const WindowHandle fenetre = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
  std::unique_ptr<TAttente> attente;
  if (fenetre_attente) attente = std::make_unique<TAttente>();
  arguments_outil a;
  a.largeur_base_debut = 8000;
  a.valeur = 20;
  a.altitude_finale_debut = 4000;
  a.altitude_initiale_debut = -2000;
  a.outil = OUTIL_LISSAGE;
  double cpu = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    *t->hauteurs = *modele->hauteurs;
    t->debut_trace(t->cible_i, t->cible_j);
    controle_outil c;
    c.attente = attente.get();
    c.fenetre = fenetre;
    state.ResumeTiming();
    const double debut = cpu_processus_ms();
    t->modifier(a, c);
    cpu += cpu_processus_ms() - debut;
    state.PauseTiming();
    if (!c.continuer) state.SkipWithError("cancelled");
    t->fin_trace();
    state.ResumeTiming();
  }
  state.counters["process_cpu_ms"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
  attente.reset();
  platform::unregister_window(fenetre);
}

BENCHMARK(Smoothing)
    ->ArgsProduct({{9, 11}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
