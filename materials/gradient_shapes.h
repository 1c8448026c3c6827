// The four gradient shapes, drawn into a 24-bit bitmap. Each takes its
// colours either from a colour table built from a settings record (the
// table's size is the shape's own), or, without one, from a plain ramp
// between two colours.
#pragma once

#include <cstdint>

#include "platform/bitmap.h"

namespace gw {

struct GradientRamp {
  const uint8_t* settings = nullptr;  // with a settings record: its colour table
  uint32_t first = 0;                 // without one: the two colours
  uint32_t second = 0;
};

// Each returns false when its colour table cannot be made.
bool drawLinearGradient(const BitmapView& view, const GradientRamp& ramp, int32_t rotation);
bool drawAngularGradient(const BitmapView& view, const GradientRamp& ramp, int32_t centreX,
                         int32_t centreY, int32_t rotation);
// Elliptical (rectangular = false) or rectangular rings.
bool drawRingGradient(const BitmapView& view, const GradientRamp& ramp, int32_t centreX,
                      int32_t centreY, bool rectangular);

}  // namespace gw
