// The custom palette of a build: one palette for all frames.
//
//   uint8_t palette[768];
//   int count = 0;
//   if (!gw::quantizeFrames(store, 255, palette, &count)) showMemoryError();
//   gw::orderPalette(palette, count);
//
// One histogram is taken across all frames (each distinct colour once,
// weighted by its pixel count; bounded memory, see colour_histogram.h). When
// the frames hold no more distinct colours than the limit, the palette is
// exactly those colours. Otherwise a variance-based median cut gives the
// starting colours (median_cut.h) and weighted k-means passes over the
// histogram refine them (kmeans_refine.h). Distances are plain squared
// differences in red, green and blue: that is what the remapped frames are
// measured by, and weighting the channels (or a perceptual space) trades
// measured error for a guess at what the eye prefers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "protocol/frame_store.h"
#include "platform/memory.h"

namespace gw {

struct QuantizeStats {
  size_t distinctColours = 0;  // histogram entries (exact colours while precision is 8)
  int precision = 8;           // bits per channel the histogram kept
  bool exact = false;          // every colour of the frames is in the palette
  int kmeansPasses = 0;
  double meanSquaredError = 0;  // per pixel over the histogram, sum of three channels
};

// Computes a palette of at most `limit` colours (1..256; 255 leaves a slot
// for the background) from every 24- or 32-bit bitmap in `bitmaps`.
// `palette768` receives the colours as red, green, blue in no particular order
// (see orderPalette), zeroed beyond `*count`. False, with the outputs
// untouched, when the limit is out of range, there is no bitmap, a handle is
// not a true-colour bitmap, or memory runs out.
bool quantizeBitmaps(const MemHandle* bitmaps, size_t n, int limit, uint8_t* palette768, int* count,
                     QuantizeStats* stats = nullptr);

// The same over the image of every frame in the store; an image may also be
// a packed frame (packed_frame.h).
bool quantizeFrames(const FrameStore& store, int limit, uint8_t* palette768, int* count,
                    QuantizeStats* stats = nullptr);

}  // namespace gw
