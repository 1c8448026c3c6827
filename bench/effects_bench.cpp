// Every effect's default build beside "Simple"'s, in one run: the main dialog
// in memory with the built-in defaults (Shift held: no configuration or
// material files), the whole build into a frame store, default text ("This
// space for rent...") and the page's default keys. None should cost more
// than twice "Simple". Each build uses every thread it would in the host, so
// both the wall time and the process's CPU time are reported.
//
//   cmake -S . -B build -DGW_BUILD_BENCH=ON && cmake --build build --target effects_bench
//   build/effects_bench                              # all 21, "Simple" first
//   build/effects_bench --benchmark_filter='Simple|Wavelet'
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "effects/effect_table.h"
#include "host/main_dialog.h"
#include "platform/in_memory_dialog.h"
#include "platform/resources.h"
#include "platform/system_state.h"
#include "protocol/frame_store.h"
#include "resource_ids.h"
#include "settings/settings_record.h"

namespace {

constexpr int kEffects = 21;

std::unique_ptr<gw::InMemoryDialog> defaultDialog() {
  ::setenv("GLYPHWRIGHT_APPDATA", "/tmp/gw-effects-bench", 1);
  gw::settings() = gw::SettingsRecord();
  auto dialog = gw::InMemoryDialog::fromResource(gw::ResourceName::number(IDD_MAIN));
  if (!dialog) return nullptr;
  gw::testing::setShiftKeyDown(true);
  const bool ready = gw::mainDialogInit(*dialog, nullptr, 1024, 768);
  gw::testing::setShiftKeyDown(false);
  return ready ? std::move(dialog) : nullptr;
}

void defaultBuild(benchmark::State& state, int index) {
  auto dialog = defaultDialog();
  if (!dialog) {
    state.SkipWithError("the dialog could not start");
    return;
  }
  const gw::EffectRow& row = gw::effectRow(index);
  uint32_t frames = 0;
  for (auto _ : state) {
    gw::FrameStore store;
    gw::EffectContext ctx;
    ctx.window = dialog.get();
    ctx.frameStore = &store;
    if (!gw::effectBuild(row, ctx)) state.SkipWithError("the build failed");
    frames = store.count;
    gw::frameStoreFree(store);
  }
  state.counters["frames"] = frames;
}

// Registered from the effect table, so a new effect is timed without a line
// here; "Simple" runs first as the yardstick, the rest in the table's order.
const bool kRegistered = [] {
  const int simple = gw::findEffect("Simple");
  for (int j = -1; j < kEffects; ++j) {
    const int i = j < 0 ? simple : j;
    if (i < 0 || (j >= 0 && i == simple)) continue;
    std::string name = gw::effectRow(i).name;
    for (char& c : name)
      if (c == ' ') c = '_';
    benchmark::RegisterBenchmark(name.c_str(), defaultBuild, i)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime()
        ->UseRealTime();
  }
  return true;
}();

}  // namespace
