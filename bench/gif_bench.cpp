// GIF coding of one 1024 x 768 frame of 8-bit indices (smooth bands with noise,
// as a reduced landscape picture): the whole file written by the GIF class, and
// the file read back with its frame decoded.
// Gif/write/one_colour/4096 and Gif/write/landscape/2048x1536: a true-colour
// picture written as a GIF file the way a view's picture is when the clipboard
// is asked for GIF (reduced to a palette, then coded); one colour is the case
// where every code extends the longest string so far.
// Gif/write/small/32x32: one 32 x 32 frame of the same kind, a whole file a
// time, where what the coder sets up for a frame weighs more than the pixels.
// Gif/write/many_colours/1024x768: a file of four frames of random indices
// over all 256 colours, where strings stay short and nearly every pixel or
// two gives a new code, so the coder's work per new code shows.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QRandomGenerator>
#include <vector>

#include "bench/terrains_bench.h"
#include "components/gif.h"
#include "fenetres/image_qt.h"

namespace {

QImage frame(int width = 1024, int height = 768) {
  QImage img(width, height, QImage::Format_Indexed8);
  QList<QRgb> table;
  for (int i = 0; i < 256; ++i) table << qRgb(i, 255 - i, (i * 7) & 255);
  img.setColorTable(table);
  QRandomGenerator r(11);
  for (int y = 0; y < img.height(); ++y) {
    uchar* row = img.scanLine(y);
    for (int x = 0; x < img.width(); ++x) row[x] = static_cast<uchar>((y / 3 + x / 64 + r.bounded(4)) & 255);
  }
  return img;
}

void counters(benchmark::State& state, double pixels = 1024 * 768) {
  state.counters["megapixels_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * pixels / 1e6, benchmark::Counter::kIsRate);
}

void Gif_encode(benchmark::State& state) {
  const QImage img = frame();
  for (auto _ : state) {
    components::TGIFImage g;
    g.AddFrame(img);
    benchmark::DoNotOptimize(g.SaveToStream());
  }
  counters(state);
}

void Gif_decode(benchmark::State& state) {
  components::TGIFImage source;
  source.AddFrame(frame());
  const QByteArray bytes = source.SaveToStream();
  for (auto _ : state) {
    components::TGIFImage g;
    g.LoadFromStream(bytes);
    benchmark::DoNotOptimize(g.Frame(0).Bitmap().constBits());
  }
  counters(state);
}

void ecrire(benchmark::State& state, const QImage& img) {
  for (auto _ : state) {
    components::TGIFImage g;
    g.AddFrame(img);
    benchmark::DoNotOptimize(g.SaveToStream());
  }
  counters(state, double(img.width()) * img.height());
}

void Gif_write_small(benchmark::State& state) { ecrire(state, frame(32, 32)); }

void Gif_write_many_colours(benchmark::State& state) {
  QImage img = frame();
  QRandomGenerator r(5);
  std::vector<QImage> frames;
  for (int k = 0; k < 4; ++k) {
    for (int y = 0; y < img.height(); ++y) {
      uchar* row = img.scanLine(y);
      for (int x = 0; x < img.width(); ++x) row[x] = static_cast<uchar>(r.bounded(256));
    }
    frames.push_back(img.copy());
  }
  for (auto _ : state) {
    components::TGIFImage g;
    for (const QImage& f : frames) g.AddFrame(f);
    benchmark::DoNotOptimize(g.SaveToStream());
  }
  counters(state, 4.0 * 1024 * 768);
}

void Gif_write_one_colour(benchmark::State& state) {
  QImage img(4096, 4096, QImage::Format_RGB32);
  img.fill(qRgb(90, 140, 200));
  ecrire(state, img);
}

void Gif_write_landscape(benchmark::State& state) {
  const render::Bitmap paysage = paysage_rendu_bench(2048, 1536);
  ecrire(state, image_qt(paysage));
}

}  // namespace

BENCHMARK(Gif_write_small)->Name("Gif/write/small/32x32")->Unit(benchmark::kMicrosecond);
BENCHMARK(Gif_write_many_colours)->Name("Gif/write/many_colours/1024x768")->Unit(benchmark::kMillisecond);
BENCHMARK(Gif_write_one_colour)->Name("Gif/write/one_colour/4096")->Unit(benchmark::kMillisecond);
BENCHMARK(Gif_write_landscape)->Name("Gif/write/landscape/2048x1536")->Unit(benchmark::kMillisecond);
BENCHMARK(Gif_encode)->Name("Gif/encode")->Unit(benchmark::kMillisecond);
BENCHMARK(Gif_decode)->Name("Gif/decode")->Unit(benchmark::kMillisecond);
