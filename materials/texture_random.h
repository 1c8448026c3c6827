// The textures' random generator: a 32-bit linear congruential state, so the
// same seed always gives the same picture on every platform.
//
//   TextureRandom rng(seed);
//   int r = rng.draw();         // 0..32767
//   double g = rng.gaussian();  // about -3.46..3.46, mean 0, variance 1
#pragma once

#include <cstdint>

namespace gw {

class TextureRandom {
 public:
  explicit TextureRandom(uint32_t seed = 0) : state_(seed) {}
  void seed(uint32_t seed) { state_ = seed; }
  uint32_t state() const { return state_; }

  int draw() {
    state_ = state_ * 22695477u + 1u;
    return int((state_ >> 16) & 0x7FFF);
  }

  // The sum of four draws scaled to mean 0 and variance 1.
  double gaussian();

 private:
  uint32_t state_;
};

constexpr int kTextureRandomMax = 32767;

}  // namespace gw
