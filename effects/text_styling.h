// The frame renderer: one line of text at a displacement turned into one
// finished frame — background, shadow, filled letters and outline, with an
// optional soft shadow and an optional alpha mask. Every effect's preview
// and build call it for each frame.
//
//   gw::TextStyle style = ...;            // read from the dialog at each call
//   gw::MemBlock frame(gw::renderTextFrame(style, {0, 0}));
//   if (!frame) return 0;                 // a failed render
//
// Order of work: padding, measuring and canvas size, background canvas,
// fill and shadow canvases, alpha mask, shadow (softened), letters, outline.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "effects/blur.h"
#include "effects/effect_context.h"
#include "materials/material_record.h"
#include "platform/memory.h"

namespace gw {

using MaterialBytes = std::array<uint8_t, kMaterialRecordSize>;

// Everything the renderer reads for one frame.
struct TextStyle {
  // Main dialog.
  std::string text;               // without the line's trailing blank
  std::string fontFace;
  int32_t fontSize = 24;          // cell height in pixels
  bool bold = false;
  bool italic = false;
  bool antialias = true;
  int32_t characterSpace = 100;   // percent
  int32_t padding = 0;            // the "Pad" value
  bool accentCompensation = true;

  // The effect's page.
  MaterialBytes fillMaterial{};
  int32_t fillOpacity = 255;      // 0..255, the letters' intensity
  bool shadowEnable = false;
  MaterialBytes shadowMaterial{};
  int32_t shadowOpacity = 255;    // 0..255
  int32_t shadowOffset = 4;       // 1..255 pixels
  int32_t shadowDirection = 7;    // 0..7; anything else shifts neither layer
  int32_t softness = 0;           // 0..40; 0 leaves the shadow sharp
  bool outlineEnable = false;
  uint32_t outlineColour = 0x333333;
  MaterialBytes backgroundMaterial{};

  // Output.
  bool alphaBackground = false;   // background is plain alphaGreyBack
  uint32_t alphaGreyBack = 0x7F7F7F;
  bool alphaMask = false;         // join an alpha channel (builds with Alpha transparency only)
};

struct Offset {
  int32_t x = 0;
  int32_t y = 0;
};

// Where the text and its shadow are shifted inside the canvas so that the
// shadow falls on direction's side; both (0, 0) outside 0..7.
void shadowShifts(int32_t direction, int32_t offset, Offset* text, Offset* shadow);

// The padding a frame gets: `pad`, plus softness / 10 + 1 when softness is
// above 0; with the outline on, a padding below 2 becomes 1.
int32_t effectivePadding(int32_t pad, int32_t softness, bool outline);

// Per channel (background * (255 - m) + source * m) / 255.
uint32_t blendColour(uint32_t background, uint32_t source, uint32_t m);

// Largest frame rendered, in pixels (2^24: 16.7 million, 48 MiB at 24 bits).
// A frame holds about five canvases and masks of its size while it is made;
// the longest text at the largest font size and padding would pass it.
constexpr uint64_t kTextFramePixelLimit = uint64_t(1) << 24;

// Renders one frame with the text displaced by `motion`: a new 24-bit Bitmap
// of 2p + W by 2p + H (each grown by the shadow offset when the shadow is on),
// or a 32-bit one whose alpha is the mask when style.alphaMask is set. 0 when
// the font, a mask or a canvas cannot be made.
MemHandle renderTextFrame(const TextStyle& style, Motion motion);

}  // namespace gw
