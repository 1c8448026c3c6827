#include "imaging/median_cut.h"

#include <algorithm>
#include <new>

namespace gw {
namespace {

struct Moments {
  double w = 0, r = 0, g = 0, b = 0, q = 0;  // weight, weighted sums, weighted sum of squares
  void add(const Moments& o) {
    w += o.w;
    r += o.r;
    g += o.g;
    b += o.b;
    q += o.q;
  }
  Moments minus(const Moments& o) const { return {w - o.w, r - o.r, g - o.g, b - o.b, q - o.q}; }
  double error() const {
    if (w <= 0) return 0;
    double e = q - (r * r + g * g + b * b) / w;
    return e > 0 ? e : 0;
  }
};

struct Box {
  size_t begin, end;
  Moments m;
  double error;
};

inline int level(float v) {
  int i = int(v);
  return i < 0 ? 0 : (i > 255 ? 255 : i);
}

Moments momentsOf(const HistogramEntry& e) {
  double w = e.weight;
  return {w, w * e.r, w * e.g, w * e.b, w * (double(e.r) * e.r + double(e.g) * e.g + double(e.b) * e.b)};
}

float channel(const HistogramEntry& e, int axis) { return axis == 0 ? e.r : (axis == 1 ? e.g : e.b); }

// Splits `box` in two at its best plane; false when no plane separates it.
bool splitBox(std::vector<HistogramEntry>& entries, const Box& box, Box* low, Box* high) {
  static_assert(sizeof(Moments) == 5 * sizeof(double), "bins are plain moments");
  Moments bins[3][256];
  for (size_t i = box.begin; i < box.end; ++i) {
    const HistogramEntry& e = entries[i];
    Moments m = momentsOf(e);
    bins[0][level(e.r)].add(m);
    bins[1][level(e.g)].add(m);
    bins[2][level(e.b)].add(m);
  }
  int bestAxis = -1, bestCut = 0;
  double bestError = 0;
  Moments bestLow;
  for (int axis = 0; axis < 3; ++axis) {
    Moments below;
    for (int cut = 1; cut < 256; ++cut) {
      below.add(bins[axis][cut - 1]);
      if (below.w <= 0) continue;
      Moments above = box.m.minus(below);
      if (above.w <= 0) break;
      if (bins[axis][cut].w <= 0) continue;  // same split as the next cut with weight
      double e = below.error() + above.error();
      if (bestAxis < 0 || e < bestError) {
        bestAxis = axis;
        bestCut = cut;
        bestError = e;
        bestLow = below;
      }
    }
  }
  if (bestAxis < 0) return false;
  auto mid = std::partition(entries.begin() + box.begin, entries.begin() + box.end,
                            [&](const HistogramEntry& e) { return level(channel(e, bestAxis)) < bestCut; });
  size_t m = size_t(mid - entries.begin());
  if (m == box.begin || m == box.end) return false;
  *low = {box.begin, m, bestLow, bestLow.error()};
  Moments rest = box.m.minus(bestLow);
  *high = {m, box.end, rest, rest.error()};
  return true;
}

}  // namespace

bool medianCut(std::vector<HistogramEntry>& entries, int limit, std::vector<PaletteColourF>* out) {
  if (!out || limit < 1) return false;
  out->clear();
  if (entries.empty()) return true;
  try {
    std::vector<Box> boxes;
    boxes.reserve(size_t(limit));
    Box all{0, entries.size(), {}, 0};
    for (const HistogramEntry& e : entries) all.m.add(momentsOf(e));
    all.error = all.m.error();
    boxes.push_back(all);
    while (int(boxes.size()) < limit) {
      // The box with the most error that can still be split.
      int pick = -1;
      for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i].end - boxes[i].begin > 1 && boxes[i].error > 0 &&
            (pick < 0 || boxes[i].error > boxes[size_t(pick)].error))
          pick = int(i);
      if (pick < 0) break;
      Box low, high;
      if (!splitBox(entries, boxes[size_t(pick)], &low, &high)) {
        boxes[size_t(pick)].error = 0;  // colours too close to separate: leave it whole
        continue;
      }
      boxes[size_t(pick)] = low;
      boxes.push_back(high);
    }
    out->reserve(boxes.size());
    for (const Box& box : boxes) {
      if (box.m.w <= 0) continue;
      out->push_back({float(box.m.r / box.m.w), float(box.m.g / box.m.w), float(box.m.b / box.m.w)});
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace gw
