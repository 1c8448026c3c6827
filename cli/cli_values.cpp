#include "cli/cli_values.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace gw::cli {

bool parseNumber(const std::string& text, long long lo, long long hi, long long* out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(text.c_str(), &end, 0);
  if (errno || *end || v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool parseColour(const std::string& text, uint32_t* out) {
  long long v;
  if (!text.empty() && text[0] == '#') {
    if (text.size() != 7 || !parseNumber("0x" + text.substr(1), 0, 0xFFFFFF, &v)) return false;
    *out = uint32_t(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
    return true;
  }
  if (!parseNumber(text, 0, 0xFFFFFF, &v)) return false;
  *out = uint32_t(v);
  return true;
}

bool parseImageSize(const std::string& text, int32_t* w, int32_t* h, long long maxSide) {
  size_t x = text.find('x');
  long long a, b;
  if (x == std::string::npos || !parseNumber(text.substr(0, x), 1, maxSide, &a) ||
      !parseNumber(text.substr(x + 1), 1, maxSide, &b))
    return false;
  *w = int32_t(a);
  *h = int32_t(b);
  return true;
}

bool parseFloat(const std::string& text, float* out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  double v = std::strtod(text.c_str(), &end);
  if (errno || *end || !std::isfinite(v)) return false;
  *out = float(v);
  return true;
}

}  // namespace gw::cli
