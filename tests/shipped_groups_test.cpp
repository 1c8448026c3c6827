// The groups that ship with the plug-in: the files in resources/ are what the
// recipes make, every texture is a real picture, every tile wraps without a
// seam, and the copies the library carries are put into the plug-in's folder
// without ever replacing a file that is there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "base/le_bytes.h"
#include "materials/group_folder.h"
#include "materials/shipped_textures.h"
#include "materials/texture_generate.h"
#include "materials/texture_group.h"
#include "materials/tile_group.h"
#include "platform/bitmap.h"
#include "tests/app_data_folder.h"

namespace gw {
namespace {

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

const std::string kResources = std::string(GW_SOURCE_DIR) + "/resources/";

// Mean absolute channel difference between columns a and b (rows likewise
// when `rows`), over the whole tile.
double meanStep(const BitmapView& v, int32_t a, int32_t b, bool rows) {
  double sum = 0;
  const int32_t n = rows ? v.width() : v.height();
  for (int32_t i = 0; i < n; ++i) {
    uint32_t p = uint32_t(rows ? v.getPixel(i, a) : v.getPixel(a, i));
    uint32_t q = uint32_t(rows ? v.getPixel(i, b) : v.getPixel(b, i));
    for (int s = 0; s < 24; s += 8) sum += std::abs(int((p >> s) & 0xFF) - int((q >> s) & 0xFF));
  }
  return sum / (3.0 * n);
}

TEST(ShippedGroups, TextureFileIsWhatTheRecipesMake) {
  const std::string text = readText(kResources + "glwplug5.fft");
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text, shippedTextureGroupText()) << "run scripts/make_shipped_groups.sh after changing a recipe";
  TextureGroup group;
  ASSERT_TRUE(textureGroupParse(text.data(), text.size(), &group));
  EXPECT_FALSE(group.writeable);
  EXPECT_GE(group.items.size(), 24u);
  std::set<std::string> names;
  for (const TextureItem& item : group.items) {
    EXPECT_FALSE(item.name.empty());
    EXPECT_TRUE(names.insert(item.name).second) << item.name;
  }
}

TEST(ShippedGroups, EveryTextureIsAPictureNotAFlatFill) {
  for (TextureItem& item : shippedTextures()) {
    textureSetOutputRect(item.settings.data(), 0, 0, 64, 48);
    MemBlock bmp(textureGenerate(item.settings.data()));
    ASSERT_TRUE(bmp) << item.name;
    MemLock lock(bmp.get());
    BitmapView v = BitmapView::of(lock);
    std::set<uint32_t> colours;
    int lo = 255 * 3, hi = 0;
    for (int32_t y = 0; y < v.height(); ++y)
      for (int32_t x = 0; x < v.width(); ++x) {
        uint32_t p = uint32_t(v.getPixel(x, y));
        colours.insert(p);
        int sum = int(p & 0xFF) + int((p >> 8) & 0xFF) + int((p >> 16) & 0xFF);
        lo = std::min(lo, sum);
        hi = std::max(hi, sum);
      }
    EXPECT_GT(colours.size(), 12u) << item.name;  // craters shade in few steps
    EXPECT_GT(hi - lo, 60) << item.name;
  }
}

TEST(ShippedGroups, TileFileHoldsTheRecipesTilesAndEachWraps) {
  TileGroup group;
  group.writeable = true;
  ASSERT_TRUE(tileGroupRead(kResources + "glwplug5.mtx", &group));
  EXPECT_FALSE(group.writeable);
  ASSERT_GE(group.tiles.size(), 16u);
  ASSERT_EQ(group.tiles.size(), shippedTileNames().size());
  for (size_t i = 0; i < group.tiles.size(); ++i) {
    MemBlock made(makeShippedTile(i));
    ASSERT_TRUE(made);
    MemLock stored(group.tiles[i].get()), fresh(made.get());
    ASSERT_EQ(stored.size(), fresh.size()) << shippedTileNames()[i];
    EXPECT_EQ(std::memcmp(stored.data(), fresh.data(), stored.size()), 0) << shippedTileNames()[i];
    BitmapView v = BitmapView::of(stored);
    ASSERT_EQ(v.width(), kShippedTileSide);
    ASSERT_EQ(v.height(), kShippedTileSide);
    // The step across the wrap is no larger than the steps inside the tile.
    const int32_t last = kShippedTileSide - 1;
    for (bool rows : {false, true}) {
      double inside = 0;
      for (int32_t k = 0; k < last; ++k) inside = std::max(inside, meanStep(v, k, k + 1, rows));
      EXPECT_LE(meanStep(v, last, 0, rows), inside * 1.05 + 1.0) << shippedTileNames()[i] << (rows ? " rows" : " columns");
    }
  }
  EXPECT_FALSE(makeShippedTile(group.tiles.size()));
}

class PrimaryInstall : public ::testing::Test {
 protected:
  AppDataFolder root_{"install"};
};

TEST_F(PrimaryInstall, WritesTheCarriedCopyOnceAndNeverReplacesAFile) {
  const std::string fft = installPrimaryGroup(kPrimaryTextureGroup);
  EXPECT_EQ(fft, root_.path() + "/Quillmere/Glyphwright 5/glwplug5.fft");
  EXPECT_EQ(readText(fft), readText(kResources + "glwplug5.fft"));
  const std::string mtx = installPrimaryGroup(kPrimaryTileGroup);
  EXPECT_EQ(readText(mtx), readText(kResources + "glwplug5.mtx"));

  std::ofstream(fft, std::ios::binary) << "QUILLMERE O-RIVET TEXTURE FILE\n";
  EXPECT_EQ(installPrimaryGroup(kPrimaryTextureGroup), fft);
  EXPECT_EQ(readText(fft), "QUILLMERE O-RIVET TEXTURE FILE\n");
  EXPECT_EQ(installPrimaryGroup("other.fft"), "");

  std::ofstream(root_.path() + "/Quillmere/Glyphwright 5/Mine.two.fft") << "x";
  std::ofstream(root_.path() + "/Quillmere/Glyphwright 5/notes.txt") << "x";
  EXPECT_EQ(groupBaseNames("FFT"), (std::vector<std::string>{"glwplug5", "Mine"}));
  EXPECT_EQ(groupBaseNames("mtx"), (std::vector<std::string>{"glwplug5"}));
}

}  // namespace
}  // namespace gw
