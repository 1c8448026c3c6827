// Second stage of the custom palette: weighted k-means (Voronoi iteration)
// over the histogram.
//
// Each pass assigns every histogram entry to its nearest palette colour and
// moves each colour to the weighted mean of its entries; the squared error
// never grows from one pass to the next. A colour left without entries is
// moved onto the entry that is worst served, so no slot is wasted.
#pragma once

#include <vector>

#include "imaging/colour_histogram.h"
#include "imaging/median_cut.h"

namespace gw {

struct KMeansResult {
  int passes = 0;
  double meanSquaredError = 0;  // per pixel, summed over the three channels
};

// Refines `palette` in place with at most `maxPasses` passes, stopping early
// once a pass improves the error by less than `minGain` (relative). False when
// memory runs out; the palette is then as the last completed pass left it.
bool kmeansRefine(const std::vector<HistogramEntry>& entries, std::vector<PaletteColourF>* palette,
                  int maxPasses, double minGain, KMeansResult* result);

}  // namespace gw
