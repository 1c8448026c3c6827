// Gradient renders at 200 x 100 that have been looked at by eye (the
// gradients of docs/materials.png are the same settings at another size).
// The native suite pins their hashes, and the Windows suite requires the DLL
// to produce the very same pixels. A change here is a change in the pictures
// and needs looking at again.
#pragma once

#include <cstdint>

#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "materials/gradient_settings.h"

namespace gw::golden {

struct GradientCase {
  int32_t shape;
  bool multi;
  int32_t rotation, cx, cy, pad, midpoint;
  uint64_t hash;
};

constexpr int32_t kGradientWidth = 200;
constexpr int32_t kGradientHeight = 100;

constexpr GradientCase kGradientCases[] = {
    {0, false, 0, 0, 0, 0, 50, 7368726301132905315uLL},
    {1, false, 0, 0, 0, 0, 50, 12528914154876260219uLL},
    {2, false, 0, 0, 0, 0, 50, 10524544591296017981uLL},
    {3, false, 0, 0, 0, 0, 50, 11063268208494174375uLL},
    {0, true, 30, 30, 20, 0, 50, 4400025302624346617uLL},
    {1, true, 30, 30, 20, 0, 50, 9112302863042957942uLL},
    {2, true, 30, 30, 20, 0, 50, 11327650480111266255uLL},
    {3, true, 30, 30, 20, 0, 50, 9308142894469227889uLL},
    {0, false, -45, 0, 0, 20, 70, 3776614857100408248uLL},
};

// The gradient settings of a case.
inline void gradientCaseSettings(const GradientCase& c, uint8_t* settings621) {
  gradientSettingsDefaults(settings621);
  writeI32(settings621 + gradient::kShape, c.shape);
  writeU32(settings621 + gradient::kColourMode, c.multi ? 0 : 1);
  writeI32(settings621 + gradient::kRotation, c.rotation);
  writeI32(settings621 + gradient::kCentreX, c.cx);
  writeI32(settings621 + gradient::kCentreY, c.cy);
  writeI32(settings621 + gradient::kEdgePad, c.pad);
  writeI32(settings621 + gradient::kMidpoint, c.midpoint);
}

// FNV-1a over the pixel bytes of a 24-bit picture, row by row from the top.
inline uint64_t pixelHash(const BitmapView& v) {
  uint64_t h = 1469598103934665603ull;
  for (int32_t y = 0; y < v.height(); ++y) {
    const uint8_t* row = v.row(y);
    for (size_t i = 0; i < size_t(v.width()) * 3; ++i) h = (h ^ row[i]) * 1099511628211ull;
  }
  return h;
}

}  // namespace gw::golden
