// The toolkit of the effects that assemble the line from pieces: easing
// laws, and pieces of the rest frame laid at rest (exactly the rest frame)
// and moved (carrying outline and shadow over any background).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "base/le_bytes.h"
#include "effects/easing.h"
#include "effects/line_strips.h"
#include "effects/row_displacement.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

TEST(Easing, EasedRemainingRunsFromTheDistanceToNothingWithShrinkingSteps) {
  struct Case {
    double distance;
    int64_t frames;
    double factor;
  } cases[] = {{120, 10, 0.8}, {50, 1, 0.5}, {300, 25, settleFactor(25)}, {64, 8, 1.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frames);
    EXPECT_DOUBLE_EQ(easedRemaining(c.distance, c.frames, c.factor, c.frames), c.distance);
    EXPECT_DOUBLE_EQ(easedRemaining(c.distance, c.frames, c.factor, c.frames + 5), c.distance);
    EXPECT_DOUBLE_EQ(easedRemaining(c.distance, c.frames, c.factor, 0), 0.0);
    EXPECT_DOUBLE_EQ(easedRemaining(c.distance, c.frames, c.factor, -3), 0.0);
    double previousStep = 0;
    for (int64_t left = c.frames; left > 0; --left) {
      double step = easedRemaining(c.distance, c.frames, c.factor, left) -
                    easedRemaining(c.distance, c.frames, c.factor, left - 1);
      if (left < c.frames) {
        EXPECT_NEAR(step, previousStep * c.factor, 1e-9);
      }
      previousStep = step;
    }
  }
}

TEST(Easing, SettleFactorMakesTheLastStepAnEighthOfTheFirst) {
  EXPECT_DOUBLE_EQ(settleFactor(1), 1.0);
  for (int64_t n : {2, 9, 100}) EXPECT_NEAR(std::pow(settleFactor(n), double(n - 1)), 0.125, 1e-12);
}

TEST(Easing, RemainingBeforeArrivalGrowsBackFromTheLastStepUpToItsCap) {
  EXPECT_DOUBLE_EQ(remainingBeforeArrival(4, 1.0, 5, 1000), 20.0);
  EXPECT_DOUBLE_EQ(remainingBeforeArrival(4, 1.0, 500, 100), 100.0);
  EXPECT_DOUBLE_EQ(remainingBeforeArrival(4, 0.5, 3, 1000), 4.0 + 8.0 + 16.0);
  EXPECT_DOUBLE_EQ(remainingBeforeArrival(4, 0.5, 0, 1000), 0.0);
  // A tiny factor does not overflow: the cap holds.
  EXPECT_DOUBLE_EQ(remainingBeforeArrival(100, 0.01, 1000000, 250), 250.0);
}

TEST(RowDisplacement, WholeShiftsMoveAndFractionsBlendEdgesHeld) {
  const uint8_t src[] = {10, 20, 30, 40};
  uint8_t out[4];
  displaceRow(src, out, 4, 1, 1.0);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{10, 10, 20, 30}));
  displaceRow(src, out, 4, 1, -2.0);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{30, 40, 40, 40}));
  displaceRow(src, out, 4, 1, 0.5);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{10, 15, 25, 35}));
  const uint8_t rgb[] = {0, 100, 200, 50, 150, 250};
  uint8_t rgbOut[6];
  displaceRow(rgb, rgbOut, 2, 3, 0.0);
  EXPECT_EQ(std::vector<uint8_t>(rgbOut, rgbOut + 6), std::vector<uint8_t>(rgb, rgb + 6));
}

void plain(MaterialBytes* record, uint32_t colour) {
  materialRecordDefaults(record->data(), false);
  writeU32(record->data() + material::kColour, colour);
}

TextStyle lineStyle(bool alpha) {
  TextStyle s;
  s.text = "Hi";
  s.fontFace = "Liberation Sans";
  s.fontSize = 28;
  s.bold = true;
  plain(&s.fillMaterial, 0x2040C0);
  plain(&s.shadowMaterial, 0x30A030);
  plain(&s.backgroundMaterial, 0xF0E0D0);
  s.shadowEnable = true;
  s.softness = 8;
  s.outlineEnable = true;
  s.alphaMask = alpha;
  return s;
}

struct Frame {
  MemBlock block;
  MemLock lock;
  BitmapView view;
  explicit Frame(MemHandle h) : block(h), lock(block.get()), view(BitmapView::of(lock)) {}
};

TEST(LineStrips, PiecesAtRestGiveTheRestFrameExactly) {
  for (bool alpha : {false, true}) {
    SCOPED_TRACE(alpha);
    RestLine rest;
    ASSERT_TRUE(rest.prepare(lineStyle(alpha)));
    Frame whole(rest.composer.compose([&](MaskPlane& m, Offset o) {
      stampLine(rest.line, m, o.x, o.y);
      return true;
    }));
    PieceCanvas canvas;
    ASSERT_TRUE(canvas.start(rest.layer));
    // Uneven strips, laid in any order: no seam, every byte the rest frame's.
    for (int32_t x = 0; x < rest.width(); x += 7) canvas.lay({x, 0, x + 7, rest.height()}, 0, 0);
    Frame assembled(canvas.finish());
    ASSERT_TRUE(assembled.view.valid());
    ASSERT_EQ(assembled.view.bits(), alpha ? 32 : 24);
    ASSERT_EQ(assembled.lock.size(), whole.lock.size());
    EXPECT_EQ(0, std::memcmp(assembled.view.pixelData(), whole.view.pixelData(), whole.view.pixelBytes()));
  }
}

TEST(LineStrips, AMovedPieceCarriesItsOutlineAndShadow) {
  RestLine rest;
  ASSERT_TRUE(rest.prepare(lineStyle(false)));
  const int32_t w = rest.width(), h = rest.height(), dx = 5, dy = -3;
  PieceCanvas canvas;
  ASSERT_TRUE(canvas.start(rest.layer));
  canvas.lay({0, 0, w, h}, dx, dy);
  Frame moved(canvas.finish());
  // Over a plain background the moved line is the rest frame moved, up to
  // rounding; where nothing moved in, the background shows.
  int worst = 0;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const int32_t sx = x - dx, sy = y - dy;
      const bool inside = sx >= 0 && sy >= 0 && sx < w && sy < h;
      for (int c = 0; c < 3; ++c) {
        const int want = inside ? rest.layer.rest[(size_t(sy) * w + sx) * 3 + c] : rest.layer.background[size_t(c)];
        worst = std::max(worst, std::abs(int(moved.view.row(y)[x * 3 + c]) - want));
      }
    }
  EXPECT_LE(worst, 2);
  // Away from its place the layer is transparent: the background stays.
  EXPECT_EQ(rest.layer.cover.at(0, 0), 0);
}

TEST(LineStrips, ABevelLightsTheLeadingEdgeAndShadesTheTrailingOne) {
  RestLine rest;
  ASSERT_TRUE(rest.prepare(lineStyle(false)));
  const int32_t w = rest.width(), h = rest.height();
  auto render = [&](const Bevel& bevel) {
    PieceCanvas canvas;
    EXPECT_TRUE(canvas.start(rest.layer));
    canvas.lay({0, 0, w, h}, 1, 0, bevel);
    return canvas.pixels();
  };
  std::vector<uint8_t> flat = render({}), lit = render({w / 2, 1, 0});
  long leading = 0, trailing = 0;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      long diff = 0;
      for (int c = 0; c < 3; ++c) diff += long(lit[(size_t(y) * w + x) * 3 + c]) - flat[(size_t(y) * w + x) * 3 + c];
      (x > w / 2 ? leading : trailing) += diff;
    }
  EXPECT_GT(leading, 0);
  EXPECT_LT(trailing, 0);
}

}  // namespace
}  // namespace gw
