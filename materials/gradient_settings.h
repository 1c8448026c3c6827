// The gradient settings record: 621 bytes, a 40-byte header (shape, two
// colours, edge pad, centre, midpoint, rotation, colour mode) followed by a
// fountain record used in multi-colour mode. It sits inside the material
// record and is stored whole in files and documents.
//
//   uint8_t g[gw::kGradientSettingsSize];
//   gw::gradientSettingsDefaults(g);
//   gw::writeU32(g + gw::gradient::kShape, gw::kGradientElliptical);
//   gw::MemBlock bmp(gw::gradientRender(g, 320, 200));
#pragma once

#include <cstddef>
#include <cstdint>

#include "materials/fountain_record.h"

namespace gw {

constexpr size_t kGradientSettingsSize = 621;

constexpr int32_t kGradientLinear = 0;
constexpr int32_t kGradientAngular = 1;
constexpr int32_t kGradientElliptical = 2;
constexpr int32_t kGradientRectangular = 3;

namespace gradient {
constexpr size_t kShape = 0;
constexpr size_t kStartColour = 4;
constexpr size_t kEndColour = 8;
constexpr size_t kEdgePad = 12;     // percent, 0..45
constexpr size_t kCentreX = 16;     // percent, -100..100
constexpr size_t kCentreY = 20;     // percent, -100..100
constexpr size_t kMidpoint = 24;    // percent, 1..99
constexpr size_t kReserved = 28;
constexpr size_t kRotation = 32;    // degrees, -360..360
constexpr size_t kColourMode = 36;  // 1 two-colour, 0 multi-colour
constexpr size_t kFountain = 40;    // 581-byte fountain record
}  // namespace gradient

// Zeroes all 621 bytes, then: linear, 0x404040 to 0xC0C0C0, no edge pad,
// centred, midpoint 50, no rotation, two-colour, rainbow fountain.
void gradientSettingsDefaults(uint8_t* settings621);

// The header's numbers as the renderers use them. Stored records come from
// files and documents, so every field is clamped to its documented range.
struct GradientParams {
  int32_t shape = 0;
  uint32_t startColour = 0;
  uint32_t endColour = 0;
  int32_t edgePad = 0;
  int32_t centreX = 0;
  int32_t centreY = 0;
  int32_t midpoint = 50;
  int32_t rotation = 0;
  bool twoColour = true;
};
GradientParams gradientParams(const uint8_t* settings621);

}  // namespace gw
