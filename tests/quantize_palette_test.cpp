#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "protocol/frame_store.h"
#include "platform/bitmap.h"
#include "imaging/colour_histogram.h"
#include "imaging/image_difference.h"
#include "imaging/kmeans_refine.h"
#include "imaging/nearest_colour.h"
#include "imaging/palette_quantizer.h"
#include "imaging/remap.h"

namespace gw {
namespace {

// A 24-bit frame whose pixels cycle through `colours` in a shuffled order.
MemHandle frameOf(int32_t w, int32_t h, const std::vector<uint32_t>& colours, uint32_t seed) {
  MemHandle bmp = bitmapCreateTrueColour(w, h, 24);
  MemLock lock(bmp);
  BitmapView v = BitmapView::of(lock);
  std::mt19937 rng(seed);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) v.setPixel(x, y, colours[(size_t(y) * w + x) % colours.size()]);
  // Swap some pixels so runs and neighbours are not regular.
  for (int i = 0; i < w * h; ++i) {
    int32_t ax = int32_t(rng() % w), ay = int32_t(rng() % h), bx = int32_t(rng() % w), by = int32_t(rng() % h);
    uint32_t a = uint32_t(v.getPixel(ax, ay)), b = uint32_t(v.getPixel(bx, by));
    v.setPixel(ax, ay, b);
    v.setPixel(bx, by, a);
  }
  return bmp;
}

std::vector<uint32_t> randomColours(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::set<uint32_t> seen;
  std::vector<uint32_t> out;
  while (out.size() < n) {
    uint32_t c = rng() & 0xFFFFFF;
    if (seen.insert(c).second) out.push_back(c);
  }
  return out;
}

std::set<uint32_t> paletteSet(const uint8_t* p, int count) {
  std::set<uint32_t> s;
  for (int i = 0; i < count; ++i) s.insert(p[i * 3] | (p[i * 3 + 1] << 8) | (p[i * 3 + 2] << 16));
  return s;
}

// A smooth picture with tens of thousands of colours.
MemHandle gradientFrame(int32_t w, int32_t h) {
  MemHandle bmp = bitmapCreateTrueColour(w, h, 24);
  MemLock lock(bmp);
  BitmapView v = BitmapView::of(lock);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      v.setPixel(x, y, uint32_t(x * 255 / (w - 1)) | (uint32_t(y * 255 / (h - 1)) << 8) |
                           (uint32_t((x + y) * 127 / (w + h)) << 16));
  return bmp;
}

TEST(QuantizePalette, FewColoursAcrossFramesAreKeptExactly) {
  // 250 distinct colours, split over three frames with some overlap.
  std::vector<uint32_t> all = randomColours(250, 7);
  FrameStore store;
  for (int f = 0; f < 3; ++f) {
    std::vector<uint32_t> part(all.begin() + f * 80, all.begin() + std::min<size_t>(250, f * 80 + 100));
    ASSERT_TRUE(frameStoreAppendFrame(store, frameOf(37, 23, part, uint32_t(f)), 10));
  }
  for (int limit : {256, 255, 250}) {
    uint8_t palette[768];
    std::memset(palette, 0xEE, sizeof palette);
    int count = 0;
    QuantizeStats stats;
    ASSERT_TRUE(quantizeFrames(store, limit, palette, &count, &stats)) << limit;
    EXPECT_TRUE(stats.exact);
    EXPECT_EQ(count, 250);
    std::set<uint32_t> got = paletteSet(palette, count);
    EXPECT_EQ(got.size(), 250u) << "no duplicates";
    EXPECT_EQ(got, std::set<uint32_t>(all.begin(), all.end()));
    for (int i = count * 3; i < 768; ++i) ASSERT_EQ(palette[i], 0);

    // And remapping every frame with it gives back the very pixels.
    for (uint32_t f = 0; f < store.count; ++f) {
      FrameRecord rec;
      ASSERT_TRUE(frameStoreGet(store, f, &rec));
      for (bool dither : {false, true}) {
        RemapOptions options;
        options.dither = dither;
        options.ditherContrast = 255;
        options.ditherBrightness = 0;
        MemBlock remapped(remapToPalette(rec.image, palette, count, options));
        ASSERT_TRUE(remapped);
        ImageDifference d;
        ASSERT_TRUE(measureDifference(rec.image, remapped.get(), &d));
        EXPECT_EQ(d.meanSquaredError, 0.0) << "frame " << f << " dither " << dither;
      }
    }
  }
  frameStoreFree(store);
}

TEST(QuantizePalette, NeverExceedsTheLimit) {
  for (size_t distinct : {size_t(256), size_t(257), size_t(5000)}) {
    MemBlock frame(frameOf(101, 67, randomColours(distinct, uint32_t(distinct)), 3));
    const MemHandle handles[1] = {frame.get()};
    for (int limit : {255, 256, 16, 2, 1}) {
      uint8_t palette[768];
      int count = -1;
      ASSERT_TRUE(quantizeBitmaps(handles, 1, limit, palette, &count)) << distinct << "/" << limit;
      EXPECT_GE(count, 1);
      EXPECT_LE(count, limit) << distinct << " colours, limit " << limit;
      EXPECT_EQ(paletteSet(palette, count).size(), size_t(count)) << "no duplicates";
      if (distinct > size_t(limit) && limit > 1) {
        EXPECT_GT(count, limit / 2) << "slots are used";
      }
      for (int i = count * 3; i < 768; ++i) ASSERT_EQ(palette[i], 0);
    }
  }
}

TEST(QuantizePalette, SmoothPicturesComeOutClose) {
  MemBlock frame(gradientFrame(256, 256));
  const MemHandle handles[1] = {frame.get()};
  uint8_t palette[768];
  int count = 0;
  QuantizeStats stats;
  ASSERT_TRUE(quantizeBitmaps(handles, 1, 256, palette, &count, &stats));
  EXPECT_EQ(count, 256);
  EXPECT_FALSE(stats.exact);
  MemBlock remapped(remapToPalette(frame.get(), palette, count, RemapOptions()));
  ImageDifference d;
  ASSERT_TRUE(measureDifference(frame.get(), remapped.get(), &d));
  // The colours lie on a plane spanned by two full ramps; the best regular
  // tiling of it by 256 cells (16 x 16, 16 levels wide) gives about 36.1 dB,
  // a uniform colour cube about 25.
  EXPECT_GT(d.psnr, 36.0);
}

TEST(QuantizePalette, RejectsWhatItCannotQuantize) {
  uint8_t palette[768];
  int count = 0;
  MemBlock frame(frameOf(8, 8, {0x123456, 0x654321}, 1));
  const MemHandle good[1] = {frame.get()};
  EXPECT_FALSE(quantizeBitmaps(good, 1, 0, palette, &count));
  EXPECT_FALSE(quantizeBitmaps(good, 1, 257, palette, &count));
  EXPECT_FALSE(quantizeBitmaps(good, 0, 256, palette, &count));
  MemBlock indexed(bitmapCreateWithPalette(8, 8, nullptr, 8));
  const MemHandle mixed[2] = {frame.get(), indexed.get()};
  EXPECT_FALSE(quantizeBitmaps(mixed, 2, 256, palette, &count));
  const MemHandle dead[1] = {0};
  EXPECT_FALSE(quantizeBitmaps(dead, 1, 256, palette, &count));
  FrameStore empty;
  EXPECT_FALSE(quantizeFrames(empty, 256, palette, &count));
  EXPECT_EQ(count, 0) << "outputs untouched on failure";
}

TEST(QuantizeHistogram, CoarsensWithinItsBudgetAndKeepsMeans) {
  ColourHistogram h;
  ASSERT_TRUE(h.init(512));
  MemBlock frame(frameOf(200, 100, randomColours(3000, 11), 5));
  MemLock lock(frame.get());
  ASSERT_TRUE(h.add(BitmapView::of(lock)));
  EXPECT_LT(h.precision(), 8);
  EXPECT_LE(h.size(), 512u);
  EXPECT_EQ(h.pixels(), 20000u);
  std::vector<HistogramEntry> entries;
  ASSERT_TRUE(h.collect(&entries));
  double weight = 0, sumR = 0;
  for (const HistogramEntry& e : entries) {
    weight += e.weight;
    sumR += e.weight * e.r;
  }
  EXPECT_EQ(weight, 20000.0);
  // The weighted mean of all entries is the image's mean red.
  BitmapView v = BitmapView::of(lock);
  double red = 0;
  for (int32_t y = 0; y < v.height(); ++y)
    for (int32_t x = 0; x < v.width(); ++x) red += double(v.getPixel(x, y) & 0xFF);
  EXPECT_NEAR(sumR / weight, red / 20000.0, 0.01);
  std::vector<uint32_t> colours;
  std::vector<uint64_t> counts;
  EXPECT_FALSE(h.collectExact(&colours, &counts)) << "no longer exact";
}

TEST(QuantizeHistogram, ExactWhileWithinBudget) {
  ColourHistogram h;
  ASSERT_TRUE(h.init(512));
  std::vector<uint32_t> colours = randomColours(400, 2);
  MemBlock frame(frameOf(40, 40, colours, 9));
  MemLock lock(frame.get());
  ASSERT_TRUE(h.add(BitmapView::of(lock)));
  ASSERT_TRUE(h.add(BitmapView::of(lock)));
  EXPECT_EQ(h.precision(), 8);
  std::vector<uint32_t> got;
  std::vector<uint64_t> counts;
  ASSERT_TRUE(h.collectExact(&got, &counts));
  EXPECT_EQ(std::set<uint32_t>(got.begin(), got.end()), std::set<uint32_t>(colours.begin(), colours.end()));
  uint64_t total = 0;
  for (uint64_t c : counts) total += c;
  EXPECT_EQ(total, 3200u);
}

// One k-means pass moves every colour to the weighted mean of the entries
// nearest to it (lowest index on ties), whichever search the histogram's size
// selects: a search that misses the nearest colour shows as a wrong mean.
TEST(QuantizeKMeans, OnePassMovesEachColourToTheMeanOfItsNearestEntries) {
  for (size_t count : {size_t(3000), size_t(40000)}) {
    SCOPED_TRACE(count);
    std::mt19937 rng{uint32_t(count)};
    std::vector<HistogramEntry> entries(count);
    for (HistogramEntry& e : entries) {
      // Clustered like real pictures, so many entries sit between close colours.
      uint32_t base = (rng() % 8) * 28;
      e.r = float(base + rng() % 40);
      e.g = float(std::min<uint32_t>(255, base / 2 + rng() % 200));
      e.b = float(rng() % 256);
      e.weight = double(1 + rng() % 50);
    }
    std::vector<PaletteColourF> palette(256);
    uint8_t rounded[768];
    for (int i = 0; i < 256; ++i) {
      // Every 16th colour repeats its predecessor: ties must go to the lower index.
      uint32_t c = (i % 16 == 15) ? (rounded[(i - 1) * 3] | (rounded[(i - 1) * 3 + 1] << 8) |
                                     (uint32_t(rounded[(i - 1) * 3 + 2]) << 16))
                                  : (rng() & 0xFFFFFF);
      rounded[i * 3] = uint8_t(c);
      rounded[i * 3 + 1] = uint8_t(c >> 8);
      rounded[i * 3 + 2] = uint8_t(c >> 16);
      palette[size_t(i)] = {float(rounded[i * 3]), float(rounded[i * 3 + 1]), float(rounded[i * 3 + 2])};
    }
    KMeansResult km;
    ASSERT_TRUE(kmeansRefine(entries, &palette, 1, 0.0, &km));
    double w[256] = {}, r[256] = {}, g[256] = {}, b[256] = {};
    for (const HistogramEntry& e : entries) {
      int i = nearestColour(rounded, 256, uint32_t(e.r) | (uint32_t(e.g) << 8) | (uint32_t(e.b) << 16));
      w[i] += e.weight;
      r[i] += e.weight * e.r;
      g[i] += e.weight * e.g;
      b[i] += e.weight * e.b;
    }
    int checked = 0;
    for (int i = 0; i < 256; ++i) {
      if (w[i] == 0) continue;  // an empty colour is moved elsewhere
      ++checked;
      EXPECT_NEAR(palette[size_t(i)].r, r[i] / w[i], 1e-3) << i;
      EXPECT_NEAR(palette[size_t(i)].g, g[i] / w[i], 1e-3) << i;
      EXPECT_NEAR(palette[size_t(i)].b, b[i] / w[i], 1e-3) << i;
    }
    EXPECT_GT(checked, 150) << "most colours have entries";
  }
}

// The table starts small and grows as colours arrive, within a frame and
// across frames; every colour must survive each regrowth with its count, and
// the budget must still bound it once growing meets it.
TEST(QuantizeHistogram, GrowsWithTheColoursAndStaysExact) {
  struct Case {
    size_t budget;
    size_t colours;
    bool exact;
  };
  for (const Case& c : {Case{size_t(1) << 16, 30000, true}, Case{8192, 20000, false}}) {
    SCOPED_TRACE(c.budget);
    ColourHistogram h;
    ASSERT_TRUE(h.init(c.budget));
    const size_t startCapacity = h.capacity();
    std::map<uint32_t, uint64_t> expected;
    double redSum = 0;
    uint64_t pixels = 0;
    for (uint32_t f = 0; f < 3; ++f) {  // each frame brings new colours and repeats old ones
      std::vector<uint32_t> colours = randomColours(c.colours / 2, 7 + f);
      MemBlock frame(frameOf(200, 150, colours, f));
      MemLock lock(frame.get());
      BitmapView v = BitmapView::of(lock);
      ASSERT_TRUE(h.add(v));
      for (int32_t y = 0; y < v.height(); ++y)
        for (int32_t x = 0; x < v.width(); ++x) {
          uint32_t px = uint32_t(v.getPixel(x, y));
          ++expected[px];
          redSum += double(px & 0xFF);
          ++pixels;
        }
    }
    EXPECT_GT(h.capacity(), startCapacity);
    EXPECT_LE(h.size(), c.budget);
    EXPECT_EQ(h.pixels(), pixels);
    if (c.exact) {
      EXPECT_EQ(h.precision(), 8);
      std::vector<uint32_t> got;
      std::vector<uint64_t> counts;
      ASSERT_TRUE(h.collectExact(&got, &counts));
      std::map<uint32_t, uint64_t> counted;
      for (size_t i = 0; i < got.size(); ++i) counted[got[i]] += counts[i];
      EXPECT_EQ(got.size(), expected.size()) << "each colour once";
      EXPECT_TRUE(counted == expected);
    } else {
      EXPECT_LT(h.precision(), 8);
      std::vector<HistogramEntry> entries;
      ASSERT_TRUE(h.collect(&entries));
      double weight = 0, red = 0;
      for (const HistogramEntry& e : entries) {
        weight += e.weight;
        red += e.weight * e.r;
      }
      EXPECT_EQ(weight, double(pixels));
      EXPECT_NEAR(red / weight, redSum / double(pixels), 0.01);
    }
  }
}

}  // namespace
}  // namespace gw
