#include "imaging/kmeans_refine.h"

#include <algorithm>
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

// Up to this many histogram entries a pass searches with AxisSearch; beyond
// it the remapper's cell lists, whose building then pays for itself. Both are
// exact with the same tie rule, so the palette does not depend on the choice.
constexpr size_t kAxisSearchEntries = size_t(1) << 15;

// Exact nearest colour (lowest index on ties) for the entries of one pass.
// The palette changes every pass, and a histogram of a few thousand entries
// asks too few questions to pay for building the remapper's cell lists; this
// costs nothing to set up: the colours are sorted along the
// channel in which they spread most, and the scan walks outwards from the
// entry's colour of the last pass, stopping on each side once that channel
// alone puts the colours beyond the entry farther than the best found.
class AxisSearch {
 public:
  void init(const uint8_t* rounded, int n) {
    n_ = n;
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    for (int i = 0; i < n; ++i)
      for (int c = 0; c < 3; ++c) {
        lo[c] = std::min(lo[c], int(rounded[i * 3 + c]));
        hi[c] = std::max(hi[c], int(rounded[i * 3 + c]));
      }
    axis_ = 0;
    for (int c = 1; c < 3; ++c)
      if (hi[c] - lo[c] > hi[axis_] - lo[axis_]) axis_ = c;
    for (int i = 0; i < n; ++i) order_[i] = uint8_t(i);
    std::stable_sort(order_, order_ + n, [&](uint8_t a, uint8_t b) {
      return rounded[a * 3 + axis_] < rounded[b * 3 + axis_];
    });
    for (int k = 0; k < n; ++k) {
      const int i = order_[k];
      r_[k] = rounded[i * 3];
      g_[k] = rounded[i * 3 + 1];
      b_[k] = rounded[i * 3 + 2];
      position_[i] = uint8_t(k);
    }
    const int32_t* key = axis_ == 0 ? r_ : (axis_ == 1 ? g_ : b_);
    std::copy(key, key + n, key_);
  }

  int nearest(int r, int g, int b, int guess) const {
    const int start = position_[guess >= 0 && guess < n_ ? guess : 0];
    const int v = axis_ == 0 ? r : (axis_ == 1 ? g : b);
    int bestK = start;
    int32_t best = distance(start, r, g, b);
    for (int k = start + 1; k < n_; ++k) {
      const int32_t d = key_[k] - v;
      if (d > 0 && d * d > best) break;
      consider(k, r, g, b, &bestK, &best);
    }
    for (int k = start - 1; k >= 0; --k) {
      const int32_t d = v - key_[k];
      if (d > 0 && d * d > best) break;
      consider(k, r, g, b, &bestK, &best);
    }
    return order_[bestK];
  }

 private:
  int32_t distance(int k, int r, int g, int b) const {
    const int32_t dr = r - r_[k], dg = g - g_[k], db = b - b_[k];
    return dr * dr + dg * dg + db * db;
  }
  void consider(int k, int r, int g, int b, int* bestK, int32_t* best) const {
    const int32_t d = distance(k, r, g, b);
    if (d < *best || (d == *best && order_[k] < order_[*bestK])) {
      *best = d;
      *bestK = k;
    }
  }

  int n_ = 0;
  int axis_ = 0;
  uint8_t order_[256] = {};     // palette index at each sorted position
  uint8_t position_[256] = {};  // sorted position of each palette index
  int32_t r_[256] = {}, g_[256] = {}, b_[256] = {};
  int32_t key_[256] = {};
};

}  // namespace

bool kmeansRefine(const std::vector<HistogramEntry>& entries, std::vector<PaletteColourF>* palette,
                  int maxPasses, double minGain, KMeansResult* result) {
  KMeansResult local;
  if (!palette || palette->empty() || palette->size() > 256) return false;
  const int n = int(palette->size());
  const bool small = entries.size() <= kAxisSearchEntries;
  AxisSearch axisSearch;
  ColourSearch cellSearch;
  double totalWeight = 0;
  for (const HistogramEntry& e : entries) totalWeight += e.weight;
  // Each entry's colour from the last pass is where the next pass's search
  // starts: colours move little between passes, so it is nearly always the
  // answer or next to it.
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
    if (small)
      axisSearch.init(rounded, n);
    else if (!cellSearch.init(rounded, n))
      return false;
    Sums sums[256];
    double error = 0;
    double worstError = -1;
    size_t worst = 0;
    int guess = 0;
    for (size_t k = 0; k < entries.size(); ++k) {
      const HistogramEntry& e = entries[k];
      if (pass > 0) guess = assigned[k];
      const int r = toLevel(e.r), g = toLevel(e.g), b = toLevel(e.b);
      const int i = small ? axisSearch.nearest(r, g, b, guess) : cellSearch.nearestFrom(r, g, b, guess);
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
