#include "imaging/remap.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "imaging/packed_frame.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

struct Background {
  bool active = false;
  uint32_t colour = 0;
  uint8_t index = 0;
};

Background backgroundOf(const RemapOptions& o) {
  Background bg;
  if (o.backgroundColour >= 0 && o.backgroundColour <= 0xFFFFFF && o.backgroundIndex >= 0 &&
      o.backgroundIndex <= 255) {
    bg.active = true;
    bg.colour = uint32_t(o.backgroundColour);
    bg.index = uint8_t(o.backgroundIndex);
  }
  return bg;
}

inline uint32_t colourAt(const uint8_t* p) {
  return uint32_t(p[2]) | (uint32_t(p[1]) << 8) | (uint32_t(p[0]) << 16);
}

inline int clampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Whether the colour cache pays, judged row by row. Rendered text meets a few
// thousand colours again and again, and the cache answers nearly all of
// them; noisy textures give almost every pixel a colour of its own, and
// there looking each one up first costs about a fifth of the search it
// seldom saves. A row with the cache on counts its hits; below a quarter of
// its searches the following rows go without, except every 16th, which
// looks again (the picture may change further down).
class CacheUse {
 public:
  bool on(int32_t y) const { return on_ || y % 16 == 0; }
  void rowDone(uint32_t searches, uint32_t hits) {
    if (searches >= 16) on_ = hits * 4 >= searches;
  }

 private:
  bool on_ = true;
};

// One row of nearest-colour remapping, compiled once per kind of search so
// the per-pixel loop carries no test that is the same for the whole row.
// `background` is 0xFFFFFFFF (no colour) when there is no substitution.
template <bool kFast, bool kCached>
void remapRow(const uint8_t* s, int step, int32_t w, uint8_t* d, ColourSearch& search, uint32_t background,
              uint8_t backgroundIndex, uint32_t& searches, uint32_t& hits) {
  uint32_t previous = 0xFFFFFFFF;  // no colour
  uint8_t previousIndex = 0;
  for (int32_t x = 0; x < w; ++x, s += step) {
    const uint32_t c = colourAt(s);
    if (c != previous) {
      previous = c;
      if (c == background) {
        previousIndex = backgroundIndex;
      } else if (kFast) {
        previousIndex = uint8_t(search.nearestFast(s[2], s[1], s[0]));
      } else {
        // No guess from the previous pixel here: runs of one colour are
        // skipped already, and on noisy pictures the guess mostly fails
        // while tying every pixel's search to the one before it.
        ++searches;
        previousIndex = uint8_t(kCached ? search.nearestCounted(s[2], s[1], s[0], hits)
                                        : search.nearestUncached(s[2], s[1], s[0]));
      }
    }
    d[x] = previousIndex;
  }
}

void remapNearest(const BitmapView& src, const BitmapView& dst, ColourSearch& search, bool fast,
                  const Background& bg) {
  const int step = src.bits() / 8;
  const int32_t w = src.width();
  const uint32_t background = bg.active ? bg.colour : 0xFFFFFFFF;
  CacheUse cacheUse;
  for (int32_t y = 0; y < src.height(); ++y) {
    uint32_t searches = 0, hits = 0;
    if (fast) {
      remapRow<true, false>(src.row(y), step, w, dst.row(y), search, background, bg.index, searches, hits);
    } else if (cacheUse.on(y)) {
      remapRow<false, true>(src.row(y), step, w, dst.row(y), search, background, bg.index, searches, hits);
      cacheUse.rowDone(searches, hits);
    } else {
      remapRow<false, false>(src.row(y), step, w, dst.row(y), search, background, bg.index, searches, hits);
    }
  }
}

// remapNearest over runs: the same choices, one per run instead of per pixel.
bool remapRunsNearest(PackedRuns& runs, const BitmapView& dst, ColourSearch& search, bool fast,
                      const Background& bg) {
  const uint32_t background = bg.active ? bg.colour : 0xFFFFFFFF;
  CacheUse cacheUse;
  for (int32_t y = 0; y < dst.height(); ++y) {
    if (!runs.nextRow()) return false;
    uint8_t* d = dst.row(y);
    const bool cached = cacheUse.on(y);
    uint32_t searches = 0, hits = 0;
    uint32_t previous = 0xFFFFFFFF, colour = 0, length = 0;
    uint8_t index = 0;
    while (runs.next(&colour, &length)) {
      if (colour != previous) {
        previous = colour;
        const int r = int(colour & 0xFF), g = int((colour >> 8) & 0xFF), b = int(colour >> 16);
        if (colour == background) {
          index = bg.index;
        } else if (fast) {
          index = uint8_t(search.nearestFast(r, g, b));
        } else {
          ++searches;
          index = uint8_t(cached ? search.nearestCounted(r, g, b, hits) : search.nearestUncached(r, g, b));
        }
      }
      std::memset(d, index, length);
      d += length;
    }
    if (!runs.ok()) return false;
    if (!fast && cached) cacheUse.rowDone(searches, hits);
  }
  return true;
}

// Error is kept per channel in units of 1/1600 of a level: 16ths from the
// Floyd-Steinberg weights times 100ths from the share passed on.
constexpr int kErrorScale = 1600;

bool remapDiffused(const BitmapView& src, const BitmapView& dst, ColourSearch& search, bool fast,
                   const Background& bg, int brightness, int contrast) {
  const int step = src.bits() / 8;
  const int32_t w = src.width();
  const int keep = 100 - clampInt(brightness, 0, 100);
  const int edge = clampInt(contrast, 0, 255);
  // Two rows of error with one guard pixel on each side.
  const size_t rowLength = (size_t(w) + 2) * 3;
  std::unique_ptr<int32_t[]> buffers(new (std::nothrow) int32_t[rowLength * 2]());
  if (!buffers) return false;
  int32_t* current = buffers.get();
  int32_t* next = buffers.get() + rowLength;
  auto at = [](int32_t* row, int32_t x) { return row + (size_t(x) + 1) * 3; };

  int last = 0;
  for (int32_t y = 0; y < src.height(); ++y) {
    const uint8_t* s = src.row(y);
    const uint8_t* below = y + 1 < src.height() ? src.row(y + 1) : nullptr;
    uint8_t* d = dst.row(y);
    const bool forward = (y & 1) == 0;
    const int32_t dir = forward ? 1 : -1;
    for (int32_t k = 0; k < w; ++k) {
      const int32_t x = forward ? k : w - 1 - k;
      const uint8_t* p = s + size_t(x) * step;
      const uint32_t c = colourAt(p);
      int32_t* e = at(current, x);
      if (bg.active && c == bg.colour) {
        d[x] = bg.index;
        e[0] = e[1] = e[2] = 0;
        continue;
      }
      const int tr = clampInt(p[2] + (e[0] >= 0 ? e[0] + kErrorScale / 2 : e[0] - kErrorScale / 2) / kErrorScale, 0, 255);
      const int tg = clampInt(p[1] + (e[1] >= 0 ? e[1] + kErrorScale / 2 : e[1] - kErrorScale / 2) / kErrorScale, 0, 255);
      const int tb = clampInt(p[0] + (e[2] >= 0 ? e[2] + kErrorScale / 2 : e[2] - kErrorScale / 2) / kErrorScale, 0, 255);
      e[0] = e[1] = e[2] = 0;
      last = fast ? search.nearestFast(tr, tg, tb) : search.nearestFrom(tr, tg, tb, last);
      d[x] = uint8_t(last);
      const uint8_t* chosen = search.entry(last);
      const int er = (tr - chosen[0]) * keep, eg = (tg - chosen[1]) * keep, eb = (tb - chosen[2]) * keep;
      if (er == 0 && eg == 0 && eb == 0) continue;

      // Error flows only to neighbours that are not background and whose true
      // colour is within `edge` of this pixel's in every channel.
      auto give = [&](int32_t* row, const uint8_t* srcRow, int32_t nx, int weight) {
        if (nx < 0 || nx >= w || !srcRow) return;
        const uint8_t* q = srcRow + size_t(nx) * step;
        if (bg.active && colourAt(q) == bg.colour) return;
        if (std::abs(q[0] - p[0]) > edge || std::abs(q[1] - p[1]) > edge || std::abs(q[2] - p[2]) > edge)
          return;
        int32_t* t = at(row, nx);
        t[0] += er * weight;
        t[1] += eg * weight;
        t[2] += eb * weight;
      };
      give(current, s, x + dir, 7);
      give(next, below, x - dir, 3);
      give(next, below, x, 5);
      give(next, below, x + dir, 1);
    }
    std::swap(current, next);
    for (size_t i = 0; i < rowLength; ++i) next[i] = 0;
  }
  return true;
}

}  // namespace

MemHandle remapToPalette(MemHandle trueColourBitmap, const uint8_t* palette768, ColourSearch& search,
                         const RemapOptions& options) {
  if (!palette768 || search.count() < 1) return 0;
  MemLock srcLock(trueColourBitmap);
  if (!srcLock) return 0;
  BitmapView src = BitmapView::of(srcLock);
  if (!src.valid() || (src.bits() != 24 && src.bits() != 32)) return 0;
  MemBlock out(bitmapCreateWithPalette(src.width(), src.height(), palette768, 8));
  if (!out) return 0;
  {
    MemLock dstLock(out.get());
    if (!dstLock) return 0;
    BitmapView dst = BitmapView::of(dstLock);
    if (!dst.valid()) return 0;
    const bool fast = options.fastRemap && search.enableFast();
    const Background bg = backgroundOf(options);
    if (options.dither) {
      if (!remapDiffused(src, dst, search, fast, bg, options.ditherBrightness, options.ditherContrast))
        return 0;
    } else {
      remapNearest(src, dst, search, fast, bg);
    }
  }
  return out.release();
}

MemHandle remapPackedToPalette(MemHandle packedFrame, const uint8_t* palette768, ColourSearch& search,
                               const RemapOptions& options) {
  if (!palette768 || search.count() < 1 || options.dither) return 0;
  MemLock srcLock(packedFrame);
  PackedRuns runs;
  if (!srcLock || !runs.open(srcLock.data(), srcLock.size())) return 0;
  MemBlock out(bitmapCreateWithPalette(runs.width(), runs.height(), palette768, 8));
  if (!out) return 0;
  {
    MemLock dstLock(out.get());
    BitmapView dst = BitmapView::of(dstLock);
    if (!dst.valid() || dst.width() != runs.width() || dst.height() != runs.height()) return 0;
    const bool fast = options.fastRemap && search.enableFast();
    if (!remapRunsNearest(runs, dst, search, fast, backgroundOf(options))) return 0;
  }
  return out.release();
}

MemHandle remapToPalette(MemHandle trueColourBitmap, const uint8_t* palette768, int count,
                         const RemapOptions& options) {
  ColourSearch search;
  if (!search.init(palette768, count)) return 0;
  return remapToPalette(trueColourBitmap, palette768, search, options);
}

}  // namespace gw
