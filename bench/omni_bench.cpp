// "Omni"'s default build beside "Simple"'s, in one run: the main dialog in
// memory with the built-in defaults (Shift held), each effect's build into a
// frame store. "Omni" without a chosen animation lays the line over the
// 36-frame placeholder; "Simple" scrolls its 64 frames.
//
//   cmake -S . -B build-bench -DGW_BUILD_BENCH=ON && cmake --build build-bench --target omni_bench
//   build-bench/omni_bench
#include <benchmark/benchmark.h>

#include <memory>

#include "effects/effect_table.h"
#include "host/main_dialog.h"
#include "platform/in_memory_dialog.h"
#include "platform/system_state.h"
#include "protocol/frame_store.h"
#include "resource_ids.h"
#include "settings/settings_record.h"

namespace {

void buildDefault(benchmark::State& state, const char* effect) {
  gw::settings() = gw::SettingsRecord();
  auto dialog = gw::InMemoryDialog::fromResource(gw::ResourceName::number(IDD_MAIN));
  gw::testing::setShiftKeyDown(true);
  const bool ready = dialog && gw::mainDialogInit(*dialog, nullptr, 1024, 768);
  gw::testing::setShiftKeyDown(false);
  if (!ready) {
    state.SkipWithError("the dialog could not start");
    return;
  }
  const gw::EffectRow& row = gw::effectRow(gw::findEffect(effect));
  for (auto _ : state) {
    gw::FrameStore store;
    gw::EffectContext ctx;
    ctx.window = dialog.get();
    ctx.frameStore = &store;
    if (!gw::effectBuild(row, ctx)) state.SkipWithError("the build failed");
    state.counters["frames"] = double(store.count);
    gw::frameStoreFree(store);
  }
}

void BM_SimpleDefaultBuild(benchmark::State& state) { buildDefault(state, "Simple"); }
void BM_OmniDefaultBuild(benchmark::State& state) { buildDefault(state, "Omni"); }
BENCHMARK(BM_SimpleDefaultBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OmniDefaultBuild)->Unit(benchmark::kMillisecond);

}  // namespace
