#include <mutex>
#include <unordered_map>

#include "platform/wire_pointer.h"

namespace gw {
namespace {
struct Registry {
  std::mutex mutex;
  std::unordered_map<uint32_t, const void*> byId;
  std::unordered_map<const void*, uint32_t> byPointer;
  uint32_t next = 0x10000;
};
Registry& registry() {
  static Registry r;
  return r;
}
}  // namespace

uint32_t wireFromPointer(const void* p) {
  if (!p) return 0;
  Registry& r = registry();
  std::lock_guard<std::mutex> guard(r.mutex);
  auto it = r.byPointer.find(p);
  if (it != r.byPointer.end()) return it->second;
  uint32_t id = r.next++;
  if (r.next == 0) r.next = 0x10000;
  r.byId[id] = p;
  r.byPointer[p] = id;
  return id;
}

void* pointerFromWire(uint32_t id) {
  if (!id) return nullptr;
  Registry& r = registry();
  std::lock_guard<std::mutex> guard(r.mutex);
  auto it = r.byId.find(id);
  return it == r.byId.end() ? nullptr : const_cast<void*>(it->second);
}

void wireForget(uint32_t id) {
  Registry& r = registry();
  std::lock_guard<std::mutex> guard(r.mutex);
  auto it = r.byId.find(id);
  if (it == r.byId.end()) return;
  r.byPointer.erase(it->second);
  r.byId.erase(it);
}

}  // namespace gw
