#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/png_io.h"
#include "platform/bitmap.h"

namespace gw::cli {
int runPalette(const std::vector<std::string>& args);
int runQuantize(const std::vector<std::string>& args);
}  // namespace gw::cli

namespace gw {
namespace {

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(PaletteCli, WritesAGimpPalette) {
  const std::string path = ::testing::TempDir() + "gw_palette_7.gpl";
  std::remove(path.c_str());
  ASSERT_EQ(cli::runPalette({"7", "-o", path}), 0);
  std::string text = readText(path);
  EXPECT_EQ(text.rfind("GIMP Palette\nName: 256-color with gray\nColumns: 16\n#\n", 0), 0u) << text.substr(0, 80);
  EXPECT_NE(text.find("\n  1   1   1\tIndex 112\n"), std::string::npos);
  EXPECT_NE(text.find("\n255 255 255\tIndex 255\n"), std::string::npos);
  size_t lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(lines, 4u + 256u);

  // The 216-colour palette lists its 216 colours only.
  ASSERT_EQ(cli::runPalette({"5", "-o", path}), 0);
  text = readText(path);
  EXPECT_NE(text.find("Index 215\n"), std::string::npos);
  EXPECT_EQ(text.find("Index 216"), std::string::npos);
  std::remove(path.c_str());
}

TEST(PaletteCli, RejectsBadArguments) {
  EXPECT_EQ(cli::runPalette({}), 2);
  EXPECT_EQ(cli::runPalette({"seven"}), 2);
  EXPECT_EQ(cli::runPalette({"3", "-o"}), 2);
  EXPECT_EQ(cli::runPalette({"3", "4"}), 2);
  EXPECT_EQ(cli::runPalette({"3", "-o", "/nonexistent-dir/x.gpl"}), 1);
}

TEST(QuantizeCli, QuantizesAPngWithinTheLimit) {
  const std::string in = ::testing::TempDir() + "gw_quantize_in.png";
  const std::string out = ::testing::TempDir() + "gw_quantize_out.png";
  {
    MemBlock bmp(bitmapCreateTrueColour(64, 48, 24));
    MemLock lock(bmp.get());
    BitmapView v = BitmapView::of(lock);
    for (int32_t y = 0; y < 48; ++y)
      for (int32_t x = 0; x < 64; ++x) v.setPixel(x, y, uint32_t(x * 4) | (uint32_t(y * 5) << 8) | 0x300000);
    std::string error;
    ASSERT_TRUE(cli::writeBitmapAsPng(bmp.get(), in, &error)) << error;
  }
  for (bool dither : {false, true}) {
    std::vector<std::string> args = {in, "-o", out, "--colors", "255"};
    if (dither) args.push_back("--dither");
    ASSERT_EQ(cli::runQuantize(args), 0);
    std::string error;
    MemBlock back(cli::readPngAsBitmap(out, &error));
    ASSERT_TRUE(back) << error;
    MemLock lock(back.get());
    BitmapView v = BitmapView::of(lock);
    std::set<int64_t> colours;
    for (int32_t y = 0; y < v.height(); ++y)
      for (int32_t x = 0; x < v.width(); ++x) colours.insert(v.getPixel(x, y));
    EXPECT_LE(colours.size(), 255u);
    EXPECT_GT(colours.size(), 128u);
  }
  EXPECT_EQ(cli::runQuantize({in, "--compare", out}), 0);
  EXPECT_EQ(cli::runQuantize({in}), 2);
  EXPECT_EQ(cli::runQuantize({in, "-o", out, "--colors", "0"}), 2);
  EXPECT_EQ(cli::runQuantize({in, "-o", out, "--colors", "257"}), 2);
  EXPECT_EQ(cli::runQuantize({in + ".missing", "-o", out}), 1);
  std::remove(in.c_str());
  std::remove(out.c_str());
}

}  // namespace
}  // namespace gw
