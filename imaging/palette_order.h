// The order a custom palette is stored in.
//
//   gw::orderPalette(palette, count);
//
// Entries 0..count-1 are sorted by brightness (integer luma 299 R + 587 G +
// 114 B), then by red, green and blue, so that:
// - the order depends on the colours alone: the same frames give the same
//   indices whatever order the quantizer produced them in, and a build is
//   reproducible byte for byte;
// - the host's palette view shows a dark-to-light ramp, and black (when
//   present) is entry 0, the index most viewers assume for the background;
// - neighbouring indices hold similar colours, which keeps the index planes
//   of dithered frames smoother for the host's compressor.
// Entries from count on (a reserved background slot) are left where they are.
#pragma once

#include <cstdint>

namespace gw {

// Sorts the first `count` (clamped to 0..256) entries of a 768-byte palette.
void orderPalette(uint8_t* palette768, int count);

}  // namespace gw
