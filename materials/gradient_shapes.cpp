#include "materials/gradient_shapes.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "imaging/shape_raster.h"
#include "imaging/span_coverage.h"
#include "materials/gradient_colour_table.h"
#include "materials/gradient_math.h"
#include "materials/gradient_settings.h"

namespace gw {
namespace {

void fillAll(const BitmapView& view, uint32_t colour) {
  for (int32_t y = 0; y < view.height(); ++y) fillSpan(view, y, 0, view.width(), colour);
}

}  // namespace

bool drawLinearGradient(const BitmapView& view, const GradientRamp& ramp, int32_t rotation) {
  const int32_t w = view.width(), h = view.height();
  const int32_t cx = w / 2, cy = h / 2;
  const Rotation turn(rotation);

  // The bands run across the bounds of the turned picture, grown by two
  // pixels so no edge pixel is missed by rounding.
  const int32_t cornerX[4] = {-2, w + 2, w + 2, -2};
  const int32_t cornerY[4] = {-2, -2, h + 2, h + 2};
  int32_t xMin = INT32_MAX, yMin = INT32_MAX, xMax = INT32_MIN, yMax = INT32_MIN;
  for (int i = 0; i < 4; ++i) {
    int32_t x, y;
    turn.apply(cornerX[i], cornerY[i], cx, cy, &x, &y);
    xMin = std::min(xMin, x);
    xMax = std::max(xMax, x);
    yMin = std::min(yMin, y);
    yMax = std::max(yMax, y);
  }
  const int32_t k = yMax - yMin;
  const float span = float(k);
  const float step = span * 0.00390625f;

  ColourTable table;
  if (ramp.settings) {
    int32_t n = step > 0.0f ? truncToInt(span / step + 0.5f) : 0;
    if (!table.build(ramp.settings, n)) return false;
  }

  float f = 0.0f;
  for (int32_t band = 0; f < span; ++band) {
    const float ratio = f / span;
    const int32_t top = yMin + truncToInt(f);
    const int32_t bottom = yMin + truncToInt(std::ceil(f + step));
    const int32_t px[4] = {xMin, xMax, xMax, xMin};
    const int32_t py[4] = {top, top, bottom, bottom};
    ShapePoint pts[5];
    for (int i = 0; i < 4; ++i) turn.apply(px[i], py[i], cx, cy, &pts[i].x, &pts[i].y);
    pts[4] = pts[0];
    const uint32_t colour = ramp.settings ? table.at(band) : lerpColour(ramp.second, ramp.first, ratio);
    fillPolygon(view, pts, 5, colour);
    f = f + step;
  }
  return true;
}

bool drawAngularGradient(const BitmapView& view, const GradientRamp& ramp, int32_t centreX,
                         int32_t centreY, int32_t rotation) {
  const int32_t w = view.width(), h = view.height();
  int32_t base = 360 - rotation;
  if (base < 0) base += 360;
  const int32_t cx = truncToInt(float(w) * (float(centreX) * 0.01f + 0.5f));
  const int32_t cy = truncToInt(float(h) * (0.5f - float(centreY) * 0.01f));

  ColourTable table;
  if (ramp.settings && !table.build(ramp.settings, 360)) return false;

  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = view.row(y);
    for (int32_t x = 0; x < w; ++x) {
      const int32_t dx = x - cx, dy = y - cy;
      float ang;
      if (dx != 0) {
        float slope = float(dy) / float(dx);
        ang = float(std::atan(double(slope)) * 57.29577951308232);
        if (dx > 0) ang += 180.0f;
        while (ang < 0.0f) ang += 360.0f;
      } else {
        ang = dy > 0 ? 270.0f : 90.0f;
      }
      ang = float(base) + ang;
      while (ang > 360.0f) ang -= 360.0f;
      if (ang > 180.0f) ang = 360.0f - ang;
      float t = ang / 180.0f;
      t = float(truncToInt(t * 256.0f)) / 256.0f;
      t = std::min(std::max(t, 0.0f), 1.0f);
      const uint32_t colour =
          ramp.settings ? table.at(truncToInt(t * 359.0f)) : lerpColour(ramp.first, ramp.second, t);
      uint8_t* p = row + size_t(x) * 3;
      p[0] = uint8_t(colour >> 16);
      p[1] = uint8_t(colour >> 8);
      p[2] = uint8_t(colour);
    }
  }
  return true;
}

bool drawRingGradient(const BitmapView& view, const GradientRamp& ramp, int32_t centreX,
                      int32_t centreY, bool rectangular) {
  const int32_t w = view.width(), h = view.height();
  const int32_t hw = w / 2, hh = h / 2;
  const float diagonal = std::sqrt(float(hw) * float(hw) + float(hh) * float(hh));
  const int32_t rings = truncToInt(diagonal + 0.5f);

  ColourTable table;
  if (ramp.settings && !table.build(ramp.settings, rings)) return false;
  if (rings <= 0) {
    // A picture of one pixel across has no rings; it shows the start colour
    // (a table of no entries would paint it black).
    fillAll(view, ramp.settings ? gradientParams(ramp.settings).startColour : ramp.first);
    return true;
  }
  fillAll(view, ramp.settings ? table.at(0) : ramp.first);

  const float sqrt2 = std::sqrt(2.0f);
  const float boxW = sqrt2 * float(w), boxH = sqrt2 * float(h);
  float left = float(hw) - boxW / 2.0f, top = float(hh) - boxH / 2.0f;
  float right = float(hw) + boxW / 2.0f, bottom = float(hh) + boxH / 2.0f;
  const float r = float(rings);
  const float shrinkX = (boxW / 2.0f) / r, shrinkY = (boxH / 2.0f) / r;
  const float driftX = (boxW / r) * float(centreX) * 0.01f;
  const float driftY = (boxH / r) * float(centreY) * 0.01f;

  // Each ring's bounds come from the running sums, in ring order; the rings
  // are then painted innermost first, each on the pixels no later ring took,
  // which gives the picture of painting them outermost first over each other.
  std::unique_ptr<int32_t[]> bounds(new (std::nothrow) int32_t[size_t(rings) * 4]);
  if (!bounds) return false;
  for (int32_t i = 0; i < rings; ++i) {
    bounds[4 * i + 0] = truncToInt(left);
    bounds[4 * i + 1] = truncToInt(top);
    bounds[4 * i + 2] = truncToInt(right);
    bounds[4 * i + 3] = truncToInt(bottom);
    left += shrinkX + driftX;
    top += shrinkY + driftY;
    right += driftX - shrinkX;
    bottom += driftY - shrinkY;
  }
  bool ok = false;
  SpanCoverage cover(view, &ok);
  if (!ok) return false;
  for (int32_t i = rings - 1; i >= 0; --i) {
    const float t = float(i) / r;
    cover.setColour(ramp.settings ? table.at(i) : lerpColour(ramp.first, ramp.second, t));
    const int32_t* q = &bounds[4 * i];
    if (rectangular) rectangleSpans(q[0], q[1], q[2], q[3], w, h, cover);
    else ellipseSpans(q[0], q[1], q[2], q[3], w, h, cover);
  }
  if (!cover.ok()) return false;
  return true;
}

}  // namespace gw
