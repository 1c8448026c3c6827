// The "Matrix" dialog through its own template in the in-memory dialog:
// the material's tile marked and replaced by a pick, pictures asked of the
// host and taken by the size rule, removals keeping the selection on the
// group as it will be written, and what OK and a change of group write.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "base/le_bytes.h"
#include "materials/tile_group.h"
#include "materials/tile_selection.h"
#include "platform/bitmap.h"
#include "platform/in_memory_dialog.h"
#include "platform/resources.h"
#include "platform/wire_pointer.h"
#include "protocol/host_protocol.h"
#include "resources/resource_ids.h"
#include "tests/app_data_folder.h"
#include "tests/scripted_prompts.h"
#include "ui/matrix_dialog_view.h"
#include "ui/tile_image_request.h"

namespace gw {
namespace {

namespace tsel = tile_selection;

MemHandle solidPicture(int32_t w, int32_t h, int bits, uint32_t colour) {
  uint8_t palette[768] = {};
  palette[3] = uint8_t(colour), palette[4] = uint8_t(colour >> 8), palette[5] = uint8_t(colour >> 16);
  MemHandle image = bits == 8 ? bitmapCreateWithPalette(w, h, palette, 8) : bitmapCreateTrueColour(w, h, 24);
  MemLock lock(image);
  BitmapView v = BitmapView::of(lock);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) v.setPixel(x, y, bits == 8 ? 1u : colour);
  return image;
}

int64_t pixel(MemHandle image, int32_t x, int32_t y) {
  MemLock lock(image);
  return lock ? BitmapView::of(lock).getPixel(x, y) : -1;
}

bool sameBytes(MemHandle a, MemHandle b) {
  MemLock la(a), lb(b);
  return la && lb && la.size() == lb.size() && std::memcmp(la.data(), lb.data(), la.size()) == 0;
}

// A host whose file request hands over the pictures queued in `offers`.
struct Offer {
  std::string file;  // empty: the user cancels the request
  int32_t w = 0, h = 0;
  int bits = 24;     // 0: the host cannot read the file
};
struct FakeHost {
  static std::deque<Offer> offers;
  static std::vector<int32_t> owners;  // a of every code 6
  static int32_t GW_CDECL callback(void*, int32_t code, int32_t a, void* p) {
    if (code == kHostChooseImageFile) {
      owners.push_back(a);
      if (offers.empty() || offers.front().file.empty()) {
        if (!offers.empty()) offers.pop_front();
        return 0;
      }
      std::strcpy(static_cast<char*>(p), offers.front().file.c_str());
      return 1;
    }
    if (code == kHostLoadImage) {
      Offer o = offers.front();
      offers.pop_front();
      if (o.file != static_cast<const char*>(p) || o.bits == 0) return 0;
      return int32_t(solidPicture(o.w, o.h, o.bits, 0x0000C8));
    }
    return 0;
  }
};
std::deque<Offer> FakeHost::offers;
std::vector<int32_t> FakeHost::owners;

class MatrixDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folderFile(""));
    dialog_ = InMemoryDialog::fromResource(ResourceName::number(IDD_MATRIX));
    ASSERT_NE(dialog_, nullptr);
    FakeHost::offers.clear();
    FakeHost::owners.clear();
    writeU16(params_ + host_params::kHostVersion, 0x1000);
    wire_ = wireFromPointer(reinterpret_cast<void*>(&FakeHost::callback));
    writeU32(params_ + host_params::kCallback, wire_);
  }
  void TearDown() override {
    wireForget(wire_);
    tileSelectionFreeImage(working_);
  }
  std::unique_ptr<MatrixDialogView> makeView(bool backup = false) {
    const uint8_t* params = params_;
    const WindowId window = dialog_->window();
    return std::make_unique<MatrixDialogView>(
        *dialog_, scripted_.prompts(), [params, window] { return requestTileImage(params, window); }, backup, working_);
  }
  std::string folderFile(const std::string& name) const { return root_.pluginFile(name); }
  void choose(MatrixDialogView& view, uint32_t id, int index, DialogEvent event = DialogEvent::kSelect) {
    dialog_->setSelection(id, index);
    view.command(id, event, false);
  }
  void click(MatrixDialogView& view, uint32_t id, bool shift = false) { view.command(id, DialogEvent::kClick, shift); }
  MemHandle workingImage() const { return readU32(working_ + tsel::kImage); }
  int32_t workingIndex() const { return readI32(working_ + tsel::kIndex); }

  AppDataFolder root_{"mtxdlg"};
  uint8_t params_[64] = {};
  uint32_t wire_ = 0;
  uint8_t working_[tsel::kSize] = {};
  std::unique_ptr<InMemoryDialog> dialog_;
  ScriptedPrompts scripted_{{}, {}, true};  // every question answered Yes
};

TEST_F(MatrixDialogTest, TemplateHoldsEveryControl) {
  for (uint32_t id : {IDC_MATRIX_PREVIEW, IDC_MATRIX_TILES, IDC_MATRIX_ADD, IDC_MATRIX_REMOVE, IDC_MATRIX_SIZE,
                      IDC_MATRIX_GROUPS, IDC_BUILD, IDC_CANCEL, IDC_HELP_BUTTON})
    EXPECT_TRUE(dialog_->hasControl(id)) << id;
  EXPECT_EQ(dialog_->dialogTemplate().title, "Matrix");
  EXPECT_EQ(dialog_->text(IDC_MATRIX_ADD), "+");
  EXPECT_EQ(dialog_->text(IDC_MATRIX_REMOVE), "-");
}

TEST_F(MatrixDialogTest, TheMaterialsTileIsMarkedAndAPickReplacesIt) {
  tileSelectionSetPath(working_, folderFile("glwplug5.mtx"));
  writeI32(working_ + tsel::kIndex, 5);  // as read from a file: no image yet
  auto view = makeView();
  view->open("glwplug5.mtx");
  EXPECT_TRUE(scripted_.messages.empty());
  ASSERT_EQ(dialog_->itemCount(IDC_MATRIX_GROUPS), 1);
  EXPECT_EQ(dialog_->itemText(IDC_MATRIX_GROUPS, 0), "glwplug5");
  EXPECT_EQ(dialog_->selection(IDC_MATRIX_GROUPS), 0);
  const auto& tiles = view->editor().group().tiles;
  ASSERT_GE(tiles.size(), 16u);
  EXPECT_EQ(dialog_->itemCount(IDC_MATRIX_TILES), int(tiles.size()));
  EXPECT_EQ(dialog_->selection(IDC_MATRIX_TILES), 5);
  EXPECT_TRUE(sameBytes(workingImage(), tiles[5].get()));
  EXPECT_EQ(dialog_->text(IDC_MATRIX_SIZE), "64 x 64");

  choose(*view, IDC_MATRIX_TILES, 9);
  EXPECT_EQ(workingIndex(), 9);
  ASSERT_TRUE(sameBytes(workingImage(), tiles[9].get()));
  EXPECT_NE(workingImage(), tiles[9].get());  // a copy of its own
  // The preview repeats the chosen tile from the top-left corner and leaves
  // the selection's own target as it was.
  MemBlock preview(view->preview(150, 70));
  const std::pair<int, int> points[] = {{0, 0}, {70, 3}, {130, 66}, {149, 69}};
  for (auto [x, y] : points)
    EXPECT_EQ(pixel(preview.get(), x, y), pixel(tiles[9].get(), x % 64, y % 64)) << x << "," << y;
  EXPECT_EQ(readI32(working_ + tsel::kTargetRect + 8), 0);

  dialog_->setSelection(IDC_MATRIX_TILES, 2);
  EXPECT_TRUE(view->command(IDC_MATRIX_TILES, DialogEvent::kDoubleClick, false));
  EXPECT_EQ(view->result(), 1);
  EXPECT_EQ(workingIndex(), 2);
  EXPECT_TRUE(sameBytes(workingImage(), tiles[2].get()));
}

TEST_F(MatrixDialogTest, ATileOfAnotherGroupIsShownButNotMarked) {
  tileSelectionSetPath(working_, folderFile("Elsewhere.mtx"));
  writeI32(working_ + tsel::kIndex, 3);
  auto view = makeView();
  view->open("glwplug5.mtx");
  EXPECT_EQ(dialog_->selection(IDC_MATRIX_TILES), -1);
  EXPECT_EQ(workingImage(), 0u);
  EXPECT_EQ(dialog_->text(IDC_MATRIX_SIZE), "90 x 90");  // the built-in tile stands in
  click(*view, IDC_MATRIX_REMOVE);                       // nothing marked: nothing goes
  EXPECT_EQ(scripted_.messages, std::vector<std::string>{kTileReadOnlyText});
  EXPECT_TRUE(view->command(IDC_CANCEL, DialogEvent::kClick, false));
  EXPECT_EQ(view->result(), 0);
  EXPECT_EQ(tileSelectionPath(working_), folderFile("Elsewhere.mtx"));
}

TEST_F(MatrixDialogTest, PicturesComeFromTheHostsFileRequestByTheSizeRule) {
  auto view = makeView(true);
  view->open("glwplug5.mtx");
  const int shipped = dialog_->itemCount(IDC_MATRIX_TILES);
  click(*view, IDC_MATRIX_ADD);  // the shipped group: refused before any file is asked for
  EXPECT_EQ(scripted_.messages, std::vector<std::string>{kTileReadOnlyText});
  EXPECT_TRUE(FakeHost::owners.empty());

  scripted_.replies = {"Mine"};
  click(*view, IDC_MATRIX_ADD, true);
  ASSERT_EQ(dialog_->itemCount(IDC_MATRIX_GROUPS), 2);
  EXPECT_EQ(dialog_->itemText(IDC_MATRIX_GROUPS, dialog_->selection(IDC_MATRIX_GROUPS)), "Mine");

  scripted_.messages.clear();
  FakeHost::offers = {{"C:\\wide.bmp", 600, 400, 24}, {"C:\\big.bmp", 600, 600, 24}, {"", 0, 0, 24},
                      {"C:\\bad.bmp", 8, 8, 0},        {"C:\\pal.bmp", 20, 10, 8}};
  click(*view, IDC_MATRIX_ADD);
  ASSERT_EQ(dialog_->itemCount(IDC_MATRIX_TILES), shipped + 1);
  // The picture just taken in becomes the material's tile.
  EXPECT_EQ(dialog_->selection(IDC_MATRIX_TILES), shipped);
  EXPECT_EQ(workingIndex(), shipped);
  EXPECT_EQ(tileSelectionPath(working_), folderFile("Mine.MTX"));
  EXPECT_EQ(dialog_->text(IDC_MATRIX_SIZE), "600 x 400");
  for (int i = 0; i < 4; ++i) click(*view, IDC_MATRIX_ADD);
  EXPECT_EQ(scripted_.messages, (std::vector<std::string>{kTileTooLargeText, "Error reading file"}));
  ASSERT_EQ(dialog_->itemCount(IDC_MATRIX_TILES), shipped + 2);
  EXPECT_EQ(dialog_->text(IDC_MATRIX_SIZE), "20 x 10");
  EXPECT_EQ(pixel(workingImage(), 4, 4), 0x0000C8);  // palette index 1 as 24-bit red 200
  EXPECT_TRUE(FakeHost::offers.empty());
  EXPECT_EQ(FakeHost::owners, std::vector<int32_t>(5, int32_t(dialog_->window())));

  EXPECT_TRUE(view->command(IDC_BUILD, DialogEvent::kClick, false));
  TileGroup back;
  ASSERT_TRUE(tileGroupRead(folderFile("Mine.MTX"), &back));
  EXPECT_EQ(back.tiles.size(), size_t(shipped + 2));
  EXPECT_TRUE(std::ifstream(folderFile("Mine.MTX.bak")).good());  // the backup switch was on
}

TEST_F(MatrixDialogTest, WithoutAHostNothingIsAskedOrAdded) {
  writeU32(params_ + host_params::kCallback, 0);
  auto view = makeView();
  view->open("glwplug5.mtx");
  scripted_.replies = {"Mine"};
  click(*view, IDC_MATRIX_ADD, true);
  const int count = dialog_->itemCount(IDC_MATRIX_TILES);
  click(*view, IDC_MATRIX_ADD);
  EXPECT_EQ(dialog_->itemCount(IDC_MATRIX_TILES), count);
  EXPECT_TRUE(scripted_.messages.empty());
}

TEST_F(MatrixDialogTest, RemovalsKeepTheSelectionOnTheGroupAsWritten) {
  const uint32_t colours[] = {0x0000FF, 0x00FF00, 0xFF0000};
  {
    std::vector<MemBlock> blocks;
    std::vector<MemHandle> handles;
    for (uint32_t c : colours) {
      blocks.emplace_back(solidPicture(8, 8, 24, c));
      handles.push_back(blocks.back().get());
    }
    ASSERT_TRUE(tileGroupWrite(folderFile("Few.MTX"), handles, false));
  }
  tileSelectionSetPath(working_, folderFile("Few.MTX"));
  writeI32(working_ + tsel::kIndex, 1);
  auto view = makeView();
  view->open("Few.MTX");
  ASSERT_EQ(dialog_->selection(IDC_MATRIX_TILES), 1);
  ASSERT_EQ(pixel(workingImage(), 0, 0), int64_t(colours[1]));

  click(*view, IDC_MATRIX_REMOVE);  // the next tile takes the place
  EXPECT_EQ(dialog_->itemCount(IDC_MATRIX_TILES), 2);
  EXPECT_EQ(dialog_->selection(IDC_MATRIX_TILES), 1);
  EXPECT_EQ(workingIndex(), 1);
  EXPECT_EQ(pixel(workingImage(), 0, 0), int64_t(colours[2]));
  click(*view, IDC_MATRIX_REMOVE);  // the last gone: the one before it
  EXPECT_EQ(workingIndex(), 0);
  EXPECT_EQ(pixel(workingImage(), 0, 0), int64_t(colours[0]));
  click(*view, IDC_MATRIX_REMOVE);  // none left: the built-in tile
  EXPECT_EQ(dialog_->itemCount(IDC_MATRIX_TILES), 0);
  EXPECT_EQ(workingImage(), 0u);
  EXPECT_EQ(dialog_->text(IDC_MATRIX_SIZE), "90 x 90");

  // Another group chosen while this one has changes: they are written first.
  FakeHost::offers = {{"C:\\one.bmp", 30, 20, 24}};
  click(*view, IDC_MATRIX_ADD);
  const int primary = dialog_->itemText(IDC_MATRIX_GROUPS, 0) == "glwplug5" ? 0 : 1;
  choose(*view, IDC_MATRIX_GROUPS, primary, DialogEvent::kCloseUp);
  EXPECT_EQ(view->groupFile(), "glwplug5.mtx");
  TileGroup back;
  ASSERT_TRUE(tileGroupRead(folderFile("Few.MTX"), &back));
  ASSERT_EQ(back.tiles.size(), 1u);
  EXPECT_EQ(pixel(back.tiles[0].get(), 0, 0), 0x0000C8);
  EXPECT_FALSE(std::ifstream(folderFile("Few.MTX.bak")).good());  // the backup switch was off
  EXPECT_TRUE(scripted_.messages.empty());

  click(*view, IDC_MATRIX_REMOVE, true);
  EXPECT_EQ(scripted_.messages, std::vector<std::string>{kTilePrimaryUndeletableText});
}

}  // namespace
}  // namespace gw
