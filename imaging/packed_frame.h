// A 24-bit frame kept packed while its build waits for the palette.
//
// Every frame of a build must be kept true-colour until the palette of all
// of them is known; at three bytes a pixel that is most of a build's memory.
// Frames of text are mostly long runs of one colour (background, flat faces,
// rows of a vertical gradient), so each row is kept as runs and literals:
//
//   gw::MemBlock packed(gw::packFrame(frame24, &scratch));  // 0: keep frame24
//   gw::MemBlock again(gw::unpackFrame(packed.get()));      // the same pixels
//
// Block layout: the 4 bytes "GWPF" (never the start of a bitmap, whose
// header begins with its size, 40), width and height (32-bit little-endian),
// then the rows from the top, each a sequence of tokens covering exactly the
// row's width: a byte t < 128 followed by t + 1 pixels (blue, green, red), or
// a byte t >= 128 followed by one pixel that repeats t - 127 times.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/bitmap.h"
#include "platform/memory.h"

namespace gw {

constexpr size_t kPackedFrameHeaderSize = 12;

// A new packed block holding the pixels of a 24-bit bitmap; 0 when the
// handle is not a 24-bit bitmap or memory runs out (the bitmap is untouched
// either way). `scratch` is reused from frame to frame.
MemHandle packFrame(MemHandle bitmap24, std::vector<uint8_t>* scratch);

// Whether `size` bytes at `data` are a packed frame (checks the header only).
bool isPackedFrame(const uint8_t* data, size_t size);

// A new 24-bit bitmap with the packed pixels; 0 when the block is not a
// well-formed packed frame or memory runs out.
MemHandle unpackFrame(MemHandle packed);

// Reads a locked packed frame as runs of one colour, row by row from the top,
// left to right. A row may be split into several runs of the same colour.
class PackedRuns {
 public:
  // False when the bytes are not a well-formed packed frame header.
  bool open(const uint8_t* data, size_t size);
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  // The next run of the current row: its colour (0x00BBGGRR) and length.
  // False at the end of the row (then call nextRow) or on malformed data
  // (then ok() is false).
  bool next(uint32_t* colour, uint32_t* length);
  // Moves to the next row; false after the last row or on malformed data.
  bool nextRow();
  bool ok() const { return ok_; }

 private:
  const uint8_t* p_ = nullptr;
  const uint8_t* end_ = nullptr;
  int32_t width_ = 0, height_ = 0;
  int32_t row_ = -1;
  int32_t left_ = 0;      // pixels of the current row not yet read
  uint32_t literal_ = 0;  // pixels of the current literal token not yet read
  bool ok_ = false;
};

}  // namespace gw
