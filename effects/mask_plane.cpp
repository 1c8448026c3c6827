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
  // Each row's ink, so the passes below visit only the columns within a
  // pixel of it (a wave of letters leaves most of its box bare).
  std::vector<int32_t> firsts, lasts;
  std::vector<uint8_t> spread;
  try {
    firsts.assign(size_t(h), w);
    lasts.assign(size_t(h), -1);
    spread.assign(size_t(w) * size_t(h), 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* g = glyph.row(y);
    int32_t first = 0;
    while (first < w && g[first] == 0) ++first;
    if (first == w) continue;
    int32_t last = w - 1;
    while (g[last] == 0) --last;
    firsts[size_t(y)] = first;
    lasts[size_t(y)] = last;
  }
  // Horizontal "any covered" of each row first, then three rows of it
  // vertically: a 3 x 3 dilation in two cheap passes.
  auto spreadRow = [&](int32_t y) { return spread.data() + size_t(y) * size_t(w); };
  for (int32_t y = 0; y < h; ++y) {
    if (lasts[size_t(y)] < 0) continue;
    const uint8_t* g = glyph.row(y);
    uint8_t* s = spreadRow(y);
    const int32_t from = std::max(0, firsts[size_t(y)] - 1), to = std::min(w - 1, lasts[size_t(y)] + 1);
    for (int32_t x = from; x <= to; ++x) {
      bool covered = g[x] != 0 || (x > 0 && g[x - 1] != 0) || (x + 1 < w && g[x + 1] != 0);
      s[x] = covered ? 1 : 0;
    }
  }
  for (int32_t y = 0; y < h; ++y) {
    int32_t from = w, to = -1;
    for (int32_t j = std::max(0, y - 1); j <= std::min(h - 1, y + 1); ++j) {
      if (lasts[size_t(j)] < 0) continue;
      from = std::min(from, firsts[size_t(j)] - 1);
      to = std::max(to, lasts[size_t(j)] + 1);
    }
    from = std::max(from, 0);
    to = std::min(to, w - 1);
    const uint8_t* g = glyph.row(y);
    const uint8_t* above = y > 0 ? spreadRow(y - 1) : nullptr;
    const uint8_t* here = spreadRow(y);
    const uint8_t* below = y + 1 < h ? spreadRow(y + 1) : nullptr;
    uint8_t* o = out->row(y);
    for (int32_t x = from; x <= to; ++x) {
      if (g[x] != 0) {
        o[x] = uint8_t(255 - g[x]);
      } else {
        bool near = here[x] || (above && above[x]) || (below && below[x]);
        o[x] = near ? 255 : 0;
      }
    }
  }
  return true;
}

}  // namespace gw
