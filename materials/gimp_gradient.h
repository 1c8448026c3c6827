// GIMP gradients (".ggr" text files) read, evaluated the way GIMP blends
// them, and turned into a fountain: a ramp of at most 64 straight pieces.
//
//   gw::GimpGradient g;
//   std::string error;
//   if (!gw::parseGimpGradient(text, &g, &error)) ...
//   gw::FountainFit fit = gw::fountainFromGimpGradient(g, record581);
//
// File layout: "GIMP Gradient", an optional "Name: ..." line, the segment
// count, then one line per segment: left middle right (0..1), the left and
// right colours as r g b a (0..1), the blending type (0 linear, 1 curved,
// 2 sine, 3 sphere increasing, 4 sphere decreasing, 5 step), the colour
// model (0 RGB, 1 HSV counter-clockwise, 2 HSV clockwise) and, in newer
// files, two endpoint colour kinds (foreground/background references),
// which are read as the fixed colours stored beside them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "materials/fountain_fit.h"

namespace gw {

struct GimpGradientSegment {
  double left = 0, middle = 0.5, right = 1;
  double leftColour[4] = {0, 0, 0, 1};  // r, g, b, a
  double rightColour[4] = {1, 1, 1, 1};
  int blending = 0;
  int colouring = 0;
};

struct GimpGradient {
  std::string name;
  std::vector<GimpGradientSegment> segments;
};

// More segments than this is not a gradient anyone drew; refused before
// anything is allocated for them.
constexpr size_t kGimpGradientMaxSegments = 4096;

// False with a one-line reason (naming the line) for anything malformed:
// a missing header, a bad count, a short or unreadable segment line,
// positions outside 0..1 or out of order, unknown blending or colouring.
bool parseGimpGradient(const std::string& text, GimpGradient* out, std::string* error);

// The colour at t (0..1) as r, g, b in 0..1 (alpha is not kept).
void gimpGradientColourAt(const GimpGradient& g, double t, double rgb[3]);

// Writes a fountain record (empty preset, flags 0) whose ramp follows the
// gradient: the boundaries between segments are its edges, and markers are
// added where straight pieces stray furthest from the gradient's curves
// (curved, sine, sphere and step blends, HSV colouring, off-centre
// midpoints); see fountainFitSamples.
FountainFit fountainFromGimpGradient(const GimpGradient& g, uint8_t* fountain581);

}  // namespace gw
