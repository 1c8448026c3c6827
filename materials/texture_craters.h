// The "Craters" texture (type 4): a height field pocked by craters, lit from
// the left, painted in layer colour 1 over the background.
#pragma once

#include <cstdint>

#include "platform/bitmap.h"

namespace gw {

// The 105 shading bytes for slopes -52..52 (index slope + 52).
void craterShadeTable(uint8_t table105[105]);

// Runs the generator over `target`, which holds the background already.
// False on an allocation failure.
bool textureCraters(const uint8_t* settings268, const BitmapView& target);

}  // namespace gw
