// Tiling: the selection's tile repeated from (0, 0) over a new bitmap, or the
// built-in 90 x 90 tile (bitmap resource 9908) when the selection holds none.
//
//   gw::MemBlock bmp(gw::tileFill(selection, w, h));   // w x h, 24-bit, or 0
#pragma once

#include <cstdint>

#include "platform/memory.h"

namespace gw {

constexpr uint16_t kBuiltInTileResource = 9908;
constexpr const char* kBuiltInTileName = "MATRIX_DEFAULT";

// Sets the selection's target rectangle to (0, 0, width, height) and tiles
// its image (or the built-in tile) into a new width x height 24-bit Bitmap
// that the caller owns; tile origins lie at multiples of the tile's size.
// 0 when the size is not positive or too large for a bitmap, or when no tile
// can be had at all.
MemHandle tileFill(uint8_t* tileSelection317, int32_t width, int32_t height);

// A new copy of the built-in tile (resource 9908); 0 when it is missing.
MemHandle tileBuiltInImage();

}  // namespace gw
