#include "materials/gradient_colour_table.h"

#include <algorithm>
#include <new>

#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "materials/fountain_render.h"
#include "materials/gradient_math.h"
#include "materials/gradient_settings.h"

namespace gw {
namespace {

// Copies the pixels of a rendered n x 1 strip into entries [first, first + n).
bool copyStrip(MemHandle strip, uint32_t* entries, int32_t first, int32_t n) {
  MemBlock owned(strip);
  MemLock lock(owned.get());
  BitmapView view = BitmapView::of(lock);
  if (!view.valid() || view.width() < n) return false;
  for (int32_t k = 0; k < n; ++k) entries[first + k] = uint32_t(view.getPixel(k, 0)) & 0xFFFFFF;
  return true;
}

}  // namespace

bool ColourTable::build(const uint8_t* settings, int32_t n) {
  entries_.reset();
  count_ = 0;
  if (n < 0) return false;
  std::unique_ptr<uint32_t[]> entries(new (std::nothrow) uint32_t[size_t(n) + 1]);
  if (!entries) return false;
  std::fill(entries.get(), entries.get() + n + 1, 0u);
  uint32_t* e = entries.get();
  if (n == 0) {
    entries_ = std::move(entries);
    return true;
  }

  const GradientParams p = gradientParams(settings);
  int32_t a = 0, middle = n;
  if (p.edgePad > 0) {
    a = truncToInt(float(p.edgePad) * 0.01f * float(n));
    for (int32_t k = 0; k < a; ++k) {
      e[k] = p.startColour;
      e[n - 1 - k] = p.endColour;
    }
    middle = n - 2 * a;
  }

  if (!p.twoColour) {
    if (middle > 0 && !copyStrip(fountainRender(settings + gradient::kFountain, middle, 1), e, a, middle))
      return false;
  } else if (p.midpoint == 50) {
    for (int32_t k = 0; k < middle; ++k) {
      float t = float(k) / float(middle);
      e[a + k] = lerpColour(p.startColour, p.endColour, t);
    }
    e[0] = p.startColour;
    e[n - 1] = p.endColour;
  } else {
    // An off-centre midpoint is a three-marker fountain over the whole table;
    // the edge pad becomes the outer markers' distance from the ends.
    uint32_t mid = lerpColour(p.startColour, p.endColour, 0.5f);
    int32_t g = truncToInt(float(p.edgePad) * 0.01f * 255.0f);
    int32_t midPosition = g + truncToInt(float(p.midpoint) * 0.01f * float(255 - 2 * g));
    uint8_t temp[kFountainRecordSize];
    fountainRecordDefaults(temp, FountainPreset::Empty);
    writeU32(temp + fountain::kStartColour, p.startColour);
    writeU32(temp + fountain::kEndColour, p.endColour);
    writeU32(temp + fountain::kMarkers + 0, fountainMakeMarker(g, p.startColour));
    writeU32(temp + fountain::kMarkers + 4, fountainMakeMarker(midPosition, mid));
    writeU32(temp + fountain::kMarkers + 8, fountainMakeMarker(255 - g, p.endColour));
    writeU32(temp + fountain::kMarkerCount, 3);
    if (!copyStrip(fountainRender(temp, n, 1), e, 0, n)) return false;
    e[0] = p.startColour;
    e[n - 1] = p.endColour;
  }
  entries_ = std::move(entries);
  count_ = n;
  return true;
}

}  // namespace gw
