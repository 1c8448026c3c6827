#include "imaging/packed_frame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "imaging/colour_histogram.h"
#include "imaging/remap.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

// Pictures of the kinds a build packs: flat, striped runs of every length
// around the token limit, noise (no two neighbours alike) and a mix.
enum class Kind { kFlat, kRuns, kNoise, kMixed };

MemHandle picture(int32_t w, int32_t h, Kind kind, uint32_t seed) {
  MemHandle bmp = bitmapCreateTrueColour(w, h, 24);
  MemLock lock(bmp);
  BitmapView v = BitmapView::of(lock);
  std::mt19937 rng(seed);
  for (int32_t y = 0; y < h; ++y) {
    uint32_t colour = rng() & 0xFFFFFF;
    int32_t left = 0;
    for (int32_t x = 0; x < w; ++x) {
      switch (kind) {
        case Kind::kFlat: colour = 0x336699; break;
        case Kind::kRuns:
          if (left-- <= 0) {
            colour = rng() & 0x030303;  // few colours: neighbouring runs often meet
            left = int32_t(rng() % 260);
          }
          break;
        case Kind::kNoise: colour = rng() & 0xFFFFFF; break;
        case Kind::kMixed:
          if (x % 97 < 40) colour = rng() & 0x0F0F0F;
          else if (x % 97 == 40) colour = 0xFFFFFF;
          break;
      }
      v.setPixel(x, y, colour);
    }
  }
  return bmp;
}

bool samePixels(MemHandle a, MemHandle b) {
  MemLock la(a), lb(b);
  BitmapView va = BitmapView::of(la), vb = BitmapView::of(lb);
  if (!va.valid() || !vb.valid() || va.width() != vb.width() || va.height() != vb.height() || vb.bits() != 24)
    return false;
  for (int32_t y = 0; y < va.height(); ++y)
    if (std::memcmp(va.row(y), vb.row(y), size_t(va.width()) * 3) != 0) return false;
  return true;
}

struct Case {
  int32_t w, h;
  Kind kind;
};
const Case kCases[] = {
    {1, 1, Kind::kFlat},    {1, 7, Kind::kNoise},   {2, 3, Kind::kNoise},   {127, 2, Kind::kFlat},
    {128, 2, Kind::kFlat},  {129, 2, Kind::kNoise}, {257, 5, Kind::kFlat},  {300, 9, Kind::kRuns},
    {513, 4, Kind::kNoise}, {971, 6, Kind::kMixed}, {1000, 3, Kind::kRuns},
};

TEST(PackedFrame, UnpacksToTheSamePixels) {
  std::vector<uint8_t> scratch;
  uint32_t seed = 1;
  for (const Case& c : kCases) {
    MemBlock frame(picture(c.w, c.h, c.kind, seed++));
    MemBlock packed(packFrame(frame.get(), &scratch));
    ASSERT_TRUE(packed) << c.w << " x " << c.h;
    MemBlock again(unpackFrame(packed.get()));
    EXPECT_TRUE(samePixels(frame.get(), again.get())) << c.w << " x " << c.h << " kind " << int(c.kind);
    // Noise costs at most a byte in 128 pixels more; runs far less.
    const size_t raw = size_t(c.w) * size_t(c.h) * 3;
    EXPECT_LE(memSize(packed.get()), kPackedFrameHeaderSize + raw + size_t(c.h) * (size_t(c.w) / 128 + 1));
    if (c.kind == Kind::kFlat && c.w > 100) {
      EXPECT_LT(memSize(packed.get()) * 20, raw);
    }
  }
}

// The build counts its colours from the packed frames: the histogram must be
// the one the frames themselves give, entry for entry and in the same order,
// also when it has to coarsen (a small entry budget).
TEST(PackedFrame, HistogramCountsWhatTheFrameCounts) {
  std::vector<uint8_t> scratch;
  for (size_t budget : {size_t(512), ColourHistogram::kDefaultMaxEntries}) {
    ColourHistogram direct, fromPacked;
    ASSERT_TRUE(direct.init(budget));
    ASSERT_TRUE(fromPacked.init(budget));
    uint32_t seed = 40;
    for (const Case& c : kCases) {
      MemBlock frame(picture(c.w, c.h, c.kind, seed++));
      MemBlock packed(packFrame(frame.get(), &scratch));
      MemLock lf(frame.get()), lp(packed.get());
      ASSERT_TRUE(direct.add(BitmapView::of(lf)));
      ASSERT_TRUE(fromPacked.addPacked(lp.data(), lp.size()));
    }
    EXPECT_EQ(direct.pixels(), fromPacked.pixels());
    EXPECT_EQ(direct.precision(), fromPacked.precision());
    std::vector<HistogramEntry> a, b;
    ASSERT_TRUE(direct.collect(&a));
    ASSERT_TRUE(fromPacked.collect(&b));
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
      EXPECT_EQ(a[i].r, b[i].r);
      EXPECT_EQ(a[i].g, b[i].g);
      EXPECT_EQ(a[i].b, b[i].b);
      EXPECT_EQ(a[i].weight, b[i].weight);
    }
  }
}

// Frames are remapped from their runs: the same pixels as remapping the frame,
// with the exact and the fast search, with and without a background index.
TEST(PackedFrame, RemapsToWhatTheFrameRemapsTo) {
  uint8_t palette[768] = {};
  std::mt19937 rng(5);
  for (int i = 0; i < 40 * 3; ++i) palette[i] = uint8_t(rng());
  palette[0] = 0x99, palette[1] = 0x66, palette[2] = 0x33;  // the flat pictures' colour
  std::vector<uint8_t> scratch;
  uint32_t seed = 70;
  for (const Case& c : kCases) {
    MemBlock frame(picture(c.w, c.h, c.kind, seed++));
    MemBlock packed(packFrame(frame.get(), &scratch));
    for (int mode = 0; mode < 3; ++mode) {
      RemapOptions options;
      options.fastRemap = mode == 1;
      if (mode == 2) {
        options.backgroundColour = 0x336699;
        options.backgroundIndex = 200;
      }
      ColourSearch a, b;
      ASSERT_TRUE(a.init(palette, 40));
      ASSERT_TRUE(b.init(palette, 40));
      MemBlock direct(remapToPalette(frame.get(), palette, a, options));
      MemBlock fromRuns(remapPackedToPalette(packed.get(), palette, b, options));
      ASSERT_TRUE(direct && fromRuns);
      ASSERT_EQ(memSize(direct.get()), memSize(fromRuns.get()));
      MemLock la(direct.get()), lb(fromRuns.get());
      EXPECT_EQ(std::memcmp(la.data(), lb.data(), la.size()), 0) << c.w << " x " << c.h << " mode " << mode;
    }
  }
  // Dither needs the neighbours' true colours: the caller unpacks.
  RemapOptions dither;
  dither.dither = true;
  ColourSearch search;
  ASSERT_TRUE(search.init(palette, 40));
  MemBlock frame(picture(20, 3, Kind::kNoise, 1));
  MemBlock packed(packFrame(frame.get(), &scratch));
  EXPECT_EQ(remapPackedToPalette(packed.get(), palette, search, dither), 0u);
  EXPECT_EQ(remapPackedToPalette(frame.get(), palette, search, RemapOptions{}), 0u);
}

TEST(PackedFrame, RefusesWhatItCannotPackOrRead) {
  std::vector<uint8_t> scratch;
  MemBlock alpha(bitmapCreateTrueColour(4, 4, 32));
  EXPECT_EQ(packFrame(alpha.get(), &scratch), 0u);
  EXPECT_EQ(packFrame(0, &scratch), 0u);
  // A bitmap is never taken for a packed frame, and a truncated or damaged
  // packed frame is refused rather than read past its end.
  MemBlock frame(picture(300, 4, Kind::kMixed, 7));
  {
    MemLock lock(frame.get());
    EXPECT_FALSE(isPackedFrame(lock.data(), lock.size()));
  }
  EXPECT_EQ(unpackFrame(frame.get()), 0u);
  MemBlock packed(packFrame(frame.get(), &scratch));
  const size_t size = memSize(packed.get());
  for (size_t cut : {size_t(13), size / 2, size - 1}) {
    MemBlock shorter(memAlloc(cut));
    {
      MemLock from(packed.get()), to(shorter.get());
      std::memcpy(to.data(), from.data(), cut);
    }
    EXPECT_EQ(unpackFrame(shorter.get()), 0u) << cut;
    MemLock lock(shorter.get());
    ColourHistogram histogram;
    ASSERT_TRUE(histogram.init());
    EXPECT_FALSE(histogram.addPacked(lock.data(), lock.size())) << cut;
  }
  {
    MemLock lock(packed.get());
    lock.data()[kPackedFrameHeaderSize] = 0xFF;  // a run of 128 in a row that has 300 pixels
    lock.data()[kPackedFrameHeaderSize + 4] = 0xFF;
    lock.data()[kPackedFrameHeaderSize + 8] = 0xFF;  // ...three of them overrun it
  }
  EXPECT_EQ(unpackFrame(packed.get()), 0u);
  // Frames that run out of memory stay unpacked.
  testing::failAllocationsAfter(0);
  EXPECT_EQ(packFrame(frame.get(), &scratch), 0u);
  testing::failAllocationsAfter(-1);
}

}  // namespace
}  // namespace gw
