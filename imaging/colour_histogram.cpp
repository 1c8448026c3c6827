#include "imaging/colour_histogram.h"

#include <cstring>
#include <new>

namespace gw {
namespace {

inline size_t hashKey(uint32_t key, int bits) { return size_t((key * 0x9E3779B1u) >> (32 - bits)); }

inline uint32_t keyOf(uint32_t r, uint32_t g, uint32_t b, int shift) {
  return ((r >> shift) << 16) | ((g >> shift) << 8) | (b >> shift);
}

}  // namespace

ColourHistogram::ColourHistogram() = default;
ColourHistogram::~ColourHistogram() = default;

namespace {
// Where the table starts: room for the colours of most single frames of text.
constexpr size_t kInitialEntries = size_t(1) << 12;
}  // namespace

bool ColourHistogram::init(size_t maxEntries) {
  size_t entries = 512;
  while (entries < maxEntries && entries < (size_t(1) << 24)) entries <<= 1;
  const size_t start = entries < kInitialEntries ? entries : kInitialEntries;
  // Table at most half full keeps linear probing short.
  const size_t slots = start * 2;
  keys_.reset(new (std::nothrow) uint32_t[slots]);
  slots_.reset(new (std::nothrow) uint32_t[slots]);
  entryKey_.reset(new (std::nothrow) uint32_t[start]);
  totals_.reset(new (std::nothrow) Totals[start]);
  if (!keys_ || !slots_ || !entryKey_ || !totals_) {
    keys_.reset();
    slots_.reset();
    entryKey_.reset();
    totals_.reset();
    maxEntries_ = 0;
    capacity_ = 0;
    return false;
  }
  std::memset(keys_.get(), 0, slots * sizeof(uint32_t));
  maxEntries_ = entries;
  capacity_ = start;
  tableMask_ = slots - 1;
  tableBits_ = 0;
  while ((size_t(1) << tableBits_) < slots) ++tableBits_;
  shift_ = 0;
  used_ = 0;
  pixels_ = 0;
  return true;
}

// Doubles the entries and the table; entries keep their indices, so what is
// collected does not depend on when the table grew. False, with nothing
// changed, when memory runs out.
bool ColourHistogram::grow() {
  const size_t entries = capacity_ * 2, slots = entries * 2;
  std::unique_ptr<uint32_t[]> keys(new (std::nothrow) uint32_t[slots]);
  std::unique_ptr<uint32_t[]> slotEntries(new (std::nothrow) uint32_t[slots]);
  std::unique_ptr<uint32_t[]> entryKey(new (std::nothrow) uint32_t[entries]);
  std::unique_ptr<Totals[]> totals(new (std::nothrow) Totals[entries]);
  if (!keys || !slotEntries || !entryKey || !totals) return false;
  std::memcpy(entryKey.get(), entryKey_.get(), used_ * sizeof(uint32_t));
  std::memcpy(totals.get(), totals_.get(), used_ * sizeof(Totals));
  keys_ = std::move(keys);
  slots_ = std::move(slotEntries);
  entryKey_ = std::move(entryKey);
  totals_ = std::move(totals);
  capacity_ = entries;
  tableMask_ = slots - 1;
  ++tableBits_;
  rebuildSlots();
  return true;
}

// Refills the table from the entries (keys all distinct).
void ColourHistogram::rebuildSlots() {
  std::memset(keys_.get(), 0, (tableMask_ + 1) * sizeof(uint32_t));
  for (size_t e = 0; e < used_; ++e) {
    const uint32_t key = entryKey_[e];
    size_t s = hashKey(key, tableBits_);
    while (keys_[s] != 0) s = (s + 1) & tableMask_;
    keys_[s] = key + 1;
    slots_[s] = uint32_t(e);
  }
}

uint32_t ColourHistogram::insertKey(uint32_t key) {
  size_t s = hashKey(key, tableBits_);
  const uint32_t stored = key + 1;
  for (;;) {
    uint32_t k = keys_[s];
    if (k == stored) return slots_[s];
    if (k == 0) break;
    s = (s + 1) & tableMask_;
  }
  if (used_ == capacity_) {
    if (capacity_ < maxEntries_ && grow()) return insertKey(key);
    coarsen();
    return insertKey((key >> 1) & 0x7F7F7F);  // the same colour at the new precision
  }
  keys_[s] = stored;
  uint32_t index = uint32_t(used_++);
  slots_[s] = index;
  entryKey_[index] = key;
  totals_[index] = Totals{0, 0, 0, 0};
  return index;
}

// Drops one bit per channel and merges entries whose keys now meet. Runs at
// most 8 times over a histogram's life and only in place: the merged entries
// are packed at the front of the same arrays.
void ColourHistogram::coarsen() {
  ++shift_;
  std::memset(keys_.get(), 0, (tableMask_ + 1) * sizeof(uint32_t));
  size_t oldUsed = used_;
  used_ = 0;
  for (size_t e = 0; e < oldUsed; ++e) {
    uint32_t key = (entryKey_[e] >> 1) & 0x7F7F7F;
    Totals t = totals_[e];
    size_t s = hashKey(key, tableBits_);
    for (;;) {
      uint32_t k = keys_[s];
      if (k == key + 1) {
        Totals& m = totals_[slots_[s]];
        m.count += t.count;
        m.sumR += t.sumR;
        m.sumG += t.sumG;
        m.sumB += t.sumB;
        break;
      }
      if (k == 0) {
        keys_[s] = key + 1;
        slots_[s] = uint32_t(used_);
        entryKey_[used_] = key;
        totals_[used_] = t;  // used_ <= e: never overwrites an entry not yet moved
        ++used_;
        break;
      }
      s = (s + 1) & tableMask_;
    }
  }
}

void ColourHistogram::addRun(uint32_t colour, uint64_t n) {
  const uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = colour >> 16;
  uint32_t index = insertKey(keyOf(r, g, b, shift_));
  Totals& t = totals_[index];
  t.count += n;
  t.sumR += uint64_t(r) * n;
  t.sumG += uint64_t(g) * n;
  t.sumB += uint64_t(b) * n;
}

bool ColourHistogram::add(const BitmapView& view) {
  if (!keys_ || !view.valid() || (view.bits() != 24 && view.bits() != 32)) return false;
  const int step = view.bits() / 8;
  const int32_t w = view.width();
  for (int32_t y = 0; y < view.height(); ++y) {
    const uint8_t* p = view.row(y);
    // Frames of text are mostly runs of one colour: count a run once.
    uint32_t run = uint32_t(p[2]) | (uint32_t(p[1]) << 8) | (uint32_t(p[0]) << 16);
    uint64_t length = 0;
    for (int32_t x = 0; x < w; ++x, p += step) {
      uint32_t c = uint32_t(p[2]) | (uint32_t(p[1]) << 8) | (uint32_t(p[0]) << 16);
      if (c == run) {
        ++length;
        continue;
      }
      addRun(run, length);
      run = c;
      length = 1;
    }
    addRun(run, length);
  }
  pixels_ += uint64_t(w) * uint64_t(view.height());
  return true;
}

bool ColourHistogram::addPacked(const uint8_t* data, size_t size) {
  PackedRuns runs;
  if (!keys_ || !runs.open(data, size)) return false;
  // Runs are joined as add() joins pixels, so the same runs are counted in
  // the same order and the histogram (even its coarsening) is the same.
  while (runs.nextRow()) {
    uint32_t run = 0, colour = 0, length = 0;
    uint64_t total = 0;
    while (runs.next(&colour, &length)) {
      if (total == 0 || colour != run) {
        if (total) addRun(run, total);
        run = colour;
        total = 0;
      }
      total += length;
    }
    if (!runs.ok()) return false;
    addRun(run, total);
  }
  if (!runs.ok()) return false;
  pixels_ += uint64_t(runs.width()) * uint64_t(runs.height());
  return true;
}

bool ColourHistogram::collect(std::vector<HistogramEntry>* out) const {
  if (!out) return false;
  try {
    out->reserve(out->size() + used_);
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (size_t e = 0; e < used_; ++e) {
    const Totals& t = totals_[e];
    if (t.count == 0) continue;
    const double n = double(t.count);
    HistogramEntry h;
    h.r = float(double(t.sumR) / n);
    h.g = float(double(t.sumG) / n);
    h.b = float(double(t.sumB) / n);
    h.weight = n;
    out->push_back(h);
  }
  return true;
}

bool ColourHistogram::collectExact(std::vector<uint32_t>* colours, std::vector<uint64_t>* counts) const {
  if (!colours || !counts || shift_ != 0) return false;
  try {
    colours->reserve(colours->size() + used_);
    counts->reserve(counts->size() + used_);
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (size_t e = 0; e < used_; ++e) {
    if (totals_[e].count == 0) continue;
    uint32_t k = entryKey_[e];
    colours->push_back(((k >> 16) & 0xFF) | (k & 0xFF00) | ((k & 0xFF) << 16));
    counts->push_back(totals_[e].count);
  }
  return true;
}

}  // namespace gw
