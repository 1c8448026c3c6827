// The fountain button driven through its messages on the in-memory dialog, as
// the gradient editor and the document code drive it: initialisation, the
// free-position search, markers added, dragged, recoloured and deleted, the
// menus, and the document line.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "controls/animation_selector.h"
#include "documents/document_lines.h"
#include "materials/fountain_markers.h"
#include "materials/fountain_record.h"
#include "platform/bitmap.h"
#include "platform/in_memory_dialog.h"
#include "platform/message_dialog.h"
#include "platform/system_state.h"
#include "materials/fountain_library.h"
#include "tests/fountain_test_host.h"
#include "tests/temp_folder.h"
#include "ui/fountain_button.h"
#include "ui/fountain_prompts.h"
#include "ui/gradient_editor.h"

namespace gw {
namespace {

constexpr uint32_t kId = gradient_editor::kFountain;

std::vector<uint8_t> makeFountain(std::vector<int> positions) {
  std::vector<uint8_t> f(kFountainRecordSize);
  fountainRecordDefaults(f.data(), FountainPreset::Empty);
  for (size_t i = 0; i < positions.size(); ++i)
    EXPECT_TRUE(fountainAddMarker(f.data(), positions[i], 0x010101u * uint32_t(i + 1)));
  return f;
}

std::vector<int> positionsOf(const uint8_t* f) {
  std::vector<int> p;
  for (int i = 0; i < fountainMarkerCount(f); ++i) p.push_back(fountainMarkerPosition(fountainMarker(f, i)));
  return p;
}

TEST(FountainFreePosition, NearestFreeBelowThenAbove) {
  struct Case {
    const char* name;
    std::vector<int> taken;
    int wanted;
    int expected;
  } cases[] = {
      {"free", {10, 20}, 15, 15},
      {"taken: one below", {10, 20}, 20, 19},
      {"below taken too: one above", {19, 20}, 20, 21},
      {"both neighbours taken: two below", {19, 20, 21}, 20, 18},
      {"at the bottom: only above", {1, 2}, 1, 3},
      {"at the top: only below", {254, 255}, 255, 253},
      {"zero is not a position", {}, 0, 1},
      {"beyond the scale", {}, 300, 255},
  };
  for (const Case& c : cases) {
    auto f = makeFountain(c.taken);
    EXPECT_EQ(fountainFreePosition(f.data(), c.wanted), c.expected) << c.name;
  }
  std::vector<int> full;
  for (int i = 1; i <= kFountainMaxMarkers; ++i) full.push_back(i * 3);
  auto f = makeFountain(full);
  EXPECT_EQ(fountainFreePosition(f.data(), 100), 0) << "64 markers leave no space";
  EXPECT_FALSE(fountainAddMarker(f.data(), 2, 0));
}

TEST(FountainFreePosition, MovingAMarkerFreesItsOwnPlace) {
  auto f = makeFountain({50, 60});
  EXPECT_EQ(fountainMoveMarker(f.data(), 0, 60), 59);  // onto the other: nearest free below
  EXPECT_EQ(positionsOf(f.data()), (std::vector<int>{59, 60}));
  EXPECT_EQ(fountainMoveMarker(f.data(), 1, 59), 58);
  EXPECT_EQ(positionsOf(f.data()), (std::vector<int>{58, 59}));
  EXPECT_EQ(fountainMoveMarker(f.data(), 0, 58), 58) << "its own place is free to it";
  EXPECT_EQ(fountainMoveMarker(f.data(), 2, 10), 0) << "no such marker";
}

class FountainButton : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = InMemoryDialog::fromResource(ResourceName::text(gradient_editor::kTemplateName));
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(attachFountainButton(*dialog, kId, host.params, &FountainButton::count, this));
    setMessageResponder([this](const std::string&, const std::string& text) {
      messages.push_back(text);
      return 1;
    });
  }
  void TearDown() override {
    dialog.reset();
    setMessageResponder(nullptr);
    testing::setMenuResponder(nullptr);
    testing::setMarkerPositionResponder(nullptr);
    gw::testing::setShiftKeyDown(false);
  }
  static void count(void* self) { ++static_cast<FountainButton*>(self)->changes; }

  void init(const uint8_t* from, uintptr_t wParam = 0) {
    ASSERT_EQ(dialog->sendMessage(kId, kMsgControlInit, wParam, reinterpret_cast<intptr_t>(from)), 1);
  }
  std::vector<uint8_t> record() {
    MemLock lock(fountainButtonRecord(*dialog, kId));
    EXPECT_TRUE(lock);
    return lock ? std::vector<uint8_t>(lock.data(), lock.data() + kFountainRecordSize) : std::vector<uint8_t>();
  }
  // The ramp part of the record: what every change may touch.
  std::vector<uint8_t> ramp() {
    auto r = record();
    return std::vector<uint8_t>(r.begin() + fountain::kMarkerCount, r.begin() + fountain::kEditorState);
  }
  intptr_t send(uint32_t message, uintptr_t wParam, intptr_t lParam = 0) {
    return dialog->sendMessage(kId, message, wParam, lParam);
  }
  // Client column of a 0..255 position on the 197 x 50 button.
  int columnOf(int position) {
    const auto g = fountainButtonGeometry(kFountainButtonWidth, kFountainButtonHeight);
    return g.markerX(int(float(position) * (1.0f / 255.0f) * float(g.ramp.width())));
  }

  ColourHost host;
  std::unique_ptr<InMemoryDialog> dialog;
  std::vector<std::string> messages;
  int changes = 0;
};

TEST_F(FountainButton, InitialisesFromACopyTheRainbowOrItsWindowText) {
  auto mine = makeFountain({40, 200});
  writeU32(mine.data() + fountain::kPreviewImage, 0xDEAD);  // someone else's handle
  const auto before = mine;
  init(mine.data());
  auto r = record();
  EXPECT_EQ(positionsOf(r.data()), (std::vector<int>{40, 200}));
  EXPECT_EQ(mine, before) << "the caller's record is only read";
  EXPECT_EQ(fountainEditorState(r.data()).selected, -1);
  EXPECT_EQ(readU32(r.data() + fountain::kFlags), 0u);
  // The preview is a fresh rendering of the ramp at its size (197 x 50 less the insets).
  MemLock preview(readU32(r.data() + fountain::kPreviewImage));
  ASSERT_TRUE(preview);
  EXPECT_EQ(BitmapView::of(preview).width(), 181);
  EXPECT_EQ(BitmapView::of(preview).height(), 30);

  init(nullptr, kFountainFromFile);  // no file in this build: the rainbow, kept on close
  r = record();
  EXPECT_EQ(positionsOf(r.data()), (std::vector<int>{32, 64, 96, 128, 160, 192, 224}));
  EXPECT_EQ(readU32(r.data() + fountain::kFlags), fountain::kFlagWriteBack);

  dialog->setText(kId, std::string("x ") + kFountainLoopedText);
  init(nullptr);
  EXPECT_EQ(readU32(record().data() + fountain::kFlags), fountain::kFlagLooped);
}

TEST_F(FountainButton, AddsAMarkerWithTheColourChosenNearTheWantedPosition) {
  auto mine = makeFountain({100});
  init(mine.data());
  host.answers = {0x123456};
  EXPECT_EQ(send(kMsgFountainAddMarker, 100), 1);
  EXPECT_EQ(host.lastOffered, 0x808080u);
  auto r = record();
  EXPECT_EQ(positionsOf(r.data()), (std::vector<int>{99, 100}));
  EXPECT_EQ(fountainMarker(r.data(), 0), fountainMakeMarker(99, 0x123456));
  EXPECT_EQ(changes, 1);

  const auto kept = ramp();
  EXPECT_EQ(send(kMsgFountainAddMarker, 50), 0) << "the picker was cancelled";
  EXPECT_EQ(ramp(), kept);
  EXPECT_EQ(changes, 1);
}

TEST_F(FountainButton, WithSixtyFourMarkersADoubleClickInTheStripChangesNothing) {
  std::vector<int> full;
  for (int i = 1; i <= kFountainMaxMarkers; ++i) full.push_back(i * 3);
  auto mine = makeFountain(full);
  init(mine.data());
  const auto kept = ramp();
  host.answers = {0x00FF00};
  // Markers fill 3..192 every 3 steps; beyond them the strip is bare.
  send(kMsgLeftDoubleClick, 0, packPoint(columnOf(230), 5));
  EXPECT_EQ(messages, (std::vector<std::string>{kNoMarkerSpaceMessage}));
  EXPECT_EQ(host.asked, 0) << "no picker before the space is known";
  EXPECT_EQ(ramp(), kept);
  EXPECT_EQ(changes, 0);
}

TEST_F(FountainButton, DeletesAndRecoloursByIndexAndRefusesBadOnes) {
  auto mine = makeFountain({10, 20, 30});
  init(mine.data());
  EXPECT_EQ(send(kMsgFountainDelete, 1), 1);
  EXPECT_EQ(positionsOf(record().data()), (std::vector<int>{10, 30}));
  EXPECT_EQ(send(kMsgFountainDelete, 2), 0);
  EXPECT_EQ(send(kMsgFountainColour, 5), 0);
  EXPECT_EQ(messages, (std::vector<std::string>{kInternalErrorMessage, kInternalErrorMessage}));

  host.answers = {0xABCDEF, 0x111111};
  EXPECT_EQ(send(kMsgFountainColour, 1), 1);
  EXPECT_EQ(fountainMarker(record().data(), 1), fountainMakeMarker(30, 0xABCDEF)) << "position byte kept";
  EXPECT_EQ(send(kMsgFountainColour, uintptr_t(-1)), 1);
  EXPECT_EQ(readU32(record().data() + fountain::kStartColour), 0x111111u);

  send(kMsgFountainDelete, 0);
  send(kMsgFountainDelete, 0);
  messages.clear();
  EXPECT_EQ(send(kMsgFountainDelete, 0), 0);
  EXPECT_EQ(messages, (std::vector<std::string>{kMarkerCannotBeDeletedMessage}));
}

TEST_F(FountainButton, DraggingAMarkerOntoAnotherPutsItOnTheNearestFreePlace) {
  auto mine = makeFountain({32, 64});
  init(mine.data());
  const uint32_t first = fountainMarker(record().data(), 0);
  send(kMsgLeftDown, 0, packPoint(columnOf(32), 6));
  EXPECT_EQ(fountainEditorState(record().data()).dragging, 1);
  send(kMsgMouseMove, 0, packPoint(columnOf(50), 6));
  EXPECT_EQ(fountainEditorState(record().data()).lastX, columnOf(50));
  // Released right over the other marker's column: below it first.
  const int over = columnOf(64);
  const int wanted = fountainPositionAt(fountainButtonGeometry(197, 50), over);
  send(kMsgLeftUp, 0, packPoint(over, 6));
  auto r = record();
  EXPECT_EQ(fountainEditorState(r.data()).dragging, 0);
  const int expected = wanted == 64 ? 63 : wanted;
  EXPECT_EQ(positionsOf(r.data()), (std::vector<int>{expected, 64}));
  EXPECT_EQ(fountainMarkerColour(fountainMarker(r.data(), 0)), fountainMarkerColour(first)) << "colour travels";
  EXPECT_EQ(changes, 1);

  // To the far right edge and beyond: 255.
  send(kMsgLeftDown, 0, packPoint(columnOf(64), 6));
  send(kMsgLeftUp, 0, packPoint(kFountainButtonWidth + 40, 6));
  EXPECT_EQ(positionsOf(record().data()), (std::vector<int>{expected, 255}));

  // A press and release without movement moves nothing.
  const auto kept = ramp();
  send(kMsgLeftDown, 0, packPoint(columnOf(255), 6));
  send(kMsgLeftUp, 0, packPoint(columnOf(255), 6));
  EXPECT_EQ(ramp(), kept);
  EXPECT_EQ(changes, 2);
}

TEST_F(FountainButton, ALoopedRampHasNoEndBox) {
  auto mine = makeFountain({128});
  init(mine.data());
  const auto g = fountainButtonGeometry(kFountainButtonWidth, kFountainButtonHeight);
  host.answers = {0x0000FF};
  send(kMsgLeftDoubleClick, 0, packPoint(g.ramp.right, 6));
  EXPECT_EQ(readU32(record().data() + fountain::kEndColour), 0x0000FFu) << "the end box edits the end colour";

  dialog->setText(kId, kFountainLoopedText);
  init(mine.data());
  const auto kept = ramp();
  host.answers = {0x00FF00};
  send(kMsgLeftDoubleClick, 0, packPoint(g.ramp.right, 6));
  EXPECT_EQ(send(kMsgFountainColour, uintptr_t(-2)), 0);
  EXPECT_EQ(host.asked, 1) << "neither the box nor the message asked for a colour";
  EXPECT_EQ(ramp(), kept);
}

TEST_F(FountainButton, RightPressOnAMarkerDeletesWithShiftOrOffersTheMenu) {
  auto mine = makeFountain({32, 64, 96});
  init(mine.data());
  gw::testing::setShiftKeyDown(true);
  send(kMsgRightDown, 0, packPoint(columnOf(64), 6));
  EXPECT_EQ(positionsOf(record().data()), (std::vector<int>{32, 96}));
  gw::testing::setShiftKeyDown(false);

  std::vector<std::string> offered;
  testing::setMenuResponder([&](const std::vector<std::string>& items) {
    offered = items;
    return 2;  // "Adjust position"
  });
  testing::setMarkerPositionResponder([](int position) { return position == 96 ? 10 : 0; });
  send(kMsgRightDown, 0, packPoint(columnOf(96), 6));
  EXPECT_EQ(offered, (std::vector<std::string>{"Delete marker", "Change color", "Adjust position"}));
  EXPECT_EQ(positionsOf(record().data()), (std::vector<int>{10, 32})) << "sorted after the move";

  // The ramp's menu; the library is reached from it and says so when absent.
  messages.clear();
  testing::setMenuResponder([&](const std::vector<std::string>& items) {
    offered = items;
    return -1;
  });
  const auto g = fountainButtonGeometry(kFountainButtonWidth, kFountainButtonHeight);
  const auto kept = ramp();
  send(kMsgRightDown, 0, packPoint(g.ramp.left + 20, g.ramp.top + 5));
  EXPECT_EQ(offered, (std::vector<std::string>{"Add to library", "Manage library"}));
  EXPECT_EQ(ramp(), kept);
  EXPECT_TRUE(messages.empty()) << "a dismissed menu does nothing";
}

TEST_F(FountainButton, DocumentLineRoundTripsTheRampAndRefusesBadHex) {
  auto mine = makeFountain({5, 250});
  writeU32(mine.data() + fountain::kStartColour, 0x102030);
  init(mine.data());
  dialog->setBinding(kId, uint8_t(ControlKind::kFountainButton), nullptr);
  const std::string line = documentLineOf(*dialog, kId);
  ASSERT_EQ(line.size(), std::string("FOUNTB120=").size() + 2 * kFountainRecordSize);
  EXPECT_EQ(line.substr(0, 10), "FOUNTB120=");
  // Run-time fields are not written: the preview handle's eight digits are zero.
  EXPECT_EQ(line.substr(10 + 2 * fountain::kPreviewImage, 8), "00000000");

  auto other = makeFountain({});
  init(other.data());
  EXPECT_TRUE(applyDocumentLine(*dialog, kId, line));
  auto r = record();
  EXPECT_EQ(positionsOf(r.data()), (std::vector<int>{5, 250}));
  EXPECT_EQ(readU32(r.data() + fountain::kStartColour), 0x102030u);
  EXPECT_NE(readU32(r.data() + fountain::kPreviewImage), 0u) << "a new preview of this run";

  const auto kept = ramp();
  std::string bad = line;
  bad[20] = 'G';
  EXPECT_FALSE(applyDocumentLine(*dialog, kId, bad));
  EXPECT_FALSE(applyDocumentLine(*dialog, kId, "MATLBT120=00"));
  EXPECT_EQ(ramp(), kept);
}

TEST_F(FountainButton, DestroyFreesTheRecordAndItsPreview) {
  const long before = gw::testing::liveBlockCount();
  auto mine = makeFountain({1, 2, 3});
  init(mine.data());
  host.answers = {1};
  send(kMsgFountainAddMarker, 9);
  EXPECT_GT(gw::testing::liveBlockCount(), before);
  send(kMsgDestroy, 0);
  EXPECT_EQ(fountainButtonRecord(*dialog, kId), 0u);
  EXPECT_EQ(gw::testing::liveBlockCount(), before);
}

TEST_F(FountainButton, KeepsItsRampInItsFileAndAddsItToTheLibrary) {
  TempFolder root("fountb");
  setenv("GLYPHWRIGHT_APPDATA", root.path().c_str(), 1);
  // The plug-in's folder exists once the dialog has run.
  std::filesystem::create_directories(std::filesystem::path(fountainLibraryPath()).parent_path());
  init(nullptr, kFountainFromFile);  // no file yet: the rainbow
  host.answers = {0x445566};
  send(kMsgFountainAddMarker, 250);
  const auto edited = ramp();
  send(kMsgDestroy, 0);  // written on close

  init(nullptr, kFountainFromFile);
  EXPECT_EQ(ramp(), edited) << "read back from its file";
  EXPECT_EQ(readU32(record().data() + fountain::kFlags), fountain::kFlagWriteBack);
  gw::testing::setShiftKeyDown(true);
  init(nullptr, kFountainFromFile);
  EXPECT_EQ(positionsOf(record().data()).size(), 7u) << "Shift: the file is ignored";
  gw::testing::setShiftKeyDown(false);

  testing::setMenuResponder([](const std::vector<std::string>&) { return 0; });  // "Add to library"
  const auto g = fountainButtonGeometry(kFountainButtonWidth, kFountainButtonHeight);
  EXPECT_EQ(send(kMsgFountainRampMenu, 0, packPoint(g.ramp.left + 3, g.ramp.top + 3)), 1);
  EXPECT_EQ(send(kMsgFountainRampMenu, 0, packPoint(g.ramp.left + 3, g.ramp.top + 3)), 1);
  FountainLibraryList list;
  ASSERT_EQ(fountainLibraryLoad(fountainLibraryPath(), 0, 0, &list), FountainLibraryStatus::Ok);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(positionsOf(list[1].record), (std::vector<int>{32, 64, 96, 128, 160, 192, 224}));
  EXPECT_TRUE(messages.empty());
  unsetenv("GLYPHWRIGHT_APPDATA");
}

}  // namespace
}  // namespace gw
