// What the effects that reveal the line share around their frames: the
// build's timing from the main dialog, the style of a page, and appending a
// sequence of frames with delays and progress.
//
//   gw::RevealTiming t = gw::readRevealTiming(*ctx.window);
//   return gw::appendRevealFrames(ctx, n, t, [&](int64_t k) { return render(k); },
//                                 [&](int64_t k) { return k == n - 1; });
#pragma once

#include <cstdint>
#include <functional>

#include "effects/effect_context.h"
#include "effects/text_style_dialog.h"
#include "platform/memory.h"

namespace gw {

// Marks the context for a preview or a build, frees an image a build finds
// in it, and points its motion at a resting one for the operation's length.
struct RevealScope {
  EffectContext& ctx;
  Motion motion;
  RevealScope(EffectContext& c, bool build) : ctx(c) {
    ctx.flags |= build ? kEffectFlagBuild : kEffectFlagPreview;
    if (build) {
      memFree(ctx.image);
      ctx.image = 0;
    }
    ctx.motion = &motion;
  }
  ~RevealScope() { ctx.motion = nullptr; }
  RevealScope(const RevealScope&) = delete;
  RevealScope& operator=(const RevealScope&) = delete;
};

struct RevealTiming {
  int32_t delay = 0;    // hundredths of a second, every frame
  int32_t pause = 0;    // added to the rest frame and the last one
  bool animated = true;
};
RevealTiming readRevealTiming(const DialogFacade& dialog);

// The page's style; the alpha mask only in a build with "Alpha transparency".
TextStyle readRevealStyle(const EffectContext& ctx, const StylePage& page, bool build);

// Appends frames 0..count-1 made by `render` (rendered on several threads:
// it must read only prepared data), each with the delay, plus the pause
// where `pauses` says so, reporting progress after each. 0 when a frame
// cannot be made or stored.
int appendRevealFrames(EffectContext& ctx, int64_t count, const RevealTiming& timing,
                       const std::function<MemHandle(int64_t)>& render, const std::function<bool(int64_t)>& pauses);

// The preview's or a still build's one frame into the context: the image
// for a preview, one frame with the delay for a build. 0 on failure.
int storeStill(EffectContext& ctx, bool build, const RevealTiming& timing, MemHandle frame);

}  // namespace gw
