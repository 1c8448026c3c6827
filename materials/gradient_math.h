// The arithmetic the gradient renderers share. Fractional values are single
// precision and every conversion to an integer truncates toward zero, so a
// gradient gives the same pixels on every build.
#pragma once

#include <cmath>
#include <cstdint>

namespace gw {

// Truncates toward zero; values beyond 32 bits (and NaN) saturate instead of
// being undefined.
inline int32_t truncToInt(float v) {
  if (!(v == v)) return 0;
  if (v >= 2147483520.0f) return INT32_MAX;
  if (v <= -2147483520.0f) return INT32_MIN;
  return int32_t(v);
}

// Per channel trunc((1 - t) * from + t * to) of two colours 0x00BBGGRR.
inline uint32_t lerpColour(uint32_t from, uint32_t to, float t) {
  const float u = 1.0f - t;
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    float a = float((from >> shift) & 0xFF);
    float b = float((to >> shift) & 0xFF);
    float mixed = u * a + t * b;
    int32_t channel = truncToInt(mixed);
    if (channel < 0) channel = 0;
    if (channel > 255) channel = 255;
    out |= uint32_t(channel) << shift;
  }
  return out;
}

// A rotation by whole degrees: cosine and sine taken once, each rounded to
// single precision.
struct Rotation {
  float c = 1.0f;
  float s = 0.0f;
  explicit Rotation(int32_t degrees) {
    float a = float(degrees) * 0.01745328f;
    c = float(std::cos(double(a)));
    s = float(std::sin(double(a)));
  }
  // Turns (x, y) about (cx, cy); with y growing downward a positive angle
  // turns clockwise.
  void apply(int32_t x, int32_t y, int32_t cx, int32_t cy, int32_t* outX, int32_t* outY) const {
    float dx = float(x - cx), dy = float(y - cy);
    float rx = dx * c - dy * s;
    float ry = dx * s + dy * c;
    *outX = truncToInt(rx) + cx;
    *outY = truncToInt(ry) + cy;
  }
};

}  // namespace gw
