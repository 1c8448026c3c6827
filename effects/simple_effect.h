// Effect "Simple" (row 12, page 7400, keys Style000...): the styled text at
// rest, or scrolling through the frame in one of four directions.
#pragma once

#include <cstdint>

#include "effects/effect_context.h"
#include "platform/dialog_facade.h"

namespace gw {

int simplePreview(EffectContext& ctx);
int simpleBuild(EffectContext& ctx);
int32_t simpleQueryBackground(DialogFacade& window, int flag);

}  // namespace gw
