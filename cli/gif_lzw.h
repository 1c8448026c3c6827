// The LZW coding of a GIF image, done here rather than by giflib so that
// the coder can do two things giflib's cannot:
//
// - Pixels that a frame leaves unchanged may be stored either as the
//   transparent index or as the index already shown; each takes the value
//   that continues the string being matched, so fewer, longer codes result.
// - When the code table fills, the coder may keep using it instead of
//   starting over (a "deferred clear"), which pays off on frames whose
//   statistics do not change.
//
// Each frame is coded with a few table policies and the shortest is kept.
// The output is the image data as it follows the code-size byte: sub-blocks
// of at most 255 bytes, each after its length, then the empty block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gw::cli {

struct LzwImage {
  std::vector<uint8_t> blocks;  // the coded data in sub-blocks, ending with the empty block
  std::vector<uint8_t> stored;  // the pixel values chosen
};

// `values`: the pixels in order; where `values[i] == transparent` and
// `beneath[i] >= 0` the pixel may be stored as either. `transparent` -1
// fixes every value. `minCodeSize` is the GIF code size (2..8).
LzwImage lzwEncodeBest(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath, int transparent,
                       int minCodeSize);

// Decodes sub-blocked LZW data (used by the tests to check the coder).
bool lzwDecode(const std::vector<uint8_t>& blocks, int minCodeSize, size_t pixelCount, std::vector<uint8_t>* out);

}  // namespace gw::cli
