// How long the dialog's start and end spend on settings and pages: reading a
// full configuration file, writing its text, and copying all 21 pages into
// an in-memory main dialog.
#include <benchmark/benchmark.h>

#include <sstream>

#include "effects/effect_pages.h"
#include "platform/in_memory_dialog.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"

namespace {

void BM_ApplyWholeFile(benchmark::State& state) {
  const std::string text = gw::settingsFileText(gw::SettingsRecord(), 0);
  for (auto _ : state) {
    gw::SettingsRecord record;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) gw::applySettingsLine(line, record);
    benchmark::DoNotOptimize(record.MainDelay);
  }
}
BENCHMARK(BM_ApplyWholeFile);

void BM_FileText(benchmark::State& state) {
  gw::SettingsRecord record;
  for (auto _ : state) benchmark::DoNotOptimize(gw::settingsFileText(record, 0));
}
BENCHMARK(BM_FileText);

void BM_CreateEveryPage(benchmark::State& state) {
  for (auto _ : state) {
    auto dialog = gw::InMemoryDialog::fromResource(gw::ResourceName::number(IDD_MAIN));
    benchmark::DoNotOptimize(gw::createEffectPages(*dialog));
    gw::selectEffect(*dialog, 12);
  }
}
BENCHMARK(BM_CreateEveryPage);

}  // namespace
