#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "base/le_bytes.h"
#include "controls/animation_block.h"
#include "controls/animation_placeholder.h"
#include "platform/bitmap.h"
#include "tests/allocation_failures.h"

namespace gw {
namespace {

namespace ab = animation_block;
using Bytes = std::vector<uint8_t>;

// A frame's bitmap as a host would write it, byte by byte: `bits` deep,
// colour table entry i = (i * 40, i * 20, 255 - i) as blue, green, red, pixel
// (x, y) from `value`; rows bottom-up unless `topDown`.
Bytes dib(int32_t w, int32_t h, int bits, const std::function<uint32_t(int, int)>& value, bool topDown = false) {
  const size_t table = bits <= 8 ? size_t(4) << bits : 0;
  const size_t stride = size_t((w * bits + 31) / 32 * 4);
  Bytes b(40 + table + stride * size_t(h), 0);
  writeU32(&b[0], 40);
  writeI32(&b[4], w);
  writeI32(&b[8], topDown ? -h : h);
  writeU16(&b[12], 1);
  writeU16(&b[14], uint16_t(bits));
  for (size_t i = 0; i < table / 4; ++i) {
    b[40 + i * 4 + 0] = uint8_t(i * 40);
    b[40 + i * 4 + 1] = uint8_t(i * 20);
    b[40 + i * 4 + 2] = uint8_t(255 - i);
  }
  uint8_t* pixels = &b[40 + table];
  for (int y = 0; y < h; ++y) {
    uint8_t* row = pixels + stride * size_t(topDown ? y : h - 1 - y);
    for (int x = 0; x < w; ++x) {
      uint32_t v = value(x, y);
      if (bits >= 24) {
        std::memcpy(row + size_t(x) * (bits / 8), &v, size_t(bits / 8));  // little-endian host
      } else {
        size_t bit = size_t(x) * bits;
        row[bit / 8] |= uint8_t(v << (8 - bits - bit % 8));
      }
    }
  }
  return b;
}

Bytes solid(uint32_t bgr) { return dib(3, 2, 24, [bgr](int, int) { return bgr; }); }

struct Chunk {
  const char* magic;
  Bytes bitmap;
  int32_t delay;
};

// The whole block, with `declared` frames in the header (-1: the chunk count).
Bytes block(const std::vector<Chunk>& chunks, int64_t declared = -1) {
  Bytes b(ab::kHeaderSize, 0);
  std::memcpy(&b[0], "ANMo", 4);
  writeU32(&b[4], uint32_t(ab::kHeaderSize));
  writeU32(&b[8], 4096);
  writeU32(&b[16], uint32_t(declared < 0 ? int64_t(chunks.size()) : declared));
  writeI32(&b[24], 3);
  writeI32(&b[28], 2);
  for (const Chunk& c : chunks) {
    Bytes h(ab::kFrameHeaderSize, 0);
    std::memcpy(&h[0], c.magic, 4);
    writeU32(&h[4], uint32_t(ab::kFrameHeaderSize));
    writeU32(&h[8], 4096);
    writeU32(&h[16], uint32_t(c.bitmap.size()));
    writeI32(&h[29], c.delay);
    b.insert(b.end(), h.begin(), h.end());
    b.insert(b.end(), c.bitmap.begin(), c.bitmap.end());
  }
  Bytes end(ab::kEndSize, 0);
  std::memcpy(&end[0], "ANMx", 4);
  writeU32(&end[4], uint32_t(ab::kEndSize));
  writeU32(&end[8], 4096);
  b.insert(b.end(), end.begin(), end.end());
  return b;
}

// Frames k = 0..n-1, each a solid colour 0x0000kk (blue k), delay 10 + k.
Bytes numbered(int n) {
  std::vector<Chunk> chunks;
  for (int k = 0; k < n; ++k) chunks.push_back({"ANMe", solid(uint32_t(k)), 10 + k});
  return block(chunks);
}

size_t firstChunk() { return ab::kHeaderSize; }

// The 24-bit pixel (x, y from the top) of a converted frame as 0x00RRGGBB-free bytes: blue, green, red.
uint32_t pixelOf(MemHandle frame, int x, int y) {
  MemLock lock(frame);
  BitmapView v = BitmapView::of(lock);
  return uint32_t(v.getPixel(x, y));
}

TEST(AnimationBlock, GoodBlockIsValidWithItsSizeAndFrames) {
  Bytes b = numbered(3);
  AnimationInfo info;
  ASSERT_TRUE(animationValidate(b.data(), b.size(), &info));
  EXPECT_EQ(info.width, 3);
  EXPECT_EQ(info.height, 2);
  EXPECT_EQ(info.frames, 3);
}

TEST(AnimationBlock, BadBlocksFailValidation) {
  struct Case {
    const char* what;
    std::function<void(Bytes&)> spoil;
  };
  const size_t chunk1 = firstChunk() + ab::kFrameHeaderSize + solid(0).size();
  const Case cases[] = {
      {"wrong header magic", [](Bytes& b) { b[3] = 'O'; }},
      {"header length before the fields", [](Bytes& b) { writeU32(&b[4], 20); }},
      {"header length past the end", [](Bytes& b) { writeU32(&b[4], uint32_t(b.size() + 1)); }},
      {"header length far past the end", [](Bytes& b) { writeU32(&b[4], 0xFFFFFFF0u); }},
      {"zero width", [](Bytes& b) { writeI32(&b[24], 0); }},
      {"negative height", [](Bytes& b) { writeI32(&b[28], -2); }},
      {"wrong frame magic", [](Bytes& b) { b[firstChunk() + 3] = 'E'; }},
      {"chunk header shorter than its fields", [](Bytes& b) { writeU32(&b[firstChunk() + 4], 20); }},
      {"chunk header length wrapping", [](Bytes& b) { writeU32(&b[firstChunk() + 4], 0xFFFFFFFFu); }},
      {"bitmap length past the end", [](Bytes& b) { writeU32(&b[firstChunk() + 16], 0x7FFFFFFFu); }},
      {"bitmap length shorter than its rows", [](Bytes& b) { writeU32(&b[firstChunk() + 16], 50); }},
      {"bitmap header of 39 bytes", [](Bytes& b) { writeU32(&b[firstChunk() + ab::kFrameHeaderSize], 39); }},
      {"bitmap header of 124 bytes", [](Bytes& b) { writeU32(&b[firstChunk() + ab::kFrameHeaderSize], 124); }},
      {"bitmap of 16 bits", [](Bytes& b) { writeU16(&b[firstChunk() + ab::kFrameHeaderSize + 14], 16); }},
      {"bitmap compressed", [](Bytes& b) { writeU32(&b[firstChunk() + ab::kFrameHeaderSize + 16], 1); }},
      {"bitmap claiming 60000 x 60000",
       [](Bytes& b) {
         writeI32(&b[firstChunk() + ab::kFrameHeaderSize + 4], 60000);
         writeI32(&b[firstChunk() + ab::kFrameHeaderSize + 8], 60000);
       }},
      {"bitmap of zero rows", [](Bytes& b) { writeI32(&b[firstChunk() + ab::kFrameHeaderSize + 8], 0); }},
      {"bitmap of INT32_MIN rows",
       [](Bytes& b) { writeI32(&b[firstChunk() + ab::kFrameHeaderSize + 8], INT32_MIN); }},
      {"no end chunk", [](Bytes& b) { b[b.size() - ab::kEndSize + 3] = 'y'; }},
      {"count one short: the end is a frame", [](Bytes& b) { writeU32(&b[16], 2); }},
      {"second chunk wrong", [chunk1](Bytes& b) { b[chunk1] = 'X'; }},
      {"no frames at all", [](Bytes& b) { writeU32(&b[16], 0); }},
  };
  for (const Case& c : cases) {
    Bytes b = numbered(3);
    c.spoil(b);
    EXPECT_FALSE(animationValidate(b.data(), b.size(), nullptr)) << c.what;
    int32_t delay = -7;
    EXPECT_EQ(animationFrame(b.data(), b.size(), 0, true, &delay), 0u) << c.what;
    EXPECT_EQ(delay, -7) << c.what;
  }
}

TEST(AnimationBlock, EveryPrefixOfAGoodBlockFails) {
  // Mixed depths, so every header, table and row boundary is somewhere cut.
  Bytes b = block({{"ANMe", dib(5, 3, 1, [](int x, int y) { return uint32_t((x + y) & 1); }), 1},
                   {"ANMe", dib(5, 3, 8, [](int x, int) { return uint32_t(x); }), 2}});
  ASSERT_TRUE(animationValidate(b.data(), b.size(), nullptr));
  for (size_t n = 0; n < b.size(); ++n) {
    // A copy of exactly n bytes, so a read past it is a fault the sanitizers see.
    Bytes prefix(b.begin(), b.begin() + long(n));
    ASSERT_FALSE(animationValidate(prefix.data(), prefix.size(), nullptr)) << n;
    ASSERT_EQ(animationFrame(prefix.data(), prefix.size(), 1, true, nullptr), 0u) << n;
  }
}

TEST(AnimationBlock, AHugeFrameCountEndsAtTheEndChunkWithoutAllocating) {
  Bytes b = block({{"ANMe", solid(0), 1}, {"ANMe", solid(1), 1}, {"ANMe", solid(2), 1}}, 0xFFFFFFFFll);
  AnimationInfo info;
  long before = testing::liveBlockCount();
  ASSERT_TRUE(animationValidate(b.data(), b.size(), &info));
  EXPECT_EQ(info.frames, 3);
  EXPECT_EQ(testing::liveBlockCount(), before);
}

TEST(AnimationBlock, AnEndChunkBeforeTheCountEndsTheAnimation) {
  // The header says 5 frames; the fourth chunk is "ANMx".
  Bytes b = block({{"ANMe", solid(0), 1}, {"ANMe", solid(1), 1}, {"ANMe", solid(2), 1}}, 5);
  Bytes extra = block({{"ANMe", solid(3), 1}});  // anything after the end is never read
  b.insert(b.end(), extra.begin(), extra.end());
  AnimationInfo info;
  ASSERT_TRUE(animationValidate(b.data(), b.size(), &info));
  EXPECT_EQ(info.frames, 3);
  MemBlock last(animationFrame(b.data(), b.size(), 4, true, nullptr));
  ASSERT_TRUE(last);
  EXPECT_EQ(pixelOf(last.get(), 0, 0), 0x020000u);  // frame 2: blue 2
}

TEST(AnimationBlock, FrameIndexIsClampedAndCarriesItsDelay) {
  Bytes b = numbered(10);
  struct Case {
    int32_t index, frame;
  } cases[] = {{0, 0}, {3, 3}, {9, 9}, {10, 9}, {1000, 9}, {-5, 0}, {INT32_MAX, 9}};
  for (const Case& c : cases) {
    int32_t delay = 0;
    MemBlock frame(animationFrame(b.data(), b.size(), c.index, true, &delay));
    ASSERT_TRUE(frame) << c.index;
    EXPECT_EQ(delay, 10 + c.frame) << c.index;
    EXPECT_EQ(pixelOf(frame.get(), 2, 1), uint32_t(c.frame) << 16) << c.index;
  }
}

TEST(AnimationBlock, FramesOfEveryDepthConvertToTrueColour) {
  // Pixel values chosen so that rows and columns differ, and the palette
  // entry i is (blue i * 40, green i * 20, red 255 - i).
  auto entry = [](uint32_t i) { return ((255 - i) & 0xFF) | ((i * 20) & 0xFF) << 8 | ((i * 40) & 0xFF) << 16; };
  struct Case {
    int bits;
    bool topDown;
    std::function<uint32_t(int, int)> value;
    std::function<uint32_t(uint32_t)> colour;  // value -> 0x00BBGGRR
  };
  auto bgr = [](uint32_t v) { return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF); };
  const Case cases[] = {
      {1, false, [](int x, int y) { return uint32_t((x * 3 + y) % 2); }, entry},
      {4, false, [](int x, int y) { return uint32_t((x + 5 * y) % 16); }, entry},
      {8, false, [](int x, int y) { return uint32_t(x * 37 + y * 11) % 256; }, entry},
      {8, true, [](int x, int y) { return uint32_t(x * 37 + y * 11) % 256; }, entry},
      {24, false, [](int x, int y) { return uint32_t(x * 0x10203 + y * 0x302010); }, bgr},
      {32, false, [](int x, int y) { return uint32_t(0xA0000000u | (x * 0x10203 + y * 0x302010)); },
       [bgr](uint32_t v) { return bgr(v & 0xFFFFFF); }},
      {24, true, [](int x, int y) { return uint32_t(x * 0x10203 + y * 0x302010); }, bgr},
  };
  for (const Case& c : cases) {
    const int w = 7, h = 5;  // odd: every row is padded
    Bytes b = block({{"ANMe", dib(w, h, c.bits, c.value, c.topDown), 4}});
    MemBlock frame(animationFrame(b.data(), b.size(), 0, true, nullptr));
    ASSERT_TRUE(frame) << c.bits;
    MemLock lock(frame.get());
    BitmapView v = BitmapView::of(lock);
    ASSERT_EQ(v.bits(), 24);
    ASSERT_EQ(v.width(), w);
    ASSERT_EQ(v.height(), h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(uint32_t(v.getPixel(x, y)), c.colour(c.value(x, y)))
            << c.bits << (c.topDown ? " top-down" : "") << " at " << x << "," << y;
  }
}

TEST(AnimationBlock, UnconvertedFrameIsTheFramesOwnBitmap) {
  Bytes bitmap = dib(6, 3, 4, [](int x, int y) { return uint32_t(x + y); });
  Bytes b = block({{"ANMe", bitmap, 4}});
  MemBlock frame(animationFrame(b.data(), b.size(), 0, false, nullptr));
  ASSERT_TRUE(frame);
  MemLock lock(frame.get());
  ASSERT_EQ(lock.size(), bitmap.size());
  EXPECT_EQ(std::memcmp(lock.data(), bitmap.data(), bitmap.size()), 0);
}

TEST(AnimationBlock, WriterRoundTripsFramesAndDelays) {
  MemBlock a(bitmapCreateTrueColour(4, 3, 24)), c(bitmapCreateTrueColour(4, 3, 24));
  {
    MemLock la(a.get()), lc(c.get());
    BitmapView::of(la).setPixel(1, 2, 0x123456);
    BitmapView::of(lc).setPixel(3, 0, 0xABCDEF);
  }
  AnimationFrameSource frames[] = {{a.get(), 7}, {c.get(), 0}};
  MemBlock anim(animationBlockBuild(4, 3, 5, frames, 2));
  ASSERT_TRUE(anim);
  {
    MemLock lock(anim.get());
    const uint8_t* p = lock.data();
    EXPECT_EQ(std::memcmp(p, "ANMo", 4), 0);
    EXPECT_EQ(readU32(p + 4), 870u);
    EXPECT_EQ(readU32(p + 8), 4096u);
    EXPECT_EQ(readU32(p + 12), 5u);
    EXPECT_EQ(readU32(p + 16), 2u);
    EXPECT_EQ(readU32(p + 32), 0u);
    const uint8_t* chunk = p + 870;
    EXPECT_EQ(std::memcmp(chunk, "ANMe", 4), 0);
    EXPECT_EQ(readU32(chunk + 4), 2411u);
    EXPECT_EQ(readU32(chunk + 8), 4096u);
    EXPECT_EQ(readU32(chunk + 16), 40u + 12u * 3u);  // rows of 4 x 3 bytes
    EXPECT_EQ(readI32(chunk + 29), 7);
    const uint8_t* end = p + lock.size() - 76;
    EXPECT_EQ(std::memcmp(end, "ANMx", 4), 0);
    EXPECT_EQ(readU32(end + 4), 76u);
    EXPECT_EQ(readU32(end + 8), 4096u);
  }
  AnimationInfo info;
  ASSERT_TRUE(animationValidate(anim.get(), &info));
  EXPECT_EQ(info.frames, 2);
  int32_t delay = -1;
  MemBlock f0(animationFrame(anim.get(), 0, true, &delay));
  EXPECT_EQ(delay, 7);
  EXPECT_EQ(pixelOf(f0.get(), 1, 2), 0x123456u);
  MemBlock f1(animationFrame(anim.get(), 1, true, &delay));
  EXPECT_EQ(delay, 0);
  EXPECT_EQ(pixelOf(f1.get(), 3, 0), 0xABCDEFu);
}

TEST(AnimationBlock, FrameByFrameWriterMakesTheSameBlockAsTheWholeBuild) {
  const int32_t w = 5, h = 3;  // odd: the bitmap rows are padded
  const size_t stride = w * 3 + 2;  // and the source rows are wider than the frame
  auto colour = [](int k, int x, int y) { return uint32_t(k * 0x405060 + x * 0x10203 + y * 0x302010) & 0xFFFFFF; };
  AnimationBlockWriter writer(w, h, 0, 3);  // room for one frame more than is written
  ASSERT_TRUE(writer.ok());
  std::vector<MemBlock> bitmaps;
  std::vector<AnimationFrameSource> sources;
  for (int k = 0; k < 2; ++k) {
    Bytes rgb(stride * h, 0xEE);
    bitmaps.emplace_back(bitmapCreateTrueColour(w, h, 24));
    MemLock lock(bitmaps.back().get());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t c = colour(k, x, y);  // 0xBBGGRR, as setPixel takes it
        rgb[y * stride + x * 3 + 0] = uint8_t(c);
        rgb[y * stride + x * 3 + 1] = uint8_t(c >> 8);
        rgb[y * stride + x * 3 + 2] = uint8_t(c >> 16);
        BitmapView::of(lock).setPixel(x, y, c);
      }
    ASSERT_TRUE(writer.addRgbFrame(rgb.data(), stride, 10 + k));
    sources.push_back({bitmaps.back().get(), 10 + k});
  }
  MemBlock built(animationBlockBuild(w, h, 0, sources.data(), sources.size()));
  MemBlock written(writer.finish());
  ASSERT_TRUE(built);
  ASSERT_TRUE(written);
  MemLock a(built.get()), b(written.get());
  ASSERT_EQ(a.size(), b.size());  // the unused room is given back
  size_t first = 0;
  while (first < a.size() && a.data()[first] == b.data()[first]) ++first;
  EXPECT_EQ(first, a.size()) << "first difference at byte " << first;
}

TEST(AnimationBlock, FrameByFrameWriterKeepsToItsRoom) {
  const uint8_t rgb[12] = {};
  AnimationBlockWriter one(2, 2, 0, 1);
  EXPECT_EQ(one.finish(), MemHandle(0));  // no frame: no block
  AnimationBlockWriter full(2, 2, 0, 1);
  EXPECT_TRUE(full.addRgbFrame(rgb, 6, 0));
  EXPECT_FALSE(full.addRgbFrame(rgb, 6, 0));
  MemBlock block(full.finish());
  AnimationInfo info;
  ASSERT_TRUE(animationValidate(block.get(), &info));
  EXPECT_EQ(info.frames, 1);
  // Numbers that make no block take no room and take no frame.
  struct Room {
    int32_t w, h;
    size_t frames;
  };
  for (const Room& r : {Room{0, 2, 1}, Room{2, 2, 0}, Room{65535, 65535, 1}, Room{100, 100, size_t(1) << 40}}) {
    AnimationBlockWriter bad(r.w, r.h, 0, r.frames);
    EXPECT_FALSE(bad.ok()) << r.w << "x" << r.h << " x" << r.frames;
    EXPECT_FALSE(bad.addRgbFrame(rgb, 6, 0));
  }
  const int failed = expectNoLeaksWhenAllocationsFail(
      3,
      [&] {
        AnimationBlockWriter writer(2, 2, 0, 2);
        writer.addRgbFrame(rgb, 6, 0);
        return writer.finish();
      },
      "writer");
  EXPECT_GE(failed, 1);
}

TEST(AnimationBlock, OperationsLeakNothingWhenAllocationsFail) {
  Bytes b = numbered(2);
  int failed = expectNoLeaksWhenAllocationsFail(
      3, [&] { return animationFrame(b.data(), b.size(), 1, true, nullptr); }, "frame");
  EXPECT_GE(failed, 1);
  failed = expectNoLeaksWhenAllocationsFail(80, [] { return placeholderAnimation(0xFFFFFF, true); }, "placeholder");
  EXPECT_GE(failed, 37);
}

TEST(AnimationPlaceholder, ThirtySixSixteenPixelFramesOverTheBackground) {
  for (bool hundredths : {true, false}) {
    MemBlock anim(placeholderAnimation(0x00FFFF, hundredths));
    ASSERT_TRUE(anim);
    AnimationInfo info;
    ASSERT_TRUE(animationValidate(anim.get(), &info));
    EXPECT_EQ(info.frames, 36);
    EXPECT_EQ(info.width, 16);
    EXPECT_EQ(info.height, 16);
    {
      MemLock lock(anim.get());
      EXPECT_EQ(readU32(lock.data() + 12), 2u | 8u);
    }
    for (int k : {0, 17, 35}) {
      int32_t delay = 0;
      MemBlock frame(animationFrame(anim.get(), k, true, &delay));
      ASSERT_TRUE(frame);
      EXPECT_EQ(delay, hundredths ? 60 : 600);
      // The corners lie outside the ring: pure background (yellow).
      EXPECT_EQ(pixelOf(frame.get(), 0, 0), 0x00FFFFu);
      EXPECT_EQ(pixelOf(frame.get(), 15, 15), 0x00FFFFu);
    }
  }
}

TEST(AnimationPlaceholder, FramesDifferAndTheLoopCloses) {
  MemBlock anim(placeholderAnimation(0xFFFFFF, true));
  auto bytesOf = [&](int k) {
    MemBlock f(animationFrame(anim.get(), k, true, nullptr));
    MemLock lock(f.get());
    return Bytes(lock.data(), lock.data() + lock.size());
  };
  Bytes first = bytesOf(0);
  for (int k = 1; k < 36; ++k) EXPECT_NE(bytesOf(k), first) << k;
  EXPECT_NE(bytesOf(35), bytesOf(34));
}

}  // namespace
}  // namespace gw
