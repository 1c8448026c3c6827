#include <gtest/gtest.h>

#include "base/le_bytes.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

struct Locked {
  MemBlock block;
  std::unique_ptr<MemLock> lock;
  BitmapView view;
  explicit Locked(MemHandle h) : block(h), lock(std::make_unique<MemLock>(h)), view(BitmapView::of(*lock)) {}
};

TEST(BitmapLayout, StridesArePaddedToFourBytes) {
  EXPECT_EQ(bitmapStride(1, 24), 4u);
  EXPECT_EQ(bitmapStride(3, 8), 4u);
  EXPECT_EQ(bitmapStride(33, 1), 8u);
  EXPECT_EQ(bitmapStride(5, 4), 4u);
  EXPECT_EQ(bitmapStride(9, 4), 8u);
  EXPECT_EQ(bitmapStride(3, 32), 12u);
}

TEST(BitmapLayout, TrueColourHeaderAndSize) {
  Locked b(bitmapCreateTrueColour(5, 3, 24));
  ASSERT_TRUE(b.view.valid());
  const uint8_t* p = b.lock->data();
  EXPECT_EQ(readU32(p + 0), 40u);
  EXPECT_EQ(readI32(p + 4), 5);
  EXPECT_EQ(readI32(p + 8), 3);  // positive: bottom-up rows
  EXPECT_EQ(readU16(p + 12), 1);
  EXPECT_EQ(readU16(p + 14), 24);
  EXPECT_EQ(readU32(p + 16), 0u);
  EXPECT_EQ(readU32(p + 20), 3u * 16u);
  EXPECT_EQ(readU32(p + 32), 0u);
  EXPECT_EQ(readU32(p + 36), 0u);
  EXPECT_EQ(memSize(b.block.get()), 40u + 48u);
  EXPECT_EQ(b.view.pixelData(), p + 40);
}

TEST(BitmapLayout, PaletteBitmapCarriesAFullColourTable) {
  uint8_t palette[768] = {};
  palette[0] = 0x11;  // red
  palette[1] = 0x22;  // green
  palette[2] = 0x33;  // blue
  palette[45] = 0xAA;  // entry 15 red
  Locked b(bitmapCreateWithPalette(3, 2, palette, 3));
  ASSERT_TRUE(b.view.valid());
  EXPECT_EQ(b.view.bits(), 4);  // 3 requested bits make a 4-bit image
  const uint8_t* p = b.lock->data();
  EXPECT_EQ(readU32(p + 32), 16u);
  EXPECT_EQ(readU32(p + 36), 16u);
  // Table entries are blue, green, red, 0.
  EXPECT_EQ(p[40], 0x33);
  EXPECT_EQ(p[41], 0x22);
  EXPECT_EQ(p[42], 0x11);
  EXPECT_EQ(p[43], 0);
  EXPECT_EQ(p[40 + 15 * 4 + 2], 0xAA);
  EXPECT_EQ(b.view.pixelData(), p + 40 + 64);
  uint8_t back[768] = {};
  int32_t w = 0, h = 0;
  int bits = 0;
  ASSERT_TRUE(bitmapQuery(b.block.get(), &w, &h, &bits, back));
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(bits, 4);
  EXPECT_EQ(0, std::memcmp(back, palette, 16 * 3));
}

TEST(BitmapLayout, BitChoiceRules) {
  EXPECT_EQ(trueColourBitsFor(0), 1);
  EXPECT_EQ(trueColourBitsFor(2), 4);
  EXPECT_EQ(trueColourBitsFor(5), 8);
  EXPECT_EQ(trueColourBitsFor(9), 24);
  EXPECT_EQ(trueColourBitsFor(24), 24);
  EXPECT_EQ(trueColourBitsFor(25), 32);
  EXPECT_EQ(paletteBitsFor(1), 1);
  EXPECT_EQ(paletteBitsFor(2), 4);
  EXPECT_EQ(paletteBitsFor(5), 8);
  EXPECT_EQ(paletteBitsFor(9), 24);
  EXPECT_EQ(paletteBitsFor(25), 32);
}

TEST(BitmapPixels, TwentyFourBitStorageIsBlueGreenRed) {
  Locked b(bitmapCreateTrueColour(2, 2, 24));
  // The top row is stored last.
  uint8_t* top = b.lock->data() + 40 + 1 * 8;
  top[0] = 0x10;
  top[1] = 0x20;
  top[2] = 0x30;
  EXPECT_EQ(b.view.getPixel(0, 0), 0x00102030);
  EXPECT_EQ(b.view.getPixel(0, 0) & 0xFF, 0x30);  // red in the low byte
  EXPECT_EQ(b.view.getPixelWithAlpha(0, 0), 0xFF102030LL);
  b.view.setPixel(1, 1, 0x00ABCDEF);
  const uint8_t* bottom = b.lock->data() + 40;
  EXPECT_EQ(bottom[3], 0xAB);
  EXPECT_EQ(bottom[4], 0xCD);
  EXPECT_EQ(bottom[5], 0xEF);
}

TEST(BitmapPixels, OutsideReadsMinusOneAndWritesNothing) {
  for (int bits : {1, 4, 8, 24, 32}) {
    Locked b(bitmapCreateTrueColour(4, 3, bits));
    ASSERT_TRUE(b.view.valid()) << bits;
    std::vector<uint8_t> before(b.lock->data(), b.lock->data() + b.lock->size());
    EXPECT_EQ(b.view.getPixel(-1, 0), -1);
    EXPECT_EQ(b.view.getPixel(4, 0), -1);
    EXPECT_EQ(b.view.getPixel(0, 3), -1);
    EXPECT_EQ(b.view.getPixel(0, -1), -1);
    b.view.setPixel(-1, 0, 0xFFFFFFFF);
    b.view.setPixel(4, 0, 0xFFFFFFFF);
    b.view.setPixel(0, 3, 0xFFFFFFFF);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), b.lock->data())) << bits;
  }
}

TEST(BitmapPixels, SubBytePackingRoundTrips) {
  Locked one(bitmapCreateWithPalette(33, 2, nullptr, 1));
  one.view.setPixel(0, 0, 1);
  one.view.setPixel(32, 0, 3);  // only the lowest bit counts
  EXPECT_EQ(one.view.row(0)[0], 0x80);  // leftmost pixel in the top bit
  EXPECT_EQ(one.view.row(0)[4], 0x80);
  EXPECT_EQ(one.view.getPixel(32, 0), 1);
  one.view.setPixel(0, 0, 2);
  EXPECT_EQ(one.view.getPixel(0, 0), 0);

  Locked four(bitmapCreateWithPalette(3, 1, nullptr, 4));
  four.view.setPixel(0, 0, 0xA);
  four.view.setPixel(1, 0, 0x5);
  four.view.setPixel(2, 0, 0x1F);
  EXPECT_EQ(four.view.row(0)[0], 0xA5);  // left pixel in the high nibble
  EXPECT_EQ(four.view.getPixel(2, 0), 0xF);
}

TEST(BitmapPixels, OddSizesRoundTripEveryPixel) {
  for (int32_t w : {1, 7, 31, 33, 301}) {
    for (int bits : {1, 4, 8, 24, 32}) {
      Locked b(bitmapCreateTrueColour(w, 3, bits));
      ASSERT_TRUE(b.view.valid());
      uint32_t mask = bits == 32 ? 0xFFFFFFFFu : bits == 24 ? 0xFFFFFFu : (1u << bits) - 1;
      uint32_t seed = 12345;
      for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < w; ++x) {
          seed = seed * 22695477u + 1;
          b.view.setPixel(x, y, seed & mask);
        }
      seed = 12345;
      for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < w; ++x) {
          seed = seed * 22695477u + 1;
          ASSERT_EQ(b.view.getPixel(x, y), int64_t(seed & mask)) << w << "x" << bits;
        }
    }
  }
}

TEST(BitmapFailures, BadSizesAndExhaustedMemoryGiveNoBitmap) {
  EXPECT_EQ(bitmapCreateTrueColour(0, 5, 24), 0u);
  EXPECT_EQ(bitmapCreateTrueColour(5, -1, 24), 0u);
  EXPECT_EQ(bitmapCreateTrueColour(65536, 65536, 32), 0u);
  testing::failAllocationsAfter(0);
  EXPECT_EQ(bitmapCreateTrueColour(5, 5, 24), 0u);
  EXPECT_EQ(bitmapCreateWithPalette(5, 5, nullptr, 8), 0u);
  testing::failAllocationsAfter(-1);
  EXPECT_FALSE(bitmapQuery(0, nullptr, nullptr, nullptr, nullptr));
}

TEST(BitmapFailures, AHeaderThatClaimsMoreThanTheBlockIsRefused) {
  MemBlock block(memAlloc(40 + 16));
  MemLock lock(block.get());
  writeU32(lock.data(), 40);
  writeI32(lock.data() + 4, 100);  // 100 x 100 x 24 does not fit in 16 bytes
  writeI32(lock.data() + 8, 100);
  writeU16(lock.data() + 12, 1);
  writeU16(lock.data() + 14, 24);
  BitmapView v = BitmapView::of(lock);
  EXPECT_FALSE(v.valid());
  EXPECT_EQ(v.getPixel(0, 0), -1);
  v.setPixel(0, 0, 1);  // must not write
  writeU16(lock.data() + 14, 7);  // not a depth we make
  EXPECT_FALSE(BitmapView::of(lock).valid());
}

}  // namespace
}  // namespace gw
