#include "effects/mask_plane.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "effects/ink_span.h"

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
  // 0 stays 0: bare stretches are passed eight at a time.
  uint8_t* p = plane.pixels.data();
  const size_t n = plane.pixels.size();
  for (size_t i = 0; i < n;) {
    if (i + 8 <= n && bareEight(p + i)) {
      i += 8;
      continue;
    }
    p[i] = table[p[i]];
    ++i;
  }
}

bool outlineOf(const MaskPlane& glyph, MaskPlane* out) {
  const int32_t w = glyph.width, h = glyph.height;
  if (!out->allocate(w, h)) return false;
  // Each row's ink, so the passes below visit only the columns within a
  // pixel of it (a wave of letters leaves most of its box bare).
  std::vector<int32_t> firsts, lasts;
  // The horizontal "any covered" of three rows at a time, row y in slot
  // y % 3; each slot remembers the columns it last wrote.
  std::vector<uint8_t> spread;
  int32_t written[3][2] = {{0, -1}, {0, -1}, {0, -1}};
  try {
    firsts.assign(size_t(h), w);
    lasts.assign(size_t(h), -1);
    spread.assign(size_t(w) * 3, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int32_t y = 0; y < h; ++y) inkSpan(glyph.row(y), w, &firsts[size_t(y)], &lasts[size_t(y)]);
  auto spreadRow = [&](int32_t y) { return spread.data() + size_t(y % 3) * size_t(w); };
  // Fills row y's slot; null when the row holds no ink (all 0).
  auto makeSpread = [&](int32_t y) -> const uint8_t* {
    if (y < 0 || y >= h || lasts[size_t(y)] < 0) return nullptr;
    uint8_t* s = spreadRow(y);
    int32_t* done = written[y % 3];
    if (done[0] <= done[1]) std::memset(s + done[0], 0, size_t(done[1] - done[0] + 1));
    const uint8_t* g = glyph.row(y);
    const int32_t from = std::max(0, firsts[size_t(y)] - 1), to = std::min(w - 1, lasts[size_t(y)] + 1);
    for (int32_t x = from; x <= to; ++x) {
      bool covered = g[x] != 0 || (x > 0 && g[x - 1] != 0) || (x + 1 < w && g[x + 1] != 0);
      s[x] = covered ? 1 : 0;
    }
    done[0] = from;
    done[1] = to;
    return s;
  };
  // Then three rows of it vertically: a 3 x 3 dilation in two cheap passes.
  const uint8_t* above = nullptr;
  const uint8_t* here = makeSpread(0);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* below = makeSpread(y + 1);
    int32_t from = w, to = -1;
    for (int32_t j = std::max(0, y - 1); j <= std::min(h - 1, y + 1); ++j) {
      if (lasts[size_t(j)] < 0) continue;
      from = std::min(from, firsts[size_t(j)] - 1);
      to = std::max(to, lasts[size_t(j)] + 1);
    }
    from = std::max(from, 0);
    to = std::min(to, w - 1);
    const uint8_t* g = glyph.row(y);
    uint8_t* o = out->row(y);
    for (int32_t x = from; x <= to; ++x) {
      if (g[x] != 0) {
        o[x] = uint8_t(255 - g[x]);
      } else {
        bool near = (here && here[x]) || (above && above[x]) || (below && below[x]);
        o[x] = near ? 255 : 0;
      }
    }
    above = here;
    here = below;
  }
  return true;
}

}  // namespace gw
