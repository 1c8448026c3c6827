#include <gtest/gtest.h>

#include "base/le_bytes.h"
#include "protocol/frame_store.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

class FrameStoreTest : public ::testing::Test {
 protected:
  void TearDown() override {
    testing::failAllocationsAfter(-1);
    frameStoreFree(store);
  }
  MemHandle frame() { return bitmapCreateTrueColour(4, 4, 24); }
  FrameStore store;
};

TEST(FrameRecordLayout, FieldsSitAtTheirOffsets) {
  FrameRecord r;
  r.image = 0x11223344;
  r.unchangedMask = 0x55667788;
  r.delay = 7;
  r.transparentIndex = -1;
  uint8_t bytes[kFrameRecordSize];
  std::memset(bytes, 0xEE, sizeof bytes);
  frameRecordEncode(r, bytes);
  EXPECT_EQ(kFrameRecordSize, 44u);
  EXPECT_EQ(readU32(bytes + 0), 0x11223344u);
  EXPECT_EQ(readU32(bytes + 4), 0x55667788u);
  EXPECT_EQ(readI32(bytes + 8), 7);
  EXPECT_EQ(readI32(bytes + 12), -1);
  for (size_t i = 16; i < 44; ++i) EXPECT_EQ(bytes[i], 0) << i;
  FrameRecord back = frameRecordDecode(bytes);
  EXPECT_EQ(back.image, r.image);
  EXPECT_EQ(back.transparentIndex, -1);
}

TEST_F(FrameStoreTest, AppendFrameGrowsByOneRecordAndSetsDefaults) {
  MemHandle a = frame(), b = frame();
  ASSERT_TRUE(frameStoreAppendFrame(store, a, 10));
  ASSERT_TRUE(frameStoreAppendFrame(store, b, 20));
  EXPECT_EQ(store.count, 2u);
  EXPECT_EQ(memSize(store.block), 2 * kFrameRecordSize);
  FrameRecord r;
  ASSERT_TRUE(frameStoreGet(store, 1, &r));
  EXPECT_EQ(r.image, b);
  EXPECT_EQ(r.delay, 20);
  EXPECT_EQ(r.transparentIndex, -1);
  EXPECT_EQ(r.unchangedMask, 0u);
}

TEST_F(FrameStoreTest, IndexEqualToCountFailsAndChangesNothing) {
  ASSERT_TRUE(frameStoreAppendFrame(store, frame(), 5));
  FrameRecord r;
  EXPECT_FALSE(frameStoreGet(store, 1, &r));
  FrameRecord other;
  other.delay = 99;
  EXPECT_FALSE(frameStorePut(store, 1, other));
  ASSERT_TRUE(frameStoreGet(store, 0, &r));
  EXPECT_EQ(r.delay, 5);
  EXPECT_EQ(store.count, 1u);
}

TEST_F(FrameStoreTest, EmptyStoreRefusesEverything) {
  FrameRecord r;
  EXPECT_FALSE(frameStoreGet(store, 0, &r));
  EXPECT_FALSE(frameStorePut(store, 0, r));
  EXPECT_FALSE(frameStoreSetLastDelay(store, 3));
}

TEST_F(FrameStoreTest, SetLastDelayChangesOnlyTheLast) {
  ASSERT_TRUE(frameStoreAppendFrame(store, frame(), 5));
  ASSERT_TRUE(frameStoreAppendFrame(store, frame(), 5));
  ASSERT_TRUE(frameStoreSetLastDelay(store, 200));
  FrameRecord first, last;
  frameStoreGet(store, 0, &first);
  frameStoreGet(store, 1, &last);
  EXPECT_EQ(first.delay, 5);
  EXPECT_EQ(last.delay, 200);
}

TEST_F(FrameStoreTest, FailedAppendLeavesCountAndRecordsAsTheyWere) {
  MemHandle a = frame();
  ASSERT_TRUE(frameStoreAppendFrame(store, a, 1));
  MemHandle blockBefore = store.block;
  MemBlock b(frame());
  testing::failAllocationsAfter(0);
  EXPECT_FALSE(frameStoreAppendFrame(store, b.get(), 2));
  testing::failAllocationsAfter(-1);
  EXPECT_EQ(store.count, 1u);
  EXPECT_EQ(store.block, blockBefore);
  FrameRecord r;
  ASSERT_TRUE(frameStoreGet(store, 0, &r));
  EXPECT_EQ(r.image, a);
  // The refused image stays the caller's: b still owns a live block.
  EXPECT_GT(memSize(b.get()), 0u);
}

TEST_F(FrameStoreTest, FailedFirstAppendLeavesAnEmptyStore) {
  MemBlock a(frame());
  testing::failAllocationsAfter(0);
  EXPECT_FALSE(frameStoreAppendFrame(store, a.get(), 1));
  testing::failAllocationsAfter(-1);
  EXPECT_EQ(store.count, 0u);
  EXPECT_EQ(store.block, 0u);
}

TEST_F(FrameStoreTest, FreeReleasesEveryImageAndMask) {
  MemHandle a = frame(), mask = frame();
  ASSERT_TRUE(frameStoreAppendFrame(store, a, 1));
  FrameRecord r;
  frameStoreGet(store, 0, &r);
  r.unchangedMask = mask;
  frameStorePut(store, 0, r);
  frameStoreFree(store);
  EXPECT_EQ(store.count, 0u);
  EXPECT_EQ(store.block, 0u);
  EXPECT_EQ(memSize(a), 0u);
  EXPECT_EQ(memSize(mask), 0u);
}

}  // namespace
}  // namespace gw
