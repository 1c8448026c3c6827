// FrameStore: the growable array of built frames of one build.
//
// The records live as 44-byte images in one movable block, as the host-side
// layout wants; FrameRecord is their unpacked form. The store owns the image
// and unchangedMask bitmaps of its records until frameStoreFree.
//
//   gw::FrameStore store;
//   if (!gw::frameStoreAppendFrame(store, bitmap, 10)) { /* still ours */ }
//   ...
//   gw::frameStoreFree(store);
#pragma once

#include <cstdint>

#include "platform/memory.h"

namespace gw {

constexpr size_t kFrameRecordSize = 44;
namespace frame_record {
constexpr size_t kImage = 0;
constexpr size_t kUnchangedMask = 4;
constexpr size_t kDelay = 8;
constexpr size_t kTransparentIndex = 12;
constexpr size_t kReserved = 16;  // 28 bytes, zero
}  // namespace frame_record

struct FrameRecord {
  MemHandle image = 0;
  MemHandle unchangedMask = 0;
  int32_t delay = 0;
  int32_t transparentIndex = 0;
};

void frameRecordEncode(const FrameRecord& rec, uint8_t* out44);
FrameRecord frameRecordDecode(const uint8_t* in44);

// Every kept frame costs memory until the build ends, so a store holds at
// most this many bytes of images: 512 MiB, a quarter of a 32-bit host's
// address space. 1,730 frames of the default text (865 x 102) take 457 MiB.
constexpr uint64_t kFrameStoreBudget = uint64_t(512) << 20;

struct FrameStore {
  MemHandle block = 0;
  uint32_t count = 0;
  uint64_t imageBytes = 0;  // the appended images' sizes
  bool overBudget = false;  // an append or a plan was refused by the budget (or a frame by its size)
};

// Whether `frames` more images of `frameBytes` each stay within the budget;
// an effect asks before rendering its frames. False also marks the store.
bool frameStoreFits(FrameStore& store, uint64_t frames, uint64_t frameBytes);

bool frameStoreGet(const FrameStore& store, uint32_t index, FrameRecord* out);
bool frameStorePut(FrameStore& store, uint32_t index, const FrameRecord& rec);
// On failure the store is left as it was and the record's images stay the
// caller's; an image past the budget is refused (and the store marked).
bool frameStoreAppend(FrameStore& store, const FrameRecord& rec);
// Appends image with delay, transparentIndex -1. On success the store owns image.
bool frameStoreAppendFrame(FrameStore& store, MemHandle image, int32_t delay);
bool frameStoreSetLastDelay(FrameStore& store, int32_t delay);
// Frees the record's bitmaps and clears it.
void frameRecordFree(FrameRecord& rec);
void frameStoreFree(FrameStore& store);

}  // namespace gw
