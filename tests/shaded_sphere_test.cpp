// The lit ball: where it is light and dark, its glare, its coverage and
// alpha, its soft rim, and clipping at the canvas edges.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "effects/shaded_sphere.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

int brightness(uint32_t c) { return int(c & 0xFF) + int((c >> 8) & 0xFF) + int((c >> 16) & 0xFF); }

struct Canvas {
  MemBlock block;
  MemLock lock;
  BitmapView view;
  MaskPlane alpha;
  FrameLayer layer;
  Canvas(int32_t w, int32_t h)
      : block(bitmapCreateTrueColour(w, h, 24)), lock(block.get()), view(BitmapView::of(lock)), layer{view, &alpha} {
    alpha.allocate(w, h);
  }
  uint32_t pixel(int32_t x, int32_t y) const { return uint32_t(view.getPixel(x, y)); }
  double alphaSum() const {
    double s = 0;
    for (uint8_t v : alpha.pixels) s += v;
    return s / 255.0;
  }
};

TEST(ShadedSphere, LitFromTheUpperLeftWithAGlareThere) {
  SphereLook look;
  look.colour = 0x2040C0;
  look.shade = 120;
  look.glare = 200;
  const uint32_t lit = sphereColourAt(look, -0.26, -0.32);
  const uint32_t centre = sphereColourAt(look, 0, 0);
  const uint32_t dark = sphereColourAt(look, 0.6, 0.6);
  EXPECT_GT(brightness(lit), brightness(centre));
  EXPECT_GT(brightness(centre), brightness(dark));
  // The glare goes toward white; without it the brightest point keeps the hue.
  EXPECT_GT(int(lit >> 16 & 0xFF), 0xC0);
  look.glare = 0;
  EXPECT_LE(int(sphereColourAt(look, -0.26, -0.32) >> 16 & 0xFF), 0x20);
}

TEST(ShadedSphere, ShadeAndGlowTable) {
  struct Case {
    uint8_t shade, glow;
    int minDark;  // brightness of the far side, at least
    int maxDark;
  } cases[] = {
      {0, 0, 3 * 0x80 - 3, 3 * 0x80 + 3},  // no shade: the colour everywhere off the glare
      {255, 0, 0, 12},                     // full shade: the far side black
      {70, 0, 250, 330},
      {255, 255, 3 * 150, 3 * 255},        // a glowing ball lights its dark side
  };
  for (const Case& c : cases) {
    SphereLook look;
    look.colour = 0x808080;
    look.shade = c.shade;
    look.glare = 0;
    look.glow = c.glow;
    int far = brightness(sphereColourAt(look, 0.6, 0.75));
    EXPECT_GE(far, c.minDark) << int(c.shade) << " " << int(c.glow);
    EXPECT_LE(far, c.maxDark) << int(c.shade) << " " << int(c.glow);
  }
}

TEST(ShadedSphere, CoversItsAreaAndRaisesAlpha) {
  for (double r : {0.7, 3.0, 9.25, 20.0}) {
    Canvas c(64, 64);
    paintShadedSphere(c.layer, 31.3, 30.8, r, SphereLook());
    const double area = M_PI * r * r;
    EXPECT_NEAR(c.alphaSum(), area, 0.05 * area + 0.6) << r;
    // Outside the disc nothing is touched.
    EXPECT_EQ(c.pixel(0, 0), 0u);
    EXPECT_EQ(c.alpha.at(int32_t(31.3 + r + 2), 31), 0);
  }
}

TEST(ShadedSphere, SoftEdgeFadesWiderButKeepsTheMiddle) {
  Canvas sharp(64, 64), soft(64, 64);
  paintShadedSphere(sharp.layer, 32, 32, 16, SphereLook(), 1.0);
  paintShadedSphere(soft.layer, 32, 32, 16, SphereLook(), 8.0);
  EXPECT_EQ(sharp.alpha.at(32, 32), 255);
  EXPECT_EQ(soft.alpha.at(32, 32), 255);
  // Three pixels inside the rim: solid when sharp, part-covered when soft.
  EXPECT_EQ(sharp.alpha.at(32 + 13, 32), 255);
  EXPECT_LT(soft.alpha.at(32 + 13, 32), 230);
  EXPECT_GT(soft.alpha.at(32 + 18, 32), 0);
  EXPECT_EQ(sharp.alpha.at(32 + 18, 32), 0);
}

TEST(ShadedSphere, OpacityAndSubPixelPlacement) {
  Canvas full(40, 40), half(40, 40), moved(40, 40);
  paintShadedSphere(full.layer, 20, 20, 8, SphereLook());
  paintShadedSphere(half.layer, 20, 20, 8, SphereLook(), 1.0, 128);
  EXPECT_NEAR(half.alphaSum(), full.alphaSum() * 128 / 255, 2.0);
  // A quarter-pixel step moves the weight of the coverage by a quarter pixel.
  paintShadedSphere(moved.layer, 20.25, 20, 8, SphereLook());
  double mx0 = 0, mx1 = 0;
  for (int32_t y = 0; y < 40; ++y)
    for (int32_t x = 0; x < 40; ++x) {
      mx0 += full.alpha.at(x, y) * (x + 0.5);
      mx1 += moved.alpha.at(x, y) * (x + 0.5);
    }
  EXPECT_NEAR(mx1 / moved.alphaSum() / 255 - mx0 / full.alphaSum() / 255, 0.25, 0.03);
}

TEST(ShadedSphere, ClipsAtEveryEdgeAndIgnoresNonsense) {
  Canvas c(16, 12);
  for (double x : {-30.0, -3.0, 0.0, 8.0, 15.5, 40.0})
    for (double y : {-30.0, -2.0, 6.0, 11.9, 40.0}) paintShadedSphere(c.layer, x, y, 7.5, SphereLook());
  paintShadedSphere(c.layer, 8, 6, 1e9, SphereLook());  // covers all, bounded by the canvas
  EXPECT_EQ(c.alpha.at(0, 0), 255);
  Canvas d(16, 12);
  paintShadedSphere(d.layer, 8, 6, -1, SphereLook());
  paintShadedSphere(d.layer, 8, 6, NAN, SphereLook());
  paintShadedSphere(d.layer, NAN, 6, 3, SphereLook());
  paintShadedSphere(d.layer, 8, 6, INFINITY, SphereLook());
  EXPECT_EQ(d.alphaSum(), 0.0);
}

TEST(ShadedSphere, WithoutAlphaPlaneOnlyTheCanvasChanges) {
  Canvas c(20, 20);
  FrameLayer layer{c.view, nullptr};
  paintShadedSphere(layer, 10, 10, 5, SphereLook());
  EXPECT_NE(c.pixel(10, 10), 0u);
}

}  // namespace
}  // namespace gw
