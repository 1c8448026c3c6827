// The GIF writer's own choices -- the box a frame left in place is cropped
// to, what it stores for pixels that show no change -- must leave a decoder
// showing exactly the screens the frames describe.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/gif_writer.h"
#include "platform/bitmap.h"
#include "platform/memory.h"

namespace gw::cli {
namespace {

constexpr int kWidth = 12, kHeight = 6, kTransparent = 255;

struct Palette {
  uint8_t rgb[768] = {};
};

Palette globalPalette() {
  Palette p;
  for (int i = 0; i < 256; ++i) {
    p.rgb[i * 3] = uint8_t(i);
    p.rgb[i * 3 + 1] = uint8_t(255 - i);
    p.rgb[i * 3 + 2] = uint8_t(i * 7);
  }
  return p;
}

ReceivedFrame makeFrame(const Palette& palette, const std::vector<uint8_t>& pixels, int transparentIndex) {
  MemBlock block(bitmapCreateWithPalette(kWidth, kHeight, palette.rgb, 8));
  MemLock lock(block.get());
  ReceivedFrame f;
  f.dib.assign(lock.data(), lock.data() + lock.size());
  BitmapView v = BitmapView::over(f.dib.data(), f.dib.size());
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x) v.setPixel(x, y, pixels[size_t(y * kWidth + x)]);
  f.delay = 5;
  f.transparentIndex = transparentIndex;
  return f;
}

// The screens the frames describe, as 0xRRGGBB: a frame's transparent pixels
// keep what was there.
std::vector<std::vector<uint32_t>> describedScreens(const ReceivedAnimation& a) {
  std::vector<uint32_t> screen(size_t(kWidth) * kHeight, 0);
  std::vector<std::vector<uint32_t>> out;
  for (const ReceivedFrame& f : a.frames) {
    std::vector<uint8_t> dib = f.dib;
    BitmapView v = BitmapView::over(dib.data(), dib.size());
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) {
        int64_t index = v.getPixel(x, y);
        if (index == f.transparentIndex) continue;
        const uint8_t* e = v.colourTable() + index * 4;
        screen[size_t(y * kWidth + x)] = (uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0];
      }
    out.push_back(screen);
  }
  return out;
}

struct Decoded {
  std::vector<std::vector<uint32_t>> screens;
  std::vector<GifImageDesc> boxes;
  std::vector<int> delays;
};

// Plays the file as a viewer would (every frame here is left in place).
bool decode(const std::string& path, Decoded* out) {
  int err = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &err);
  if (!gif) return false;
  bool ok = DGifSlurp(gif) == GIF_OK && gif->SWidth == kWidth && gif->SHeight == kHeight;
  std::vector<uint32_t> screen(size_t(kWidth) * kHeight, 0);
  for (int i = 0; ok && i < gif->ImageCount; ++i) {
    const SavedImage& img = gif->SavedImages[i];
    GraphicsControlBlock gcb;
    ok = DGifSavedExtensionToGCB(gif, i, &gcb) == GIF_OK;
    const ColorMapObject* map = img.ImageDesc.ColorMap ? img.ImageDesc.ColorMap : gif->SColorMap;
    const GifImageDesc& d = img.ImageDesc;
    ok = ok && map && d.Left >= 0 && d.Top >= 0 && d.Left + d.Width <= kWidth && d.Top + d.Height <= kHeight;
    for (int y = 0; ok && y < d.Height; ++y)
      for (int x = 0; x < d.Width; ++x) {
        int index = img.RasterBits[y * d.Width + x];
        if (index == gcb.TransparentColor) continue;
        const GifColorType& c = map->Colors[index];
        screen[size_t((d.Top + y) * kWidth + d.Left + x)] = (uint32_t(c.Red) << 16) | (uint32_t(c.Green) << 8) | c.Blue;
      }
    out->screens.push_back(screen);
    out->boxes.push_back(d);
    out->delays.push_back(gcb.DelayTime);
  }
  DGifCloseFile(gif, &err);
  return ok;
}

std::string tempPath(const char* name) { return ::testing::TempDir() + "gif_writer_" + name; }

ReceivedAnimation animation() {
  ReceivedAnimation a;
  a.colourBits = 8;
  a.width = kWidth;
  a.height = kHeight;
  Palette p = globalPalette();
  std::copy(p.rgb, p.rgb + 768, a.palette);
  return a;
}

TEST(GifWriter, FramesLeftInPlaceShowTheScreensTheyDescribe) {
  ReceivedAnimation a = animation();
  const Palette global = globalPalette();
  // A first frame in stripes of 3 and 4.
  std::vector<uint8_t> first(size_t(kWidth) * kHeight);
  for (size_t i = 0; i < first.size(); ++i) first[i] = (i / 3) % 2 ? 3 : 4;
  a.frames.push_back(makeFrame(global, first, -1));

  // Then a frame that marks most pixels unchanged, repeats the colour shown
  // in two more (which draw nothing new either) and changes a 2 x 2 square.
  std::vector<uint8_t> second(first.size(), kTransparent);
  second[0] = first[0];
  second[size_t(kWidth * kHeight - 1)] = first.back();
  for (int y = 2; y < 4; ++y)
    for (int x = 5; x < 7; ++x) second[size_t(y * kWidth + x)] = 9;
  a.frames.push_back(makeFrame(global, second, kTransparent));

  // Then one whose own table shows another colour at index 3: its unchanged
  // pixels over the 3s of the first frame must not be stored as 3, however
  // well 3 would continue the runs of new 3s around them.
  Palette own = global;
  own.rgb[9] = 1;
  own.rgb[10] = 2;
  own.rgb[11] = 3;
  std::vector<uint8_t> third(first.size(), kTransparent);
  for (int x = 0; x < kWidth; ++x) third[size_t(4 * kWidth + x)] = third[size_t(5 * kWidth + x)] = 3;
  for (int x = 0; x < kWidth; x += 4) third[size_t(5 * kWidth + x)] = kTransparent;
  a.frames.push_back(makeFrame(own, third, kTransparent));

  // And one with nothing new at all.
  a.frames.push_back(makeFrame(global, std::vector<uint8_t>(first.size(), kTransparent), kTransparent));

  std::string path = tempPath("screens.gif"), error;
  ASSERT_TRUE(writeGif(a, path, &error)) << error;
  Decoded d;
  ASSERT_TRUE(decode(path, &d));
  std::remove(path.c_str());
  auto expected = describedScreens(a);
  ASSERT_EQ(d.screens.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(d.screens[i], expected[i]) << "frame " << i;

  // Only the changed square is stored of the second frame; the last keeps one pixel.
  EXPECT_EQ(d.boxes[1].Left, 5);
  EXPECT_EQ(d.boxes[1].Top, 2);
  EXPECT_EQ(d.boxes[1].Width, 2);
  EXPECT_EQ(d.boxes[1].Height, 2);
  EXPECT_EQ(d.boxes[3].Width, 1);
  EXPECT_EQ(d.boxes[3].Height, 1);
}

// Frames without a transparent index, left in place: each after the first
// is stored as the box of what it changes, at its place.
TEST(GifWriter, OpaqueFramesLeftInPlaceAreStoredAsWhatTheyChange) {
  ReceivedAnimation a = animation();
  const Palette global = globalPalette();
  std::vector<uint8_t> pixels(size_t(kWidth) * kHeight);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i % 7 + 1);
  a.frames.push_back(makeFrame(global, pixels, -1));
  std::vector<uint8_t> patched = pixels;
  patched[size_t(1 * kWidth + 8)] = 40;  // a patch from (8, 1) to (10, 3)
  patched[size_t(3 * kWidth + 10)] = 41;
  a.frames.push_back(makeFrame(global, patched, -1));
  a.frames.push_back(makeFrame(global, patched, -1));  // nothing new
  a.frames.back().delay = 37;
  std::vector<uint8_t> corner = patched;
  corner.back() = 42;
  a.frames.push_back(makeFrame(global, corner, -1));
  // Its own table shows another colour at index 1: every pixel of index 1
  // changes, although the index is the same.
  Palette own = global;
  own.rgb[3] = 200;
  a.frames.push_back(makeFrame(own, corner, -1));

  std::string path = tempPath("opaque.gif"), error;
  ASSERT_TRUE(writeGif(a, path, &error)) << error;
  Decoded d;
  ASSERT_TRUE(decode(path, &d));
  std::remove(path.c_str());
  ASSERT_EQ(d.screens.size(), a.frames.size());
  EXPECT_EQ(d.screens, describedScreens(a));
  struct Box {
    int left, top, width, height;
  };
  int firstOne = kWidth * kHeight, lastOne = -1;  // where index 1 is, in the last frame
  for (int i = 0; i < kWidth * kHeight; ++i)
    if (corner[size_t(i)] == 1) firstOne = std::min(firstOne, i), lastOne = i;
  const Box expected[] = {{0, 0, kWidth, kHeight},
                          {8, 1, 3, 3},
                          {0, 0, 1, 1},
                          {kWidth - 1, kHeight - 1, 1, 1},
                          {0, firstOne / kWidth, kWidth, lastOne / kWidth - firstOne / kWidth + 1}};
  for (size_t i = 0; i < a.frames.size(); ++i) {
    EXPECT_EQ(d.boxes[i].Left, expected[i].left) << "frame " << i;
    EXPECT_EQ(d.boxes[i].Top, expected[i].top) << "frame " << i;
    EXPECT_EQ(d.boxes[i].Width, expected[i].width) << "frame " << i;
    EXPECT_EQ(d.boxes[i].Height, expected[i].height) << "frame " << i;
    EXPECT_EQ(d.delays[i], a.frames[i].delay) << "frame " << i;
  }
}

TEST(GifWriter, FramesWhoseBackgroundIsRestoredAreStoredWhole) {
  ReceivedAnimation a = animation();
  const Palette global = globalPalette();
  std::vector<uint8_t> pixels(size_t(kWidth) * kHeight, 3);
  for (int i = 0; i < 3; ++i) {
    pixels[size_t(i)] = 9;  // one pixel more each frame
    a.frames.push_back(makeFrame(global, pixels, kTransparent));
    a.frames.back().transparent = true;
  }
  std::string path = tempPath("restored.gif"), error;
  ASSERT_TRUE(writeGif(a, path, &error)) << error;
  Decoded d;
  ASSERT_TRUE(decode(path, &d));
  std::remove(path.c_str());
  ASSERT_EQ(d.boxes.size(), 3u);
  for (const GifImageDesc& box : d.boxes) {
    EXPECT_EQ(box.Left, 0);
    EXPECT_EQ(box.Top, 0);
    EXPECT_EQ(box.Width, kWidth);
    EXPECT_EQ(box.Height, kHeight);
  }
  EXPECT_EQ(d.screens, describedScreens(a));
}

std::vector<uint8_t> readFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(uint8_t(c));
    std::fclose(f);
  }
  return bytes;
}

TEST(GifWriter, FramesSharingAWayOfCodingShowTheirScreensWhateverTheThreads) {
  // Frames left in place, each coded the way its group's first frame chose,
  // in groups cut across batches and by the end of the animation: the screens
  // must be those described and the bytes the same for any thread count.
  ReceivedAnimation a = animation();
  const Palette global = globalPalette();
  std::vector<uint8_t> pixels(size_t(kWidth) * kHeight);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t((i / 5) % 3 + 1);
  a.frames.push_back(makeFrame(global, pixels, -1));
  uint32_t seed = 7;
  for (int f = 1; f < 11; ++f) {
    std::vector<uint8_t> next(pixels.size(), kTransparent);
    for (size_t i = 0; i < next.size(); ++i) {
      seed = seed * 22695477u + 1;
      if ((seed >> 16) % 4 == 0) next[i] = uint8_t((seed >> 8) % 5 + 1);
    }
    a.frames.push_back(makeFrame(global, next, kTransparent));
  }
  // And opaque frames, each cropped to a patch that moves.
  for (int f = 0; f < 7; ++f) {
    for (int y = 1; y < 4; ++y) pixels[size_t(y * kWidth + f)] = uint8_t(f + 20);
    a.frames.push_back(makeFrame(global, pixels, -1));
  }
  std::vector<uint8_t> bytes[3];
  const char* threads[] = {"1", "2", "5"};
  for (int t = 0; t < 3; ++t) {
    ::setenv("GLYPHWRIGHT_THREADS", threads[t], 1);
    std::string path = tempPath("groups.gif"), error;
    ASSERT_TRUE(writeGif(a, path, &error)) << error;
    Decoded d;
    ASSERT_TRUE(decode(path, &d));
    EXPECT_EQ(d.screens, describedScreens(a)) << threads[t];
    bytes[t] = readFile(path);
    std::remove(path.c_str());
  }
  ::unsetenv("GLYPHWRIGHT_THREADS");
  EXPECT_FALSE(bytes[0].empty());
  EXPECT_EQ(bytes[1], bytes[0]);
  EXPECT_EQ(bytes[2], bytes[0]);
}

TEST(GifWriter, AFrameOfAnotherSizeIsRefusedAndLeavesNoFile) {
  ReceivedAnimation a = animation();
  a.frames.push_back(makeFrame(globalPalette(), std::vector<uint8_t>(size_t(kWidth) * kHeight, 1), -1));
  a.width = kWidth + 5;  // the frame is narrower than the screen
  std::string path = tempPath("size.gif"), error;
  std::remove(path.c_str());
  EXPECT_FALSE(writeGif(a, path, &error));
  EXPECT_NE(error.find("size"), std::string::npos) << error;
  EXPECT_NE(access(path.c_str(), F_OK), 0);
  EXPECT_NE(access((path + ".tmp").c_str(), F_OK), 0);
}

}  // namespace
}  // namespace gw::cli
