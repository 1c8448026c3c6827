#include "imaging/palette_order.h"

#include <algorithm>
#include <cstring>

namespace gw {

void orderPalette(uint8_t* palette768, int count) {
  if (!palette768) return;
  if (count > 256) count = 256;
  if (count < 2) return;
  uint8_t order[256];
  for (int i = 0; i < count; ++i) order[i] = uint8_t(i);
  auto lumaOf = [&](int i) {
    const uint8_t* p = palette768 + i * 3;
    return 299 * p[0] + 587 * p[1] + 114 * p[2];
  };
  // Equal entries keep their relative order (the index breaks the last tie).
  std::sort(order, order + count, [&](uint8_t a, uint8_t b) {
    int la = lumaOf(a), lb = lumaOf(b);
    if (la != lb) return la < lb;
    int c = std::memcmp(palette768 + a * 3, palette768 + b * 3, 3);
    return c != 0 ? c < 0 : a < b;
  });
  uint8_t sorted[768];
  for (int i = 0; i < count; ++i) std::memcpy(sorted + i * 3, palette768 + order[i] * 3, 3);
  std::memcpy(palette768, sorted, size_t(count) * 3);
}

}  // namespace gw
