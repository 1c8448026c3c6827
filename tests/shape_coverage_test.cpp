// Painting a stack of shapes last-first on free pixels only must give the
// picture of painting them first-to-last over each other.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/bitmap.h"
#include "imaging/shape_raster.h"
#include "imaging/span_coverage.h"

namespace gw {
namespace {

TEST(ShapeCoverageTest, BackToFrontEqualsPainterOrder) {
  const int32_t w = 73, h = 41;
  uint32_t state = 99;
  auto next = [&state](int lo, int hi) {
    state = state * 1664525u + 1013904223u;
    return lo + int((state >> 8) % uint32_t(hi - lo + 1));
  };
  for (int trial = 0; trial < 50; ++trial) {
    const int count = next(1, 40);
    int32_t shapes[40][5];
    for (int i = 0; i < count; ++i) {
      shapes[i][0] = next(-30, w);
      shapes[i][1] = next(-30, h);
      shapes[i][2] = shapes[i][0] + next(0, 90);
      shapes[i][3] = shapes[i][1] + next(0, 60);
      shapes[i][4] = next(0, 1);  // ellipse or rectangle
    }
    MemBlock a(bitmapCreateTrueColour(w, h, 24)), b(bitmapCreateTrueColour(w, h, 24));
    MemLock la(a.get()), lb(b.get());
    BitmapView painter = BitmapView::of(la), covered = BitmapView::of(lb);
    for (int i = 0; i < count; ++i) {
      const uint32_t colour = 0x010203u * uint32_t(i + 1);
      if (shapes[i][4]) fillRectangle(painter, shapes[i][0], shapes[i][1], shapes[i][2], shapes[i][3], colour);
      else fillEllipse(painter, shapes[i][0], shapes[i][1], shapes[i][2], shapes[i][3], colour);
    }
    bool ok = false;
    SpanCoverage cover(covered, &ok);
    ASSERT_TRUE(ok);
    for (int i = count - 1; i >= 0; --i) {
      cover.setColour(0x010203u * uint32_t(i + 1));
      if (shapes[i][4]) rectangleSpans(shapes[i][0], shapes[i][1], shapes[i][2], shapes[i][3], w, h, cover);
      else ellipseSpans(shapes[i][0], shapes[i][1], shapes[i][2], shapes[i][3], w, h, cover);
    }
    ASSERT_TRUE(cover.ok());
    for (int32_t y = 0; y < h; ++y)
      ASSERT_EQ(std::memcmp(painter.row(y), covered.row(y), size_t(w) * 3), 0) << "trial " << trial << " row " << y;
  }
}

}  // namespace
}  // namespace gw
