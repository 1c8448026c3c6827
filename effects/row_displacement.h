// Row and column displacement: a row of pixels moved sideways by a fraction
// of a pixel, the two nearest source pixels blended, the ends held.
//
//   gw::displaceRow(src, dst, width, 3, 2.25);   // BGR row moved 2.25 px right
#pragma once

#include <cstdint>

namespace gw {

// dst[x] = src at x - shift (linear between neighbours, clamped to the row's
// ends), for `channels` bytes a pixel. `src` and `dst` must not overlap.
void displaceRow(const uint8_t* src, uint8_t* dst, int32_t width, int channels, double shift);

}  // namespace gw
