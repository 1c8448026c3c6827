// Texture generation speed: every type with its defaults at the sizes a
// material fill asks for, and the fractal's cost as the mesh grows.
#include <benchmark/benchmark.h>

#include "materials/texture_generate.h"
#include "materials/texture_settings.h"
#include "materials/tile_fill.h"
#include "materials/tile_selection.h"

namespace {

namespace ts = gw::texture_settings;

void generate(benchmark::State& state, uint32_t type, int32_t side, uint32_t mesh) {
  uint8_t s[ts::kSize];
  gw::textureSettingsDefaults(s);
  gw::writeU32(s + ts::kType, type);
  gw::writeU32(s + ts::kMeshSize, mesh);
  gw::textureSetOutputRect(s, 0, 0, side, side);
  for (auto _ : state) {
    gw::MemBlock bmp(gw::textureGenerate(s));
    if (!bmp) state.SkipWithError("generation failed");
    benchmark::DoNotOptimize(bmp.get());
  }
  state.SetItemsProcessed(state.iterations() * int64_t(side) * side);
}

// Arguments: output side, mesh size.
void BM_Fractal2(benchmark::State& s) { generate(s, gw::kTexture2ColourFractal, int32_t(s.range(0)), uint32_t(s.range(1))); }
void BM_Fractal3(benchmark::State& s) { generate(s, gw::kTexture3ColourFractal, int32_t(s.range(0)), uint32_t(s.range(1))); }
void BM_Fractal4(benchmark::State& s) { generate(s, gw::kTexture4ColourFractal, int32_t(s.range(0)), uint32_t(s.range(1))); }
void BM_Fractal5(benchmark::State& s) { generate(s, gw::kTexture5ColourFractal, int32_t(s.range(0)), uint32_t(s.range(1))); }
void BM_Craters(benchmark::State& s) { generate(s, gw::kTextureCraters, int32_t(s.range(0)), uint32_t(s.range(1))); }
void BM_Perturbation(benchmark::State& s) { generate(s, gw::kTexturePerturbation, int32_t(s.range(0)), uint32_t(s.range(1))); }

BENCHMARK(BM_Fractal2)->Args({256, 64})->Args({1000, 64})->Args({1000, 256})->Args({1000, 1024})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fractal3)->Args({1000, 64})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fractal4)->Args({1000, 64})->Unit(benchmark::kMillisecond);
// The small fill at the largest mesh: the mesh is bounded by what the
// output needs: milliseconds (15 ms here), where an unbounded mesh took seconds.
BENCHMARK(BM_Fractal5)->Args({1000, 64})->Args({1000, 1024})->Args({80, 64})->Args({80, 2048})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Craters)->Args({256, 64})->Args({1000, 64})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Perturbation)->Args({256, 64})->Args({1000, 64})->Args({1000, 1024})->Unit(benchmark::kMillisecond);

// Tiling the built-in tile over the material fill's typical text block.
void BM_TileFill(benchmark::State& state) {
  uint8_t sel[gw::tile_selection::kSize] = {};
  for (auto _ : state) {
    gw::MemBlock bmp(gw::tileFill(sel, 1000, 200));
    benchmark::DoNotOptimize(bmp.get());
  }
  state.SetItemsProcessed(state.iterations() * 1000 * 200);
}
BENCHMARK(BM_TileFill)->Unit(benchmark::kMillisecond);

}  // namespace
