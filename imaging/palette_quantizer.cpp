#include "imaging/palette_quantizer.h"

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "platform/bitmap.h"
#include "imaging/colour_histogram.h"
#include "imaging/kmeans_refine.h"
#include "imaging/median_cut.h"

namespace gw {
namespace {

// Enough passes to take most of what k-means gives after a good median cut;
// the rest is stopped by the gain rule.
constexpr int kMaxPasses = 6;
constexpr double kMinGain = 0.002;

inline uint8_t toLevel(float v) {
  long i = std::lround(v);
  return uint8_t(i < 0 ? 0 : (i > 255 ? 255 : i));
}

// A build keeps its frames packed until they are remapped (packed_frame.h).
bool addBitmap(ColourHistogram& histogram, MemHandle bitmap) {
  MemLock lock(bitmap);
  if (!lock) return false;
  if (isPackedFrame(lock.data(), lock.size())) return histogram.addPacked(lock.data(), lock.size());
  return histogram.add(BitmapView::of(lock));
}

bool finish(const ColourHistogram& histogram, int limit, uint8_t* palette768, int* count,
            QuantizeStats* stats) {
  uint8_t out[768] = {};
  int n = 0;
  QuantizeStats local;
  local.distinctColours = histogram.size();
  local.precision = histogram.precision();
  try {
    if (histogram.precision() == 8 && histogram.size() <= size_t(limit)) {
      std::vector<uint32_t> colours;
      std::vector<uint64_t> counts;
      if (!histogram.collectExact(&colours, &counts)) return false;
      for (uint32_t c : colours) {
        out[n * 3] = uint8_t(c);
        out[n * 3 + 1] = uint8_t(c >> 8);
        out[n * 3 + 2] = uint8_t(c >> 16);
        ++n;
      }
      local.exact = true;
    } else {
      std::vector<HistogramEntry> entries;
      if (!histogram.collect(&entries)) return false;
      std::vector<PaletteColourF> colours;
      if (!medianCut(entries, limit, &colours)) return false;
      KMeansResult km;
      if (!kmeansRefine(entries, &colours, kMaxPasses, kMinGain, &km)) return false;
      local.kmeansPasses = km.passes;
      local.meanSquaredError = km.meanSquaredError;
      // Rounding can make two colours meet; keep one of each.
      for (const PaletteColourF& c : colours) {
        uint8_t r = toLevel(c.r), g = toLevel(c.g), b = toLevel(c.b);
        bool seen = false;
        for (int i = 0; i < n && !seen; ++i)
          seen = out[i * 3] == r && out[i * 3 + 1] == g && out[i * 3 + 2] == b;
        if (seen || n >= limit) continue;
        out[n * 3] = r;
        out[n * 3 + 1] = g;
        out[n * 3 + 2] = b;
        ++n;
      }
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  std::memcpy(palette768, out, sizeof out);
  *count = n;
  if (stats) *stats = local;
  return true;
}

}  // namespace

bool quantizeBitmaps(const MemHandle* bitmaps, size_t n, int limit, uint8_t* palette768, int* count,
                     QuantizeStats* stats) {
  if (!bitmaps || n == 0 || !palette768 || !count || limit < 1 || limit > 256) return false;
  ColourHistogram histogram;
  if (!histogram.init()) return false;
  for (size_t i = 0; i < n; ++i)
    if (!addBitmap(histogram, bitmaps[i])) return false;
  return finish(histogram, limit, palette768, count, stats);
}

bool quantizeFrames(const FrameStore& store, int limit, uint8_t* palette768, int* count,
                    QuantizeStats* stats) {
  if (store.count == 0 || !palette768 || !count || limit < 1 || limit > 256) return false;
  ColourHistogram histogram;
  if (!histogram.init()) return false;
  for (uint32_t i = 0; i < store.count; ++i) {
    FrameRecord rec;
    if (!frameStoreGet(store, i, &rec) || !addBitmap(histogram, rec.image)) return false;
  }
  return finish(histogram, limit, palette768, count, stats);
}

}  // namespace gw
