// "Omni": the styled line at rest over every frame of the animation the page's
// animation selector holds, one frame per animation frame with that frame's
// delay.
//
// Placement: the frame is as large as the larger of the line's rest frame and
// the animation's first frame in each direction; the animation is centred
// unscaled (a picture stays pixel-exact, never blurred by resampling, and is
// never cropped), the line is centred over it, and the background material
// shows where the animation does not reach.
#include "effects/omni_effect.h"

#include <algorithm>
#include <cstring>

#include "base/le_bytes.h"
#include "controls/animation_selector.h"
#include "effects/build_start.h"
#include "effects/effect_table.h"
#include "effects/frame_composer.h"
#include "effects/styled_line.h"
#include "effects/text_style_dialog.h"
#include "platform/bitmap.h"
#include "protocol/frame_store.h"
#include "resource_ids.h"

namespace gw {
namespace {

constexpr StylePage kOmniPage = {
    520,  // fill material
    526,  // fill opacity
    531,  // shadow enable
    0,    // the shadow is a colour button (532), read below
    536,  // shadow opacity
    534,  // shadow offset
    540,  // shadow direction
    538,  // softness
    528,  // outline enable
    529,  // outline colour
    522,  // background material
};
constexpr uint32_t kShadowColourControl = 532;

TextStyle readOmniStyle(const DialogFacade& dialog, bool alphaMask) {
  TextStyle s = readTextStyle(dialog, kOmniPage, alphaMask);
  s.shadowEnable = dialog.hasControl(kOmniPage.shadowEnable) && dialog.checked(kOmniPage.shadowEnable);
  materialRecordDefaults(s.shadowMaterial.data(), false);
  const auto colour = uint32_t(controlWord(dialog, kShadowColourControl, 0x7F7F7F)) & 0xFFFFFF;
  writeU32(s.shadowMaterial.data() + material::kColour, colour);
  return s;
}

// The selector's frames, through its messages.
int32_t animationFrameCount(DialogFacade& dialog) {
  int32_t count = 0;
  if (!dialog.sendMessage(kOmniAnimationControl, kMsgAnimationFrame, uintptr_t(-1), reinterpret_cast<intptr_t>(&count)))
    return 0;
  return count;
}

MemHandle animationFrameAt(DialogFacade& dialog, int32_t index, int32_t* delay) {
  return MemHandle(dialog.sendMessage(kOmniAnimationControl, kMsgAnimationFrame, uintptr_t(uint32_t(index)),
                                      reinterpret_cast<intptr_t>(delay)));
}

// Copies `picture` (24-bit) centred onto the canvas, clipped to it.
bool drawCentred(const BitmapView& canvas, MemHandle picture) {
  MemLock lock(picture);
  BitmapView src = BitmapView::of(lock);
  if (!src.valid() || src.bits() != 24) return false;
  const int32_t left = (canvas.width() - src.width()) / 2;
  const int32_t top = (canvas.height() - src.height()) / 2;
  const int32_t x0 = std::max(0, left), x1 = std::min(canvas.width(), left + src.width());
  const int32_t y0 = std::max(0, top), y1 = std::min(canvas.height(), top + src.height());
  for (int32_t y = y0; y < y1; ++y)
    std::memcpy(canvas.row(y) + size_t(x0) * 3, src.row(y - top) + size_t(x0 - left) * 3, size_t(x1 - x0) * 3);
  return true;
}

// The line and its canvases, sized to hold the line and the animation.
struct OmniFrames {
  StyledLine line;
  FrameComposer composer;

  bool prepare(const TextStyle& style, DialogFacade& dialog) {
    if (!prepareStyledLine(style, &line)) return false;
    int32_t animationWidth = 0, animationHeight = 0;
    MemBlock first(animationFrameAt(dialog, 0, nullptr));
    if (!first || !bitmapQuery(first.get(), &animationWidth, &animationHeight, nullptr, nullptr)) return false;
    const int32_t width = std::max(line.restWidth, animationWidth);
    const int32_t height = std::max(line.restHeight, animationHeight);
    const Offset margin = {(width - line.restWidth) / 2, (height - line.restHeight) / 2};
    return composer.prepare(line, width, height, margin);
  }

  // The finished frame over animation frame `picture`; 0 on failure.
  MemHandle render(MemHandle picture) const {
    FrameHooks hooks;
    hooks.ground = [picture](FrameLayer& layer) { return drawCentred(layer.canvas, picture); };
    return composer.compose(
        [this](MaskPlane& mask, Offset origin) {
          stampLine(line, mask, origin.x, origin.y);
          return true;
        },
        hooks);
  }
};

}  // namespace

int omniPreview(EffectContext& ctx) {
  if (!ctx.window) return 0;
  ctx.flags |= kEffectFlagPreview;
  DialogFacade& dialog = *ctx.window;
  OmniFrames frames;
  if (!frames.prepare(readOmniStyle(dialog, false), dialog)) return 0;
  MemBlock picture(animationFrameAt(dialog, 0, nullptr));
  if (!picture) return 0;
  MemHandle image = frames.render(picture.get());
  if (!image) return 0;
  ctx.image = image;
  return 1;
}

int omniBuild(EffectContext& ctx) {
  BuildStart start;
  if (!beginBuild(ctx, &start)) return 0;
  DialogFacade& dialog = *start.dialog;
  OmniFrames frames;
  if (!frames.prepare(readOmniStyle(dialog, start.alphaMask), dialog)) return 0;

  // Animated off: the line over the animation's first frame, once.
  const int32_t count = start.animated ? animationFrameCount(dialog) : 1;
  if (count <= 0) return 0;
  for (int32_t k = 0; k < count; ++k) {
    int32_t own = 0;
    MemBlock picture(animationFrameAt(dialog, k, &own));
    if (!picture) return 0;
    MemBlock frame(frames.render(picture.get()));
    if (!frame) return 0;
    // A frame without a delay of its own takes the main delay; the pause
    // falls where the animation turns back to its start.
    int32_t frameDelay = (count > 1 && own > 0) ? own : start.delay;
    if (k == count - 1 && count > 1) frameDelay += start.pause;
    if (!frameStoreAppendFrame(*ctx.frameStore, frame.get(), frameDelay)) return 0;
    frame.release();
    reportFrameProgress(ctx, k, count);
  }
  return 1;
}

int32_t omniQueryBackground(DialogFacade& window, int flag) {
  // The animation lies behind the text: no single colour for flag 1; else
  // the background material's colour, as the framework's rule gives it.
  return queryBackgroundFromButton(window, flag, kOmniPage.backgroundMaterial, false);
}

}  // namespace gw
