// StyledLine: the line of text made ready once per build — its font, its
// layout, every letter's coverage at full intensity, and the geometry of the
// frame "Simple" would give it at rest. Effects place the letters frame by
// frame (whole, one by one, turned or scaled) and hand them to the
// FrameComposer, which paints shadow, letters and outline.
//
//   gw::StyledLine line;
//   if (!gw::prepareStyledLine(style, &line)) return 0;
//   gw::MaskPlane m; m.allocate(w, h);
//   gw::stampLine(line, m, x, y);                 // the whole line, cell top-left at (x, y)
//   gw::stampLetter(line, 2, m, x + line.penX[2], y);   // one letter
#pragma once

#include <cstdint>
#include <vector>

#include "effects/mask_plane.h"
#include "effects/text_layout.h"
#include "effects/text_styling.h"
#include "platform/rasteriser.h"

namespace gw {

// One letter's coverage, placed with its top-left at (pen x + left, cell top + top).
struct LetterImage {
  int32_t left = 0;
  int32_t top = 0;
  MaskPlane mask;  // empty for a blank or a letter the rasteriser could not measure
};

struct StyledLine {
  TextStyle style;                  // with every number clamped to its range
  RasteriserFont font;              // stays open for effects that render letters again
  TextLayout layout;
  std::vector<int32_t> penX;        // each letter's pen position from the line's left
  std::vector<LetterImage> letters; // one per layout letter (the trailing blank too)
  int32_t padding = 0;              // p, as effectivePadding gives it
  Offset textShift;                 // where the text sits in the canvas for the shadow's side
  Offset shadowShift;
  int32_t restWidth = 0;            // the frame "Simple" gives: 2p + W (+ shadow offset)
  int32_t restHeight = 0;
  bool tooLarge = false;            // refused: the rest frame passes kTextFramePixelLimit

  StyledLine() = default;
  StyledLine(const StyledLine&) = delete;
  StyledLine& operator=(const StyledLine&) = delete;

  size_t letterCount() const { return letters.size(); }
  // The cell top-left of the text at rest in the rest frame.
  Offset restOrigin() const { return {padding + textShift.x, padding + textShift.y}; }
};

// Opens the font, lays the text out and renders every letter once at full
// intensity. False when the font cannot be opened, a letter cannot be
// rendered, memory fails or the rest frame would not fit 32-bit sizes.
bool prepareStyledLine(const TextStyle& style, StyledLine* out);

// Draws letter i with its cell top-left at (x, y) into `mask`, keeping the
// larger coverage. Letters entirely outside are skipped.
void stampLetter(const StyledLine& line, size_t i, MaskPlane& mask, int64_t x, int64_t y);

// Draws the whole line with its first cell's top-left at (x, y).
void stampLine(const StyledLine& line, MaskPlane& mask, int64_t x, int64_t y);

// The style with every number clamped to the range its control allows.
TextStyle clampedStyle(const TextStyle& style);

}  // namespace gw
