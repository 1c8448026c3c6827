// The effects in which the text stands while objects move around it. Each
// has the three operations of its row in the effect table, and a way to
// render any frame k alone (frame k + Frames is frame k again: the loops
// are seamless).
#pragma once

#include <cstdint>

#include "effects/effect_context.h"
#include "platform/dialog_facade.h"
#include "platform/memory.h"

namespace gw {

int snowPreview(EffectContext& ctx);
int snowBuild(EffectContext& ctx);
int32_t snowQueryBackground(DialogFacade& window, int flag);
MemHandle snowFrame(const DialogFacade& dialog, int64_t k, bool alphaMask);

}  // namespace gw
