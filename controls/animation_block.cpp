#include "controls/animation_block.h"

#include <cstring>
#include <vector>

#include "base/checked_math.h"
#include "base/le_bytes.h"
#include "imaging/pixel_rows.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

namespace ab = animation_block;

bool hasMagic(const uint8_t* p, const char* magic) { return std::memcmp(p, magic, 4) == 0; }

// What a frame's bitmap header says, checked against the bytes it may use.
struct Dib {
  int32_t width = 0;
  int32_t height = 0;     // rows, always positive
  bool topDown = false;   // a negative header height
  int bits = 0;
  size_t tableBytes = 0;
  size_t stride = 0;
  size_t length = 0;      // header, table and rows
};

bool describeDib(const uint8_t* p, size_t available, Dib* out) {
  if (available < kBitmapHeaderSize || readU32(p) != kBitmapHeaderSize) return false;
  const int32_t width = readI32(p + 4);
  const int32_t height = readI32(p + 8);
  const int bits = readU16(p + 14);
  const uint32_t compression = readU32(p + 16);
  // Only uncompressed rows: anything else could not be read as rows at all.
  if (compression != 0 || height == 0 || height == INT32_MIN) return false;
  Dib d;
  d.width = width;
  d.height = height < 0 ? -height : height;
  d.topDown = height < 0;
  d.bits = bits;
  // bitmapBlockSize refuses odd depths, non-positive and oversized dimensions
  // and overflow, so the length below is a size this system can allocate.
  d.length = bitmapBlockSize(d.width, d.height, d.bits);
  if (d.length == 0 || d.length > available) return false;
  d.tableBytes = bits <= 8 ? size_t(4) << bits : 0;
  d.stride = bitmapStride(d.width, d.bits);
  *out = d;
  return true;
}

// One frame chunk found by the walk.
struct FrameChunk {
  const uint8_t* bitmap = nullptr;
  size_t bitmapLength = 0;
  int32_t delay = 0;
  Dib dib;
};

// Walks the block. Calls `visit` for each usable frame (return false to stop
// early); true when the whole block is well formed. `usable` receives the
// number of usable frames.
template <typename Visit>
bool walk(const uint8_t* block, size_t size, int32_t* usable, Visit visit) {
  *usable = 0;
  if (!block || size < ab::kHeaderFieldsEnd || !hasMagic(block, "ANMo")) return false;
  const size_t headerLength = readU32(block + ab::kHeaderLength);
  if (headerLength < ab::kHeaderFieldsEnd || headerLength > size) return false;
  if (readI32(block + ab::kWidth) <= 0 || readI32(block + ab::kHeight) <= 0) return false;
  const uint32_t declared = readU32(block + ab::kFrameCount);
  size_t at = headerLength;
  bool visiting = true;
  // Each chunk takes at least kFrameFieldsEnd + 40 bytes, so the walk ends
  // within the block whatever count the header claims.
  for (uint32_t i = 0; i < declared; ++i) {
    if (size - at < 4) return false;
    if (hasMagic(block + at, "ANMx")) break;
    if (!hasMagic(block + at, "ANMe") || size - at < ab::kFrameFieldsEnd) return false;
    const uint8_t* chunk = block + at;
    const size_t chunkHeader = readU32(chunk + ab::kFrameHeaderLength);
    const size_t bitmapLength = readU32(chunk + ab::kFrameBitmapLength);
    size_t end = 0;
    if (chunkHeader < ab::kFrameFieldsEnd || !checkedAdd(at, chunkHeader, &end) ||
        !checkedAdd(end, bitmapLength, &end) || end > size)
      return false;
    FrameChunk frame;
    frame.bitmap = chunk + chunkHeader;
    frame.bitmapLength = bitmapLength;
    frame.delay = readI32(chunk + ab::kFrameDelay);
    if (!describeDib(frame.bitmap, bitmapLength, &frame.dib)) return false;
    if (visiting && !visit(*usable, frame)) visiting = false;
    ++*usable;
    at = end;
  }
  if (size - at < ab::kEndSize || !hasMagic(block + at, "ANMx")) return false;
  return *usable > 0;
}

// The frame's pixels as a bottom-up 24-bit bitmap.
MemHandle convertFrame(const FrameChunk& frame) {
  const Dib& d = frame.dib;
  MemBlock out(bitmapCreateTrueColour(d.width, d.height, 24));
  if (!out) return 0;
  MemLock lock(out.get());
  BitmapView view = BitmapView::of(lock);
  if (!view.valid() || view.width() != d.width || view.height() != d.height) return 0;
  const uint8_t* table = frame.bitmap + kBitmapHeaderSize;
  const uint8_t* pixels = table + d.tableBytes;
  for (int32_t y = 0; y < d.height; ++y) {
    // Row y counted from the top; a bottom-up source keeps its top row last.
    const uint8_t* src = pixels + d.stride * size_t(d.topDown ? y : d.height - 1 - y);
    uint8_t* dst = view.row(y);
    if (d.bits == 24)  // already the output's layout: the row as it stands
      std::memcpy(dst, src, size_t(d.width) * 3);
    else if (d.bits == 32)
      bgraRowToBgr(dst, src, d.width);
    else
      indexedRowToBgr(dst, src, d.bits, table, d.width);
  }
  return out.release();
}

MemHandle copyFrame(const FrameChunk& frame) {
  MemBlock out(memAlloc(frame.dib.length));
  if (!out) return 0;
  MemLock lock(out.get());
  if (!lock) return 0;
  std::memcpy(lock.data(), frame.bitmap, frame.dib.length);
  return out.release();
}

}  // namespace

bool animationValidate(const uint8_t* block, size_t size, AnimationInfo* info) {
  int32_t usable = 0;
  if (!walk(block, size, &usable, [](int32_t, const FrameChunk&) { return false; })) return false;
  if (info) {
    info->width = readI32(block + ab::kWidth);
    info->height = readI32(block + ab::kHeight);
    info->frames = usable;
  }
  return true;
}

bool animationValidate(MemHandle block, AnimationInfo* info) {
  MemLock lock(block);
  return lock && animationValidate(lock.data(), lock.size(), info);
}

MemHandle animationFrame(const uint8_t* block, size_t size, int32_t index, bool convert, int32_t* delay) {
  // The last usable frame at or before `index`: later frames are walked
  // (and checked) but not kept, so an index past the end gives the last one.
  const int32_t wanted = index < 0 ? 0 : index;
  FrameChunk picked;
  int32_t usable = 0;
  const bool valid = walk(block, size, &usable, [&](int32_t i, const FrameChunk& f) {
    if (i > wanted) return false;
    picked = f;
    return true;
  });
  if (!valid) return 0;
  if (!picked.bitmap) return 0;
  MemHandle frame = convert ? convertFrame(picked) : copyFrame(picked);
  if (frame && delay) *delay = picked.delay;
  return frame;
}

MemHandle animationFrame(MemHandle block, int32_t index, bool convert, int32_t* delay) {
  MemLock lock(block);
  return lock ? animationFrame(lock.data(), lock.size(), index, convert, delay) : 0;
}

namespace {

void writeHeaderChunk(uint8_t* p, int32_t width, int32_t height, uint32_t flags, size_t count) {
  std::memcpy(p, "ANMo", 4);
  writeU32(p + ab::kHeaderLength, ab::kHeaderSize);
  writeU32(p + ab::kVersion, 4096);
  writeU32(p + ab::kFlags, flags);
  writeU32(p + ab::kFrameCount, uint32_t(count));
  writeI32(p + ab::kWidth, width);
  writeI32(p + ab::kHeight, height);
}

// The chunk's header; its bitmap of `bitmapLength` bytes follows.
void writeFrameChunkHeader(uint8_t* chunk, size_t bitmapLength, int32_t delay) {
  std::memcpy(chunk, "ANMe", 4);
  writeU32(chunk + ab::kFrameHeaderLength, ab::kFrameHeaderSize);
  writeU32(chunk + 8, 4096);
  writeU32(chunk + ab::kFrameBitmapLength, uint32_t(bitmapLength));
  writeI32(chunk + ab::kFrameDelay, delay);
}

void writeEndChunk(uint8_t* p) {
  std::memcpy(p, "ANMx", 4);
  writeU32(p + 4, ab::kEndSize);
  writeU32(p + 8, 4096);
}

}  // namespace

MemHandle animationBlockBuild(int32_t width, int32_t height, uint32_t flags,
                              const AnimationFrameSource* frames, size_t count) {
  if (!frames || count == 0 || count > 0x7FFFFFFF || width <= 0 || height <= 0) return 0;
  // Each source's bitmap length: header, table and rows, as its view checks them.
  std::vector<size_t> lengths(count);
  size_t total = ab::kHeaderSize + ab::kEndSize;
  for (size_t i = 0; i < count; ++i) {
    MemLock lock(frames[i].bitmap);
    BitmapView view = BitmapView::of(lock);
    if (!view.valid()) return 0;
    lengths[i] = bitmapBlockSize(view.width(), view.height(), view.bits());
    if (lengths[i] == 0 || lengths[i] > lock.size()) return 0;
    if (!checkedAdd(total, ab::kFrameHeaderSize, &total) || !checkedAdd(total, lengths[i], &total)) return 0;
  }
  if (total > 0x7FFFFFFF) return 0;
  MemBlock block(memAlloc(total));
  if (!block) return 0;
  MemLock out(block.get());
  if (!out) return 0;
  uint8_t* p = out.data();
  writeHeaderChunk(p, width, height, flags, count);
  size_t at = ab::kHeaderSize;
  for (size_t i = 0; i < count; ++i) {
    writeFrameChunkHeader(p + at, lengths[i], frames[i].delay);
    MemLock source(frames[i].bitmap);
    if (!source || source.size() < lengths[i]) return 0;
    std::memcpy(p + at + ab::kFrameHeaderSize, source.data(), lengths[i]);
    at += ab::kFrameHeaderSize + lengths[i];
  }
  writeEndChunk(p + at);
  return block.release();
}

AnimationBlockWriter::AnimationBlockWriter(int32_t width, int32_t height, uint32_t flags, size_t capacity)
    : width_(width), height_(height), flags_(flags), capacity_(capacity) {
  bitmapBytes_ = bitmapBlockSize(width, height, 24);
  size_t total = 0;
  if (bitmapBytes_ == 0 || capacity == 0 || !checkedMul(ab::kFrameHeaderSize + bitmapBytes_, capacity, &total) ||
      !checkedAdd(total, ab::kHeaderSize + ab::kEndSize, &total) || total > 0x7FFFFFFF)
    return;
  block_.reset(memAlloc(total));
}

size_t AnimationBlockWriter::bytesFor(size_t frames) const {
  return ab::kHeaderSize + frames * (ab::kFrameHeaderSize + bitmapBytes_) + ab::kEndSize;
}

bool AnimationBlockWriter::addRgbFrame(const uint8_t* rgb, size_t rgbStride, int32_t delay) {
  if (!block_ || full()) return false;
  MemLock lock(block_.get());
  if (!lock || lock.size() < bytesFor(count_ + 1)) return false;
  uint8_t* chunk = lock.data() + bytesFor(count_) - ab::kEndSize;
  writeFrameChunkHeader(chunk, bitmapBytes_, delay);
  uint8_t* bitmap = chunk + ab::kFrameHeaderSize;
  if (!bitmapWriteHeader(bitmap, width_, height_, 24)) return false;
  BitmapView view = BitmapView::over(bitmap, bitmapBytes_);
  if (!view.valid()) return false;
  for (int32_t y = 0; y < view.height(); ++y) rgbRowToBgr(view.row(y), rgb + rgbStride * size_t(y), view.width());
  ++count_;
  return true;
}

MemHandle AnimationBlockWriter::finish() {
  if (!block_ || count_ == 0) return 0;
  {
    MemLock lock(block_.get());
    if (!lock) return 0;
    writeHeaderChunk(lock.data(), width_, height_, flags_, count_);
    writeEndChunk(lock.data() + bytesFor(count_) - ab::kEndSize);
  }
  // Room taken for frames the file did not hold is given back.
  if (count_ < capacity_) {
    MemHandle smaller = memRealloc(block_.get(), bytesFor(count_));
    if (smaller) {
      block_.release();
      block_.reset(smaller);
    }
  }
  return block_.release();
}

}  // namespace gw
