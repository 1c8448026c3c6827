// The "Perturbation" texture (type 5): gradient noise summed over octaves,
// optionally mixed with a field of bubbles, coloured through the spline
// colour table.
#pragma once

#include <cstdint>

#include "platform/bitmap.h"

namespace gw {

// The number of noise octaves for a stored mesh size: one at 32, eight at
// 1024; anything outside 0..8 (a mesh below 32 or above 1024) counts as 8.
float perturbationOctaves(uint32_t meshSize);

// Fills every pixel of the 24-bit `target`. False on an allocation failure.
bool texturePerturbation(const uint8_t* settings268, const BitmapView& target);

}  // namespace gw
