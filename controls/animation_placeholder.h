// The animation the selector holds while none is chosen: bitmap resource
// 9903 (32-bit, 16 x 16 frames stacked vertically, frame 0 at the top) with
// each pixel blended over `background` by its alpha, written as an animation
// block with the placeholder's flags.
//
//   gw::MemBlock anim(gw::placeholderAnimation(highlight, delaysInHundredths));
#pragma once

#include <cstdint>

#include "platform/memory.h"

namespace gw {

constexpr uint16_t kPlaceholderBitmap = 9903;

// The delay of each frame: 60 when the host counts time in hundredths of a
// second (host flag bit 1), else 600.
int32_t placeholderDelay(bool delaysInHundredths);

// 0 when the resource is missing or not a 32-bit strip of square frames, or
// allocation fails. Each pixel: (a * pixel + (255 - a) * background) / 255.
MemHandle placeholderAnimation(uint32_t background, bool delaysInHundredths);

}  // namespace gw
