// The frames of an effect that moves letters, and the preview and build
// operations every such effect shares: one rest frame for the sample and for
// an unanimated build; otherwise every frame with the main delay, the rest
// frame(s) and the last with delay + pause, progress after each.
//
//   class Shake : public gw::LetterAnimation { ... frame(k) ... };
//   std::unique_ptr<gw::LetterAnimation> makeShake(const gw::DialogFacade& d, bool alpha) {...}
//   int shakePreview(gw::EffectContext& ctx) { return gw::letterEffectPreview(ctx, makeShake); }
//   int shakeBuild(gw::EffectContext& ctx) { return gw::letterEffectBuild(ctx, makeShake); }
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "effects/effect_context.h"
#include "effects/frame_composer.h"
#include "effects/letter_transform.h"
#include "effects/styled_line.h"
#include "effects/text_style_dialog.h"
#include "platform/dialog_facade.h"

namespace gw {

class LetterAnimation {
 public:
  virtual ~LetterAnimation() = default;
  // The animated build's frame count, 1 and above.
  virtual int32_t frameCount() const = 0;
  // Whether frame k (0..count-1) is a rest frame that carries the pause.
  virtual bool isRest(int32_t k) const { return k == 0; }
  // The still: letters at rest, objects as in frame 0.
  virtual MemHandle restFrame() = 0;
  // Frame k of the loop; any k, so frame count() equals frame 0 for an effect
  // that loops. 0 on failure.
  virtual MemHandle frame(int64_t k) = 0;
  // Makes ready everything frame(k) reads, so that a build may render its
  // frames at once on several threads (frame() then changes nothing). False,
  // the default, keeps the build on one thread, frame after frame.
  virtual bool readyForThreads() { return false; }
};

using LetterAnimationFactory = std::unique_ptr<LetterAnimation> (*)(const DialogFacade& dialog, bool alphaMask);

int letterEffectPreview(EffectContext& ctx, LetterAnimationFactory make);
int letterEffectBuild(EffectContext& ctx, LetterAnimationFactory make);

// What most letter effects hold for a build: the line, its supersampled
// letters and the composer with its canvases.
struct LetterStage {
  StyledLine line;
  LetterTransformer shapes;
  FrameComposer composer;

  // Prepares the line and its letters; the canvas is left to the effect,
  // which knows how much room its motion needs.
  bool prepare(const TextStyle& style) { return prepareStyledLine(style, &line) && shapes.prepare(line); }
  // The rest canvas grown by `grow` on the left/right and top/bottom.
  bool prepareCanvas(int32_t growX, int32_t growY) { return prepareCanvas(growX, growY, growY); }
  // ... by `growX` on either side, `above` on top and `below` underneath.
  bool prepareCanvas(int32_t growX, int32_t above, int32_t below);
  // Every supersampled letter rendered now, not on first use, so frames can
  // be placed on several threads at once; and the shadow of the line at rest
  // softened once, so frames soften only around the letters that moved.
  // False when memory fails.
  bool readyForThreads();
  // A frame of these placed letters (the same shapes for shadow and letters).
  MemHandle compose(const std::vector<PlacedLetter>& placed, const FrameHooks& hooks = {}) const;
};

// Multiplies the fill canvas under a placed letter's coverage (the line's
// origin at `origin`) by `light` (0x00BBGGRR): white leaves it, darker shades
// it. For FrameHooks::fill. With `taken` (the fill's size), pixels already
// marked there are left alone and the ones tinted are marked, so letters
// tinted front to back each keep their own light where they overlap.
void tintFillUnder(const BitmapView& fill, const PlacedLetter& letter, Offset origin, uint32_t light,
                   MaskPlane* taken = nullptr);

}  // namespace gw
