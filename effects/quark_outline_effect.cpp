// "Quark Outline": "Quark" with every letter drawn as its outline only; the
// outline takes the fill material and opacity and the face stays empty.
#include "effects/effect_table.h"
#include "effects/letter_effects.h"
#include "effects/quark_spin.h"

namespace gw {
namespace {

// No outline controls: the letters' own outline is the drawing.
constexpr QuarkPage kPage = {{580, 592, 594, 595, 599, 597, 603, 601, 0, 0, 582}, 584, 586, 588, 590};

}  // namespace

std::unique_ptr<LetterAnimation> makeQuarkOutline(const DialogFacade& dialog, bool alphaMask) {
  return makeQuarkSpin(dialog, alphaMask, kPage, true);
}
int quarkOutlinePreview(EffectContext& ctx) { return letterEffectPreview(ctx, makeQuarkOutline); }
int quarkOutlineBuild(EffectContext& ctx) { return letterEffectBuild(ctx, makeQuarkOutline); }
int32_t quarkOutlineQueryBackground(DialogFacade& window, int flag) {
  return queryBackgroundFromButton(window, flag, kPage.style.backgroundMaterial, true);
}

}  // namespace gw
