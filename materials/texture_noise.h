// Smooth two-dimensional gradient noise on a lattice of 16 x 16 cells that
// repeats in both directions, so a field sampled over 0..16 tiles without a
// seam. Deterministic for a seed; values lie within about -1.5..1.5.
//
//   TextureNoise noise(seed);
//   float v = noise.at(3.25f, 7.5f);
#pragma once

#include <cstdint>

namespace gw {

class TextureNoise {
 public:
  static constexpr int kCells = 16;

  // Draws one unit gradient per lattice entry (angle draw / 32767 x 2 pi),
  // then shuffles the permutation, all from a generator seeded with `seed`.
  explicit TextureNoise(uint32_t seed);

  float at(float x, float y) const;

 private:
  float gradX_[kCells];
  float gradY_[kCells];
  uint8_t perm_[kCells];
};

}  // namespace gw
