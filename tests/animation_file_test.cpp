// The command-line host's decoding of animation files into animation blocks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/animation_file.h"
#include "cli/png_io.h"
#include "cli/received_animation.h"
#include "cli/truecolour_writers.h"
#include "controls/animation_block.h"
#include "platform/bitmap.h"
#include "tests/temp_folder.h"
#include "tests/test_animations.h"

namespace gw::cli {
namespace {

// Colours as 0x00BBGGRR, as a converted frame's getPixel gives them.
constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kYellow = 0x00FFFF, kBlack = 0;

std::vector<uint32_t> framePixels(MemHandle block, int index, int32_t* delay, int32_t* w, int32_t* h) {
  MemBlock frame(animationFrame(block, index, true, delay));
  std::vector<uint32_t> out;
  if (!frame) return out;
  MemLock lock(frame.get());
  BitmapView v = BitmapView::of(lock);
  *w = v.width();
  *h = v.height();
  for (int32_t y = 0; y < v.height(); ++y)
    for (int32_t x = 0; x < v.width(); ++x) out.push_back(uint32_t(v.getPixel(x, y)));
  return out;
}

TEST(AnimationFile, GifFramesAreCompositedWithDisposalTransparencyAndLocalTables) {
  TempFolder dir("anim");
  const std::vector<GifColorType> global = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  std::vector<TestGifFrame> frames(4);
  // 0: the whole 6 x 4 screen red, left in place.
  frames[0] = {0, 0, 6, 4, std::vector<GifByteType>(24, 1), 10, DISPOSE_DO_NOT};
  // 1: a 3 x 2 patch at (1, 1) from its own table, index 0 transparent, then
  // disposed to the background (index 3, blue).
  frames[1] = {1, 1, 3, 2, {1, 0, 1, 0, 1, 0}, 20, DISPOSE_BACKGROUND, 0, {{255, 255, 255}, {255, 255, 0}}};
  // 2: green 2 x 2 at (4, 0), then the screen goes back to what it was before.
  frames[2] = {4, 0, 2, 2, {2, 2, 2, 2}, 30, DISPOSE_PREVIOUS};
  // 3: one green pixel at (0, 3); a frame reaching past the screen is clipped.
  frames[3] = {0, 3, 1, 1, {2}, 0, DISPOSE_DO_NOT};
  const std::string path = dir.file("t.gif");
  ASSERT_TRUE(writeTestGif(path, 6, 4, global, 3, frames));

  std::string error;
  MemBlock block(decodeAnimationFile(path, &error));
  ASSERT_TRUE(block) << error;
  AnimationInfo info;
  ASSERT_TRUE(animationValidate(block.get(), &info));
  EXPECT_EQ(info.frames, 4);
  EXPECT_EQ(info.width, 6);
  EXPECT_EQ(info.height, 4);

  const uint32_t R = kRed, Y = kYellow, B = kBlue, G = kGreen, K = kBlack;
  (void)K;
  const std::vector<std::vector<uint32_t>> expected = {
      {R, R, R, R, R, R,  R, R, R, R, R, R,  R, R, R, R, R, R,  R, R, R, R, R, R},
      {R, R, R, R, R, R,  R, Y, R, Y, R, R,  R, R, Y, R, R, R,  R, R, R, R, R, R},
      {R, R, R, R, G, G,  R, B, B, B, G, G,  R, B, B, B, R, R,  R, R, R, R, R, R},
      {R, R, R, R, R, R,  R, B, B, B, R, R,  R, B, B, B, R, R,  G, R, R, R, R, R},
  };
  // The delays giflib itself reads from the file.
  int err = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &err);
  ASSERT_TRUE(gif);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  ASSERT_EQ(gif->ImageCount, 4);
  for (int k = 0; k < 4; ++k) {
    GraphicsControlBlock gcb;
    ASSERT_EQ(DGifSavedExtensionToGCB(gif, k, &gcb), GIF_OK);
    int32_t delay = -1, w = 0, h = 0;
    std::vector<uint32_t> pixels = framePixels(block.get(), k, &delay, &w, &h);
    EXPECT_EQ(delay, gcb.DelayTime) << k;
    EXPECT_EQ(w, 6);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(pixels, expected[size_t(k)]) << "frame " << k;
  }
  DGifCloseFile(gif, &err);
}

TEST(AnimationFile, WebpFramesKeepTheirPixelsAndDelays) {
  TempFolder dir("anim");
  ReceivedAnimation a;
  a.width = 5;
  a.height = 3;
  const uint32_t colours[2] = {0x203040, 0xC0B0A0};
  for (int k = 0; k < 2; ++k) {
    MemBlock bmp(bitmapCreateTrueColour(5, 3, 24));
    MemLock lock(bmp.get());
    BitmapView v = BitmapView::of(lock);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) v.setPixel(x, y, x == k ? 0x0000FF : colours[k]);
    ReceivedFrame f;
    f.dib.assign(lock.data(), lock.data() + lock.size());
    f.delay = k == 0 ? 7 : 25;
    a.frames.push_back(f);
  }
  const std::string path = dir.file("t.webp");
  std::string error;
  ASSERT_TRUE(writeAnimatedWebp(a, path, &error)) << error;
  MemBlock block(decodeAnimationFile(path, &error));
  ASSERT_TRUE(block) << error;
  for (int k = 0; k < 2; ++k) {
    int32_t delay = -1, w = 0, h = 0;
    std::vector<uint32_t> pixels = framePixels(block.get(), k, &delay, &w, &h);
    ASSERT_EQ(pixels.size(), 15u);
    EXPECT_EQ(delay, k == 0 ? 7 : 25);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(pixels[size_t(y * 5 + x)], x == k ? 0x0000FFu : colours[k]) << k;
  }
}

TEST(AnimationFile, APngIsOneFrameWithoutDelay) {
  TempFolder dir("anim");
  MemBlock bmp(bitmapCreateTrueColour(4, 2, 24));
  {
    MemLock lock(bmp.get());
    BitmapView::of(lock).setPixel(3, 1, 0x123456);
  }
  std::string error;
  const std::string path = dir.file("one.png");
  ASSERT_TRUE(writeBitmapAsPng(bmp.get(), path, &error)) << error;
  MemBlock block(decodeAnimationFile(path, &error));
  ASSERT_TRUE(block) << error;
  int32_t delay = -1, w = 0, h = 0;
  std::vector<uint32_t> pixels = framePixels(block.get(), 0, &delay, &w, &h);
  EXPECT_EQ(delay, 0);
  ASSERT_EQ(pixels.size(), 8u);
  EXPECT_EQ(pixels[7], 0x123456u);
  AnimationInfo info;
  ASSERT_TRUE(animationValidate(block.get(), &info));
  EXPECT_EQ(info.frames, 1);
}

TEST(AnimationFile, FilesThatCannotBeDecodedGiveAClearError) {
  TempFolder dir("anim");
  const std::string good = dir.file("good.gif");
  ASSERT_TRUE(writeSolidGif(good, 8, 8, {{0, 0, 0}, {255, 255, 255}}, {5, 5}));
  std::vector<uint8_t> bytes;
  {
    FILE* f = std::fopen(good.c_str(), "rb");
    ASSERT_TRUE(f);
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(uint8_t(c));
    std::fclose(f);
  }
  auto write = [&](const std::string& name, const std::vector<uint8_t>& data) {
    FILE* f = std::fopen(dir.file(name).c_str(), "wb");
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
    return dir.file(name);
  };
  const std::string cases[] = {
      dir.file("missing.gif"),
      write("text.gif", {'h', 'e', 'l', 'l', 'o'}),
      write("empty.gif", {}),
      write("header.gif", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 13)),
      write("fake.webp", {'R', 'I', 'F', 'F', 9, 0, 0, 0, 'W', 'E', 'B', 'P', 0}),
      write("fake.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0}),
  };
  for (const std::string& path : cases) {
    std::string error;
    EXPECT_EQ(decodeAnimationFile(path, &error), 0u) << path;
    EXPECT_NE(error.find(path), std::string::npos) << error;
  }
  // A GIF cut inside its second frame still gives its first.
  for (size_t n = 14; n < bytes.size(); n += 7) {
    std::string error;
    MemBlock block(decodeAnimationFile(write("cut.gif", std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(n))),
                                       &error));
    if (block) {
      EXPECT_TRUE(animationValidate(block.get(), nullptr)) << n;
    }
  }
}

}  // namespace
}  // namespace gw::cli
