// A typed work buffer for the generators, held in a movable memory block so
// that an allocation failure is a return value (nothing throws) and the
// failure paths can be exercised with testing::failAllocationsAfter.
//
//   TextureBuffer<float> grid(n * n * 2);
//   if (!grid) return 0;
//   grid[i] = 1.0f;
#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>

#include "base/checked_math.h"
#include "platform/memory.h"

namespace gw {

template <typename T>
class TextureBuffer {
  static_assert(std::is_trivially_copyable<T>::value, "plain values only");

 public:
  explicit TextureBuffer(size_t count) {
    size_t bytes;
    if (count == 0 || !checkedMul(count, sizeof(T), &bytes)) return;
    block_.reset(memAlloc(bytes));
    data_ = reinterpret_cast<T*>(memLock(block_.get()));
    if (data_) count_ = count;
  }
  ~TextureBuffer() {
    if (data_) memUnlock(block_.get());
  }
  TextureBuffer(const TextureBuffer&) = delete;
  TextureBuffer& operator=(const TextureBuffer&) = delete;

  explicit operator bool() const { return data_ != nullptr; }
  size_t size() const { return count_; }
  T* data() const { return data_; }
  T& operator[](size_t i) const { return data_[i]; }

 private:
  MemBlock block_;
  T* data_ = nullptr;
  size_t count_ = 0;
};

}  // namespace gw
