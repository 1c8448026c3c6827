#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "platform/bitmap.h"
#include "imaging/image_difference.h"
#include "imaging/nearest_colour.h"
#include "imaging/remap.h"
#include "imaging/standard_palette.h"

namespace gw {
namespace {

int32_t distance2(const uint8_t* p, int i, int r, int g, int b) {
  int dr = p[i * 3] - r, dg = p[i * 3 + 1] - g, db = p[i * 3 + 2] - b;
  return dr * dr + dg * dg + db * db;
}

void randomPalette(uint8_t* p, int count, std::mt19937& rng, bool withDuplicates) {
  std::memset(p, 0, 768);
  for (int i = 0; i < count * 3; ++i) p[i] = uint8_t(rng());
  if (withDuplicates && count > 4)
    for (int i = 0; i < count / 4; ++i) std::memcpy(p + (rng() % count) * 3, p + (rng() % count) * 3, 3);
}

// A frame of noise, gradients and flat runs, from a fixed seed.
MemHandle mixedFrame(int32_t w, int32_t h, uint32_t seed) {
  MemHandle bmp = bitmapCreateTrueColour(w, h, 24);
  MemLock lock(bmp);
  BitmapView v = BitmapView::of(lock);
  std::mt19937 rng(seed);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      uint32_t c;
      if (x < w / 3) c = rng() & 0xFFFFFF;
      else if (x < 2 * w / 3) c = uint32_t(x * 3) | (uint32_t(y * 2) << 8) | 0x400000;
      else c = (y / 8) % 2 ? 0x2040C0 : 0xFFFFFF;
      v.setPixel(x, y, c & 0xFFFFFF);
    }
  return bmp;
}

TEST(RemapNearest, SearchAgreesWithPlainScan) {
  std::mt19937 rng(1234);
  uint8_t p[768];
  for (int count : {1, 2, 3, 16, 100, 255, 256}) {
    for (bool dup : {false, true}) {
      randomPalette(p, count, rng, dup);
      ColourSearch search;
      ASSERT_TRUE(search.init(p, count));
      int guess = 0;
      for (int k = 0; k < 20000; ++k) {
        int r = int(rng() & 255), g = int(rng() & 255), b = int(rng() & 255);
        if (k % 3 == 0 && count > 1) {  // colours close to an entry, where the guess matters
          int e = int(rng() % count);
          r = std::min(255, std::max(0, p[e * 3] + int(rng() % 9) - 4));
          g = std::min(255, std::max(0, p[e * 3 + 1] + int(rng() % 9) - 4));
          b = std::min(255, std::max(0, p[e * 3 + 2] + int(rng() % 9) - 4));
        }
        const int expected = nearestColour(p, count, uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16));
        ASSERT_EQ(search.nearest(r, g, b), expected) << count << " " << r << "," << g << "," << b;
        const int fromGuess = search.nearestFrom(r, g, b, guess);
        ASSERT_EQ(fromGuess, expected) << "guess " << guess;
        guess = k % 7 == 0 ? int(rng() % 300) - 20 : fromGuess;  // also nonsense guesses
      }
    }
  }
}

TEST(RemapNearest, TiesGoToTheLowestIndex) {
  uint8_t p[768] = {};
  const uint8_t entries[4][3] = {{10, 10, 10}, {30, 10, 10}, {30, 10, 10}, {20, 10, 10}};
  std::memcpy(p, entries, sizeof entries);
  EXPECT_EQ(nearestColour(p, 4, 0x0A0A14), 3);  // exact match wins
  EXPECT_EQ(nearestColour(p, 3, 0x0A0A14), 0);  // 10 away from 0 and from 1: lower index
  EXPECT_EQ(nearestColour(p, 3, 0x0A0A1E), 1);  // entries 1 and 2 equal: lower index
  ColourSearch s;
  ASSERT_TRUE(s.init(p, 3));
  EXPECT_EQ(s.nearest(20, 10, 10), 0);
  EXPECT_EQ(s.nearestFrom(30, 10, 10, 2), 1);
  EXPECT_EQ(nearestColour(p, 0, 0), -1);
  EXPECT_EQ(nearestColour(p, 257, 0), -1);
  EXPECT_EQ(nearestColour(nullptr, 3, 0), -1);
  EXPECT_FALSE(s.init(p, 0));
}

TEST(RemapNearest, FastSearchStaysClose) {
  std::mt19937 rng(99);
  uint8_t p[768];
  randomPalette(p, 256, rng, false);
  ColourSearch s;
  ASSERT_TRUE(s.init(p, 256));
  ASSERT_TRUE(s.enableFast());
  for (int k = 0; k < 50000; ++k) {
    int r = int(rng() & 255), g = int(rng() & 255), b = int(rng() & 255);
    int exact = s.nearest(r, g, b), fast = s.nearestFast(r, g, b);
    ASSERT_GE(fast, 0);
    ASSERT_LT(fast, 256);
    // The block centre is at most sqrt(3) * 2 levels away; by the triangle
    // inequality the chosen entry is at most twice that farther than the best.
    double de = std::sqrt(double(distance2(p, exact, r, g, b)));
    double df = std::sqrt(double(distance2(p, fast, r, g, b)));
    ASSERT_LE(df, de + 2 * std::sqrt(3.0) * 2 + 1e-9);
  }
}

TEST(RemapPalette, ProducesAnIndexedFrameWithTheWholePalette) {
  MemBlock frame(mixedFrame(61, 33, 4));
  uint8_t p[768];
  standardPalette(kPalette216Safe, p, nullptr);
  p[250 * 3] = 1;  // beyond the count, still goes into the colour table
  p[250 * 3 + 1] = 2;
  p[250 * 3 + 2] = 3;
  for (bool fast : {false, true}) {
    RemapOptions options;
    options.fastRemap = fast;
    MemBlock out(remapToPalette(frame.get(), p, 216, options));
    ASSERT_TRUE(out);
    int32_t w = 0, h = 0;
    int bits = 0;
    uint8_t table[768];
    ASSERT_TRUE(bitmapQuery(out.get(), &w, &h, &bits, table));
    EXPECT_EQ(w, 61);
    EXPECT_EQ(h, 33);
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(std::memcmp(table, p, 768), 0);
    MemLock lf(frame.get()), lo(out.get());
    BitmapView vf = BitmapView::of(lf), vo = BitmapView::of(lo);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        int64_t index = vo.getPixel(x, y);
        ASSERT_LT(index, 216);
        if (!fast) {
          ASSERT_EQ(index, nearestColour(p, 216, uint32_t(vf.getPixel(x, y)))) << x << "," << y;
        }
      }
  }
}

TEST(RemapPalette, BackgroundKeepsItsIndexUnderDither) {
  // Flat background around a gradient: dithering must leave every
  // background pixel on the reserved index and put no other pixel there.
  const uint32_t background = 0x808080;
  MemBlock frame(bitmapCreateTrueColour(50, 40, 24));
  {
    MemLock lock(frame.get());
    BitmapView v = BitmapView::of(lock);
    for (int32_t y = 0; y < 40; ++y)
      for (int32_t x = 0; x < 50; ++x) {
        bool inside = x >= 10 && x < 40 && y >= 8 && y < 32 && (x + y) % 11 != 0;
        v.setPixel(x, y, inside ? uint32_t(x * 5) | (uint32_t(y * 6) << 8) | (uint32_t(x + y) << 16) : background);
      }
  }
  uint8_t p[768];
  int count = standardPalette(kPalette32Orthogonal, p, nullptr);  // 32: sparse, so error is large
  const int reserved = count;
  p[reserved * 3] = p[reserved * 3 + 1] = p[reserved * 3 + 2] = 0x80;
  for (int contrast : {0, 20, 255}) {
    RemapOptions options;
    options.dither = true;
    options.ditherBrightness = 0;
    options.ditherContrast = contrast;
    options.backgroundColour = int32_t(background);
    options.backgroundIndex = reserved;
    MemBlock out(remapToPalette(frame.get(), p, count, options));
    ASSERT_TRUE(out);
    MemLock lf(frame.get()), lo(out.get());
    BitmapView vf = BitmapView::of(lf), vo = BitmapView::of(lo);
    for (int32_t y = 0; y < 40; ++y)
      for (int32_t x = 0; x < 50; ++x) {
        bool isBackground = vf.getPixel(x, y) == int64_t(background);
        ASSERT_EQ(vo.getPixel(x, y) == reserved, isBackground) << x << "," << y << " contrast " << contrast;
      }
  }
  // Without an index there is no substitution.
  RemapOptions none;
  none.backgroundColour = int32_t(background);
  MemBlock plain(remapToPalette(frame.get(), p, count, none));
  MemLock lo(plain.get());
  EXPECT_LT(BitmapView::of(lo).getPixel(0, 0), count);
}

TEST(RemapPalette, DitherTermsDoWhatTheySay) {
  // Mid grey on black and white: full diffusion gives about half white.
  MemBlock grey(bitmapCreateTrueColour(64, 64, 24));
  {
    MemLock lock(grey.get());
    BitmapView v = BitmapView::of(lock);
    for (int32_t y = 0; y < 64; ++y)
      for (int32_t x = 0; x < 64; ++x) v.setPixel(x, y, 0x808080);
  }
  uint8_t bw[768];
  int count = standardPalette(kPaletteBlackAndWhite, bw, nullptr);
  auto whiteShare = [&](const RemapOptions& o) {
    MemBlock out(remapToPalette(grey.get(), bw, count, o));
    MemLock lock(out.get());
    BitmapView v = BitmapView::of(lock);
    int white = 0;
    for (int32_t y = 0; y < 64; ++y)
      for (int32_t x = 0; x < 64; ++x) white += int(v.getPixel(x, y));
    return double(white) / (64 * 64);
  };
  RemapOptions full;
  full.dither = true;
  full.ditherBrightness = 0;
  full.ditherContrast = 255;
  EXPECT_NEAR(whiteShare(full), 0.5, 0.02);
  RemapOptions off = full;
  off.ditherBrightness = 100;  // nothing passed on: plain nearest
  EXPECT_EQ(whiteShare(off), whiteShare(RemapOptions()));
  RemapOptions defaults;
  defaults.dither = true;  // flat area: the edge limit does not stop it
  EXPECT_GT(whiteShare(defaults), 0.2);
  EXPECT_LT(whiteShare(defaults), 0.8);

  // Across a hard edge nothing flows: a checkerboard of two colours that are
  // both far from the palette remaps like plain nearest at contrast 20.
  MemBlock checker(mixedFrame(30, 30, 8));
  uint8_t p[768];
  int n = standardPalette(kPaletteSixteenColour, p, nullptr);
  RemapOptions edgy;
  edgy.dither = true;
  edgy.ditherContrast = 0;
  MemBlock a(remapToPalette(checker.get(), p, n, edgy));
  MemBlock b(remapToPalette(checker.get(), p, n, RemapOptions()));
  ImageDifference d;
  ASSERT_TRUE(measureDifference(a.get(), b.get(), &d));
  // Only the flat runs of the right third may differ from plain nearest.
  EXPECT_LT(d.meanSquaredError, 2000.0);
}

// Golden: a two-ramp gradient with a flat "letter" and a white band as
// background, dithered to the sixteen-colour palette. Error diffusion is all
// integer arithmetic, so the indices are the same on every platform; the
// picture was checked by eye (dithered ramps, a dithered flat letter with
// crisp edges, the white band solid index 15).
TEST(RemapPalette, DitheredGoldenIndices) {
  MemBlock frame(bitmapCreateTrueColour(96, 64, 24));
  {
    MemLock lock(frame.get());
    BitmapView v = BitmapView::of(lock);
    for (int32_t y = 0; y < 64; ++y)
      for (int32_t x = 0; x < 96; ++x) {
        bool letter = (x > 20 && x < 34 && y > 10 && y < 54) || (x >= 34 && x < 70 && y > 26 && y < 36);
        uint32_t c = letter ? 0x2020E0u : (uint32_t(x * 255 / 95) | (uint32_t(y * 255 / 63) << 8) | 0x600000u);
        if (x > 80) c = 0xFFFFFF;
        v.setPixel(x, y, c);
      }
  }
  uint8_t p[768];
  int count = standardPalette(kPaletteSixteenColour, p, nullptr);
  RemapOptions options;
  options.dither = true;
  options.backgroundColour = 0xFFFFFF;
  options.backgroundIndex = 15;
  MemBlock out(remapToPalette(frame.get(), p, count, options));
  MemLock lock(out.get());
  BitmapView v = BitmapView::of(lock);
  uint32_t hash = 2166136261u;
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 96; ++x) hash = (hash ^ uint32_t(v.getPixel(x, y))) * 16777619u;
  EXPECT_EQ(hash, 0xC3A6B967u);
}

TEST(RemapPalette, OddSizesStayInBounds) {
  uint8_t p[768];
  int count = standardPalette(kPalette64Orthogonal, p, nullptr);
  const int32_t sizes[][2] = {{1, 1}, {7, 1}, {1, 7}, {2, 2}, {33, 3}, {3, 33}, {101, 5}};
  for (const auto& size : sizes) {
    MemBlock frame(mixedFrame(size[0], size[1], uint32_t(size[0] * 100 + size[1])));
    for (int mode = 0; mode < 4; ++mode) {
      RemapOptions options;
      options.dither = mode >= 2;
      options.fastRemap = mode == 1 || mode == 3;
      options.ditherContrast = 255;
      options.ditherBrightness = 0;
      MemBlock out(remapToPalette(frame.get(), p, count, options));
      ASSERT_TRUE(out) << size[0] << "x" << size[1];
      MemLock lf(frame.get()), lo(out.get());
      BitmapView vf = BitmapView::of(lf), vo = BitmapView::of(lo);
      ASSERT_EQ(vo.width(), size[0]);
      ASSERT_EQ(vo.height(), size[1]);
      for (int32_t y = 0; y < size[1]; ++y)
        for (int32_t x = 0; x < size[0]; ++x) {
          ASSERT_LT(vo.getPixel(x, y), count);
          if (mode == 0) {
            ASSERT_EQ(vo.getPixel(x, y), nearestColour(p, count, uint32_t(vf.getPixel(x, y))));
          }
        }
    }
  }
}

TEST(RemapPalette, RejectsBadInput) {
  uint8_t p[768];
  int count = standardPalette(kPalette64Orthogonal, p, nullptr);
  MemBlock indexed(bitmapCreateWithPalette(4, 4, p, 8));
  EXPECT_EQ(remapToPalette(indexed.get(), p, count, RemapOptions()), 0u);
  EXPECT_EQ(remapToPalette(0, p, count, RemapOptions()), 0u);
  MemBlock frame(mixedFrame(5, 5, 1));
  EXPECT_EQ(remapToPalette(frame.get(), p, 0, RemapOptions()), 0u);
  EXPECT_EQ(remapToPalette(frame.get(), nullptr, count, RemapOptions()), 0u);
  // 32-bit frames are taken, alpha ignored.
  MemBlock wide(bitmapCreateTrueColour(3, 2, 32));
  MemBlock out(remapToPalette(wide.get(), p, count, RemapOptions()));
  EXPECT_TRUE(out);
  // A failed allocation of the output is a clean failure.
  testing::failAllocationsAfter(0);
  EXPECT_EQ(remapToPalette(frame.get(), p, count, RemapOptions()), 0u);
  testing::failAllocationsAfter(-1);
}

}  // namespace
}  // namespace gw
