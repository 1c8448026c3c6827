#include <gtest/gtest.h>

#include "base/le_bytes.h"
#include "platform/memory.h"
#include "platform/wire_pointer.h"

namespace gw {
namespace {

TEST(MemoryHandles, AllocZeroesAndReallocZeroesTheGrowth) {
  MemBlock b(memAlloc(16));
  ASSERT_TRUE(b);
  {
    MemLock lock(b.get());
    for (size_t i = 0; i < 16; ++i) EXPECT_EQ(lock.data()[i], 0);
    std::memset(lock.data(), 0x5A, 16);
  }
  MemHandle grown = memRealloc(b.get(), 64);
  ASSERT_NE(grown, 0u);
  b.release();
  b.reset(grown);
  MemLock lock(b.get());
  EXPECT_EQ(lock.size(), 64u);
  EXPECT_EQ(lock.data()[15], 0x5A);
  for (size_t i = 16; i < 64; ++i) EXPECT_EQ(lock.data()[i], 0) << i;
}

TEST(MemoryHandles, FreedAndForeignHandlesAreRefused) {
  MemHandle h = memAlloc(8);
  memFree(h);
  EXPECT_EQ(memLock(h), nullptr);
  EXPECT_EQ(memSize(h), 0u);
  EXPECT_EQ(memRealloc(h, 16), 0u);
  memFree(h);  // a second free does nothing
  // The slot is reused with a new generation: the old handle stays dead.
  MemBlock again(memAlloc(8));
  EXPECT_NE(again.get(), h);
  EXPECT_EQ(memLock(h), nullptr);
  EXPECT_EQ(memLock(0), nullptr);
  EXPECT_EQ(memLock(0xFFFFFFFF), nullptr);
}

TEST(MemoryHandles, ZeroAndHugeRequestsFail) {
  EXPECT_EQ(memAlloc(0), 0u);
  EXPECT_EQ(memAlloc(size_t(0x80000000u)), 0u);
}

TEST(MemoryHandles, FailedReallocKeepsTheOldBlock) {
  MemBlock b(memAlloc(8));
  { MemLock(b.get()).data()[0] = 42; }
  testing::failAllocationsAfter(0);
  EXPECT_EQ(memRealloc(b.get(), 800), 0u);
  testing::failAllocationsAfter(-1);
  MemLock lock(b.get());
  ASSERT_TRUE(lock);
  EXPECT_EQ(lock.size(), 8u);
  EXPECT_EQ(lock.data()[0], 42);
}

TEST(MemoryHandles, FailureCountdownLetsEarlierAllocationsThrough) {
  testing::failAllocationsAfter(2);
  MemBlock a(memAlloc(4)), b(memAlloc(4)), c(memAlloc(4));
  testing::failAllocationsAfter(-1);
  EXPECT_TRUE(a);
  EXPECT_TRUE(b);
  EXPECT_FALSE(c);
}

TEST(WirePointers, RoundTripAndForget) {
  int value = 7;
  uint32_t id = wireFromPointer(&value);
  EXPECT_NE(id, 0u);
  EXPECT_EQ(wireFromPointer(&value), id);
  EXPECT_EQ(pointerFromWire(id), &value);
  EXPECT_EQ(wireFromPointer(nullptr), 0u);
  EXPECT_EQ(pointerFromWire(0), nullptr);
  wireForget(id);
  EXPECT_EQ(pointerFromWire(id), nullptr);
}

TEST(ByteReader, FailureStaysSetAndReadsZero) {
  const uint8_t data[] = {1, 0, 2, 0, 0, 0};
  ByteReader r(data, sizeof data);
  EXPECT_EQ(r.u16(), 1);
  EXPECT_EQ(r.u32(), 2u);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.u8(), 0);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.remaining(), 0u);
  r.seek(0);
  EXPECT_EQ(r.u16(), 0);  // still failed
}

TEST(ByteWriter, FixedTextIsCutAndTerminated) {
  uint8_t field[6];
  std::memset(field, 0xFF, sizeof field);
  writeFixedText(field, 4, "abcdef");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(field)), "abc");
  EXPECT_EQ(field[4], 0xFF);  // beyond the field untouched
  EXPECT_EQ(fixedTextLength(field, 4), 3u);
}

}  // namespace
}  // namespace gw
