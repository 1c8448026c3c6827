// Anti-aliased shapes as coverage: each pixel gets the share of its area the
// shape covers, computed exactly from the outline (no sampling grid), so an
// object moving by a fraction of a pixel moves smoothly. Deterministic and
// free of platform drawing calls.
//
//   gw::ShapePath path;
//   gw::addStar(path, {40.5, 20.0}, 12.0, 5.0, 5, 0.0);   // five points
//   gw::addStroke(path, {0, 0}, {30, 8}, 2.0);            // a line 2 px thick
//   gw::ShapeCoverage cover;
//   if (!gw::rasterise(path, &cover)) return false;       // memory
//   // cover.mask holds 0..255 with its top-left at (cover.left, cover.top)
//
// A path is any number of closed polygons; their union is drawn, whichever
// way round each was given. Pixel (x, y) covers [x, x + 1) x [y, y + 1).
#pragma once

#include <cstdint>
#include <vector>

#include "effects/mask_plane.h"

namespace gw {

struct Point2 {
  double x = 0.0;
  double y = 0.0;
};

struct ShapePath {
  std::vector<std::vector<Point2>> polygons;
  void clear() { polygons.clear(); }
  bool empty() const { return polygons.empty(); }
};

// The shape's coverage over its bounding pixels.
struct ShapeCoverage {
  int32_t left = 0;
  int32_t top = 0;
  MaskPlane mask;  // empty when the shape covers nothing
};

// A closed polygon (at least three points; fewer are ignored).
void addPolygon(ShapePath& path, std::vector<Point2> points);

// A rectangle w x h centred at `centre`, turned by `angle` radians (clockwise
// on screen, as y grows downward).
void addRectangle(ShapePath& path, Point2 centre, double w, double h, double angle);

// A star of `points` tips on a circle of radius `outer`, the notches between
// them at radius `inner`; the first tip points up when `angle` is 0.
void addStar(ShapePath& path, Point2 centre, double outer, double inner, int points, double angle);

// A disc as a polygon fine enough that no pixel can tell.
void addDisc(ShapePath& path, Point2 centre, double radius);

// A straight stroke from a to b, `width` thick, its ends cut square.
void addStroke(ShapePath& path, Point2 a, Point2 b, double width);

// A six-armed snowflake of `radius`: each arm a stroke with two pairs of
// side branches, turned by `angle` radians; `width` is the arms' thickness.
void addFlake(ShapePath& path, Point2 centre, double radius, double width, double angle);

// An arrow `length` long from its tail to its tip, pointing along `angle`
// radians (0 is to the right, π/2 down): a shaft `shaft` thick and a head
// `head` wide whose length is a third of the arrow's.
void addArrow(ShapePath& path, Point2 tip, double length, double shaft, double head, double angle);

// The coverage of the path clipped to [0, width) x [0, height) — pass a
// canvas's size, or 0 for no clipping — into `out`. False only when memory
// fails or the shape's extent is out of all reason; an empty path, or one
// wholly outside, gives an empty mask and true.
bool rasterise(const ShapePath& path, ShapeCoverage* out, int32_t clipWidth = 0, int32_t clipHeight = 0);

}  // namespace gw
