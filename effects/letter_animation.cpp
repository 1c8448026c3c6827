#include "effects/letter_animation.h"

#include <algorithm>
#include <climits>
#include <new>
#include <stdexcept>

#include "effects/build_start.h"
#include "effects/frame_sequence.h"
#include "protocol/frame_store.h"
#include "resource_ids.h"

namespace gw {

namespace {

// Allocation failure inside an effect fails the operation; nothing throws
// past it to the dialog or the host.
template <typename Operation>
int guarded(Operation operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    return 0;
  } catch (const std::length_error&) {
    return 0;
  }
}

int preview(EffectContext& ctx, LetterAnimationFactory make) {
  if (!ctx.window) return 0;
  ctx.flags |= kEffectFlagPreview;
  // The sample never carries an alpha mask.
  std::unique_ptr<LetterAnimation> animation = make(*ctx.window, false);
  if (!animation) return 0;
  MemHandle image = animation->restFrame();
  if (!image) return 0;
  // The context comes zeroed; an image already in it belongs to the caller.
  ctx.image = image;
  return 1;
}

int build(EffectContext& ctx, LetterAnimationFactory make) {
  BuildStart start;
  if (!beginBuild(ctx, &start)) return 0;
  std::unique_ptr<LetterAnimation> animation = make(*start.dialog, start.alphaMask);
  if (!animation) return 0;

  if (!start.animated) {
    MemBlock frame(animation->restFrame());
    if (!frame || !frameStoreAppendFrame(*ctx.frameStore, frame.get(), start.delay)) return 0;
    frame.release();
    return 1;
  }
  const int32_t n = animation->frameCount();
  if (n <= 0) return 0;
  auto delayOf = [&](int32_t k) {
    return k == n - 1 || animation->isRest(k) ? start.delay + start.pause : start.delay;
  };
  if (animation->readyForThreads())
    return appendFrames(ctx, n, [&](int32_t k) { return animation->frame(k); }, delayOf) ? 1 : 0;
  for (int32_t k = 0; k < n; ++k) {
    MemBlock frame(animation->frame(k));
    if (!frame) return 0;
    if (!frameStoreAppendFrame(*ctx.frameStore, frame.get(), delayOf(k))) return 0;
    frame.release();
    reportFrameProgress(ctx, k, n);
  }
  return 1;
}

}  // namespace

int letterEffectPreview(EffectContext& ctx, LetterAnimationFactory make) {
  return guarded([&] { return preview(ctx, make); });
}

int letterEffectBuild(EffectContext& ctx, LetterAnimationFactory make) {
  return guarded([&] { return build(ctx, make); });
}

bool LetterStage::prepareCanvas(int32_t growX, int32_t above, int32_t below) {
  const int64_t w = int64_t(line.restWidth) + 2 * int64_t(growX);
  const int64_t h = int64_t(line.restHeight) + int64_t(above) + below;
  if (growX < 0 || above < 0 || below < 0 || w > INT32_MAX / 4 || h > INT32_MAX / 4) return false;
  return composer.prepare(line, int32_t(w), int32_t(h), {growX, above});
}

bool LetterStage::readyForThreads() {
  return shapes.renderAll() && composer.holdShadowBaseline([&](MaskPlane& mask, Offset origin) {
    stampLine(line, mask, origin.x, origin.y);
    return true;
  });
}

MemHandle LetterStage::compose(const std::vector<PlacedLetter>& placed, const FrameHooks& hooks) const {
  return composer.compose(
      [&](MaskPlane& mask, Offset origin) {
        for (const PlacedLetter& p : placed) stampPlaced(p, mask, origin);
        return true;
      },
      hooks);
}

void tintFillUnder(const BitmapView& fill, const PlacedLetter& letter, Offset origin, uint32_t light,
                   MaskPlane* taken) {
  const MaskPlane& coverage = letter.mask();
  if (coverage.empty() || (!taken && (light & 0xFFFFFF) == 0xFFFFFF)) return;
  if (taken && (taken->width != fill.width() || taken->height != fill.height())) taken = nullptr;
  const uint32_t f[3] = {(light >> 16) & 0xFF, (light >> 8) & 0xFF, light & 0xFF};  // B, G, R
  const int64_t left = int64_t(origin.x) + letter.left, top = int64_t(origin.y) + letter.top;
  const int64_t x0 = std::max<int64_t>(0, left), y0 = std::max<int64_t>(0, top);
  const int64_t x1 = std::min<int64_t>(fill.width(), left + coverage.width);
  const int64_t y1 = std::min<int64_t>(fill.height(), top + coverage.height);
  for (int64_t y = y0; y < y1; ++y) {
    uint8_t* row = fill.row(int32_t(y));
    const uint8_t* cover = coverage.row(int32_t(y - top));
    for (int64_t x = x0; x < x1; ++x) {
      if (cover[x - left] == 0) continue;
      if (taken) {
        uint8_t& mark = taken->row(int32_t(y))[x];
        if (mark) continue;
        mark = 1;
      }
      for (int c = 0; c < 3; ++c) row[x * 3 + c] = uint8_t((row[x * 3 + c] * f[c] + 127) / 255);
    }
  }
}

}  // namespace gw
