// The pads' glyphs: cell `value` of the pad's glyph strip (a 32-bit bitmap
// resource with alpha, 24-pixel cells), its inner 20 x 20 pixels blended over
// the cell's fill colour.
//
//   uint32_t pixels[gw::kPadGlyphSize * gw::kPadGlyphSize];
//   if (gw::padGlyph(kind, value, fill, pixels)) draw(pixels);  // row 0 at the top
#pragma once

#include <cstdint>

#include "controls/control_kind.h"

namespace gw {

constexpr int kPadGlyphSize = 20;

// Each output pixel is (a * glyph + (255 - a) * background) / 255 per
// channel, colours 0x00BBGGRR. False when the strip is missing, is not a
// 32-bit strip of 24-pixel cells, or has no cell `value`.
bool padGlyph(ControlKind kind, int value, uint32_t background, uint32_t* out400);

}  // namespace gw
