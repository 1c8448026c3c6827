#include "effects/row_displacement.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gw {

void displaceRow(const uint8_t* src, uint8_t* dst, int32_t width, int channels, double shift) {
  if (width <= 0) return;
  const double whole = std::floor(shift);
  // In 1/256: how much of the left neighbour (x - whole - 1) each pixel takes.
  const int32_t frac = int32_t(std::lround((shift - whole) * 256));
  const int64_t offset = int64_t(whole) + (frac == 256 ? 1 : 0);
  const int32_t left = frac == 256 ? 0 : frac;
  for (int32_t x = 0; x < width; ++x) {
    const int64_t s = std::clamp<int64_t>(int64_t(x) - offset, 0, width - 1);
    const int64_t t = std::clamp<int64_t>(int64_t(x) - offset - 1, 0, width - 1);
    const uint8_t* a = src + size_t(s) * size_t(channels);
    const uint8_t* b = src + size_t(t) * size_t(channels);
    uint8_t* d = dst + size_t(x) * size_t(channels);
    for (int c = 0; c < channels; ++c) d[c] = uint8_t((a[c] * (256 - left) + b[c] * left + 128) >> 8);
  }
}

}  // namespace gw
