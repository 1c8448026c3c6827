#include "effects/simple_effect.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "effects/effect_table.h"
#include "effects/frame_composer.h"
#include "effects/build_start.h"
#include "effects/frame_sequence.h"
#include "effects/styled_line.h"
#include "effects/text_style_dialog.h"
#include "effects/text_styling.h"
#include "platform/bitmap.h"
#include "protocol/frame_store.h"
#include "resource_ids.h"

namespace gw {
namespace {

constexpr StylePage kSimplePage = {
    100,  // fill material
    108,  // fill opacity
    122,  // shadow enable
    102,  // shadow material
    110,  // shadow opacity
    116,  // shadow offset
    120,  // shadow direction
    114,  // softness
    123,  // outline enable
    106,  // outline colour
    104,  // background material
};
constexpr uint32_t kFramesControl = 112;
constexpr uint32_t kScrollControl = 118;
// "Track" (124) is read with the page but changes nothing in the frames.

constexpr int32_t kDefaultScroll = 1;  // right

// Moves the text through the frame along one axis. Positions are exact
// fractions P = num / n (n the frame count): the step 2L / n makes num move
// by 2L per frame, so no rounding can drift a frame past the rest position.
struct Scroll {
  bool vertical = false;    // directions 0 (up) and 3 (down)
  bool decreasing = false;  // directions 0 and 2 start at +L and step down
  int64_t length = 0;       // L
  int64_t frames = 0;       // n
  int64_t num = 0;          // P * n

  int64_t stepNum() const { return 2 * length; }
};

Scroll scrollFor(int32_t direction, int32_t width, int32_t height, int32_t framesSetting) {
  Scroll s;
  s.vertical = direction == 0 || direction == 3;
  s.decreasing = direction == 0 || direction == 2;
  s.length = s.vertical ? height : width;
  s.frames = std::min<int64_t>(framesSetting, 2 * s.length);
  s.num = (s.decreasing ? s.length : -s.length) * s.frames;
  return s;
}

// The line and its canvases, made once for every frame of a build.
struct PreparedLine {
  StyledLine line;
  FrameComposer composer;
  bool prepare(const TextStyle& style) {
    return prepareStyledLine(style, &line) && composer.prepare(line, line.restWidth, line.restHeight);
  }
  // One frame with the context's current motion; 0 on failure.
  MemHandle render(const EffectContext& ctx) const {
    return composeLineAt(composer, line, ctx.motion ? *ctx.motion : Motion());
  }
};

// Clears the context's pointer to the operation's own motion on every exit.
struct MotionScope {
  EffectContext& ctx;
  Motion motion;
  explicit MotionScope(EffectContext& c) : ctx(c) { ctx.motion = &motion; }
  ~MotionScope() { ctx.motion = nullptr; }
};

}  // namespace

int simplePreview(EffectContext& ctx) {
  if (!ctx.window) return 0;
  ctx.flags |= kEffectFlagPreview;
  MotionScope scope(ctx);
  // The sample never carries an alpha mask.
  TextStyle style = readTextStyle(*ctx.window, kSimplePage, false);
  PreparedLine prepared;
  if (!prepared.prepare(style)) return 0;
  MemHandle image = prepared.render(ctx);
  if (!image) return 0;
  // The context comes zeroed; an image already in it belongs to the caller.
  ctx.image = image;
  return 1;
}

int simpleBuild(EffectContext& ctx) {
  BuildStart start;
  if (!beginBuild(ctx, &start)) return 0;
  const DialogFacade& dialog = *start.dialog;
  MotionScope scope(ctx);
  const bool alphaMask = start.alphaMask;
  const int32_t delay = start.delay, pause = start.pause;
  TextStyle style = readTextStyle(dialog, kSimplePage, alphaMask);
  PreparedLine prepared;
  if (!prepared.prepare(style)) {
    // A frame past the size limit is the budget's refusal, said as such.
    if (prepared.line.tooLarge) ctx.frameStore->overBudget = true;
    return 0;
  }

  if (!start.animated) {
    MemBlock frame(prepared.render(ctx));
    if (!frame || !frameStoreAppendFrame(*ctx.frameStore, frame.get(), delay)) return 0;
    frame.release();
    return 1;
  }

  // Every frame shows the same line moved: its shadow is softened once.
  // Without it (memory) each frame softens its own, to the same pixels.

  // The rest frame's size is the distance the text travels.
  const int32_t width = prepared.composer.width(), height = prepared.composer.height();
  const size_t frameBytes = bitmapBlockSize(width, height, alphaMask ? 32 : 24);
  int32_t direction = controlWord(dialog, kScrollControl, kDefaultScroll);
  // A stored direction outside the pad's four cells scrolls as a new pad would.
  if (direction < 0 || direction > 3) direction = kDefaultScroll;
  const int32_t framesSetting = controlNumber(dialog, kFramesControl, 2, 32760, 64);
  Scroll s = scrollFor(direction, width, height, framesSetting);
  if (s.frames <= 0) return 0;
  // Every frame is kept until the build ends: refuse now what the store
  // would refuse part way through.
  if (!frameStoreFits(*ctx.frameStore, uint64_t(s.frames), frameBytes)) return 0;
  // Every frame shows the same line moved: its shadow is softened once.
  // Without it (memory) each frame softens its own, to the same pixels.
  prepared.composer.holdMovingShadow(!s.vertical, s.vertical);

  // Where the text is in each frame, and which frames hold the pause.
  std::vector<Motion> motions(size_t(s.frames));
  std::vector<int32_t> delays(size_t(s.frames));
  for (int64_t k = 0; k < s.frames; ++k) {
    const int64_t before = s.num;
    s.num += s.decreasing ? -s.stepNum() : s.stepNum();
    // Truncated toward zero, as a floating position cast to an integer.
    const auto offset = int32_t(s.num / s.frames);
    motions[size_t(k)] = s.vertical ? Motion{0, offset} : Motion{offset, 0};
    bool atRest = s.decreasing ? (s.num >= 0 && s.num < s.stepNum()) : (before < 0 && s.num >= 0);
    bool last = k == s.frames - 1;
    delays[size_t(k)] = (atRest || last) ? delay + pause : delay;
  }
  if (!appendFrames(
          ctx, int32_t(s.frames),
          [&](int32_t k) { return composeLineAt(prepared.composer, prepared.line, motions[size_t(k)]); },
          [&](int32_t k) { return delays[size_t(k)]; }))
    return 0;
  scope.motion = motions.back();
  return 1;
}

int32_t simpleQueryBackground(DialogFacade& window, int flag) {
  // Its background is the material of button 104, one colour behind every frame.
  return queryBackgroundFromButton(window, flag, kSimplePage.backgroundMaterial, true);
}

}  // namespace gw
