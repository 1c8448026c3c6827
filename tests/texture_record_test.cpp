// The texture settings record's layout and defaults, and the building blocks
// every generator shares: the random generator, the transform, the spline
// colour table and the periodic noise.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "materials/texture_bubbles.h"
#include "materials/texture_fft.h"
#include "materials/texture_noise.h"
#include "materials/texture_random.h"
#include "materials/texture_settings.h"
#include "materials/texture_spline.h"

namespace gw {
namespace {

namespace ts = texture_settings;

TEST(TextureRecord, SizeAndOffsetsArePinned) {
  EXPECT_EQ(ts::kSize, 268u);
  EXPECT_EQ(ts::kType, 0u);
  EXPECT_EQ(ts::kOutputRect, 4u);
  EXPECT_EQ(ts::kReserved20, 20u);
  EXPECT_EQ(ts::kReserved40, 40u);
  EXPECT_EQ(ts::kReserved44, 44u);
  EXPECT_EQ(ts::kConstants, 48u);
  EXPECT_EQ(ts::kMeshSize, 72u);
  EXPECT_EQ(ts::foreColour(0), 76u);
  EXPECT_EQ(ts::foreColour(4), 92u);
  EXPECT_EQ(ts::kBackColour, 96u);
  EXPECT_EQ(ts::power(0), 100u);
  EXPECT_EQ(ts::seed(0), 120u);
  EXPECT_EQ(ts::dimension(0), 140u);
  EXPECT_EQ(ts::kCraterCount, 160u);
  EXPECT_EQ(ts::kCraterDepth, 164u);
  EXPECT_EQ(ts::kRampRed, 168u);
  EXPECT_EQ(ts::kRampGreen, 184u);
  EXPECT_EQ(ts::kRampBlue, 200u);
  EXPECT_EQ(ts::kBubbleCount, 216u);
  EXPECT_EQ(ts::kBubbleSize, 220u);
  EXPECT_EQ(ts::kBubblePower, 224u);
  EXPECT_EQ(ts::kPerturbationPower, 228u);
  EXPECT_EQ(ts::kBubbleShape, 232u);
  EXPECT_EQ(ts::kReserved236 + 32, ts::kSize);
}

TEST(TextureRecord, DefaultsAsBytes) {
  uint8_t s[ts::kSize];
  std::memset(s, 0xAB, sizeof s);
  textureSettingsDefaults(s);
  EXPECT_EQ(readU32(s + 0), 0u);
  for (size_t i = 4; i < 40; ++i) EXPECT_EQ(s[i], 0) << i;
  EXPECT_EQ(readU32(s + 40), 1u);
  EXPECT_EQ(readU32(s + 44), 0u);
  EXPECT_EQ(readU32(s + 48), 0x41400000u);  // 12.0f
  EXPECT_EQ(ts::readF32(s + 52), 60.0f);
  EXPECT_EQ(ts::readF32(s + 56), 2.0f);
  EXPECT_EQ(ts::readF32(s + 60), 3.1f);
  EXPECT_EQ(ts::readF32(s + 64), 100.0f);
  EXPECT_EQ(ts::readF32(s + 68), 650.0f);
  EXPECT_EQ(readU32(s + 72), 64u);
  const uint32_t fore[5] = {0xFFFFFF, 0xFFE0E0, 0xFFA0A0, 0xFF8080, 0xFF6060};
  for (size_t k = 0; k < 5; ++k) {
    EXPECT_EQ(readU32(s + 76 + 4 * k), fore[k]);
    EXPECT_EQ(ts::readF32(s + 100 + 4 * k), 0.75f);
    EXPECT_EQ(readU32(s + 120 + 4 * k), 10000u + k);
    EXPECT_EQ(ts::readF32(s + 140 + 4 * k), 2.15f);
  }
  EXPECT_EQ(readU32(s + 96), 0xFF0000u);
  EXPECT_EQ(readU32(s + 160), 5000u);
  EXPECT_EQ(ts::readF32(s + 164), 1.5f);
  const float ramp[4] = {0.0f, 0.33f, 0.67f, 1.0f};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(ts::readF32(s + 168 + 4 * i), ramp[i]);
    EXPECT_EQ(ts::readF32(s + 184 + 4 * i), ramp[i]);
    EXPECT_EQ(ts::readF32(s + 200 + 4 * i), ramp[i]);
  }
  EXPECT_EQ(readI32(s + 216), 64);
  EXPECT_EQ(readU32(s + 220), 4u);
  EXPECT_EQ(ts::readF32(s + 224), 0.25f);
  EXPECT_EQ(ts::readF32(s + 228), 1.0f);
  EXPECT_EQ(readU32(s + 232), 0u);
  for (size_t i = 236; i < 268; ++i) EXPECT_EQ(s[i], 0) << i;
}

TEST(TextureRecord, NamesInDialogOrder) {
  EXPECT_STREQ(textureTypeName(0), "2-color fractal");
  EXPECT_STREQ(textureTypeName(3), "5-color fractal");
  EXPECT_STREQ(textureTypeName(4), "Craters");
  EXPECT_STREQ(textureTypeName(5), "Perturbation");
  EXPECT_EQ(textureTypeName(6), nullptr);
  EXPECT_STREQ(bubbleShapeName(2), "Luminous");
  EXPECT_EQ(bubbleShapeName(4), nullptr);
}

TEST(TextureRandom, LinearCongruentialSequence) {
  TextureRandom zero(0);
  const int expectZero[] = {0, 346, 130, 10982, 1090};
  for (int v : expectZero) EXPECT_EQ(zero.draw(), v);
  TextureRandom seeded(10000);
  const int expectSeeded[] = {22414, 6431, 24015, 20003, 15111};
  for (int v : expectSeeded) EXPECT_EQ(seeded.draw(), v);
}

TEST(TextureRandom, GaussianIsScaledSumOfFourDraws) {
  TextureRandom a(77), b(77);
  double g = a.gaussian();
  int sum = b.draw() + b.draw() + b.draw() + b.draw();
  EXPECT_DOUBLE_EQ(g, sum * 2.0 * std::sqrt(12.0) / (4.0 * 32767) - std::sqrt(12.0));
  EXPECT_EQ(a.state(), b.state());
  double mean = 0, var = 0;
  TextureRandom r(1);
  const int n = 20000;
  for (int i = 0; i < n; ++i) {
    double v = r.gaussian();
    ASSERT_LE(std::fabs(v), std::sqrt(12.0) + 1e-9);
    mean += v;
    var += v * v;
  }
  EXPECT_NEAR(mean / n, 0.0, 0.05);
  EXPECT_NEAR(var / n, 1.0, 0.05);
}

TEST(TextureFft, MatchesTheDirectTransformWithNegativeExponent) {
  for (size_t n : {2u, 8u, 32u}) {
    std::vector<float> grid(2 * n * n);
    TextureRandom rng{uint32_t(n)};
    for (float& v : grid) v = float(rng.draw()) / 32767.0f - 0.5f;
    std::vector<std::complex<double>> in(n * n);
    for (size_t k = 0; k < n * n; ++k) in[k] = {grid[2 * k], grid[2 * k + 1]};
    ASSERT_TRUE(textureFft2d(grid.data(), n));
    const double pi = 3.14159265358979323846;
    double worst = 0;
    for (size_t r = 0; r < n; ++r) {
      for (size_t c = 0; c < n; ++c) {
        std::complex<double> sum;
        for (size_t y = 0; y < n; ++y)
          for (size_t x = 0; x < n; ++x)
            sum += in[y * n + x] * std::polar(1.0, -2.0 * pi * (double(y * r) / n + double(x * c) / n));
        worst = std::max(worst, std::abs(sum - std::complex<double>(grid[2 * (r * n + c)], grid[2 * (r * n + c) + 1])));
      }
    }
    EXPECT_LT(worst, 1e-4 * n * n) << n;
  }
}

TEST(TextureFft, RefusesSizesThatAreNotPowersOfTwo) {
  std::vector<float> grid(2 * 12 * 12, 1.0f);
  EXPECT_FALSE(textureFft2d(grid.data(), 12));
  EXPECT_EQ(grid[5], 1.0f);
  EXPECT_FALSE(textureFft2d(grid.data(), 1));
}

TEST(TextureSpline, StraightRampGivesStraightTableAndPointsAreClamped) {
  const float line[4] = {0.0f, 1.0f / 3, 2.0f / 3, 1.0f};
  EXPECT_NEAR(textureSplineValue(line, 0.5), 0.5, 1e-6);
  uint32_t table[256];
  textureSplineTable(line, line, line, table);
  for (int i = 0; i < 256; ++i) {
    int r = int(table[i] & 0xFF);
    EXPECT_LE(std::abs(r - i), 1) << i;
    EXPECT_EQ(table[i], uint32_t(r) * 0x010101u) << i;
  }
  // Out-of-range points are clamped to 0..1 before the spline sees them.
  const float wild[4] = {-5.0f, NAN, 3.0f, 7.0f};
  const float flatLow[4] = {0, 0, 0, 0};
  textureSplineTable(wild, flatLow, flatLow, table);
  EXPECT_EQ(table[0], 0u);
  EXPECT_EQ(table[255], 0xFFu);
  // The curve's overshoot between 0 and 1 points is cut at the channel's limits.
  for (uint32_t c : table) EXPECT_EQ(c & 0xFFFF00u, 0u);
}

TEST(TextureSpline, PassesThroughTheRampPoints) {
  const float ramp[4] = {0.1f, 0.9f, 0.2f, 0.6f};
  EXPECT_NEAR(textureSplineValue(ramp, 0.0), 0.1, 1e-6);
  EXPECT_NEAR(textureSplineValue(ramp, 1.0 / 3), 0.9, 1e-6);
  EXPECT_NEAR(textureSplineValue(ramp, 2.0 / 3), 0.2, 1e-6);
  EXPECT_NEAR(textureSplineValue(ramp, 1.0), 0.6, 1e-6);
}

TEST(TextureNoise, PeriodicOverSixteenCellsBoundedAndSeeded) {
  TextureNoise a(10000), b(10000), c(10001);
  float lo = 0, hi = 0;
  bool differs = false;
  for (int i = 0; i < 4000; ++i) {
    float x = float(i % 64) * 0.25f + 0.1f, y = float(i / 64) * 0.37f;
    float v = a.at(x, y);
    EXPECT_EQ(v, b.at(x, y));
    EXPECT_NEAR(v, a.at(x + 16.0f, y), 2e-3f);
    EXPECT_NEAR(v, a.at(x, y + 32.0f), 2e-3f);
    differs |= v != c.at(x, y);
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  EXPECT_TRUE(differs);
  EXPECT_GE(lo, -1.5f);
  EXPECT_LE(hi, 1.5f);
  EXPECT_LT(lo, -0.3f);
  EXPECT_GT(hi, 0.3f);
  // Lattice points themselves are zero, as in any gradient noise.
  EXPECT_NEAR(a.at(3.0f, 5.0f), 0.0f, 1e-3f);
}

TEST(TextureBubbles, ShapesAddOverTheDiscAndWrapAtTheEdges) {
  const int w = 8, h = 6, r = 2;
  std::vector<float> field(w * h, 0.0f);
  textureBubbleField(field.data(), w, h, 5, 1, r, kBubbleEllipse);
  // Offsets -2..1 in each direction within radius 2: 4 + 4 + 3 + 3 + ... cells.
  int inside = 0;
  for (int dy = -r; dy < r; ++dy)
    for (int dx = -r; dx < r; ++dx) inside += dx * dx + dy * dy <= r * r;
  float sum = 0;
  for (float v : field) sum += v;
  EXPECT_EQ(sum, float(inside));

  // The same bubble through each shape: the centre cell gets 1, 1, 10 and 0.
  TextureRandom rng(5);
  int cx = rng.draw() % w, cy = rng.draw() % h;
  const float centre[] = {1.0f, 1.0f, 10.0f, 0.0f};
  for (uint32_t shape = 0; shape < 4; ++shape) {
    std::vector<float> f(w * h, 0.0f);
    textureBubbleField(f.data(), w, h, 5, 1, r, shape);
    EXPECT_NEAR(f[cy * w + cx], centre[shape], 1e-5f) << shape;
  }
}

}  // namespace
}  // namespace gw
