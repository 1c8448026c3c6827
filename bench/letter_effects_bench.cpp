// The default build of each effect that moves the letters beside "Simple"'s,
// in one run: the whole build into a frame store, default text ("This space
// for rent...", Impact 92 bold, or the face fontconfig gives for it) and
// default settings. None should cost more than twice "Simple".
//
//   cmake -S . -B build-bench -G Ninja -DGW_BUILD_BENCH=ON && cmake --build build-bench --target letter_effects_bench
//   build-bench/letter_effects_bench
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

void BM_DefaultBuild(benchmark::State& state, const char* name) {
  ::setenv("GLYPHWRIGHT_APPDATA", "/tmp/gw-letter-bench", 1);
  gw::settings() = gw::SettingsRecord();
  std::unique_ptr<gw::InMemoryDialog> dialog = gw::InMemoryDialog::fromResource(gw::ResourceName::number(IDD_MAIN));
  gw::testing::setShiftKeyDown(true);  // the defaults, no configuration file
  const bool ready = dialog && gw::mainDialogInit(*dialog, nullptr, 1024, 768);
  gw::testing::setShiftKeyDown(false);
  const int index = gw::findEffect(name);
  if (!ready || index < 0) {
    state.SkipWithError("no dialog or no such effect");
    return;
  }
  const gw::EffectRow& row = gw::effectRow(index);
  uint32_t frames = 0;
  for (auto _ : state) {
    gw::FrameStore store;
    gw::EffectContext ctx;
    ctx.window = dialog.get();
    ctx.frameStore = &store;
    if (!gw::effectBuild(row, ctx)) state.SkipWithError("build failed");
    frames = store.count;
    gw::frameStoreFree(store);
  }
  state.counters["frames"] = frames;
}

BENCHMARK_CAPTURE(BM_DefaultBuild, Simple, "Simple")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DefaultBuild, Rattle, "Rattle")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DefaultBuild, Quark, "Quark")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DefaultBuild, QuarkOutline, "Quark Outline")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DefaultBuild, Machine, "Machine")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DefaultBuild, Ring, "Ring")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DefaultBuild, Heartbeat, "Heartbeat")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DefaultBuild, Wavelet, "Wavelet")->Unit(benchmark::kMillisecond);

}  // namespace
