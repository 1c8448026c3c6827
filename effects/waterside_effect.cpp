// "Waterside": the line stands on a waterline just below its letters, its
// reflection (letters, outline and shadow) underneath. The reflection
// fades towards the background colour with depth; its rows are displaced
// sideways by a ripple whose amplitude and wavelength grow with depth (the
// nearer water shows larger waves) and, a little, up and down, so the
// mirrored letters break up as on water. The ripple's phase turns once per
// loop: frame `Frames` is frame 0 again.
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "effects/effect_table.h"
#include "effects/line_strips.h"
#include "effects/reveal_effects.h"
#include "effects/reveal_frames.h"
#include "effects/row_displacement.h"

namespace gw {
namespace {

constexpr StylePage kWatersidePage = {410, 416, 421, 422, 426, 424, 430, 428, 418, 419, 412};
constexpr uint32_t kFramesControl = 414;
constexpr double kPi = 3.14159265358979323846;

struct Water {
  int32_t waterline = 0;  // rows of the line above the water
  int32_t depth = 0;      // rows of reflection
  double lineHeight = 24;
  uint32_t colour = 0xFFFFFF;
  int64_t frames = 40;

  int32_t height() const { return waterline + depth; }
  // Cycles of the ripple from the waterline down to reflection row j: the
  // waves are about five rows apart at the waterline and three times that at
  // the bottom, as nearer water shows them larger.
  double phase(int32_t j) const {
    const double j0 = std::max(1.0, depth / 2.0);
    return j0 / 5.0 * std::log1p(double(j) / j0);
  }
};

// The row below the letters and their outline, so the letters stand on the
// water; the shadow below them falls on it. The whole frame when memory fails.
int32_t waterlineOf(const RestLine& rest) {
  MaskPlane letters;
  if (!letters.allocate(rest.width(), rest.height())) return rest.height();
  const Offset origin = rest.composer.textOrigin();
  stampLine(rest.line, letters, origin.x, origin.y);
  for (int32_t y = letters.height - 1; y >= 0; --y)
    for (int32_t x = 0; x < letters.width; ++x)
      if (letters.at(x, y) > 0) return std::min(rest.height(), y + 1 + (rest.line.style.outlineEnable ? 1 : 0));
  return rest.height();
}

MemHandle renderWaterside(const RestLine& rest, const Water& w, int64_t k) {
  const LineLayer& L = rest.layer;
  const int32_t width = L.width, height = w.height();
  std::vector<uint8_t> pixels;
  std::vector<uint8_t> row;
  MaskPlane alpha;
  try {
    pixels.assign(size_t(width) * size_t(height) * 3, 0);
    row.assign(size_t(width) * 3, 0);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  if (L.alphaMask && !alpha.allocate(width, height)) return 0;
  const size_t stride = size_t(width) * 3;
  std::copy(L.rest.begin(), L.rest.begin() + std::ptrdiff_t(stride * size_t(w.waterline)), pixels.begin());
  if (L.alphaMask)
    std::copy(L.alpha.pixels.begin(), L.alpha.pixels.begin() + std::ptrdiff_t(size_t(width) * size_t(w.waterline)),
              alpha.pixels.begin());

  const uint8_t back[3] = {uint8_t(w.colour >> 16), uint8_t(w.colour >> 8), uint8_t(w.colour)};
  const double turn = double(k % w.frames) / double(w.frames);
  for (int32_t j = 0; j < w.depth; ++j) {
    const double t = (j + 0.5) / double(std::max(1, w.depth));  // 0 at the waterline, 1 at the bottom
    const double p = w.phase(j);
    const double across = (0.3 + 0.06 * w.lineHeight * t) * std::sin(2 * kPi * (p - turn));
    const double upDown = 0.8 * t * std::sin(2 * kPi * (0.5 * p - turn) + 1.0);
    const int32_t source =
        std::clamp<int32_t>(w.waterline - 1 - j + int32_t(std::lround(upDown)), 0, w.waterline - 1);
    displaceRow(L.rest.data() + size_t(source) * stride, row.data(), width, 3, across);
    // The deeper, the more the water's own colour.
    const int32_t fade = int32_t(std::lround(255 * (0.3 + 0.55 * t)));
    uint8_t* out = pixels.data() + size_t(w.waterline + j) * stride;
    for (size_t i = 0; i < stride; ++i) out[i] = uint8_t((row[i] * (255 - fade) + back[i % 3] * fade) / 255);
    if (L.alphaMask) displaceRow(L.alpha.row(source), alpha.row(w.waterline + j), width, 1, across);
    if (L.alphaMask)
      for (int32_t x = 0; x < width; ++x) {
        uint8_t& a = alpha.row(w.waterline + j)[x];
        a = uint8_t(a * (255 - fade) / 255);
      }
  }
  return bitmapFromPixels(pixels, width, height, L.alphaMask ? &alpha : nullptr);
}

struct PreparedWater {
  RestLine rest;
  Water water;
  bool prepare(const EffectContext& ctx, bool build) {
    const TextStyle style = readRevealStyle(ctx, kWatersidePage, build);
    if (!rest.prepare(style)) return false;
    water.waterline = std::max(1, waterlineOf(rest));
    water.depth = water.waterline;
    water.lineHeight = rest.line.layout.height;
    water.colour = uint32_t(controlWord(*ctx.window, kWatersidePage.backgroundMaterial, 0xFFFFFF)) & 0xFFFFFF;
    water.frames = controlNumber(*ctx.window, kFramesControl, 2, 32760, 40);
    return true;
  }
};

int runWaterside(EffectContext& ctx, bool build) {
  if (!ctx.window || (build && !ctx.frameStore)) return 0;
  RevealScope scope(ctx, build);
  const RevealTiming timing = readRevealTiming(*ctx.window);
  PreparedWater w;
  if (!w.prepare(ctx, build)) return 0;
  if (!build || !timing.animated) return storeStill(ctx, build, timing, renderWaterside(w.rest, w.water, 0));
  const int64_t n = w.water.frames;
  return appendRevealFrames(
      ctx, n, timing, [&](int64_t k) { return renderWaterside(w.rest, w.water, k); },
      [&](int64_t k) { return k == 0 || k == n - 1; });
}

}  // namespace

int watersidePreview(EffectContext& ctx) { return runWaterside(ctx, false); }
int watersideBuild(EffectContext& ctx) { return runWaterside(ctx, true); }

int watersideFrameAt(EffectContext& ctx, int64_t k) {
  if (!ctx.window || k < 0) return 0;
  RevealScope scope(ctx, true);
  PreparedWater w;
  if (!w.prepare(ctx, true)) return 0;
  ctx.image = renderWaterside(w.rest, w.water, k);
  return ctx.image != 0;
}

int32_t watersideQueryBackground(DialogFacade& window, int flag) {
  return queryBackgroundFromButton(window, flag, kWatersidePage.backgroundMaterial, true);
}

}  // namespace gw
