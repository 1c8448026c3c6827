// Where a row of an 8-bit mask holds anything. Padded canvases are mostly
// bare, so bare stretches are passed eight bytes at a time.
#pragma once

#include <cstdint>
#include <cstring>

namespace gw {

// True when the eight bytes from p are all 0.
inline bool bareEight(const uint8_t* p) {
  uint64_t eight;
  std::memcpy(&eight, p, sizeof eight);
  return eight == 0;
}

// The first and last non-zero columns of row[0, w); *first > *last when
// there are none (*first == w, *last == -1).
inline void inkSpan(const uint8_t* row, int32_t w, int32_t* first, int32_t* last) {
  int32_t x = 0;
  while (x + 8 <= w && bareEight(row + x)) x += 8;
  while (x < w && row[x] == 0) ++x;
  *first = x;
  *last = -1;
  if (x == w) return;
  int32_t y = w;
  while (y - 8 > x && bareEight(row + y - 8)) y -= 8;
  do --y;
  while (row[y] == 0);
  *last = y;
}

}  // namespace gw
