// Material fill: a material record rendered into a new bitmap of exactly the
// text block's size, the colour source for a glyph mask.
//
//   gw::MemBlock fill(gw::materialFill(rec, w, h));
//   if (!fill) return false;   // the layer is skipped or the frame fails
//
// The fill writes the texture output rectangle and the tile target rectangle
// into the record before it generates, hence the non-const record.
#pragma once

#include <cstdint>

#include "platform/memory.h"

namespace gw {

// The largest width x height a material is filled at (the gradients' limit).
// A text block is a fraction of this; a size beyond it comes from a wild
// caller and would otherwise ask for up to 2 GiB of bitmap.
constexpr int64_t kMaterialMaxPixels = int64_t(8192) * 8192;

// A new 24-bit width x height Bitmap painted with the record's kind (Simple,
// Gradient, Texture, Tile; any other kind gives black); 0 on failure or for
// a size that is not positive or above kMaterialMaxPixels.
MemHandle materialFill(uint8_t* record1270, int32_t width, int32_t height);

// The integer mean of each channel over every pixel of a 24-bit bitmap, as a
// colour 0x00BBGGRR; 0 for an empty or unreadable bitmap.
uint32_t bitmapAverageColour(MemHandle bitmap);

// Whether a caption drawn over a preview of this average colour is white
// (true) or black (false).
bool captionIsWhite(uint32_t averageColour);

}  // namespace gw
