// The colour swatch: one owner-drawn item showing a colour, with option bits
// that leave parts out or choose the text. The colour button is its plainest
// form; the gradient editor's and the texture dialogs' colour controls use
// the others.
//
//   SwatchText t = gw::swatchText(kSwatchRgbText, "", 0x2040FF);   // "255,64,32"
//   if (t.draw) drawCentred(t.text, t.white ? white : black);
#pragma once

#include <cstdint>
#include <string>

namespace gw {

constexpr uint32_t kSwatchNoEdge = 1;
constexpr uint32_t kSwatchNoText = 2;
constexpr uint32_t kSwatchNoFocus = 4;
constexpr uint32_t kSwatchFillOnly = 8;      // only the colour, nothing else
constexpr uint32_t kSwatchRgbText = 16;      // "%d,%d,%d" red, green, blue
constexpr uint32_t kSwatchHexText = 32;      // "%02.2X%02.2X%02.2X"
constexpr uint32_t kSwatchHashText = 64;     // "#%02.2X%02.2X%02.2X"
constexpr uint32_t kSwatchOwnFont = 128;     // the control's own font

// Whether text over this colour (0x00BBGGRR) is white (true) or black.
bool swatchTextIsWhite(uint32_t colour);

// The swatch's text: whether any is drawn, what, and in which colour. Without
// a format bit the text is the window text (nothing when it is empty); with
// one, the colour written is the number in the window text when it holds
// one, else `colour`. The text is white or black for the fill, `colour`. A
// disabled item, bit 2 and bit 8 draw none.
struct SwatchText {
  bool draw = false;
  std::string text;
  bool white = false;
};
SwatchText swatchText(uint32_t options, const std::string& windowText, uint32_t colour, bool disabled = false);

// Which parts a swatch with these options draws.
struct SwatchParts {
  bool edge = true;
  bool focus = true;
};
SwatchParts swatchParts(uint32_t options);

}  // namespace gw
