// Remapping speed: nearest colour (exact and fast) and error diffusion, with
// the palette the quantizer makes for the same picture. Items are pixels, so
// items per second reads as pixels per second on one core.
#include <benchmark/benchmark.h>

#include "bench/bench_images.h"
#include "imaging/palette_order.h"
#include "imaging/palette_quantizer.h"
#include "imaging/remap.h"

namespace {

struct Prepared {
  gw::MemBlock bmp;
  uint8_t palette[768] = {};
  int count = 0;
};

void prepare(Prepared& p, const std::string& kind) {
  p.bmp.reset(gw::bench::toBitmap(gw::bench::makeImage(kind, 800, 600, 1)));
  const gw::MemHandle handles[1] = {p.bmp.get()};
  gw::quantizeBitmaps(handles, 1, 256, p.palette, &p.count);
  gw::orderPalette(p.palette, p.count);
}

// mode 0: exact, 1: fast, 2: dither. The search is prepared once, as a build
// does for all its frames; `fresh` builds it for every frame instead.
void remapKind(benchmark::State& state, const std::string& kind, int mode, bool fresh) {
  Prepared p;
  prepare(p, kind);
  gw::RemapOptions options;
  options.fastRemap = mode == 1;
  options.dither = mode == 2;
  gw::ColourSearch search;
  search.init(p.palette, p.count);
  for (auto _ : state) {
    gw::MemBlock out(fresh ? gw::remapToPalette(p.bmp.get(), p.palette, p.count, options)
                           : gw::remapToPalette(p.bmp.get(), p.palette, search, options));
    if (!out) state.SkipWithError("failed");
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 800 * 600);
}

}  // namespace

#define GW_REMAP_BENCH(kind)                                                                              \
  BENCHMARK_CAPTURE(remapKind, kind##_exact, std::string(#kind), 0, false)->Unit(benchmark::kMillisecond); \
  BENCHMARK_CAPTURE(remapKind, kind##_exact_fresh, std::string(#kind), 0, true)                            \
      ->Unit(benchmark::kMillisecond);                                                                     \
  BENCHMARK_CAPTURE(remapKind, kind##_fast, std::string(#kind), 1, false)->Unit(benchmark::kMillisecond);  \
  BENCHMARK_CAPTURE(remapKind, kind##_dither, std::string(#kind), 2, false)->Unit(benchmark::kMillisecond);

GW_REMAP_BENCH(title)
GW_REMAP_BENCH(banner)
GW_REMAP_BENCH(sticker)
GW_REMAP_BENCH(glow)
GW_REMAP_BENCH(plasma)
GW_REMAP_BENCH(grain)
