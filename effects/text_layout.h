// The text line laid out letter by letter, and the 8-bit coverage masks made
// from it: the glyph mask (filled letters) and the outline mask (a ring
// around the letters fading into their inner edge).
//
//   gw::RasteriserFont font;
//   font.open({"Impact", 92, true, false});
//   gw::TextLayout layout;
//   if (!gw::layoutText(font, "Hello", 90, true, &layout)) return 0;
//   gw::MemBlock mask(gw::renderGlyphMask(font, layout, w, h, x, y, 255, true));
//
// Masks are 8-bit Bitmaps with a grey colour table (entry i is grey i), so a
// mask value is both a coverage 0..255 and a picture of itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/memory.h"
#include "platform/rasteriser.h"

namespace gw {

// The plain counterpart of an accented Latin-1 letter ("É" measures as "E"),
// or the letter itself.
uint8_t foldAccent(uint8_t letter);

struct TextLayout {
  std::string letters;             // the text with the line's trailing blank
  std::vector<int32_t> advances;   // one per letter, character space applied
  std::vector<uint8_t> measured;   // 0 for a letter the rasteriser could not measure
  int32_t width = 0;               // W: sum of the advances
  int32_t height = 0;              // H: the font's line height
};

// Measures `text` and one blank after it. Each advance is the letter's own
// (of its plain counterpart when accentCompensation is on) times
// charSpacePercent / 100, in integers. A letter the rasteriser cannot measure
// advances nothing and is not drawn. False only when the font is not open.
bool layoutText(const RasteriserFont& font, const std::string& text, int32_t charSpacePercent,
                bool accentCompensation, TextLayout* out);

// A new width x height 8-bit grey mask, all 0; 0 on failure.
MemHandle createGreyMask(int32_t width, int32_t height);

// The letters rendered one by one at `intensity`, the first cell's top-left
// at (x, y), onto a new width x height mask where each pixel keeps the
// largest coverage any letter gives it; pixels outside the mask are dropped.
// 0 when the mask cannot be made or a letter cannot be rendered.
MemHandle renderGlyphMask(const RasteriserFont& font, const TextLayout& layout, int32_t width,
                          int32_t height, int32_t x, int32_t y, uint8_t intensity, bool antialias);

// The outline mask of the letters placed as renderGlyphMask places them,
// (width + 4) x height: the glyph mask at full intensity, widened by four
// columns so the ring of a letter at the right edge survives, then 255 on the
// one-pixel ring outside the letters (any of the 8 neighbours covered) and
// 255 - coverage on the letters' own pixels. 0 on failure.
MemHandle renderOutlineMask(const RasteriserFont& font, const TextLayout& layout, int32_t width,
                            int32_t height, int32_t x, int32_t y, bool antialias);

// The outline of an existing full-intensity glyph mask, the same size; 0 on
// failure. renderOutlineMask is this over a widened glyph mask.
MemHandle outlineFromGlyphMask(MemHandle glyphMask);

}  // namespace gw
