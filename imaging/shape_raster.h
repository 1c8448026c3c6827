// Filled shapes with GDI's pixel rules and no outline: what Polygon, Ellipse
// and Rectangle draw with the null pen on a device-independent bitmap. Our
// own rasteriser keeps gradients identical on every platform; the Windows
// test suite compares it pixel for pixel against GDI.
//
//   gw::MemLock lock(bmp);
//   gw::BitmapView view = gw::BitmapView::of(lock);
//   gw::ShapePoint tri[3] = {{1, 1}, {15, 4}, {5, 12}};
//   gw::fillPolygon(view, tri, 3, 0x0000FF);
//   gw::fillEllipse(view, 2, 2, 12, 9, 0x00FF00);
//
// The rules, with pixel (x, y) sampled at the integer point (x, y):
//   polygon    alternate (even-odd) fill; a pixel is inside when its point
//              lies on or right of a left edge and strictly left of a right
//              edge, on rows from an edge's top end up to, not including,
//              its bottom end. So the right and bottom edges stay unpainted.
//   rectangle  the corners are put in order; columns left .. right - 2 and
//              rows top .. bottom - 2 are filled (the null pen makes GDI's
//              rectangle one pixel smaller than its bounds).
//   ellipse    the ellipse inscribed in [left, right) x [top, bottom), one
//              span per row; bounds of 2 pixels or less fill as a rectangle.
// Everything outside the bitmap is clipped. Coordinates are limited to
// +-2^27, the device range GDI itself accepts; points beyond are clamped. An
// ellipse wider or taller than 2^20 pixels (16 times the largest bitmap) is
// not drawn: its integer walk would leave 64 bits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/bitmap.h"

namespace gw {

struct ShapePoint {
  int32_t x = 0;
  int32_t y = 0;
};

// Receives the filled spans [x0, x1) of row y, already clipped to the
// bitmap's width and height. Spans arrive in row order.
class SpanSink {
 public:
  virtual ~SpanSink() = default;
  virtual void span(int32_t y, int32_t x0, int32_t x1) = 0;
};

// Span generators: the exact pixels each shape covers within a
// clipWidth x clipHeight area.
void polygonSpans(const ShapePoint* points, size_t count, int32_t clipWidth, int32_t clipHeight,
                  SpanSink& sink);
void ellipseSpans(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t clipWidth,
                  int32_t clipHeight, SpanSink& sink);
void rectangleSpans(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t clipWidth,
                    int32_t clipHeight, SpanSink& sink);

// Paints the shape in a colour 0x00BBGGRR (or a palette index for bitmaps of
// 8 bits and below). An invalid view is left alone.
void fillPolygon(const BitmapView& view, const ShapePoint* points, size_t count, uint32_t colour);
void fillEllipse(const BitmapView& view, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 uint32_t colour);
void fillRectangle(const BitmapView& view, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   uint32_t colour);

// Paints [x0, x1) of row y (clipped to the bitmap).
void fillSpan(const BitmapView& view, int32_t y, int32_t x0, int32_t x1, uint32_t colour);

}  // namespace gw
