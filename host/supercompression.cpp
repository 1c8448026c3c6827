#include "host/supercompression.h"

#include <algorithm>

namespace gw {

MemHandle unchangedMask(const BitmapView& frame, const BitmapView& screen) {
  static const uint8_t kBlackAndWhite[6] = {0, 0, 0, 255, 255, 255};
  if (!frame.valid() || !screen.valid()) return 0;
  MemBlock mask(bitmapCreateWithPalette(screen.width(), screen.height(), kBlackAndWhite, 1));
  MemLock maskLock(mask.get());
  BitmapView m = BitmapView::of(maskLock);
  if (!m.valid()) return 0;
  const int32_t w = std::min(frame.width(), screen.width()), h = std::min(frame.height(), screen.height());
  for (int32_t y = 0; y < screen.height(); ++y) {
    for (int32_t x = 0; x < screen.width(); ++x) {
      if (x >= w || y >= h) {
        m.setPixel(x, y, 1);  // the frame does not reach here: the screen stays
        continue;
      }
      int64_t now = frame.getPixel(x, y);
      if (now != screen.getPixel(x, y)) {
        screen.setPixel(x, y, uint32_t(now));
        m.setPixel(x, y, 0);
      } else {
        m.setPixel(x, y, 1);
      }
    }
  }
  return mask.release();
}

}  // namespace gw
