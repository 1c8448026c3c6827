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

int starsPreview(EffectContext& ctx);
int starsBuild(EffectContext& ctx);
int32_t starsQueryBackground(DialogFacade& window, int flag);
MemHandle starsFrame(const DialogFacade& dialog, int64_t k, bool alphaMask);

int confettiPreview(EffectContext& ctx);
int confettiBuild(EffectContext& ctx);
int32_t confettiQueryBackground(DialogFacade& window, int flag);
MemHandle confettiFrame(const DialogFacade& dialog, int64_t k, bool alphaMask);

int candyPreview(EffectContext& ctx);
int candyBuild(EffectContext& ctx);
int32_t candyQueryBackground(DialogFacade& window, int flag);
MemHandle candyFrame(const DialogFacade& dialog, int64_t k, bool alphaMask);

int arrowsPreview(EffectContext& ctx);
int arrowsBuild(EffectContext& ctx);
int32_t arrowsQueryBackground(DialogFacade& window, int flag);
MemHandle arrowsFrame(const DialogFacade& dialog, int64_t k, bool alphaMask);

int neuralNetworkPreview(EffectContext& ctx);
int neuralNetworkBuild(EffectContext& ctx);
int32_t neuralNetworkQueryBackground(DialogFacade& window, int flag);
MemHandle neuralNetworkFrame(const DialogFacade& dialog, int64_t k, bool alphaMask);

}  // namespace gw
