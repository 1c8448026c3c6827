#include <mutex>

#include "platform/wire_pointer.h"
#include "platform/wire_registry.h"

namespace gw {
namespace {
std::mutex& registryLock() {
  static std::mutex lock;
  return lock;
}
WireRegistry& registry() {
  static WireRegistry r;
  return r;
}
}  // namespace

uint32_t wireFromPointer(const void* p) {
  std::lock_guard<std::mutex> guard(registryLock());
  return registry().idFor(p);
}

void* pointerFromWire(uint32_t id) {
  std::lock_guard<std::mutex> guard(registryLock());
  return registry().pointerFor(id);
}

void wireForget(uint32_t id) {
  std::lock_guard<std::mutex> guard(registryLock());
  registry().forget(id);
}

}  // namespace gw
