#include "materials/gradient_render.h"

#include "platform/bitmap.h"
#include "materials/gradient_settings.h"
#include "materials/gradient_shapes.h"

namespace gw {
namespace {

MemHandle render(const GradientRamp& ramp, int32_t width, int32_t height, int32_t centreX,
                 int32_t centreY, int32_t rotation, int32_t shape) {
  if (width <= 0 || height <= 0 || int64_t(width) * height > kGradientMaxPixels) return 0;
  MemBlock bitmap(bitmapCreateTrueColour(width, height, 24));
  if (!bitmap) return 0;
  {
    MemLock lock(bitmap.get());
    BitmapView view = BitmapView::of(lock);
    if (!view.valid()) return 0;
    bool ok;
    switch (shape) {
      case kGradientAngular:
        ok = drawAngularGradient(view, ramp, centreX, centreY, rotation);
        break;
      case kGradientElliptical:
        ok = drawRingGradient(view, ramp, centreX, centreY, false);
        break;
      case kGradientRectangular:
        ok = drawRingGradient(view, ramp, centreX, centreY, true);
        break;
      default:
        ok = drawLinearGradient(view, ramp, rotation);
        break;
    }
    if (!ok) return 0;
  }
  return bitmap.release();
}

}  // namespace

MemHandle gradientRender(const uint8_t* settings, int32_t width, int32_t height) {
  if (!settings) return 0;
  const GradientParams p = gradientParams(settings);
  GradientRamp ramp;
  ramp.settings = settings;
  return render(ramp, width, height, p.centreX, p.centreY, p.rotation, p.shape);
}

MemHandle gradientRenderTwoColour(uint32_t first, uint32_t second, int32_t width, int32_t height,
                                  int32_t centreX, int32_t centreY, int32_t rotation, int32_t shape) {
  GradientRamp ramp;
  ramp.first = first & 0xFFFFFF;
  ramp.second = second & 0xFFFFFF;
  return render(ramp, width, height, centreX, centreY, rotation, shape);
}

}  // namespace gw
