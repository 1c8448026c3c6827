#include "imaging/nearest_colour.h"

#include <cstring>
#include <new>

namespace gw {
namespace {

inline int32_t distance2(int32_t dr, int32_t dg, int32_t db) { return dr * dr + dg * dg + db * db; }

constexpr int kFastBits = 6;
constexpr int kFastShift = 8 - kFastBits;
constexpr size_t kFastEntries = size_t(1) << (3 * kFastBits);

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

ColourSearch::ColourSearch() { std::memset(cellLength_, 0xFF, sizeof cellLength_); }
ColourSearch::~ColourSearch() = default;

bool ColourSearch::init(const uint8_t* palette768, int count) {
  count_ = 0;
  fast_.reset();
  std::memset(cellLength_, 0xFF, sizeof cellLength_);
  if (!palette768 || count < 1 || count > 256) return false;
  if (!candidates_) {
    candidates_.reset(new (std::nothrow) uint8_t[size_t(kCells) * 256]);
    if (!candidates_) return false;
  }
  std::memcpy(palette_, palette768, size_t(count) * 3);
  count_ = count;
  for (int i = 0; i < count; ++i) {
    r_[i] = palette_[i * 3];
    g_[i] = palette_[i * 3 + 1];
    b_[i] = palette_[i * 3 + 2];
  }
  for (int i = 0; i < count; ++i) {
    int32_t best = INT32_MAX;
    for (int j = 0; j < count; ++j) {
      if (j == i) continue;
      int32_t d = distance2(r_[i] - r_[j], g_[i] - g_[j], b_[i] - b_[j]);
      if (d < best) best = d;
    }
    neighbour2_[i] = best;  // INT32_MAX for a one-entry palette: any colour is its
  }
  return true;
}

void ColourSearch::buildCell(int cell) {
  const int cr = cell >> (2 * kCellBits), cg = (cell >> kCellBits) & (kCellsPerAxis - 1),
            cb = cell & (kCellsPerAxis - 1);
  constexpr int kSide = 256 / kCellsPerAxis;
  const int lo[3] = {cr * kSide, cg * kSide, cb * kSide};
  const int hi[3] = {lo[0] + kSide - 1, lo[1] + kSide - 1, lo[2] + kSide - 1};
  int32_t minD[256];
  int32_t bound = INT32_MAX;
  for (int i = 0; i < count_; ++i) {
    const int32_t v[3] = {r_[i], g_[i], b_[i]};
    int32_t dmin = 0, dmax = 0;
    for (int a = 0; a < 3; ++a) {
      int32_t below = lo[a] - v[a], above = v[a] - hi[a];
      int32_t inside = below > 0 ? below : (above > 0 ? above : 0);
      dmin += inside * inside;
      int32_t farLo = v[a] - lo[a], farHi = hi[a] - v[a];
      if (farLo < 0) farLo = -farLo;
      if (farHi < 0) farHi = -farHi;
      int32_t far = farLo > farHi ? farLo : farHi;
      dmax += far * far;
    }
    minD[i] = dmin;
    if (dmax < bound) bound = dmax;
  }
  uint8_t* list = candidates_.get() + size_t(cell) * 256;
  int n = 0;
  for (int i = 0; i < count_; ++i)
    if (minD[i] <= bound) list[n++] = uint8_t(i);
  cellLength_[cell] = uint16_t(n);
}

int ColourSearch::searchCell(int cell, int r, int g, int b) const {
  const uint8_t* list = candidates_.get() + size_t(cell) * 256;
  const int n = cellLength_[cell];
  int best = list[0];
  int32_t bestD = distance2(r - r_[best], g - g_[best], b - b_[best]);
  for (int k = 1; k < n; ++k) {
    int i = list[k];
    int32_t d = distance2(r - r_[i], g - g_[i], b - b_[i]);
    if (d < bestD) {  // strict: the list is in index order, so ties keep the lowest
      bestD = d;
      best = i;
    }
  }
  return best;
}

int ColourSearch::nearest(int r, int g, int b) {
  if (count_ <= 0) return -1;
  const int cell = ((r >> (8 - kCellBits)) << (2 * kCellBits)) | ((g >> (8 - kCellBits)) << kCellBits) |
                   (b >> (8 - kCellBits));
  if (cellLength_[cell] == kUnbuilt) buildCell(cell);
  return searchCell(cell, r, g, b);
}

int ColourSearch::nearestFrom(int r, int g, int b, int guess) {
  if (guess >= 0 && guess < count_) {
    int32_t d = distance2(r - r_[guess], g - g_[guess], b - b_[guess]);
    // Any other entry is at least neighbour - sqrt(d) away, which is more than
    // sqrt(d) when 4d < neighbour^2; int64 because neighbour2 may be INT32_MAX.
    if (int64_t(d) * 4 < int64_t(neighbour2_[guess])) return guess;
  }
  return nearest(r, g, b);
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
  int i = nearest((r & ~((1 << kFastShift) - 1)) | kHalf, (g & ~((1 << kFastShift) - 1)) | kHalf,
                  (b & ~((1 << kFastShift) - 1)) | kHalf);
  fast_[key] = uint16_t(i + 1);
  return i;
}

}  // namespace gw
