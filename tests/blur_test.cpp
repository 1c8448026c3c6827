// The soft-shadow blur: its kernel, the edge renormalisation, short lines,
// and the fast plane path against the plain line-by-line reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "effects/blur.h"
#include "effects/text_layout.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

struct Plane {
  int32_t width, height;
  std::vector<uint8_t> pixels;
  std::vector<uint8_t*> rows() {
    std::vector<uint8_t*> r;
    for (int32_t y = 0; y < height; ++y) r.push_back(pixels.data() + size_t(y) * size_t(width));
    return r;
  }
};

Plane randomPlane(int32_t w, int32_t h, uint32_t seed, int density) {
  Plane p{w, h, std::vector<uint8_t>(size_t(w) * size_t(h), 0)};
  uint32_t s = seed;
  for (uint8_t& v : p.pixels) {
    s = s * 22695477u + 1u;
    if (int((s >> 16) % 100) < density) v = uint8_t(s >> 8);
  }
  return p;
}

// Rows then columns, each line through the plain reference.
Plane referenceBlur(Plane p, const BlurKernel& k) {
  std::vector<double> scratch(size_t(std::max(p.width, p.height)) * 2);
  for (int32_t y = 0; y < p.height; ++y)
    blurLine(p.pixels.data() + size_t(y) * size_t(p.width), size_t(p.width), 1, k, scratch.data());
  for (int32_t x = 0; x < p.width; ++x)
    blurLine(p.pixels.data() + x, size_t(p.height), p.width, k, scratch.data());
  return p;
}

TEST(Blur, KernelHasFortyOneTapsSummingToOneAroundItsCentre) {
  for (int s : {1, 5, 10, 20, 40}) {
    BlurKernel k = blurKernel(s);
    ASSERT_EQ(k.size(), 41u);
    double sum = 0;
    for (double w : k) sum += w;
    EXPECT_NEAR(sum, 1.0, 1e-12) << s;
    for (int t = 0; t < 20; ++t) {
      EXPECT_NEAR(k[size_t(t)], k[size_t(40 - t)], 1e-15) << s;
      EXPECT_LE(k[size_t(t)], k[size_t(t + 1)]) << s;
    }
  }
  // The construction: sigma = (s + 2) / 10, three samples per tap.
  BlurKernel k = blurKernel(20);
  const double sigma = 2.2;
  double centre = 0, edge = 0, total = 0;
  for (int i = -61; i <= 61; ++i) {
    double v = std::exp(-double(i) * i / (18 * sigma * sigma));
    total += v;
    if ((61 + i) / 3 == 20) centre += v;
    if ((61 + i) / 3 == 0) edge += v;
  }
  EXPECT_NEAR(k[20], centre / total, 1e-15);
  EXPECT_NEAR(k[0], edge / total, 1e-18);
  // More softness spreads further.
  EXPECT_GT(blurKernel(40)[10], blurKernel(5)[10]);
}

TEST(Blur, LinesShorterThanTheKernelAreLeftAlone) {
  BlurKernel k = blurKernel(20);
  Plane p = randomPlane(40, 40, 7, 60);
  Plane original = p;
  auto rows = p.rows();
  ASSERT_TRUE(blurPlane(rows.data(), p.width, p.height, k));
  EXPECT_EQ(p.pixels, original.pixels);

  // 41 wide but 40 high: rows are blurred, columns are not.
  Plane wide = randomPlane(41, 40, 9, 60);
  Plane expected = wide;
  std::vector<double> scratch(200);
  for (int32_t y = 0; y < expected.height; ++y)
    blurLine(expected.pixels.data() + size_t(y) * 41, 41, 1, k, scratch.data());
  auto wideRows = wide.rows();
  ASSERT_TRUE(blurPlane(wideRows.data(), wide.width, wide.height, k));
  EXPECT_EQ(wide.pixels, expected.pixels);
}

TEST(Blur, EdgesAreRenormalisedSoAFlatLineStaysFlat) {
  BlurKernel k = blurKernel(33);
  std::vector<uint8_t> line(57, 200);
  std::vector<double> scratch(200);
  blurLine(line.data(), line.size(), 1, k, scratch.data());
  for (uint8_t v : line) EXPECT_EQ(v, 200);
  // An impulse keeps its centre weight, rounded half up.
  std::vector<uint8_t> impulse(81, 0);
  impulse[40] = 255;
  blurLine(impulse.data(), impulse.size(), 1, k, scratch.data());
  EXPECT_EQ(impulse[40], uint8_t(255 * k[20] + 0.5));
  EXPECT_EQ(impulse[60], uint8_t(255 * k[40] + 0.5));
  EXPECT_EQ(impulse[61], 0);
  // Near an end only the taps inside count: a step at the very start.
  std::vector<uint8_t> step(60, 0);
  step[0] = 255;
  blurLine(step.data(), step.size(), 1, k, scratch.data());
  double inside = 0;
  for (int t = 20; t < 41; ++t) inside += k[size_t(t)];
  EXPECT_EQ(step[0], uint8_t(255 * k[20] / inside + 0.5));
}

TEST(Blur, PlaneGivesTheSameBytesAsTheLineReference) {
  const int32_t sizes[][2] = {{41, 41}, {97, 53}, {300, 45}, {45, 300}, {1, 100}, {100, 1}, {64, 64}, {203, 77}};
  uint32_t seed = 1;
  for (auto& size : sizes) {
    for (int density : {2, 30, 100}) {
      for (int s : {1, 17, 40}) {
        BlurKernel k = blurKernel(s);
        Plane p = randomPlane(size[0], size[1], seed++, density);
        Plane expected = referenceBlur(p, k);
        auto rows = p.rows();
        ASSERT_TRUE(blurPlane(rows.data(), p.width, p.height, k));
        ASSERT_EQ(p.pixels, expected.pixels)
            << size[0] << "x" << size[1] << " density " << density << " softness " << s;
      }
    }
  }
}

// Ink in a small box of a large bare plane: only the box's reach is
// blurred, to the same bytes, wherever the box lies.
TEST(Blur, BareRegionsGiveTheSameBytes) {
  const BlurKernel k = blurKernel(25);
  const Plane ink = randomPlane(13, 9, 4, 60);
  const int32_t at[][2] = {{0, 0}, {5, 70}, {100, 40}, {187, 91}, {60, 0}, {199, 30}};
  for (auto& a : at) {
    Plane p{200, 100, std::vector<uint8_t>(200 * 100, 0)};
    for (int32_t y = 0; y < ink.height; ++y)
      for (int32_t x = 0; x < ink.width; ++x)
        if (a[0] + x < p.width && a[1] + y < p.height)
          p.pixels[size_t(a[1] + y) * 200 + size_t(a[0] + x)] = ink.pixels[size_t(y) * size_t(ink.width) + size_t(x)];
    Plane expected = referenceBlur(p, k);
    auto rows = p.rows();
    ASSERT_TRUE(blurPlane(rows.data(), p.width, p.height, k));
    ASSERT_EQ(p.pixels, expected.pixels) << a[0] << "," << a[1];
  }
  Plane bare{64, 64, std::vector<uint8_t>(64 * 64, 0)};
  auto rows = bare.rows();
  ASSERT_TRUE(blurPlane(rows.data(), 64, 64, k));
  EXPECT_EQ(bare.pixels, std::vector<uint8_t>(64 * 64, 0));
}

// A plane blurred from a baseline must give exactly what the whole blur
// gives, wherever the change lies: inside, at the plane's edges (where the
// taps are renormalised), across the whole width, ink removed or added, in
// two far apart places, and on planes shorter or narrower than the kernel.
TEST(Blur, BaselineGivesTheSameBytesAsTheWholeBlur) {
  struct Change {
    const char* name;
    int32_t x, y, w, h;  // the box, clipped to the plane
    int fill;            // -1: new random ink, else this value
  };
  const Change changes[] = {
      {"none", 0, 0, 0, 0, 0},         {"middle", 50, 30, 9, 7, -1},  {"top left", 0, 0, 5, 4, -1},
      {"bottom right", 190, 70, 20, 20, -1}, {"whole width", 0, 35, 500, 3, -1}, {"ink removed", 60, 10, 30, 50, 0},
      {"filled", 20, 20, 12, 12, 255}, {"one pixel", 100, 44, 1, 1, 7},
  };
  const int32_t sizes[][2] = {{203, 77}, {97, 53}, {41, 41}, {40, 90}, {90, 40}, {1, 60}, {300, 2}};
  uint32_t seed = 11;
  for (auto& size : sizes) {
    for (int density : {3, 40}) {
      const BlurKernel k = blurKernel(density == 3 ? 9 : 40);
      Plane base = randomPlane(size[0], size[1], seed++, density);
      const Plane kept = base;
      auto baseRows = base.rows();
      BlurBaseline baseline;
      ASSERT_TRUE(makeBlurBaseline(baseRows.data(), base.width, base.height, k, &baseline));
      ASSERT_EQ(base.pixels, kept.pixels);
      for (size_t twice = 0; twice < 2; ++twice) {
        for (const Change& c : changes) {
          Plane p = base;
          Plane ink = randomPlane(p.width, p.height, seed++, 50);
          auto paint = [&](int32_t bx, int32_t by) {
            for (int32_t y = std::max(0, by); y < std::min(p.height, by + c.h); ++y)
              for (int32_t x = std::max(0, bx); x < std::min(p.width, bx + c.w); ++x) {
                const size_t i = size_t(y) * size_t(p.width) + size_t(x);
                p.pixels[i] = c.fill < 0 ? ink.pixels[i] : uint8_t(c.fill);
              }
          };
          paint(c.x, c.y);
          if (twice) paint(p.width - 1 - c.x - c.w, p.height - 1 - c.y - c.h);  // and a far one
          Plane expected = referenceBlur(p, k);
          auto rows = p.rows();
          ASSERT_TRUE(blurPlaneFrom(baseline, rows.data(), p.width, p.height));
          ASSERT_EQ(p.pixels, expected.pixels)
              << size[0] << "x" << size[1] << " density " << density << " " << c.name << (twice ? " twice" : "");
        }
      }
    }
  }
  // A plane of another size than the baseline's is blurred whole.
  const BlurKernel k = blurKernel(20);
  Plane small = randomPlane(60, 50, 5, 20), other = randomPlane(61, 50, 6, 20);
  auto smallRows = small.rows();
  BlurBaseline baseline;
  ASSERT_TRUE(makeBlurBaseline(smallRows.data(), small.width, small.height, k, &baseline));
  Plane expected = referenceBlur(other, k);
  auto otherRows = other.rows();
  ASSERT_TRUE(blurPlaneFrom(baseline, otherRows.data(), other.width, other.height));
  EXPECT_EQ(other.pixels, expected.pixels);
}

// `ink` placed with its top-left at (x, y) in a w x h plane, cut at its edges.
Plane placed(const Plane& ink, int32_t w, int32_t h, int32_t x0, int32_t y0) {
  Plane p{w, h, std::vector<uint8_t>(size_t(w) * size_t(h), 0)};
  for (int32_t y = 0; y < ink.height; ++y)
    for (int32_t x = 0; x < ink.width; ++x)
      if (x0 + x >= 0 && x0 + x < w && y0 + y >= 0 && y0 + y < h)
        p.pixels[size_t(y0 + y) * size_t(w) + size_t(x0 + x)] = ink.pixels[size_t(y) * size_t(ink.width) + size_t(x)];
  return p;
}

// A shape blurred once and moved must give exactly the whole blur of the
// moved, cut plane: wholly inside, across each edge and corner (where the
// taps are renormalised), partly or wholly outside, on planes as small as
// the kernel and on planes too small for it; and a shape that spans the
// plane along one axis (ends and all) while moving along the other.
TEST(Blur, MovedShapeGivesTheSameBytesAsTheWholeBlur) {
  const int32_t room = 40;
  const Plane ink = randomPlane(37, 23, 21, 45);
  struct Case {
    const char* name;
    bool alongX, alongY;  // else the shape spans the plane with the ink at rest
  };
  const Case cases[] = {{"both ways", true, true}, {"along x", true, false}, {"along y", false, true}};
  const int32_t sizes[][2] = {{160, 102}, {41, 41}, {120, 50}, {50, 120}, {40, 90}, {90, 30}};
  for (const Case& c : cases) {
    for (int s : {3, 40}) {
      const BlurKernel k = blurKernel(s);
      for (auto& size : sizes) {
        const int32_t w = size[0], h = size[1];
        const int32_t restX = w / 3, restY = h / 2 - ink.height / 2;
        // The shape, and where its plane's top-left lies for the ink's top-left at (0, 0).
        const int32_t sw = c.alongX ? ink.width + 2 * room : w, sh = c.alongY ? ink.height + 2 * room : h;
        const int32_t ax = c.alongX ? room : restX, ay = c.alongY ? room : restY;
        Plane shape = placed(ink, sw, sh, ax, ay);
        auto shapeRows = shape.rows();
        BlurShape held;
        ASSERT_TRUE(makeBlurShape(shapeRows.data(), sw, sh, k, &held));
        // Ink's top-left at every interesting place: outside, across each edge, inside.
        const int32_t xs[] = {-ink.width - 5, -ink.width + 1, -20, -3, 0, 2, 19, 20, 21, w / 2,
                              w - ink.width - 21, w - ink.width - 19, w - ink.width, w - 10, w - 1, w + 3};
        const int32_t ys[] = {-ink.height + 2, -7, 0, 5, 20, h / 2, h - ink.height - 20, h - ink.height + 4, h - 1, h + 2};
        for (int32_t ix : xs) {
          for (int32_t iy : ys) {
            // Across an axis the shape spans, the ink stays at rest; once
            // moved off it the plane is blurred whole, still exactly.
            for (int moved = 0; moved < 2; ++moved) {
              const int32_t x = c.alongX || moved ? ix : restX, y = c.alongY || moved ? iy : restY;
              Plane p = placed(ink, w, h, x, y);
              Plane expected = referenceBlur(p, k);
              auto rows = p.rows();
              ASSERT_TRUE(blurMovedShape(held, rows.data(), w, h, x - ax, y - ay));
              ASSERT_EQ(p.pixels, expected.pixels)
                  << c.name << " " << w << "x" << h << " ink at " << x << "," << y << " softness " << s;
            }
          }
        }
      }
    }
  }
  // Room is two radii of bare samples at both ends of an axis.
  const BlurKernel k = blurKernel(20);
  const struct {
    int32_t x, y;
    bool roomyX, roomyY;
  } dots[] = {{40, 40, true, true}, {39, 50, false, true}, {59, 59, true, true}, {60, 50, false, true}, {50, 60, true, false}};
  for (const auto& d : dots) {
    Plane p{100, 100, std::vector<uint8_t>(100 * 100, 0)};
    p.pixels[size_t(d.y) * 100 + size_t(d.x)] = 9;
    auto rows = p.rows();
    BlurShape held;
    ASSERT_TRUE(makeBlurShape(rows.data(), 100, 100, k, &held));
    EXPECT_EQ(held.roomyX, d.roomyX) << d.x << "," << d.y;
    EXPECT_EQ(held.roomyY, d.roomyY) << d.x << "," << d.y;
  }
}

TEST(Blur, MaskBitmapsAreBlurredUpsideUp) {
  // Rows of a bitmap are stored bottom-up; the blur works on rows from the
  // top, so a bitmap gives what its top-down plane gives.
  BlurKernel k = blurKernel(12);
  Plane p = randomPlane(50, 47, 99, 20);
  MemBlock mask(createGreyMask(p.width, p.height));
  {
    MemLock lock(mask.get());
    BitmapView v = BitmapView::of(lock);
    for (int32_t y = 0; y < p.height; ++y)
      for (int32_t x = 0; x < p.width; ++x) v.row(y)[x] = p.pixels[size_t(y * p.width + x)];
  }
  ASSERT_TRUE(blurMask(mask.get(), k));
  Plane expected = referenceBlur(p, k);
  MemLock lock(mask.get());
  BitmapView v = BitmapView::of(lock);
  for (int32_t y = 0; y < p.height; ++y)
    for (int32_t x = 0; x < p.width; ++x) ASSERT_EQ(v.row(y)[x], expected.pixels[size_t(y * p.width + x)]);
  MemBlock colour(bitmapCreateTrueColour(50, 50, 24));
  EXPECT_FALSE(blurMask(colour.get(), k));
}

}  // namespace
}  // namespace gw
