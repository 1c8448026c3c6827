// Remapping a true-colour frame to an 8-bit frame with the build palette.
//
//   gw::RemapOptions options;
//   options.dither = true;
//   options.backgroundColour = 0xFFFFFF;   // white pixels ...
//   options.backgroundIndex = count;       // ... take the reserved slot
//   gw::MemBlock frame8(gw::remapToPalette(frame24, palette, count, options));
//
// Without dither every pixel takes its nearest palette entry (exact, see
// nearest_colour.h), or with `fastRemap` the entry nearest to the centre of
// its 4 x 4 x 4 block of the colour cube.
//
// With dither the frame is remapped by error diffusion: Floyd-Steinberg
// weights (7, 3, 5, 1 sixteenths), serpentine (rows alternate direction, so
// the error does not drift to one side), with the error clamped: a pixel's
// colour plus the error it receives is held inside the colour cube before its
// entry is chosen, so error never piles up beyond what one pixel can show.
// Two terms tune it:
// - `ditherBrightness` (0..100, default 20): the share of each pixel's error,
//   in percent, that is dropped instead of passed on. Carrying all of it lets
//   small errors add up across flat areas into visible speckle and a drift in
//   brightness; 20 passes on 80%. 100 turns diffusion off.
// - `ditherContrast` (0..255, default 20): the largest difference in any
//   channel between the true colours of a pixel and a neighbour across which
//   error still flows. Letters' anti-aliased edges and outlines change by far
//   more than that from one pixel to the next and stay crisp, while gradients,
//   soft shadows and textures, which change slowly, are dithered. 255 lets
//   error flow everywhere (plain Floyd-Steinberg); 0 only across equal colours.
// Values outside the ranges are clamped.
//
// Background substitution: when `backgroundColour` (0x00BBGGRR) and
// `backgroundIndex` (0..255) are both set, every pixel whose true colour is
// exactly the background colour takes the background index. Such pixels are
// never dithered: they neither take nor pass on error. The background index
// may lie beyond `count` (a reserved slot); it is never chosen for any other
// pixel.
#pragma once

#include <cstdint>

#include "imaging/nearest_colour.h"
#include "platform/memory.h"

namespace gw {

struct RemapOptions {
  bool dither = false;
  int ditherBrightness = 20;
  int ditherContrast = 20;
  bool fastRemap = false;
  int32_t backgroundColour = -1;  // -1: no substitution
  int backgroundIndex = -1;       // -1: no substitution
};

// A new 8-bit Bitmap of the same size whose colour table is all 256 entries
// of `palette768` and whose pixels index its first `count` entries (plus the
// background index). 0 when the input is not a 24- or 32-bit Bitmap, count is
// not in 1..256, or memory runs out.
MemHandle remapToPalette(MemHandle trueColourBitmap, const uint8_t* palette768, int count,
                         const RemapOptions& options);

// The same with a search prepared once for many frames (init'ed over the
// first count entries of the same `palette768`); faster over a build, as the
// search keeps what earlier frames taught it.
MemHandle remapToPalette(MemHandle trueColourBitmap, const uint8_t* palette768, ColourSearch& search,
                         const RemapOptions& options);

// The same for a packed frame (packed_frame.h) without dither: each run of
// one colour is looked up once and filled, never unpacked. The same pixels as
// remapping the frame it was packed from; 0 with dither on, for a malformed
// block, or when memory runs out.
MemHandle remapPackedToPalette(MemHandle packedFrame, const uint8_t* palette768, ColourSearch& search,
                               const RemapOptions& options);

}  // namespace gw
