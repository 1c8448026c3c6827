// Animation blocks from a host: any bytes are validated or refused; a valid
// block gives every frame it counts, each a 24-bit bitmap, and the frames
// written into a new block read back the same.
#include <cstring>
#include <vector>

#include "controls/animation_block.h"
#include "platform/bitmap.h"
#include "tests/fuzz/fuzz_target.h"

GW_FUZZ_TARGET(animation_block) {
  using namespace gw;
  AnimationInfo info;
  const bool valid = animationValidate(data, size, &info);
  MemBlock probe(animationFrame(data, size, 0, true, nullptr));
  GW_FUZZ_CHECK(valid == bool(probe));
  if (!valid) return;
  GW_FUZZ_CHECK(info.frames > 0);
  // Re-write at most a few frames: enough to check, bounded in time.
  const int32_t n = info.frames < 8 ? info.frames : 8;
  std::vector<MemBlock> frames;
  std::vector<AnimationFrameSource> sources;
  for (int32_t k = 0; k < n; ++k) {
    int32_t delay = 0;
    frames.emplace_back(animationFrame(data, size, k, true, &delay));
    if (!frames.back()) return;  // out of memory
    sources.push_back({frames.back().get(), delay});
  }
  MemBlock again(animationBlockBuild(info.width, info.height, 0, sources.data(), sources.size()));
  if (!again) return;
  AnimationInfo reread;
  GW_FUZZ_CHECK(animationValidate(again.get(), &reread));
  GW_FUZZ_CHECK(reread.frames == n);
  for (int32_t k = 0; k < n; ++k) {
    int32_t delay = 0;
    MemBlock copy(animationFrame(again.get(), k, true, &delay));
    GW_FUZZ_CHECK(delay == sources[size_t(k)].delay);
    MemLock a(frames[size_t(k)].get()), b(copy.get());
    GW_FUZZ_CHECK(a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0);
  }
}
