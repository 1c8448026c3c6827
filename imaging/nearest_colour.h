// Nearest-colour search over a palette of up to 256 entries.
//
// The metric is the plain squared distance in red, green and blue. It is the
// measure the quality of a remapped frame is judged by (mean squared error,
// PSNR) and the one every quantizer stage minimises, so search and quantizer
// agree on what "nearest" means. Ties go to the lowest index, everywhere, so
// every search below gives the same answer as nearestColour().
//
//   int i = gw::nearestColour(palette, count, 0x0000FF);   // one-off
//
//   gw::ColourSearch search;                               // many pixels
//   if (!search.init(palette, count)) return false;
//   int j = search.nearest(r, g, b);
#pragma once

#include <cstdint>
#include <memory>

namespace gw {

// Index of the palette entry (3-byte red, green, blue) nearest to the colour
// 0x00BBGGRR; -1 when count is not in 1..256 or the palette is absent.
int nearestColour(const uint8_t* palette768, int count, uint32_t colour0x00BBGGRR);

// Exact nearest-colour search for remapping many pixels.
//
// The colour cube is cut into 16 x 16 x 16 cells. For a cell, only entries
// whose closest point in the cell is no farther than the best entry's farthest
// point can be the nearest for any colour in it; that candidate list is built
// the first time a cell is asked for, so a frame that uses few colours pays
// for few cells. A guess (the previous pixel's answer) is accepted without any
// search when the colour lies within half the distance from the guess to its
// own nearest neighbour, where no other entry can be closer.
class ColourSearch {
 public:
  ColourSearch();
  ~ColourSearch();
  ColourSearch(const ColourSearch&) = delete;
  ColourSearch& operator=(const ColourSearch&) = delete;

  // False when count is not in 1..256, the palette is absent or memory runs out.
  bool init(const uint8_t* palette768, int count);
  int count() const { return count_; }

  // Exact nearest (lowest index on ties). Channels must be in 0..255.
  int nearest(int r, int g, int b);
  // As nearest(), starting from `guess` (any value; out-of-range is ignored).
  int nearestFrom(int r, int g, int b, int guess);
  // Nearest to the centre of the colour's 4 x 4 x 4 block of the cube, looked
  // up in a table filled as it is used: faster on frames with many colours,
  // off by at most a few levels. False from enableFast() when memory runs out.
  bool enableFast();
  int nearestFast(int r, int g, int b);

  const uint8_t* entry(int i) const { return palette_ + i * 3; }

 private:
  static constexpr int kCellBits = 4;
  static constexpr int kCellsPerAxis = 1 << kCellBits;
  static constexpr int kCells = kCellsPerAxis * kCellsPerAxis * kCellsPerAxis;
  static constexpr uint16_t kUnbuilt = 0xFFFF;

  void buildCell(int cell);
  int searchCell(int cell, int r, int g, int b) const;

  uint8_t palette_[768] = {};
  int count_ = 0;
  int32_t r_[256] = {}, g_[256] = {}, b_[256] = {};
  int32_t neighbour2_[256] = {};  // squared distance to the nearest other entry
  uint16_t cellLength_[kCells];
  std::unique_ptr<uint8_t[]> candidates_;  // kCells x 256 slots, used as built
  std::unique_ptr<uint16_t[]> fast_;       // 64^3, index + 1, 0 = not yet known
};

}  // namespace gw
