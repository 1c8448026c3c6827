// Overflow-checked size arithmetic for allocations computed from untrusted
// numbers (record fields, image headers, file counts).
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

namespace gw {

inline bool checkedMul(size_t a, size_t b, size_t* out) {
  if (a != 0 && b > std::numeric_limits<size_t>::max() / a) return false;
  *out = a * b;
  return true;
}

inline bool checkedAdd(size_t a, size_t b, size_t* out) {
  if (b > std::numeric_limits<size_t>::max() - a) return false;
  *out = a + b;
  return true;
}

}  // namespace gw
