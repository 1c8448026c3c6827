// The GIF writer's own LZW coder: whatever it chooses, a decoder must read
// back exactly the pixels it says it stored, and only free pixels may change.
#include <gtest/gtest.h>

#include <vector>

#include "cli/gif_lzw.h"

namespace gw::cli {
namespace {

struct Case {
  std::vector<uint8_t> values;
  std::vector<int16_t> beneath;
};

Case makeCase(size_t n, int colours, uint32_t seed, int transparent) {
  Case c;
  c.values.resize(n);
  c.beneath.resize(n);
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 22695477u + 1;
    // Runs and noise, as frames have: long stretches of one value, speckles.
    int v = (seed >> 16) % 7 == 0 ? int((seed >> 8) % uint32_t(colours)) : int((i / 37) % uint32_t(colours));
    c.values[i] = uint8_t(v);
    c.beneath[i] = int16_t((seed >> 20) % 3 == 0 ? -1 : int((i / 53) % uint32_t(colours)));
    if (transparent >= 0 && (seed >> 12) % 3 == 0) c.values[i] = uint8_t(transparent);
  }
  return c;
}

TEST(GifLzw, DecodesToWhatItStoredForEveryCodeSize) {
  for (int bits : {2, 3, 5, 8}) {
    for (size_t n : {size_t(1), size_t(2), size_t(255), size_t(5000), size_t(200000)}) {
      int colours = 1 << bits;
      int transparent = colours - 1;
      Case c = makeCase(n, colours - 1, uint32_t(n * 31 + bits), transparent);
      LzwImage coded = lzwEncodeBest(c.values, c.beneath, transparent, bits);
      std::vector<uint8_t> decoded;
      ASSERT_TRUE(lzwDecode(coded.blocks, bits, n, &decoded)) << bits << " " << n;
      ASSERT_EQ(decoded, coded.stored) << bits << " " << n;
      for (size_t i = 0; i < n; ++i) {
        if (c.values[i] == transparent && c.beneath[i] >= 0)
          ASSERT_TRUE(coded.stored[i] == transparent || coded.stored[i] == c.beneath[i]) << i;
        else
          ASSERT_EQ(coded.stored[i], c.values[i]) << i;
      }
    }
  }
}

TEST(GifLzw, AFreeFirstPixelIsStoredAsCoded) {
  std::vector<uint8_t> values = {9, 4, 4, 4, 9, 4};
  std::vector<int16_t> beneath(values.size(), 4);
  LzwImage coded = lzwEncodeBest(values, beneath, 9, 4);
  std::vector<uint8_t> decoded;
  ASSERT_TRUE(lzwDecode(coded.blocks, 4, values.size(), &decoded));
  EXPECT_EQ(decoded, coded.stored);
}

TEST(GifLzw, FixedPixelsAreKeptWithoutATransparentIndex) {
  Case c = makeCase(10000, 200, 7, -1);
  LzwImage coded = lzwEncodeBest(c.values, c.beneath, -1, 8);
  EXPECT_EQ(coded.stored, c.values);
  std::vector<uint8_t> decoded;
  ASSERT_TRUE(lzwDecode(coded.blocks, 8, c.values.size(), &decoded));
  EXPECT_EQ(decoded, c.values);
}

TEST(GifLzw, SubBlocksAreAtMost255BytesAndEndWithAnEmptyOne) {
  Case c = makeCase(100000, 250, 3, -1);
  LzwImage coded = lzwEncodeBest(c.values, c.beneath, -1, 8);
  size_t pos = 0, blocks = 0;
  while (coded.blocks[pos] != 0) {
    ++blocks;
    pos += size_t(coded.blocks[pos]) + 1;
    ASSERT_LT(pos, coded.blocks.size());
  }
  EXPECT_EQ(pos, coded.blocks.size() - 1);
  EXPECT_GT(blocks, 10u);
}

TEST(GifLzw, FreePixelsMakeTheCodeShorter) {
  // A flat area whose unchanged pixels could be either value codes shorter
  // when the coder may choose than when every one is transparent.
  std::vector<uint8_t> values(20000);
  std::vector<int16_t> beneath(20000);
  uint32_t seed = 5;
  for (size_t i = 0; i < values.size(); ++i) {
    seed = seed * 22695477u + 1;
    values[i] = ((seed >> 16) % 3 == 0) ? 9 : 4;  // a scatter of unchanged pixels
    beneath[i] = 4;
  }
  LzwImage free = lzwEncodeBest(values, beneath, 9, 4);
  LzwImage fixed = lzwEncodeBest(values, beneath, -1, 4);
  EXPECT_LT(free.blocks.size(), fixed.blocks.size() / 4);
}

TEST(GifLzw, TruncatedDataDoesNotDecode) {
  Case c = makeCase(3000, 100, 11, -1);
  LzwImage coded = lzwEncodeBest(c.values, c.beneath, -1, 7);
  std::vector<uint8_t> cut(coded.blocks.begin(), coded.blocks.begin() + long(coded.blocks.size() / 2));
  std::vector<uint8_t> decoded;
  EXPECT_FALSE(lzwDecode(cut, 7, c.values.size(), &decoded));
}

}  // namespace
}  // namespace gw::cli
