#include "imaging/kmeans_refine.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <new>

#include "imaging/nearest_colour.h"

namespace gw {
namespace {

inline int toLevel(float v) {
  int i = int(std::lround(v));
  return i < 0 ? 0 : (i > 255 ? 255 : i);
}

struct Sums {
  double w = 0, r = 0, g = 0, b = 0;
};

}  // namespace

bool kmeansRefine(const std::vector<HistogramEntry>& entries, std::vector<PaletteColourF>* palette,
                  int maxPasses, double minGain, KMeansResult* result) {
  KMeansResult local;
  if (!palette || palette->empty() || palette->size() > 256) return false;
  const int n = int(palette->size());
  ColourSearch search;
  double totalWeight = 0;
  for (const HistogramEntry& e : entries) totalWeight += e.weight;
  // Each entry's colour from the last pass is the first guess for the next:
  // colours move little between passes, and the guess test accepts it
  // without a search whenever it is clearly still the nearest.
  std::unique_ptr<uint8_t[]> assigned(new (std::nothrow) uint8_t[entries.size() + 1]());
  if (!assigned) return false;
  double previous = -1;
  for (int pass = 0; pass < maxPasses; ++pass) {
    // The search runs over the colours as they will be stored, in whole levels.
    uint8_t rounded[768] = {};
    for (int i = 0; i < n; ++i) {
      rounded[i * 3] = uint8_t(toLevel((*palette)[size_t(i)].r));
      rounded[i * 3 + 1] = uint8_t(toLevel((*palette)[size_t(i)].g));
      rounded[i * 3 + 2] = uint8_t(toLevel((*palette)[size_t(i)].b));
    }
    if (!search.init(rounded, n)) return false;
    Sums sums[256];
    double error = 0;
    double worstError = -1;
    size_t worst = 0;
    int guess = 0;
    for (size_t k = 0; k < entries.size(); ++k) {
      const HistogramEntry& e = entries[k];
      if (pass > 0) guess = assigned[k];
      const int i = search.nearestFrom(toLevel(e.r), toLevel(e.g), toLevel(e.b), guess);
      assigned[k] = uint8_t(i);
      guess = i;
      double dr = e.r - rounded[i * 3], dg = e.g - rounded[i * 3 + 1], db = e.b - rounded[i * 3 + 2];
      double d = (dr * dr + dg * dg + db * db) * e.weight;
      error += d;
      if (d > worstError) {
        worstError = d;
        worst = k;
      }
      Sums& s = sums[i];
      s.w += e.weight;
      s.r += e.weight * e.r;
      s.g += e.weight * e.g;
      s.b += e.weight * e.b;
    }
    local.passes = pass + 1;
    local.meanSquaredError = totalWeight > 0 ? error / totalWeight : 0;
    bool emptied = false;
    for (int i = 0; i < n; ++i) {
      PaletteColourF& p = (*palette)[size_t(i)];
      if (sums[i].w > 0) {
        p.r = float(sums[i].r / sums[i].w);
        p.g = float(sums[i].g / sums[i].w);
        p.b = float(sums[i].b / sums[i].w);
      } else if (!emptied && worstError > 0) {
        const HistogramEntry& e = entries[worst];
        p = {e.r, e.g, e.b};
        emptied = true;  // one per pass: the next pass finds the new worst
      }
    }
    if (previous >= 0 && previous - error <= previous * minGain && !emptied) break;
    previous = error;
  }
  if (result) *result = local;
  return true;
}

}  // namespace gw
