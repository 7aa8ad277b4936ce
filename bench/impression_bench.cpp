// PrintCompose: the print page of a 1024 x 768 view composed in the print
// preview (frame, picture, title, size and ten comment lines), as "Print ..."
// does before showing the form.
#include <benchmark/benchmark.h>

#include "app/impression.h"
#include "bench/application_bench.h"

namespace {

void PrintCompose(benchmark::State& state) {
  application_bench();
  components::TPrintPreview pp;
  pp.SetScreenPixelsPerInch(96);
  pp.SetUnits(components::mmLoMetric);
  pp.SetOrientation(components::poLandscape);
  pp.resize(605, 486);
  ContenuPage c;
  c.image = QImage(1024, 768, QImage::Format_RGB32);
  c.image.fill(QColor(90, 140, 200));
  c.titre = "  mount";
  c.taille = "(1024 x 768)";
  for (int k = 1; k <= 10; ++k) c.lignes << "Comment line " + QString::number(k);
  for (auto _ : state) {
    composer_page(pp, c);
    benchmark::DoNotOptimize(pp.TotalPages());
  }
}
BENCHMARK(PrintCompose)->Unit(benchmark::kMillisecond);

}  // namespace
