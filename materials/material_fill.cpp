#include "materials/material_fill.h"

#include <algorithm>

#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "imaging/bitmap_blit.h"
#include "imaging/shape_raster.h"
#include "materials/gradient_render.h"
#include "materials/material_record.h"
#include "materials/texture_generate.h"
#include "materials/texture_settings.h"
#include "materials/tile_fill.h"

namespace gw {
namespace {

// Copies the window of `part` at (srcX, srcY) over the whole of `view`.
bool copyOver(const BitmapView& view, MemHandle partHandle, int32_t srcX, int32_t srcY) {
  MemBlock part(partHandle);
  if (!part) return false;
  MemLock lock(part.get());
  BitmapView from = BitmapView::of(lock);
  if (!from.valid() || from.bits() != 24) return false;
  blitTrueColour(view, from, srcX, srcY, 0, 0, view.width(), view.height());
  return true;
}

bool paint(const BitmapView& view, uint8_t* rec) {
  const int32_t w = view.width(), h = view.height();
  switch (readI32(rec + material::kKind)) {
    case kMaterialSimple: {
      const uint32_t colour = readU32(rec + material::kColour) & 0xFFFFFF;
      for (int32_t y = 0; y < h; ++y) fillSpan(view, y, 0, w, colour);
      return true;
    }
    case kMaterialGradient:
      return copyOver(view, gradientRender(rec + material::kGradient, w, h), 0, 0);
    case kMaterialTexture: {
      // Textures are square: generate at the longer side and keep the centre.
      const int32_t s = std::max(w, h);
      textureSetOutputRect(rec + material::kTexture, 0, 0, s, s);
      return copyOver(view, textureGenerate(rec + material::kTexture), std::max((s - w) / 2, 0),
                      std::max((s - h) / 2, 0));
    }
    case kMaterialTile:
      return copyOver(view, tileFill(rec + material::kTileSelection, w, h), 0, 0);
    default:
      return true;  // an unknown kind stays black
  }
}

}  // namespace

MemHandle materialFill(uint8_t* rec, int32_t width, int32_t height) {
  if (!rec || width <= 0 || height <= 0 || int64_t(width) * height > kMaterialMaxPixels) return 0;
  MemBlock result(bitmapCreateTrueColour(width, height, 24));
  if (!result) return 0;
  {
    MemLock lock(result.get());
    BitmapView view = BitmapView::of(lock);
    if (!view.valid() || !paint(view, rec)) return 0;
  }
  return result.release();
}

uint32_t bitmapAverageColour(MemHandle bitmap) {
  MemLock lock(bitmap);
  BitmapView view = BitmapView::of(lock);
  if (!view.valid() || view.bits() != 24 || view.width() <= 0 || view.height() <= 0) return 0;
  uint64_t red = 0, green = 0, blue = 0;
  for (int32_t y = 0; y < view.height(); ++y) {
    const uint8_t* p = view.row(y);
    for (int32_t x = 0; x < view.width(); ++x, p += 3) {
      blue += p[0];
      green += p[1];
      red += p[2];
    }
  }
  const uint64_t n = uint64_t(view.width()) * uint64_t(view.height());
  return uint32_t(red / n) | (uint32_t(green / n) << 8) | (uint32_t(blue / n) << 16);
}

bool captionIsWhite(uint32_t colour) {
  const uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
  return green * 150 / 255 + red * 77 / 255 + blue * 28 / 255 < 129;
}

}  // namespace gw
