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

LzwWorkspace& workspace() {
  static LzwWorkspace w;
  return w;
}

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

// Checks what every coding must hold: it decodes to what it says it stored,
// and only free pixels took the value beneath.
void expectFaithful(const std::vector<uint8_t>& values, const std::vector<int16_t>& beneath, int transparent,
                    int bits, const LzwImage& coded) {
  std::vector<uint8_t> decoded;
  ASSERT_TRUE(lzwDecode(coded.blocks, bits, values.size(), &decoded));
  ASSERT_EQ(decoded, coded.stored);
  for (size_t i = 0; i < values.size(); ++i) {
    if (values[i] == transparent && beneath[i] >= 0)
      ASSERT_TRUE(coded.stored[i] == transparent || coded.stored[i] == beneath[i]) << i;
    else
      ASSERT_EQ(coded.stored[i], values[i]) << i;
  }
}

TEST(GifLzw, OneColourCodesEachStringOneLongerThanTheLast) {
  // A flat frame the size of the default animation: n codes cover n(n+1)/2
  // pixels only if every code uses the entry its predecessor has just made.
  for (int bits : {2, 8}) {
    std::vector<uint8_t> values(865 * 102, uint8_t((1 << bits) - 1));
    std::vector<int16_t> beneath(values.size(), -1);
    LzwImage coded = lzwEncodeBest(values, beneath, -1, bits);
    expectFaithful(values, beneath, -1, bits, coded);
    // 420 codes: 9 and 10 bits wide from 8-bit values, 3 to 9 from 2-bit ones.
    EXPECT_LE(coded.blocks.size(), bits == 8 ? 500u : 420u) << bits;
  }
}

TEST(GifLzw, AFreePixelInsideARunOfItsColourCostsNothing) {
  // Strings follow fixed pixels without forking and fork at a free one; a
  // free pixel whose colour beneath continues the run must be stored as that
  // colour, so the frame codes exactly like the run with no free pixel.
  struct Row {
    size_t length;
    size_t every;  // every so many pixels one is free
  };
  for (const Row& r : {Row{2000, 7}, Row{88230, 997}, Row{300, 2}}) {
    std::vector<uint8_t> run(r.length, 3);
    std::vector<uint8_t> values = run;
    std::vector<int16_t> beneath(r.length, 3);
    for (size_t i = 0; i < r.length; i += r.every) values[i] = 9;
    LzwImage plain = lzwEncodeBest(run, {}, -1, 4);
    LzwImage free = lzwEncodeBest(values, beneath, 9, 4);
    expectFaithful(values, beneath, 9, 4, free);
    EXPECT_EQ(free.stored, run) << r.length;
    EXPECT_EQ(free.blocks, plain.blocks) << r.length;
  }
}

TEST(GifLzw, EveryPixelFreeAndBothValuesContinuing) {
  // The search forks at every pixel here; it must stay within its bounds and
  // still store only what a decoder reads back.
  for (uint32_t seed : {1u, 2u, 3u}) {
    std::vector<uint8_t> values(60000, 15);
    std::vector<int16_t> beneath(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
      seed = seed * 22695477u + 1;
      beneath[i] = int16_t((seed >> 16) % 4);
      if ((seed >> 24) % 9 == 0) values[i] = uint8_t(4 + (seed >> 8) % 11);  // a few changed pixels
    }
    LzwImage coded = lzwEncodeBest(values, beneath, 15, 4);
    expectFaithful(values, beneath, 15, 4, coded);
  }
}

TEST(GifLzw, ChoosingNeverCodesLongerThanEitherFixedChoice) {
  // Storing every unchanged pixel as the transparent index, or every one as
  // the colour beneath, are both open to the coder; it should do no worse.
  for (uint32_t seed : {7u, 8u, 9u}) {
    Case c = makeCase(40000, 60, seed, 63);
    std::vector<uint8_t> shown = c.values;
    for (size_t i = 0; i < shown.size(); ++i)
      if (shown[i] == 63 && c.beneath[i] >= 0) shown[i] = uint8_t(c.beneath[i]);
    LzwImage free = lzwEncodeBest(c.values, c.beneath, 63, 6);
    expectFaithful(c.values, c.beneath, 63, 6, free);
    LzwImage allTransparent = lzwEncodeBest(c.values, c.beneath, -1, 6);
    LzwImage allShown = lzwEncodeBest(shown, c.beneath, -1, 6);
    EXPECT_LE(free.blocks.size(), allTransparent.blocks.size()) << seed;
    EXPECT_LE(free.blocks.size(), allShown.blocks.size()) << seed;
  }
}

TEST(GifLzw, TheBestOfBothWaysIsTheShorterWayAndSaysWhich) {
  for (uint32_t seed : {5u, 6u, 7u}) {
    Case c = makeCase(30000, 40, seed, 63);
    LzwImage ways[2] = {lzwEncodeWay(c.values, c.beneath, 63, 6, LzwWay::kTransparentLean, workspace()),
                        lzwEncodeWay(c.values, c.beneath, 63, 6, LzwWay::kShownLean, workspace())};
    for (const LzwImage& way : ways) expectFaithful(c.values, c.beneath, 63, 6, way);
    EXPECT_NE(ways[0].blocks, ways[1].blocks) << seed;
    LzwImage best = lzwEncodeBest(c.values, c.beneath, 63, 6);
    const LzwImage& shorter = ways[1].blocks.size() < ways[0].blocks.size() ? ways[1] : ways[0];
    EXPECT_EQ(best.blocks, shorter.blocks) << seed;
    EXPECT_EQ(best.way, shorter.way) << seed;
  }
  // Without free pixels there is one way, whichever is asked for.
  Case fixed = makeCase(5000, 40, 9, -1);
  LzwImage shown = lzwEncodeWay(fixed.values, {}, -1, 6, LzwWay::kShownLean, workspace());
  EXPECT_EQ(shown.way, LzwWay::kTransparentLean);
  EXPECT_EQ(shown.blocks, lzwEncodeBest(fixed.values, {}, -1, 6).blocks);
}

TEST(GifLzw, SameInputSameBytes) {
  Case c = makeCase(30000, 100, 21, 127);
  LzwImage a = lzwEncodeBest(c.values, c.beneath, 127, 7);
  LzwImage b = lzwEncodeBest(c.values, c.beneath, 127, 7);
  EXPECT_EQ(a.blocks, b.blocks);
  EXPECT_EQ(a.stored, b.stored);
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
