// Global memory blocks: the handles the host and GDI take as they are.
#include <windows.h>

#include "platform/memory.h"

namespace gw {
namespace {
HGLOBAL toHandle(MemHandle h) { return reinterpret_cast<HGLOBAL>(static_cast<uintptr_t>(h)); }
MemHandle fromHandle(HGLOBAL h) { return static_cast<MemHandle>(reinterpret_cast<uintptr_t>(h)); }
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
  if (!h) return nullptr;
  return static_cast<uint8_t*>(GlobalLock(toHandle(h)));
}

void memUnlock(MemHandle h) {
  if (h) GlobalUnlock(toHandle(h));
}

size_t memSize(MemHandle h) { return h ? GlobalSize(toHandle(h)) : 0; }

MemHandle memRealloc(MemHandle h, size_t bytes) {
  if (!h || bytes == 0 || bytes > 0x7FFFFFFF) return 0;
  if (bytes > memSize(h) && allocationFails()) return 0;
  return fromHandle(GlobalReAlloc(toHandle(h), bytes, GMEM_MOVEABLE | GMEM_ZEROINIT));
}

void memFree(MemHandle h) {
  if (h) GlobalFree(toHandle(h));
}

namespace testing {
void failAllocationsAfter(int n) { failCountdown = n; }
long liveBlockCount() { return -1; }
void failLocksAfter(int) {}
long staleFreeCount() { return -1; }
}  // namespace testing

}  // namespace gw
