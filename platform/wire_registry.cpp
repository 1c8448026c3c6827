#include "platform/wire_registry.h"

#include <new>

namespace gw {

uint32_t WireRegistry::idFor(const void* p) noexcept {
  if (!p) return 0;
  auto known = byPointer_.find(p);
  if (known != byPointer_.end()) return known->second;
  // After a wrap ids still in use are skipped; 2^32 live pointers cannot exist.
  while (next_ == 0 || byId_.count(next_)) next_ = next_ == 0 ? kFirstId : next_ + 1;
  const uint32_t id = next_++;
  try {
    byId_.emplace(id, p);
    try {
      byPointer_.emplace(p, id);
    } catch (const std::bad_alloc&) {
      byId_.erase(id);
      return 0;
    }
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return id;
}

void* WireRegistry::pointerFor(uint32_t id) const noexcept {
  if (!id) return nullptr;
  auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : const_cast<void*>(it->second);
}

void WireRegistry::forget(uint32_t id) noexcept {
  auto it = byId_.find(id);
  if (it == byId_.end()) return;
  byPointer_.erase(it->second);
  byId_.erase(it);
}

}  // namespace gw
