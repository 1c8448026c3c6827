// Little-endian field access for fixed-layout records.
//
// Every record the plug-in exchanges with a host or keeps in a file is a byte
// image with named offsets. Read and write its fields through these helpers,
// never by casting a struct over the bytes: the layouts are packed, some fields
// are unaligned (TaskRecord.transparentIndex sits at 1065), and the native
// build is 64-bit while the wire is 32-bit.
//
//   uint32_t size = gw::readU32(rec + 0);
//   gw::writeU32(rec + 4, 4096);
//
// ByteReader is the bounds-checked cursor for variable input (files, host
// blocks, resources): once a read runs past the end its failure flag stays
// set and every later read yields zero, so a record is checked once at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace gw {

inline uint16_t readU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline int16_t readI16(const uint8_t* p) { return int16_t(readU16(p)); }
inline uint32_t readU32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int32_t readI32(const uint8_t* p) { return int32_t(readU32(p)); }

inline void writeU16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void writeU32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}
inline void writeI32(uint8_t* p, int32_t v) { writeU32(p, uint32_t(v)); }

// Copies a zero-terminated text into a fixed field of `width` bytes: the text
// is cut to width - 1 bytes and the rest of the field is zeroed, so the field
// is always terminated whatever the source length.
inline void writeFixedText(uint8_t* p, size_t width, const char* text) {
  if (width == 0) return;
  size_t n = text ? std::strlen(text) : 0;
  if (n > width - 1) n = width - 1;
  if (n) std::memcpy(p, text, n);
  std::memset(p + n, 0, width - n);
}

// Reads a fixed text field: stops at the first zero or at the field's end.
inline std::size_t fixedTextLength(const uint8_t* p, size_t width) {
  size_t n = 0;
  while (n < width && p[n] != 0) ++n;
  return n;
}

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool ok() const { return !failed_; }
  size_t pos() const { return pos_; }
  size_t size() const { return size_; }
  size_t remaining() const { return failed_ ? 0 : size_ - pos_; }
  const uint8_t* data() const { return data_; }

  uint8_t u8() {
    const uint8_t* p = take(1);
    return p ? p[0] : 0;
  }
  uint16_t u16() {
    const uint8_t* p = take(2);
    return p ? readU16(p) : 0;
  }
  uint32_t u32() {
    const uint8_t* p = take(4);
    return p ? readU32(p) : 0;
  }
  int32_t i32() { return int32_t(u32()); }
  int16_t i16() { return int16_t(u16()); }

  // Returns a pointer to the next n bytes, or nullptr (and fails) when fewer remain.
  const uint8_t* take(size_t n) {
    if (failed_ || n > size_ - pos_) {
      failed_ = true;
      return nullptr;
    }
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
  }
  void skip(size_t n) { take(n); }
  void seek(size_t pos) {
    if (pos > size_) failed_ = true;
    else if (!failed_) pos_ = pos;
  }
  // Advances to the next multiple of `align` counted from the start.
  void align(size_t a) {
    size_t r = pos_ % a;
    if (r) skip(a - r);
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace gw
