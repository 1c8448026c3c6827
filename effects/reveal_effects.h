// The effects that cut the line into pieces, light it or mirror it: their
// preview, build and background query (rows of the effect table).
#pragma once

#include <cstdint>

#include "effects/effect_context.h"
#include "platform/dialog_facade.h"

namespace gw {

// "Zipper" (page 7414): leaves close from above and below, left to right.
int zipperPreview(EffectContext& ctx);
int zipperBuild(EffectContext& ctx);
int32_t zipperQueryBackground(DialogFacade& window, int flag);

// "Tram Lines" (page 7420): bars slide in from both sides until they meet.
int tramLinesPreview(EffectContext& ctx);
int tramLinesBuild(EffectContext& ctx);
int32_t tramLinesQueryBackground(DialogFacade& window, int flag);

// "Tracks" (page 7415): bands run in on tracks and ease into place.
int tracksPreview(EffectContext& ctx);
int tracksBuild(EffectContext& ctx);
int32_t tracksQueryBackground(DialogFacade& window, int flag);

// "Diagonal Fuse" (page 7412): a burning front lights the letters.
int diagonalFusePreview(EffectContext& ctx);
int diagonalFuseBuild(EffectContext& ctx);
int32_t diagonalFuseQueryBackground(DialogFacade& window, int flag);

// "Unplugged TV" (page 7419): the picture switches on and off like a tube set.
int unpluggedTvPreview(EffectContext& ctx);
int unpluggedTvBuild(EffectContext& ctx);
int32_t unpluggedTvQueryBackground(DialogFacade& window, int flag);

// "Waterside" (page 7408): the line over its rippling reflection, a loop.
int watersidePreview(EffectContext& ctx);
int watersideBuild(EffectContext& ctx);
int32_t watersideQueryBackground(DialogFacade& window, int flag);
// Frame k of a build, for any k (frame `Frames` is frame 0 again), into
// ctx.image; the build's settings. 0 on failure.
int watersideFrameAt(EffectContext& ctx, int64_t k);

}  // namespace gw
