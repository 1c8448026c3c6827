#include <gtest/gtest.h>

#include <cstring>

#include "imaging/palette_order.h"
#include "imaging/standard_palette.h"

namespace gw {
namespace {

struct Rgb {
  int r, g, b;
};

Rgb entryOf(const uint8_t* p, int i) { return {p[i * 3], p[i * 3 + 1], p[i * 3 + 2]}; }

void expectEntry(const uint8_t* p, int i, int r, int g, int b) {
  Rgb e = entryOf(p, i);
  EXPECT_EQ(e.r, r) << "entry " << i;
  EXPECT_EQ(e.g, g) << "entry " << i;
  EXPECT_EQ(e.b, b) << "entry " << i;
}

// FNV-1a over the 768 bytes: pins every entry of a table at once.
uint32_t checksum(const uint8_t* p) {
  uint32_t h = 2166136261u;
  for (int i = 0; i < 768; ++i) h = (h ^ p[i]) * 16777619u;
  return h;
}

TEST(PaletteStandard, CountsAndBitsOfEveryType) {
  const int counts[10] = {2, 16, 32, 64, 128, 216, 256, 256, 256, 8};
  const int bits[10] = {1, 4, 5, 6, 7, 8, 8, 8, 8, 3};
  for (int type = 0; type < 10; ++type) {
    int b = -1;
    EXPECT_EQ(standardPalette(type, nullptr, &b), counts[type]) << "type " << type;
    EXPECT_EQ(b, bits[type]) << "type " << type;
  }
}

TEST(PaletteStandard, UnknownTypesGiveTheOrthogonal256) {
  uint8_t expected[768], got[768];
  standardPalette(kPalette256Orthogonal, expected, nullptr);
  for (int type : {10, 11, 255, -1, -2147483647 - 1, 2147483647}) {
    int bits = 0;
    EXPECT_EQ(standardPalette(type, got, &bits), 256) << type;
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(std::memcmp(expected, got, 768), 0) << type;
  }
}

TEST(PaletteStandard, ColourPickerOffersTheOrthogonal256) {
  uint8_t picker[768], expected[768];
  EXPECT_EQ(colourPickerPalette(picker), 256);
  standardPalette(kPalette256Orthogonal, expected, nullptr);
  EXPECT_EQ(std::memcmp(picker, expected, 768), 0);
}

TEST(PaletteStandard, BufferIsClearedBeyondTheCount) {
  uint8_t p[768];
  for (int type : {0, 1, 2, 5, 9}) {
    std::memset(p, 0xAA, sizeof p);
    int n = standardPalette(type, p, nullptr);
    for (int i = n * 3; i < 768; ++i) ASSERT_EQ(p[i], 0) << "type " << type << " byte " << i;
  }
}

TEST(PaletteStandard, SpotEntries) {
  uint8_t p[768];
  standardPalette(kPaletteBlackAndWhite, p, nullptr);
  expectEntry(p, 0, 0, 0, 0);
  expectEntry(p, 1, 255, 255, 255);

  standardPalette(kPaletteSixteenColour, p, nullptr);
  expectEntry(p, 3, 128, 128, 0);
  expectEntry(p, 7, 128, 128, 128);
  expectEntry(p, 8, 192, 192, 192);
  expectEntry(p, 12, 0, 0, 255);

  standardPalette(kPalette32Orthogonal, p, nullptr);
  expectEntry(p, 2 * 8 + 3 * 2 + 1, 170, 255, 255);  // r 2, g 3, b 1
  expectEntry(p, 1 * 8 + 0 * 2 + 0, 85, 0, 0);

  standardPalette(kPalette64Orthogonal, p, nullptr);
  expectEntry(p, 1 * 16 + 2 * 4 + 3, 85, 170, 255);

  standardPalette(kPalette128Orthogonal, p, nullptr);
  expectEntry(p, 1 * 32 + 5 * 4 + 2, 85, 180, 170);
  expectEntry(p, 127, 255, 255, 255);

  standardPalette(kPalette216Safe, p, nullptr);
  expectEntry(p, 2 * 36 + 1 * 6 + 3, 51, 102, 153);  // green slowest, then red, then blue
  expectEntry(p, 6, 51, 0, 0);
  expectEntry(p, 36, 0, 51, 0);
  expectEntry(p, 215, 255, 255, 255);
  expectEntry(p, 216, 0, 0, 0);

  standardPalette(kPalette256Orthogonal, p, nullptr);
  expectEntry(p, 3 * 32 + 7 * 4 + 1, 108, 255, 85);

  standardPalette(kPalette256Gray, p, nullptr);
  expectEntry(p, 0, 0, 0, 0);
  expectEntry(p, 77, 77, 77, 77);
  expectEntry(p, 255, 255, 255, 255);

  standardPalette(kPaletteEightColour, p, nullptr);
  expectEntry(p, 3, 255, 255, 0);
  expectEntry(p, 6, 0, 255, 255);
}

TEST(PaletteStandard, GreyCubeInsertsGreysInTheMiddle) {
  uint8_t p[768];
  standardPalette(kPalette256WithGray, p, nullptr);
  expectEntry(p, 111, 128, 109, 255);  // cube colour 111: r 3, g 3, b 3
  expectEntry(p, 112, 1, 1, 1);
  expectEntry(p, 117, 41, 41, 41);
  expectEntry(p, 143, 254, 254, 254);
  expectEntry(p, 144, 128, 146, 0);  // cube colour 112 moved up by 32
  expectEntry(p, 2 * 4 + 0, 0, 73, 0);  // green level 2 is 73, not 72
  expectEntry(p, 255, 255, 255, 255);
  for (int i = 0; i < 256; ++i) {
    Rgb e = entryOf(p, i);
    bool grey = e.r == e.g && e.g == e.b;
    bool expectedGrey = i == 0 || i == 255 || (i >= 112 && i <= 143);
    EXPECT_EQ(grey, expectedGrey) << "entry " << i;
  }
}

TEST(PaletteStandard, WholeTableChecksums) {
  // Computed by a separate script straight from the table definitions (not
  // from this code); any change to an entry changes these.
  const uint32_t expected[11] = {
      0xFE0BE7DEu, 0x1DB8DBE1u, 0xD4A81365u, 0x82449A95u, 0x9A572EADu, 0x76940831u,
      0xD7B2D3B5u, 0x7FFC90CAu, 0x7F16E8C5u, 0x7DBCA821u, 0xD7B2D3B5u,
  };
  for (int type = 0; type <= 10; ++type) {
    uint8_t p[768];
    standardPalette(type, p, nullptr);
    EXPECT_EQ(checksum(p), expected[type]) << "type " << type << std::hex << " got 0x" << checksum(p);
  }
}

TEST(PaletteStandard, BitsForColourCountEdges) {
  EXPECT_EQ(bitsForColourCount(0), 1);
  EXPECT_EQ(bitsForColourCount(1), 1);
  EXPECT_EQ(bitsForColourCount(2), 1);
  EXPECT_EQ(bitsForColourCount(3), 2);
  EXPECT_EQ(bitsForColourCount(4), 2);
  EXPECT_EQ(bitsForColourCount(5), 3);
  EXPECT_EQ(bitsForColourCount(8), 3);
  EXPECT_EQ(bitsForColourCount(9), 4);
  EXPECT_EQ(bitsForColourCount(16), 4);
  EXPECT_EQ(bitsForColourCount(17), 5);
  EXPECT_EQ(bitsForColourCount(33), 6);
  EXPECT_EQ(bitsForColourCount(65), 7);
  EXPECT_EQ(bitsForColourCount(128), 7);
  EXPECT_EQ(bitsForColourCount(129), 8);
  EXPECT_EQ(bitsForColourCount(256), 8);
  EXPECT_EQ(bitsForColourCount(257), 24);
}

TEST(PaletteOrder, SortsByBrightnessAndLeavesTheRest) {
  uint8_t p[768];
  for (int i = 0; i < 768; ++i) p[i] = uint8_t(i * 7 + 3);
  uint8_t before[768];
  std::memcpy(before, p, sizeof p);
  const int count = 100;
  orderPalette(p, count);
  EXPECT_EQ(std::memcmp(p + count * 3, before + count * 3, 768 - count * 3), 0);
  auto luma = [&](int i) { return 299 * p[i * 3] + 587 * p[i * 3 + 1] + 114 * p[i * 3 + 2]; };
  for (int i = 1; i < count; ++i) EXPECT_LE(luma(i - 1), luma(i)) << i;
  // Same entries, only moved.
  for (int i = 0; i < count; ++i) {
    bool found = false;
    for (int j = 0; j < count && !found; ++j) found = std::memcmp(before + i * 3, p + j * 3, 3) == 0;
    EXPECT_TRUE(found) << i;
  }
}

TEST(PaletteOrder, EqualBrightnessIsOrderedByColour) {
  uint8_t p[768] = {};
  // (11, 1, 0) and (0, 0, 34) have the same luma, 3876.
  const uint8_t colours[5][3] = {{255, 255, 255}, {11, 1, 0}, {0, 0, 0}, {0, 0, 34}, {0, 0, 0}};
  std::memcpy(p, colours, sizeof colours);
  orderPalette(p, 5);
  const uint8_t expected[5][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 34}, {11, 1, 0}, {255, 255, 255}};
  EXPECT_EQ(std::memcmp(p, expected, sizeof expected), 0);
  orderPalette(nullptr, 4);  // ignored
  orderPalette(p, 1000);     // clamped to 256, no overrun
}

}  // namespace
}  // namespace gw
