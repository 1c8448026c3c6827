// Bitmap: a packed device-independent bitmap in a movable global block.
//
// Layout (what GDI and the host take unchanged): a 40-byte BITMAPINFOHEADER,
// then for 1, 4 and 8 bits a full colour table of 2^bits entries (blue, green,
// red, 0), then the rows bottom-up, each padded to a multiple of 4 bytes.
// Colours are 0x00BBGGRR (red in the low byte) everywhere; palettes outside a
// bitmap are 3-byte entries red, green, blue.
//
//   gw::MemBlock bmp(gw::bitmapCreateTrueColour(w, h, 24));
//   gw::MemLock lock(bmp.get());
//   gw::BitmapView view = gw::BitmapView::of(lock);
//   view.setPixel(x, y, 0x0000FF);   // red
//
// BitmapView checks the header against the bytes actually locked once, so
// every later pixel access is bounded by numbers that are known to fit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/memory.h"

namespace gw {

constexpr size_t kBitmapHeaderSize = 40;

// Bytes per row: ((bits * width + 31) / 32) * 4. 0 when it would overflow.
size_t bitmapStride(int32_t width, int bits);

// Bits chosen by the two constructors from the requested bits.
int trueColourBitsFor(int requested);
int paletteBitsFor(int requested);

// A new zeroed bitmap without colour table (1, 4, 8, 24 or 32 bits as chosen
// from `requestedBits`). 0 when the size is not positive or allocation fails.
MemHandle bitmapCreateTrueColour(int32_t width, int32_t height, int requestedBits);

// A new zeroed bitmap with a colour table; the first 2^bits entries of
// `palette` (3-byte red, green, blue; may be null) fill the table.
MemHandle bitmapCreateWithPalette(int32_t width, int32_t height, const uint8_t* palette,
                                  int requestedBits);

// Writes the 40-byte header of a bitmap that declares no colour table at
// `p`, which must have room for bitmapBlockSize(width, height, bits) bytes;
// false (nothing written) when those numbers make no bitmap.
bool bitmapWriteHeader(uint8_t* p, int32_t width, int32_t height, int bits);

// Fills the outputs that are given; `palette` receives 2^bits 3-byte entries
// (up to 256). Returns false when the block cannot be locked or its header is
// not a bitmap this system makes.
bool bitmapQuery(MemHandle bitmap, int32_t* width, int32_t* height, int* bits,
                 uint8_t* palette768);

// A validated window onto a locked bitmap.
class BitmapView {
 public:
  BitmapView() = default;
  // Checks the header against `size` bytes at `data`; an invalid view has
  // width and height 0 and refuses every access.
  static BitmapView over(uint8_t* data, size_t size);
  static BitmapView of(const MemLock& lock) { return over(lock.data(), lock.size()); }

  bool valid() const { return base_ != nullptr; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int bits() const { return bits_; }
  size_t stride() const { return stride_; }
  int colourTableEntries() const { return bits_ <= 8 ? (1 << bits_) : 0; }
  uint8_t* colourTable() const { return base_ ? base_ + kBitmapHeaderSize : nullptr; }

  // The row y counted from the top; y must be in 0..height-1.
  uint8_t* row(int32_t y) const { return pixels_ + size_t(height_ - 1 - y) * stride_; }
  uint8_t* pixelData() const { return pixels_; }
  size_t pixelBytes() const { return size_t(height_) * stride_; }

  // -1 outside the image.
  int64_t getPixel(int32_t x, int32_t y) const;
  // As getPixel; a 24-bit value is returned opaque (0xFF000000 added).
  int64_t getPixelWithAlpha(int32_t x, int32_t y) const;
  // Ignored outside the image.
  void setPixel(int32_t x, int32_t y, uint32_t value) const;

 private:
  uint8_t* base_ = nullptr;
  uint8_t* pixels_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int bits_ = 0;
  size_t stride_ = 0;
};

// Total block size for a bitmap of these numbers; 0 on overflow or bad input.
size_t bitmapBlockSize(int32_t width, int32_t height, int bits);

}  // namespace gw
