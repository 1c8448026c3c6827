#include "protocol/frame_store.h"

#include <cstring>

#include "base/le_bytes.h"

namespace gw {

void frameRecordEncode(const FrameRecord& rec, uint8_t* out) {
  std::memset(out, 0, kFrameRecordSize);
  writeU32(out + frame_record::kImage, rec.image);
  writeU32(out + frame_record::kUnchangedMask, rec.unchangedMask);
  writeI32(out + frame_record::kDelay, rec.delay);
  writeI32(out + frame_record::kTransparentIndex, rec.transparentIndex);
}

FrameRecord frameRecordDecode(const uint8_t* in) {
  FrameRecord rec;
  rec.image = readU32(in + frame_record::kImage);
  rec.unchangedMask = readU32(in + frame_record::kUnchangedMask);
  rec.delay = readI32(in + frame_record::kDelay);
  rec.transparentIndex = readI32(in + frame_record::kTransparentIndex);
  return rec;
}

namespace {
// The block must really hold `count` records; a store whose block shrank or
// vanished is treated as unusable rather than read past its end.
uint8_t* lockRecords(const FrameStore& store) {
  if (!store.block) return nullptr;
  uint8_t* p = memLock(store.block);
  if (!p) return nullptr;
  if (memSize(store.block) < size_t(store.count) * kFrameRecordSize) {
    memUnlock(store.block);
    return nullptr;
  }
  return p;
}
}  // namespace

bool frameStoreGet(const FrameStore& store, uint32_t index, FrameRecord* out) {
  if (!out || index >= store.count) return false;
  uint8_t* p = lockRecords(store);
  if (!p) return false;
  *out = frameRecordDecode(p + size_t(index) * kFrameRecordSize);
  memUnlock(store.block);
  return true;
}

bool frameStorePut(FrameStore& store, uint32_t index, const FrameRecord& rec) {
  if (index >= store.count) return false;
  uint8_t* p = lockRecords(store);
  if (!p) return false;
  frameRecordEncode(rec, p + size_t(index) * kFrameRecordSize);
  memUnlock(store.block);
  return true;
}

bool frameStoreFits(FrameStore& store, uint64_t frames, uint64_t frameBytes) {
  const uint64_t room = store.imageBytes < kFrameStoreBudget ? kFrameStoreBudget - store.imageBytes : 0;
  const bool fits = frameBytes == 0 || frames <= room / frameBytes;
  if (!fits) store.overBudget = true;
  return fits;
}

bool frameStoreAppend(FrameStore& store, const FrameRecord& rec) {
  if (store.count >= 0x7FFFFFFF / kFrameRecordSize) return false;
  const uint64_t bytes = uint64_t(rec.image ? memSize(rec.image) : 0) +
                         uint64_t(rec.unchangedMask ? memSize(rec.unchangedMask) : 0);
  if (!frameStoreFits(store, 1, bytes)) return false;
  MemHandle block;
  if (!store.block) {
    block = memAlloc(kFrameRecordSize);
  } else {
    block = memRealloc(store.block, size_t(store.count + 1) * kFrameRecordSize);
  }
  if (!block) return false;
  uint8_t* p = memLock(block);
  if (!p) {
    // A fresh block we cannot use is ours to free; a reallocated one still holds
    // the earlier records, grown by one zeroed slot that count does not cover.
    if (!store.block) memFree(block);
    else store.block = block;
    return false;
  }
  frameRecordEncode(rec, p + size_t(store.count) * kFrameRecordSize);
  memUnlock(block);
  store.block = block;
  ++store.count;
  store.imageBytes += bytes;
  return true;
}

bool frameStoreAppendFrame(FrameStore& store, MemHandle image, int32_t delay) {
  FrameRecord rec;
  rec.image = image;
  rec.delay = delay;
  rec.transparentIndex = -1;
  return frameStoreAppend(store, rec);
}

bool frameStoreSetLastDelay(FrameStore& store, int32_t delay) {
  if (store.count == 0) return false;
  FrameRecord rec;
  if (!frameStoreGet(store, store.count - 1, &rec)) return false;
  rec.delay = delay;
  return frameStorePut(store, store.count - 1, rec);
}

void frameRecordFree(FrameRecord& rec) {
  memFree(rec.image);
  memFree(rec.unchangedMask);
  rec = FrameRecord{};
}

void frameStoreFree(FrameStore& store) {
  for (uint32_t i = 0; i < store.count; ++i) {
    FrameRecord rec;
    if (frameStoreGet(store, i, &rec)) frameRecordFree(rec);
  }
  memFree(store.block);
  store = FrameStore{};
}

}  // namespace gw
