// Copies the pixels of one 24-bit bitmap into another at an offset, clipped
// to both; used to assemble gradients, textures and tiles from parts.
//
//   gw::blitTrueColour(destView, srcView, 0, 0, x0, y0, w, h);
#pragma once

#include <cstdint>

#include "platform/bitmap.h"

namespace gw {

// Copies the w x h window of `src` whose top-left is (srcX, srcY) to (dstX,
// dstY) in `dst`. Rows are counted from the top. Parts outside either bitmap
// are dropped. Both views must be 24-bit; anything else copies nothing.
void blitTrueColour(const BitmapView& dst, const BitmapView& src, int32_t srcX, int32_t srcY,
                    int32_t dstX, int32_t dstY, int32_t w, int32_t h);

}  // namespace gw
