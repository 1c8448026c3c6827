// One row of pixels turned into the 24-bit blue, green, red order of this
// system's bitmaps: from red-green-blue rows (decoders), from 32-bit rows
// (alpha dropped) and from 1-, 4- and 8-bit rows through a colour table.
//
//   gw::rgbRowToBgr(view.row(y), decoded + stride * y, width);
#pragma once

#include <cstdint>

namespace gw {

// dst and src hold `width` pixels of 3 bytes; they may not overlap.
void rgbRowToBgr(uint8_t* dst, const uint8_t* src, int32_t width);

// src holds `width` pixels of 4 bytes (blue, green, red, alpha).
void bgraRowToBgr(uint8_t* dst, const uint8_t* src, int32_t width);

// src holds `width` indices of `bits` (1, 4 or 8) bits each, the leftmost in
// a byte's high bits; `table` holds 2^bits entries of blue, green, red, 0.
void indexedRowToBgr(uint8_t* dst, const uint8_t* src, int bits, const uint8_t* table, int32_t width);

}  // namespace gw
