// The generators: the worked numbers, determinism, the stages agreeing with
// the whole, bounded work on hostile records, and golden renders.
#include <gtest/gtest.h>

#include "tests/allocation_failures.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/bitmap.h"
#include "materials/texture_craters.h"
#include "materials/texture_fractal.h"
#include "materials/texture_generate.h"
#include "materials/texture_perturbation.h"
#include "materials/texture_settings.h"

namespace gw {
namespace {

namespace ts = texture_settings;

struct Settings {
  uint8_t bytes[ts::kSize];
  Settings(uint32_t type, int32_t w, int32_t h) {
    textureSettingsDefaults(bytes);
    writeU32(bytes + ts::kType, type);
    textureSetOutputRect(bytes, 0, 0, w, h);
  }
};

// The pixels of a 24-bit bitmap, top row first, as 0x00BBGGRR.
std::vector<uint32_t> pixels(MemHandle bitmap) {
  std::vector<uint32_t> out;
  MemLock lock(bitmap);
  BitmapView v = BitmapView::of(lock);
  for (int32_t y = 0; y < v.height(); ++y)
    for (int32_t x = 0; x < v.width(); ++x) out.push_back(uint32_t(v.getPixel(x, y)));
  return out;
}

std::vector<uint32_t> render(Settings& s) {
  MemBlock bmp(textureGenerate(s.bytes));
  EXPECT_TRUE(bmp);
  return bmp ? pixels(bmp.get()) : std::vector<uint32_t>{};
}

uint64_t fnv1a(const std::vector<uint32_t>& px) {
  uint64_t h = 1469598103934665603ull;
  for (uint32_t p : px)
    for (int k = 0; k < 3; ++k) h = (h ^ ((p >> (8 * k)) & 0xFF)) * 1099511628211ull;
  return h;
}

// One fractal layer built stage by stage, for comparison with the whole.
std::vector<uint32_t> manualOneLayer(const Settings& s, int32_t w, int32_t h, uint32_t n) {
  std::vector<float> grid(2 * size_t(n) * n);
  uint32_t c = fractalHeightMapSize(n);
  std::vector<uint8_t> bytes(size_t(c) * c);
  EXPECT_TRUE(fractalSynthesize(grid.data(), n, readU32(s.bytes + ts::seed(0)), ts::readF32(s.bytes + ts::dimension(0))));
  EXPECT_TRUE(fractalHeightBytes(grid.data(), n, ts::readF32(s.bytes + ts::power(0)), bytes.data(), c));
  MemBlock bmp(bitmapCreateTrueColour(w, h, 24));
  MemLock lock(bmp.get());
  BitmapView view = BitmapView::of(lock);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) view.setPixel(x, y, readU32(s.bytes + ts::kBackColour));
  int32_t wg = std::max(w, h);
  wg += wg & 1;
  fractalCompositeLayer(bytes.data(), c, readU32(s.bytes + ts::foreColour(0)), wg, view);
  std::vector<uint32_t> out;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) out.push_back(uint32_t(view.getPixel(x, y)));
  return out;
}

TEST(TextureFractal, MeshSizesRoundUpToPowersOfTwoWithinBounds) {
  EXPECT_EQ(textureMeshSize(64), 64u);
  EXPECT_EQ(textureMeshSize(100), 128u);
  EXPECT_EQ(textureMeshSize(0), 32u);
  EXPECT_EQ(textureMeshSize(31), 32u);
  EXPECT_EQ(textureMeshSize(33), 64u);
  EXPECT_EQ(textureMeshSize(1024), 1024u);
  EXPECT_EQ(textureMeshSize(0xFFFFFFFFu), kTextureMaxMesh);
  EXPECT_EQ(fractalHeightMapSize(2048), 1024u);
  EXPECT_EQ(fractalHeightMapSize(128), 128u);
}

TEST(TextureFractal, SynthesisedSurfaceIsRealAndSpansMinusOneToOne) {
  const uint32_t n = 64;
  std::vector<float> grid(2 * n * n);
  ASSERT_TRUE(fractalSynthesize(grid.data(), n, 10000, 2.15f));
  float maxRe = 0, maxIm = 0;
  for (size_t k = 0; k < n * n; ++k) {
    maxRe = std::max(maxRe, std::fabs(grid[2 * k]));
    maxIm = std::max(maxIm, std::fabs(grid[2 * k + 1]));
  }
  // The spectrum is Hermitian, so the transform is real up to rounding.
  EXPECT_LT(maxIm, maxRe * 1e-4f);
  std::vector<uint8_t> bytes(n * n);
  ASSERT_TRUE(fractalHeightBytes(grid.data(), n, 1.0f, bytes.data(), n));
  EXPECT_EQ(*std::min_element(bytes.begin(), bytes.end()), 0);
  EXPECT_EQ(*std::max_element(bytes.begin(), bytes.end()), 255);
}

TEST(TextureFractal, MeshOfHundredIsSynthesisedAt128) {
  Settings s(kTexture2ColourFractal, 50, 50);
  writeU32(s.bytes + ts::kMeshSize, 100);
  EXPECT_EQ(render(s), manualOneLayer(s, 50, 50, 128));
}

TEST(TextureFractal, TwoColourSquareUsesOneMeshOneLayer) {
  Settings s(kTexture2ColourFractal, 64, 64);
  ts::writeF32(s.bytes + ts::power(0), 1.0f);
  EXPECT_EQ(render(s), manualOneLayer(s, 64, 64, 64));
}

TEST(TextureFractal, NonSquareOutputsStretchTheMeshPerAxis) {
  Settings wide(kTexture2ColourFractal, 90, 60);
  EXPECT_EQ(render(wide), manualOneLayer(wide, 90, 60, 64));
  // Taller than wide: the working width is the height and the columns past
  // the bitmap's right edge are dropped.
  Settings tall(kTexture2ColourFractal, 61, 90);
  EXPECT_EQ(render(tall), manualOneLayer(tall, 61, 90, 64));
}

TEST(TextureFractal, LayerBelowTheMiddleLeavesTheBitmapAlone) {
  MemBlock bmp(bitmapCreateTrueColour(20, 10, 24));
  MemLock lock(bmp.get());
  BitmapView v = BitmapView::of(lock);
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 20; ++x) v.setPixel(x, y, 0x123456);
  std::vector<uint8_t> low(32 * 32, 127);
  fractalCompositeLayer(low.data(), 32, 0xFFFFFF, 20, v);
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 20; ++x) ASSERT_EQ(v.getPixel(x, y), 0x123456);
  // At full height the layer's colour replaces the pixel (away from the map's
  // far edge, where samples beyond the grid weigh in as 0).
  std::vector<uint8_t> high(32 * 32, 255);
  fractalCompositeLayer(high.data(), 32, 0x00FF00, 64, v);
  EXPECT_EQ(v.getPixel(0, 0), 0x00FF00);
  EXPECT_EQ(v.getPixel(19, 0), 0x00FF00);
}

TEST(TextureFractal, SameSettingsSameBytesAndSeedsStayInTheirLayer) {
  Settings a(kTexture3ColourFractal, 70, 40);
  Settings b(kTexture3ColourFractal, 70, 40);
  EXPECT_EQ(render(a), render(b));
  // Layer 2's seed is not read by a one-layer texture, but changes the
  // two-layer one.
  Settings one(kTexture2ColourFractal, 70, 40), oneOther(kTexture2ColourFractal, 70, 40);
  writeU32(oneOther.bytes + ts::seed(1), 4242);
  EXPECT_EQ(render(one), render(oneOther));
  writeU32(b.bytes + ts::seed(1), 4242);
  std::vector<uint32_t> pa = render(a), pb = render(b);
  EXPECT_NE(pa, pb);
  // Where layer 2 covers nothing in either run the pixels agree: with layer 2
  // painted in the background's colour neither run can differ anywhere.
  writeU32(a.bytes + ts::foreColour(1), 0xFF0000);
  writeU32(b.bytes + ts::foreColour(1), 0xFF0000);
  writeU32(a.bytes + ts::foreColour(0), 0xFF0000);
  writeU32(b.bytes + ts::foreColour(0), 0xFF0000);
  EXPECT_EQ(render(a), render(b));
}

TEST(TextureFractal, ExtremeDimensionsOrPowersSkipTheLayer) {
  Settings s(kTexture2ColourFractal, 32, 32);
  ts::writeF32(s.bytes + ts::dimension(0), NAN);
  for (uint32_t p : render(s)) ASSERT_EQ(p, 0xFF0000u);
  Settings t(kTexture2ColourFractal, 32, 32);
  ts::writeF32(t.bytes + ts::power(0), 1e30f);
  for (uint32_t p : render(t)) ASSERT_EQ(p, 0xFF0000u);
}

TEST(TextureCraters, ShadingTableWorkedNumbers) {
  uint8_t shade[105];
  craterShadeTable(shade);
  EXPECT_EQ(shade[52 + 0], 128);
  EXPECT_EQ(shade[52 + 52], 255);
  EXPECT_EQ(shade[52 - 52], 1);
  for (int k = 1; k < 105; ++k) EXPECT_GE(shade[k], shade[k - 1]);
}

TEST(TextureCraters, FlatFieldShadesEveryColumnButTheLast) {
  Settings s(kTextureCraters, 9, 4);
  writeU32(s.bytes + ts::kCraterCount, 0);
  writeU32(s.bytes + ts::foreColour(0), 0x00FF80);
  writeU32(s.bytes + ts::kBackColour, 0x400000);
  std::vector<uint32_t> px = render(s);
  // Slope 0 gives e = 128: F * 128 / 255 + P * 127 / 255 per channel.
  const uint32_t shaded = (0x80 * 128 / 255) | ((0xFF * 128 / 255) << 8) | ((0x40 * 127 / 255) << 16);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(px[y * 9 + x], shaded);
    EXPECT_EQ(px[y * 9 + 8], 0x400000u);
  }
}

TEST(TexturePerturbation, OctavesFromMeshSize) {
  EXPECT_NEAR(perturbationOctaves(32), 0.0f, 1e-6f);
  EXPECT_NEAR(perturbationOctaves(64), 0.258f, 1e-3f);
  EXPECT_EQ(perturbationOctaves(1024), 8.0f);
  EXPECT_EQ(perturbationOctaves(0), 8.0f);
  EXPECT_EQ(perturbationOctaves(31), 8.0f);
  EXPECT_EQ(perturbationOctaves(4096), 8.0f);
}

TEST(TexturePerturbation, WithoutNoiseOrBubblesEveryPixelIsTheMiddleColour) {
  Settings s(kTexturePerturbation, 33, 17);
  ts::writeF32(s.bytes + ts::kPerturbationPower, 0.0f);
  writeI32(s.bytes + ts::kBubbleCount, 0);
  std::vector<uint32_t> px = render(s);
  for (uint32_t p : px) ASSERT_EQ(p, px[0]);
  // value 0.5 -> entry 127 of the default grey ramp.
  EXPECT_NEAR(double(px[0] & 0xFF), 127.0, 2.0);
  EXPECT_EQ(px[0], (px[0] & 0xFF) * 0x010101u);
}

TEST(TexturePerturbation, FieldRepeatsAcrossTheImage) {
  // u = x / W spans one period of the 16-cell lattice, so the last column
  // runs smoothly into the first: the wrap step is no larger than any other.
  Settings s(kTexturePerturbation, 128, 8);
  writeI32(s.bytes + ts::kBubbleCount, 0);
  std::vector<uint32_t> px = render(s);
  int wrap = std::abs(int(px[127] & 0xFF) - int(px[0] & 0xFF));
  int largest = 0;
  for (int x = 1; x < 128; ++x) largest = std::max(largest, std::abs(int(px[x] & 0xFF) - int(px[x - 1] & 0xFF)));
  EXPECT_LE(wrap, largest + 2);
}

TEST(TextureGenerate, RefusesUnknownTypesAndBadRectangles) {
  Settings s(6, 10, 10);
  EXPECT_EQ(textureGenerate(s.bytes), 0u);
  Settings empty(0, 0, 10);
  EXPECT_EQ(textureGenerate(empty.bytes), 0u);
  Settings inverted(0, 10, 10);
  textureSetOutputRect(inverted.bytes, 10, 10, 0, 0);
  EXPECT_EQ(textureGenerate(inverted.bytes), 0u);
  Settings huge(0, 10, 10);
  textureSetOutputRect(huge.bytes, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  EXPECT_EQ(textureGenerate(huge.bytes), 0u);
  Settings tooWide(0, kTextureMaxSide + 1, 1);
  EXPECT_EQ(textureGenerate(tooWide.bytes), 0u);
  EXPECT_EQ(textureGenerate(nullptr), 0u);
  // An offset rectangle generates at its size.
  Settings offset(5, 10, 10);
  textureSetOutputRect(offset.bytes, 100, -50, 130, -30);
  MemBlock bmp(textureGenerate(offset.bytes));
  int32_t w = 0, h = 0;
  ASSERT_TRUE(bitmapQuery(bmp.get(), &w, &h, nullptr, nullptr));
  EXPECT_EQ(w, 30);
  EXPECT_EQ(h, 20);
}

TEST(TextureGenerate, OddAndDegenerateSizesOfEveryType) {
  const int32_t sizes[][2] = {{1, 1}, {7, 1}, {1, 7}, {2, 3}, {301, 5}};
  for (uint32_t type = 0; type < kTextureTypeCount; ++type) {
    for (const auto& wh : sizes) {
      Settings s(type, wh[0], wh[1]);
      MemBlock bmp(textureGenerate(s.bytes));
      int32_t w = 0, h = 0;
      int bits = 0;
      ASSERT_TRUE(bitmapQuery(bmp.get(), &w, &h, &bits, nullptr)) << type << " " << wh[0] << "x" << wh[1];
      EXPECT_EQ(w, wh[0]);
      EXPECT_EQ(h, wh[1]);
      EXPECT_EQ(bits, 24);
    }
  }
}

TEST(TextureGenerate, HostileCountsAreBoundedNotObeyed) {
  auto start = std::chrono::steady_clock::now();
  Settings mesh(kTexture5ColourFractal, 16, 16);
  writeU32(mesh.bytes + ts::kMeshSize, 0xFFFFFFFFu);
  EXPECT_FALSE(render(mesh).empty());
  Settings craters(kTextureCraters, 16, 16);
  writeU32(craters.bytes + ts::kCraterCount, 0xFFFFFFFFu);
  ts::writeF32(craters.bytes + ts::kCraterDepth, 1e30f);
  EXPECT_FALSE(render(craters).empty());
  Settings bubbles(kTexturePerturbation, 64, 64);
  writeI32(bubbles.bytes + ts::kBubbleCount, INT32_MAX);
  writeU32(bubbles.bytes + ts::kBubbleSize, 0xFFFFFFFFu);
  writeU32(bubbles.bytes + ts::kBubbleShape, 99);
  writeU32(bubbles.bytes + ts::kMeshSize, 0xFFFFFFFFu);
  EXPECT_FALSE(render(bubbles).empty());
  Settings negative(kTexturePerturbation, 64, 64);
  writeI32(negative.bytes + ts::kBubbleCount, INT32_MIN);
  ts::writeF32(negative.bytes + ts::kPerturbationPower, INFINITY);
  EXPECT_FALSE(render(negative).empty());
  // Seconds, not hours (generous: the suite may share a busy machine).
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

TEST(TextureGenerate, AllocationFailuresGiveNothingAndLeakNothing) {
  for (uint32_t type = 0; type < kTextureTypeCount; ++type) {
    Settings s(type, 40, 30);
    expectNoLeaksWhenAllocationsFail(8, [&] { return textureGenerate(s.bytes); }, "type " + std::to_string(type));
  }
}

TEST(TextureGenerate, RecordIsLeftAsItWas) {
  Settings s(kTexturePerturbation, 20, 20);
  writeI32(s.bytes + ts::kBubbleCount, 5000);
  ts::writeF32(s.bytes + ts::kRampRed, -3.0f);
  uint8_t before[ts::kSize];
  std::memcpy(before, s.bytes, sizeof before);
  MemBlock bmp(textureGenerate(s.bytes));
  EXPECT_EQ(std::memcmp(before, s.bytes, sizeof before), 0);
}

// Renders checked by eye (glyphwright texture --type N --size 128x128); a
// deliberate change to a generator updates these.
TEST(TextureGenerate, GoldenRendersOfTheDefaults) {
  const uint64_t golden[kTextureTypeCount] = {
      129153665403483145ull,   1824400602754527531ull,  10931831062351333003ull,
      17610450227783809477ull, 10838347531773348883ull, 15033710534640746472ull};
  for (uint32_t type = 0; type < kTextureTypeCount; ++type) {
    Settings s(type, 128, 96);
    EXPECT_EQ(fnv1a(render(s)), golden[type]) << "type " << type;
  }
}

}  // namespace
}  // namespace gw
