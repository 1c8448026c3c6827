// The "Matrix" dialog's group and tile handling: picking a tile into the
// selection, the shipped group refusing edits, pictures added by the size
// rule and converted to 24 bits, and OK writing what changed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "base/le_bytes.h"
#include "materials/tile_selection.h"
#include "platform/bitmap.h"
#include "tests/app_data_folder.h"
#include "tests/scripted_prompts.h"
#include "ui/tile_group_editor.h"

namespace gw {
namespace {

class TileEditorTest : public ::testing::Test {
 protected:
  void TearDown() override {
    tileSelectionFreeImage(selection_);
  }
  GroupPrompts prompts() { return scripted_.prompts(); }
  // The next "+" picks a w x h picture of `bits` (0: cancelled, -1: unreadable).
  ImagePicker picker() {
    return [this]() {
      PickedImage p;
      if (pictures_.empty()) return p;
      auto [w, h, bits] = pictures_.front();
      pictures_.pop_front();
      p.chosen = bits != 0;
      if (bits > 0) {
        uint8_t palette[768] = {};  // red, green, blue each
        palette[3 * 1 + 0] = 200;   // index 1: red
        p.image = bits == 8 ? bitmapCreateWithPalette(w, h, palette, 8) : bitmapCreateTrueColour(w, h, 24);
        MemLock lock(p.image);
        BitmapView v = BitmapView::of(lock);
        for (int32_t y = 0; y < h; ++y)
          for (int32_t x = 0; x < w; ++x) v.setPixel(x, y, bits == 8 ? 1u : 0x00FF00u);
      }
      return p;
    };
  }
  std::string folderFile(const std::string& name) { return root_.pluginFile(name); }

  AppDataFolder root_{"tileedit"};
  ScriptedPrompts scripted_;
  std::deque<std::tuple<int32_t, int32_t, int>> pictures_;
  uint8_t selection_[tile_selection::kSize] = {};
};

TEST_F(TileEditorTest, PickingATileFillsTheSelectionAndTheShippedGroupRefusesEdits) {
  TileGroupEditor editor(prompts(), picker(), false);
  editor.open("glwplug5.mtx");
  EXPECT_TRUE(scripted_.messages.empty());
  EXPECT_FALSE(editor.group().writeable);
  ASSERT_GE(editor.group().tiles.size(), 16u);
  EXPECT_EQ(editor.sizeText(3), "64 x 64");
  ASSERT_TRUE(editor.selectTile(3, selection_));
  EXPECT_EQ(readI32(selection_ + tile_selection::kIndex), 3);
  EXPECT_EQ(tileSelectionPath(selection_), folderFile("glwplug5.mtx"));
  MemHandle image = readU32(selection_ + tile_selection::kImage);
  ASSERT_NE(image, 0u);
  EXPECT_NE(image, editor.group().tiles[3].get());  // a copy of its own
  EXPECT_FALSE(editor.selectTile(999, selection_));
  EXPECT_EQ(readU32(selection_ + tile_selection::kImage), image);

  pictures_ = {{10, 10, 24}};
  editor.add(false);
  editor.remove(false);
  editor.remove(true);
  EXPECT_EQ(scripted_.messages, (std::vector<std::string>{kTileReadOnlyText, kTileReadOnlyText, kTilePrimaryUndeletableText}));
  EXPECT_EQ(pictures_.size(), 1u);  // no file was asked for
}

TEST_F(TileEditorTest, PicturesJoinByTheSizeRuleAndOkWritesThem) {
  TileGroupEditor editor(prompts(), picker(), true);
  editor.open("glwplug5.mtx");
  const size_t shipped = editor.group().tiles.size();
  scripted_.replies = {"Mine"};
  editor.add(true);
  ASSERT_TRUE(scripted_.messages.empty());
  EXPECT_EQ(editor.groupFile(), "Mine.MTX");
  EXPECT_EQ(editor.groupNames(), (std::vector<std::string>{"glwplug5", "Mine"}));

  pictures_ = {{600, 400, 24}, {600, 600, 24}, {20, 10, 8}, {0, 0, 0}, {5, 5, -1}};
  for (int i = 0; i < 5; ++i) editor.add(false);
  EXPECT_EQ(scripted_.messages, (std::vector<std::string>{kTileTooLargeText, "Error reading file"}));
  ASSERT_EQ(editor.group().tiles.size(), shipped + 2);
  EXPECT_EQ(editor.sizeText(int(shipped)), "600 x 400");
  int32_t w, h;
  int bits;
  ASSERT_TRUE(bitmapQuery(editor.group().tiles.back().get(), &w, &h, &bits, nullptr));
  EXPECT_EQ(bits, 24);
  {
    MemLock lock(editor.group().tiles.back().get());
    EXPECT_EQ(BitmapView::of(lock).getPixel(3, 3), 0x0000C8);  // palette index 1, red 200
  }
  ASSERT_TRUE(editor.selectTile(0, selection_));
  editor.remove(false);
  ASSERT_TRUE(editor.accept());
  EXPECT_TRUE(std::ifstream(folderFile("Mine.MTX.bak")).good());

  TileGroup back;
  ASSERT_TRUE(tileGroupRead(folderFile("Mine.MTX"), &back));
  EXPECT_TRUE(back.writeable);
  EXPECT_EQ(back.tiles.size(), shipped + 1);
  TileGroup primary;
  ASSERT_TRUE(tileGroupRead(folderFile("glwplug5.mtx"), &primary));
  EXPECT_EQ(primary.tiles.size(), shipped);

  scripted_.messages.clear();
  scripted_.replies = {"glwplug5"};
  editor.add(true);
  EXPECT_EQ(scripted_.messages, std::vector<std::string>{kTileReadOnlyText});
  scripted_.replies = {"yes"};
  editor.remove(true);
  EXPECT_FALSE(std::ifstream(folderFile("Mine.MTX")).good());
  EXPECT_EQ(editor.groupFile(), "glwplug5.mtx");
}

TEST_F(TileEditorTest, DamagedGroupIsToldAndAMissingOneOpensEmpty) {
  TileGroupEditor editor(prompts(), picker(), false);
  editor.open("glwplug5.mtx");
  std::ofstream(folderFile("Broken.mtx")) << "not a tile group";
  editor.chooseGroup("Broken");
  EXPECT_EQ(scripted_.messages, std::vector<std::string>{kTileReadFailedText});
  EXPECT_TRUE(editor.group().tiles.empty());
  scripted_.messages.clear();
  editor.chooseGroup("Absent");
  EXPECT_TRUE(scripted_.messages.empty());
  EXPECT_TRUE(editor.group().tiles.empty());
  EXPECT_TRUE(editor.accept());
  EXPECT_FALSE(std::ifstream(folderFile("Absent.MTX")).good());
}

}  // namespace
}  // namespace gw
