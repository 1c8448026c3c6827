// FrameComposer: turns the letters an effect placed for one frame into the
// finished frame — background, soft shadow, objects behind, filled letters,
// outline, objects in front, and the alpha mask when one is asked for. The
// material canvases are made once for the frame size and reused by every
// frame of a build.
//
//   gw::StyledLine line;   prepareStyledLine(style, &line);
//   gw::FrameComposer composer;
//   if (!composer.prepare(line, line.restWidth, line.restHeight)) return 0;
//   // Called twice per frame: for the shadow and for the letters. `origin` is
//   // where the line's first cell sits at rest for that layer.
//   auto paint = [&](gw::MaskPlane& m, gw::Offset origin) {
//     gw::stampLine(line, m, origin.x + dx, origin.y + dy);
//     return true;
//   };
//   gw::MemBlock frame(composer.compose(paint));
#pragma once

#include <cstdint>
#include <functional>

#include "effects/blur.h"
#include "effects/mask_plane.h"
#include "effects/styled_line.h"
#include "platform/bitmap.h"
#include "platform/memory.h"

namespace gw {

// Draws the frame's letters at full intensity into the zeroed `mask` (the
// frame's size, or four columns wider for the outline), the line's rest
// position for this layer at `origin`. False fails the frame.
using LetterPainter = std::function<bool(MaskPlane& mask, Offset origin)>;

// What an effect may paint on the frame beside the letters: the 24-bit
// canvas, and the alpha mask (null without one) that objects raise where they
// cover.
struct FrameLayer {
  const BitmapView& canvas;
  MaskPlane* alpha;
};
using LayerPainter = std::function<bool(FrameLayer& layer)>;

// Recolours this frame's copy of the fill canvas (the letters' material)
// before the letters take it, for effects that shade letters one by one.
using FillPainter = std::function<bool(const BitmapView& fill)>;

struct FrameHooks {
  LayerPainter behind;  // after the background and the text's shadow, before the letters
  LayerPainter front;   // after the outline
  LayerPainter ground;  // on the background, before the text's shadow falls on it
  LetterPainter shadow; // when set, paints the shadow's coverage in place of the letters' painter
  FillPainter fill;     // when set, the letters take a recoloured copy of the fill canvas
};

class FrameComposer {
 public:
  // Makes the background, fill and shadow canvases for width x height; the
  // line's rest frame sits with its top-left at `margin`. False on failure.
  bool prepare(const StyledLine& line, int32_t width, int32_t height, Offset margin = {});

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  // Where the first cell's top-left lies at rest, for the letters and for the shadow.
  Offset textOrigin() const;
  Offset shadowOrigin() const;

  // One frame: a new 24-bit Bitmap, or a 32-bit one whose alpha is the mask
  // when the style asks for it; 0 on failure.
  MemHandle compose(const LetterPainter& paint, const FrameHooks& hooks = {}) const;
  // As compose, over a plain colour instead of the prepared background: two
  // of these (over black and over white) tell what the line adds to any
  // background and how much of it the line hides.
  MemHandle composeOnPlain(const LetterPainter& paint, uint32_t colour, const FrameHooks& hooks = {}) const;

  // For effects whose letters stand still in every frame: paints, softens
  // and outlines them once; compose() with a null painter then reuses them.
  // False on failure (nothing is held then).
  bool holdLetters(const LetterPainter& paint);

  // For effects whose letters mostly rest: the shadow of `paint` (usually
  // the line at rest) is softened once, and each frame's shadow is then
  // softened again only around where it differs from that one, to the same
  // pixels. False on failure (nothing is held then).
  bool holdShadowBaseline(const LetterPainter& paint);

  // For effects that move the whole line rigidly (a scroll) along x, y or
  // both: the line's shadow is softened once, and composeLine() then softens
  // again only the strips along the frame's edges that the motion crosses.
  // False on failure or when the line cannot be held so (nothing is held
  // then; composeLine still works, softening each frame whole, as it does
  // for a motion along an axis not named here).
  bool holdMovingShadow(bool alongX, bool alongY);

  // `line` at rest displaced by `motion` (as composeLineAt).
  MemHandle composeLine(const StyledLine& line, Motion motion) const;

  // The prepared background alone (24-bit), for effects that assemble their
  // frames from pieces; 0 on failure.
  MemHandle background() const;

 private:
  const StyledLine* line_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  Offset margin_;
  MemBlock background_;
  MemBlock fill_;
  MemBlock shadowFill_;

  MemHandle composeOnto(MemBlock frame, const LetterPainter& paint, const FrameHooks& hooks,
                        const Motion* moved = nullptr) const;
  bool shadowMask(const LetterPainter& paint, MaskPlane* out, const Motion* moved = nullptr) const;
  bool letterMasks(const LetterPainter& paint, MaskPlane* letters, MaskPlane* outline) const;
  // The masks holdLetters made: the softened shadow at its opacity, the
  // letters at the fill opacity and their outline.
  bool held_ = false;
  MaskPlane heldShadow_;
  MaskPlane heldLetters_;
  MaskPlane heldOutline_;
  BlurBaseline shadowBaseline_;
  // The line's shadow blurred clear of every edge, its cell top-left at
  // movingAt_ in the shape's plane.
  BlurShape movingShadow_;
  Offset movingAt_;
};

// The finished frame of a line at rest displaced by `motion`, on its rest
// canvas: what "Simple" shows.
MemHandle composeLineAt(const FrameComposer& composer, const StyledLine& line, Motion motion);

}  // namespace gw
