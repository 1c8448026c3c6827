// First stage of the custom palette: a variance-based median cut over the
// colour histogram.
//
// Starting from one box holding every entry, the box with the largest
// weighted squared error is split, each time at the plane (along red, green
// or blue) that leaves the two halves with the least total squared error,
// until there are `limit` boxes or no box holds two colours. Each box gives
// its weighted mean as a palette colour. The split is searched over a
// 256-level projection of the box, so a split costs one pass over its entries.
#pragma once

#include <vector>

#include "imaging/colour_histogram.h"

namespace gw {

struct PaletteColourF {
  float r = 0, g = 0, b = 0;
};

// Reorders `entries` (boxes are ranges of it) and writes at most `limit`
// colours to `out`. False when memory runs out.
bool medianCut(std::vector<HistogramEntry>& entries, int limit, std::vector<PaletteColourF>* out);

}  // namespace gw
