// Native handle table standing in for Win32 global memory.
//
// A handle is (generation << 20) | (slot + 1): a stale handle to a reused slot
// is refused instead of reaching someone else's block.
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/memory.h"

namespace gw {
namespace {

constexpr uint32_t kSlotBits = 20;
constexpr uint32_t kSlotMask = (1u << kSlotBits) - 1;
constexpr size_t kMaxBlock = size_t(0x7FFFFFFF);

struct Slot {
  uint8_t* data = nullptr;
  size_t size = 0;
  int locks = 0;
  uint32_t generation = 1;
  bool live = false;
};

struct Table {
  std::mutex mutex;
  std::vector<Slot> slots;
  std::vector<uint32_t> freeSlots;
  int failCountdown = -1;
  int lockFailCountdown = -1;
  long staleFrees = 0;
  long locksAsked = 0;

  static bool countdownFires(int& countdown) {
    if (countdown < 0) return false;
    if (countdown == 0) return true;
    --countdown;
    return false;
  }
  bool allocationFails() { return countdownFires(failCountdown); }

  Slot* find(MemHandle h) {
    uint32_t slot = (h & kSlotMask);
    if (slot == 0 || slot > slots.size()) return nullptr;
    Slot& s = slots[slot - 1];
    if (!s.live || s.generation != (h >> kSlotBits)) return nullptr;
    return &s;
  }
};

Table& table() {
  static Table t;
  return t;
}

}  // namespace

MemHandle memAlloc(size_t bytes) {
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.mutex);
  if (bytes == 0 || bytes > kMaxBlock || t.allocationFails()) return 0;
  auto* data = static_cast<uint8_t*>(std::calloc(bytes, 1));
  if (!data) return 0;
  uint32_t index;
  if (!t.freeSlots.empty()) {
    index = t.freeSlots.back();
    t.freeSlots.pop_back();
  } else {
    if (t.slots.size() >= kSlotMask) {
      std::free(data);
      return 0;
    }
    t.slots.emplace_back();
    index = uint32_t(t.slots.size() - 1);
  }
  Slot& s = t.slots[index];
  s.data = data;
  s.size = bytes;
  s.locks = 0;
  s.live = true;
  return ((s.generation & ((1u << (32 - kSlotBits)) - 1)) << kSlotBits) | (index + 1);
}

uint8_t* memLock(MemHandle h) {
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.mutex);
  Slot* s = t.find(h);
  if (!s) return nullptr;
  ++t.locksAsked;
  if (Table::countdownFires(t.lockFailCountdown)) {
    t.lockFailCountdown = -1;  // one lock fails; cleaning up afterwards can lock again
    return nullptr;
  }
  ++s->locks;
  return s->data;
}

void memUnlock(MemHandle h) {
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.mutex);
  Slot* s = t.find(h);
  if (s && s->locks > 0) --s->locks;
}

size_t memSize(MemHandle h) {
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.mutex);
  Slot* s = t.find(h);
  return s ? s->size : 0;
}

MemHandle memRealloc(MemHandle h, size_t bytes) {
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.mutex);
  Slot* s = t.find(h);
  if (!s || bytes == 0 || bytes > kMaxBlock) return 0;
  if (bytes > s->size && t.allocationFails()) return 0;
  auto* data = static_cast<uint8_t*>(std::realloc(s->data, bytes));
  if (!data) return 0;
  if (bytes > s->size) std::memset(data + s->size, 0, bytes - s->size);
  s->data = data;
  s->size = bytes;
  return h;
}

void memFree(MemHandle h) {
  if (h == 0) return;
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.mutex);
  Slot* s = t.find(h);
  if (!s) {
    ++t.staleFrees;
    return;
  }
  std::free(s->data);
  s->data = nullptr;
  s->size = 0;
  s->live = false;
  s->generation = (s->generation + 1) & ((1u << (32 - kSlotBits)) - 1);
  if (s->generation == 0) s->generation = 1;
  t.freeSlots.push_back(uint32_t(s - t.slots.data()));
}

namespace testing {
void failAllocationsAfter(int n) {
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.mutex);
  t.failCountdown = n;
}
long liveBlockCount() {
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.mutex);
  return long(t.slots.size() - t.freeSlots.size());
}
void failLocksAfter(int n) {
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.mutex);
  t.lockFailCountdown = n;
}
long staleFreeCount() {
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.mutex);
  return t.staleFrees;
}
long lockCount() {
  Table& t = table();
  std::lock_guard<std::mutex> guard(t.mutex);
  return t.locksAsked;
}
}  // namespace testing

}  // namespace gw
