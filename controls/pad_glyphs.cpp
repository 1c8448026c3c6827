#include "controls/pad_glyphs.h"

#include "base/le_bytes.h"
#include "controls/pad_model.h"
#include "platform/resources.h"

namespace gw {

bool padGlyph(ControlKind kind, int value, uint32_t background, uint32_t* out) {
  const uint16_t strip = padGlyphStrip(kind);
  if (!strip || value < 0 || value >= padValueCount(kind)) return false;
  std::optional<ResourceBytes> res = findResource(kResBitmap, ResourceName::number(strip));
  if (!res || res->size < 40) return false;
  const uint8_t* dib = res->data;
  const int32_t width = readI32(dib + 4);
  const int32_t height = readI32(dib + 8);
  const uint16_t bits = readU16(dib + 14);
  const uint32_t compression = readU32(dib + 16);
  if (readU32(dib) != 40 || bits != 32 || compression != 0) return false;
  if (height != kPadGlyphCell && height != -kPadGlyphCell) return false;
  if (width < kPadGlyphCell * (value + 1)) return false;
  const size_t stride = size_t(width) * 4;
  if (res->size < 40 + stride * kPadGlyphCell) return false;
  const bool bottomUp = height > 0;
  for (int y = 0; y < kPadGlyphSize; ++y) {
    const int sy = y + 2;  // the cell's inner 20 x 20 starts 2 pixels in
    const uint8_t* row = dib + 40 + stride * size_t(bottomUp ? kPadGlyphCell - 1 - sy : sy);
    for (int x = 0; x < kPadGlyphSize; ++x) {
      const uint8_t* p = row + 4 * size_t(kPadGlyphCell * value + 2 + x);  // blue, green, red, alpha
      const uint32_t a = p[3];
      uint32_t colour = 0;
      for (int channel = 0; channel < 3; ++channel) {
        const uint32_t glyph = p[2 - channel];  // red first in 0x00BBGGRR
        const uint32_t back = (background >> (8 * channel)) & 0xFF;
        colour |= ((a * glyph + (255 - a) * back) / 255) << (8 * channel);
      }
      out[y * kPadGlyphSize + x] = colour;
    }
  }
  return true;
}

}  // namespace gw
