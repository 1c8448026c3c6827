#include "effects/mask_plane.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace gw {

bool MaskPlane::allocate(int32_t w, int32_t h) {
  width = height = 0;
  if (w <= 0 || h <= 0 || uint64_t(w) * uint64_t(h) > (uint64_t(1) << 31)) {
    pixels.clear();
    return false;
  }
  try {
    pixels.assign(size_t(w) * size_t(h), 0);
  } catch (const std::bad_alloc&) {
    pixels.clear();
    return false;
  }
  width = w;
  height = h;
  return true;
}

void MaskPlane::clear() {
  if (!pixels.empty()) std::memset(pixels.data(), 0, pixels.size());
}

void maxInto(MaskPlane& dst, const MaskPlane& src, int64_t left, int64_t top) {
  const int64_t x0 = std::max<int64_t>(0, -left);
  const int64_t x1 = std::min<int64_t>(src.width, int64_t(dst.width) - left);
  const int64_t y0 = std::max<int64_t>(0, -top);
  const int64_t y1 = std::min<int64_t>(src.height, int64_t(dst.height) - top);
  for (int64_t y = y0; y < y1; ++y) {
    const uint8_t* s = src.row(int32_t(y));
    uint8_t* d = dst.row(int32_t(top + y)) + left;
    for (int64_t x = x0; x < x1; ++x) d[x] = std::max(d[x], s[x]);
  }
}

void scaleCoverage(MaskPlane& plane, uint8_t intensity) {
  if (intensity == 255) return;
  uint8_t table[256];
  for (unsigned v = 0; v < 256; ++v) table[v] = uint8_t((v * intensity + 127) / 255);
  for (uint8_t& v : plane.pixels) v = table[v];
}

bool outlineOf(const MaskPlane& glyph, MaskPlane* out) {
  const int32_t w = glyph.width, h = glyph.height;
  if (!out->allocate(w, h)) return false;
  // Only the box around the ink and one pixel beyond can hold anything.
  int32_t x0 = w, x1 = -1, y0 = h, y1 = -1;
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* g = glyph.row(y);
    int32_t first = 0;
    while (first < w && g[first] == 0) ++first;
    if (first == w) continue;
    int32_t last = w - 1;
    while (g[last] == 0) --last;
    x0 = std::min(x0, first);
    x1 = std::max(x1, last);
    y0 = std::min(y0, y);
    y1 = y;
  }
  if (x1 < 0) return true;
  x0 = std::max(0, x0 - 1);
  x1 = std::min(w - 1, x1 + 1);
  y0 = std::max(0, y0 - 1);
  y1 = std::min(h - 1, y1 + 1);
  const int32_t bw = x1 - x0 + 1;
  // Horizontal "any covered" of each row first, then three rows of it
  // vertically: a 3 x 3 dilation in two cheap passes.
  std::vector<uint8_t> spread;
  try {
    spread.assign(size_t(bw) * size_t(y1 - y0 + 1), 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  auto spreadRow = [&](int32_t y) { return spread.data() + size_t(y - y0) * size_t(bw); };
  for (int32_t y = y0; y <= y1; ++y) {
    const uint8_t* g = glyph.row(y);
    uint8_t* s = spreadRow(y);
    for (int32_t x = x0; x <= x1; ++x) {
      bool covered = g[x] != 0 || (x > 0 && g[x - 1] != 0) || (x + 1 < w && g[x + 1] != 0);
      s[x - x0] = covered ? 1 : 0;
    }
  }
  for (int32_t y = y0; y <= y1; ++y) {
    const uint8_t* g = glyph.row(y);
    const uint8_t* above = y > y0 ? spreadRow(y - 1) : nullptr;
    const uint8_t* here = spreadRow(y);
    const uint8_t* below = y < y1 ? spreadRow(y + 1) : nullptr;
    uint8_t* o = out->row(y);
    for (int32_t x = x0; x <= x1; ++x) {
      const int32_t i = x - x0;
      if (g[x] != 0) {
        o[x] = uint8_t(255 - g[x]);
      } else {
        bool near = here[i] || (above && above[i]) || (below && below[i]);
        o[x] = near ? 255 : 0;
      }
    }
  }
  return true;
}

}  // namespace gw
