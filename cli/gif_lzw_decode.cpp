#include <cstddef>
#include <vector>

#include "cli/gif_lzw.h"

namespace gw::cli {

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
  std::vector<int> prefix(kLzwMaxCodes), suffix(kLzwMaxCodes), length(kLzwMaxCodes);
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
    if (previous >= 0 && next < kLzwMaxCodes) {
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
