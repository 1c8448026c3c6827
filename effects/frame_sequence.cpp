#include "effects/frame_sequence.h"

#include <algorithm>
#include <vector>

#include "platform/parallel.h"
#include "protocol/frame_store.h"

namespace gw {

bool appendFrames(EffectContext& ctx, int32_t count, const FrameRenderer& render, const FrameDelay& delayOf) {
  if (!ctx.frameStore || count < 0) return false;
  // A small batch bounds the frames in flight to a few per thread.
  const int32_t batch = workerCount() * 2;
  std::vector<MemHandle> frames;
  for (int32_t first = 0; first < count; first += batch) {
    const int32_t n = std::min(batch, count - first);
    frames.assign(size_t(n), 0);
    // Tasks must not throw: a frame that runs out of memory inside a
    // container is a frame that could not be made.
    parallelFor(size_t(n), [&](size_t i) {
      try {
        frames[i] = render(first + int32_t(i));
      } catch (...) {
        frames[i] = 0;
      }
    });
    for (int32_t i = 0; i < n; ++i) {
      MemHandle& frame = frames[size_t(i)];
      if (!frame || !frameStoreAppendFrame(*ctx.frameStore, frame, delayOf(first + i))) {
        for (MemHandle& left : frames) memFree(left);
        return false;
      }
      frame = 0;  // the store owns it now
      reportFrameProgress(ctx, first + i, count);
    }
  }
  return true;
}

}  // namespace gw
