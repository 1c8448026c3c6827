#include "materials/texture_noise.h"

#include <cmath>

#include "materials/texture_random.h"

namespace gw {
namespace {

// Offsets every input far from zero, so the lattice lookup never sees a
// negative coordinate whatever the caller passes in 0..16 x 2^8.
constexpr float kInputOffset = 10000.0f;
constexpr float kScale = 1.5f;

float smooth(float t) { return (3.0f - 2.0f * t) * t * t; }

}  // namespace

TextureNoise::TextureNoise(uint32_t seed) {
  TextureRandom rng(seed);
  const double twoPi = 2.0 * 3.14159265358979323846;
  for (int i = 0; i < kCells; ++i) {
    double angle = double(rng.draw()) / kTextureRandomMax * twoPi;
    gradX_[i] = float(std::cos(angle));
    gradY_[i] = float(std::sin(angle));
    perm_[i] = uint8_t(i);
  }
  // Fisher-Yates from the top, one draw per step.
  for (int i = kCells - 1; i > 0; --i) {
    int j = rng.draw() % (i + 1);
    uint8_t t = perm_[i];
    perm_[i] = perm_[j];
    perm_[j] = t;
  }
}

float TextureNoise::at(float x, float y) const {
  x += kInputOffset;
  y += kInputOffset;
  const float fx0 = std::floor(x), fy0 = std::floor(y);
  const float tx = x - fx0, ty = y - fy0;
  const int ix = int(fx0) & (kCells - 1), iy = int(fy0) & (kCells - 1);
  const int ix1 = (ix + 1) & (kCells - 1), iy1 = (iy + 1) & (kCells - 1);
  // A lattice entry's gradient: hashed through the permutation twice, so
  // neighbouring rows do not repeat each other's gradients.
  auto dot = [&](int cx, int cy, float dx, float dy) {
    int g = perm_[(perm_[cx] + cy) & (kCells - 1)];
    return gradX_[g] * dx + gradY_[g] * dy;
  };
  const float n00 = dot(ix, iy, tx, ty);
  const float n10 = dot(ix1, iy, tx - 1.0f, ty);
  const float n01 = dot(ix, iy1, tx, ty - 1.0f);
  const float n11 = dot(ix1, iy1, tx - 1.0f, ty - 1.0f);
  const float sx = smooth(tx), sy = smooth(ty);
  const float top = n00 + sx * (n10 - n00);
  const float bottom = n01 + sx * (n11 - n01);
  return (top + sy * (bottom - top)) * kScale;
}

}  // namespace gw
