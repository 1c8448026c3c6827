// Gradient rendering: the four shapes (linear, angular, elliptical,
// rectangular) over a colour table built from a gradient settings record, and
// the same shapes as plain two-colour ramps for the fountain renderer.
//
//   gw::MemBlock bmp(gw::gradientRender(settings621, 320, 200));  // 24-bit
//
// All results are new 24-bit Bitmaps the caller owns; 0 on failure (bad size,
// out of memory).
#pragma once

#include <cstdint>

#include "platform/memory.h"

namespace gw {

// Renders the settings' shape at width x height; shapes other than 1, 2 and 3
// render as linear.
MemHandle gradientRender(const uint8_t* settings621, int32_t width, int32_t height);

// The same renderers without a settings record: a ramp from `first` to
// `second` (colours 0x00BBGGRR). Centre in percent, rotation in degrees.
MemHandle gradientRenderTwoColour(uint32_t first, uint32_t second, int32_t width, int32_t height,
                                  int32_t centreX, int32_t centreY, int32_t rotation,
                                  int32_t shape);

// The largest width x height any gradient renders (200 MB of bitmap, about a
// second of rings). Far above any text block the plug-in draws, it keeps a
// wild size from asking for gigabytes.
constexpr int64_t kGradientMaxPixels = int64_t(8192) * 8192;

}  // namespace gw
