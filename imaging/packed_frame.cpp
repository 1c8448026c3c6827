#include "imaging/packed_frame.h"

#include <cstring>
#include <new>

#include "base/checked_math.h"
#include "base/le_bytes.h"

namespace gw {
namespace {

const uint8_t kMagic[4] = {'G', 'W', 'P', 'F'};
constexpr int32_t kLongestToken = 128;

inline bool samePixel(const uint8_t* a, const uint8_t* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

// Appends the tokens of one row of `w` pixels; `out` has room for the worst
// case (4 bytes a pixel: a one-pixel literal is always followed by a run).
uint8_t* packRow(const uint8_t* row, int32_t w, uint8_t* out) {
  int32_t x = 0;
  while (x < w) {
    const uint8_t* p = row + size_t(x) * 3;
    int32_t run = 1;
    while (x + run < w && run < kLongestToken && samePixel(p + size_t(run) * 3, p)) ++run;
    if (run >= 2) {
      *out++ = uint8_t(127 + run);
      std::memcpy(out, p, 3);
      out += 3;
      x += run;
      continue;
    }
    // A literal ends where a run of two begins.
    int32_t n = 1;
    while (x + n < w && n < kLongestToken &&
           !(x + n + 1 < w && samePixel(row + size_t(x + n) * 3, row + size_t(x + n + 1) * 3)))
      ++n;
    *out++ = uint8_t(n - 1);
    std::memcpy(out, p, size_t(n) * 3);
    out += size_t(n) * 3;
    x += n;
  }
  return out;
}

}  // namespace

bool isPackedFrame(const uint8_t* data, size_t size) {
  return data && size >= kPackedFrameHeaderSize && std::memcmp(data, kMagic, 4) == 0;
}

MemHandle packFrame(MemHandle bitmap24, std::vector<uint8_t>* scratch) {
  if (!scratch) return 0;
  MemLock lock(bitmap24);
  BitmapView view = BitmapView::of(lock);
  if (!view.valid() || view.bits() != 24) return 0;
  const int32_t w = view.width(), h = view.height();
  size_t worst = 0;
  if (!checkedMul(size_t(w), size_t(4), &worst) || !checkedMul(worst, size_t(h), &worst) ||
      !checkedAdd(worst, kPackedFrameHeaderSize, &worst))
    return 0;
  try {
    if (scratch->size() < worst) scratch->resize(worst);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  uint8_t* start = scratch->data();
  std::memcpy(start, kMagic, 4);
  writeI32(start + 4, w);
  writeI32(start + 8, h);
  uint8_t* out = start + kPackedFrameHeaderSize;
  for (int32_t y = 0; y < h; ++y) out = packRow(view.row(y), w, out);
  const size_t size = size_t(out - start);
  MemBlock packed(memAlloc(size));
  MemLock to(packed.get());
  if (!to) return 0;
  std::memcpy(to.data(), start, size);
  return packed.release();
}

bool PackedRuns::open(const uint8_t* data, size_t size) {
  ok_ = false;
  if (!isPackedFrame(data, size)) return false;
  width_ = readI32(data + 4);
  height_ = readI32(data + 8);
  if (width_ <= 0 || height_ <= 0) return false;
  p_ = data + kPackedFrameHeaderSize;
  end_ = data + size;
  row_ = -1;
  left_ = 0;
  literal_ = 0;
  ok_ = true;
  return true;
}

bool PackedRuns::nextRow() {
  if (!ok_) return false;
  if (row_ >= 0 && left_ != 0) {  // a row not read to its end
    ok_ = false;
    return false;
  }
  if (row_ + 1 >= height_) return false;
  ++row_;
  left_ = width_;
  literal_ = 0;
  return true;
}

bool PackedRuns::next(uint32_t* colour, uint32_t* length) {
  if (!ok_ || row_ < 0 || left_ == 0) return false;
  auto pixel = [&](const uint8_t* q) { return uint32_t(q[2]) | (uint32_t(q[1]) << 8) | (uint32_t(q[0]) << 16); };
  if (literal_ > 0) {
    if (end_ - p_ < 3) return ok_ = false;
    *colour = pixel(p_);
    *length = 1;
    p_ += 3;
    --literal_;
    --left_;
    return true;
  }
  if (end_ - p_ < 4) return ok_ = false;
  const uint8_t t = *p_++;
  const int32_t n = t < 128 ? int32_t(t) + 1 : int32_t(t) - 127;
  if (n > left_) return ok_ = false;
  if (t < 128) {
    if (end_ - p_ < ptrdiff_t(n) * 3) return ok_ = false;
    literal_ = uint32_t(n);
    return next(colour, length);
  }
  *colour = pixel(p_);
  *length = uint32_t(n);
  p_ += 3;
  left_ -= n;
  return true;
}

MemHandle unpackFrame(MemHandle packed) {
  MemLock from(packed);
  PackedRuns runs;
  if (!from || !runs.open(from.data(), from.size())) return 0;
  MemBlock bitmap(bitmapCreateTrueColour(runs.width(), runs.height(), 24));
  MemLock to(bitmap.get());
  BitmapView view = BitmapView::of(to);
  if (!view.valid() || view.width() != runs.width() || view.height() != runs.height()) return 0;
  for (int32_t y = 0; y < view.height(); ++y) {
    if (!runs.nextRow()) return 0;
    uint8_t* d = view.row(y);
    uint32_t colour = 0, length = 0;
    while (runs.next(&colour, &length)) {
      const uint8_t bgr[3] = {uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour)};
      for (uint32_t i = 0; i < length; ++i, d += 3) std::memcpy(d, bgr, 3);
    }
    if (!runs.ok()) return 0;
  }
  return bitmap.release();
}

}  // namespace gw
