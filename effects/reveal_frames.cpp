#include "effects/reveal_frames.h"

#include "effects/frame_sequence.h"
#include "protocol/frame_store.h"
#include "resource_ids.h"

namespace gw {

RevealTiming readRevealTiming(const DialogFacade& dialog) {
  RevealTiming t;
  t.delay = controlNumber(dialog, IDC_DELAY, 0, 65535, 0);
  t.pause = controlNumber(dialog, IDC_PAUSE, 0, 65535, 0);
  t.animated = dialog.checked(IDC_ANIMATED);
  return t;
}

TextStyle readRevealStyle(const EffectContext& ctx, const StylePage& page, bool build) {
  const bool alpha = build && ctx.sample == 0 && ctx.window->checked(IDC_ALPHA_TRANSPARENCY);
  return readTextStyle(*ctx.window, page, alpha);
}

int appendRevealFrames(EffectContext& ctx, int64_t count, const RevealTiming& timing,
                       const std::function<MemHandle(int64_t)>& render, const std::function<bool(int64_t)>& pauses) {
  if (!ctx.frameStore || count <= 0 || count > INT32_MAX) return 0;
  return appendFrames(
             ctx, int32_t(count), [&](int32_t k) { return render(k); },
             [&](int32_t k) { return pauses(k) ? timing.delay + timing.pause : timing.delay; })
             ? 1
             : 0;
}

int storeStill(EffectContext& ctx, bool build, const RevealTiming& timing, MemHandle frame) {
  MemBlock image(frame);
  if (!image) return 0;
  if (!build) {
    ctx.image = image.release();
    return 1;
  }
  if (!ctx.frameStore || !frameStoreAppendFrame(*ctx.frameStore, image.get(), timing.delay)) return 0;
  image.release();
  return 1;
}

}  // namespace gw
