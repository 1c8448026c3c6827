// The material fill of every kind at 1000 x 200, a typical text block.
#include <benchmark/benchmark.h>

#include "base/le_bytes.h"
#include "materials/gradient_settings.h"
#include "materials/material_fill.h"
#include "materials/material_record.h"
#include "platform/memory.h"

namespace {

// Arg: the kind (0 Simple, 1 Gradient, 2 Texture, 3 Tile), defaults otherwise.
void BM_MaterialFill(benchmark::State& state) {
  uint8_t rec[gw::kMaterialRecordSize];
  gw::materialRecordDefaults(rec, false);
  gw::writeI32(rec + gw::material::kKind, int32_t(state.range(0)));
  for (auto _ : state) {
    gw::MemBlock bmp(gw::materialFill(rec, 1000, 200));
    benchmark::DoNotOptimize(bmp.get());
  }
  state.SetItemsProcessed(state.iterations() * 1000 * 200);
}
BENCHMARK(BM_MaterialFill)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// A multi-colour elliptical gradient, the slowest gradient a material holds.
void BM_MaterialFillEllipticalRainbow(benchmark::State& state) {
  uint8_t rec[gw::kMaterialRecordSize];
  gw::materialRecordDefaults(rec, false);
  gw::writeI32(rec + gw::material::kKind, gw::kMaterialGradient);
  gw::writeI32(rec + gw::material::kGradient + gw::gradient::kShape, gw::kGradientElliptical);
  gw::writeU32(rec + gw::material::kGradient + gw::gradient::kColourMode, 0);
  for (auto _ : state) {
    gw::MemBlock bmp(gw::materialFill(rec, 1000, 200));
    benchmark::DoNotOptimize(bmp.get());
  }
}
BENCHMARK(BM_MaterialFillEllipticalRainbow)->Unit(benchmark::kMillisecond);

void BM_AverageColour(benchmark::State& state) {
  uint8_t rec[gw::kMaterialRecordSize];
  gw::materialRecordDefaults(rec, false);
  gw::MemBlock bmp(gw::materialFill(rec, 1000, 200));
  for (auto _ : state) benchmark::DoNotOptimize(gw::bitmapAverageColour(bmp.get()));
}
BENCHMARK(BM_AverageColour);

}  // namespace
