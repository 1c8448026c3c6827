// The 268-byte texture settings record: which generator to run and its
// numbers. It lives inside the material record and, one per item, in texture
// groups, so the byte layout below is binding; read and write it only through
// these offsets and the little-endian helpers.
//
//   uint8_t rec[gw::texture_settings::kSize];
//   gw::textureSettingsDefaults(rec);
//   gw::writeU32(rec + gw::texture_settings::kType, gw::kTextureCraters);
//   gw::textureSetOutputRect(rec, 0, 0, 256, 256);
//   gw::MemBlock bmp(gw::textureGenerate(rec));
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/le_bytes.h"

namespace gw {

namespace texture_settings {
constexpr size_t kSize = 268;

constexpr size_t kType = 0;               // u32, 0..5 (TextureType)
constexpr size_t kOutputRect = 4;         // i32 x 4: left, top, right, bottom
constexpr size_t kReserved20 = 20;        // 20 bytes, zero
constexpr size_t kReserved40 = 40;        // u32, 1
constexpr size_t kReserved44 = 44;        // u32, 0
constexpr size_t kConstants = 48;         // f32 x 6, unused by the pictures
constexpr size_t kConstantCount = 6;
constexpr size_t kMeshSize = 72;          // u32 (MatrixSize)
constexpr size_t kForeColours = 76;       // colour x 5 (ForeColour1..5)
constexpr size_t kBackColour = 96;        // colour (BackColour)
constexpr size_t kPowers = 100;           // f32 x 5 (Power1..5)
constexpr size_t kSeeds = 120;            // u32 x 5 (SeedValue1..5)
constexpr size_t kDimensions = 140;       // f32 x 5 (Dimension1..5)
constexpr size_t kLayerCount = 5;
constexpr size_t kCraterCount = 160;      // u32 (CreaterCount)
constexpr size_t kCraterDepth = 164;      // f32 (CreaterDepth)
constexpr size_t kRampRed = 168;          // f32 x 4 (ColorRed0..3)
constexpr size_t kRampGreen = 184;        // f32 x 4 (ColorGreen0..3)
constexpr size_t kRampBlue = 200;         // f32 x 4 (ColorBlue0..3)
constexpr size_t kRampPoints = 4;
constexpr size_t kBubbleCount = 216;      // i32 (BubbleCount)
constexpr size_t kBubbleSize = 220;       // u32 (BubbleSize)
constexpr size_t kBubblePower = 224;      // f32 (BubblePower)
constexpr size_t kPerturbationPower = 228;  // f32 (PerturbationPower)
constexpr size_t kBubbleShape = 232;      // u32, 0..3 (BubbleShape)
constexpr size_t kReserved236 = 236;      // 32 bytes, zero

// Offsets of the k-th (0-based) entry of the per-layer arrays.
constexpr size_t foreColour(size_t k) { return kForeColours + 4 * k; }
constexpr size_t power(size_t k) { return kPowers + 4 * k; }
constexpr size_t seed(size_t k) { return kSeeds + 4 * k; }
constexpr size_t dimension(size_t k) { return kDimensions + 4 * k; }
}  // namespace texture_settings

enum TextureType : uint32_t {
  kTexture2ColourFractal = 0,
  kTexture3ColourFractal = 1,
  kTexture4ColourFractal = 2,
  kTexture5ColourFractal = 3,
  kTextureCraters = 4,
  kTexturePerturbation = 5,
};
constexpr uint32_t kTextureTypeCount = 6;

enum BubbleShape : uint32_t {
  kBubbleEllipse = 0,
  kBubbleFuzzy = 1,
  kBubbleLuminous = 2,
  kBubbleSphere = 3,
};

// The generator names in the order the texture dialog lists them; nullptr
// for a type outside 0..5.
const char* textureTypeName(uint32_t type);
// "Ellipse", "Fuzzy", "Luminous", "Sphere"; nullptr outside 0..3.
const char* bubbleShapeName(uint32_t shape);

namespace texture_settings {
// Single-precision fields are IEEE-754 bit patterns in little-endian order.
inline float readF32(const uint8_t* p) {
  uint32_t bits = readU32(p);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}
inline void writeF32(uint8_t* p, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  writeU32(p, bits);
}
}  // namespace texture_settings

// Sets every field to its default; the output rectangle becomes empty
// (the caller sets it before each generation).
void textureSettingsDefaults(uint8_t* settings268);

// Writes the output rectangle at bytes 4..19.
void textureSetOutputRect(uint8_t* settings268, int32_t left, int32_t top, int32_t right,
                          int32_t bottom);

}  // namespace gw
