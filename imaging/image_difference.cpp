#include "imaging/image_difference.h"

#include <cmath>
#include <limits>

#include "platform/bitmap.h"

namespace gw {
namespace {

// The colour of pixel (x, y) as 0x00BBGGRR, through the colour table for
// indexed images.
uint32_t colourAt(const BitmapView& v, int32_t x, int32_t y) {
  int64_t value = v.getPixel(x, y);
  if (value < 0) return 0;
  if (v.bits() <= 8) {
    const uint8_t* t = v.colourTable() + size_t(value) * 4;
    return uint32_t(t[2]) | (uint32_t(t[1]) << 8) | (uint32_t(t[0]) << 16);
  }
  return uint32_t(value) & 0xFFFFFF;
}

}  // namespace

bool measureDifference(MemHandle a, MemHandle b, ImageDifference* out) {
  if (!out) return false;
  MemLock la(a), lb(b);
  if (!la || !lb) return false;
  BitmapView va = BitmapView::of(la), vb = BitmapView::of(lb);
  if (!va.valid() || !vb.valid() || va.width() != vb.width() || va.height() != vb.height()) return false;
  double sum = 0;
  for (int32_t y = 0; y < va.height(); ++y) {
    uint64_t rowSum = 0;
    for (int32_t x = 0; x < va.width(); ++x) {
      uint32_t ca = colourAt(va, x, y), cb = colourAt(vb, x, y);
      for (int shift = 0; shift < 24; shift += 8) {
        int d = int((ca >> shift) & 0xFF) - int((cb >> shift) & 0xFF);
        rowSum += uint64_t(d * d);
      }
    }
    sum += double(rowSum);
  }
  const double samples = double(va.width()) * double(va.height()) * 3.0;
  out->meanSquaredError = sum / samples;
  out->psnr = out->meanSquaredError > 0 ? 10.0 * std::log10(255.0 * 255.0 / out->meanSquaredError)
                                        : std::numeric_limits<double>::infinity();
  return true;
}

}  // namespace gw
