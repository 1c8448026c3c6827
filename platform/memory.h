// Movable global memory blocks, held by 32-bit handle.
//
// Every image and every record that outlives a call (bitmaps, the frame
// store's array, blocks handed to the host) lives in such a block, because the
// host and GDI take them as Win32 global memory handles. On Windows this is
// the GlobalAlloc family (on the 64-bit test build a handle travels as its
// wire id, platform/wire_pointer.h); natively a handle table hands out 32-bit
// ids so the byte layouts that carry handles stay 32-bit.
//
//   gw::MemBlock block(gw::memAlloc(64));   // zeroed, owned
//   if (gw::MemLock lock{block.get()}) lock.data()[0] = 1;
//   host.take(block.release());              // ownership passes on
//
// Every function fails softly: a zero handle, a null pointer, a zero size.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gw {

using MemHandle = uint32_t;  // 0 is "no block"

// A new movable block of `bytes` bytes, zero-initialised. 0 on failure or when
// bytes is 0 or above the 2 GiB a 32-bit host can address.
MemHandle memAlloc(size_t bytes);

// Pins the block and returns its address; nullptr when the handle is not a
// live block. Every successful lock needs one memUnlock.
uint8_t* memLock(MemHandle h);
void memUnlock(MemHandle h);

// The block's size in bytes; 0 for a handle that is not a live block.
size_t memSize(MemHandle h);

// Resizes the block, zero-filling any growth. Returns the (possibly new)
// handle, or 0 on failure, in which case the old block is left untouched and
// still owned by the caller.
MemHandle memRealloc(MemHandle h, size_t bytes);

// Frees the block; freeing 0 does nothing.
void memFree(MemHandle h);

// Owns one block; frees it on destruction unless released.
class MemBlock {
 public:
  MemBlock() = default;
  explicit MemBlock(MemHandle h) : h_(h) {}
  ~MemBlock() { memFree(h_); }
  MemBlock(const MemBlock&) = delete;
  MemBlock& operator=(const MemBlock&) = delete;
  MemBlock(MemBlock&& o) noexcept : h_(o.release()) {}
  MemBlock& operator=(MemBlock&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  MemHandle get() const { return h_; }
  explicit operator bool() const { return h_ != 0; }
  MemHandle release() {
    MemHandle h = h_;
    h_ = 0;
    return h;
  }
  void reset(MemHandle h = 0) {
    if (h_ != h) memFree(h_);
    h_ = h;
  }

 private:
  MemHandle h_ = 0;
};

// Keeps a block locked for a scope.
class MemLock {
 public:
  explicit MemLock(MemHandle h) : h_(h), p_(memLock(h)) {}
  ~MemLock() {
    if (p_) memUnlock(h_);
  }
  MemLock(const MemLock&) = delete;
  MemLock& operator=(const MemLock&) = delete;
  uint8_t* data() const { return p_; }
  size_t size() const { return p_ ? memSize(h_) : 0; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  MemHandle h_;
  uint8_t* p_;
};

namespace testing {
// Makes the allocation after the next `n` ones fail (memAlloc and growing
// memRealloc alike); -1 switches failures off. Native backend only: the tests
// use it to walk every failure path.
void failAllocationsAfter(int n);
// How many blocks are live now (native backend; -1 on Windows). Tests compare
// it before and after an operation to find leaks.
long liveBlockCount();
// Makes the lock after the next `n` ones fail (that one alone), as a lock of
// a block Windows has discarded does; -1 switches failures off. Native
// backend only.
void failLocksAfter(int n);
// How many times memFree was given a handle that is not a live block: a
// block freed twice (native backend; -1 on Windows).
long staleFreeCount();
// How many locks of live blocks have been asked for, failed ones included
// (native backend; -1 on Windows). Tests walk each lock of an operation.
long lockCount();
}  // namespace testing

}  // namespace gw
