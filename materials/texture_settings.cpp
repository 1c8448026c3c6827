#include "materials/texture_settings.h"

namespace gw {

using namespace texture_settings;

const char* textureTypeName(uint32_t type) {
  static const char* const kNames[kTextureTypeCount] = {
      "2-color fractal", "3-color fractal", "4-color fractal",
      "5-color fractal", "Craters",         "Perturbation"};
  return type < kTextureTypeCount ? kNames[type] : nullptr;
}

const char* bubbleShapeName(uint32_t shape) {
  static const char* const kNames[4] = {"Ellipse", "Fuzzy", "Luminous", "Sphere"};
  return shape < 4 ? kNames[shape] : nullptr;
}

void textureSettingsDefaults(uint8_t* s) {
  std::memset(s, 0, kSize);
  writeU32(s + kType, kTexture2ColourFractal);
  writeU32(s + kReserved40, 1);
  static const float kConstantDefaults[kConstantCount] = {12.0f, 60.0f, 2.0f, 3.1f, 100.0f, 650.0f};
  for (size_t i = 0; i < kConstantCount; ++i) writeF32(s + kConstants + 4 * i, kConstantDefaults[i]);
  writeU32(s + kMeshSize, 64);
  static const uint32_t kColours[kLayerCount] = {0xFFFFFF, 0xFFE0E0, 0xFFA0A0, 0xFF8080, 0xFF6060};
  for (size_t k = 0; k < kLayerCount; ++k) {
    writeU32(s + foreColour(k), kColours[k]);
    writeF32(s + power(k), 0.75f);
    writeU32(s + seed(k), uint32_t(10000 + k));
    writeF32(s + dimension(k), 2.15f);
  }
  writeU32(s + kBackColour, 0xFF0000);
  writeU32(s + kCraterCount, 5000);
  writeF32(s + kCraterDepth, 1.5f);
  static const float kRamp[kRampPoints] = {0.0f, 0.33f, 0.67f, 1.0f};
  for (size_t i = 0; i < kRampPoints; ++i) {
    writeF32(s + kRampRed + 4 * i, kRamp[i]);
    writeF32(s + kRampGreen + 4 * i, kRamp[i]);
    writeF32(s + kRampBlue + 4 * i, kRamp[i]);
  }
  writeI32(s + kBubbleCount, 64);
  writeU32(s + kBubbleSize, 4);
  writeF32(s + kBubblePower, 0.25f);
  writeF32(s + kPerturbationPower, 1.0f);
  writeU32(s + kBubbleShape, kBubbleEllipse);
}

void textureSetOutputRect(uint8_t* s, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  writeI32(s + kOutputRect + 0, left);
  writeI32(s + kOutputRect + 4, top);
  writeI32(s + kOutputRect + 8, right);
  writeI32(s + kOutputRect + 12, bottom);
}

}  // namespace gw
