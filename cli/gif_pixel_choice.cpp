#include "cli/gif_pixel_choice.h"

#include <unordered_map>

namespace gw::cli {
namespace {

// The dictionary of a GIF LZW coder: (prefix code, next byte) -> code.
class LzwDictionary {
 public:
  explicit LzwDictionary(int bits) : clear_(1 << (bits < 2 ? 2 : bits)) { reset(); }
  void reset() {
    table_.clear();
    next_ = clear_ + 2;
  }
  int find(int prefix, int byte) const {
    auto it = table_.find(key(prefix, byte));
    return it == table_.end() ? -1 : it->second;
  }
  void add(int prefix, int byte) {
    // At 4096 codes the coder starts over with a clear code.
    if (next_ >= 4096) {
      reset();
      return;
    }
    table_.emplace(key(prefix, byte), next_++);
  }

 private:
  static uint32_t key(int prefix, int byte) { return (uint32_t(prefix) << 8) | uint32_t(byte); }
  int clear_;
  int next_ = 0;
  std::unordered_map<uint32_t, int> table_;
};

}  // namespace

std::vector<uint8_t> choosePixelsForLzw(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath,
                                        int transparent, int bits) {
  std::vector<uint8_t> out(values);
  if (out.empty()) return out;
  LzwDictionary dict(bits);
  int current = -1;  // the code of the string matched so far
  for (size_t i = 0; i < out.size(); ++i) {
    bool free = values[i] == transparent && beneath[i] >= 0;
    int options[2] = {values[i], free ? beneath[i] : -1};
    if (current < 0) {
      // A string starts with a single pixel, whose code always exists.
      current = options[0];
      continue;
    }
    int chosen = -1, extended = -1;
    for (int c : options) {
      if (c < 0) continue;
      int code = dict.find(current, c);
      if (code >= 0) {
        chosen = c;
        extended = code;
        break;
      }
    }
    if (extended >= 0) {
      out[i] = uint8_t(chosen);
      current = extended;
      continue;
    }
    // No choice continues the match: the coder emits it and starts again.
    // Prefer the value equal to the last pixel, which a later run can extend.
    int start = options[0];
    if (free && i > 0 && out[i - 1] == options[1]) start = options[1];
    dict.add(current, start);
    out[i] = uint8_t(start);
    current = start;
  }
  return out;
}

}  // namespace gw::cli
