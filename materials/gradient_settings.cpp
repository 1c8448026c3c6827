#include "materials/gradient_settings.h"

#include <algorithm>
#include <cstring>

#include "base/le_bytes.h"

namespace gw {
namespace {

int32_t clampField(const uint8_t* p, int32_t lo, int32_t hi) {
  return std::min(std::max(readI32(p), lo), hi);
}

}  // namespace

void gradientSettingsDefaults(uint8_t* g) {
  std::memset(g, 0, kGradientSettingsSize);
  writeI32(g + gradient::kShape, kGradientLinear);
  writeU32(g + gradient::kStartColour, 0x404040);
  writeU32(g + gradient::kEndColour, 0xC0C0C0);
  writeI32(g + gradient::kEdgePad, 0);
  writeI32(g + gradient::kCentreX, 0);
  writeI32(g + gradient::kCentreY, 0);
  writeI32(g + gradient::kMidpoint, 50);
  writeI32(g + gradient::kRotation, 0);
  writeU32(g + gradient::kColourMode, 1);
  fountainRecordDefaults(g + gradient::kFountain, FountainPreset::Rainbow);
}

GradientParams gradientParams(const uint8_t* g) {
  GradientParams p;
  p.shape = readI32(g + gradient::kShape);
  p.startColour = readU32(g + gradient::kStartColour) & 0xFFFFFF;
  p.endColour = readU32(g + gradient::kEndColour) & 0xFFFFFF;
  // An edge pad above 50 % would leave the middle of the table a negative
  // length; the editor never offers more than 45.
  p.edgePad = clampField(g + gradient::kEdgePad, 0, 45);
  p.centreX = clampField(g + gradient::kCentreX, -100, 100);
  p.centreY = clampField(g + gradient::kCentreY, -100, 100);
  p.midpoint = clampField(g + gradient::kMidpoint, 1, 99);
  p.rotation = clampField(g + gradient::kRotation, -360, 360);
  p.twoColour = readU32(g + gradient::kColourMode) != 0;
  return p;
}

}  // namespace gw
