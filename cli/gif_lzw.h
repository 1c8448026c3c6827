// The LZW coding of a GIF image, done here rather than by giflib so that
// the coder can do what giflib's cannot:
//
// - Pixels that a frame leaves unchanged ("free" pixels) may be stored either
//   as the transparent index or as the index already shown. Each string is
//   the longest the table holds along any choice of those values (a bounded
//   search, as every free pixel forks the way).
// - A string one value shorter than the longest is taken when the next
//   string then reaches further, which saves codes on the whole.
// - When the code table fills, the coder may keep using it while it codes as
//   well as it did, instead of starting over.
//
// A frame with free pixels may be coded two ways (leaning towards the
// transparent index and keeping the full table while it serves; leaning
// towards the colour shown and clearing the full table at once): either
// one, chosen by the caller, or both with the shorter kept.
// Deterministic: the same input gives the same bytes.
//
//   LzwImage coded = lzwEncodeBest(values, beneath, transparentIndex, codeSize);
//   // coded.blocks follow the code-size byte; coded.stored is what a decoder reads
//
// The output is the image data as it follows the code-size byte: sub-blocks
// of at most 255 bytes, each after its length, then the empty block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace gw::cli {

constexpr int kLzwMaxCodes = 4096;  // codes of at most 12 bits

// The ways a frame with free pixels can be coded (a frame without is coded
// the first way).
enum class LzwWay : uint8_t { kTransparentLean, kShownLean };

struct LzwImage {
  std::vector<uint8_t> blocks;  // the coded data in sub-blocks, ending with the empty block
  std::vector<uint8_t> stored;  // the pixel values chosen
  LzwWay way = LzwWay::kTransparentLean;  // the way that coded it
};

// The coder's string table (about 50 KiB). Making one costs more than coding a small
// frame, so a writer keeps one per thread and passes it to every frame.
class LzwWorkspace {
 public:
  LzwWorkspace();
  ~LzwWorkspace();
  LzwWorkspace(const LzwWorkspace&) = delete;
  LzwWorkspace& operator=(const LzwWorkspace&) = delete;

 private:
  struct Table;
  std::unique_ptr<Table> table_;
  friend LzwImage lzwEncodeBest(const std::vector<uint8_t>&, const std::vector<int16_t>&, int, int,
                                LzwWorkspace&);
  friend LzwImage lzwEncodeWay(const std::vector<uint8_t>&, const std::vector<int16_t>&, int, int, LzwWay,
                               LzwWorkspace&);
};

// `values`: the pixels in order; where `values[i] == transparent` and
// `beneath[i] >= 0` the pixel may be stored as either. `transparent` -1
// fixes every value, and `beneath` is then not read (it may be empty). `minCodeSize` is the GIF code size (2..8), and every
// value and every `beneath` entry must be below 1 << minCodeSize.
LzwImage lzwEncodeBest(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath, int transparent,
                       int minCodeSize, LzwWorkspace& workspace);
// One way only.
LzwImage lzwEncodeWay(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath, int transparent,
                      int minCodeSize, LzwWay way, LzwWorkspace& workspace);
// Both ways with a workspace of its own.
LzwImage lzwEncodeBest(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath, int transparent,
                       int minCodeSize);

// Decodes sub-blocked LZW data (used by the tests to check the coder).
bool lzwDecode(const std::vector<uint8_t>& blocks, int minCodeSize, size_t pixelCount, std::vector<uint8_t>* out);

}  // namespace gw::cli
