// The material button through the in-memory dialog: its file kept across
// openings (per kind), Shift for defaults, the kind menu and the two zones,
// the editors, the document line, duplication; the colour swatch's text and
// luminance rule; the pads' messages 1324/1326; and a material chosen on a
// page reaching the built frames.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "base/le_bytes.h"
#include "cli/render_host.h"
#include "controls/bound_control.h"
#include "controls/colour_swatch.h"
#include "controls/pad_model.h"
#include "documents/document_lines.h"
#include "effects/effect_pages.h"
#include "effects/effect_table.h"
#include "host/build_pipeline.h"
#include "host/main_dialog.h"
#include "materials/material_button.h"
#include "materials/material_file.h"
#include "materials/material_fill.h"
#include "materials/material_preview.h"
#include "materials/material_record.h"
#include "materials/tile_selection.h"
#include "platform/bitmap.h"
#include "platform/folders.h"
#include "platform/in_memory_dialog.h"
#include "platform/message_dialog.h"
#include "platform/system_state.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"
#include "temp_folder.h"

namespace gw {
namespace {

constexpr uint32_t kFace = 100;        // "Simple"'s fill
constexpr uint32_t kShadow = 102;
constexpr uint32_t kBackground = 104;

// What the hooks saw; the services are plain function pointers.
struct Seen {
  std::vector<std::pair<uint32_t, int32_t>> notified;
  std::vector<int32_t> menuKinds;
  uint32_t menuAnswer = 0;
  int colourPicks = 0;
  uint32_t colourAnswer = 0x00FF00;
  bool colourAccepted = true;
  int gradientEdits = 0;
};
Seen* seen = nullptr;

bool pickColour(const uint8_t*, WindowId, uint32_t* colour) {
  ++seen->colourPicks;
  if (seen->colourAccepted) *colour = seen->colourAnswer;
  return seen->colourAccepted;
}
bool editGradient(WindowId, const uint8_t*, uint8_t* settings621) {
  ++seen->gradientEdits;
  settings621[40] ^= 0xFF;  // a change the test can find
  return false;             // ... and then Cancel
}
uint32_t chooseKind(uint32_t, int32_t current) {
  seen->menuKinds.push_back(current);
  return seen->menuAnswer;
}
void notified(uint32_t id, int32_t kind) { seen->notified.push_back({id, kind}); }

std::vector<uint8_t> recordOf(const DialogFacade& dialog, uint32_t id) {
  MemLock lock(MemHandle(reinterpret_cast<uintptr_t>(dialog.boundVariable(id))));
  if (!lock || lock.size() < kMaterialRecordSize) return {};
  return std::vector<uint8_t>(lock.data(), lock.data() + kMaterialRecordSize);
}
int32_t kindOf(const DialogFacade& dialog, uint32_t id) {
  std::vector<uint8_t> r = recordOf(dialog, id);
  return r.empty() ? -1 : readI32(r.data() + material::kKind);
}
uint32_t colourOf(const DialogFacade& dialog, uint32_t id) {
  std::vector<uint8_t> r = recordOf(dialog, id);
  return r.empty() ? 0xFFFFFFFF : readU32(r.data() + material::kColour);
}
std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Pages made in a dialog of the main template, with files kept in a folder
// of the test's own.
class MaterialButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("GLYPHWRIGHT_APPDATA", folder.path().c_str(), 1);
    ::setenv("GLYPHWRIGHT_DOCUMENTS", folder.path().c_str(), 1);
    settings() = SettingsRecord();
    seen = &hooks;
    MaterialButtonServices s;
    s.keepFiles = true;
    s.pickColour = pickColour;
    s.editGradient = editGradient;
    s.showMessage = [](WindowId, const std::string& text) { shown().push_back(text); };
    s.chooseKindItem = chooseKind;
    s.notified = notified;
    setMaterialButtonServices(s);
    shown().clear();
    blocksBefore = testing::liveBlockCount();
  }
  void TearDown() override {
    dialog.reset();
    setMaterialButtonServices(MaterialButtonServices());
    testing::setShiftKeyDown(false);
    seen = nullptr;
    settings() = SettingsRecord();
    EXPECT_EQ(testing::liveBlockCount(), blocksBefore) << "buttons left blocks behind";
  }
  static std::vector<std::string>& shown() {
    static std::vector<std::string> s;
    return s;
  }
  void open(bool shift = false) {
    close();
    dialog = InMemoryDialog::fromResource(ResourceName::number(IDD_MAIN));
    ASSERT_TRUE(dialog);
    testing::setShiftKeyDown(shift);
    ASSERT_TRUE(createEffectPages(*dialog));
    testing::setShiftKeyDown(false);
  }
  void close() {
    if (!dialog) return;
    releaseEffectPages(*dialog);
    dialog.reset();
  }
  void send(uint32_t id, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) {
    dialog->sendMessage(id, message, wParam, lParam);
  }
  static intptr_t at(int x, int y) { return intptr_t(uint32_t(x) | (uint32_t(y) << 16)); }

  TempFolder folder{"matlbt"};
  Seen hooks;
  std::unique_ptr<InMemoryDialog> dialog;
  long blocksBefore = 0;
};

TEST_F(MaterialButtonTest, StartsAsItsPageSaysWithTilesFromThePrimaryGroup) {
  open();
  for (uint32_t id : {kFace, kShadow, kBackground}) {
    ASSERT_EQ(boundKindOf(*dialog, id), ControlKind::kMaterialButton);
    ASSERT_EQ(recordOf(*dialog, id).size(), kMaterialRecordSize);
    EXPECT_EQ(kindOf(*dialog, id), kMaterialSimple);
  }
  EXPECT_EQ(colourOf(*dialog, kFace), 0xBD7E40u);
  EXPECT_EQ(colourOf(*dialog, kShadow), 0x7F7F7Fu);
  std::vector<uint8_t> r = recordOf(*dialog, kFace);
  EXPECT_EQ(tileSelectionPath(r.data() + material::kTileSelection), primaryTileGroupPath());
  EXPECT_NE(readU32(r.data() + material::kPreviewImage), 0u) << "the preview is rendered at once";
  EXPECT_EQ(readU32(r.data() + material::kPreviewAverage), 0xBD7E40u);
}

// Every kind survives closing and opening again: the file holds the record
// without run-time handles, and Shift at the next opening gives defaults.
TEST_F(MaterialButtonTest, FileKeepsEveryKindAcrossOpenings) {
  for (int32_t kind = kMaterialSimple; kind <= kMaterialTile; ++kind) {
    SCOPED_TRACE(materialKindName(kind));
    open();
    hooks.colourAnswer = 0x102030 + uint32_t(kind);
    send(kFace, kMsgCommand, kMaterialKindCommand + kMaterialSimple);
    send(kFace, kMsgCommand, kMaterialEditCommand);  // a colour of its own first
    send(kFace, kMsgCommand, kMaterialKindCommand + uint32_t(kind));
    const std::vector<uint8_t> before = recordOf(*dialog, kFace);
    close();

    const std::string bytes = fileBytes(materialFilePath(kFace));
    ASSERT_EQ(bytes.size(), kMaterialRecordSize);
    EXPECT_EQ(bytes.substr(0, 8), "QUILCMAT");
    const auto* stored = reinterpret_cast<const uint8_t*>(bytes.data());
    EXPECT_EQ(readU32(stored + material::kPreviewImage), 0u);
    EXPECT_EQ(readU32(stored + material::kTileImage), 0u);
    EXPECT_EQ(readI32(stored + material::kKind), kind);

    open();
    std::vector<uint8_t> after = recordOf(*dialog, kFace);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(readI32(after.data() + material::kKind), kind);
    EXPECT_EQ(readU32(after.data() + material::kColour), 0x102030u + uint32_t(kind));
    // Everything but this run's handles is as it was.
    for (size_t o : {material::kTileImage, material::kPreviewImage}) {
      std::memset(after.data() + o, 0, 4);
      std::memset(const_cast<uint8_t*>(before.data()) + o, 0, 4);
    }
    EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));

    open(/*shift=*/true);
    EXPECT_EQ(kindOf(*dialog, kFace), kMaterialSimple);
    EXPECT_EQ(colourOf(*dialog, kFace), 0xBD7E40u);
    close();  // and the defaults are what the file keeps now
    open();
    EXPECT_EQ(colourOf(*dialog, kFace), 0xBD7E40u);
    close();
  }
}

TEST_F(MaterialButtonTest, AForeignOrShortFileGivesTheDefaults) {
  ASSERT_TRUE(makeFolderFor(materialFilePath(kShadow)));
  std::string foreign(kMaterialRecordSize, 'x');
  std::ofstream(materialFilePath(kShadow), std::ios::binary) << foreign;
  std::ofstream(materialFilePath(kFace), std::ios::binary) << std::string("QUILCMAT", 8);
  open();
  EXPECT_EQ(colourOf(*dialog, kShadow), 0x7F7F7Fu);
  EXPECT_EQ(colourOf(*dialog, kFace), 0xBD7E40u);
}

TEST_F(MaterialButtonTest, FilesAreLeftAloneWhereTheRunKeepsNone) {
  materialButtonServices().keepFiles = false;
  open();
  send(kFace, kMsgCommand, kMaterialKindCommand + kMaterialTexture);
  close();
  EXPECT_TRUE(fileBytes(materialFilePath(kFace)).empty());
}

TEST_F(MaterialButtonTest, KindMenuSwitchesKindsAndNotifiesTheParent) {
  open();
  hooks.menuAnswer = kMaterialKindCommand + kMaterialGradient;
  send(kFace, kMsgMaterialKindMenu);
  ASSERT_EQ(hooks.menuKinds, std::vector<int32_t>{kMaterialSimple});  // the current kind is checked
  EXPECT_EQ(kindOf(*dialog, kFace), kMaterialGradient);
  ASSERT_EQ(hooks.notified.size(), 1u);
  EXPECT_EQ(hooks.notified[0], std::make_pair(kFace, kMaterialGradient));
  // A new preview: a gradient's mean is not the Simple colour it was.
  std::vector<uint8_t> r = recordOf(*dialog, kFace);
  EXPECT_NE(readU32(r.data() + material::kPreviewAverage), 0xBD7E40u);

  hooks.menuAnswer = 0;  // the menu closed without a choice
  send(kFace, kMsgMaterialKindMenu);
  EXPECT_EQ(kindOf(*dialog, kFace), kMaterialGradient);
  EXPECT_EQ(hooks.notified.size(), 1u);
}

TEST_F(MaterialButtonTest, TheTwoZonesOfTheFace) {
  open();
  const int w = kMaterialPreviewWidth + kMaterialArrowWidth;
  hooks.menuAnswer = kMaterialKindCommand + kMaterialTile;
  struct Press {
    int downX, upX;
    bool menu, edit;
  } presses[] = {
      {w - 1, w - 1, true, false},            // the arrow
      {w - kMaterialArrowWidth, w - 5, true, false},
      {w - kMaterialArrowWidth - 1, 3, false, true},  // the face
      {0, 0, false, true},
      {5, w + 10, false, false},              // let go outside: taken back
      {w - 2, -3, false, false},
  };
  for (const Press& p : presses) {
    SCOPED_TRACE(std::to_string(p.downX) + " -> " + std::to_string(p.upX));
    hooks.menuKinds.clear();
    hooks.colourPicks = 0;
    send(kFace, kMsgCommand, kMaterialKindCommand + kMaterialSimple);
    send(kFace, kMsgLeftButtonDown, 0, at(p.downX, 4));
    const uint32_t state = readU32(recordOf(*dialog, kFace).data() + material::kButtonState);
    EXPECT_EQ(state, materialButtonArrowAt(w, p.downX) ? 2u : 1u);
    send(kFace, kMsgLeftButtonUp, 0, at(p.upX & 0xFFFF, 4));
    EXPECT_EQ(readU32(recordOf(*dialog, kFace).data() + material::kButtonState), 0u);
    EXPECT_EQ(!hooks.menuKinds.empty(), p.menu);
    EXPECT_EQ(hooks.colourPicks, p.edit ? 1 : 0);
  }
}

TEST_F(MaterialButtonTest, EditOpensTheEditorOfTheKindAndKeepsACancelledOne) {
  open();
  // Simple: the colour picker; accepted, then cancelled.
  send(kShadow, kMsgCommand, kMaterialEditCommand);
  EXPECT_EQ(colourOf(*dialog, kShadow), 0x00FF00u);
  EXPECT_EQ(readU32(recordOf(*dialog, kShadow).data() + material::kPreviewAverage), 0x00FF00u);
  hooks.colourAccepted = false;
  hooks.colourAnswer = 0x0000FF;
  send(kShadow, kMsgCommand, kMaterialEditCommand);
  EXPECT_EQ(colourOf(*dialog, kShadow), 0x00FF00u);
  EXPECT_EQ(hooks.notified.size(), 1u) << "only the accepted edit notifies";

  // Gradient: the editor works on a copy that a Cancel throws away.
  send(kShadow, kMsgCommand, kMaterialKindCommand + kMaterialGradient);
  const std::vector<uint8_t> before = recordOf(*dialog, kShadow);
  send(kShadow, kMsgCommand, kMaterialEditCommand);
  EXPECT_EQ(hooks.gradientEdits, 1);
  EXPECT_EQ(recordOf(*dialog, kShadow), before);

  // Texture and Tile have no dialog in this build: the user is told so.
  for (int32_t kind : {kMaterialTexture, kMaterialTile}) {
    shown().clear();
    send(kShadow, kMsgCommand, kMaterialKindCommand + uint32_t(kind));
    send(kShadow, kMsgCommand, kMaterialEditCommand);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_NE(shown()[0].find("not available in this build"), std::string::npos) << shown()[0];
  }
}

TEST_F(MaterialButtonTest, DocumentLineRoundTripRendersANewPreview) {
  open();
  send(kFace, kMsgCommand, kMaterialKindCommand + kMaterialTexture);
  const std::string line = documentLineOf(*dialog, kFace);
  ASSERT_EQ(line.size(), std::string("MATLBT100=").size() + 2 * kMaterialRecordSize);
  EXPECT_EQ(line.substr(0, 10), "MATLBT100=");
  // The line carries no handles of this run.
  EXPECT_EQ(line.substr(10 + 2 * material::kPreviewImage, 8), "00000000");

  const uint32_t averageBefore = readU32(recordOf(*dialog, kBackground).data() + material::kPreviewAverage);
  ASSERT_TRUE(applyDocumentLine(*dialog, kBackground, "matlbt104= =" + line.substr(10)));
  std::vector<uint8_t> r = recordOf(*dialog, kBackground);
  EXPECT_EQ(readI32(r.data() + material::kKind), kMaterialTexture);
  EXPECT_NE(readU32(r.data() + material::kPreviewImage), 0u);
  EXPECT_NE(readU32(r.data() + material::kPreviewAverage), averageBefore);
  EXPECT_EQ(documentLineOf(*dialog, kBackground).substr(10), line.substr(10));

  // A pair that is not hexadecimal: the button keeps what it had.
  std::string bad = line;
  bad[20] = 'G';
  EXPECT_FALSE(applyDocumentLine(*dialog, kShadow, bad));
  EXPECT_EQ(kindOf(*dialog, kShadow), kMaterialSimple);
}

TEST_F(MaterialButtonTest, DuplicateHasItsOwnTileAndNoPreview) {
  open();
  send(kFace, kMsgCommand, kMaterialKindCommand + kMaterialTile);
  MemBlock copy(MemHandle(dialog->sendMessage(kFace, kMsgMaterialDuplicate, 0, 0)));
  ASSERT_TRUE(copy);
  MemLock lock(copy.get());
  ASSERT_GE(lock.size(), kMaterialRecordSize);
  const std::vector<uint8_t> original = recordOf(*dialog, kFace);
  EXPECT_EQ(readU32(lock.data() + material::kPreviewImage), 0u);
  EXPECT_EQ(readI32(lock.data() + material::kKind), kMaterialTile);
  const uint32_t tile = readU32(lock.data() + material::kTileImage);
  if (readU32(original.data() + material::kTileImage)) { EXPECT_NE(tile, readU32(original.data() + material::kTileImage)); }
  tileSelectionFreeImage(lock.data() + material::kTileSelection);
}

TEST(ColourSwatch, TextFormats) {
  struct Case {
    uint32_t options;
    const char* windowText;
    uint32_t colour;
    bool draw;
    const char* text;
  } cases[] = {
      {0, "Start", 0x123456, true, "Start"},
      {0, "", 0x123456, false, ""},                      // no text of its own: none
      {kSwatchRgbText, "", 0x0A0B0C, true, "12,11,10"},  // red is the low byte
      {kSwatchHexText, "", 0x0A0B0C, true, "0C0B0A"},
      {kSwatchHashText, "", 0xFF0001, true, "#0100FF"},
      {kSwatchHashText, "255", 0xFF0001, true, "#FF0000"},  // the window's number wins
      {kSwatchRgbText, "not a number", 0x000102, true, "2,1,0"},
      {kSwatchRgbText | kSwatchNoText, "", 0x123456, false, ""},
      {kSwatchHexText | kSwatchFillOnly, "", 0x123456, false, ""},
      {kSwatchHexText | kSwatchOwnFont | kSwatchNoEdge | kSwatchNoFocus, "", 0xABCDEF, true, "EFCDAB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.options) + " '" + c.windowText + "'");
    SwatchText t = swatchText(c.options, c.windowText, c.colour);
    EXPECT_EQ(t.draw, c.draw);
    if (c.draw) { EXPECT_EQ(t.text, c.text); }
  }
  EXPECT_FALSE(swatchText(kSwatchRgbText, "", 0, /*disabled=*/true).draw);

  EXPECT_FALSE(swatchParts(kSwatchNoEdge).edge);
  EXPECT_TRUE(swatchParts(kSwatchNoEdge).focus);
  EXPECT_FALSE(swatchParts(kSwatchNoFocus).focus);
  EXPECT_FALSE(swatchParts(kSwatchFillOnly).edge);
  EXPECT_FALSE(swatchParts(kSwatchFillOnly).focus);
}

TEST(ColourSwatch, LuminanceRuleMatchesTheCaptionRuleEverywhere) {
  // Each term divided on its own: 0x00DB00 gives 128 (white), 0x00DC00 129.
  EXPECT_TRUE(swatchTextIsWhite(0x00DB00));
  EXPECT_FALSE(swatchTextIsWhite(0x00DC00));
  EXPECT_TRUE(swatchTextIsWhite(0x808080));
  EXPECT_FALSE(swatchTextIsWhite(0x838383));
  // Whole terms: red and blue full give 105; green 39 adds 22 (127, white),
  // green 42 adds 24 (129, black).
  EXPECT_TRUE(swatchTextIsWhite(0xFF27FF));
  EXPECT_FALSE(swatchTextIsWhite(0xFF2AFF));
  for (uint32_t r = 0; r < 256; r += 5)
    for (uint32_t g = 0; g < 256; g += 3)
      for (uint32_t b = 0; b < 256; b += 17) {
        const uint32_t c = r | g << 8 | b << 16;
        ASSERT_EQ(swatchTextIsWhite(c), captionIsWhite(c)) << std::hex << c;
      }
  EXPECT_TRUE(swatchText(kSwatchHexText, "", 0x000000).white);
  EXPECT_FALSE(swatchText(kSwatchHexText, "0", 0xFFFFFF).white) << "read against the fill";
}

TEST(PadMessages, InitialiseAndTakeTheValueFromTheText) {
  auto dialog = InMemoryDialog::fromResource(ResourceName::number(IDD_MAIN));
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(createEffectPages(*dialog));
  const uint32_t pad = 120;  // "Simple"'s shadow direction
  ASSERT_EQ(boundKindOf(*dialog, pad), ControlKind::kShadowPad);
  int32_t bound = -1;
  EXPECT_EQ(dialog->sendMessage(pad, kMsgControlInit, 3, reinterpret_cast<intptr_t>(&bound)), 1);
  EXPECT_EQ(dialog->text(pad), "3");
  EXPECT_EQ(padValue(*dialog, pad), 3);
  EXPECT_EQ(dialog->boundVariable(pad), &bound);

  struct Case {
    const char* text;
    int32_t value;
    const char* shown;
  } cases[] = {{"5", 5, "5"}, {"007", 7, "7"}, {"", 0, "0"}, {"x1", 0, "0"}, {"4294967295", -1, "4294967295"}};
  for (const Case& c : cases) {
    dialog->setText(pad, c.text);
    EXPECT_EQ(dialog->sendMessage(pad, kMsgPadFromText, 0, 0), 1);
    EXPECT_EQ(bound, c.value) << c.text;
    EXPECT_EQ(dialog->text(pad), c.shown);
  }
  // Other controls do not take pad messages.
  EXPECT_EQ(dialog->sendMessage(112, kMsgPadFromText, 0, 0), 0);
  dialog->setBinding(pad, uint8_t(ControlKind::kShadowPad), nullptr);
  releaseEffectPages(*dialog);
}

// The whole way: the main dialog opens, the face gets a colour through its
// editor and the shadow a texture through the kind menu, a build carries
// both into the frames, closing writes the files and the next opening
// restores them.
TEST_F(MaterialButtonTest, AChosenMaterialReachesTheBuiltFramesAndTheNextOpening) {
  cli::RenderHost host;
  auto runDialog = [&](bool shift) {
    dialog = InMemoryDialog::fromResource(ResourceName::number(IDD_MAIN));
    testing::setShiftKeyDown(shift);
    bool ok = mainDialogInit(*dialog, host.params(), 1024, 768);
    testing::setShiftKeyDown(false);
    // The main dialog gives the run's own services; the test's hooks stand in
    // for the host's colour picker and the menu.
    MaterialButtonServices& s = materialButtonServices();
    s.pickColour = pickColour;
    s.chooseKindItem = chooseKind;
    s.notified = notified;
    return ok;
  };
  settings().MainEffect = kSimpleEffectIndex;
  ASSERT_TRUE(runDialog(false));
  ASSERT_EQ(dialog->selection(IDC_EFFECT), kSimpleEffectIndex);
  dialog->setText(IDC_TEXT, "Gw");
  dialog->setChecked(IDC_TRUE_COLOUR, true);
  hooks.colourAnswer = 0x00FF00;
  send(kFace, kMsgCommand, kMaterialEditCommand);
  hooks.menuAnswer = kMaterialKindCommand + kMaterialTexture;
  send(kBackground, kMsgMaterialKindMenu);
  ASSERT_EQ(kindOf(*dialog, kBackground), kMaterialTexture);
  ASSERT_TRUE(runBuild(*dialog, host.params(), 1));
  ASSERT_FALSE(host.animation().frames.empty());

  // The line scrolls in: the middle frame shows it whole.
  const size_t middle = host.animation().frames.size() / 2;
  auto& dib = const_cast<std::vector<uint8_t>&>(host.animation().frames[middle].dib);
  BitmapView frame = BitmapView::over(dib.data(), dib.size());
  ASSERT_TRUE(frame.valid());
  int green = 0;
  std::set<uint32_t> colours;
  for (int32_t y = 0; y < frame.height(); ++y)
    for (int32_t x = 0; x < frame.width(); ++x) {
      const uint32_t c = uint32_t(frame.getPixel(x, y));
      green += c == 0x00FF00;
      colours.insert(c);
    }
  EXPECT_GT(green, 20) << "the face's colour is in the frame";
  EXPECT_GT(colours.size(), 40u) << "the textured background is in the frame";

  mainDialogDestroy(*dialog);
  dialog.reset();
  EXPECT_EQ(fileBytes(materialFilePath(kFace)).size(), kMaterialRecordSize);
  EXPECT_EQ(fileBytes(materialFilePath(kBackground)).size(), kMaterialRecordSize);

  ASSERT_TRUE(runDialog(false));
  EXPECT_EQ(colourOf(*dialog, kFace), 0x00FF00u);
  EXPECT_EQ(kindOf(*dialog, kBackground), kMaterialTexture);
  mainDialogDestroy(*dialog);
  dialog.reset();

  ASSERT_TRUE(runDialog(true));
  EXPECT_EQ(colourOf(*dialog, kFace), 0xBD7E40u);
  EXPECT_EQ(kindOf(*dialog, kBackground), kMaterialSimple);
  mainDialogDestroy(*dialog);
  dialog.reset();
}

TEST(Folders, MakeFolderForMakesEveryMissingLevel) {
  TempFolder folder("folders");
  const std::string file = folder.path() + "/a/b/c/file.bin";
  ASSERT_TRUE(makeFolderFor(file));
  EXPECT_TRUE(makeFolderFor(file)) << "folders already there are fine";
  std::ofstream(file) << "x";
  EXPECT_EQ(fileBytes(file), "x");
  // A file in the way of a folder cannot be made into one.
  EXPECT_FALSE(makeFolderFor(file + "/inner.bin"));
}

}  // namespace
}  // namespace gw
