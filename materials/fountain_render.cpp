#include "materials/fountain_render.h"

#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "imaging/bitmap_blit.h"
#include "materials/fountain_record.h"
#include "materials/gradient_render.h"
#include "materials/gradient_settings.h"

namespace gw {
namespace {

// One left-to-right segment: the linear shape turned by 90 degrees puts its
// second colour at the right.
bool drawSegment(const BitmapView& view, int32_t x0, int32_t width, uint32_t from, uint32_t to) {
  MemBlock segment(gradientRenderTwoColour(from, to, width, view.height(), 0, 0, 90, kGradientLinear));
  if (!segment) return false;
  MemLock lock(segment.get());
  BitmapView part = BitmapView::of(lock);
  if (!part.valid()) return false;
  blitTrueColour(view, part, 0, 0, x0, 0, width, view.height());
  return true;
}

}  // namespace

MemHandle fountainRender(const uint8_t* f, int32_t width, int32_t height) {
  if (!f || width <= 0 || height <= 0 || int64_t(width) * height > kGradientMaxPixels) return 0;
  MemBlock bitmap(bitmapCreateTrueColour(width, height, 24));
  if (!bitmap) return 0;
  {
    MemLock lock(bitmap.get());
    BitmapView view = BitmapView::of(lock);
    if (!view.valid()) return 0;
    int32_t columns[kFountainMaxMarkers];
    const int count = fountainMarkerColumns(f, width, columns);
    const uint32_t start = readU32(f + fountain::kStartColour) & 0xFFFFFF;
    int32_t prev = 0;
    uint32_t prevColour = start;
    for (int i = 0; i < count; ++i) {
      const uint32_t colour = fountainMarkerColour(fountainMarker(f, i));
      const int32_t segment = columns[i] - prev;
      if (segment > 0 && !drawSegment(view, prev, segment, prevColour, colour)) return 0;
      // Even a marker that draws nothing (two at one place) starts the next segment.
      prev = columns[i];
      prevColour = colour;
    }
    const bool looped = (readU32(f + fountain::kFlags) & fountain::kFlagLooped) != 0;
    const uint32_t last = looped ? start : readU32(f + fountain::kEndColour) & 0xFFFFFF;
    if (width - prev > 0 && !drawSegment(view, prev, width - prev, prevColour, last)) return 0;
  }
  return bitmap.release();
}

}  // namespace gw
