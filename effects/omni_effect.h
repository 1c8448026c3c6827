// Effect "Omni" (row 5, page 7411, keys Style011...): the styled line at rest
// over each frame of the animation chosen with the page's animation selector.
#pragma once

#include <cstdint>

#include "effects/effect_context.h"
#include "platform/dialog_facade.h"

namespace gw {

constexpr uint32_t kOmniAnimationControl = 524;  // the page's animation selector

int omniPreview(EffectContext& ctx);
int omniBuild(EffectContext& ctx);
int32_t omniQueryBackground(DialogFacade& window, int flag);

}  // namespace gw
