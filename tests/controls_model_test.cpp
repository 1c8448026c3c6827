#include <gtest/gtest.h>

#include "controls/bound_control.h"
#include "controls/colour_request.h"
#include "controls/list_text.h"
#include "controls/pad_glyphs.h"
#include "controls/pad_model.h"
#include "controls/spin_field.h"
#include "platform/in_memory_dialog.h"

namespace gw {
namespace {

TEST(ControlsSpinRange, ParsesLikeScanf) {
  SpinRange r = parseSpinRange("1,1000,10");
  EXPECT_TRUE(r.hasRange);
  EXPECT_TRUE(r.hasPos);
  EXPECT_EQ(r.min, 1);
  EXPECT_EQ(r.max, 1000);
  EXPECT_EQ(r.pos, 10);
  r = parseSpinRange("-50, 50");
  EXPECT_TRUE(r.hasRange);
  EXPECT_FALSE(r.hasPos);
  EXPECT_EQ(r.min, -50);
  EXPECT_EQ(r.max, 50);
  // Not two numbers: no range, values clamp to 0..100.
  for (const char* bad : {"", "abc", "5", "5;6;7", ",1,2"}) {
    r = parseSpinRange(bad);
    EXPECT_FALSE(r.hasRange) << bad;
    EXPECT_EQ(r.min, 0);
    EXPECT_EQ(r.max, 100);
  }
}

TEST(ControlsSpinRange, ValueIsClampedAndSignedOnlyForNegativeRanges) {
  SpinRange r = parseSpinRange("1,1000,10");
  EXPECT_EQ(spinValueOf("9999", r), 1000);
  EXPECT_EQ(spinValueOf("0", r), 1);
  EXPECT_EQ(spinValueOf("500", r), 500);
  EXPECT_EQ(spinValueOf("", r), 1);           // no number reads 0, clamped
  EXPECT_EQ(spinValueOf("-5", r), 1);         // unsigned reading rejects the sign
  EXPECT_EQ(spinValueOf("12abc", r), 1);      // a dialog reads whole numbers only
  EXPECT_EQ(spinValueOf("  42  ", r), 42);
  EXPECT_EQ(spinValueOf("4294967295", r), 1000);
  EXPECT_EQ(spinValueOf("99999999999", r), 1);  // beyond 32 bits: no number
  SpinRange s = parseSpinRange("-100,100,0");
  EXPECT_EQ(spinValueOf("-5", s), -5);
  EXPECT_EQ(spinValueOf("-500", s), -100);
}

TEST(ControlsPads, CellsAndValues) {
  EXPECT_EQ(padValueCount(ControlKind::kShadowPad), 8);
  EXPECT_EQ(padValueCount(ControlKind::kScroll4Pad), 4);
  EXPECT_EQ(padValueCount(ControlKind::kScroll2Pad), 2);
  EXPECT_EQ(padValueCount(ControlKind::kScrollHVPad), 2);
  EXPECT_EQ(padCellAt(ControlKind::kShadowPad, 0, 0), 0);
  EXPECT_EQ(padCellAt(ControlKind::kShadowPad, 74, 74), 7);
  EXPECT_EQ(padCellAt(ControlKind::kShadowPad, 60, 30), 3);
  EXPECT_EQ(padCellAt(ControlKind::kShadowPad, 10, 30), 4);
  EXPECT_EQ(padCellAt(ControlKind::kShadowPad, 37, 37), -1);  // the centre is never a value
  EXPECT_EQ(padCellAt(ControlKind::kShadowPad, 75, 10), -1);
  EXPECT_EQ(padCellAt(ControlKind::kScroll4Pad, 30, 5), 0);
  EXPECT_EQ(padCellAt(ControlKind::kScroll4Pad, 5, 5), -1);
  EXPECT_EQ(padCellAt(ControlKind::kScroll4Pad, 30, 60), 3);
  EXPECT_EQ(padCellAt(ControlKind::kScroll2Pad, 30, 5), 1);
  EXPECT_EQ(padCellAt(ControlKind::kScrollHVPad, 5, 30), 0);
  EXPECT_EQ(padCellAt(ControlKind::kScrollHVPad, 30, 5), 1);
  EXPECT_EQ(padGlyphStrip(ControlKind::kShadowPad), 7104);
  EXPECT_EQ(padGlyphStrip(ControlKind::kScrollHVPad), 7110);
  PadCell c;
  EXPECT_TRUE(padCell(ControlKind::kScroll4Pad, 1, &c));
  EXPECT_EQ(c.left, 50);
  EXPECT_EQ(c.top, 25);
  EXPECT_FALSE(padCell(ControlKind::kScroll4Pad, 4, &c));
}

TEST(ControlsListText, SplitsAtSemicolonRuns) {
  EXPECT_EQ(splitListText("a;b;;c;"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(splitListText(";;;"), std::vector<std::string>{});
  EXPECT_EQ(splitListText(std::string(300, 'x'))[0].size(), 260u);
}

TEST(ControlsColourRequest, OrthogonalPaletteLevels) {
  uint8_t p[768];
  orthogonalPalette256(p);
  EXPECT_EQ(p[3 * 255 + 0], 255);
  EXPECT_EQ(p[3 * 255 + 2], 255);
  EXPECT_EQ(p[3 * (1 * 32 + 2 * 4 + 3) + 0], 36);
  EXPECT_EQ(p[3 * (1 * 32 + 2 * 4 + 3) + 1], 72);
  EXPECT_EQ(p[3 * (1 * 32 + 2 * 4 + 3) + 2], 255);
}

// A small dialog holding one control of each kind.
class ControlsBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DialogTemplate t;
    auto add = [&](uint32_t id, const char* cls, const char* text) {
      DialogItem i;
      i.id = id;
      i.className = cls;
      i.text = text;
      i.style = 0x50000000;
      t.items.push_back(i);
    };
    add(1, "Button", "Build");
    add(52, "Edit", "");
    add(100, "Edit", "");
    add(10100, "msctls_updown32", "1,1000,10");
    add(11, "Edit", "");
    add(10011, "msctls_updown32", "0,6000,5");
    add(102, "Button", "");
    add(103, "Button", "");
    add(104, "ComboBox", "");
    add(105, "Button", "");
    add(106, "Button", "");
    dialog = std::make_unique<InMemoryDialog>(t);
    for (const char* s : {"Alpha", "Beta", "Gamma"}) dialog->addItem(104, s);
    bindControl(*dialog, 52, ControlKind::kTextField, text);
    bindControl(*dialog, 100, ControlKind::kSpinField, &spin);
    bindControl(*dialog, 11, ControlKind::kSpinField, &delay);
    bindControl(*dialog, 102, ControlKind::kCheckBox, &check);
    bindControl(*dialog, 103, ControlKind::kColourButton, &colour);
    bindControl(*dialog, 104, ControlKind::kDropDownList, &list);
    bindControl(*dialog, 105, ControlKind::kShadowPad, &pad);
    bindControl(*dialog, 106, ControlKind::kCheckBox, nullptr);
  }
  CommandResult notify(uint32_t id, ControlEvent e = ControlEvent::kChange) {
    return handleControlCommand(*dialog, id, e, [this](uint32_t* c) {
      if (!pickerAnswer) return false;
      *c = pickerColour;
      return true;
    });
  }
  std::unique_ptr<InMemoryDialog> dialog;
  char text[kBoundTextSize] = "Hello";
  int32_t spin = 10, delay = 5, check = 1, colour = 0x333333, list = 1, pad = 7;
  bool pickerAnswer = true;
  uint32_t pickerColour = 0x0000FF;
};

TEST_F(ControlsBindingTest, ControlsShowTheirVariablesWhenBound) {
  EXPECT_EQ(dialog->text(52), "Hello");
  EXPECT_EQ(dialog->text(100), "10");
  EXPECT_TRUE(dialog->checked(102));
  EXPECT_EQ(dialog->text(103), "3355443");
  EXPECT_EQ(dialog->selection(104), 1);
  EXPECT_EQ(dialog->text(105), "7");
  EXPECT_EQ(padValue(*dialog, 105), 7);
}

TEST_F(ControlsBindingTest, SpinStoresTheClampedValueAndKeepsWhatWasTyped) {
  dialog->setText(100, "9999");
  CommandResult r = notify(100);
  EXPECT_EQ(spin, 1000);
  EXPECT_EQ(dialog->text(100), "9999");
  EXPECT_TRUE(r.stored);
  EXPECT_TRUE(r.restartRefresh);
  // The up-down partner speaks for its edit.
  dialog->setText(100, "250");
  notify(10100);
  EXPECT_EQ(spin, 250);
}

TEST_F(ControlsBindingTest, IdsBelowFiftyNeverRestartTheRefresh) {
  dialog->setText(11, "12");
  CommandResult r = notify(11);
  EXPECT_EQ(delay, 12);
  EXPECT_FALSE(r.restartRefresh);
}

TEST_F(ControlsBindingTest, TextFieldsStoreAtMost259AndCheckTheBuildButton) {
  dialog->setText(52, std::string(400, 'q'));
  CommandResult r = notify(52);
  EXPECT_EQ(std::string(text), std::string(259, 'q'));
  EXPECT_TRUE(r.checkBuildButton);
  updateBuildButton(*dialog);
  EXPECT_TRUE(dialog->enabled(1));
  dialog->setText(52, "");
  notify(52);
  updateBuildButton(*dialog);
  EXPECT_FALSE(dialog->enabled(1));
}

TEST_F(ControlsBindingTest, ListsStoreOnlyOnCloseUp) {
  dialog->setSelection(104, 2);
  CommandResult r = notify(104, ControlEvent::kChange);
  EXPECT_EQ(list, 1);
  EXPECT_FALSE(r.restartRefresh);
  EXPECT_TRUE(r.checkBuildButton);
  r = notify(104, ControlEvent::kCloseUp);
  EXPECT_EQ(list, 2);
  EXPECT_TRUE(r.restartRefresh);
}

TEST_F(ControlsBindingTest, CheckBoxesAndUnboundControls) {
  dialog->setChecked(102, false);
  notify(102, ControlEvent::kClick);
  EXPECT_EQ(check, 0);
  dialog->setChecked(106, true);
  CommandResult r = notify(106, ControlEvent::kClick);  // no variable: works, stores nothing
  EXPECT_TRUE(r.restartRefresh);
}

TEST_F(ControlsBindingTest, ColourButtonStoresOnlyAPickedColour) {
  pickerAnswer = false;
  CommandResult r = notify(103, ControlEvent::kClick);
  EXPECT_EQ(colour, 0x333333);
  EXPECT_FALSE(r.restartRefresh);
  pickerAnswer = true;
  r = notify(103, ControlEvent::kClick);
  EXPECT_EQ(colour, 0x0000FF);
  EXPECT_EQ(dialog->text(103), "255");
  EXPECT_TRUE(r.restartRefresh);
}

TEST_F(ControlsBindingTest, DocumentLinesWriteAndApply) {
  EXPECT_EQ(controlDocumentLine(*dialog, 100), "SPNBTN100=10");
  EXPECT_EQ(controlDocumentLine(*dialog, 102), "CHKBOX102=1");
  EXPECT_EQ(controlDocumentLine(*dialog, 103), "CLRBTN103=3355443");
  EXPECT_EQ(controlDocumentLine(*dialog, 52), "TXTFLD52=Hello");
  EXPECT_EQ(controlDocumentLine(*dialog, 104), "CMBBOX104=1");
  EXPECT_EQ(controlDocumentLine(*dialog, 105), "SDWDIR105=7");
  EXPECT_EQ(controlDocumentLine(*dialog, 1), "");  // push buttons write nothing

  EXPECT_TRUE(applyControlDocumentLine(*dialog, 100, "SPNBTN100=9999"));
  EXPECT_EQ(dialog->text(100), "9999");
  EXPECT_EQ(spin, 1000);
  EXPECT_TRUE(applyControlDocumentLine(*dialog, 102, "chkbox102 == 0"));
  EXPECT_EQ(check, 0);
  EXPECT_FALSE(dialog->checked(102));
  EXPECT_TRUE(applyControlDocumentLine(*dialog, 104, "CMBBOX104=99"));
  EXPECT_EQ(list, -1);
  EXPECT_TRUE(applyControlDocumentLine(*dialog, 105, "SDWDIR105=3"));
  EXPECT_EQ(pad, 3);
  EXPECT_EQ(padValue(*dialog, 105), 3);
  EXPECT_TRUE(applyControlDocumentLine(*dialog, 103, "CLRBTN103=4294967295"));
  EXPECT_EQ(colour, -1);
  EXPECT_FALSE(applyControlDocumentLine(*dialog, 100, "CHKBOX100=1"));  // not its tag
  EXPECT_FALSE(applyControlDocumentLine(*dialog, 100, "SPNBTN100"));    // no "="
}

}  // namespace
}  // namespace gw

namespace gw {
namespace {

TEST(ControlsPadGlyphs, StripsBlendOverTheCellColour) {
  uint32_t px[kPadGlyphSize * kPadGlyphSize];
  for (ControlKind kind : {ControlKind::kShadowPad, ControlKind::kScroll4Pad, ControlKind::kScroll2Pad,
                           ControlKind::kScrollHVPad}) {
    for (int v = 0; v < padValueCount(kind); ++v) {
      ASSERT_TRUE(padGlyph(kind, v, 0xC0C0C0, px)) << int(kind) << " " << v;
      // Each glyph covers some pixels fully and leaves its corners to the fill.
      int dark = 0;
      for (uint32_t c : px) dark += c == 0x202020;
      EXPECT_GT(dark, 10);
      EXPECT_EQ(px[0], 0xC0C0C0u);
    }
    EXPECT_FALSE(padGlyph(kind, padValueCount(kind), 0, px));
  }
  // The shadow pad's "right" arrow (value 3) has its tip on the right.
  ASSERT_TRUE(padGlyph(ControlKind::kShadowPad, 3, 0xFFFFFF, px));
  EXPECT_EQ(px[10 * kPadGlyphSize + 14], 0x202020u);
  EXPECT_EQ(px[10 * kPadGlyphSize + 0], 0xFFFFFFu);
  EXPECT_FALSE(padGlyph(ControlKind::kCheckBox, 0, 0, px));
}

}  // namespace
}  // namespace gw
