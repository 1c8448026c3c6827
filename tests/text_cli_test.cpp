// `glyphwright sample` and `glyphwright fonts` as a user runs them.
#include <gtest/gtest.h>

#include "tests/cli_runner.h"

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "cli/png_io.h"
#include "platform/bitmap.h"
#include "platform/memory.h"

namespace gw {
namespace {


CliRun run(const std::string& args) {
  return runCli(args, "GLYPHWRIGHT_APPDATA='" + ::testing::TempDir() + "'");
}

std::vector<uint32_t> pixelsOf(const std::string& png, int32_t* w, int32_t* h) {
  std::string error;
  MemBlock bmp(cli::readPngAsBitmap(png, &error));
  EXPECT_TRUE(bmp) << error;
  std::vector<uint32_t> out;
  if (!bmp) return out;
  MemLock lock(bmp.get());
  BitmapView v = BitmapView::of(lock);
  *w = v.width();
  *h = v.height();
  for (int32_t y = 0; y < v.height(); ++y)
    for (int32_t x = 0; x < v.width(); ++x) out.push_back(uint32_t(v.getPixel(x, y)));
  return out;
}

TEST(TextCommandLine, FontsListsTheFamilies) {
  CliRun r = run("fonts");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Liberation Sans\n"), std::string::npos);
  EXPECT_EQ(run("fonts extra").status, 2);
}

TEST(TextCommandLine, DefaultSampleIsTheGoldenStill) {
  std::string out = ::testing::TempDir() + "/gw_sample_default.png";
  CliRun r = run("sample -o '" + out + "'");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("865 x 102 pixels"), std::string::npos) << r.out;
  int32_t w = 0, h = 0, gw = 0, gh = 0;
  std::vector<uint32_t> got = pixelsOf(out, &w, &h);
  std::vector<uint32_t> golden = pixelsOf(std::string(GW_SOURCE_DIR) + "/tests/golden/simple_default.png", &gw, &gh);
  EXPECT_EQ(w, gw);
  EXPECT_EQ(h, gh);
  EXPECT_TRUE(got == golden);
  std::remove(out.c_str());
}

TEST(TextCommandLine, SampleOptionsReachTheStill) {
  std::string out = ::testing::TempDir() + "/gw_sample_options.png";
  CliRun r = run("sample --text 'Hé' --font 'Liberation Serif' --size 40 --no-bold --face colour:FF0000 "
                 "--background colour:000000 --set Style000ShadowEnable=0 --set Style000OutlineEnable=0 "
                 "--set Style000Soft=0 -o '" + out + "'");
  ASSERT_EQ(r.status, 0) << r.out;
  int32_t w = 0, h = 0;
  std::vector<uint32_t> px = pixelsOf(out, &w, &h);
  EXPECT_EQ(h, 40);  // no padding: no softness, no outline, pad 0
  bool red = false;
  for (uint32_t v : px) {
    // Only red over black: the blend of the two, nothing else.
    ASSERT_EQ(v & 0xFFFF00, 0u);
    red = red || v == 0x0000FF;
  }
  EXPECT_TRUE(red);
  std::remove(out.c_str());
}

TEST(TextCommandLine, SampleRefusesWhatItCannotDo) {
  EXPECT_EQ(run("sample").status, 2);                             // no output
  EXPECT_EQ(run("sample --bogus -o x.png").status, 2);
  EXPECT_EQ(run("sample --face gradient:1 -o /tmp/gw_never.png").status, 1);
  EXPECT_EQ(run("sample --face colour:12 -o /tmp/gw_never.png").status, 1);
  EXPECT_EQ(run("sample --effect 'No Such' -o /tmp/gw_never.png").status, 1);
  EXPECT_EQ(run("sample --set NoSuchKey=1 -o /tmp/gw_never.png").status, 1);
  EXPECT_EQ(run("sample --text '\xE6\x97\xA5' -o /tmp/gw_never.png").status, 1);  // no byte in code page 1252
  std::FILE* f = std::fopen("/tmp/gw_never.png", "rb");
  EXPECT_EQ(f, nullptr);
  if (f) std::fclose(f);
}

}  // namespace
}  // namespace gw
