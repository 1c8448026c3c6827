#include "cli/gif_lzw.h"

#include <cstddef>
#include <vector>

namespace gw::cli {
namespace {

constexpr int kMaxCodes = 4096;

enum class TablePolicy {
  kClearWhenFull,  // what most coders do
  kKeepWhenFull,   // never start over
  kClearWhenWorse, // keep the full table while it codes as well as it did
};

// Packs codes least significant bit first into 255-byte sub-blocks.
class BitWriter {
 public:
  void put(int code, int width) {
    acc_ |= uint64_t(code) << bits_;
    bits_ += width;
    while (bits_ >= 8) {
      byte(uint8_t(acc_));
      acc_ >>= 8;
      bits_ -= 8;
    }
  }
  std::vector<uint8_t> finish() {
    if (bits_ > 0) byte(uint8_t(acc_));
    if (!block_.empty()) flushBlock();
    out_.push_back(0);
    return std::move(out_);
  }
  size_t size() const { return out_.size() + block_.size(); }

 private:
  void byte(uint8_t b) {
    block_.push_back(b);
    if (block_.size() == 255) flushBlock();
  }
  void flushBlock() {
    out_.push_back(uint8_t(block_.size()));
    out_.insert(out_.end(), block_.begin(), block_.end());
    block_.clear();
  }
  uint64_t acc_ = 0;
  int bits_ = 0;
  std::vector<uint8_t> block_;
  std::vector<uint8_t> out_;
};

// The string table as (prefix code, byte) -> code, in a flat array: codes are
// below 4096 and bytes below 256, so 1M entries of 16 bits index it directly.
class CodeTable {
 public:
  CodeTable() : codes_(size_t(kMaxCodes) * 256, 0xFFFF) {}
  int find(int prefix, int byte) const {
    uint16_t c = codes_[size_t(prefix) * 256 + size_t(byte)];
    return c == 0xFFFF ? -1 : c;
  }
  void add(int prefix, int byte, int code) {
    codes_[size_t(prefix) * 256 + size_t(byte)] = uint16_t(code);
    used_.push_back(uint32_t(prefix) * 256 + uint32_t(byte));
  }
  void clear() {
    for (uint32_t k : used_) codes_[k] = 0xFFFF;
    used_.clear();
  }

 private:
  std::vector<uint16_t> codes_;
  std::vector<uint32_t> used_;
};

LzwImage encode(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath, int transparent,
                int minCodeSize, TablePolicy policy, bool shownFirst, CodeTable& table) {
  LzwImage out;
  out.stored = values;
  const int clearCode = 1 << minCodeSize;
  const int endCode = clearCode + 1;
  int next = clearCode + 2;
  int width = minCodeSize + 1;
  BitWriter bits;
  table.clear();
  bits.put(clearCode, width);
  // For the "clear when worse" policy: pixels per code while the full table
  // was fresh, and over the current stretch.
  size_t pixelsAtFull = 0, codesAtFull = 0, windowPixels = 0, windowCodes = 0;
  double fullRate = 0;

  auto emit = [&](int code) {
    bits.put(code, width);
    ++windowCodes;
  };
  auto startOver = [&]() {
    bits.put(clearCode, width);
    table.clear();
    next = clearCode + 2;
    width = minCodeSize + 1;
    fullRate = 0;
  };

  int current = -1;
  for (size_t i = 0; i < values.size(); ++i) {
    const bool free = transparent >= 0 && values[i] == transparent && beneath[i] >= 0;
    const int first = free && shownFirst ? beneath[i] : values[i];
    const int second = free ? (shownFirst ? values[i] : beneath[i]) : -1;
    ++windowPixels;
    if (current < 0) {
      out.stored[i] = uint8_t(first);
      current = first;
      continue;
    }
    int code = table.find(current, first);
    int chosen = first;
    if (code < 0 && second >= 0) {
      code = table.find(current, second);
      chosen = second;
    }
    if (code >= 0) {
      out.stored[i] = uint8_t(chosen);
      current = code;
      continue;
    }
    // The match ends here: emit it and start a new string. Of two possible
    // starts, take the one equal to the pixel before, which a run extends.
    emit(current);
    int start = first;
    if (second >= 0) {
      // Look one pixel ahead: a start that the next pixel can extend is better.
      auto extendable = [&](int s) {
        if (i + 1 >= values.size()) return false;
        bool nextFree = values[i + 1] == transparent && beneath[i + 1] >= 0;
        return table.find(s, values[i + 1]) >= 0 || (nextFree && table.find(s, beneath[i + 1]) >= 0);
      };
      bool firstGood = extendable(first), secondGood = extendable(second);
      if (secondGood && !firstGood) start = second;
      else if (secondGood == firstGood && i > 0 && out.stored[i - 1] == second) start = second;
    }
    out.stored[i] = uint8_t(start);
    if (next < kMaxCodes) {
      table.add(current, start, next++);
      if (next > (1 << width) && width < 12) ++width;
      if (next == kMaxCodes) {
        pixelsAtFull = windowPixels;
        codesAtFull = windowCodes;
        windowPixels = windowCodes = 0;
      }
    } else if (policy == TablePolicy::kClearWhenFull) {
      startOver();
    } else if (policy == TablePolicy::kClearWhenWorse && windowCodes >= 512) {
      double rate = double(windowPixels) / double(windowCodes);
      if (fullRate == 0) fullRate = codesAtFull ? double(pixelsAtFull) / double(codesAtFull) : rate;
      if (rate < fullRate * 0.9) startOver();
      windowPixels = windowCodes = 0;
    }
    current = start;
  }
  if (current >= 0) emit(current);
  bits.put(endCode, width);
  out.blocks = bits.finish();
  return out;
}

}  // namespace

LzwImage lzwEncodeBest(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath, int transparent,
                       int minCodeSize) {
  CodeTable table;
  LzwImage best;
  bool have = false;
  // Unchanged pixels may lean towards the transparent index or towards the
  // colour shown; which codes shorter depends on the frame, so both are tried.
  for (bool shownFirst : {false, true}) {
    if (shownFirst && transparent < 0) break;
    for (TablePolicy policy : {TablePolicy::kClearWhenFull, TablePolicy::kKeepWhenFull, TablePolicy::kClearWhenWorse}) {
      LzwImage candidate = encode(values, beneath, transparent, minCodeSize, policy, shownFirst, table);
      if (!have || candidate.blocks.size() < best.blocks.size()) {
        best = std::move(candidate);
        have = true;
      }
    }
  }
  return best;
}

bool lzwDecode(const std::vector<uint8_t>& blocks, int minCodeSize, size_t pixelCount, std::vector<uint8_t>* out) {
  std::vector<uint8_t> data;
  size_t pos = 0;
  while (pos < blocks.size()) {
    size_t n = blocks[pos++];
    if (n == 0) break;
    if (pos + n > blocks.size()) return false;
    data.insert(data.end(), blocks.begin() + long(pos), blocks.begin() + long(pos + n));
    pos += n;
  }
  const int clearCode = 1 << minCodeSize;
  const int endCode = clearCode + 1;
  std::vector<int> prefix(kMaxCodes), suffix(kMaxCodes), length(kMaxCodes);
  for (int i = 0; i < clearCode; ++i) {
    prefix[size_t(i)] = -1;
    suffix[size_t(i)] = i;
    length[size_t(i)] = 1;
  }
  int width = minCodeSize + 1, next = clearCode + 2, previous = -1;
  size_t bitPos = 0;
  out->clear();
  std::vector<uint8_t> string;
  while (bitPos + size_t(width) <= data.size() * 8) {
    int code = 0;
    for (int b = 0; b < width; ++b, ++bitPos)
      code |= ((data[bitPos / 8] >> (bitPos % 8)) & 1) << b;
    if (code == clearCode) {
      width = minCodeSize + 1;
      next = clearCode + 2;
      previous = -1;
      continue;
    }
    if (code == endCode) break;
    if (code > next || (code == next && previous < 0)) return false;
    int walk = code == next ? previous : code;
    string.clear();
    for (int c = walk; c >= 0; c = prefix[size_t(c)]) string.push_back(uint8_t(suffix[size_t(c)]));
    uint8_t firstByte = string.back();
    if (code == next) string.insert(string.begin(), firstByte);
    out->insert(out->end(), string.rbegin(), string.rend());
    if (previous >= 0 && next < kMaxCodes) {
      prefix[size_t(next)] = previous;
      suffix[size_t(next)] = firstByte;
      length[size_t(next)] = length[size_t(previous)] + 1;
      ++next;
      if (next == (1 << width) && width < 12) ++width;
    }
    previous = code;
  }
  return out->size() == pixelCount;
}

}  // namespace gw::cli
