// The exact search must give, for every colour, the very index a plain scan
// gives (lowest index on ties), whichever of its paths answers: the colour
// cache, a coarse cell's list, a built fine cell's candidate groups, or the
// parent's list once the candidate store is full.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "platform/bitmap.h"
#include "imaging/nearest_colour.h"
#include "imaging/remap.h"

namespace gw {
namespace {

uint32_t rgb(int r, int g, int b) { return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16); }

// Palettes of the shapes that stress cell building differently: spread over
// the cube, crowded into a small box (long candidate lists far away), and
// with repeated entries (ties).
enum class Shape { Spread, Crowded, Repeated };

void makePalette(uint8_t* p, int count, Shape shape, std::mt19937& rng) {
  std::memset(p, 0, 768);
  for (int i = 0; i < count * 3; ++i)
    p[i] = shape == Shape::Crowded ? uint8_t(112 + rng() % 24) : uint8_t(rng());
  if (shape == Shape::Repeated && count > 1)
    for (int k = 0; k < count / 3 + 1; ++k)
      std::memcpy(p + (rng() % count) * 3, p + (rng() % count) * 3, 3);
}

// Colours that revisit the same fine cells many times (so cells get built),
// colours near palette entries (where ties and near-ties are), and the
// cube's corners.
std::vector<uint32_t> probeColours(const uint8_t* p, int count, std::mt19937& rng) {
  std::vector<uint32_t> out;
  for (int r : {0, 255})
    for (int g : {0, 255})
      for (int b : {0, 255}) out.push_back(rgb(r, g, b));
  std::vector<uint32_t> centres;
  for (int k = 0; k < 40; ++k) centres.push_back(rng() & 0xFFFFFF);
  for (int k = 0; k < 6000; ++k) {
    const uint32_t c = centres[k % centres.size()];
    auto jitter = [&](uint32_t v) { return std::min(255, int(v & 0xFF) + int(rng() % 8)); };
    out.push_back(rgb(jitter(c), jitter(c >> 8), jitter(c >> 16)));
  }
  for (int k = 0; k < 3000; ++k) {
    const int e = int(rng() % count);
    auto near = [&](int v) { return std::clamp(v + int(rng() % 7) - 3, 0, 255); };
    out.push_back(rgb(near(p[e * 3]), near(p[e * 3 + 1]), near(p[e * 3 + 2])));
  }
  for (int k = 0; k < 3000; ++k) out.push_back(rng() & 0xFFFFFF);
  return out;
}

TEST(NearestSearch, EveryPathAgreesWithAPlainScan) {
  std::mt19937 rng(20261208);
  uint8_t p[768];
  for (int count : {1, 2, 3, 4, 5, 17, 64, 255, 256})
    for (Shape shape : {Shape::Spread, Shape::Crowded, Shape::Repeated}) {
      makePalette(p, count, shape, rng);
      ColourSearch search;
      ASSERT_TRUE(search.init(p, count));
      const std::vector<uint32_t> colours = probeColours(p, count, rng);
      // Three passes: the first meets unbuilt cells, later ones built cells
      // and cached colours.
      for (int pass = 0; pass < 3; ++pass) {
        int guess = 0;
        for (uint32_t c : colours) {
          const int r = int(c & 0xFF), g = int((c >> 8) & 0xFF), b = int(c >> 16);
          const int expected = nearestColour(p, count, c);
          ASSERT_EQ(search.nearest(r, g, b), expected) << count << " " << r << "," << g << "," << b;
          ASSERT_EQ(search.nearestUncached(r, g, b), expected) << count << " " << r << "," << g << "," << b;
          ASSERT_EQ(search.nearestFrom(r, g, b, guess), expected) << "guess " << guess;
          guess = (c & 7) == 0 ? int(rng() % 300) - 20 : expected;
        }
      }
    }
}

TEST(NearestSearch, WholeCubeOnAGridAgreesWithAPlainScan) {
  std::mt19937 rng(7);
  uint8_t p[768];
  for (int count : {3, 256}) {
    makePalette(p, count, Shape::Spread, rng);
    ColourSearch search;
    ASSERT_TRUE(search.init(p, count));
    for (int pass = 0; pass < 2; ++pass)
      for (int r = pass; r < 256; r += 5)
        for (int g = pass; g < 256; g += 5)
          for (int b = pass; b < 256; b += 5)
            ASSERT_EQ(search.nearestUncached(r, g, b), nearestColour(p, count, rgb(r, g, b)))
                << count << " " << r << "," << g << "," << b;
  }
}

TEST(NearestSearch, StaysExactWhenTheCandidateStoreIsFull) {
  // Entries crowded into one small box give every far cell most of the
  // palette as candidates, so building every fine cell needs far more room
  // than the store has; cells beyond it are answered from their parents.
  std::mt19937 rng(3);
  uint8_t p[768];
  makePalette(p, 256, Shape::Crowded, rng);
  ColourSearch search;
  ASSERT_TRUE(search.init(p, 256));
  for (int pass = 0; pass < 10; ++pass)
    for (int r = 0; r < 256; r += 8)
      for (int g = 0; g < 256; g += 8)
        for (int b = 0; b < 256; b += 8) {
          const int rr = r + int(rng() % 8), gg = g + int(rng() % 8), bb = b + int(rng() % 8);
          ASSERT_EQ(search.nearest(rr, gg, bb), nearestColour(p, 256, rgb(rr, gg, bb)))
              << rr << "," << gg << "," << bb;
        }
}

TEST(NearestSearch, ANewPaletteForgetsTheOldOnesAnswers) {
  // A search is re-initialised between k-means passes and between builds:
  // no cached answer or built cell may survive into the next palette.
  std::mt19937 rng(11);
  uint8_t a[768], b[768];
  makePalette(a, 256, Shape::Spread, rng);
  makePalette(b, 5, Shape::Spread, rng);
  ColourSearch search;
  std::vector<uint32_t> colours = probeColours(a, 256, rng);
  colours.push_back(0xFFFFFF);
  for (int round = 0; round < 2; ++round)
    for (const uint8_t* p : {a, b}) {
      const int count = p == a ? 256 : 5;
      ASSERT_TRUE(search.init(p, count));
      for (uint32_t c : colours)
        ASSERT_EQ(search.nearest(int(c & 0xFF), int((c >> 8) & 0xFF), int(c >> 16)), nearestColour(p, count, c));
    }
}

TEST(NearestSearch, WhiteIsAnsweredRightBeforeAnythingWasCached) {
  // Every cache slot starts out holding white's answer; it must be the real one.
  uint8_t p[768] = {250, 250, 250, 0, 0, 0, 255, 255, 254, 255, 255, 255};
  ColourSearch search;
  for (int count : {1, 2, 3, 4}) {
    ASSERT_TRUE(search.init(p, count));
    EXPECT_EQ(search.nearest(255, 255, 255), nearestColour(p, count, 0xFFFFFF)) << count;
    EXPECT_EQ(search.nearest(0, 0, 1), nearestColour(p, count, 0x010000)) << count;
  }
}

// Four candidates a group, as a fine cell stores them.
std::vector<CandidateGroup> groupsOf(const uint8_t* p, const std::vector<int>& indices) {
  std::vector<CandidateGroup> groups((indices.size() + 3) / 4);
  for (size_t k = 0; k < groups.size() * 4; ++k) {
    const int i = indices[std::min(k, indices.size() - 1)];
    CandidateGroup& q = groups[k / 4];
    q.redGreen[2 * (k % 4)] = int16_t(16 * p[i * 3]);
    q.redGreen[2 * (k % 4) + 1] = int16_t(16 * p[i * 3 + 1]);
    q.blueIndex[2 * (k % 4)] = int16_t(16 * p[i * 3 + 2]);
    q.blueIndex[2 * (k % 4) + 1] = int16_t(-i);
  }
  return groups;
}

TEST(NearestSearch, CandidateGroupScoringMatchesAPlainScan) {
  std::mt19937 rng(5);
  uint8_t p[768];
  for (int round = 0; round < 400; ++round) {
    // Extremes make the largest scores; a few levels make many ties.
    const int levels = round % 3 == 0 ? 2 : 256;
    for (int i = 0; i < 768; ++i) p[i] = levels == 2 ? uint8_t((rng() & 1) * 255) : uint8_t(rng());
    std::vector<int> indices;
    const int n = 1 + int(rng() % 23);
    for (int k = 0; k < n; ++k) indices.push_back(int(rng() % 256));
    std::sort(indices.begin(), indices.end(), [&](int x, int y) { return (x * 7919) % 256 < (y * 7919) % 256; });
    const std::vector<CandidateGroup> groups = groupsOf(p, indices);
    for (int k = 0; k < 50; ++k) {
      const int r = levels == 2 ? int(rng() & 1) * 255 : int(rng() & 255);
      const int g = int(rng() & 255), b = levels == 2 ? 0 : int(rng() & 255);
      int expected = -1;
      int32_t bestD = INT32_MAX;
      for (int i : indices) {
        const int32_t dr = r - p[i * 3], dg = g - p[i * 3 + 1], db = b - p[i * 3 + 2];
        const int32_t d = dr * dr + dg * dg + db * db;
        if (d < bestD || (d == bestD && i < expected)) {
          bestD = d;
          expected = i;
        }
      }
      const int groupCount = int(groups.size());
      ASSERT_EQ(nearestInGroupsPortable(groups.data(), groupCount, rgb(r, g, b)), expected);
      ASSERT_EQ(nearestInGroups(groups.data(), groupCount, rgb(r, g, b)), expected);
    }
  }
}

// A frame in bands, as 24 or 32 bits: noise over the whole cube (the
// remap loop stops using the colour cache), then rows of a few colours
// repeated (it starts again), then noise around a few colours and flat runs.
MemHandle bandedFrame(int32_t w, int32_t h, int bits, uint32_t seed) {
  MemHandle bmp = bitmapCreateTrueColour(w, h, bits);
  MemLock lock(bmp);
  BitmapView v = BitmapView::of(lock);
  std::mt19937 rng(seed);
  const uint32_t few[5] = {0x102030, 0xF0E0D0, 0x00FF00, 0x7F7F80, 0x0000FE};
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      uint32_t c = rng() & 0xFFFFFF;
      if (y >= 20 && y < 40) c = few[(x * 7 + y) % 5];
      if (y >= 40 && y % 2 == 0) c = (0x406080 + (rng() & 0x0F0F0F)) & 0xFFFFFF;
      if (y >= 40 && y % 4 == 1) c = x < w / 2 ? 0x000000 : 0xFFFFFF;
      v.setPixel(x, y, c);
    }
  return bmp;
}

TEST(NearestSearch, RemappedFramesMatchAPlainScanPixelForPixel) {
  std::mt19937 rng(17);
  uint8_t p[768];
  for (int count : {1, 2, 3, 255, 256})
    for (int bits : {24, 32}) {
      makePalette(p, count, count == 255 ? Shape::Repeated : Shape::Spread, rng);
      MemBlock frame(bandedFrame(97, 61, bits, uint32_t(count * 31 + bits)));
      ColourSearch search;
      ASSERT_TRUE(search.init(p, count));
      for (int again = 0; again < 2; ++again) {  // a prepared search, then one that has learnt
        MemBlock out(remapToPalette(frame.get(), p, search, RemapOptions()));
        ASSERT_TRUE(out);
        MemLock lf(frame.get()), lo(out.get());
        BitmapView vf = BitmapView::of(lf), vo = BitmapView::of(lo);
        for (int32_t y = 0; y < 61; ++y)
          for (int32_t x = 0; x < 97; ++x)
            ASSERT_EQ(vo.getPixel(x, y), nearestColour(p, count, uint32_t(vf.getPixel(x, y))))
                << count << " " << bits << " " << x << "," << y;
      }
    }
}

TEST(NearestSearch, BackgroundPixelsTakeTheirIndexInEveryPlainMode) {
  std::mt19937 rng(23);
  uint8_t p[768];
  makePalette(p, 200, Shape::Spread, rng);
  MemBlock frame(bandedFrame(97, 61, 24, 5));
  for (uint32_t background : {0xFFFFFFu, 0x000000u, 0x102030u})
    for (bool fast : {false, true}) {
      RemapOptions options;
      options.fastRemap = fast;
      options.backgroundColour = int32_t(background);
      options.backgroundIndex = 230;  // a reserved slot beyond the palette's count
      MemBlock out(remapToPalette(frame.get(), p, 200, options));
      ASSERT_TRUE(out);
      MemLock lf(frame.get()), lo(out.get());
      BitmapView vf = BitmapView::of(lf), vo = BitmapView::of(lo);
      for (int32_t y = 0; y < 61; ++y)
        for (int32_t x = 0; x < 97; ++x) {
          const uint32_t c = uint32_t(vf.getPixel(x, y));
          if (c == background) {
            ASSERT_EQ(vo.getPixel(x, y), 230) << x << "," << y;
          } else if (fast) {
            ASSERT_LT(vo.getPixel(x, y), 200) << x << "," << y;
          } else {
            ASSERT_EQ(vo.getPixel(x, y), nearestColour(p, 200, c)) << x << "," << y;
          }
        }
    }
}

}  // namespace
}  // namespace gw
