// DataLoad: the image data module's three embedded list files read into
// their containers (signature, offsets, items, every packed picture unpacked
// and loaded), as at every start-up. Needs no application object.
#include <benchmark/benchmark.h>

#include "controls/imagelist.h"

namespace {

void DataLoad(benchmark::State& state) {
  for (auto _ : state) {
    CtlImageList images;
    CtlBitmapList bitmaps, glyphs;
    images.LoadFromFile(":/pictures/ImageList.iml");
    bitmaps.LoadFromFile(":/pictures/BitmapList.bmp");
    glyphs.LoadFromFile(":/pictures/GlyphsList.bmp");
    benchmark::DoNotOptimize(images.Count() + bitmaps.Count() + glyphs.Count());
  }
}
BENCHMARK(DataLoad)->Unit(benchmark::kMillisecond);

}  // namespace
