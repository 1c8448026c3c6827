// The default build of each effect with objects around the text beside
// "Simple"'s, in one run: the whole build into a frame store, default text
// and settings. None should cost more than twice "Simple".
//
//   cmake -S . -B build-bench -G Ninja -DGW_BUILD_BENCH=ON && cmake --build build-bench --target object_effects_bench
//   build-bench/object_effects_bench
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

std::unique_ptr<gw::InMemoryDialog> defaultDialog() {
  ::setenv("GLYPHWRIGHT_APPDATA", "/tmp", 1);
  gw::settings() = gw::SettingsRecord();
  auto dialog = gw::InMemoryDialog::fromResource(gw::ResourceName::number(IDD_MAIN));
  if (!dialog) return nullptr;
  // Held Shift: the defaults, no configuration or material files.
  gw::testing::setShiftKeyDown(true);
  const bool ready = gw::mainDialogInit(*dialog, nullptr, 1024, 768);
  gw::testing::setShiftKeyDown(false);
  return ready ? std::move(dialog) : nullptr;
}

void BM_DefaultBuild(benchmark::State& state, const char* name) {
  auto dialog = defaultDialog();
  const int index = gw::findEffect(name);
  if (!dialog || index < 0) {
    state.SkipWithError("no dialog or effect");
    return;
  }
  for (auto _ : state) {
    gw::FrameStore store;
    gw::EffectContext ctx;
    ctx.window = dialog.get();
    ctx.frameStore = &store;
    if (!gw::effectBuild(gw::effectRow(index), ctx)) state.SkipWithError("build failed");
    benchmark::DoNotOptimize(store.count);
    gw::frameStoreFree(store);
  }
}

BENCHMARK_CAPTURE(BM_DefaultBuild, Simple, "Simple")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_DefaultBuild, Snow, "Snow")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_DefaultBuild, Stars, "Stars")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_DefaultBuild, Confetti, "Confetti")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_DefaultBuild, Candy, "Candy")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_DefaultBuild, Arrows, "Arrows")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_DefaultBuild, NeuralNetwork, "Neural Network")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
