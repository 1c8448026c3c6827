// The unchanged-pixel masks of supercompression, frame against screen.
#include <gtest/gtest.h>

#include "host/supercompression.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

struct Picture {
  MemBlock block;
  MemLock lock;
  BitmapView view;
  Picture(int32_t w, int32_t h, uint32_t colour)
      : block(bitmapCreateTrueColour(w, h, 24)), lock(block.get()), view(BitmapView::of(lock)) {
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) view.setPixel(x, y, colour);
  }
  explicit Picture(MemHandle h) : block(h), lock(h), view(BitmapView::of(lock)) {}
};

// Frames of other sizes than the screen: the mask always has the screen's
// size; where the frame does not reach, the screen stays as it is.
TEST(Supercompression, MaskHasTheScreensSize) {
  struct Case {
    int32_t w, h;
  } cases[] = {{6, 4}, {3, 2}, {9, 7}, {8, 2}};
  for (const Case& c : cases) {
    Picture screen(6, 4, 0x808080);
    Picture frame(c.w, c.h, 0x808080);
    frame.view.setPixel(1, 1, 0x0000FF);
    Picture mask(unchangedMask(frame.view, screen.view));
    ASSERT_TRUE(mask.view.valid()) << c.w << "x" << c.h;
    EXPECT_EQ(mask.view.width(), 6);
    EXPECT_EQ(mask.view.height(), 4);
    EXPECT_EQ(mask.view.bits(), 1);
    for (int32_t y = 0; y < 4; ++y)
      for (int32_t x = 0; x < 6; ++x) {
        const bool changed = x == 1 && y == 1;
        EXPECT_EQ(mask.view.getPixel(x, y), changed ? 0 : 1) << x << "," << y << " of " << c.w << "x" << c.h;
        EXPECT_EQ(screen.view.getPixel(x, y), changed ? 0x0000FF : 0x808080);
      }
  }
}

}  // namespace
}  // namespace gw
