#include "imaging/nearest_colour.h"

#include <cstring>
#include <new>

namespace gw {
namespace {

inline int32_t distance2(int32_t dr, int32_t dg, int32_t db) { return dr * dr + dg * dg + db * db; }

constexpr int kFastBits = 6;
constexpr int kFastShift = 8 - kFastBits;
constexpr size_t kFastEntries = size_t(1) << (3 * kFastBits);

// Fine cells' candidates are kept up to 2 MB (32 bytes a group of four):
// 8 candidates for every fine cell, where real palettes need 2 to 12 in the
// cells a frame uses. Beyond it cells are answered from their parents.
constexpr size_t kGroupLimit = size_t(1) << 16;

// Searches a fine cell answers from its parent's list before it is built.
constexpr uint8_t kFineBuildAfter = 8;

}  // namespace

int nearestColour(const uint8_t* palette768, int count, uint32_t colour) {
  if (!palette768 || count < 1 || count > 256) return -1;
  int32_t r = int32_t(colour & 0xFF), g = int32_t((colour >> 8) & 0xFF), b = int32_t((colour >> 16) & 0xFF);
  int best = 0;
  int32_t bestD = INT32_MAX;
  for (int i = 0; i < count; ++i) {
    const uint8_t* p = palette768 + i * 3;
    int32_t d = distance2(r - p[0], g - p[1], b - p[2]);
    if (d < bestD) {
      bestD = d;
      best = i;
    }
  }
  return best;
}

ColourSearch::ColourSearch() {
  std::memset(largeLength_, 0xFF, sizeof largeLength_);
  std::memset(coarseLength_, 0xFF, sizeof coarseLength_);
}
ColourSearch::~ColourSearch() = default;

bool ColourSearch::init(const uint8_t* palette768, int count) {
  count_ = 0;
  fast_.reset();
  if (!palette768 || count < 1 || count > 256) return false;
  if (!large_) large_.reset(new (std::nothrow) uint8_t[size_t(kLargeCells) * 256]);
  if (!coarse_) coarse_.reset(new (std::nothrow) uint8_t[size_t(kCoarseCells) * 256]);
  if (!fine_) fine_.reset(new (std::nothrow) uint32_t[kFineCells]);
  if (!fineVisits_) fineVisits_.reset(new (std::nothrow) uint8_t[kFineCells]);
  if (!cache_) cache_.reset(new (std::nothrow) uint32_t[size_t(1) << kCacheBits]);
  if (!large_ || !coarse_ || !fine_ || !fineVisits_ || !cache_) return false;
  std::memset(fineVisits_.get(), 0, kFineCells);
  std::memset(largeLength_, 0xFF, sizeof largeLength_);
  std::memset(coarseLength_, 0xFF, sizeof coarseLength_);
  std::memset(fine_.get(), 0, sizeof(uint32_t) * kFineCells);
  groupsUsed_ = 0;
  groupsFull_ = false;
  std::memcpy(palette_, palette768, size_t(count) * 3);
  count_ = count;
  for (int i = 0; i < count; ++i) {
    r_[i] = palette_[i * 3];
    g_[i] = palette_[i * 3 + 1];
    b_[i] = palette_[i * 3 + 2];
    all_[i] = uint8_t(i);
  }
  for (int i = 0; i < count; ++i) {
    int32_t best = INT32_MAX;  // stays so for a one-entry palette: every colour is its
    for (int j = 0; j < count; ++j) {
      if (j == i) continue;
      int32_t d = distance2(r_[i] - r_[j], g_[i] - g_[j], b_[i] - b_[j]);
      if (d < best) best = d;
    }
    neighbour2_[i] = best;
  }
  const uint32_t white = 0xFFFFFF;
  const uint32_t whiteAnswer = (white << 8) | uint32_t(nearestColour(palette_, count_, white));
  uint32_t* cache = cache_.get();
  for (size_t i = 0; i < (size_t(1) << kCacheBits); ++i) cache[i] = whiteAnswer;
  return true;
}

int ColourSearch::filter(const int lo[3], int side, const uint8_t* from, int n, uint8_t* out) const {
  const int hi[3] = {lo[0] + side - 1, lo[1] + side - 1, lo[2] + side - 1};
  int32_t minD[256];
  int32_t bound = INT32_MAX;
  for (int k = 0; k < n; ++k) {
    const int i = from[k];
    const int32_t v[3] = {r_[i], g_[i], b_[i]};
    int32_t dmin = 0, dmax = 0;
    for (int a = 0; a < 3; ++a) {
      const int32_t below = lo[a] - v[a], above = v[a] - hi[a];
      const int32_t inside = below > 0 ? below : (above > 0 ? above : 0);
      dmin += inside * inside;
      // Farthest point of the box along this axis: whichever end is farther.
      const int32_t toLo = v[a] > lo[a] ? v[a] - lo[a] : lo[a] - v[a];
      const int32_t toHi = v[a] > hi[a] ? v[a] - hi[a] : hi[a] - v[a];
      const int32_t f = toLo > toHi ? toLo : toHi;
      dmax += f * f;
    }
    minD[k] = dmin;
    if (dmax < bound) bound = dmax;
  }
  int m = 0;
  for (int k = 0; k < n; ++k)
    if (minD[k] <= bound) out[m++] = from[k];  // keeps index order: ties go to the lowest
  return m;
}

const uint8_t* ColourSearch::largeList(int cell, int* n) {
  uint8_t* list = large_.get() + size_t(cell) * 256;
  if (largeLength_[cell] == kUnbuilt) {
    constexpr int kSide = 256 >> kLargeBits, kMask = (1 << kLargeBits) - 1;
    const int lo[3] = {(cell >> (2 * kLargeBits)) * kSide, ((cell >> kLargeBits) & kMask) * kSide,
                       (cell & kMask) * kSide};
    largeLength_[cell] = uint16_t(filter(lo, kSide, all_, count_, list));
  }
  *n = largeLength_[cell];
  return list;
}

const uint8_t* ColourSearch::coarseList(int cell, int* n) {
  uint8_t* list = coarse_.get() + size_t(cell) * 256;
  if (coarseLength_[cell] == kUnbuilt) {
    constexpr int kSide = 256 >> kCoarseBits, kMask = (1 << kCoarseBits) - 1;
    const int x = cell >> (2 * kCoarseBits), y = (cell >> kCoarseBits) & kMask, z = cell & kMask;
    constexpr int kUp = kCoarseBits - kLargeBits;
    int parentLength = 0;
    const uint8_t* from =
        largeList(((x >> kUp) << (2 * kLargeBits)) | ((y >> kUp) << kLargeBits) | (z >> kUp), &parentLength);
    const int lo[3] = {x * kSide, y * kSide, z * kSide};
    coarseLength_[cell] = uint16_t(filter(lo, kSide, from, parentLength, list));
  }
  *n = coarseLength_[cell];
  return list;
}

int ColourSearch::scan(const uint8_t* list, int n, int r, int g, int b) const {
  int best = list[0];
  int32_t bestD = distance2(r - r_[best], g - g_[best], b - b_[best]);
  for (int k = 1; k < n; ++k) {
    const int i = list[k];
    const int32_t d = distance2(r - r_[i], g - g_[i], b - b_[i]);
    // Strict, as lists are in index order and ties keep the lowest; written
    // as selects because which entry wins is unpredictable.
    const bool closer = d < bestD;
    best = closer ? i : best;
    bestD = closer ? d : bestD;
  }
  return best;
}

int ColourSearch::nearestUnbuilt(int r, int g, int b) {
  const int cell = fineCell(r, g, b);
  const int parent = ((r >> (8 - kCoarseBits)) << (2 * kCoarseBits)) |
                     ((g >> (8 - kCoarseBits)) << kCoarseBits) | (b >> (8 - kCoarseBits));
  int parentLength = 0;
  const uint8_t* from = coarseList(parent, &parentLength);
  if (fineVisits_[cell] < kFineBuildAfter || groupsFull_) {
    fineVisits_[cell] = uint8_t(fineVisits_[cell] + (fineVisits_[cell] < kFineBuildAfter));
    return scan(from, parentLength, r, g, b);
  }
  constexpr int kSide = 1 << kFineShift;
  const int lo[3] = {r & ~(kSide - 1), g & ~(kSide - 1), b & ~(kSide - 1)};
  // Without room for the cell the parent's list still gives the exact
  // answer, only slower.
  if (!buildFineCell(cell, lo, from, parentLength)) {
    groupsFull_ = true;
    return scan(from, parentLength, r, g, b);
  }
  return nearestUncached(r, g, b);
}

bool ColourSearch::buildFineCell(int cell, const int lo[3], const uint8_t* from, int n) {
  uint8_t list[256];
  const int m = filter(lo, 1 << kFineShift, from, n, list);
  const int groupCount = (m + 3) / 4;
  if (groupsUsed_ + size_t(groupCount) > groupsSize_) {  // grows by doubling, up to the limit
    size_t grown = groupsSize_ ? groupsSize_ * 2 : size_t(1) << 12;
    if (grown > kGroupLimit) grown = kGroupLimit;
    if (groupsUsed_ + size_t(groupCount) > grown) return false;
    std::unique_ptr<CandidateGroup[]> store(new (std::nothrow) CandidateGroup[grown]);
    if (!store) return false;
    if (groupsUsed_) std::memcpy(store.get(), groups_.get(), groupsUsed_ * sizeof(CandidateGroup));
    groups_ = std::move(store);
    groupsSize_ = grown;
  }
  CandidateGroup* out = groups_.get() + groupsUsed_;
  for (int k = 0; k < groupCount * 4; ++k) {
    const int i = list[k < m ? k : m - 1];
    CandidateGroup& q = out[k / 4];
    q.redGreen[2 * (k % 4)] = int16_t(16 * r_[i]);
    q.redGreen[2 * (k % 4) + 1] = int16_t(16 * g_[i]);
    q.blueIndex[2 * (k % 4)] = int16_t(16 * b_[i]);
    q.blueIndex[2 * (k % 4) + 1] = int16_t(-i);
  }
  fine_[cell] = uint32_t(groupsUsed_ << 8) | uint32_t(groupCount);
  groupsUsed_ += size_t(groupCount);
  return true;
}

bool ColourSearch::enableFast() {
  if (count_ <= 0) return false;
  if (!fast_) {
    fast_.reset(new (std::nothrow) uint16_t[kFastEntries]);
    if (!fast_) return false;
    std::memset(fast_.get(), 0, kFastEntries * sizeof(uint16_t));
  }
  return true;
}

int ColourSearch::nearestFast(int r, int g, int b) {
  if (!fast_) return nearest(r, g, b);
  const size_t key = (size_t(r >> kFastShift) << (2 * kFastBits)) | (size_t(g >> kFastShift) << kFastBits) |
                     size_t(b >> kFastShift);
  uint16_t v = fast_[key];
  if (v) return v - 1;
  constexpr int kHalf = 1 << (kFastShift - 1);
  int i = nearestUncached((r & ~((1 << kFastShift) - 1)) | kHalf, (g & ~((1 << kFastShift) - 1)) | kHalf,
                          (b & ~((1 << kFastShift) - 1)) | kHalf);
  fast_[key] = uint16_t(i + 1);
  return i;
}

}  // namespace gw
