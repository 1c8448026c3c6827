// MaskPlane: an 8-bit coverage plane in plain memory, the working surface of
// frame composition (letters, outlines, shadows, objects' masks). Row 0 is the
// top row. Unlike a mask Bitmap it needs no lock and no header, so effects can
// keep many of them for a whole build.
//
//   gw::MaskPlane m;
//   if (!m.allocate(w, h)) return 0;          // all 0; false when memory fails
//   gw::maxInto(m, letter, left, top);        // the larger coverage wins
//   gw::scaleCoverage(m, opacity);            // (v * opacity + 127) / 255
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gw {

struct MaskPlane {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;  // width * height, row after row from the top

  // Sizes the plane and zeroes it; false (and an empty plane) when the size
  // is not positive or memory cannot be had.
  bool allocate(int32_t w, int32_t h);
  bool empty() const { return width <= 0 || height <= 0; }
  void clear();
  uint8_t* row(int32_t y) { return pixels.data() + size_t(y) * size_t(width); }
  const uint8_t* row(int32_t y) const { return pixels.data() + size_t(y) * size_t(width); }
  // 0 outside the plane.
  uint8_t at(int32_t x, int32_t y) const {
    return (x < 0 || y < 0 || x >= width || y >= height) ? 0 : row(y)[x];
  }
};

// Keeps the larger value of `src`, placed with its top-left at (left, top),
// and `dst`, where they overlap. Positions far outside are ignored.
void maxInto(MaskPlane& dst, const MaskPlane& src, int64_t left, int64_t top);

// Every value v becomes (v * intensity + 127) / 255: the coverage a letter
// drawn at that intensity would have left.
void scaleCoverage(MaskPlane& plane, uint8_t intensity);

// The outline of a full-intensity glyph plane into `out` (same size): 255 on
// the one-pixel ring outside the letters (any of the 8 neighbours covered),
// 255 - coverage on the letters' own pixels, 0 elsewhere. False when memory
// fails.
bool outlineOf(const MaskPlane& glyph, MaskPlane* out);

}  // namespace gw
