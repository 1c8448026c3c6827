// Effect documents: every control kind's line round trip, the reading rules
// line by line, malformed documents, atomic saving, the main dialog's
// document commands and the file dialogs' remembered size.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "base/le_bytes.h"
#include "cli/render_host.h"
#include "controls/bound_control.h"
#include "controls/pad_model.h"
#include "documents/document_file.h"
#include "documents/document_lines.h"
#include "documents/document_text.h"
#include "effects/effect_pages.h"
#include "effects/effect_table.h"
#include "host/main_dialog.h"
#include "host/plugin_state.h"
#include "materials/material_record.h"
#include "platform/in_memory_dialog.h"
#include "platform/message_dialog.h"
#include "platform/system_state.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"
#include "settings/settings_table.h"
#include "temp_folder.h"
#include "ui/file_dialog_size.h"

namespace gw {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The main dialog in memory as the plug-in opens it with Shift held.
class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("GLYPHWRIGHT_APPDATA", folder.path().c_str(), 1);
    ::setenv("GLYPHWRIGHT_DOCUMENTS", folder.path().c_str(), 1);
    settings() = SettingsRecord();
    dialog = openDialog();
    setMessageResponder([this](const std::string&, const std::string& text) {
      messages.push_back(text);
      return 1;
    });
  }
  void TearDown() override {
    setMessageResponder(nullptr);
    for (auto& d : opened) releaseEffectPages(*d);
    settings() = SettingsRecord();
  }

  InMemoryDialog* openDialog() {
    opened.push_back(InMemoryDialog::fromResource(ResourceName::number(IDD_MAIN)));
    InMemoryDialog* d = opened.back().get();
    testing::setShiftKeyDown(true);
    EXPECT_TRUE(mainDialogInit(*d, host.params(), 1024, 768));
    testing::setShiftKeyDown(false);
    return d;
  }

  // The first control of a kind, in the order the document writes them.
  uint32_t firstOf(ControlKind kind) const {
    for (uint32_t id : dialog->childIds())
      if (boundKindOf(*dialog, id) == kind) return id;
    return 0;
  }

  uint8_t* materialOf(DialogFacade& d, uint32_t id) {
    return memLock(MemHandle(reinterpret_cast<uintptr_t>(d.boundVariable(id))));
  }

  DocumentLine applyOne(const std::string& line) {
    std::vector<DocumentLine> report;
    EXPECT_EQ(applyDocumentText(*dialog, std::string(kDocumentHeader) + "\r\n" + line, &report),
              DocumentRead::kRead);
    return report.size() > 1 ? report[1] : DocumentLine{};
  }

  TempFolder folder{"documents"};
  cli::RenderHost host;
  std::vector<std::unique_ptr<InMemoryDialog>> opened;
  InMemoryDialog* dialog = nullptr;
  std::vector<std::string> messages;
};

TEST_F(DocumentTest, WritesEveryEffectsControlsBetweenHeaderAndEnd) {
  const std::string text = documentText(*dialog);
  ASSERT_EQ(text.rfind(";This is a document created by Glyphwright 5 Plugin by Quillmere - do not edit.\r\n"
                       ";Start of document\r\n", 0), 0u);
  EXPECT_EQ(text.substr(text.size() - 18), ";End of document\r\n");
  // Hidden pages write like the shown one: one line per bound control of every page.
  size_t expected = 0;
  for (uint32_t id : dialog->childIds()) expected += documentLineKind(boundKindOf(*dialog, id)) != nullptr;
  size_t lines = 0;
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, expected + 3);
  EXPECT_GT(expected, 300u);
  for (int i = 0; i < kEffectCount; ++i)
    for (const PageControl* c = effectRow(i).controls; c && c->id; ++c) {
      if (!controlTag(c->kind) || c->kind == ControlKind::kAnimationSelector ||
          c->kind == ControlKind::kFountainButton)
        continue;
      EXPECT_NE(text.find(std::string("\n") + controlTag(c->kind) + std::to_string(c->id) + "="), std::string::npos)
          << c->id;
    }
  // The main dialog's controls come first, in template order, then the pages'.
  size_t last = 0;
  for (const DialogItem& item : dialog->dialogTemplate().items) {
    std::string line = documentLineOf(*dialog, item.id);
    if (line.empty()) continue;
    size_t at = text.find("\n" + line + "\r");
    EXPECT_GT(at, last) << line;
    last = at;
  }
  EXPECT_LT(last, text.find("\nMATLBT100="));
  EXPECT_EQ(text, documentText(*dialog));  // no run-time handle leaks into it
}

void nextPadValue(InMemoryDialog& d, uint32_t id) {
  d.setText(id, std::to_string((padValue(d, id) + 1) % padValueCount(boundKindOf(d, id))));
}

TEST_F(DocumentTest, EveryControlKindRoundTrips) {
  struct Change {
    ControlKind kind;
    void (*set)(InMemoryDialog& d, uint32_t id);
  };
  const Change changes[] = {
      {ControlKind::kCheckBox, [](InMemoryDialog& d, uint32_t id) { d.setChecked(id, !d.checked(id)); }},
      {ControlKind::kSpinField, [](InMemoryDialog& d, uint32_t id) { d.setText(id, "7"); }},
      {ControlKind::kColourButton, [](InMemoryDialog& d, uint32_t id) { d.setText(id, "4294967295"); }},
      {ControlKind::kTextField, [](InMemoryDialog& d, uint32_t id) { d.setText(id, "Round = trip; \xE9t\xE9"); }},
      {ControlKind::kDropDownList, [](InMemoryDialog& d, uint32_t id) { d.setSelection(id, d.itemCount(id) - 1); }},
      {ControlKind::kFontList, [](InMemoryDialog& d, uint32_t id) { d.setSelection(id, d.itemCount(id) - 1); }},
      {ControlKind::kShadowPad, nextPadValue},
      {ControlKind::kScroll4Pad, nextPadValue},
      {ControlKind::kScroll2Pad, nextPadValue},
      {ControlKind::kScrollHVPad, nextPadValue},
  };
  for (const Change& c : changes) {
    const uint32_t id = firstOf(c.kind);
    ASSERT_NE(id, 0u) << controlTag(c.kind);
    const std::string before = documentLineOf(*dialog, id);
    c.set(*dialog, id);
    EXPECT_NE(documentLineOf(*dialog, id), before) << controlTag(c.kind);
  }
  // A material of another kind, with a run-time handle that must not travel.
  uint8_t* rec = materialOf(*dialog, 100);
  ASSERT_TRUE(rec);
  writeI32(rec + material::kKind, kMaterialGradient);
  writeU32(rec + material::kColour, 0x123456);
  memUnlock(MemHandle(reinterpret_cast<uintptr_t>(dialog->boundVariable(100))));

  TempFolder files("documents-rt");
  const std::string path = files.file("all.gw5");
  ASSERT_TRUE(saveDocument(*dialog, path));
  const std::string saved = readFile(path);
  EXPECT_EQ(saved, documentText(*dialog));

  InMemoryDialog* fresh = openDialog();
  ASSERT_NE(documentText(*fresh), saved);
  ASSERT_TRUE(openDocument(*fresh, path));
  EXPECT_EQ(documentText(*fresh), saved);
  EXPECT_TRUE(messages.empty());
  for (const Change& c : changes) {
    const uint32_t id = firstOf(c.kind);
    EXPECT_EQ(fresh->text(id), dialog->text(id)) << controlTag(c.kind);
    EXPECT_EQ(fresh->checked(id), dialog->checked(id)) << controlTag(c.kind);
    EXPECT_EQ(fresh->selection(id), dialog->selection(id)) << controlTag(c.kind);
  }
  const uint8_t* back = materialOf(*fresh, 100);
  EXPECT_EQ(readI32(back + material::kKind), kMaterialGradient);
  EXPECT_EQ(readU32(back + material::kColour), 0x123456u);
  memUnlock(MemHandle(reinterpret_cast<uintptr_t>(fresh->boundVariable(100))));
}

TEST_F(DocumentTest, LinesAreReadAsTheFormatSays) {
  struct Case {
    const char* line;
    LineFate fate;
  };
  const Case cases[] = {
      {"chkbox20=1", LineFate::kApplied},
      {"CHKBOX20 = 1", LineFate::kApplied},
      {"CHKBOX20==1", LineFate::kApplied},
      {"\x01\x02 \t CHKBOX20=1", LineFate::kApplied},
      {"CHKBOX20=1\rrest", LineFate::kApplied},
      {"CHKBOX20", LineFate::kRefused},      // no "="
      {"CHKBOX", LineFate::kTooShort},
      {"  ;CHKBOX20=1", LineFate::kSkipped},
      {"", LineFate::kSkipped},
      {"CHKBOX0=1", LineFate::kNoId},
      {"CHKBOX-20=1", LineFate::kNoId},
      {"CHKBOXabc=1", LineFate::kNoId},
      {"CHKBOX9999=1", LineFate::kNoControl},
      {"SPNBTN20=1", LineFate::kWrongTag},
      {"FOOBAR20=1", LineFate::kWrongTag},
      {"CHKBOX17=1", LineFate::kWrongTag},  // the sample's size caption writes no line
      {"MATLBT100=ZZ", LineFate::kRefused},
  };
  for (const Case& c : cases) {
    dialog->setChecked(20, false);
    DocumentLine line = applyOne(c.line);
    EXPECT_EQ(line.fate, c.fate) << c.line;
    EXPECT_EQ(dialog->checked(20), c.fate == LineFate::kApplied && c.line[0] != 'M') << c.line;
  }
}

TEST_F(DocumentTest, ValuesAreTakenAsTheControlsTakeThem) {
  applyOne("CMBBOX58=99");
  EXPECT_EQ(dialog->selection(IDC_EFFECT), -1);
  EXPECT_EQ(settings().MainEffect, -1);
  applyOne("SPNBTN57=9999");  // range 4 to 400
  EXPECT_EQ(dialog->text(IDC_FONT_SIZE), "9999");
  EXPECT_EQ(settings().MainFontSize, 400);
  // The material keeps its record when the hexadecimal is bad.
  std::string before = documentLineOf(*dialog, 100);
  applyOne("MATLBT100=" + std::string(2540, 'G'));
  EXPECT_EQ(documentLineOf(*dialog, 100), before);
}

TEST_F(DocumentTest, AValueReadIsWrittenSoItReadsBackTheSame) {
  // The value follows the first "=" and every "=" and blank after it, in any
  // order; a text that began with either could not be written back.
  struct Case {
    const char* line;
    const char* text;
  };
  const Case cases[] = {
      {"TXTFLD52=Fuzz = me", "Fuzz = me"},
      {"TXTFLD52 = Hello ", "Hello "},
      {"TXTFLD52==  =me", "me"},
      {"TXTFLD52zu@F= = me", "me"},
      {"TXTFLD52= \t= x", "\t= x"},
      {"TXTFLD52= = ", ""},
  };
  for (const Case& c : cases) {
    applyOne(c.line);
    EXPECT_EQ(dialog->text(IDC_TEXT), c.text) << c.line;
    const std::string written = documentLineOf(*dialog, IDC_TEXT);
    applyOne("TXTFLD52=other");
    applyOne(written);
    EXPECT_EQ(dialog->text(IDC_TEXT), c.text) << written;
  }
  std::string value;
  EXPECT_FALSE(documentLineValue("ANMCTL3000", &value));
  EXPECT_TRUE(documentLineValue("ANMCTL3000= =/tmp/a= b.gif", &value));
  EXPECT_EQ(value, "/tmp/a= b.gif");
}

TEST_F(DocumentTest, AFaceThisSystemLacksKeepsItsName) {
  // Selected by the first entry that begins with the name, without regard to case.
  ASSERT_GT(dialog->itemCount(IDC_FONT), 0);
  const std::string installed = dialog->itemText(IDC_FONT, dialog->itemCount(IDC_FONT) - 1);
  applyOne("FNTBOX53=" + installed);
  EXPECT_EQ(dialog->text(IDC_FONT), installed);
  EXPECT_EQ(std::string(settings().MainFontName), installed);
  // Not installed: no selection, and the name stays what the letters are asked for.
  applyOne("FNTBOX53=No Such Face");
  EXPECT_EQ(dialog->selection(IDC_FONT), -1);
  EXPECT_EQ(std::string(settings().MainFontName), "No Such Face");
  EXPECT_EQ(documentLineOf(*dialog, IDC_FONT), "FNTBOX53=No Such Face");
  // An empty name selects nothing rather than the first face.
  applyOne("FNTBOX53=");
  EXPECT_EQ(dialog->selection(IDC_FONT), -1);
}

TEST_F(DocumentTest, DocumentLoadedShowsTheDocumentsEffect) {
  dialog->setSelection(IDC_EFFECT, 5);
  const std::string text = documentText(*dialog);
  InMemoryDialog* other = openDialog();
  selectEffect(*other, 12);
  ASSERT_EQ(applyDocumentText(*other, text, nullptr), DocumentRead::kRead);
  mainDialogDocumentLoaded(*other);
  EXPECT_EQ(other->selection(IDC_EFFECT), 5);
  for (uint32_t id : effectControlIds(effectRow(5))) EXPECT_TRUE(other->visible(id)) << id;
  for (uint32_t id : effectControlIds(effectRow(12))) EXPECT_FALSE(other->visible(id)) << id;
  // No effect selected: the first is shown and selected, and the variable follows.
  applyOne("CMBBOX58=99");
  mainDialogDocumentLoaded(*dialog);
  EXPECT_EQ(dialog->selection(IDC_EFFECT), 0);
  EXPECT_EQ(settings().MainEffect, 0);
  // Build follows the text.
  applyOne("TXTFLD52=");
  mainDialogDocumentLoaded(*dialog);
  EXPECT_FALSE(dialog->enabled(IDC_BUILD));
}

TEST_F(DocumentTest, MalformedDocumentsAreIgnoredLineByLine) {
  const std::string header = std::string(kDocumentHeader) + "\r\n";
  dialog->setChecked(20, false);
  const std::string full = documentText(*dialog);
  // An empty file and a header alone change nothing.
  for (const std::string& text : {std::string(), header, std::string(kDocumentHeader)}) {
    EXPECT_EQ(applyDocumentText(*dialog, text, nullptr), DocumentRead::kRead);
    EXPECT_EQ(documentText(*dialog), full);
  }
  // A first line without both names: nothing applied.
  for (const char* first : {";created by Glyphwright 5 Plugin\r\n", "Quillmere\r\n", "CHKBOX20=1\r\n"}) {
    EXPECT_EQ(applyDocumentText(*dialog, std::string(first) + "CHKBOX20=1\r\n", nullptr), DocumentRead::kDamaged);
    EXPECT_FALSE(dialog->checked(20));
  }
  // An overlong line is read in 8191-byte pieces, each handled as a line:
  // a comment's second piece is a line of its own.
  std::vector<DocumentLine> report;
  std::string overlong = ";" + std::string(kDocumentPieceLimit - 1, 'x') + "CHKBOX20=1\r\n";
  ASSERT_EQ(applyDocumentText(*dialog, header + overlong, &report), DocumentRead::kRead);
  ASSERT_EQ(report.size(), 3u);
  EXPECT_EQ(report[2].part, 1u);
  EXPECT_EQ(report[2].fate, LineFate::kApplied);
  EXPECT_TRUE(dialog->checked(20));
  // A text value longer than a piece: the first piece applies, the rest is no line.
  report.clear();
  applyDocumentText(*dialog, header + "TXTFLD52=" + std::string(9000, 'a') + "\nCHKBOX20=0", &report);
  ASSERT_EQ(report.size(), 4u);
  EXPECT_EQ(report[1].fate, LineFate::kApplied);
  EXPECT_EQ(report[2].fate, LineFate::kNoId);
  EXPECT_EQ(report[3].fate, LineFate::kApplied);
  EXPECT_EQ(dialog->text(IDC_TEXT).size(), kDocumentPieceLimit - 9);
  EXPECT_EQ(std::string(settings().MainText).size(), 259u);
  // A zero byte ends a line.
  applyOne(std::string("CHKBOX20=1\0CHKBOX", 17));
  EXPECT_TRUE(dialog->checked(20));
  // A document cut anywhere, and bytes from a fixed seed, read without harm.
  for (size_t cut = 0; cut < full.size(); cut += 997) applyDocumentText(*dialog, full.substr(0, cut), nullptr);
  std::mt19937 random(5);
  for (int round = 0; round < 20; ++round) {
    std::string noise = header;
    for (int i = 0; i < 20000; ++i) noise.push_back(char(random() & 0xFF));
    EXPECT_EQ(applyDocumentText(*dialog, noise, nullptr), DocumentRead::kRead);
  }
}

TEST_F(DocumentTest, OpeningReportsTheThreeFailures) {
  TempFolder files("documents-open");
  dialog->setChecked(20, false);
  EXPECT_FALSE(openDocument(*dialog, files.file("missing.gw5")));
  writeFile(files.file("damaged.gw5"), "not a document\r\nCHKBOX20=1\r\n");
  EXPECT_FALSE(openDocument(*dialog, files.file("damaged.gw5")));
  EXPECT_FALSE(dialog->checked(20));
  EXPECT_FALSE(saveDocument(*dialog, files.file("no-folder/x.gw5")));
  EXPECT_EQ(messages, (std::vector<std::string>{"There has been an error opening the requested file.",
                                                "This file has been damaged.",
                                                "There has been an error creating the requested file."}));
  writeFile(files.file("empty.gw5"), "");
  EXPECT_TRUE(openDocument(*dialog, files.file("empty.gw5")));
}

TEST_F(DocumentTest, AFailedSaveKeepsThePreviousDocument) {
  TempFolder files("documents-save");
  const std::string path = files.file("kept.gw5");
  ASSERT_TRUE(saveDocument(*dialog, path));
  const std::string first = readFile(path);
  dialog->setText(IDC_TEXT, "changed");
  // The temporary cannot be made: nothing is written, the old file stays whole.
  std::filesystem::create_directory(path + ".tmp");
  EXPECT_FALSE(saveDocument(*dialog, path));
  EXPECT_EQ(readFile(path), first);
  EXPECT_EQ(messages.size(), 1u);
  std::filesystem::remove(path + ".tmp");
  // Once it can, the new document replaces the old one and no temporary stays.
  EXPECT_TRUE(saveDocument(*dialog, path));
  EXPECT_NE(readFile(path).find("TXTFLD52=changed\r\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST_F(DocumentTest, DocumentCommandsFollowTheCurrentName) {
  pluginState().hostParams = host.params();
  TempFolder files("documents-commands");
  std::vector<DocumentCommand> asked;
  std::string answer;
  auto choose = [&](DocumentCommand c, char* path) {
    asked.push_back(c);
    if (answer.empty()) return false;
    std::snprintf(path, 260, "%s", answer.c_str());
    return true;
  };
  // "Save" of an untitled document is "Save as...": cancelled, nothing changes.
  setSettingText(settings().CurrentFileName, files.file("UNTITLED.GW5").c_str());
  EXPECT_FALSE(mainDialogDocumentCommand(*dialog, DocumentCommand::kSave, choose));
  EXPECT_EQ(asked, std::vector<DocumentCommand>{DocumentCommand::kSaveAs});
  EXPECT_EQ(std::string(settings().CurrentFileName), files.file("UNTITLED.GW5"));
  // The host hears of the dialog before and after it, with the name buffer.
  std::vector<int32_t> codes;
  for (const auto& call : host.calls())
    if (call.code == 19 || call.code == 20) {
      codes.push_back(call.code);
      EXPECT_EQ(call.text, files.file("UNTITLED.GW5"));
    }
  EXPECT_EQ(codes, (std::vector<int32_t>{19, 20}));
  // Confirmed: saved there, and that is the current document.
  answer = files.file("mine.gw5");
  EXPECT_FALSE(mainDialogDocumentCommand(*dialog, DocumentCommand::kSave, choose));
  EXPECT_EQ(std::string(settings().CurrentFileName), answer);
  EXPECT_EQ(readFile(answer), documentText(*dialog));
  // "Save" of a named document asks nothing.
  asked.clear();
  dialog->setText(IDC_TEXT, "second");
  mainDialogDocumentCommand(*dialog, DocumentCommand::kSave, choose);
  EXPECT_TRUE(asked.empty());
  EXPECT_NE(readFile(answer).find("TXTFLD52=second\r"), std::string::npos);
  // "Open" reads the chosen document.
  InMemoryDialog* other = openDialog();
  pluginState().hostParams = host.params();
  EXPECT_TRUE(mainDialogDocumentCommand(*other, DocumentCommand::kOpen, choose));
  EXPECT_EQ(other->text(IDC_TEXT), "second");
  // A document that cannot be read still becomes the current name, as does
  // a path where saving fails.
  answer = files.file("absent.gw5");
  EXPECT_FALSE(mainDialogDocumentCommand(*other, DocumentCommand::kOpen, choose));
  EXPECT_EQ(std::string(settings().CurrentFileName), answer);
  answer = files.file("no-folder/x.gw5");
  mainDialogDocumentCommand(*other, DocumentCommand::kSaveAs, choose);
  EXPECT_EQ(std::string(settings().CurrentFileName), answer);
  EXPECT_EQ(messages.back(), "There has been an error creating the requested file.");
}

TEST(DocumentName, UntitledIsTheFileNameInAnyCase) {
  EXPECT_TRUE(isUntitledDocument("untitled.gw5"));
  EXPECT_TRUE(isUntitledDocument("C:\\Users\\me\\Documents\\Untitled.GW5"));
  EXPECT_TRUE(isUntitledDocument("/home/me/UNTITLED.gw5"));
  EXPECT_FALSE(isUntitledDocument("C:\\untitled.gw5\\other.gw5"));
  EXPECT_FALSE(isUntitledDocument("my untitled.gw5"));
  EXPECT_FALSE(isUntitledDocument("untitled.gw"));
}

TEST(FileDialogSize, RememberedSizeOfAtLeast128IsUsedAndClampedToTheScreen) {
  struct Case {
    FileDialogSize remembered;
    WindowBox expected;
  };
  const Case cases[] = {
      {{0, 0}, {262, 184, 500, 400}},          // first dialog: own size, centred
      {{700, 500}, {162, 134, 700, 500}},      // after the user enlarged one
      {{127, 500}, {262, 184, 500, 400}},      // too narrow: ignored
      {{700, 127}, {262, 184, 500, 400}},      // too low: ignored
      {{128, 128}, {448, 320, 128, 128}},      // the smallest that counts
      {{3000, 2000}, {0, 0, 1024, 768}},       // clamped to the screen
      {{1025, 300}, {0, 234, 1024, 300}},
  };
  for (const Case& c : cases) {
    rememberFileDialogSize(c.remembered);
    WindowBox b = fileDialogPlacement(500, 400, 1024, 768);
    EXPECT_EQ(b.x, c.expected.x) << c.remembered.width << "x" << c.remembered.height;
    EXPECT_EQ(b.y, c.expected.y);
    EXPECT_EQ(b.width, c.expected.width);
    EXPECT_EQ(b.height, c.expected.height);
  }
  rememberFileDialogSize({});
}

TEST_F(DocumentTest, TheHostsFileDialogSizeIsRememberedCappedAtTheScreen) {
  // The render host answers code 21 with 800 x 600; the screen here is 1024 x 768.
  EXPECT_EQ(rememberedFileDialogSize().width, 800);
  EXPECT_EQ(rememberedFileDialogSize().height, 600);
  InMemoryDialog d(*loadDialogTemplate(ResourceName::number(IDD_MAIN)));
  testing::setShiftKeyDown(true);
  mainDialogInit(d, host.params(), 700, 500);
  testing::setShiftKeyDown(false);
  releaseEffectPages(d);
  EXPECT_EQ(rememberedFileDialogSize().width, 700);
  EXPECT_EQ(rememberedFileDialogSize().height, 500);
  rememberFileDialogSize({});
}

}  // namespace
}  // namespace gw
