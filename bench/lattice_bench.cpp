// Reads and writes every node of a degree-11 height array, row by row as the
// generator and the renderer walk it.
#include <benchmark/benchmark.h>

#include "model/noeuds.h"

static void Lattice(benchmark::State& state) {
  const std::int32_t n = (1 << 11) + 1;
  Tnoeud hauteurs(n);
  std::int64_t noeuds = 0;
  for (auto _ : state) {
    for (std::int32_t j = 1; j <= n; ++j)
      for (std::int32_t i = 1; i <= n + 1 - j; ++i) hauteurs.ecrire(i, j, hauteurs.lire(i, j) + 1);
    noeuds += static_cast<std::int64_t>(n) * (n + 1) / 2;
    benchmark::ClobberMemory();
  }
  benchmark::DoNotOptimize(hauteurs.lire(1, 1));
  state.SetItemsProcessed(noeuds);
}
BENCHMARK(Lattice)->Unit(benchmark::kMillisecond);
