// Renders a build's frames on every thread and hands them to the frame store
// in order. An effect says how frame k looks (`render(k)`, which must depend
// on k and on prepared, read-only data alone) and how long it shows; the
// frames are rendered a batch at a time, appended in order on the caller's
// thread, and progress is reported after each, so the host sees the same
// callbacks and the store the same frames whatever the number of threads.
//
//   gw::appendFrames(ctx, n,
//       [&](int32_t k) { return composeLineAt(composer, line, motionAt(k)); },
//       [&](int32_t k) { return k == n - 1 ? delay + pause : delay; });
#pragma once

#include <cstdint>
#include <functional>

#include "effects/effect_context.h"
#include "platform/memory.h"

namespace gw {

using FrameRenderer = std::function<MemHandle(int32_t frame)>;
using FrameDelay = std::function<int32_t(int32_t frame)>;

// False when a frame cannot be rendered or stored; the frames appended
// before stay in the store (the build's caller frees it).
bool appendFrames(EffectContext& ctx, int32_t count, const FrameRenderer& render, const FrameDelay& delayOf);

}  // namespace gw
