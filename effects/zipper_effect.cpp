// "Zipper": the line is cut into vertical leaves; odd leaves slide down from
// above the frame, even ones up from below, each settling into place, one
// after another from left to right like a zip closing. The last frame is the
// closed line.
#include <algorithm>
#include <cmath>

#include "effects/easing.h"
#include "effects/effect_table.h"
#include "effects/line_strips.h"
#include "effects/reveal_effects.h"
#include "effects/reveal_frames.h"

namespace gw {
namespace {

constexpr StylePage kZipperPage = {610, 618, 623, 624, 628, 626, 632, 630, 620, 621, 612};
constexpr uint32_t kLeafSizeControl = 614;
constexpr uint32_t kFramesControl = 616;

struct Zipper {
  int32_t leafSize = 10;
  int32_t leaves = 1;
  int64_t frames = 20;
  int64_t travel = 1;  // frames a leaf takes from outside the frame to its place
  double ease = 1;

  Zipper(int32_t width, int32_t leafSizeSetting, int64_t framesSetting)
      : leafSize(leafSizeSetting), frames(framesSetting) {
    leaves = int32_t((int64_t(width) + leafSize - 1) / leafSize);
    travel = std::max<int64_t>(1, (frames - 1) / 2);
    ease = settleFactor(travel);
  }

  // The leaves arrive one after another; the last one in the last frame.
  int64_t arrival(int32_t leaf) const {
    if (leaves <= 1) return frames - 1;
    return travel + std::llround(double(leaf) * double(frames - 1 - travel) / double(leaves - 1));
  }

  // How far leaf i still is from its place in frame k: up for odd leaves
  // (the first, third, ...), down for even ones.
  int32_t offset(int32_t leaf, int64_t k, int32_t height) const {
    double d = easedRemaining(height, travel, ease, arrival(leaf) - k);
    int32_t px = int32_t(std::lround(d));
    return leaf % 2 == 0 ? -px : px;
  }
};

MemHandle renderZipper(const RestLine& rest, const Zipper& z, int64_t k) {
  PieceCanvas canvas;
  if (!canvas.start(rest.layer)) return 0;
  // Closed leaves first: they copy the rest frame, the moving ones blend over.
  for (int pass = 0; pass < 2; ++pass)
    for (int32_t i = 0; i < z.leaves; ++i) {
      const int32_t dy = z.offset(i, k, rest.height());
      if ((dy != 0) != (pass == 1)) continue;
      const int32_t x0 = i * z.leafSize;
      canvas.lay({x0, 0, std::min(rest.width(), x0 + z.leafSize), rest.height()}, 0, dy);
    }
  return canvas.finish();
}

int runZipper(EffectContext& ctx, bool build) {
  if (!ctx.window || (build && !ctx.frameStore)) return 0;
  RevealScope scope(ctx, build);
  const DialogFacade& dialog = *ctx.window;
  const RevealTiming timing = readRevealTiming(dialog);
  RestLine rest;
  if (!rest.prepare(readRevealStyle(ctx, kZipperPage, build))) return 0;
  if (!build || !timing.animated) return storeStill(ctx, build, timing, rest.restFrame());

  const Zipper z(rest.width(), controlNumber(dialog, kLeafSizeControl, 1, 200, 10),
                 controlNumber(dialog, kFramesControl, 2, 32760, 20));
  return appendRevealFrames(
      ctx, z.frames, timing, [&](int64_t k) { return renderZipper(rest, z, k); },
      [&](int64_t k) { return k == z.frames - 1; });
}

}  // namespace

int zipperPreview(EffectContext& ctx) { return runZipper(ctx, false); }
int zipperBuild(EffectContext& ctx) { return runZipper(ctx, true); }

int32_t zipperQueryBackground(DialogFacade& window, int flag) {
  // Every frame stands on the plain background colour.
  return queryBackgroundFromButton(window, flag, kZipperPage.backgroundMaterial, true);
}

}  // namespace gw
