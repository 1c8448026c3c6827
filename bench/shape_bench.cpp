// The shape rasteriser and the four gradient shapes at text-block sizes.
#include <benchmark/benchmark.h>

#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "imaging/shape_raster.h"
#include "materials/gradient_render.h"
#include "materials/gradient_settings.h"
#include "platform/memory.h"

namespace {

struct Canvas {
  gw::MemBlock block{gw::bitmapCreateTrueColour(1000, 200, 24)};
  gw::MemLock lock{block.get()};
  gw::BitmapView view = gw::BitmapView::of(lock);
};

void BM_FillPolygon(benchmark::State& state) {
  Canvas c;
  // A band of a turned linear gradient: four edges across the whole width.
  gw::ShapePoint band[5] = {{-40, 10}, {1040, 150}, {1030, 230}, {-50, 90}, {-40, 10}};
  for (auto _ : state) gw::fillPolygon(c.view, band, 5, 0x336699);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FillPolygon);

void BM_FillEllipse(benchmark::State& state) {
  Canvas c;
  for (auto _ : state) gw::fillEllipse(c.view, -200, -40, 1200, 240, 0x336699);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FillEllipse);

void BM_FillRectangle(benchmark::State& state) {
  Canvas c;
  for (auto _ : state) gw::fillRectangle(c.view, -200, -40, 1200, 240, 0x336699);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FillRectangle);

// Arg 0: shape; arg 1: 1 two-colour, 0 multi-colour. 1000 x 200 pixels.
void BM_GradientRender(benchmark::State& state) {
  uint8_t g[gw::kGradientSettingsSize];
  gw::gradientSettingsDefaults(g);
  gw::writeI32(g + gw::gradient::kShape, int32_t(state.range(0)));
  gw::writeU32(g + gw::gradient::kColourMode, uint32_t(state.range(1)));
  gw::writeI32(g + gw::gradient::kRotation, 30);
  for (auto _ : state) {
    gw::MemBlock bmp(gw::gradientRender(g, 1000, 200));
    benchmark::DoNotOptimize(bmp.get());
  }
  state.SetItemsProcessed(state.iterations() * 1000 * 200);
}
BENCHMARK(BM_GradientRender)->ArgsProduct({{0, 1, 2, 3}, {1, 0}})->Unit(benchmark::kMillisecond);

// The largest render a record may ask for, at its worst shape.
void BM_GradientLargest(benchmark::State& state) {
  uint8_t g[gw::kGradientSettingsSize];
  gw::gradientSettingsDefaults(g);
  gw::writeI32(g + gw::gradient::kShape, int32_t(state.range(0)));
  for (auto _ : state) {
    gw::MemBlock bmp(gw::gradientRender(g, 8192, 8192));
    benchmark::DoNotOptimize(bmp.get());
  }
}
BENCHMARK(BM_GradientLargest)->Arg(2)->Arg(3)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
