#include "materials/texture_generate.h"

#include "platform/bitmap.h"
#include "materials/texture_craters.h"
#include "materials/texture_fractal.h"
#include "materials/texture_perturbation.h"
#include "materials/texture_settings.h"

namespace gw {
namespace {

// The output size from the rectangle, in 64 bits so that a forged
// rectangle cannot overflow on the way to the limit check.
bool outputSize(const uint8_t* s, int32_t* w, int32_t* h) {
  using namespace texture_settings;
  int64_t width = int64_t(readI32(s + kOutputRect + 8)) - readI32(s + kOutputRect + 0);
  int64_t height = int64_t(readI32(s + kOutputRect + 12)) - readI32(s + kOutputRect + 4);
  if (width <= 0 || height <= 0 || width > kTextureMaxSide || height > kTextureMaxSide) return false;
  *w = int32_t(width);
  *h = int32_t(height);
  return true;
}

void fillBackground(const BitmapView& target, uint32_t colour) {
  for (int32_t y = 0; y < target.height(); ++y) {
    uint8_t* row = target.row(y);
    for (int32_t x = 0; x < target.width(); ++x) {
      row[3 * size_t(x) + 0] = uint8_t(colour >> 16);
      row[3 * size_t(x) + 1] = uint8_t(colour >> 8);
      row[3 * size_t(x) + 2] = uint8_t(colour);
    }
  }
}

}  // namespace

MemHandle textureGenerate(uint8_t* settings) {
  if (!settings) return 0;
  const uint32_t type = readU32(settings + texture_settings::kType);
  int32_t w, h;
  if (type >= kTextureTypeCount || !outputSize(settings, &w, &h)) return 0;
  MemBlock bitmap(bitmapCreateTrueColour(w, h, 24));
  if (!bitmap) return 0;
  {
    MemLock lock(bitmap.get());
    BitmapView target = BitmapView::of(lock);
    if (!target.valid()) return 0;
    fillBackground(target, readU32(settings + texture_settings::kBackColour));
    bool ok;
    if (type == kTextureCraters) ok = textureCraters(settings, target);
    else if (type == kTexturePerturbation) ok = texturePerturbation(settings, target);
    else ok = textureFractal(settings, type + 1, target);
    if (!ok) return 0;
  }
  return bitmap.release();
}

}  // namespace gw
