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
// The colour cube is cut into cells at two sizes, 16 x 16 x 16 and 32 x 32 x
// 32. For a cell, only entries whose closest point in the cell is no farther
// than the best entry's farthest point can be the nearest for any colour in
// it. A coarse cell's candidates are filtered from the whole palette, a fine
// cell's from its coarse parent's (the nearest entry for any colour of the
// fine cell is among them), so a fine cell typically holds 2 to 10 entries.
// Cells are built as they are asked for, so a frame that uses few colours pays
// for few cells; a fine cell only once it has been asked for a few times
// (until then its parent's list answers), because building one costs about as
// much as ten scans of the parent's list.
// Before any of that, a guess (the previous pixel's answer) is accepted
// without search when the colour lies within half the distance from the
// guess to its own nearest neighbour, where no other entry can be closer; and
// answers are kept in a small cache keyed by the exact colour.
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
  inline int nearest(int r, int g, int b);
  // As nearest(), without the cache.
  int nearestUncached(int r, int g, int b);
  // As nearest(), starting from `guess` (any value; out-of-range is ignored).
  inline int nearestFrom(int r, int g, int b, int guess);
  // Nearest to the centre of the colour's 4 x 4 x 4 block of the cube, looked
  // up in a table filled as it is used: several times faster on frames with
  // many colours. The entry it gives is at most 2 x sqrt(3) x 2 (about 7)
  // levels farther from the colour than the nearest one. Rendered text, whose
  // palettes hold anti-aliasing ramps a level or two apart, loses 2 to 12 dB
  // of PSNR (to about one level of error, 47 dB or better); textures lose
  // about 0.1 dB. False from enableFast() when memory runs out.
  bool enableFast();
  int nearestFast(int r, int g, int b);

  const uint8_t* entry(int i) const { return palette_ + i * 3; }

 private:
  static constexpr int kCoarseBits = 4;
  static constexpr int kCoarseCells = 1 << (3 * kCoarseBits);
  static constexpr int kFineBits = 5;
  static constexpr int kFineCells = 1 << (3 * kFineBits);
  static constexpr uint16_t kUnbuilt = 0xFFFF;
  static constexpr uint32_t kFineUnbuilt = 0xFFFFFFFF;
  static constexpr int kCacheBits = 12;

  // Writes the candidates for the box lo..lo+side-1 (per channel) among
  // `from` (n indices) to `out`; returns how many.
  int filter(const int lo[3], int side, const uint8_t* from, int n, uint8_t* out) const;
  const uint8_t* coarseList(int cell, int* n);
  const uint8_t* fineList(int r, int g, int b, int* n);
  const uint8_t* buildFineList(int r, int g, int b, int* n);
  int searchAndRemember(int r, int g, int b, size_t slot, uint32_t key);
  int scan(const uint8_t* list, int n, int r, int g, int b) const;

  uint8_t palette_[768] = {};
  int count_ = 0;
  int32_t r_[256] = {}, g_[256] = {}, b_[256] = {};
  uint8_t all_[256] = {};
  int32_t neighbour2_[256] = {};  // squared distance to the nearest other entry
  uint16_t coarseLength_[kCoarseCells];
  std::unique_ptr<uint8_t[]> coarse_;      // kCoarseCells x 256 slots, used as built
  std::unique_ptr<uint32_t[]> fine_;       // offset << 9 | length into finePool_
  std::unique_ptr<uint8_t[]> fineVisits_;  // searches answered from the parent so far
  std::unique_ptr<uint8_t[]> finePool_;    // fine lists, packed as built
  size_t finePoolUsed_ = 0;
  size_t finePoolSize_ = 0;
  std::unique_ptr<uint32_t[]> cacheKey_;   // colour + 1, 0 = empty
  std::unique_ptr<uint8_t[]> cacheIndex_;
  std::unique_ptr<uint16_t[]> fast_;       // 64^3, index + 1, 0 = not yet known
};

// The per-pixel path stays in the header so that remapping loops inline it;
// building cells is out of line.
inline int ColourSearch::nearest(int r, int g, int b) {
  if (count_ <= 0) return -1;
  const uint32_t key = (uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16)) + 1;
  const size_t slot = size_t((key * 0x9E3779B1u) >> (32 - kCacheBits));
  if (cacheKey_[slot] == key) return cacheIndex_[slot];
  return searchAndRemember(r, g, b, slot, key);
}

inline int ColourSearch::nearestFrom(int r, int g, int b, int guess) {
  if (guess >= 0 && guess < count_) {
    const int32_t dr = r - r_[guess], dg = g - g_[guess], db = b - b_[guess];
    // Any other entry is at least neighbour - sqrt(d) away, which is more than
    // sqrt(d) when 4d < neighbour^2; int64 because neighbour2 may be INT32_MAX.
    if (int64_t(dr * dr + dg * dg + db * db) * 4 < int64_t(neighbour2_[guess])) return guess;
  }
  return nearest(r, g, b);
}

}  // namespace gw
