// "Tram Lines": the line is cut into bars, horizontal or (with the pad's
// vertical cell) vertical; odd bars slide in from one side and even bars from
// the other, all at the same even pace, until they meet in the line. Each
// bar starts with its letters just outside the frame, so the first frame is
// the bare background; the frames run until the farthest bar is home.
#include <algorithm>
#include <vector>

#include "effects/effect_table.h"
#include "effects/line_strips.h"
#include "effects/reveal_effects.h"
#include "effects/reveal_frames.h"

namespace gw {
namespace {

constexpr StylePage kTramLinesPage = {860, 870, 875, 876, 880, 878, 884, 882, 872, 873, 862};
constexpr uint32_t kBarcountControl = 864;
constexpr uint32_t kTilestepControl = 866;
constexpr uint32_t kVerticalControl = 868;
constexpr int64_t kMaxFrames = 32760;

struct Bar {
  PieceRect rect;
  int32_t sign = 1;     // the side it comes from: -1 before its place (left or top), +1 after
  int32_t distance = 0; // how far out it starts
};

struct TramLines {
  bool vertical = false;
  int32_t step = 8;
  std::vector<Bar> bars;
  int64_t steps = 1;  // frames 0..steps, the last at rest

  // The bars' offsets in frame k along their axis.
  int32_t offset(const Bar& bar, int64_t k) const {
    const int64_t left = std::max<int64_t>(0, bar.distance - int64_t(step) * k);
    return int32_t(left) * bar.sign;
  }
};

// Whether anything of the line (letters, outline, shadow, alpha) lies at (x, y).
bool inked(const LineLayer& layer, int32_t x, int32_t y) {
  return layer.cover.at(x, y) > 0 || (layer.alphaMask && layer.alpha.at(x, y) > 0);
}

TramLines planTramLines(const LineLayer& layer, int32_t count, int32_t stepSetting, bool vertical) {
  TramLines t;
  t.vertical = vertical;
  t.step = stepSetting;
  const int32_t across = vertical ? layer.width : layer.height;  // the bars share this
  const int32_t along = vertical ? layer.height : layer.width;   // and travel this
  count = std::min(count, across);
  int32_t maxDistance = 0;
  for (int32_t b = 0; b < count; ++b) {
    const int32_t a0 = int32_t(int64_t(across) * b / count), a1 = int32_t(int64_t(across) * (b + 1) / count);
    // The extent of the bar's ink along its travel.
    int32_t first = along, last = -1;
    for (int32_t a = a0; a < a1; ++a)
      for (int32_t s = 0; s < along; ++s)
        if (vertical ? inked(layer, a, s) : inked(layer, s, a)) {
          first = std::min(first, s);
          last = std::max(last, s);
        }
    Bar bar;
    bar.rect = vertical ? PieceRect{a0, 0, a1, along} : PieceRect{0, a0, along, a1};
    bar.sign = b % 2 == 0 ? -1 : 1;  // the first, third, ... bar from the left (or the top)
    if (last >= 0) bar.distance = bar.sign < 0 ? last + 1 : along - first;
    maxDistance = std::max(maxDistance, bar.distance);
    t.bars.push_back(bar);
  }
  // A long line at a small step would make more frames than a build holds.
  t.step = int32_t(std::max<int64_t>(t.step, (int64_t(maxDistance) + kMaxFrames - 2) / (kMaxFrames - 1)));
  t.steps = std::max<int64_t>(1, (int64_t(maxDistance) + t.step - 1) / t.step);
  return t;
}

MemHandle renderTramLines(const RestLine& rest, const TramLines& t, int64_t k) {
  PieceCanvas canvas;
  if (!canvas.start(rest.layer)) return 0;
  for (int pass = 0; pass < 2; ++pass)
    for (const Bar& bar : t.bars) {
      const int32_t d = t.offset(bar, k);
      if ((d != 0) != (pass == 1)) continue;
      canvas.lay(bar.rect, t.vertical ? 0 : d, t.vertical ? d : 0);
    }
  return canvas.finish();
}

int runTramLines(EffectContext& ctx, bool build) {
  if (!ctx.window || (build && !ctx.frameStore)) return 0;
  RevealScope scope(ctx, build);
  const DialogFacade& dialog = *ctx.window;
  const RevealTiming timing = readRevealTiming(dialog);
  RestLine rest;
  if (!rest.prepare(readRevealStyle(ctx, kTramLinesPage, build))) return 0;
  if (!build || !timing.animated) return storeStill(ctx, build, timing, rest.restFrame());

  const TramLines t = planTramLines(rest.layer, controlNumber(dialog, kBarcountControl, 1, 256, 24),
                                    controlNumber(dialog, kTilestepControl, 1, 256, 8),
                                    controlWord(dialog, kVerticalControl, 0) == 1);
  const int64_t frames = t.steps + 1;
  return appendRevealFrames(
      ctx, frames, timing, [&](int64_t k) { return renderTramLines(rest, t, k); },
      [&](int64_t k) { return k == frames - 1; });
}

}  // namespace

int tramLinesPreview(EffectContext& ctx) { return runTramLines(ctx, false); }
int tramLinesBuild(EffectContext& ctx) { return runTramLines(ctx, true); }

int32_t tramLinesQueryBackground(DialogFacade& window, int flag) {
  // The bars travel over the page's background material, which never moves.
  return queryBackgroundFromButton(window, flag, kTramLinesPage.backgroundMaterial, true);
}

}  // namespace gw
