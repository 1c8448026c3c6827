#include "materials/texture_perturbation.h"

#include <cmath>

#include "materials/texture_bubbles.h"
#include "materials/texture_buffer.h"
#include "materials/texture_generate.h"
#include "materials/texture_noise.h"
#include "materials/texture_settings.h"
#include "materials/texture_spline.h"

namespace gw {
namespace {

constexpr float kEpsilon = 0.00000011920929f;
constexpr int32_t kMaxBubbles = 1024;

struct Octaves {
  int whole;        // octaves summed in full
  float fraction;   // weight of the next one, 0 when there is none
};

Octaves splitOctaves(float o) {
  Octaves r{0, 0.0f};
  while (float(r.whole) < o) ++r.whole;
  // Every octave below o is summed in full (so 0.25 sums octave 0); a
  // fractional part then weighs the first octave not summed.
  float f = o - std::floor(o);
  if (f > kEpsilon) r.fraction = f;
  return r;
}

float fractalNoise(const TextureNoise& noise, float a, float b, const Octaves& oct) {
  float sum = 0.0f;
  float scale = 1.0f;
  int i = 0;
  for (; i < oct.whole; ++i, scale *= 2.0f) sum += noise.at(a * scale, b * scale) * std::pow(2.0f, -0.5f * i);
  if (oct.fraction > 0.0f) sum += oct.fraction * noise.at(a * scale, b * scale) * std::pow(2.0f, -0.5f * i);
  return sum;
}

void readRamp(const uint8_t* p, float out[4]) {
  for (int k = 0; k < 4; ++k) out[k] = texture_settings::readF32(p + 4 * k);
}

}  // namespace

float perturbationOctaves(uint32_t meshSize) {
  float o = 8.0f * (float(int64_t(meshSize) - 32)) * 0.001008064516129032f + kEpsilon;
  return (o < 0.0f || o > 8.0f) ? 8.0f : o;
}

bool texturePerturbation(const uint8_t* s, const BitmapView& target) {
  using namespace texture_settings;
  const int32_t w = target.width();
  const int32_t h = target.height();

  int32_t count = readI32(s + kBubbleCount);
  count = count < 0 ? 0 : count > kMaxBubbles ? kMaxBubbles : count;
  uint32_t size = readU32(s + kBubbleSize);
  if (size < 1) size = 1;
  if (size > kTextureMaxBubbleSize) size = kTextureMaxBubbleSize;
  if (size > uint32_t(w / 2)) size = uint32_t(w / 2);
  if (size > uint32_t(h / 2)) size = uint32_t(h / 2);

  TextureBuffer<float> bubbles(count >= 1 ? size_t(w) * size_t(h) : 0);
  if (count >= 1) {
    if (!bubbles) return false;
    for (size_t i = 0; i < bubbles.size(); ++i) bubbles[i] = 0.0f;
    textureBubbleField(bubbles.data(), w, h, readU32(s + seed(0)), count, int32_t(size),
                       readU32(s + kBubbleShape));
  }

  float red[4], green[4], blue[4];
  readRamp(s + kRampRed, red);
  readRamp(s + kRampGreen, green);
  readRamp(s + kRampBlue, blue);
  uint32_t table[256];
  textureSplineTable(red, green, blue, table);

  const Octaves octaves = splitOctaves(perturbationOctaves(readU32(s + kMeshSize)));
  const TextureNoise noise(readU32(s + seed(0)));
  const float perturbation = readF32(s + kPerturbationPower);
  const float bubblePower = readF32(s + kBubblePower);
  const bool useBubbles = bubbles && bubblePower != 0.0f;

  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = target.row(y);
    const float v = float(y) / float(h);
    for (int32_t x = 0; x < w; ++x) {
      const float u = float(x) / float(w);
      float n = perturbation > kEpsilon ? perturbation * fractalNoise(noise, 16.0f * u, 16.0f * v, octaves) : 0.0f;
      float bubble = useBubbles ? bubblePower * 2.0f * bubbles[size_t(y) * size_t(w) + size_t(x)] - 1.0f : 0.0f;
      float value = (bubble + n + 1.0f) * 0.5f;
      // NaN (an extreme power) falls to the table's first entry.
      value = value > 0.0f ? (value < 1.0f ? value : 1.0f) : 0.0f;
      uint32_t c = table[int(value * 255.0f)];
      uint8_t* p = row + 3 * size_t(x);
      p[0] = uint8_t(c >> 16);
      p[1] = uint8_t(c >> 8);
      p[2] = uint8_t(c);
    }
  }
  return true;
}

}  // namespace gw
