// Whole renders of generated terrains (key 7) of degree 7, 9 and 11, at
// 640 x 480 and 1024 x 768, in two views: the default view with the horizon on,
// and "detail" (foreground detail on, distance 10 km, vertical angle 20).
// Each case reports the median time per render over 5 repetitions; the
// facets_per_second counter counts every polygon the terrain pass drew (main
// and sub-facets), taken from the counters of one untimed render.
// RenderReplay/<view>/degree11/1024x768: one untimed render records every
// triangle the terrain pass hands to the raster layer (corners, colours,
// outline mode); only filling those triangles into a picture of the same size
// is timed: the floor of what the terrain pass can cost.
// Render/<view>/degree11/1024x768/helpers:N: the same renders with the terrain
// pass's helper count fixed (the plain rows take the automatic count). Every
// render row reports process_cpu_ms, the CPU time of all the process's threads
// per render.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <memory>
#include <vector>

#include "bench/cpu_processus.h"
#include "bench/terrains_bench.h"
#include "model/defauts.h"
#include "render/calcul_image.h"
#include "render/facettes.h"

using namespace render;

namespace {

Tmatrice& terrain(int degre) { return terrain_genere_bench(degre, 7); }

// Counts the polygons the terrain pass draws.
struct Compteur : ObservateurDessin {
  std::int64_t facettes = 0;
  void dessinee(const FacetteDessinee&) override { ++facettes; }
};

void Render(benchmark::State& state, int degre, int largeur, int hauteur, bool detail, int aides = -1) {
  Tmatrice& t = terrain(degre);
  param_vue v;
  valeurs_defaut_vue(v);
  v.horizon = 1;
  if (detail) {
    v.premier_plan = 1;
    v.distance = 10;
    v.angle_vertical = 20;
  }
  const TMyPalette palette = palette_pour_vue(v);
  Bitmap image(largeur, hauteur);
  auto une = [&](ObservateurFacettes* o) {
    RenderOptions options;
    options.phases.observateur = o;
    options.aides_facettes = aides;
    t.marquer_modifiee();
    calcul_image(t, 0, palette, image, {}, v, largeur, hauteur, nullptr, nullptr, 0, 0, 0, 1, 0,
                 enregistrement_camera{}, options);
  };
  Compteur compteur;
  une(&compteur);
  const double debut = cpu_processus_ms();
  for (auto _ : state) une(nullptr);
  state.counters["process_cpu_ms"] = benchmark::Counter(cpu_processus_ms() - debut, benchmark::Counter::kAvgIterations);
  state.counters["facets"] = double(compteur.facettes);
  state.counters["facets_per_second"] =
      benchmark::Counter(double(compteur.facettes), benchmark::Counter::kIsIterationInvariantRate);
}

struct TriangleRejoue {
  Point a, b, c;
  Contour mode;
  Pixel remplissage, contour;
};

struct Enregistreur : ObservateurDessin {
  std::vector<TriangleRejoue> triangles;
  void triangle(Point a, Point b, Point c, Contour mode, Pixel remplissage, Pixel contour) override {
    triangles.push_back({a, b, c, mode, remplissage, contour});
  }
};

void RenderReplay(benchmark::State& state, int degre, int largeur, int hauteur, bool detail) {
  Tmatrice& t = terrain(degre);
  param_vue v;
  valeurs_defaut_vue(v);
  v.horizon = 1;
  if (detail) {
    v.premier_plan = 1;
    v.distance = 10;
    v.angle_vertical = 20;
  }
  const TMyPalette palette = palette_pour_vue(v);
  Bitmap image(largeur, hauteur);
  Enregistreur e;
  RenderOptions options;
  options.phases.observateur = &e;
  t.marquer_modifiee();
  calcul_image(t, 0, palette, image, {}, v, largeur, hauteur, nullptr, nullptr, 0, 0, 0, 1, 0, enregistrement_camera{},
               options);
  for (auto _ : state) {
    for (const TriangleRejoue& r : e.triangles)
      fill_triangle(image.surface(), r.a, r.b, r.c, r.mode, r.remplissage, r.contour);
    benchmark::ClobberMemory();
  }
  state.counters["triangles"] = double(e.triangles.size());
}

void enregistrer() {
  for (bool detail : {false, true}) {
    const std::string nom = std::string("RenderReplay/") + (detail ? "detail" : "default") + "/degree11/1024x768";
    benchmark::RegisterBenchmark(nom.c_str(), [=](benchmark::State& s) { RenderReplay(s, 11, 1024, 768, detail); })
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
  }
  for (int degre : {7, 9, 11})
    for (auto [w, h] : {std::pair{640, 480}, std::pair{1024, 768}})
      for (bool detail : {false, true}) {
        const std::string nom = std::string("Render/") + (detail ? "detail" : "default") + "/degree" +
                                std::to_string(degre) + "/" + std::to_string(w) + "x" + std::to_string(h);
        benchmark::RegisterBenchmark(nom.c_str(), [=](benchmark::State& s) { Render(s, degre, w, h, detail); })
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
      }
  for (bool detail : {false, true})
    for (int aides : {0, 7}) {
      const std::string nom = std::string("Render/") + (detail ? "detail" : "default") +
                              "/degree11/1024x768/helpers:" + std::to_string(aides);
      benchmark::RegisterBenchmark(nom.c_str(), [=](benchmark::State& s) { Render(s, 11, 1024, 768, detail, aides); })
          ->Unit(benchmark::kMillisecond)
          ->Repetitions(5)
          ->ReportAggregatesOnly(true);
    }
}

const bool enregistre = (enregistrer(), true);

}  // namespace
