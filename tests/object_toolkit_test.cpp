// The pieces the effects with objects share: seamless tracks and phases,
// scatter counts, painting coverage with alpha, softening, gathered shadows
// and the colours in use.
#include <gtest/gtest.h>

#include <cmath>

#include "effects/object_paint.h"
#include "effects/seeded_scatter.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

TEST(SeededScatter, TracksLoopExactlyAndKeepTheirSpeed) {
  struct Case {
    double speed;
    int32_t frames;
    double minLength;
  } cases[] = {{2.5, 64, 150}, {0.3, 64, 150}, {7.0, 13, 40}, {1.0, 2, 500}, {100, 2, 1}};
  for (const Case& c : cases) {
    LoopTrack t = loopTrack(c.speed, c.frames, c.minLength);
    EXPECT_GE(t.laps, 1);
    EXPECT_GE(t.length, c.minLength);
    // A lap count times the length is the loop's whole travel.
    if (c.speed * c.frames >= c.minLength) { EXPECT_NEAR(t.length * double(t.laps), c.speed * c.frames, 1e-6); }
    for (int64_t k : {0, 1, 5, 12}) {
      const double p = trackPosition(t, 3.25, k, c.frames);
      EXPECT_GE(p, 0.0);
      EXPECT_LT(p, t.length);
      EXPECT_EQ(p, trackPosition(t, 3.25, k + c.frames, c.frames)) << c.speed;
      EXPECT_EQ(p, trackPosition(t, 3.25, k - 3 * int64_t(c.frames), c.frames)) << c.speed;
    }
  }
  // Neighbouring frames step by the speed, across the seam too.
  LoopTrack t = loopTrack(2.0, 50, 60);
  for (int64_t k = 0; k < 50; ++k) {
    double step = trackPosition(t, 10, k + 1, 50) - trackPosition(t, 10, k, 50);
    if (step < 0) step += t.length;
    EXPECT_NEAR(step, 2.0, 1e-9) << k;
  }
}

TEST(SeededScatter, PhasesTurnWholeTurnsPerLoop) {
  for (int64_t turns : {1, 3, -2}) {
    for (int64_t k = 0; k < 20; ++k) {
      EXPECT_EQ(loopPhase(turns, 0.3, k, 20), loopPhase(turns, 0.3, k + 20, 20));
      EXPECT_GE(loopPhase(turns, 0.3, k, 20), 0.0);
      EXPECT_LT(loopPhase(turns, 0.3, k, 20), 1.0);
    }
    EXPECT_NEAR(loopWave(turns, 0.25, 0, 20), 1.0, 1e-12);
  }
  EXPECT_EQ(turnsFor(32, 64), 2);
  EXPECT_EQ(turnsFor(500, 64), 1);
  EXPECT_EQ(turnsFor(0, 64), 1);
}

TEST(SeededScatter, CountsAndDraws) {
  EXPECT_EQ(scatterCount(64, 100, 100, 1000), 64);
  EXPECT_EQ(scatterCount(64, 200, 50, 1000), 64);
  EXPECT_EQ(scatterCount(1, 10, 10, 1000), 1);  // at least one
  EXPECT_EQ(scatterCount(1000, 30000, 30000, 500), 500);
  EffectRandom r(7);
  for (int i = 0; i < 1000; ++i) {
    const double v = randomIn(r, -2, 3);
    EXPECT_GE(v, -2);
    EXPECT_LT(v, 3);
    const int32_t j = randomIndex(r, 5);
    EXPECT_GE(j, 0);
    EXPECT_LT(j, 5);
  }
  EXPECT_EQ(randomIndex(r, 0), 0);
}

struct Canvas {
  MemBlock block;
  MemLock lock;
  BitmapView view;
  MaskPlane alpha;
  FrameLayer layer;
  Canvas(int32_t w, int32_t h)
      : block(bitmapCreateTrueColour(w, h, 24)), lock(block.get()), view(BitmapView::of(lock)), layer{view, &alpha} {
    alpha.allocate(w, h);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) view.setPixel(x, y, 0xFFFFFF);
  }
};

TEST(ObjectPaint, CoverageBlendsTheColourAndRaisesAlpha) {
  Canvas c(20, 10);
  ShapeCoverage cover;
  cover.left = 18;  // runs off the right edge
  cover.top = -1;   // and the top
  ASSERT_TRUE(cover.mask.allocate(4, 4));
  cover.mask.pixels.assign(16, 255);
  cover.mask.row(2)[0] = 128;
  paintCoverage(c.layer, cover, 0x0000FF);
  EXPECT_EQ(uint32_t(c.view.getPixel(18, 0)), 0x0000FFu);
  EXPECT_EQ(uint32_t(c.view.getPixel(18, 1)), 0x7F7FFFu);  // half red over white
  EXPECT_EQ(c.alpha.at(18, 1), 128);
  EXPECT_EQ(c.alpha.at(17, 0), 0);
  paintCoverage(c.layer, cover, 0x00FF00, 0);  // no opacity, no paint
  EXPECT_EQ(uint32_t(c.view.getPixel(18, 0)), 0x0000FFu);
  EXPECT_EQ(dimmed(0x808080, 0.5), 0x404040u);
  EXPECT_EQ(mixed(0x000000, 0xFFFFFF, 0.5), 0x808080u);
}

TEST(ObjectPaint, SofteningKeepsTheMassAndWidensWithSoftness) {
  ShapePath p;
  addDisc(p, {30, 30}, 6);
  ShapeCoverage sharp;
  ASSERT_TRUE(rasterise(p, &sharp));
  double mass = 0;
  for (uint8_t v : sharp.mask.pixels) mass += v;
  int32_t lastWidth = sharp.mask.width;
  for (double sigma : {0.5, 2.0, 5.0}) {
    ShapeCoverage soft = sharp;
    ASSERT_TRUE(blurCoverage(soft, sigma));
    double m = 0;
    for (uint8_t v : soft.mask.pixels) m += v;
    EXPECT_NEAR(m, mass, mass * 0.02) << sigma;
    EXPECT_GT(soft.mask.width, lastWidth);
    EXPECT_EQ(soft.left + soft.mask.width / 2, sharp.left + sharp.mask.width / 2);
    lastWidth = soft.mask.width;
  }
  MaskPlane plane;
  ASSERT_TRUE(plane.allocate(60, 60));
  maxInto(plane, sharp.mask, sharp.left, sharp.top);
  MaskPlane soft20 = plane, soft80 = plane;
  ASSERT_TRUE(softenPlane(soft20, 20));
  ASSERT_TRUE(softenPlane(soft80, 80));  // past the letters' 40 it keeps widening
  EXPECT_GT(soft80.at(30 + 12, 30), soft20.at(30 + 12, 30));
  EXPECT_LT(soft80.at(30, 30), soft20.at(30, 30));
}

// Softening passes bare stretches without summing them: the bytes must be
// those of the plain sum of every tap, on sparse and dense planes, objects
// at the edges, and kernels wider than the plane.
TEST(ObjectPaint, SofteningSparsePlanesGivesThePlainSum) {
  auto plain = [](MaskPlane p, int32_t softness) {
    const double sigma = (softness + 2) / 10.0;
    const auto r = int32_t(std::ceil(3.5 * sigma));
    std::vector<double> taps(size_t(2 * r + 1));
    double sum = 0;
    for (int32_t i = -r; i <= r; ++i) sum += taps[size_t(i + r)] = std::exp(-double(i * i) / (2 * sigma * sigma));
    for (double& t : taps) t /= sum;
    auto line = [&](uint8_t* s, int32_t n, ptrdiff_t step) {
      std::vector<double> in(static_cast<size_t>(n));
      for (int32_t i = 0; i < n; ++i) in[size_t(i)] = s[i * step];
      for (int32_t i = 0; i < n; ++i) {
        double acc = 0;
        for (int32_t j = std::max(0, i - r); j <= std::min(n - 1, i + r); ++j) acc += taps[size_t(j - i + r)] * in[size_t(j)];
        s[i * step] = uint8_t(std::min(255.0, acc + 0.5));
      }
    };
    for (int32_t y = 0; y < p.height; ++y) line(p.row(y), p.width, 1);
    for (int32_t x = 0; x < p.width; ++x) line(p.row(0) + x, p.height, p.width);
    return p;
  };
  uint32_t seed = 5;
  for (int density : {1, 5, 100}) {
    for (int32_t softness : {3, 20, 120}) {
      MaskPlane p;
      ASSERT_TRUE(p.allocate(70, 33));
      for (uint8_t& v : p.pixels) {
        seed = seed * 22695477u + 1u;
        if (int((seed >> 16) % 100) < density) v = uint8_t(seed >> 8);
      }
      p.row(0)[0] = 200;  // a corner
      p.row(32)[69] = 90;
      MaskPlane expected = plain(p, softness);
      ASSERT_TRUE(softenPlane(p, softness));
      EXPECT_EQ(p.pixels, expected.pixels) << density << " " << softness;
    }
  }
}

TEST(ObjectPaint, ShadowsGatherSoftenAndPaint) {
  Canvas c(40, 40);
  ObjectShadows s;
  ASSERT_TRUE(s.begin(40, 40));
  EXPECT_TRUE(s.empty());
  ShapePath p;
  addRectangle(p, {10, 10}, 8, 8, 0);
  ShapeCoverage cover;
  ASSERT_TRUE(rasterise(p, &cover));
  s.add(cover, 5, 5, 255);
  s.add(cover, 200, 200, 255);  // wholly outside: ignored
  EXPECT_FALSE(s.empty());
  ASSERT_TRUE(s.paint(c.layer, 0x000000, 10));
  EXPECT_LT(c.view.getPixel(15, 15) & 0xFF, 40);   // the shadow's middle is dark
  EXPECT_EQ(c.view.getPixel(35, 35) & 0xFF, 255);  // far from it stays white
  EXPECT_GT(c.alpha.at(15, 15), 200);
  // The plane is ready for the next frame.
  ASSERT_TRUE(s.begin(40, 40));
  EXPECT_TRUE(s.empty());
  EXPECT_EQ(s.plane().at(15, 15), 0);
}

}  // namespace
}  // namespace gw
