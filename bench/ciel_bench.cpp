// The sky and sea picture and whole renders with sky, sea and cast shadows.
//   Sky/clouds/1024x768      cloudy sky of a 1024-pixel-wide view, sky only (1045 x 772 grid)
//   Sky/clouds/largest       the largest cloudy sky (4000 x 2000 grid)
//   Sky/reflection/1024x768  cloudy sky, then the mirrored sea with waves and sun glitter
//   Render/sky_sea_shadows/degreeK/1024x768  full render (key 7): cast shadows, horizon,
//                            clouds, reflection, choppy sea; distance 10 km (shadow stride 1)
// Each case reports the median time over 5 repetitions.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "model/aleatoire.h"
#include "bench/terrains_bench.h"
#include "model/defauts.h"
#include "render/calcul_image.h"
#include "render/ciel.h"

using namespace render;

namespace {

void Ciel(benchmark::State& state, int largeur, int horizon, int hauteur, bool reflet) {
  param_vue v;
  valeurs_defaut_vue(v);
  v.type_ciel = 1;
  v.reflet = reflet;
  v.taux_reflet = 6;
  v.agitation_mer = 4;
  if (reflet) v.taille_nuages = 0;  // mostly clear: the sun shows and the sea glitters
  const TMyPalette palette = palette_pour_vue(v);
  Bitmap image(Round(largeur * 1.02) + 1, std::max(horizon + 4, hauteur));
  EntreeCiel e;
  e.ligne_horizon = horizon;
  e.ligne_terre = horizon + 20;
  e.hauteur_coins = -50;
  e.largeur = largeur;
  e.hauteur = hauteur;
  e.cos_elevation = 0.95;
  e.cos_azimut = reflet ? -0.9 : 0.9;
  e.soleil_visible = reflet;
  e.soleil = {largeur / 2, horizon / 2};
  e.vue = &v;
  e.image = &image;
  e.palette = &palette;
  bool scintille = false;
  for (auto _ : state) {
    TCiel ciel;
    const SortieCiel s = ciel.dessiner_ciel(e);
    scintille = s.soleil_dessine;
    benchmark::DoNotOptimize(image.row(0));
  }
  if (reflet) state.counters["sun_drawn"] = scintille;
}

Tmatrice& terrain(int degre) { return terrain_genere_bench(degre, 7); }

void Rendu(benchmark::State& state, int degre) {
  Tmatrice& t = terrain(degre);
  param_vue v;
  valeurs_defaut_vue(v);
  v.horizon = 1;
  v.type_ciel = 1;
  v.reflet = 1;
  v.taux_reflet = 6;
  v.agitation_mer = 5;
  v.ombre_portee = 1;
  v.distance = 10;
  const TMyPalette palette = palette_pour_vue(v);
  Bitmap image(1024, 768);
  for (auto _ : state) {
    t.marquer_modifiee();
    calcul_image(t, 0, palette, image, {}, v, 1024, 768, nullptr, nullptr, 0, 0, 0, 1, 0, enregistrement_camera{}, {});
  }
}

void enregistrer() {
  auto reglages = [](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
  };
  reglages(benchmark::RegisterBenchmark("Sky/clouds/1024x768",
                                        [](benchmark::State& s) { Ciel(s, 1024, 768, 0, false); }));
  reglages(benchmark::RegisterBenchmark("Sky/clouds/largest",
                                        [](benchmark::State& s) { Ciel(s, 3922, 1996, 0, false); }));
  reglages(benchmark::RegisterBenchmark("Sky/reflection/1024x768",
                                        [](benchmark::State& s) { Ciel(s, 1024, 300, 768, true); }));
  for (int degre : {9, 11})
    reglages(benchmark::RegisterBenchmark(
        ("Render/sky_sea_shadows/degree" + std::to_string(degre) + "/1024x768").c_str(),
        [degre](benchmark::State& s) { Rendu(s, degre); }));
}

const bool enregistre = (enregistrer(), true);

}  // namespace
