#include <windows.h>

#include <atomic>
#include <cstdint>

#include "platform/wire_pointer.h"

#if UINTPTR_MAX == 0xFFFFFFFFu

namespace gw {

// On the 32-bit plug-in a pointer is its own wire form.
uint32_t wireFromPointer(const void* p) { return uint32_t(reinterpret_cast<uintptr_t>(p)); }
void* pointerFromWire(uint32_t id) { return reinterpret_cast<void*>(uintptr_t(id)); }
void wireForget(uint32_t) {}

}  // namespace gw

#else

#include "platform/win32/wire_pointer_win32.h"
#include "platform/wire_registry.h"

namespace gw {
namespace {
// SRWLOCK rather than std::mutex: MinGW's win32 thread model has no std::mutex.
SRWLOCK g_lock = SRWLOCK_INIT;

WireRegistry& registry() {
  static WireRegistry r;
  return r;
}

uint32_t localFromPointer(const void* p) {
  AcquireSRWLockExclusive(&g_lock);
  uint32_t id = registry().idFor(p);
  ReleaseSRWLockExclusive(&g_lock);
  return id;
}

void* localToPointer(uint32_t id) {
  AcquireSRWLockShared(&g_lock);
  void* p = registry().pointerFor(id);
  ReleaseSRWLockShared(&g_lock);
  return p;
}

void localForget(uint32_t id) {
  AcquireSRWLockExclusive(&g_lock);
  registry().forget(id);
  ReleaseSRWLockExclusive(&g_lock);
}

constexpr WireRegistryOps kLocalOps{&localFromPointer, &localToPointer, &localForget};

// The registry the process shares: the loading program's when it exports one,
// else this module's. Two threads may both look it up; they find the same.
const WireRegistryOps& processOps() {
  static std::atomic<const WireRegistryOps*> found{nullptr};
  const WireRegistryOps* ops = found.load(std::memory_order_acquire);
  if (ops) return *ops;
  using Export = const WireRegistryOps* (*)();
  auto exported = reinterpret_cast<Export>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(nullptr), "gwWireRegistry")));
  ops = exported ? exported() : nullptr;
  if (!ops) ops = &kLocalOps;
  found.store(ops, std::memory_order_release);
  return *ops;
}
}  // namespace

const WireRegistryOps* moduleWireRegistry() { return &kLocalOps; }

uint32_t wireFromPointer(const void* p) { return p ? processOps().fromPointer(p) : 0; }
void* pointerFromWire(uint32_t id) { return id ? processOps().toPointer(id) : nullptr; }
void wireForget(uint32_t id) {
  if (id) processOps().forget(id);
}

}  // namespace gw

#endif
