// The colour table: a gradient settings record turned into N colours, from
// the start colour at entry 0 to the end colour at entry N - 1, with the edge
// pad, the midpoint or the fountain's markers in between.
//
//   gw::ColourTable table;
//   if (!table.build(settings621, 256)) return 0;   // out of memory
//   uint32_t c = table.at(k);                       // black outside 0..N-1
#pragma once

#include <cstdint>
#include <memory>

namespace gw {

class ColourTable {
 public:
  // Builds n entries (n >= 0) from the settings; false when memory fails,
  // leaving the table empty.
  bool build(const uint8_t* settings621, int32_t n);
  int32_t size() const { return count_; }
  // The colour of entry k (low 24 bits); black for any k outside the table.
  uint32_t at(int64_t k) const {
    return (k >= 0 && k < count_) ? entries_[size_t(k)] & 0xFFFFFF : 0;
  }

 private:
  std::unique_ptr<uint32_t[]> entries_;
  int32_t count_ = 0;
};

}  // namespace gw
