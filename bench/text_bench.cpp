// The frame renderer at the default "Simple" settings ("This space for
// rent...", size 92, bold, shadow with softness 20, outline), per frame; and
// the blur alone over growing masks, whose time should grow linearly with
// the pixel count.
//
//   cmake -S . -B build-bench -DGW_BUILD_BENCH=ON && cmake --build build-bench --target text_bench
//   build-bench/text_bench
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "base/le_bytes.h"
#include "effects/blur.h"
#include "platform/bitmap.h"
#include "effects/text_layout.h"
#include "effects/text_styling.h"
#include "materials/material_record.h"
#include "platform/rasteriser.h"

namespace {

void plain(gw::MaterialBytes* record, uint32_t colour) {
  gw::materialRecordDefaults(record->data(), false);
  gw::writeU32(record->data() + gw::material::kColour, colour);
}

gw::TextStyle defaultStyle() {
  gw::TextStyle s;
  s.text = "This space for rent...";
  s.fontFace = "Impact";
  s.fontSize = 92;
  s.bold = true;
  s.characterSpace = 90;
  plain(&s.fillMaterial, 0xBD7E40);
  s.shadowEnable = true;
  plain(&s.shadowMaterial, 0x7F7F7F);
  s.shadowOffset = 4;
  s.shadowDirection = 7;
  s.softness = 20;
  s.outlineEnable = true;
  s.outlineColour = 0x333333;
  plain(&s.backgroundMaterial, 0xFFFFFF);
  return s;
}

void BM_DefaultSimpleFrame(benchmark::State& state) {
  gw::TextStyle style = defaultStyle();
  for (auto _ : state) {
    gw::MemBlock frame(gw::renderTextFrame(style, {0, 0}));
    if (!frame) state.SkipWithError("render failed");
    benchmark::DoNotOptimize(frame.get());
  }
}
BENCHMARK(BM_DefaultSimpleFrame)->Unit(benchmark::kMillisecond);

// The default text's shadow mask, tiled to the requested width so the ink
// density stays that of real text.
void BM_Blur(benchmark::State& state) {
  const auto width = int32_t(state.range(0));
  const int32_t height = 108;
  gw::RasteriserFont font;
  gw::TextLayout layout;
  if (!font.open({"Impact", 92, true, false}) ||
      !gw::layoutText(font, "This space for rent...", 90, true, &layout)) {
    state.SkipWithError("no font");
    return;
  }
  gw::MemBlock source(gw::renderGlyphMask(font, layout, width, height, 3, 7, 255, true));
  std::vector<uint8_t> pixels(size_t(width) * height);
  {
    gw::MemLock lock(source.get());
    gw::BitmapView v = gw::BitmapView::of(lock);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) {
        // Beyond the text's width the line repeats.
        int32_t sx = layout.width > 0 ? x % (layout.width + 6) : x;
        pixels[size_t(y) * width + x] = sx < v.width() ? v.row(y)[sx] : 0;
      }
  }
  gw::BlurKernel kernel = gw::blurKernel(20);
  std::vector<uint8_t> work(pixels.size());
  std::vector<uint8_t*> rows(height);
  for (auto _ : state) {
    work = pixels;
    for (int32_t y = 0; y < height; ++y) rows[size_t(y)] = work.data() + size_t(y) * width;
    gw::blurPlane(rows.data(), width, height, kernel);
    benchmark::DoNotOptimize(work.data());
  }
  state.SetComplexityN(int64_t(width) * height);
  state.SetItemsProcessed(int64_t(state.iterations()) * width * height);
}
BENCHMARK(BM_Blur)->RangeMultiplier(2)->Range(256, 8192)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);

}  // namespace
