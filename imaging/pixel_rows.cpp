#include "imaging/pixel_rows.h"

#include <cstddef>

namespace gw {

void rgbRowToBgr(uint8_t* dst, const uint8_t* src, int32_t width) {
  for (int32_t x = 0; x < width; ++x) {
    dst[x * 3 + 0] = src[x * 3 + 2];
    dst[x * 3 + 1] = src[x * 3 + 1];
    dst[x * 3 + 2] = src[x * 3 + 0];
  }
}

void bgraRowToBgr(uint8_t* dst, const uint8_t* src, int32_t width) {
  for (int32_t x = 0; x < width; ++x) {
    dst[x * 3 + 0] = src[x * 4 + 0];
    dst[x * 3 + 1] = src[x * 4 + 1];
    dst[x * 3 + 2] = src[x * 4 + 2];
  }
}

void indexedRowToBgr(uint8_t* dst, const uint8_t* src, int bits, const uint8_t* table, int32_t width) {
  const uint32_t mask = (1u << bits) - 1;
  for (int32_t x = 0; x < width; ++x) {
    const size_t bit = size_t(x) * size_t(bits);
    const uint8_t* e = table + size_t((src[bit / 8] >> (8 - bits - bit % 8)) & mask) * 4;
    dst[x * 3 + 0] = e[0];
    dst[x * 3 + 1] = e[1];
    dst[x * 3 + 2] = e[2];
  }
}

}  // namespace gw
