#include "platform/bitmap.h"

#include <cstring>

#include "base/checked_math.h"
#include "base/le_bytes.h"

namespace gw {
namespace {

// Keeps every size computable in 32 bits, as the 32-bit host must address it.
constexpr int32_t kMaxDimension = 65535;

bool supportedBits(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

size_t colourTableBytes(int bits) { return bits <= 8 ? size_t(4) << bits : 0; }

void writeHeader(uint8_t* p, int32_t width, int32_t height, int bits, uint32_t declaredEntries) {
  writeU32(p + 0, 40);
  writeI32(p + 4, width);
  writeI32(p + 8, height);
  writeU16(p + 12, 1);
  writeU16(p + 14, uint16_t(bits));
  writeU32(p + 16, 0);
  writeU32(p + 20, uint32_t(size_t(height) * bitmapStride(width, bits)));
  writeU32(p + 24, 0);
  writeU32(p + 28, 0);
  writeU32(p + 32, declaredEntries);
  writeU32(p + 36, declaredEntries);
}

// The colour-table space is reserved for every depth of 8 bits and below,
// because readers find the pixels at 40 + 4 * 2^bits whatever biClrUsed says;
// only the constructor with palette declares the table in the header.
MemHandle createBitmap(int32_t width, int32_t height, int bits, const uint8_t* palette,
                       bool declareTable) {
  size_t total = bitmapBlockSize(width, height, bits);
  if (total == 0) return 0;
  MemHandle h = memAlloc(total);
  if (!h) return 0;
  uint8_t* p = memLock(h);
  if (!p) {
    memFree(h);
    return 0;
  }
  uint32_t tableEntries = bits <= 8 ? (1u << bits) : 0;
  writeHeader(p, width, height, bits, declareTable ? tableEntries : 0);
  if (palette && tableEntries) {
    uint8_t* table = p + kBitmapHeaderSize;
    for (uint32_t i = 0; i < tableEntries; ++i) {
      table[i * 4 + 0] = palette[i * 3 + 2];
      table[i * 4 + 1] = palette[i * 3 + 1];
      table[i * 4 + 2] = palette[i * 3 + 0];
      table[i * 4 + 3] = 0;
    }
  }
  memUnlock(h);
  return h;
}

}  // namespace

size_t bitmapStride(int32_t width, int bits) {
  if (width <= 0 || bits <= 0) return 0;
  uint64_t rowBits = uint64_t(width) * uint64_t(bits) + 31;
  return size_t((rowBits / 32) * 4);
}

size_t bitmapBlockSize(int32_t width, int32_t height, int bits) {
  if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
      !supportedBits(bits))
    return 0;
  size_t pixels;
  size_t total;
  if (!checkedMul(bitmapStride(width, bits), size_t(height), &pixels)) return 0;
  if (!checkedAdd(kBitmapHeaderSize + colourTableBytes(bits), pixels, &total)) return 0;
  if (total > 0x7FFFFFFF) return 0;
  return total;
}

bool bitmapWriteHeader(uint8_t* p, int32_t width, int32_t height, int bits) {
  if (!p || bitmapBlockSize(width, height, bits) == 0) return false;
  writeHeader(p, width, height, bits, 0);
  return true;
}

int trueColourBitsFor(int requested) {
  if (requested < 2) return 1;
  if (requested < 5) return 4;
  if (requested < 9) return 8;
  if (requested > 24) return 32;
  return 24;
}

int paletteBitsFor(int requested) {
  if (requested <= 1) return 1;
  if (requested <= 4) return 4;
  if (requested <= 8) return 8;
  if (requested <= 24) return 24;
  return 32;
}

MemHandle bitmapCreateTrueColour(int32_t width, int32_t height, int requestedBits) {
  return createBitmap(width, height, trueColourBitsFor(requestedBits), nullptr, false);
}

MemHandle bitmapCreateWithPalette(int32_t width, int32_t height, const uint8_t* palette,
                                  int requestedBits) {
  return createBitmap(width, height, paletteBitsFor(requestedBits), palette, true);
}

BitmapView BitmapView::over(uint8_t* data, size_t size) {
  BitmapView v;
  if (!data || size < kBitmapHeaderSize) return v;
  if (readU32(data) != 40) return v;
  int32_t width = readI32(data + 4);
  int32_t height = readI32(data + 8);
  int bits = readU16(data + 14);
  size_t need = bitmapBlockSize(width, height, bits);
  if (need == 0 || need > size) return v;
  v.base_ = data;
  v.pixels_ = data + kBitmapHeaderSize + colourTableBytes(bits);
  v.width_ = width;
  v.height_ = height;
  v.bits_ = bits;
  v.stride_ = bitmapStride(width, bits);
  return v;
}

int64_t BitmapView::getPixel(int32_t x, int32_t y) const {
  if (!base_ || x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
  const uint8_t* r = row(y);
  switch (bits_) {
    case 1:
      return (r[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (x & 1) ? (r[x >> 1] & 0x0F) : (r[x >> 1] >> 4);
    case 8:
      return r[x];
    case 24: {
      const uint8_t* p = r + size_t(x) * 3;
      return int64_t(uint32_t(p[2]) | (uint32_t(p[1]) << 8) | (uint32_t(p[0]) << 16));
    }
    case 32: {
      const uint8_t* p = r + size_t(x) * 4;
      return int64_t(uint32_t(p[2]) | (uint32_t(p[1]) << 8) | (uint32_t(p[0]) << 16) |
                     (uint32_t(p[3]) << 24));
    }
    default:
      return -1;
  }
}

int64_t BitmapView::getPixelWithAlpha(int32_t x, int32_t y) const {
  int64_t v = getPixel(x, y);
  if (v >= 0 && bits_ == 24) v += 0xFF000000LL;
  return v;
}

void BitmapView::setPixel(int32_t x, int32_t y, uint32_t value) const {
  if (!base_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t* r = row(y);
  switch (bits_) {
    case 1: {
      uint8_t mask = uint8_t(0x80 >> (x & 7));
      if (value & 1) r[x >> 3] |= mask;
      else r[x >> 3] &= uint8_t(~mask);
      break;
    }
    case 4: {
      uint8_t& b = r[x >> 1];
      if (x & 1) b = uint8_t((b & 0xF0) | (value & 0x0F));
      else b = uint8_t((b & 0x0F) | ((value & 0x0F) << 4));
      break;
    }
    case 8:
      r[x] = uint8_t(value);
      break;
    case 24: {
      uint8_t* p = r + size_t(x) * 3;
      p[0] = uint8_t(value >> 16);
      p[1] = uint8_t(value >> 8);
      p[2] = uint8_t(value);
      break;
    }
    case 32: {
      uint8_t* p = r + size_t(x) * 4;
      p[0] = uint8_t(value >> 16);
      p[1] = uint8_t(value >> 8);
      p[2] = uint8_t(value);
      p[3] = uint8_t(value >> 24);
      break;
    }
    default:
      break;
  }
}

bool bitmapQuery(MemHandle bitmap, int32_t* width, int32_t* height, int* bits,
                 uint8_t* palette768) {
  MemLock lock(bitmap);
  if (!lock) return false;
  BitmapView v = BitmapView::of(lock);
  if (!v.valid()) return false;
  if (width) *width = v.width();
  if (height) *height = v.height();
  if (bits) *bits = v.bits();
  if (palette768) {
    const uint8_t* table = v.colourTable();
    for (int i = 0; i < v.colourTableEntries(); ++i) {
      palette768[i * 3 + 0] = table[i * 4 + 2];
      palette768[i * 3 + 1] = table[i * 4 + 1];
      palette768[i * 3 + 2] = table[i * 4 + 0];
    }
  }
  return true;
}

}  // namespace gw
