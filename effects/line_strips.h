// The styled line cut into pieces (leaves, bands, bars) that travel into
// place. The rest frame is composed once; what the line adds to the
// background (its letters, outline and shadow) is kept as colour and
// coverage, so a piece carries its outline and shadow with it and can be laid
// over the background anywhere. A piece laid at its own place copies the rest
// frame's pixels, so the assembled line is the rest frame exactly, seamless.
//
//   gw::LineLayer layer;
//   if (!gw::prepareLineLayer(line, composer, &layer)) return 0;  // composer at rest size
//   gw::PieceCanvas canvas;
//   if (!canvas.start(layer)) return 0;                 // the background alone
//   canvas.lay({0, 0, 10, layer.height}, 0, -7);        // a leaf 7 pixels above its place
//   gw::MemBlock frame(canvas.finish());
#pragma once

#include <cstdint>
#include <vector>

#include "effects/frame_composer.h"
#include "effects/mask_plane.h"
#include "effects/styled_line.h"
#include "platform/memory.h"

namespace gw {

// A 24-bit (or, with `alpha`, 32-bit) Bitmap of BGR rows; 0 on failure.
MemHandle bitmapFromPixels(const std::vector<uint8_t>& bgr, int32_t width, int32_t height, const MaskPlane* alpha);

struct LineLayer {
  int32_t width = 0;
  int32_t height = 0;
  bool alphaMask = false;           // frames carry an alpha channel
  std::vector<uint8_t> rest;        // the rest frame, 3 bytes (B, G, R) a pixel, top row first
  std::vector<uint8_t> background;  // the background alone, as `rest`
  std::vector<uint8_t> ink;         // what the line adds, premultiplied by its cover
  MaskPlane cover;                  // how much of the background the line hides
  MaskPlane alpha;                  // the rest frame's alpha output (empty without one)
};

// Composes the rest frame, the background and the line over black and white
// through `composer` (prepared for the frame size, the line's rest frame at
// its margin). False when memory fails.
bool prepareLineLayer(const StyledLine& line, const FrameComposer& composer, LineLayer* out);

// The line, its composer and its layer at the rest frame's size, made once
// per build.
struct RestLine {
  StyledLine line;
  FrameComposer composer;
  LineLayer layer;
  bool prepare(const TextStyle& style);
  int32_t width() const { return layer.width; }
  int32_t height() const { return layer.height; }
  // The rest frame itself (what the preview shows); 0 on failure.
  MemHandle restFrame() const { return bitmapFromPixels(layer.rest, layer.width, layer.height, layer.alphaMask ? &layer.alpha : nullptr); }
};

// A rectangle of the rest frame: columns x0..x1-1, rows y0..y1-1.
struct PieceRect {
  int32_t x0 = 0;
  int32_t y0 = 0;
  int32_t x1 = 0;
  int32_t y1 = 0;
};

// Light on the edge a moving piece leads with, shade on the one it trails,
// fading over `size` pixels; (dirX, dirY) is where the piece is heading.
struct Bevel {
  int32_t size = 0;
  int32_t dirX = 0;
  int32_t dirY = 0;
};

// One frame being assembled from pieces.
class PieceCanvas {
 public:
  // The background alone, no alpha. False when memory fails.
  bool start(const LineLayer& layer);
  // Lays the line inside `piece` moved by (dx, dy), clipped to the frame. At
  // (0, 0) without a bevel the rest frame's pixels are copied, replacing what
  // lies there, so lay resting pieces before moving ones.
  void lay(const PieceRect& piece, int32_t dx, int32_t dy, const Bevel& bevel = {});
  // The frame: 24-bit, or 32-bit with the alpha channel; 0 on failure.
  MemHandle finish() const;

  std::vector<uint8_t>& pixels() { return pixels_; }
  MaskPlane& alpha() { return alpha_; }

 private:
  const LineLayer* layer_ = nullptr;
  std::vector<uint8_t> pixels_;
  MaskPlane alpha_;
};


}  // namespace gw
