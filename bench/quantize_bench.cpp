// Custom palette speed: histogram, median cut and k-means over one picture
// and over a build of many frames. Items are pixels.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_images.h"
#include "protocol/frame_store.h"
#include "imaging/palette_quantizer.h"

namespace {

void quantizeKind(benchmark::State& state, const std::string& kind) {
  gw::MemBlock bmp(gw::bench::toBitmap(gw::bench::makeImage(kind, 800, 600, 1)));
  const gw::MemHandle handles[1] = {bmp.get()};
  uint8_t palette[768];
  int count = 0;
  gw::QuantizeStats stats;
  for (auto _ : state) {
    if (!gw::quantizeBitmaps(handles, 1, 256, palette, &count, &stats)) state.SkipWithError("failed");
    benchmark::DoNotOptimize(palette);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 800 * 600);
  state.counters["colours"] = double(stats.distinctColours);
  state.counters["passes"] = stats.kmeansPasses;
}

// A build: 30 frames of one animation-like sequence (the picture drifting).
void quantizeBuild(benchmark::State& state) {
  gw::FrameStore store;
  for (uint32_t f = 0; f < 30; ++f)
    gw::frameStoreAppendFrame(store, gw::bench::toBitmap(gw::bench::makeImage("title", 320, 240, 1 + f % 3)), 5);
  uint8_t palette[768];
  int count = 0;
  for (auto _ : state) {
    if (!gw::quantizeFrames(store, 255, palette, &count)) state.SkipWithError("failed");
    benchmark::DoNotOptimize(palette);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 30 * 320 * 240);
  gw::frameStoreFree(store);
}

}  // namespace

BENCHMARK_CAPTURE(quantizeKind, title, std::string("title"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(quantizeKind, banner, std::string("banner"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(quantizeKind, glow, std::string("glow"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(quantizeKind, plasma, std::string("plasma"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(quantizeKind, grain, std::string("grain"))->Unit(benchmark::kMillisecond);
BENCHMARK(quantizeBuild)->Unit(benchmark::kMillisecond);
