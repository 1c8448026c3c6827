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

#if defined(__SSE2__)
#include <emmintrin.h>  // SSE2, which both the native and the 32-bit build enable
#endif

namespace gw {

// Index of the palette entry (3-byte red, green, blue) nearest to the colour
// 0x00BBGGRR; -1 when count is not in 1..256 or the palette is absent.
int nearestColour(const uint8_t* palette768, int count, uint32_t colour0x00BBGGRR);

// Four palette entries laid out to be matched against one colour at once,
// channels times 16 in 16-bit lanes: red and green interleaved, then blue
// and the negated index interleaved. A multiply-add of the differences then
// gives 256 x (dr^2 + dg^2) for one half and 256 x db^2 + index for the
// other (the pixel's lane for the index is 0 and its pair is 1), so a
// candidate's score is 256 x squared distance + index: the smallest score is
// the nearest entry and, among equally near ones, the lowest index, in
// whatever order candidates are kept. A cell whose candidates are not a
// multiple of four repeats its last one, which changes no answer.
struct CandidateGroup {
  int16_t redGreen[8];   // 16 r0, 16 g0, 16 r1, 16 g1, ...
  int16_t blueIndex[8];  // 16 b0, -i0, 16 b1, -i1, ...
};

// The nearest entry (lowest index on ties) to `colour` (0x00BBGGRR) among
// `n` >= 1 groups. The portable version is the reference the vector version
// must equal; nearestInGroups() is whichever this build uses.
inline int nearestInGroupsPortable(const CandidateGroup* groups, int n, uint32_t colour) {
  const int32_t r = int32_t(colour & 0xFF), g = int32_t((colour >> 8) & 0xFF), b = int32_t((colour >> 16) & 0xFF);
  int32_t best = INT32_MAX;
  for (int k = 0; k < n; ++k) {
    const CandidateGroup& q = groups[k];
    for (int j = 0; j < 4; ++j) {
      const int32_t dr = 16 * r - q.redGreen[2 * j], dg = 16 * g - q.redGreen[2 * j + 1];
      const int32_t db = 16 * b - q.blueIndex[2 * j];
      const int32_t score = dr * dr + dg * dg + db * db - q.blueIndex[2 * j + 1];
      best = score < best ? score : best;
    }
  }
  return int(best & 0xFF);
}

#if defined(__SSE2__)
namespace detail {
// 256 x squared distance + index for the four candidates of `group`, as
// floats (see below); `redGreen` is (16 r, 16 g) and `blue` (16 b, 0) in
// every 32-bit lane.
inline __m128 groupScores(const CandidateGroup& group, __m128i redGreen, __m128i blue) {
  const __m128i dRedGreen = _mm_sub_epi16(redGreen, _mm_loadu_si128(reinterpret_cast<const __m128i*>(group.redGreen)));
  const __m128i dBlueIndex =  // (16 db, index)
      _mm_sub_epi16(blue, _mm_loadu_si128(reinterpret_cast<const __m128i*>(group.blueIndex)));
  const __m128i dBlueOne =  // (16 db, 1)
      _mm_or_si128(_mm_and_si128(dBlueIndex, _mm_set1_epi32(0xFFFF)), _mm_set1_epi32(0x10000));
  const __m128i score = _mm_add_epi32(_mm_madd_epi16(dRedGreen, dRedGreen), _mm_madd_epi16(dBlueIndex, dBlueOne));
  // Scores are below 2^26; with bit 30 set their bit patterns are positive,
  // finite, normal floats, which order exactly as the integers do. So the
  // one-instruction float minimum serves where SSE2 has no 32-bit integer
  // one, and no denormal (which some hosts flush to zero) ever occurs.
  return _mm_castsi128_ps(_mm_or_si128(score, _mm_set1_epi32(0x40000000)));
}
}  // namespace detail

inline int nearestInGroups(const CandidateGroup* groups, int n, uint32_t colour) {
  // 16-bit lanes 16 r, 16 g, 16 b, 0, ...
  const __m128i channels =
      _mm_slli_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(colour)), _mm_setzero_si128()), 4);
  const __m128i redGreen = _mm_shuffle_epi32(channels, _MM_SHUFFLE(0, 0, 0, 0));
  const __m128i blue = _mm_shuffle_epi32(channels, _MM_SHUFFLE(1, 1, 1, 1));
  __m128 best = detail::groupScores(groups[0], redGreen, blue);
  for (int k = 1; k < n; ++k) best = _mm_min_ps(best, detail::groupScores(groups[k], redGreen, blue));
  best = _mm_min_ps(best, _mm_shuffle_ps(best, best, _MM_SHUFFLE(1, 0, 3, 2)));
  best = _mm_min_ps(best, _mm_shuffle_ps(best, best, _MM_SHUFFLE(2, 3, 0, 1)));
  return _mm_cvtsi128_si32(_mm_castps_si128(best)) & 0xFF;
}
#else
inline int nearestInGroups(const CandidateGroup* groups, int n, uint32_t colour) {
  return nearestInGroupsPortable(groups, n, colour);
}
#endif

// Exact nearest-colour search for remapping many pixels.
//
// The colour cube is cut into cells at three sizes, 8 x 8 x 8, 16 x 16 x 16
// and 32 x 32 x 32. For a cell, only entries whose closest point in the cell
// is no farther than the best entry's farthest point can be the nearest for
// any colour in it. A large cell's candidates are filtered from the whole
// palette, a smaller cell's from its parent's (the nearest entry for any
// colour of the smaller cell is among them), so a fine cell typically holds
// 2 to 10 entries; the middle size keeps a frame that spreads over much of
// the cube from filtering the whole palette thousands of times.
// Cells are built as they are asked for, so a frame that uses few colours pays
// for few cells; a fine cell only once it has been asked for a few times
// (until then its parent's list answers), because building one costs about as
// much as ten scans of the parent's list.
//
// A fine cell keeps its candidates' colours next to their indices in groups
// of four (see CandidateGroup), so that a colour is matched against a whole
// group at once without branches: noisy pictures, whose every pixel has a
// colour of its own, go through this path for nearly every pixel, and a
// branch per candidate costs more there than the arithmetic. Each candidate
// is scored as distance x 256 + index, so the smallest score is the nearest
// entry and, among equally near ones, the lowest index, in whatever order the
// candidates are kept.
//
// Before any of that, answers are kept in a cache keyed by the exact colour,
// which is what serves rendered text (a few thousand colours, met again and
// again); and nearestFrom() accepts a guess (the previous pixel's answer)
// without search when the colour lies within half the distance from the guess
// to its own nearest neighbour, where no other entry can be closer.
//
// Memory stays under 4 MB: 1.1 MB of cell lists, 0.2 MB of fine-cell index
// and visit counts, at most 2 MB of candidate groups (beyond that, cells
// answer from their parents), a 64 KB cache and, with enableFast(), 0.5 MB.
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
  // As nearest(), adding 1 to `cacheHits` when the cache answered: for loops
  // that skip the cache where it does not pay, as on noisy pictures, where
  // nearly every colour is new and looking it up costs more than it saves.
  inline int nearestCounted(int r, int g, int b, uint32_t& cacheHits);
  // As nearest(), without the cache.
  inline int nearestUncached(int r, int g, int b);
  // As nearest(), starting from `guess` (any value; out-of-range is ignored).
  inline int nearestFrom(int r, int g, int b, int guess);
  // Nearest to the centre of the colour's 4 x 4 x 4 block of the cube, looked
  // up in a table filled as it is used: two to three times faster than the
  // exact search on noisy frames. The entry it gives is at most 2 x sqrt(3)
  // x 2 (about 7) levels farther from the colour than the nearest one.
  // Rendered text, whose palettes hold anti-aliasing ramps a level or two
  // apart, loses 2 to 12 dB of PSNR (to about one level of error, 47 dB or
  // better); textures lose about 0.1 dB. False from enableFast() when memory
  // runs out.
  bool enableFast();
  int nearestFast(int r, int g, int b);

  const uint8_t* entry(int i) const { return palette_ + i * 3; }

 private:
  static constexpr int kLargeBits = 3;
  static constexpr int kLargeCells = 1 << (3 * kLargeBits);
  static constexpr int kCoarseBits = 4;
  static constexpr int kCoarseCells = 1 << (3 * kCoarseBits);
  static constexpr int kFineBits = 5;
  static constexpr int kFineShift = 8 - kFineBits;
  static constexpr int kFineCells = 1 << (3 * kFineBits);
  static constexpr uint16_t kUnbuilt = 0xFFFF;
  static constexpr int kCacheBits = 14;

  static int fineCell(int r, int g, int b) {
    return ((r >> kFineShift) << (2 * kFineBits)) | ((g >> kFineShift) << kFineBits) | (b >> kFineShift);
  }

  // Writes the candidates for the box lo..lo+side-1 (per channel) among
  // `from` (n indices) to `out`; returns how many.
  int filter(const int lo[3], int side, const uint8_t* from, int n, uint8_t* out) const;
  const uint8_t* largeList(int cell, int* n);
  const uint8_t* coarseList(int cell, int* n);
  // The answer for a colour whose fine cell is not built yet; builds it once
  // the cell has been asked for often enough.
  int nearestUnbuilt(int r, int g, int b);
  bool buildFineCell(int cell, const int lo[3], const uint8_t* from, int n);
  int scan(const uint8_t* list, int n, int r, int g, int b) const;

  uint8_t palette_[768] = {};
  int count_ = 0;
  int32_t r_[256] = {}, g_[256] = {}, b_[256] = {};
  uint8_t all_[256] = {};
  int32_t neighbour2_[256] = {};  // squared distance to the nearest other entry
  uint16_t largeLength_[kLargeCells];
  std::unique_ptr<uint8_t[]> large_;       // kLargeCells x 256 slots, used as built
  uint16_t coarseLength_[kCoarseCells];
  std::unique_ptr<uint8_t[]> coarse_;      // kCoarseCells x 256 slots, used as built
  std::unique_ptr<uint32_t[]> fine_;       // first group << 8 | groups; 0 = not built
  std::unique_ptr<uint8_t[]> fineVisits_;  // searches answered from the parent so far
  std::unique_ptr<CandidateGroup[]> groups_;  // fine cells' candidates, packed as built
  size_t groupsUsed_ = 0;
  size_t groupsSize_ = 0;
  bool groupsFull_ = false;  // a cell found no room: stop building until init()
  // colour << 8 | index; every slot starts as white with white's answer, so
  // no slot is ever empty and no colour is mistaken for another.
  std::unique_ptr<uint32_t[]> cache_;
  std::unique_ptr<uint16_t[]> fast_;       // 64^3, index + 1, 0 = not yet known
};

// The per-pixel path stays in the header so that remapping loops inline it;
// building cells is out of line.
inline int ColourSearch::nearestUncached(int r, int g, int b) {
  if (count_ <= 0) return -1;
  const uint32_t cell = fine_[fineCell(r, g, b)];
  if (cell == 0) return nearestUnbuilt(r, g, b);
  return nearestInGroups(groups_.get() + (cell >> 8), int(cell & 0xFF),
                         uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16));
}

inline int ColourSearch::nearestCounted(int r, int g, int b, uint32_t& cacheHits) {
  if (count_ <= 0) return -1;
  const uint32_t colour = uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
  const size_t slot = size_t((colour * 0x9E3779B1u) >> (32 - kCacheBits));
  const uint32_t cached = cache_[slot];
  if ((cached >> 8) == colour) {
    ++cacheHits;
    return int(cached & 0xFF);
  }
  const int i = nearestUncached(r, g, b);
  cache_[slot] = (colour << 8) | uint32_t(i);
  return i;
}

inline int ColourSearch::nearest(int r, int g, int b) {
  uint32_t unused = 0;
  return nearestCounted(r, g, b, unused);
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
