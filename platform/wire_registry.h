// The table behind wire pointers where pointers are wider than the 32-bit
// record fields that carry them: every registered pointer gets a 32-bit id.
// It holds no lock of its own; each backend guards it with the lock its
// platform offers (platform/posix/wire_pointer_posix.cpp,
// platform/win32/wire_pointer_win32.cpp).
#pragma once

#include <cstdint>
#include <unordered_map>

namespace gw {

class WireRegistry {
 public:
  // 0 for nullptr, and when the table cannot grow. A pointer keeps its id
  // until it is forgotten.
  uint32_t idFor(const void* p) noexcept;
  // nullptr for 0 or an id that is not registered.
  void* pointerFor(uint32_t id) const noexcept;
  // Releases the id; an unknown id does nothing.
  void forget(uint32_t id) noexcept;

 private:
  std::unordered_map<uint32_t, const void*> byId_;
  std::unordered_map<const void*, uint32_t> byPointer_;
  uint32_t next_ = kFirstId;
  // Small numbers stay recognisable as not being ids.
  static constexpr uint32_t kFirstId = 0x10000;
};

// The three wire-pointer operations of one registry, as plain functions, so
// that two modules of one process (a 64-bit plug-in and the program that
// loads it) can share a single registry: the program exports a function named
// "gwWireRegistry" returning its table, and the plug-in uses that table.
struct WireRegistryOps {
  uint32_t (*fromPointer)(const void* p);
  void* (*toPointer)(uint32_t id);
  void (*forget)(uint32_t id);
};

}  // namespace gw
