// Global memory blocks: the handles the host and GDI take as they are.
#include <windows.h>

#include <cstdint>

#include "platform/memory.h"
#include "platform/wire_pointer.h"

namespace gw {
namespace {
#if UINTPTR_MAX == 0xFFFFFFFFu
// The 32-bit plug-in: a handle is its own 32-bit form.
HGLOBAL toHandle(MemHandle h) { return reinterpret_cast<HGLOBAL>(static_cast<uintptr_t>(h)); }
MemHandle fromHandle(HGLOBAL h) { return static_cast<MemHandle>(reinterpret_cast<uintptr_t>(h)); }
void forgetHandle(MemHandle) {}
#else
// The 64-bit test build: a movable block's handle is a 64-bit pointer, so the
// records carry its wire id, as they do for pointers.
HGLOBAL toHandle(MemHandle h) { return static_cast<HGLOBAL>(pointerFromWire(h)); }
MemHandle fromHandle(HGLOBAL h) {
  if (!h) return 0;
  MemHandle id = wireFromPointer(h);
  if (!id) GlobalFree(h);  // no id, no owner: give the block back
  return id;
}
void forgetHandle(MemHandle h) { wireForget(h); }
#endif

int failCountdown = -1;
bool allocationFails() {
  if (failCountdown < 0) return false;
  if (failCountdown == 0) return true;
  --failCountdown;
  return false;
}
}  // namespace

MemHandle memAlloc(size_t bytes) {
  if (bytes == 0 || bytes > 0x7FFFFFFF || allocationFails()) return 0;
  return fromHandle(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
}

uint8_t* memLock(MemHandle h) {
  HGLOBAL handle = h ? toHandle(h) : nullptr;
  return handle ? static_cast<uint8_t*>(GlobalLock(handle)) : nullptr;
}

void memUnlock(MemHandle h) {
  if (HGLOBAL handle = h ? toHandle(h) : nullptr) GlobalUnlock(handle);
}

size_t memSize(MemHandle h) {
  HGLOBAL handle = h ? toHandle(h) : nullptr;
  return handle ? GlobalSize(handle) : 0;
}

MemHandle memRealloc(MemHandle h, size_t bytes) {
  HGLOBAL handle = h ? toHandle(h) : nullptr;
  if (!handle || bytes == 0 || bytes > 0x7FFFFFFF) return 0;
  if (bytes > memSize(h) && allocationFails()) return 0;
  HGLOBAL moved = GlobalReAlloc(handle, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT);
  if (!moved) return 0;
  if (moved == handle) return h;
  // A movable block keeps its handle when it moves; should one not, the old
  // handle is gone and the new one takes its place.
  forgetHandle(h);
  return fromHandle(moved);
}

void memFree(MemHandle h) {
  HGLOBAL handle = h ? toHandle(h) : nullptr;
  if (!handle) return;
  GlobalFree(handle);
  forgetHandle(h);
}

namespace testing {
void failAllocationsAfter(int n) { failCountdown = n; }
long liveBlockCount() { return -1; }
void failLocksAfter(int) {}
long staleFreeCount() { return -1; }
long lockCount() { return -1; }
}  // namespace testing

}  // namespace gw
