// Node projections of the renderer's camera: world point of a lattice node
// (height read, distortion and strata tests), view depth and screen-plane
// coordinates, then the pixel. items_per_second = nodes projected.
#include <benchmark/benchmark.h>

#include "model/defauts.h"
#include "render/camera.h"

using namespace render;

static void RasterProjection(benchmark::State& state) {
  param_mat p;
  valeurs_defaut_matrice(p);
  p.maillage = 9;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  Tmatrice t(p);
  for (int i = 1; i <= t.n; ++i)
    for (int j = 1; i + j <= t.n + 1; ++j) t.hauteurs->ecrire(i, j, (i * 7 + j * 13) % 2000);
  param_vue v;
  valeurs_defaut_vue(v);
  v.strates = 1;
  Bitmap image(640, 480);
  TMyPalette palette(false, 4);
  AffichageDirect rien;
  RenderOptions options;
  RenderContext ctx(t, 0, palette, image, rien, v, options);
  ctx.largeur = 640;
  ctx.hauteur = 480;
  ctx.degre = t.degre;
  ctx.n = t.n;
  installer_camera(ctx);
  preparer_camera(ctx);
  cadrer(ctx);
  std::int64_t noeuds = 0;
  std::int64_t somme = 0;
  for (auto _ : state) {
    for (int i = 1; i <= t.n; ++i)
      for (int j = 1; i + j <= t.n + 1; ++j) {
        projection(ctx, i, j);
        const Point q = pixel_projete(ctx);
        somme += q.x + q.y;
      }
    noeuds += std::int64_t(t.n) * (t.n + 1) / 2;
  }
  benchmark::DoNotOptimize(somme);
  state.SetItemsProcessed(noeuds);
}
BENCHMARK(RasterProjection)->Unit(benchmark::kMillisecond);
