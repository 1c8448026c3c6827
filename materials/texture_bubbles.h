// The bubble field of the "Perturbation" texture: `count` discs of radius
// `radius` dropped at random on a W x H field that wraps around at its
// edges, each adding to the cells it covers by its shape.
#pragma once

#include <cstdint>

namespace gw {

// `field` holds w x h values, row by row, all 0 on entry. Seeds its own
// generator with `seed`. The caller has bounded count and radius.
void textureBubbleField(float* field, int32_t w, int32_t h, uint32_t seed, int32_t count, int32_t radius,
                        uint32_t shape);

}  // namespace gw
