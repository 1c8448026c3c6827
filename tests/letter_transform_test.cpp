// Single letters placed, turned and scaled: the projective maps, whole-pixel
// shifts that copy the letter exactly, area kept under turning, smooth edges,
// collapsed and runaway maps, and the outline-only letter.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "effects/letter_transform.h"

namespace gw {
namespace {

constexpr double kPi = 3.14159265358979323846;

class LetterTransform : public ::testing::Test {
 protected:
  void SetUp() override {
    TextStyle style;
    style.text = "HoH";
    style.fontFace = "Liberation Sans";
    style.fontSize = 40;
    ASSERT_TRUE(prepareStyledLine(style, &line));
    ASSERT_TRUE(shapes.prepare(line));
  }
  static uint64_t total(const MaskPlane& m) {
    uint64_t t = 0;
    for (uint8_t v : m.pixels) t += v;
    return t;
  }
  StyledLine line;
  LetterTransformer shapes;
};

TEST(Projective, ComposesInvertsAndMapsQuads) {
  Projective m = Projective::translate(5, -3) * Projective::rotate(0.7) * Projective::scale(2, 0.5);
  Projective back;
  ASSERT_TRUE(m.inverse(&back));
  double x, y, u, v;
  ASSERT_TRUE(m.apply(3, 4, &x, &y));
  ASSERT_TRUE(back.apply(x, y, &u, &v));
  EXPECT_NEAR(u, 3, 1e-9);
  EXPECT_NEAR(v, 4, 1e-9);
  // A trapezoid: the rectangle's corners land on the quad's, in order.
  const double quad[8] = {0, 0, 10, 0, 12, 8, -2, 8};
  Projective p = Projective::rectToQuad(1, 1, 5, 3, quad);
  const double rect[8] = {1, 1, 5, 1, 5, 3, 1, 3};
  for (int c = 0; c < 4; ++c) {
    ASSERT_TRUE(p.apply(rect[2 * c], rect[2 * c + 1], &x, &y));
    EXPECT_NEAR(x, quad[2 * c], 1e-9) << c;
    EXPECT_NEAR(y, quad[2 * c + 1], 1e-9) << c;
  }
  EXPECT_FALSE(Projective::scale(0, 1).inverse(&back));
}

TEST_F(LetterTransform, AWholePixelShiftIsTheLetterItself) {
  PlacedLetter placed;
  ASSERT_TRUE(shapes.place(1, Projective::translate(7, -2), 255, &placed));
  const LetterImage& own = line.letters[1];
  EXPECT_EQ(placed.left, own.left + 7);
  EXPECT_EQ(placed.top, own.top - 2);
  EXPECT_EQ(placed.mask().pixels, own.mask.pixels);
  ASSERT_TRUE(shapes.place(1, Projective::translate(0, 0), 128, &placed));
  EXPECT_NEAR(double(total(placed.mask())), total(own.mask) * 128.0 / 255, total(own.mask) * 0.01);
}

TEST_F(LetterTransform, TurningKeepsTheAreaAndTheEdgesSmooth) {
  const uint64_t upright = total(line.letters[0].mask);
  for (double degrees : {10.0, 45.0, 90.0, 180.0, 333.0}) {
    SCOPED_TRACE(degrees);
    const CellBox ink = shapes.inkBox(0);
    const double cx = (ink.left + ink.right) / 2, cy = (ink.top + ink.bottom) / 2;
    Projective m = Projective::translate(cx, cy) * Projective::rotate(degrees * kPi / 180) *
                   Projective::translate(-cx, -cy);
    PlacedLetter placed;
    ASSERT_TRUE(shapes.place(0, m, 255, &placed));
    EXPECT_NEAR(double(total(placed.mask())), double(upright), upright * 0.04);
    // Anti-aliased edges: many grey levels round the "o", not a hard 0/255 stair.
    PlacedLetter round;
    ASSERT_TRUE(shapes.place(1, m, 255, &round));
    std::set<uint8_t> levels(round.mask().pixels.begin(), round.mask().pixels.end());
    EXPECT_GT(levels.size(), 60u);
  }
  // Halving the size quarters the area.
  PlacedLetter half;
  ASSERT_TRUE(shapes.place(0, Projective::scale(0.5, 0.5), 255, &half));
  EXPECT_NEAR(double(total(half.mask())), upright / 4.0, upright * 0.03);
}

// Affine maps pass over pixels whose samples see no ink or only full ink;
// the same map with every entry doubled is no longer marked affine and
// samples every pixel, through exactly the same arithmetic (doubling and
// halving are exact). The two must agree byte for byte.
TEST_F(LetterTransform, SkippedBareAndFullPixelsAreThoseSamplingGives) {
  struct Case {
    const char* name;
    Projective map;
    uint8_t intensity;
  };
  const Case cases[] = {
      {"turned", Projective::translate(30.3, 20.6) * Projective::rotate(0.31) * Projective::translate(-10, -20), 255},
      {"turned back", Projective::translate(30, 20) * Projective::rotate(-0.35) * Projective::translate(-10, -20), 255},
      {"swollen", Projective::translate(12.25, 40.7) * Projective::scale(1.2, 1.2) * Projective::translate(-8, -40), 255},
      {"shrunk", Projective::translate(5.5, 5.5) * Projective::scale(0.4, 0.7), 255},
      {"sub-pixel shift", Projective::translate(3.5, -0.25), 255},
      {"faint", Projective::translate(30.3, 20.6) * Projective::rotate(0.9), 97},
      {"large", Projective::translate(1, 2) * Projective::scale(3.5, 2.5), 200},
  };
  for (const Case& c : cases) {
    Projective doubled = c.map;
    for (double& e : doubled.m) e *= 2;
    for (size_t letter = 0; letter < shapes.count(); ++letter) {
      if (line.letters[letter].mask.empty()) continue;  // the trailing blank
      PlacedLetter fast, sampled;
      ASSERT_TRUE(shapes.place(letter, c.map, c.intensity, &fast));
      ASSERT_TRUE(shapes.place(letter, doubled, c.intensity, &sampled));
      ASSERT_FALSE(fast.mask().empty()) << c.name;
      EXPECT_EQ(fast.left, sampled.left) << c.name;
      EXPECT_EQ(fast.top, sampled.top) << c.name;
      EXPECT_EQ(fast.mask().pixels, sampled.mask().pixels) << c.name << " letter " << letter;
      // Bare and fully covered pixels both occur, so both shortcuts had work.
      std::set<uint8_t> values(fast.mask().pixels.begin(), fast.mask().pixels.end());
      EXPECT_TRUE(values.count(0) && values.count(c.intensity)) << c.name;
    }
  }
}

TEST_F(LetterTransform, CollapsedBlankAndRunawayLettersLeaveNothing) {
  PlacedLetter placed;
  EXPECT_TRUE(shapes.place(0, Projective::scale(1, 0), 255, &placed));
  EXPECT_TRUE(placed.mask().empty());
  EXPECT_TRUE(shapes.place(0, Projective::translate(1e7, 0.5), 255, &placed));
  EXPECT_TRUE(placed.mask().empty());
  EXPECT_TRUE(shapes.place(3, Projective::rotate(1), 255, &placed));  // the line's trailing blank
  EXPECT_TRUE(placed.mask().empty());
  EXPECT_TRUE(shapes.place(99, Projective::rotate(1), 255, &placed));
  EXPECT_TRUE(placed.mask().empty());
  // A map whose horizon crosses the letter.
  Projective p;
  p.m[6] = 1;
  p.m[8] = -10;
  EXPECT_TRUE(shapes.place(0, p, 255, &placed));
  EXPECT_TRUE(placed.mask().empty());
}

TEST_F(LetterTransform, OutlineOnlyIsARingAroundTheLetter) {
  PlacedLetter placed;
  ASSERT_TRUE(shapes.place(0, Projective::translate(0, 0), 255, &placed));
  PlacedLetter ring = placed;
  ASSERT_TRUE(outlineOnly(&ring));
  EXPECT_EQ(ring.left, placed.left - 1);
  EXPECT_EQ(ring.mask().width, placed.mask().width + 2);
  // Inside a solid stem the ring is empty; just outside the letter it is full.
  int full = 0, hollow = 0;
  for (int32_t y = 0; y < placed.mask().height; ++y)
    for (int32_t x = 0; x < placed.mask().width; ++x) {
      const uint8_t letter = placed.mask().at(x, y), r = ring.mask().at(x + 1, y + 1);
      if (letter == 255) hollow += r == 0;
      if (letter == 0 && r == 255) ++full;
    }
  EXPECT_GT(full, 50);
  EXPECT_GT(hollow, 50);
}

// A wider ring on a plain square of ink: full out to its width straight out
// and diagonally (rounded corners), nothing beyond, the inside left hollow.
TEST(OutlineOnly, AWiderRingReachesItsWidthAndNoFurther) {
  for (int32_t t : {1, 2, 3, 4}) {
    SCOPED_TRACE(t);
    PlacedLetter square;
    ASSERT_TRUE(square.own.allocate(10, 10));
    for (uint8_t& v : square.own.pixels) v = 255;
    square.left = 5;
    square.top = 7;
    ASSERT_TRUE(outlineOnly(&square, t));
    const MaskPlane& ring = square.mask();
    ASSERT_EQ(ring.width, 10 + 2 * t);
    ASSERT_EQ(ring.height, 10 + 2 * t);
    EXPECT_EQ(square.left, 5 - t);
    EXPECT_EQ(square.top, 7 - t);
    const int32_t mid = t + 5;
    for (int32_t d = 1; d <= t; ++d) {
      EXPECT_EQ(ring.at(t - d, mid), 255) << "left " << d;
      EXPECT_EQ(ring.at(t + 9 + d, mid), 255) << "right " << d;
      EXPECT_EQ(ring.at(mid, t - d), 255) << "above " << d;
    }
    EXPECT_EQ(ring.at(mid, mid), 0);  // the square's inside
    // The corner pixel itself is reached only by a one-pixel ring.
    EXPECT_EQ(ring.at(0, 0), t == 1 ? 255 : 0);
  }
  // Out of range widths are held to what is drawable.
  PlacedLetter dot;
  ASSERT_TRUE(dot.own.allocate(1, 1));
  dot.own.pixels[0] = 255;
  ASSERT_TRUE(outlineOnly(&dot, 0));
  EXPECT_EQ(dot.mask().width, 3);
}

TEST_F(LetterTransform, StampingKeepsTheLargerCoverage) {
  PlacedLetter placed;
  ASSERT_TRUE(shapes.place(0, Projective::translate(0, 0), 255, &placed));
  MaskPlane m;
  ASSERT_TRUE(m.allocate(100, 60));
  stampPlaced(placed, m, {2, 3});
  EXPECT_EQ(m.at(2 + placed.left + placed.mask().width / 2, 3 + placed.top + placed.mask().height / 2),
            placed.mask().at(placed.mask().width / 2, placed.mask().height / 2));
  PlacedLetter empty;
  stampPlaced(empty, m, {0, 0});  // nothing, no fault
}

}  // namespace
}  // namespace gw
