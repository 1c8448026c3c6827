// Rendering as a user does: the plug-in's build through the in-memory
// dialog, written as a GIF, read back by giflib and by ImageMagick.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include "tests/cli_runner.h"
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/dialog_session.h"
#include "cli/gif_writer.h"
#include "cli/render_host.h"
#include "cli/render_options.h"
#include "host/build_pipeline.h"
#include "platform/bitmap.h"
#include "settings/settings_record.h"

namespace gw::cli {
namespace {

std::string tempName(const std::string& name) {
  return "/tmp/gw-render-test-" + std::to_string(getpid()) + "-" + name;
}

std::string readAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}



// Builds in this process with the given options; the settings record is
// process-wide, so it is put back to the defaults first.
class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override { settings() = SettingsRecord{}; }
  void TearDown() override { settings() = SettingsRecord{}; }

  bool build(std::vector<std::string> args) {
    RenderOptions options;
    std::string error;
    args.push_back("-o");
    args.push_back("unused.gif");
    EXPECT_TRUE(parseRenderOptions(args, &options, &error)) << error;
    applyOutputDefaults(&options);
    DialogSession session;
    if (!session.prepare(options, host.params(), &error)) {
      ADD_FAILURE() << error;
      return false;
    }
    return runBuild(session.dialog(), host.params(), 0) == 1;
  }

  // The screen a viewer shows after each frame: transparent pixels keep what
  // was there. Colours as 0xRRGGBB.
  std::vector<std::vector<uint32_t>> composited() {
    const ReceivedAnimation& a = host.animation();
    std::vector<uint32_t> screen(size_t(a.width) * size_t(a.height), 0);
    std::vector<std::vector<uint32_t>> out;
    for (const ReceivedFrame& f : a.frames) {
      std::vector<uint8_t> dib = f.dib;
      BitmapView v = BitmapView::over(dib.data(), dib.size());
      for (int32_t y = 0; y < v.height(); ++y)
        for (int32_t x = 0; x < v.width(); ++x) {
          int64_t index = v.getPixel(x, y);
          if (index == f.transparentIndex) continue;
          const uint8_t* e = v.colourTable() + index * 4;
          screen[size_t(y) * size_t(a.width) + size_t(x)] = (uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0];
        }
      out.push_back(screen);
    }
    return out;
  }

  RenderHost host;
};

// The command line writes a GIF from the plug-in's own images as the task
// ends, keeping no copies: the same bytes as from copies, for plain,
// supercompressed and transparent builds, and no handle outlives the task.
TEST_F(RenderTest, GifWrittenAsTheTaskEndsEqualsOneWrittenFromCopies) {
  const std::vector<std::vector<std::string>> kBuilds = {
      {"--frames", "5", "--comment"}, {"--frames", "5", "--supercompress"}, {"--frames", "4", "--transparent"}};
  for (const auto& args : kBuilds) {
    ASSERT_TRUE(build(args));
    std::string copied = tempName("copied.gif"), borrowed = tempName("borrowed.gif"), error;
    ASSERT_TRUE(writeGif(host.animation(), copied, &error)) << error;
    host.clear();
    host.copyFrames = false;
    bool written = false;
    size_t frames = 0;
    host.onTaskDone = [&](const ReceivedAnimation& a) {
      frames = a.frames.size();
      for (const ReceivedFrame& f : a.frames) EXPECT_TRUE(f.dib.empty() && f.image != 0);
      written = writeGif(a, borrowed, &error);
    };
    settings() = SettingsRecord{};
    ASSERT_TRUE(build(args));
    host.copyFrames = true;
    host.onTaskDone = nullptr;
    EXPECT_TRUE(written) << error;
    EXPECT_GE(frames, 4u);
    for (const ReceivedFrame& f : host.animation().frames) EXPECT_EQ(f.image, 0u);
    EXPECT_EQ(readAll(copied), readAll(borrowed)) << args[2];
    std::remove(copied.c_str());
    std::remove(borrowed.c_str());
    settings() = SettingsRecord{};
  }
}

TEST_F(RenderTest, GifDecodesWithGiflibToTheFramesTheBuildMade) {
  ASSERT_TRUE(build({"--frames", "6", "--comment"}));
  const ReceivedAnimation& a = host.animation();
  ASSERT_EQ(a.frames.size(), 6u);
  std::string path = tempName("giflib.gif"), error;
  ASSERT_TRUE(writeGif(a, path, &error)) << error;

  int err = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &err);
  ASSERT_NE(gif, nullptr);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  EXPECT_EQ(gif->SWidth, a.width);
  EXPECT_EQ(gif->SHeight, a.height);
  ASSERT_EQ(gif->ImageCount, 6);
  ASSERT_NE(gif->SColorMap, nullptr);
  EXPECT_EQ(gif->SColorMap->BitsPerPixel, int(a.colourBits));
  bool sawLoop = false, sawComment = false;
  for (int e = 0; e < gif->SavedImages[0].ExtensionBlockCount; ++e)
    sawLoop |= gif->SavedImages[0].ExtensionBlocks[e].Function == APPLICATION_EXT_FUNC_CODE;
  for (int e = 0; e < gif->ExtensionBlockCount; ++e) sawComment |= gif->ExtensionBlocks[e].Function == COMMENT_EXT_FUNC_CODE;
  EXPECT_TRUE(sawLoop);
  EXPECT_TRUE(sawComment);
  // Frames are left in place, each stored as the box of what it changes:
  // drawn in turn, they must show the frames the build made.
  std::vector<uint8_t> screen(size_t(a.width) * size_t(a.height), 0);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& img = gif->SavedImages[i];
    GraphicsControlBlock gcb;
    ASSERT_EQ(DGifSavedExtensionToGCB(gif, i, &gcb), GIF_OK);
    EXPECT_EQ(gcb.DelayTime, a.frames[size_t(i)].delay);
    EXPECT_EQ(gcb.TransparentColor, NO_TRANSPARENT_COLOR);
    const GifImageDesc& d = img.ImageDesc;
    ASSERT_TRUE(d.Left >= 0 && d.Top >= 0 && d.Width > 0 && d.Height > 0 && d.Left + d.Width <= a.width &&
                d.Top + d.Height <= a.height);
    if (i == 0) {
      ASSERT_EQ(d.Width * d.Height, a.width * a.height);
    }
    for (int y = 0; y < d.Height; ++y)
      for (int x = 0; x < d.Width; ++x)
        screen[size_t(d.Top + y) * size_t(a.width) + size_t(d.Left + x)] = img.RasterBits[size_t(y * d.Width + x)];
    std::vector<uint8_t> dib = a.frames[size_t(i)].dib;
    BitmapView v = BitmapView::over(dib.data(), dib.size());
    for (int32_t y = 0; y < v.height(); ++y)
      for (int32_t x = 0; x < v.width(); ++x)
        ASSERT_EQ(screen[size_t(y) * size_t(v.width()) + size_t(x)], v.getPixel(x, y))
            << "frame " << i << " at " << x << "," << y;
  }
  DGifCloseFile(gif, &err);
  std::remove(path.c_str());
}

TEST_F(RenderTest, SupercompressedGifShowsTheSameScreensInImageMagick) {
  ASSERT_EQ(access("/usr/bin/convert", X_OK), 0) << "ImageMagick is needed (scripts/setup.sh installs it)";
  ASSERT_TRUE(build({"--frames", "5", "--supercompress"}));
  const ReceivedAnimation& a = host.animation();
  ASSERT_EQ(a.frames.size(), 5u);
  EXPECT_GE(a.frames[1].transparentIndex, 0);
  std::string path = tempName("im.gif"), raw = tempName("im.rgb"), error;
  ASSERT_TRUE(writeGif(a, path, &error)) << error;
  ASSERT_EQ(std::system(("/usr/bin/convert " + path + " -coalesce rgb:" + raw).c_str()), 0);
  std::string bytes = readAll(raw);
  auto screens = composited();
  size_t frameBytes = size_t(a.width) * size_t(a.height) * 3;
  ASSERT_EQ(bytes.size(), frameBytes * screens.size());
  for (size_t i = 0; i < screens.size(); ++i) {
    size_t differ = 0;
    for (size_t p = 0; p < screens[i].size(); ++p) {
      const auto* px = reinterpret_cast<const uint8_t*>(bytes.data() + i * frameBytes + p * 3);
      uint32_t im = (uint32_t(px[0]) << 16) | (uint32_t(px[1]) << 8) | px[2];
      differ += im != screens[i][p];
    }
    EXPECT_EQ(differ, 0u) << "frame " << i;
  }
  std::remove(path.c_str());
  std::remove(raw.c_str());
}

TEST(RenderCommand, SameOptionsGiveTheSameBytes) {
  std::string a = tempName("det-a.gif"), b = tempName("det-b.gif");
  ASSERT_EQ(runCli("render --quiet --frames 8 --dither -o " + a).status, 0);
  ASSERT_EQ(runCli("render --quiet --frames 8 --dither -o " + b).status, 0);
  std::string x = readAll(a), y = readAll(b);
  EXPECT_GT(x.size(), 100u);
  EXPECT_EQ(x, y);
  std::remove(a.c_str());
  std::remove(b.c_str());
}

TEST(RenderCommand, TheNumberOfThreadsChangesNoByte) {
  // Frames are rendered and coded on several threads; the file must not
  // depend on how many there are, nor on which finishes first.
  const std::string options = "render --quiet --frames 11 --supercompress --face texture:2 --dither -o ";
  std::string one = tempName("threads-1.gif"), three = tempName("threads-3.gif");
  ASSERT_EQ(runCli(options + one, "GLYPHWRIGHT_THREADS=1").status, 0);
  ASSERT_EQ(runCli(options + three, "GLYPHWRIGHT_THREADS=3").status, 0);
  std::string x = readAll(one), y = readAll(three);
  EXPECT_GT(x.size(), 100u);
  EXPECT_TRUE(x == y);
  std::remove(one.c_str());
  std::remove(three.c_str());
}

TEST(RenderCommand, ErrorsNameTheChoices) {
  CliRun effect = runCli("render --effect Sparkle -o /tmp/x.gif");
  EXPECT_EQ(effect.status, 1);
  EXPECT_NE(effect.out.find("\"Simple\""), std::string::npos);
  EXPECT_NE(effect.out.find("\"Zipper\""), std::string::npos);
  CliRun key = runCli("render --set Style000Frame=3 -o /tmp/x.gif");
  EXPECT_EQ(key.status, 1);
  EXPECT_NE(key.out.find("Style000Frame"), std::string::npos);
  CliRun palette = runCli("render --palette 12 -o /tmp/x.gif");
  EXPECT_EQ(palette.status, 1);
  EXPECT_NE(palette.out.find("256 gray levels"), std::string::npos);
  EXPECT_EQ(runCli("render --true-colour -o /tmp/x.gif").status, 1);
  EXPECT_EQ(runCli("render -o /tmp/x.bmp").status, 2);
  EXPECT_EQ(runCli("render --frames zero -o /tmp/x.gif").status, 2);
  EXPECT_EQ(runCli("render").status, 2);
}

// The transparent colour of a background material is its own colour: the
// index every frame marks transparent holds red in the GIF's palette.
TEST(RenderCommand, TransparentBackgroundMarksTheBackgroundColour) {
  std::string path = tempName("red.gif");
  CliRun r = runCli("render --quiet --frames 3 --background colour:FF0000 --transparent -o " + path);
  ASSERT_EQ(r.status, 0) << r.out;
  int err = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &err);
  ASSERT_NE(gif, nullptr);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  ASSERT_GT(gif->ImageCount, 0);
  for (int i = 0; i < gif->ImageCount; ++i) {
    GraphicsControlBlock gcb;
    ASSERT_EQ(DGifSavedExtensionToGCB(gif, i, &gcb), GIF_OK);
    ASSERT_GE(gcb.TransparentColor, 0) << "frame " << i;
    const ColorMapObject* map = gif->SavedImages[i].ImageDesc.ColorMap ? gif->SavedImages[i].ImageDesc.ColorMap
                                                                         : gif->SColorMap;
    ASSERT_LT(gcb.TransparentColor, map->ColorCount);
    const GifColorType& c = map->Colors[gcb.TransparentColor];
    EXPECT_EQ((c.Red << 16) | (c.Green << 8) | c.Blue, 0xFF0000) << "frame " << i;
  }
  DGifCloseFile(gif, &err);
  std::remove(path.c_str());
}

TEST(RenderCommand, TrueColourGoesToWebpAndPngFrames) {
  std::string webp = tempName("tc.webp"), png = tempName("tc.png");
  CliRun r = runCli("render --quiet --frames 3 --true-colour -o " + webp);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(readAll(webp).substr(8, 4), "WEBP");
  r = runCli("render --quiet --frames 3 --true-colour -o " + png);
  ASSERT_EQ(r.status, 0) << r.out;
  std::string first = tempName("tc-0000.png"), last = tempName("tc-0002.png");
  EXPECT_EQ(readAll(first).substr(1, 3), "PNG");
  EXPECT_EQ(readAll(last).substr(1, 3), "PNG");
  for (const std::string& f : {webp, first, tempName("tc-0001.png"), last}) std::remove(f.c_str());
}

}  // namespace
}  // namespace gw::cli
