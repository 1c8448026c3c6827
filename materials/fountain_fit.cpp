#include "materials/fountain_fit.h"

#include <algorithm>
#include <cmath>

#include "base/le_bytes.h"
#include "materials/fountain_record.h"

namespace gw {
namespace {

int channel(uint32_t colour, int c) { return int((colour >> (8 * c)) & 0xFF); }

// A point the ramp passes through: the colour arriving from the left and the
// one leaving to the right differ at a hard edge.
struct Knot {
  int pos;
  uint32_t in, out;
  int cost() const { return in == out ? 1 : 2; }
};

// The largest channel difference between the straight pieces through the
// knots (with position 0 and 255 fixed) and the samples, and where it is.
int worstSample(const std::vector<Knot>& knots, const uint32_t* samples, int* where) {
  int worst = 0;
  *where = -1;
  for (size_t i = 0; i + 1 < knots.size(); ++i) {
    const Knot& a = knots[i];
    const Knot& b = knots[i + 1];
    for (int k = a.pos + 1; k < b.pos; ++k) {
      double t = double(k - a.pos) / double(b.pos - a.pos);
      for (int c = 0; c < 3; ++c) {
        double v = channel(a.out, c) + (channel(b.in, c) - channel(a.out, c)) * t;
        int e = int(std::fabs(v - channel(samples[k], c)) + 0.5);
        if (e > worst) {
          worst = e;
          *where = k;
        }
      }
    }
  }
  return worst;
}

}  // namespace

FountainFit fountainFitSamples(const uint32_t samples[256], const std::vector<FountainEdge>& edges, uint8_t* f) {
  fountainRecordDefaults(f, FountainPreset::Empty);
  FountainFit fit;
  std::vector<Knot> knots{{0, samples[0], samples[0]}, {255, samples[255], samples[255]}};
  std::vector<Knot> boundaries;
  for (const FountainEdge& e : edges) {
    // An edge in the last 1/255 leaves a sliver no ramp of 256 steps shows:
    // it joins the end colour.
    Knot k{std::clamp(e.pos, 1, 254), e.in, e.out};
    if (!boundaries.empty() && boundaries.back().pos == k.pos)
      boundaries.back().out = k.out;  // too close to tell apart at this scale
    else
      boundaries.push_back(k);
  }
  int cost = 0;
  for (const Knot& k : boundaries) cost += k.cost();
  if (cost <= kFountainMaxMarkers) {
    for (const Knot& k : boundaries) knots.insert(knots.end() - 1, k);
  } else {
    fit.edgesKept = false;
    cost = 0;
  }

  // Then markers where the straight pieces are furthest off.
  while (true) {
    int where = -1;
    int worst = worstSample(knots, samples, &where);
    fit.largestError = worst;
    if (worst <= 1 || where < 0 || cost + 1 > kFountainMaxMarkers) break;
    auto it = std::upper_bound(knots.begin(), knots.end(), where, [](int p, const Knot& k) { return p < k.pos; });
    knots.insert(it, Knot{where, samples[where], samples[where]});
    ++cost;
  }

  writeU32(f + fountain::kStartColour, knots.front().out);
  writeU32(f + fountain::kEndColour, knots.back().in);
  int slot = 0;
  for (size_t i = 1; i + 1 < knots.size(); ++i) {
    const Knot& k = knots[i];
    writeU32(f + fountain::kMarkers + 4 * size_t(slot++), fountainMakeMarker(k.pos, k.in));
    if (k.out != k.in) writeU32(f + fountain::kMarkers + 4 * size_t(slot++), fountainMakeMarker(k.pos, k.out));
  }
  writeU32(f + fountain::kMarkerCount, uint32_t(slot));
  fit.markers = slot;
  return fit;
}

}  // namespace gw
