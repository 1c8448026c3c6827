// The frame loop of the effects whose text stands while objects fall,
// twinkle, drift or fly around it ("Snow", "Stars", "Confetti", "Candy",
// "Arrows", "Neural Network"). An effect gives its page and a scene: the
// scene scatters its objects once per build and paints frame k behind and in
// front of the letters; this loop does the rest (style, canvas, frames,
// delays, progress, the alpha mask).
//
//   int snowBuild(EffectContext& ctx) { return objectBuild(ctx, kSnowPage, &makeSnowScene); }
#pragma once

#include <cstdint>
#include <memory>

#include "effects/effect_context.h"
#include "effects/frame_composer.h"
#include "effects/styled_line.h"
#include "effects/text_style_dialog.h"
#include "platform/dialog_facade.h"

namespace gw {

// One build's objects. Frame k and frame k + frames are the same picture.
// Painting reads only what prepare made, so frames may be painted at once on
// several threads.
class ObjectScene {
 public:
  virtual ~ObjectScene() = default;
  // Called once the canvas (composer) is ready.
  virtual bool prepare(const StyledLine& line, const FrameComposer& composer, int32_t frames) = 0;
  // On the background, under the letters' shadow.
  virtual bool ground(FrameLayer& layer, int64_t k) const { return true; }
  // Over the letters' shadow, under the letters.
  virtual bool behind(FrameLayer& layer, int64_t k) const { return true; }
  virtual bool front(FrameLayer& layer, int64_t k) const { return true; }
};

using SceneFactory = std::unique_ptr<ObjectScene> (*)(const DialogFacade& dialog);

struct ObjectPage {
  // The page's style controls; the text's shadow is a plain colour on these
  // pages, so `style.shadowMaterial` stays 0 and the two fields below say
  // where that colour comes from.
  StylePage style;
  uint32_t shadowColourButton;  // 0: the page has none and the shadow is grey
  uint32_t shadowColour;        // the colour when there is no button
  uint32_t framesControl;
  int32_t defaultFrames;
  // Changes to the style the page's own controls call for (0 for none).
  void (*adjustStyle)(const DialogFacade& dialog, TextStyle& style);
};

int objectPreview(EffectContext& ctx, const ObjectPage& page, SceneFactory make);
int objectBuild(EffectContext& ctx, const ObjectPage& page, SceneFactory make);

// Frame k of the animation the page's settings give, rendered alone (0 on
// failure); the build's frame k for k below the frame count.
MemHandle objectFrame(const DialogFacade& dialog, const ObjectPage& page, SceneFactory make, int64_t k,
                      bool alphaMask);

// A material record that paints plain `colour`.
MaterialBytes plainMaterial(uint32_t colour);

}  // namespace gw
