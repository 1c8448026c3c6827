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
  frames[0] = {0, 0, 6, 4, std::vector<GifByteType>(24, 1), 10, DISPOSE_DO_NOT, NO_TRANSPARENT_COLOR, {}, false};
  // 1: a 3 x 2 patch at (1, 1) from its own table, index 0 transparent, then
  // disposed to the background (index 3, blue).
  frames[1] = {1, 1, 3, 2, {1, 0, 1, 0, 1, 0}, 20, DISPOSE_BACKGROUND, 0, {{255, 255, 255}, {255, 255, 0}}, false};
  // 2: green 2 x 2 at (4, 0), then the screen goes back to what it was before.
  frames[2] = {4, 0, 2, 2, {2, 2, 2, 2}, 30, DISPOSE_PREVIOUS, NO_TRANSPARENT_COLOR, {}, false};
  // 3: one green pixel at (0, 3); a frame reaching past the screen is clipped.
  frames[3] = {0, 3, 1, 1, {2}, 0, DISPOSE_DO_NOT, NO_TRANSPARENT_COLOR, {}, false};
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
    if (!data.empty()) std::fwrite(data.data(), 1, data.size(), f);  // an empty vector's data() may be null
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

TEST(AnimationFile, InterlacedGifRowsLandWhereTheyBelong) {
  TempFolder dir("anim");
  // 2 x 11: row y in colour index y % 4, stored in the four interlace passes.
  TestGifFrame f;
  f.width = 2;
  f.height = 11;
  for (int y = 0; y < 11; ++y) f.pixels.insert(f.pixels.end(), 2, GifByteType(y % 4));
  f.interlaced = true;
  const std::string path = dir.file("i.gif");
  ASSERT_TRUE(writeTestGif(path, 2, 11, {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, 0, {f}));
  std::string error;
  MemBlock block(decodeAnimationFile(path, &error));
  ASSERT_TRUE(block) << error;
  int32_t delay = 0, w = 0, h = 0;
  std::vector<uint32_t> pixels = framePixels(block.get(), 0, &delay, &w, &h);
  ASSERT_EQ(pixels.size(), 22u);
  const uint32_t byIndex[4] = {kBlack, kRed, kGreen, kBlue};
  for (int y = 0; y < 11; ++y) EXPECT_EQ(pixels[size_t(y) * 2], byIndex[y % 4]) << y;
}

std::vector<uint8_t> bytesOf(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  int c;
  while ((c = std::fgetc(f)) != EOF) bytes.push_back(uint8_t(c));
  std::fclose(f);
  return bytes;
}

std::string writeBytes(const TempFolder& dir, const std::string& name, const std::vector<uint8_t>& data) {
  const std::string path = dir.file(name);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f) {
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
  }
  return path;
}

// A few bytes may declare a canvas of a gigabyte, an image far larger than
// its screen, or more frames than memory holds: each is refused before the
// memory is taken, with an error that says why.
TEST(AnimationFile, SmallFilesDeclaringHugeAnimationsAreRefusedBeforeTheyCostAnything) {
  TempFolder dir("anim");
  const std::string one = dir.file("one.gif");
  ASSERT_TRUE(writeSolidGif(one, 1, 1, {{0, 0, 0}, {255, 255, 255}}, {5}));
  const std::vector<uint8_t> gif = bytesOf(one);
  ASSERT_GT(gif.size(), 30u);
  auto withScreen = [&](int w, int h) {
    std::vector<uint8_t> b = gif;
    b[6] = uint8_t(w), b[7] = uint8_t(w >> 8), b[8] = uint8_t(h), b[9] = uint8_t(h >> 8);
    return b;
  };
  // The image descriptor's width and height follow its separator (0x2C).
  auto withImage = [&](int w, int h) {
    std::vector<uint8_t> b = gif;
    for (size_t i = 13; i + 9 < b.size(); ++i)
      if (b[i] == 0x2C && b[i + 1] == 0 && b[i + 3] == 0) {
        b[i + 5] = uint8_t(w), b[i + 6] = uint8_t(w >> 8), b[i + 7] = uint8_t(h), b[i + 8] = uint8_t(h >> 8);
        break;
      }
    return b;
  };
  // The first frame copied 4000 times: each costs 13 file bytes and 48 MB
  // on a 4000 x 4000 screen.
  std::vector<uint8_t> many = withScreen(4000, 4000);
  {
    size_t image = 0;
    for (size_t i = 13; i < many.size(); ++i)
      if (many[i] == 0x21 && many[i + 1] == 0xF9) {
        image = i;
        break;
      }
    ASSERT_GT(image, 0u);
    std::vector<uint8_t> frame(many.begin() + long(image), many.end() - 1);
    many.resize(image);
    for (int k = 0; k < 4000; ++k) many.insert(many.end(), frame.begin(), frame.end());
    many.push_back(0x3B);
  }
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* why;
  } cases[] = {
      {"screen.gif", withScreen(30000, 20000), "too large"},
      {"image.gif", withImage(65535, 65535), "too large"},
      {"many.gif", many, "too large"},
  };
  for (const auto& c : cases) {
    std::string error;
    const std::string path = writeBytes(dir, c.name, c.bytes);
    EXPECT_EQ(decodeAnimationFile(path, &error), 0u) << c.name;
    EXPECT_NE(error.find(c.why), std::string::npos) << c.name << ": " << error;
  }

  // A WebP whose container declares an 8192-square canvas over two 4 x 3
  // frames: 400 MB of frames, and twice that of the decoder's canvases.
  ReceivedAnimation a;
  a.width = 4;
  a.height = 3;
  MemBlock bmp(bitmapCreateTrueColour(4, 3, 24));
  MemLock lock(bmp.get());
  ReceivedFrame f;
  f.dib.assign(lock.data(), lock.data() + lock.size());
  a.frames = {f, f};
  a.frames[1].dib.back() = 0x7F;
  std::string error;
  const std::string webpPath = dir.file("big.webp");
  ASSERT_TRUE(writeAnimatedWebp(a, webpPath, &error)) << error;
  std::vector<uint8_t> webp = bytesOf(webpPath);
  ASSERT_GT(webp.size(), 30u);
  ASSERT_EQ(std::memcmp(webp.data() + 12, "VP8X", 4), 0);
  for (size_t at : {size_t(24), size_t(27)}) webp[at] = 0xFF, webp[at + 1] = 0x1F, webp[at + 2] = 0;  // 8192 - 1
  EXPECT_EQ(decodeAnimationFile(writeBytes(dir, "big.webp", webp), &error), 0u);
  EXPECT_NE(error.find("too large"), std::string::npos) << error;

  // Within the budget the same files decode: the bound is not a refusal of
  // large screens as such.
  MemBlock fits(decodeAnimationFile(writeBytes(dir, "fits.gif", withScreen(2000, 1000)), &error));
  ASSERT_TRUE(fits) << error;
  AnimationInfo info;
  ASSERT_TRUE(animationValidate(fits.get(), &info));
  EXPECT_EQ(info.width, 2000);
  EXPECT_EQ(info.frames, 1);
}

// Damage after complete frames keeps them; the frame the damage cuts is
// dropped, whatever record it lands in.
TEST(AnimationFile, GifDamagedAfterCompleteFramesKeepsThem) {
  TempFolder dir("anim");
  const std::string good = dir.file("good.gif");
  ASSERT_TRUE(writeSolidGif(good, 4, 4, {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 255, 0}}, {5, 6, 7}));
  std::vector<uint8_t> bytes = bytesOf(good);
  // Without its trailer every frame is there.
  std::vector<uint8_t> noTrailer(bytes.begin(), bytes.end() - 1);
  std::string error;
  MemBlock all(decodeAnimationFile(writeBytes(dir, "t.gif", noTrailer), &error));
  ASSERT_TRUE(all) << error;
  AnimationInfo info;
  ASSERT_TRUE(animationValidate(all.get(), &info));
  EXPECT_EQ(info.frames, 3);
  // A record type no GIF has, in place of the third frame's extension.
  size_t third = 0;
  for (size_t i = 13, seen = 0; i + 1 < bytes.size(); ++i)
    if (bytes[i] == 0x21 && bytes[i + 1] == 0xF9 && ++seen == 3) third = i;
  ASSERT_GT(third, 0u);
  bytes[third] = 0x99;
  MemBlock two(decodeAnimationFile(writeBytes(dir, "d.gif", bytes), &error));
  ASSERT_TRUE(two) << error;
  ASSERT_TRUE(animationValidate(two.get(), &info));
  EXPECT_EQ(info.frames, 2);
}

}  // namespace
}  // namespace gw::cli
