// The record handed to every effect operation: fourteen 32-bit fields, zeroed
// before each use, owned by the caller and valid only during the call.
//
//   gw::EffectContext ctx;              // all fields zero
//   ctx.window = &dialog;               // the main dialog, read by control id
//   ctx.sampleWidth = 320; ctx.sampleHeight = 120; ctx.sample = 1;
//   if (gw::effectPreview(gw::effectRow(index), ctx) && ctx.image) { ...; gw::memFree(ctx.image); }
//
// The context never crosses the host boundary, so it is a plain struct rather
// than a byte image; the field order is the one every effect expects.
#pragma once

#include <cstdint>

#include "platform/dialog_facade.h"
#include "platform/memory.h"

namespace gw {

struct FrameStore;

// How a build tells its caller that a frame is done. The build pipeline turns
// it into the host's progress callback; an effect never talks to the host.
struct ProgressSink {
  void (*report)(void* user, int32_t index, int32_t count) = nullptr;
  void* user = nullptr;
};

// The displacement of the text for the frame being rendered.
struct Motion {
  int32_t x = 0;
  int32_t y = 0;
};

constexpr uint32_t kEffectFlagPreview = 2;  // set by the preview operation
constexpr uint32_t kEffectFlagBuild = 4;    // set by the build operation before rendering

struct EffectContext {
  DialogFacade* window = nullptr;   // the main dialog; main and page controls are read from it by id
  FrameStore* frameStore = nullptr; // build only: frames are appended here
  uint32_t reserved2 = 0;           // not used by the effects
  const ProgressSink* progress = nullptr;  // build only: where finished frames are reported
  MemHandle image = 0;              // preview result; the build frees it if set
  uint32_t reserved5 = 0;
  uint32_t reserved6 = 0;
  uint32_t reserved7 = 0;
  uint32_t reserved8 = 0;
  int32_t sampleWidth = 0;          // preview only: the sample area in pixels
  int32_t sampleHeight = 0;
  uint32_t flags = 0;               // kEffectFlagPreview / kEffectFlagBuild
  Motion* motion = nullptr;         // owned by the operation, on its stack
  uint32_t sample = 0;              // 1 from the sample window, 0 in a build
};

// Reports frame `index` of `count` done; a context without a sink ignores it.
inline void reportFrameProgress(const EffectContext& ctx, int32_t index, int32_t count) {
  if (ctx.progress && ctx.progress->report) ctx.progress->report(ctx.progress->user, index, count);
}

}  // namespace gw
