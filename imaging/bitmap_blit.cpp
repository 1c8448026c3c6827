#include "imaging/bitmap_blit.h"

#include <algorithm>
#include <cstring>

namespace gw {

void blitTrueColour(const BitmapView& dst, const BitmapView& src, int32_t srcX, int32_t srcY,
                    int32_t dstX, int32_t dstY, int32_t w, int32_t h) {
  if (!dst.valid() || !src.valid() || dst.bits() != 24 || src.bits() != 24) return;
  // Clip in 64 bits so offsets near the 32-bit limits cannot wrap.
  int64_t sx = srcX, sy = srcY, dx = dstX, dy = dstY, cw = w, ch = h;
  auto clipLow = [&](int64_t& a, int64_t& b, int64_t& len) {
    int64_t cut = std::max<int64_t>({0, -a, -b});
    a += cut;
    b += cut;
    len -= cut;
  };
  clipLow(sx, dx, cw);
  clipLow(sy, dy, ch);
  cw = std::min({cw, int64_t(src.width()) - sx, int64_t(dst.width()) - dx});
  ch = std::min({ch, int64_t(src.height()) - sy, int64_t(dst.height()) - dy});
  if (cw <= 0 || ch <= 0) return;
  for (int64_t row = 0; row < ch; ++row) {
    const uint8_t* from = src.row(int32_t(sy + row)) + size_t(sx) * 3;
    uint8_t* to = dst.row(int32_t(dy + row)) + size_t(dx) * 3;
    std::memmove(to, from, size_t(cw) * 3);
  }
}

}  // namespace gw
