// Painting objects onto a frame: a shape's coverage in a colour, and soft
// shadows gathered from many objects and softened once per frame. Painting
// raises the layer's alpha where it covers, so an alpha output keeps the
// objects as well as the letters.
//
//   gw::ObjectShadows shadows;
//   if (!shadows.begin(layer.canvas.width(), layer.canvas.height())) return false;
//   shadows.add(cover, 3, 3, 200);                     // offset and strength
//   if (!shadows.paint(layer, 0x4C4C4C, softness)) return false;
//   gw::paintCoverage(layer, cover, colour, opacity);  // the object above it
#pragma once

#include <cstdint>
#include <vector>

#include "effects/aa_shapes.h"
#include "effects/frame_composer.h"
#include "effects/mask_plane.h"
#include "platform/dialog_facade.h"

namespace gw {

// Blends `colour` (0x00BBGGRR) into the canvas under the coverage at
// `opacity`; the alpha (if any) rises to cover it as well.
void paintCoverage(FrameLayer& layer, const ShapeCoverage& cover, uint32_t colour, uint8_t opacity = 255);

// Like paintCoverage, the colour scaled toward black by `light` (255 keeps it).
uint32_t dimmed(uint32_t colour, double light);
// The colour moved toward `other` by `amount` (0..1).
uint32_t mixed(uint32_t colour, uint32_t other, double amount);

// Softens a plane with the soft-shadow law of the letters (a Gaussian of
// (softness + 2) / 10 pixels; 0 leaves it as it is), keeping only the taps
// that matter so small softness costs little. False when memory fails.
bool softenPlane(MaskPlane& plane, int32_t softness);

// Blurs one object's coverage by a Gaussian of `sigma` pixels, growing its
// box so nothing is cut; sigma at or below 0.05 leaves it. False when memory fails.
bool blurCoverage(ShapeCoverage& cover, double sigma);

// The shadows of one frame's objects: gathered, softened together, painted.
class ObjectShadows {
 public:
  bool begin(int32_t width, int32_t height);
  // The object's coverage moved by (dx, dy), at `strength` (0..255).
  void add(const ShapeCoverage& cover, int32_t dx, int32_t dy, uint8_t strength = 255);
  bool empty() const { return !any_; }
  const MaskPlane& plane() const { return plane_; }
  // Softens and paints the gathered shadows in `colour`; false on memory failure.
  bool paint(FrameLayer& layer, uint32_t colour, int32_t softness);

 private:
  MaskPlane plane_;
  bool any_ = false;
};

// The colours of a page's colour 1..5 buttons that are in use: colour 1
// always, colour k only while its switch is on. The buttons follow one
// pattern on every page: colour 1 at `firstId`, colour k at firstId + 2(k-1)
// with its switch right after it.
std::vector<uint32_t> readObjectColours(const DialogFacade& dialog, uint32_t firstId);

}  // namespace gw
