// Single letters placed, turned, scaled, sheared or foreshortened, resampled
// from a supersampled rendering so their edges stay smooth at any angle.
//
//   gw::LetterTransformer shapes;
//   if (!shapes.prepare(line)) return 0;              // each distinct letter once, at S x
//   gw::Projective m = gw::Projective::translate(x, y) * gw::Projective::rotate(a)
//                    * gw::Projective::translate(-pivotX, -pivotY);
//   gw::PlacedLetter placed;
//   if (!shapes.place(i, m, 255, &placed)) return 0;  // m: letter i's cell -> the line's frame
//   gw::stampPlaced(placed, mask, origin);            // same shape for shadow and letters
//
// Coordinates: a letter's cell has its top-left at (0, 0), x to the right and y
// down, in frame pixels; the cell is the letter's advance wide and the line
// high. A placement maps the cell into the line's own space, whose (0, 0) is
// where the first cell's top-left sits at rest (the composer's text or
// shadow origin). A placement that is a whole-pixel shift copies the letter's
// own 1x coverage, so a letter at rest is exactly the letter "Simple" draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "effects/mask_plane.h"
#include "effects/styled_line.h"

namespace gw {

// A plane projective map (x, y) -> ((a x + b y + c) / (g x + h y + i), (d x + e y + f) / (...)).
struct Projective {
  double m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

  static Projective translate(double x, double y);
  static Projective scale(double sx, double sy);
  // Turns clockwise on screen (y points down) by `radians`.
  static Projective rotate(double radians);
  // The map taking the rectangle (x0, y0)-(x1, y1) onto the quadrilateral whose
  // corners, in the order top-left, top-right, bottom-right, bottom-left, are
  // `quad` (x, y pairs). A degenerate quadrilateral gives a map that collapses.
  static Projective rectToQuad(double x0, double y0, double x1, double y1, const double quad[8]);

  Projective operator*(const Projective& o) const;  // this after o
  // False when the point maps to infinity.
  bool apply(double x, double y, double* ox, double* oy) const;
  // False when the map has no inverse.
  bool inverse(Projective* out) const;
};

// One letter after its placement: coverage with its top-left at (left, top)
// in the line's space.
struct PlacedLetter {
  int32_t left = 0;
  int32_t top = 0;
  MaskPlane own;                      // the resampled coverage
  const MaskPlane* shared = nullptr;  // or, for a letter only shifted, the line's own letter

  // Empty when nothing of the letter shows.
  const MaskPlane& mask() const { return shared ? *shared : own; }
};

// The ink box of a letter in its cell, in 1x pixels.
struct CellBox {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

// How many pixels of a mask pass a test, above and left of each corner:
// any box's count in four look-ups.
struct BoxCounts {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<int32_t> before;  // (width + 1) x (height + 1)

  // Counts the pixels whose value passes `test`; false when memory fails.
  template <typename Test>
  bool count(const MaskPlane& mask, Test test);
  bool empty() const { return before.empty(); }
  // The count in the box x0..x1, y0..y1, clipped to the mask.
  int64_t in(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
    x0 = x0 < 0 ? 0 : x0;
    y0 = y0 < 0 ? 0 : y0;
    x1 = x1 < width ? x1 : width - 1;
    y1 = y1 < height ? y1 : height - 1;
    if (x0 > x1 || y0 > y1 || before.empty()) return 0;
    const auto w = size_t(width) + 1;
    auto at = [&](int32_t x, int32_t y) { return int64_t(before[size_t(y) * w + size_t(x)]); };
    return at(x1 + 1, y1 + 1) - at(x0, y1 + 1) - at(x1 + 1, y0) + at(x0, y0);
  }
};

class LetterTransformer {
 public:
  // Notes each distinct letter of the line; the first map that is more than
  // a whole-pixel shift renders it once more at a supersampled size (up to
  // 4x, less for very large fonts so memory stays bounded), so effects that
  // only shift letters never pay for it. False when memory fails.
  bool prepare(const StyledLine& line);
  // Renders every distinct letter's supersampled shape now rather than on
  // first use; afterwards place() writes nothing, so several threads may
  // place letters at once. False when memory fails.
  bool renderAll();

  size_t count() const { return index_.size(); }
  int32_t factor() const { return factor_; }
  // The cell's size: letter i's advance by the line height.
  double cellWidth(size_t i) const;
  double cellHeight() const;
  // The ink of letter i; an empty box for a blank.
  CellBox inkBox(size_t i) const;

  // Letter i mapped by `toLine` (its cell to the line's space), its coverage
  // scaled by intensity / 255. Whole-pixel shifts at full intensity refer to
  // the 1x letter (valid while the line lives); other
  // maps sample the supersampled letter on a 2 x 2 grid per pixel, each sample
  // bilinear. A map that collapses the letter, sends part of it to infinity
  // or would reach beyond `limit` pixels of the line's origin leaves it empty
  // (nothing shows), so a wild map cannot ask for a huge plane. False only
  // when memory fails.
  bool place(size_t i, const Projective& toLine, uint8_t intensity, PlacedLetter* out,
             int64_t limit = int64_t(1) << 15) const;

 private:
  struct Shape {
    size_t letter = 0;  // a letter of the line that has this shape
    bool rendered = false;
    int32_t left = 0;   // in supersampled pixels from the pen / the cell top
    int32_t top = 0;
    MaskPlane mask;
    // The mask's inked and its fully covered pixels, counted per box.
    BoxCounts inked;
    BoxCounts full;
  };
  // The supersampled shape `shape`, rendered on first use; null on failure.
  const Shape* supersampled(size_t shape) const;

  const StyledLine* line_ = nullptr;
  int32_t factor_ = 1;
  mutable RasteriserFont big_;        // the line's font at factor_ times its height
  mutable std::vector<Shape> shapes_; // one per distinct letter
  std::vector<size_t> index_;         // letter -> its shape
};

// Draws a placed letter into `mask` with the line's origin at `origin`,
// keeping the larger coverage.
void stampPlaced(const PlacedLetter& letter, MaskPlane& mask, Offset origin);

// The ring around the coverage, `thickness` pixels wide (1 to 64), and the
// coverage's inner fade (as the composer's outline), put in place of the
// coverage itself: a letter drawn as its outline only. One pixel wide it is
// exactly the composer's outline. The plane grows by `thickness` pixels on
// every side. False when memory fails.
bool outlineOnly(PlacedLetter* letter, int32_t thickness = 1);

}  // namespace gw
