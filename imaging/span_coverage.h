// Paints shapes front to back: each row remembers which columns are already
// painted, and a new span only paints the columns still free. Drawing a
// stack of overlapping shapes last-first this way gives the same picture as
// painting them first-to-last over each other, but touches every pixel
// once, so hundreds of concentric rings cost about as much as one fill.
//
//   gw::SpanCoverage cover(view, ok);
//   for (ring = last; ring >= 0; --ring) {
//     cover.setColour(colourOf(ring));
//     gw::ellipseSpans(l, t, r, b, view.width(), view.height(), cover);
//   }
#pragma once

#include <cstdint>
#include <memory>

#include "platform/bitmap.h"
#include "imaging/shape_raster.h"

namespace gw {

class SpanCoverage : public SpanSink {
 public:
  // `ok` turns false when the per-row bookkeeping cannot be allocated.
  SpanCoverage(const BitmapView& view, bool* ok);
  ~SpanCoverage() override;
  SpanCoverage(const SpanCoverage&) = delete;
  SpanCoverage& operator=(const SpanCoverage&) = delete;

  void setColour(uint32_t colour) { colour_ = colour; }
  // Paints the free columns of [x0, x1) on row y and marks them painted.
  void span(int32_t y, int32_t x0, int32_t x1) override;
  // False once a row's bookkeeping could not grow (the picture is then
  // incomplete and must be discarded).
  bool ok() const { return ok_; }

 private:
  struct Row {
    int32_t* bounds = nullptr;  // sorted disjoint painted intervals: begin, end, ...
    int32_t count = 0;          // intervals
    int32_t capacity = 0;
  };
  bool reserve(Row& row, int32_t intervals);

  const BitmapView& view_;
  std::unique_ptr<Row[]> rows_;
  uint32_t colour_ = 0;
  bool ok_ = true;
};

}  // namespace gw
