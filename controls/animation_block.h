// Animation blocks: how a host hands an animation to the plug-in (answer to
// request 16), and how the placeholder animation is kept.
//
// One contiguous little-endian block: an 870-byte header chunk "ANMo", one
// frame chunk "ANMe" per frame (a 2411-byte chunk header, then the frame as a
// packed device-independent bitmap), and a 76-byte end chunk "ANMx". An
// "ANMx" met before the header's frame count is reached ends the animation
// early.
//
//   gw::AnimationInfo info;
//   if (!gw::animationValidate(block, &info)) reject();
//   int32_t delay = 0;
//   gw::MemBlock frame(gw::animationFrame(block, 1000, true, &delay));  // clamped to the last frame
//
// Blocks come from the host and are not trusted: every chunk, bitmap header
// and pixel row is checked against the bytes actually present before it is
// read, and nothing is allocated beyond what the block's own frames imply.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/memory.h"

namespace gw {

namespace animation_block {
constexpr size_t kHeaderSize = 870;
constexpr size_t kHeaderLength = 4;  // offset of the first frame chunk
constexpr size_t kVersion = 8;       // 4096
constexpr size_t kFlags = 12;
constexpr size_t kFrameCount = 16;
constexpr size_t kWidth = 24;
constexpr size_t kHeight = 28;
constexpr size_t kHeaderFieldsEnd = 36;  // the fields the plug-in reads lie before this

constexpr size_t kFrameHeaderSize = 2411;
constexpr size_t kFrameHeaderLength = 4;  // the frame's bitmap starts this far into the chunk
constexpr size_t kFrameBitmapLength = 16;
constexpr size_t kFrameDelay = 29;        // unaligned
constexpr size_t kFrameFieldsEnd = 33;

constexpr size_t kEndSize = 76;

constexpr uint32_t kPlaceholderFlags = 2 | 8;
}  // namespace animation_block

struct AnimationInfo {
  int32_t width = 0;   // from the header
  int32_t height = 0;
  int32_t frames = 0;  // usable frames: up to the header's count or an early "ANMx"
};

// True when the block is a well-formed animation with at least one usable
// frame: "ANMo" header, each frame chunk "ANMe" holding a 40-byte-header
// bitmap of 1, 4, 8, 24 or 32 bits whose pixels lie inside the chunk, and an
// "ANMx" end chunk where the walk stops. `info` may be null.
bool animationValidate(const uint8_t* block, size_t size, AnimationInfo* info);
bool animationValidate(MemHandle block, AnimationInfo* info);

// A new bitmap of frame `index` (clamped to 0..last usable frame) and its
// delay in host time units (`delay` may be null). With `convert` the frame
// is a bottom-up 24-bit bitmap (palette pixels through their colour table,
// 32-bit pixels without their alpha); without, an exact copy of the frame's
// own bitmap. 0 when the block is not valid or allocation fails.
MemHandle animationFrame(const uint8_t* block, size_t size, int32_t index, bool convert, int32_t* delay);
MemHandle animationFrame(MemHandle block, int32_t index, bool convert, int32_t* delay);

// One frame for the writer: a Bitmap made by this system and its delay.
struct AnimationFrameSource {
  MemHandle bitmap = 0;
  int32_t delay = 0;
};

// Writes a block as a host would hand it over: the header with `flags`,
// `width` and `height`, one frame chunk per source and the end chunk. 0 when
// a source is not a bitmap, no frame is given, or allocation fails.
MemHandle animationBlockBuild(int32_t width, int32_t height, uint32_t flags,
                              const AnimationFrameSource* frames, size_t count);

// Builds a block of 24-bit frames one at a time, each written straight into
// its place, so a decoder making frames holds no second copy of them. Room
// for `capacity` frames is taken at once; finish() gives back what was not
// used.
//
//   gw::AnimationBlockWriter writer(w, h, 0, frameCount);
//   while (decode(&rgb)) if (!writer.addRgbFrame(rgb, w * 3, delay)) fail();
//   gw::MemHandle block = writer.finish();
class AnimationBlockWriter {
 public:
  AnimationBlockWriter(int32_t width, int32_t height, uint32_t flags, size_t capacity);
  // False when the room could not be taken (or the numbers make no block).
  bool ok() const { return bool(block_); }
  size_t frames() const { return count_; }
  bool full() const { return count_ >= capacity_; }

  // A frame from red, green, blue rows, top row first, `rgbStride` bytes
  // apart; false when the capacity is used up or the block cannot be locked.
  bool addRgbFrame(const uint8_t* rgb, size_t rgbStride, int32_t delay);

  // The block with its frame count and end chunk; 0 when no frame was added
  // or the block cannot be locked. The writer holds nothing afterwards.
  MemHandle finish();

 private:
  size_t bytesFor(size_t frames) const;

  int32_t width_, height_;
  uint32_t flags_;
  size_t capacity_;
  size_t bitmapBytes_ = 0;
  size_t count_ = 0;
  MemBlock block_;
};

}  // namespace gw
