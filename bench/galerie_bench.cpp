// Gallery: the "Collection" window loading 16 view documents whose 1024 x 768
// JPEG pictures lie beside them (keys read, pictures decoded and reduced to
// thumbnails), as after "Scan ...".
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "app/galerie.h"
#include "bench/application_bench.h"

namespace {

void Gallery(benchmark::State& state) {
  application_bench();
  QTemporaryDir dossier;
  QFile exemple(QUORVEL_BENCH_SOURCE_DIR "/tests/data/vue.vue");
  if (!exemple.open(QIODevice::ReadOnly)) {
    state.SkipWithError("tests/data/vue.vue is missing");
    return;
  }
  const QByteArray texte = exemple.readAll();
  QImage image(1024, 768, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
  std::vector<std::string> noms;
  for (int k = 0; k < 16; ++k) {
    const QString base = dossier.filePath(QString("vue%1").arg(k, 2, 10, QChar('0')));
    QFile f(base + ".vue");
    f.open(QIODevice::WriteOnly);
    f.write(texte);
    f.close();
    image.save(base + ".jpg", "JPG", 90);
    noms.push_back((base + ".vue").toStdString());
  }
  TForm_galerie g;
  for (auto _ : state) {
    g.charger_vues(0, noms);
    benchmark::DoNotOptimize(g.nombre());
  }
}
BENCHMARK(Gallery)->Unit(benchmark::kMillisecond);

}  // namespace
