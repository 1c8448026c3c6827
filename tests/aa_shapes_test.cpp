// Exact-area coverage of shapes: known areas, pixel-exact edges, unions,
// clipping that keeps the pixels inside unchanged, and each shape's form.
#include <gtest/gtest.h>

#include <cmath>

#include "effects/aa_shapes.h"

namespace gw {
namespace {

constexpr double kPi = 3.14159265358979323846;

double area(const ShapeCoverage& c) {
  double s = 0;
  for (uint8_t v : c.mask.pixels) s += v;
  return s / 255.0;
}

uint8_t at(const ShapeCoverage& c, int32_t x, int32_t y) { return c.mask.at(x - c.left, y - c.top); }

ShapeCoverage draw(const ShapePath& p, int32_t w = 0, int32_t h = 0) {
  ShapeCoverage c;
  EXPECT_TRUE(rasterise(p, &c, w, h));
  return c;
}

TEST(AaShapes, RectangleEdgesAreExactShares) {
  ShapePath p;
  addRectangle(p, {3.5, 3.25}, 4.5, 1.5, 0.0);  // x 1.25..5.75, y 2.5..4.0
  ShapeCoverage c = draw(p);
  EXPECT_EQ(c.left, 1);
  EXPECT_EQ(c.top, 2);
  EXPECT_EQ(at(c, 1, 2), uint8_t(0.75 * 0.5 * 255 + 0.5));
  EXPECT_EQ(at(c, 3, 2), uint8_t(0.5 * 255 + 0.5));
  EXPECT_EQ(at(c, 3, 3), 255);
  EXPECT_EQ(at(c, 5, 3), uint8_t(0.75 * 255 + 0.5));
  EXPECT_NEAR(area(c), 4.5 * 1.5, 0.02);
}

TEST(AaShapes, AreasOfEveryShape) {
  struct Case {
    const char* name;
    void (*add)(ShapePath&);
    double area;
  } cases[] = {
      {"turned rectangle", [](ShapePath& p) { addRectangle(p, {20.3, 17.9}, 13, 5, 0.7); }, 65.0},
      {"disc", [](ShapePath& p) { addDisc(p, {20.3, 17.9}, 9.5); }, kPi * 9.5 * 9.5},
      {"small disc", [](ShapePath& p) { addDisc(p, {20.3, 17.9}, 1.2); }, kPi * 1.2 * 1.2},
      // A star of n tips: 2n triangles of sides R and r at an angle π/n.
      {"five-pointed star", [](ShapePath& p) { addStar(p, {20, 20}, 12, 5, 5, 0.3); },
       10 * 0.5 * 12 * 5 * std::sin(kPi / 5)},
      {"four-pointed star", [](ShapePath& p) { addStar(p, {20, 20}, 10, 3, 4, 0.0); },
       8 * 0.5 * 10 * 3 * std::sin(kPi / 4)},
      {"stroke", [](ShapePath& p) { addStroke(p, {3, 4}, {30, 20}, 2.5); }, 2.5 * std::hypot(27, 16)},
      // Tail to head base 2/3 of the length at the shaft's width, then a triangle.
      {"arrow", [](ShapePath& p) { addArrow(p, {35, 20}, 30, 4, 12, 0.2); }, 20 * 4 + 0.5 * 12 * 10},
  };
  for (const Case& c : cases) {
    ShapePath p;
    c.add(p);
    EXPECT_NEAR(area(draw(p)), c.area, 0.01 * c.area + 0.05) << c.name;
  }
}

TEST(AaShapes, OverlapsUniteWhicheverWayRound) {
  ShapePath p;
  addPolygon(p, {{2, 2}, {12, 2}, {12, 12}, {2, 12}});  // clockwise on screen
  addPolygon(p, {{7, 7}, {7, 17}, {17, 17}, {17, 7}});  // the other way
  ShapeCoverage c = draw(p);
  EXPECT_EQ(at(c, 9, 9), 255);   // in both
  EXPECT_EQ(at(c, 14, 14), 255);  // in the second only
  EXPECT_EQ(at(c, 14, 4), 0);
  EXPECT_NEAR(area(c), 100 + 100 - 25, 0.01);
}

TEST(AaShapes, ClippingKeepsThePixelsInside) {
  ShapePath whole;
  addStar(whole, {10.3, 8.7}, 14, 6, 5, 0.4);
  ShapeCoverage full = draw(whole);
  for (auto [w, h] : {std::pair{12, 10}, {30, 5}, {4, 30}, {1, 1}}) {
    ShapeCoverage clipped = draw(whole, w, h);
    ASSERT_GE(clipped.left, 0);
    ASSERT_GE(clipped.top, 0);
    ASSERT_LE(clipped.left + clipped.mask.width, w);
    ASSERT_LE(clipped.top + clipped.mask.height, h);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) ASSERT_NEAR(at(clipped, x, y), at(full, x, y), 1) << x << "," << y << " in " << w;
  }
}

TEST(AaShapes, WholePixelStepsShiftTheSameMask) {
  ShapePath a, b;
  addFlake(a, {20.4, 21.3}, 15, 1.6, 0.2);
  addFlake(b, {27.4, 18.3}, 15, 1.6, 0.2);
  ShapeCoverage ca = draw(a), cb = draw(b);
  EXPECT_EQ(cb.left - ca.left, 7);
  EXPECT_EQ(cb.top - ca.top, -3);
  EXPECT_EQ(ca.mask.pixels, cb.mask.pixels);
}

TEST(AaShapes, StarsPointWhereTheirTipsAre) {
  ShapePath p;
  addStar(p, {30.5, 30.5}, 20, 6, 5, 0.0);
  ShapeCoverage c = draw(p);
  // Up (a tip) at 15 px is covered; a notch direction at the same radius is not.
  EXPECT_GT(at(c, 30, 30 - 15), 128);
  const double notch = kPi / 5;
  EXPECT_EQ(at(c, int32_t(30.5 + 15 * std::sin(notch)), int32_t(30.5 - 15 * std::cos(notch))), 0);
}

TEST(AaShapes, FlakesHaveSixFoldSymmetry) {
  ShapePath a, b;
  addFlake(a, {30, 30}, 22, 2, 0.1);
  addFlake(b, {30, 30}, 22, 2, 0.1 + kPi / 3);
  EXPECT_NEAR(area(draw(a)), area(draw(b)), 0.05);
  // The arms reach out to the radius and the gaps between them stay open.
  ShapeCoverage c = draw(a);
  EXPECT_GT(at(c, int32_t(30 + 20 * std::sin(0.1)), int32_t(30 - 20 * std::cos(0.1))), 100);
  EXPECT_EQ(at(c, int32_t(30 + 20 * std::sin(0.1 + kPi / 6)), int32_t(30 - 20 * std::cos(0.1 + kPi / 6))), 0);
}

TEST(AaShapes, ArrowsPointAlongTheirAngle) {
  for (double angle : {0.0, kPi / 2, kPi, -kPi / 2}) {
    ShapePath p;
    addArrow(p, {40, 40}, 30, 3, 11, angle);
    ShapeCoverage c = draw(p);
    const double ux = std::cos(angle), uy = std::sin(angle);
    // Beyond the tip: nothing; just behind it: the head; at the tail's end a narrow shaft.
    EXPECT_EQ(at(c, int32_t(40 + 2 * ux), int32_t(40 + 2 * uy)), 0) << angle;
    EXPECT_GT(at(c, int32_t(std::floor(40 - 4 * ux)), int32_t(std::floor(40 - 4 * uy))), 0) << angle;
    const double px = -uy, py = ux;
    EXPECT_EQ(at(c, int32_t(40 - 25 * ux + 4 * px), int32_t(40 - 25 * uy + 4 * py)), 0) << angle;
    EXPECT_GT(at(c, int32_t(40 - 9 * ux + 3 * px), int32_t(40 - 9 * uy + 3 * py)), 0) << angle;
  }
}

TEST(AaShapes, NothingToDrawAndOutOfAllReason) {
  ShapePath empty;
  ShapeCoverage c = draw(empty);
  EXPECT_TRUE(c.mask.empty());
  ShapePath outside;
  addDisc(outside, {-50, -50}, 10);
  EXPECT_TRUE(draw(outside, 40, 40).mask.empty());
  ShapePath nonsense;
  addPolygon(nonsense, {{0, 0}, {NAN, 3}, {4, 4}});
  addStar(nonsense, {1, 1}, 4, 2, 1000, 0);
  addStroke(nonsense, {1, 1}, {1, 1}, 3);
  EXPECT_TRUE(nonsense.empty());
  ShapePath huge;
  addRectangle(huge, {0, 0}, 1e7, 1e7, 0);
  ShapeCoverage h;
  EXPECT_FALSE(rasterise(huge, &h));
  ShapeCoverage clipped = draw(huge, 50, 40);  // a canvas keeps it in bounds
  EXPECT_EQ(clipped.mask.width, 50);
  EXPECT_EQ(at(clipped, 49, 39), 255);
}

}  // namespace
}  // namespace gw
