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

struct FrameStore {
  MemHandle block = 0;
  uint32_t count = 0;
};

bool frameStoreGet(const FrameStore& store, uint32_t index, FrameRecord* out);
bool frameStorePut(FrameStore& store, uint32_t index, const FrameRecord& rec);
// On failure the store is left as it was and the record's images stay the caller's.
bool frameStoreAppend(FrameStore& store, const FrameRecord& rec);
// Appends image with delay, transparentIndex -1. On success the store owns image.
bool frameStoreAppendFrame(FrameStore& store, MemHandle image, int32_t delay);
bool frameStoreSetLastDelay(FrameStore& store, int32_t delay);
// Frees the record's bitmaps and clears it.
void frameRecordFree(FrameRecord& rec);
void frameStoreFree(FrameStore& store);

}  // namespace gw
