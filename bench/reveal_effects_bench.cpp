// The default build (default text and settings, every frame into a frame
// store) of each effect that assembles, lights or mirrors the line, beside
// "Simple"'s, in one run.
//
//   cmake -S . -B build-bench -DGW_BUILD_BENCH=ON && cmake --build build-bench --target reveal_effects_bench
//   build-bench/reveal_effects_bench
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "effects/effect_table.h"
#include "host/main_dialog.h"
#include "platform/in_memory_dialog.h"
#include "platform/resources.h"
#include "platform/system_state.h"
#include "protocol/frame_store.h"
#include "resource_ids.h"
#include "settings/settings_record.h"

namespace {

void BM_DefaultBuild(benchmark::State& state, const char* name) {
  ::setenv("GLYPHWRIGHT_APPDATA", "/tmp/gw-reveal-bench", 1);
  gw::settings() = gw::SettingsRecord();
  auto dialog = gw::InMemoryDialog::fromResource(gw::ResourceName::number(IDD_MAIN));
  gw::testing::setShiftKeyDown(true);  // defaults: no configuration or material files
  const bool ready = dialog && gw::mainDialogInit(*dialog, nullptr, 1024, 768);
  gw::testing::setShiftKeyDown(false);
  const int index = gw::findEffect(name);
  if (!ready || index < 0) {
    state.SkipWithError("no dialog or no such effect");
    return;
  }
  uint32_t frames = 0;
  for (auto _ : state) {
    gw::FrameStore store;
    gw::EffectContext ctx;
    ctx.window = dialog.get();
    ctx.frameStore = &store;
    if (!gw::effectBuild(gw::effectRow(index), ctx)) state.SkipWithError("build failed");
    frames = store.count;
    gw::frameStoreFree(store);
  }
  state.counters["frames"] = frames;
}

BENCHMARK_CAPTURE(BM_DefaultBuild, Simple, "Simple")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK_CAPTURE(BM_DefaultBuild, Zipper, "Zipper")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK_CAPTURE(BM_DefaultBuild, TramLines, "Tram Lines")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK_CAPTURE(BM_DefaultBuild, Tracks, "Tracks")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK_CAPTURE(BM_DefaultBuild, Waterside, "Waterside")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK_CAPTURE(BM_DefaultBuild, DiagonalFuse, "Diagonal Fuse")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK_CAPTURE(BM_DefaultBuild, UnpluggedTV, "Unplugged TV")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
