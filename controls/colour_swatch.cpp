#include "controls/colour_swatch.h"

#include <cstdio>
#include <cstdlib>

namespace gw {
namespace {

// The number in a window text ("%lu" as the colour controls mirror it);
// false for a text that does not start with digits.
bool windowNumber(const std::string& text, uint32_t* out) {
  const char* s = text.c_str();
  while (*s == ' ') ++s;
  if (*s < '0' || *s > '9') return false;
  *out = uint32_t(std::strtoul(s, nullptr, 10));
  return true;
}

}  // namespace

bool swatchTextIsWhite(uint32_t colour) {
  const uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
  // Each term divided on its own, as the caption rule of the material
  // button does: both agree on every colour.
  return r * 77 / 255 + g * 150 / 255 + b * 28 / 255 <= 128;
}

// The text's colour follows the fill it is read against, also when the text
// names another colour.
SwatchText swatchText(uint32_t options, const std::string& windowText, uint32_t colour, bool disabled) {
  SwatchText t;
  if (disabled || (options & (kSwatchNoText | kSwatchFillOnly))) return t;
  const uint32_t formats = options & (kSwatchRgbText | kSwatchHexText | kSwatchHashText);
  if (formats) {
    uint32_t shown = colour;
    windowNumber(windowText, &shown);
    shown &= 0xFFFFFF;
    const unsigned r = shown & 0xFF, g = (shown >> 8) & 0xFF, b = (shown >> 16) & 0xFF;
    char text[32];
    // One format wins when several are set: the first in bit order.
    if (options & kSwatchRgbText) std::snprintf(text, sizeof text, "%d,%d,%d", r, g, b);
    else if (options & kSwatchHexText) std::snprintf(text, sizeof text, "%02X%02X%02X", r, g, b);
    else std::snprintf(text, sizeof text, "#%02X%02X%02X", r, g, b);
    t.text = text;
  } else {
    t.text = windowText;
  }
  t.draw = !t.text.empty();
  t.white = swatchTextIsWhite(colour);
  return t;
}

SwatchParts swatchParts(uint32_t options) {
  SwatchParts p;
  const bool fillOnly = (options & kSwatchFillOnly) != 0;
  p.edge = !fillOnly && !(options & kSwatchNoEdge);
  p.focus = !fillOnly && !(options & kSwatchNoFocus);
  return p;
}

}  // namespace gw
