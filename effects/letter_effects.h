// The effects that move, turn or bend the letters themselves: "Rattle",
// "Quark", "Quark Outline", "Machine", "Ring", "Heartbeat" and "Wavelet".
// Each has the framework's preview, build and background query, and a
// factory of its frames (any frame k) for callers that want single frames.
#pragma once

#include <cstdint>
#include <memory>

#include "effects/effect_context.h"
#include "effects/letter_animation.h"
#include "platform/dialog_facade.h"

namespace gw {

// "Rattle" (page 7418): letters shake in bursts.
std::unique_ptr<LetterAnimation> makeRattle(const DialogFacade& dialog, bool alphaMask);
int rattlePreview(EffectContext& ctx);
int rattleBuild(EffectContext& ctx);
int32_t rattleQueryBackground(DialogFacade& window, int flag);

// "Quark" (page 7405): letters spin about their own pivots.
std::unique_ptr<LetterAnimation> makeQuark(const DialogFacade& dialog, bool alphaMask);
int quarkPreview(EffectContext& ctx);
int quarkBuild(EffectContext& ctx);
int32_t quarkQueryBackground(DialogFacade& window, int flag);

// "Quark Outline" (page 7413): "Quark" drawn as outlines only.
std::unique_ptr<LetterAnimation> makeQuarkOutline(const DialogFacade& dialog, bool alphaMask);
int quarkOutlinePreview(EffectContext& ctx);
int quarkOutlineBuild(EffectContext& ctx);
int32_t quarkOutlineQueryBackground(DialogFacade& window, int flag);

// "Ring" (page 7401): the line wrapped round a turning ring.
std::unique_ptr<LetterAnimation> makeRing(const DialogFacade& dialog, bool alphaMask);
int ringPreview(EffectContext& ctx);
int ringBuild(EffectContext& ctx);
int32_t ringQueryBackground(DialogFacade& window, int flag);

// "Machine" (page 7404): letters on drums turning like a counter's wheels.
std::unique_ptr<LetterAnimation> makeMachine(const DialogFacade& dialog, bool alphaMask);
int machinePreview(EffectContext& ctx);
int machineBuild(EffectContext& ctx);
int32_t machineQueryBackground(DialogFacade& window, int flag);

// "Heartbeat" (page 7410): a pulse runs through the line.
std::unique_ptr<LetterAnimation> makeHeartbeat(const DialogFacade& dialog, bool alphaMask);
int heartbeatPreview(EffectContext& ctx);
int heartbeatBuild(EffectContext& ctx);
int32_t heartbeatQueryBackground(DialogFacade& window, int flag);

// "Wavelet" (page 7409): the line rides a travelling wave with beads behind it.
std::unique_ptr<LetterAnimation> makeWavelet(const DialogFacade& dialog, bool alphaMask);
int waveletPreview(EffectContext& ctx);
int waveletBuild(EffectContext& ctx);
int32_t waveletQueryBackground(DialogFacade& window, int flag);

}  // namespace gw
