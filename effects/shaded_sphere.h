// A ball lit from the upper left, painted anti-aliased at any sub-pixel
// centre: its own colour where the light falls, darker toward the far side,
// and a white glare near the top left. Candies, network nodes and the beads
// riding a wave are all such balls.
//
//   gw::SphereLook look;
//   look.colour = 0x0000FF;   // red, 0x00BBGGRR
//   look.shade = 70;          // 0 flat, 255 the unlit side black
//   look.glare = 160;         // 0 none, 255 a full white highlight
//   gw::paintShadedSphere(layer, 40.5, 20.0, 9.0, look);
//
// Pixel (x, y) covers [x, x + 1) x [y, y + 1); a centre of (x + 0.5, y + 0.5)
// sits on that pixel's middle.
#pragma once

#include <cstdint>

#include "effects/frame_composer.h"

namespace gw {

struct SphereLook {
  uint32_t colour = 0xFFFFFF;  // 0x00BBGGRR
  uint8_t shade = 70;          // how much darker the side turned from the light gets
  uint8_t glare = 160;         // strength of the highlight
  uint8_t glow = 0;            // lifts the whole ball toward white (a lit node)
};

// The ball's colour (0x00BBGGRR) at (u, v) of its disc, u to the right and v
// down, both -1..1; points outside the disc take the colour of its rim.
uint32_t sphereColourAt(const SphereLook& look, double u, double v);

// Paints the ball centred at (cx, cy) with `radius` pixels onto the layer's
// canvas at `opacity`, raising the layer's alpha where it covers. The rim
// fades over `edge` pixels (1 is plain anti-aliasing; more softens it).
// Parts outside the canvas are clipped; a radius that is not positive or
// not finite paints nothing.
void paintShadedSphere(FrameLayer& layer, double cx, double cy, double radius, const SphereLook& look,
                       double edge = 1.0, uint8_t opacity = 255);

}  // namespace gw
