// Colour tables, the four shapes and the fountain renderer: the worked
// numbers, the boundary rules, failure paths and golden hashes of renders
// that were looked at.
#include <gtest/gtest.h>

#include "tests/allocation_failures.h"

#include "tests/gradient_golden.h"

#include <cstring>

#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "materials/fountain_record.h"
#include "materials/fountain_render.h"
#include "materials/gradient_colour_table.h"
#include "materials/gradient_math.h"
#include "materials/gradient_render.h"
#include "materials/gradient_settings.h"
#include "platform/memory.h"

namespace gw {
namespace {

struct Picture {
  MemBlock block;
  MemLock lock;
  BitmapView view;
  explicit Picture(MemHandle h) : block(h), lock(block.get()), view(BitmapView::of(lock)) {}
  uint32_t at(int32_t x, int32_t y) const { return uint32_t(view.getPixel(x, y)); }
};

using golden::pixelHash;

TEST(GradientRenderTest, EdgePadFortyFiveOf256) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  writeI32(g + gradient::kEdgePad, 45);
  ColourTable table;
  ASSERT_TRUE(table.build(g, 256));
  for (int k = 0; k <= 114; ++k) EXPECT_EQ(table.at(k), 0x404040u) << k;
  for (int k = 141; k <= 255; ++k) EXPECT_EQ(table.at(k), 0xC0C0C0u) << k;
  // The middle 26 entries ramp from the start colour upward.
  EXPECT_EQ(table.at(115), 0x404040u);
  EXPECT_EQ(table.at(116), lerpColour(0x404040, 0xC0C0C0, 1.0f / 26.0f));
  EXPECT_EQ(table.at(140), lerpColour(0x404040, 0xC0C0C0, 25.0f / 26.0f));
}

TEST(GradientRenderTest, TwoColourTableEndsAndOutsideIsBlack) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  writeU32(g + gradient::kStartColour, 0x0000FF);
  writeU32(g + gradient::kEndColour, 0xFF0000);
  ColourTable table;
  ASSERT_TRUE(table.build(g, 10));
  EXPECT_EQ(table.at(0), 0x0000FFu);
  EXPECT_EQ(table.at(5), 0x7F007Fu);  // per channel trunc(0.5 * 255 + 0.5 * 0)
  EXPECT_EQ(table.at(9), 0xFF0000u);
  EXPECT_EQ(table.at(10), 0u);
  EXPECT_EQ(table.at(-1), 0u);
  ColourTable none;
  EXPECT_EQ(none.at(0), 0u);
}

TEST(GradientRenderTest, MidpointBuildsAThreeMarkerFountain) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  writeU32(g + gradient::kStartColour, 0x000000);
  writeU32(g + gradient::kEndColour, 0xFFFFFF);
  writeI32(g + gradient::kMidpoint, 25);
  ColourTable table;
  ASSERT_TRUE(table.build(g, 255));
  // Middle grey (127) sits at marker position 0 + trunc(0.25 * 255) = 63.
  EXPECT_EQ(table.at(0), 0x000000u);
  EXPECT_EQ(table.at(254), 0xFFFFFFu);
  EXPECT_LT(table.at(62) & 0xFF, 127u);
  EXPECT_GE(table.at(64) & 0xFF, 127u);
  EXPECT_LT(table.at(64) & 0xFF, 130u);
}

TEST(GradientRenderTest, MultiColourTableIsTheFountainStrip) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  writeU32(g + gradient::kColourMode, 0);
  writeI32(g + gradient::kEdgePad, 10);
  ColourTable table;
  ASSERT_TRUE(table.build(g, 100));
  // In single precision 10 x 0.01 x 100 is 9.9999998: a = 9, n = 82.
  Picture strip(fountainRender(g + gradient::kFountain, 82, 1));
  ASSERT_TRUE(strip.view.valid());
  for (int k = 0; k < 9; ++k) EXPECT_EQ(table.at(k), 0x404040u);
  for (int k = 0; k < 82; ++k) EXPECT_EQ(table.at(9 + k), strip.at(k, 0)) << k;
  for (int k = 91; k < 100; ++k) EXPECT_EQ(table.at(k), 0xC0C0C0u);
}

// At rotation 0 on 100 x 50 the bands run from y = -2 to 52: K = 54, a step
// of 54/256, and row y shows the last band that reaches it,
// k = ceil((y + 3) / step) - 1.
TEST(GradientRenderTest, LinearBandsOverTheGrownHeight) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  Picture p(gradientRender(g, 100, 50));
  ASSERT_TRUE(p.view.valid());
  EXPECT_EQ(p.at(0, 0), 0x474747u);   // band 14: 64 + 128 * 14/256 = 71
  EXPECT_EQ(p.at(99, 0), 0x474747u);
  EXPECT_EQ(p.at(50, 49), 0xBBBBBBu); // band 246: 64 + 128 * 246/256 = 187
  for (int32_t y = 0; y < 50; ++y)
    for (int32_t x = 1; x < 100; ++x) ASSERT_EQ(p.at(x, y), p.at(0, y));
}

TEST(GradientRenderTest, LinearRotationNinetyPutsTheStartAtTheRight) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  writeU32(g + gradient::kStartColour, 0x0000FF);
  writeU32(g + gradient::kEndColour, 0xFF0000);
  writeI32(g + gradient::kRotation, 90);
  Picture p(gradientRender(g, 120, 40));
  ASSERT_TRUE(p.view.valid());
  EXPECT_GT(p.at(119, 20) & 0xFF, 0xF0u);         // red at the right
  EXPECT_GT((p.at(0, 20) >> 16) & 0xFF, 0xF0u);   // blue at the left
}

TEST(GradientRenderTest, AngularAroundTheCentre) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  writeI32(g + gradient::kShape, kGradientAngular);
  Picture p(gradientRender(g, 41, 31));  // centre (20, 15)
  ASSERT_TRUE(p.view.valid());
  ColourTable table;
  ASSERT_TRUE(table.build(g, 360));
  // Straight above: ang 90, base 360 -> 90, t = 0.5, entry trunc(0.5 * 359).
  EXPECT_EQ(p.at(20, 5), table.at(179));
  EXPECT_EQ(p.at(20, 25), table.at(179));  // below: 270 folds to 90
  EXPECT_EQ(p.at(5, 15), 0x404040u);       // left: ang 0, the start colour
  EXPECT_EQ(p.at(35, 15), 0xC0C0C0u);      // right: ang 180, the end colour
  EXPECT_EQ(p.at(20, 15), table.at(179));  // the centre itself counts as above
}

TEST(GradientRenderTest, AngularCentreMovesUpWithPositiveY) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  writeI32(g + gradient::kShape, kGradientAngular);
  writeI32(g + gradient::kCentreY, 50);  // cy = trunc(31 * 0) = 0
  Picture p(gradientRender(g, 41, 31));
  ASSERT_TRUE(p.view.valid());
  EXPECT_EQ(p.at(5, 0), 0x404040u);
  EXPECT_EQ(p.at(35, 0), 0xC0C0C0u);
}

TEST(GradientRenderTest, RingsShrinkTowardTheCentre) {
  for (int32_t shape : {kGradientElliptical, kGradientRectangular}) {
    uint8_t g[kGradientSettingsSize];
    gradientSettingsDefaults(g);
    writeI32(g + gradient::kShape, shape);
    Picture p(gradientRender(g, 60, 40));
    ASSERT_TRUE(p.view.valid());
    // hw = 30, hh = 20: R = trunc(36.06 + 0.5) = 36 rings, each 1.18 x 0.79
    // pixels smaller on every side. The last ellipse with a row (34, bounds
    // 28..31 x 19..20) paints the centre; a rectangle loses its right column
    // and bottom row, so there it is ring 33.
    const bool ellipse = shape == kGradientElliptical;
    ColourTable table;
    ASSERT_TRUE(table.build(g, 36));
    EXPECT_EQ(p.at(30, 20), table.at(ellipse ? 34 : 33)) << shape;
    // The corner: the first ellipse passes just outside it, while the
    // rectangles cover it until trunc(left) passes 0 (ring 11, left 0.53).
    EXPECT_EQ(p.at(0, 0), table.at(ellipse ? 0 : 11)) << shape;
  }
}

TEST(GradientRenderTest, RingCentreDrifts) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  writeI32(g + gradient::kShape, kGradientElliptical);
  writeI32(g + gradient::kCentreX, 100);
  Picture p(gradientRender(g, 60, 40));
  ASSERT_TRUE(p.view.valid());
  // Moving by sqrt(2) * W over all rings takes the inner rings off the
  // right edge: the middle of the left edge is dark, the right edge light.
  EXPECT_LT(p.at(0, 20) & 0xFF, 0x60u);
  EXPECT_GT(p.at(59, 20) & 0xFF, p.at(30, 20) & 0xFF);
}

TEST(GradientRenderTest, OnePixelRingGradientShowsTheStartColour) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  writeI32(g + gradient::kShape, kGradientRectangular);
  Picture p(gradientRender(g, 1, 1));
  ASSERT_TRUE(p.view.valid());
  EXPECT_EQ(p.at(0, 0), 0x404040u);
}

TEST(GradientRenderTest, UnknownShapeRendersLinear) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  Picture linear(gradientRender(g, 30, 20));
  writeI32(g + gradient::kShape, 77);
  Picture odd(gradientRender(g, 30, 20));
  ASSERT_TRUE(odd.view.valid());
  EXPECT_EQ(pixelHash(linear.view), pixelHash(odd.view));
}

TEST(GradientRenderTest, FountainWithoutMarkers) {
  uint8_t f[kFountainRecordSize];
  fountainRecordDefaults(f, FountainPreset::Empty);
  writeU32(f + fountain::kStartColour, 0x0000FF);
  writeU32(f + fountain::kEndColour, 0xFFFF0000);  // the high byte is not colour
  Picture ramp(fountainRender(f, 64, 2));
  ASSERT_TRUE(ramp.view.valid());
  EXPECT_GT(ramp.at(0, 0) & 0xFF, 0xF0u);
  EXPECT_GT((ramp.at(63, 1) >> 16) & 0xFF, 0xF0u);
  EXPECT_EQ(ramp.at(63, 1) >> 24, 0u);

  writeU32(f + fountain::kFlags, fountain::kFlagLooped);
  Picture flat(fountainRender(f, 64, 2));
  ASSERT_TRUE(flat.view.valid());
  for (int32_t x = 0; x < 64; ++x) EXPECT_EQ(flat.at(x, 1), 0x0000FFu) << x;
}

TEST(GradientRenderTest, FountainMarkersAtOnePlace) {
  uint8_t f[kFountainRecordSize];
  fountainRecordDefaults(f, FountainPreset::Empty);
  writeU32(f + fountain::kStartColour, 0x00FF00);
  writeU32(f + fountain::kEndColour, 0x00FF00);
  writeU32(f + fountain::kMarkers + 0, fountainMakeMarker(51, 0x00FF00));
  writeU32(f + fountain::kMarkers + 4, fountainMakeMarker(51, 0xFF0000));  // width 0: skipped
  writeU32(f + fountain::kMarkerCount, 2);
  Picture p(fountainRender(f, 255, 1));  // both at column 51
  ASSERT_TRUE(p.view.valid());
  EXPECT_EQ(p.at(10, 0), 0x00FF00u);
  // The second marker's colour still starts the last segment.
  EXPECT_GT((p.at(52, 0) >> 16) & 0xFF, 0xF0u);
  EXPECT_EQ(p.at(254, 0) & 0xFFFF00u, p.at(254, 0) & 0xFFFF00u);
}

TEST(GradientRenderTest, SizesAndLimits) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  EXPECT_EQ(gradientRender(g, 0, 10), 0u);
  EXPECT_EQ(gradientRender(g, 10, -1), 0u);
  EXPECT_EQ(gradientRender(g, 8193, 8193), 0u);  // beyond kGradientMaxPixels
  EXPECT_EQ(gradientRender(nullptr, 10, 10), 0u);
  Picture one(gradientRender(g, 1, 1));
  EXPECT_TRUE(one.view.valid());
}

TEST(GradientRenderTest, DamagedRecordStillRendersQuickly) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  writeU32(g + gradient::kColourMode, 0);
  std::memset(g + gradient::kFountain + fountain::kMarkers, 0xFF, 256);
  writeI32(g + gradient::kFountain + fountain::kMarkerCount, 0x7FFFFFFF);
  writeI32(g + gradient::kEdgePad, 1000);
  writeI32(g + gradient::kRotation, INT32_MIN);
  for (int32_t shape = 0; shape < 4; ++shape) {
    writeI32(g + gradient::kShape, shape);
    Picture p(gradientRender(g, 64, 48));
    EXPECT_TRUE(p.view.valid()) << shape;
  }
}

TEST(GradientRenderTest, FailedAllocationsLeakNothing) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  writeU32(g + gradient::kColourMode, 0);
  writeI32(g + gradient::kMidpoint, 30);
  for (int32_t shape = 0; shape < 4; ++shape) {
    writeI32(g + gradient::kShape, shape);
    expectNoLeaksWhenAllocationsFail(40, [&] { return gradientRender(g, 40, 30); }, "shape " + std::to_string(shape));
  }
}

TEST(GradientRenderTest, SameSettingsSameBytes) {
  uint8_t g[kGradientSettingsSize];
  gradientSettingsDefaults(g);
  writeU32(g + gradient::kColourMode, 0);
  writeI32(g + gradient::kRotation, 33);
  Picture a(gradientRender(g, 97, 61));
  Picture b(gradientRender(g, 97, 61));
  ASSERT_TRUE(a.view.valid());
  EXPECT_EQ(pixelHash(a.view), pixelHash(b.view));
}

// The looked-at renders of tests/gradient_golden.h keep their hashes.
TEST(GradientRenderTest, GoldenHashes) {
  for (const golden::GradientCase& c : golden::kGradientCases) {
    uint8_t g[kGradientSettingsSize];
    golden::gradientCaseSettings(c, g);
    Picture p(gradientRender(g, golden::kGradientWidth, golden::kGradientHeight));
    ASSERT_TRUE(p.view.valid());
    EXPECT_EQ(pixelHash(p.view), c.hash) << "shape " << c.shape << (c.multi ? " multi" : " two");
  }
}

}  // namespace
}  // namespace gw
