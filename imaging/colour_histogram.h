// The colour histogram of all frames of a build: every distinct colour once,
// with how many pixels carry it.
//
//   gw::ColourHistogram histogram;
//   if (!histogram.init()) return false;
//   for (each frame) if (!histogram.add(view)) return false;
//   std::vector<gw::HistogramEntry> entries;
//   histogram.collect(&entries);
//
// Memory is bounded whatever the number of frames, and grows with the
// colours met: the table starts small (a frame of text holds a few thousand
// colours, and clearing a table sized for the whole budget would cost more
// than counting them) and doubles as it fills. When the distinct colours
// would exceed the entry budget, the low bit of every channel is dropped and
// entries that now share a key are merged (repeatedly if need be). Each entry
// keeps the sum of the exact colours it stands for, so its colour is always
// the true mean, and while the budget holds (precision 8 bits) the histogram
// is exact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/packed_frame.h"
#include "platform/bitmap.h"

namespace gw {

struct HistogramEntry {
  float r = 0, g = 0, b = 0;  // mean colour of the pixels counted here
  double weight = 0;          // number of pixels
};

class ColourHistogram {
 public:
  // 2^17 entries keep the working set near 6 MB; more colours than that is
  // photographic noise, where 6 bits per channel lose nothing the later
  // refinement over the means cannot recover.
  static constexpr size_t kDefaultMaxEntries = size_t(1) << 17;

  ColourHistogram();
  ~ColourHistogram();
  ColourHistogram(const ColourHistogram&) = delete;
  ColourHistogram& operator=(const ColourHistogram&) = delete;

  // `maxEntries` is rounded up to a power of two, at least 512 (so that three
  // dropped bits per channel always fit). False when memory runs out. Should
  // memory run out later, while the table grows, the histogram coarsens as
  // if the budget had been reached.
  bool init(size_t maxEntries = kDefaultMaxEntries);
  // Entries the table holds before it next grows (for tests).
  size_t capacity() const { return capacity_; }
  // Counts every pixel of a 24- or 32-bit image (alpha ignored). False for
  // other depths or an invalid view; the histogram is then unchanged.
  bool add(const BitmapView& view);
  // The same for a locked packed frame (packed_frame.h): counts exactly what
  // adding the frame it was packed from counts. False when the bytes are not
  // a well-formed packed frame; the histogram may then hold part of it.
  bool addPacked(const uint8_t* data, size_t size);

  size_t size() const { return used_; }
  uint64_t pixels() const { return pixels_; }
  // Bits kept per channel: 8 while the histogram is exact.
  int precision() const { return 8 - shift_; }

  // Appends every entry; false when memory runs out.
  bool collect(std::vector<HistogramEntry>* out) const;
  // The exact colours (0x00BBGGRR) with their pixel counts; false when the
  // histogram is not exact or memory runs out.
  bool collectExact(std::vector<uint32_t>* colours, std::vector<uint64_t>* counts) const;

 private:
  struct Totals {
    uint64_t count, sumR, sumG, sumB;
  };

  void addRun(uint32_t colour, uint64_t n);
  uint32_t insertKey(uint32_t key);
  bool grow();
  void coarsen();
  void rebuildSlots();

  size_t maxEntries_ = 0;
  size_t capacity_ = 0;  // entries allocated: a power of two up to maxEntries_
  size_t tableMask_ = 0;
  int tableBits_ = 0;
  int shift_ = 0;
  size_t used_ = 0;
  uint64_t pixels_ = 0;
  std::unique_ptr<uint32_t[]> keys_;   // slot: key + 1 (0 = empty)
  std::unique_ptr<uint32_t[]> slots_;  // slot: entry index
  std::unique_ptr<uint32_t[]> entryKey_;
  std::unique_ptr<Totals[]> totals_;
};

}  // namespace gw
