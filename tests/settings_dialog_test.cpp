// The main dialog's start and end as the settings see them: the file is
// loaded into the controls when the dialog opens and written when it closes.
#include <gtest/gtest.h>

#include "tests/temp_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/le_bytes.h"
#include "controls/bound_control.h"
#include "effects/effect_table.h"
#include "protocol/host_protocol.h"
#include "host/main_dialog.h"
#include "platform/message_dialog.h"
#include "platform/system_state.h"
#include "platform/wire_pointer.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"

namespace gw {
namespace {

int32_t GW_CDECL silentHost(void*, int32_t, int32_t, void*) { return 0; }

class MainDialogSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mkdir((root_ + "/Quillmere").c_str(), 0755);
    ini_ = root_ + "/Quillmere/glwplug5.ini";
    setenv("GLYPHWRIGHT_APPDATA", root_.c_str(), 1);
    setenv("GLYPHWRIGHT_DOCUMENTS", root_.c_str(), 1);
    resetSettings();
    params_.assign(32, 0);
    writeU16(&params_[4], 0x1000);
    writeU32(&params_[12], wireFromPointer(reinterpret_cast<void*>(&silentHost)));
    setMessageResponder([this](const std::string&, const std::string& text) {
      messages_.push_back(text);
      return 1;
    });
  }
  void TearDown() override {
    setMainDialogDriver(nullptr);
    setMessageResponder(nullptr);
    testing::setShiftKeyDown(false);
    unsetenv("GLYPHWRIGHT_APPDATA");
    unsetenv("GLYPHWRIGHT_DOCUMENTS");
    resetSettings();
  }
  void writeIni(const std::string& text) { std::ofstream(ini_) << text; }
  std::string readIni() {
    std::ifstream f(ini_);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  TempFolder folder_{"dialog"};
  std::string root_ = folder_.path(), ini_;
  std::vector<uint8_t> params_;
  std::vector<std::string> messages_;
};

TEST_F(MainDialogSettingsTest, OpensWithTheFileAndSelectsTheStoredEffect) {
  writeIni("[PlugIn]\nMainEffect = 18\nMainDelay = 9\nMainText = Hi there\nMainPalette = 2\n");
  bool ran = false;
  setMainDialogDriver([&](DialogFacade& d) {
    ran = true;
    EXPECT_EQ(d.itemCount(IDC_EFFECT), 21);
    EXPECT_EQ(d.selection(IDC_EFFECT), 18);
    EXPECT_EQ(d.itemText(IDC_EFFECT, 18), "Waterside");
    for (int i = 0; i < kEffectCount; ++i)
      for (uint32_t id : effectControlIds(effectRow(i))) EXPECT_EQ(d.visible(id), i == 18) << id;
    EXPECT_EQ(d.text(IDC_DELAY), "9");
    EXPECT_EQ(d.text(IDC_TEXT), "Hi there");
    EXPECT_EQ(d.itemCount(IDC_PALETTE), 9);
    EXPECT_EQ(d.selection(IDC_PALETTE), 2);
    EXPECT_EQ(d.itemText(IDC_PALETTE, 6), "256-color orthogonal");
    EXPECT_TRUE(d.checked(IDC_BOLD));
    EXPECT_TRUE(d.enabled(IDC_BUILD));
    return std::vector<uint32_t>{IDC_CANCEL};
  });
  EXPECT_EQ(runMainDialog(0, params_.data()), IDC_CANCEL);
  EXPECT_TRUE(ran);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MainDialogSettingsTest, ChangesReachTheVariablesAndOnlyPageIdsRestartTheRefresh) {
  setMainDialogDriver([&](DialogFacade& d) {
    d.setText(IDC_DELAY, "12");
    EXPECT_FALSE(mainDialogControlEvent(d, IDC_DELAY, ControlEvent::kChange));
    EXPECT_EQ(settings().MainDelay, 12);
    d.setText(112, "40");  // "Simple"'s frames
    EXPECT_TRUE(mainDialogControlEvent(d, 112, ControlEvent::kChange));
    EXPECT_EQ(settings().Style000Frames, 40);
    d.setText(IDC_TEXT, "");
    mainDialogControlEvent(d, IDC_TEXT, ControlEvent::kChange);
    EXPECT_FALSE(d.enabled(IDC_BUILD));
    d.setText(IDC_TEXT, "Back");
    mainDialogControlEvent(d, IDC_TEXT, ControlEvent::kChange);
    EXPECT_TRUE(d.enabled(IDC_BUILD));
    d.setSelection(IDC_EFFECT, 3);
    EXPECT_TRUE(mainDialogControlEvent(d, IDC_EFFECT, ControlEvent::kCloseUp));
    EXPECT_EQ(settings().MainEffect, 3);
    EXPECT_TRUE(d.visible(effectControlIds(effectRow(3))[0]));
    EXPECT_FALSE(d.visible(100));
    return std::vector<uint32_t>{IDC_CANCEL};
  });
  runMainDialog(0, params_.data());
  const std::string ini = readIni();
  EXPECT_NE(ini.find("\nIsFirst = 0\n"), std::string::npos);
  EXPECT_NE(ini.find("\nMainDelay = 12\n"), std::string::npos);
  EXPECT_NE(ini.find("\nMainText = Back\n"), std::string::npos);
  EXPECT_NE(ini.find("\nMainEffect = 3\n"), std::string::npos);
  EXPECT_NE(ini.find("\nStyle000Frames = 40\n"), std::string::npos);
}

TEST_F(MainDialogSettingsTest, TheEffectListSwitchesPagesAtOnceAndStoresAtCloseUp) {
  setMainDialogDriver([&](DialogFacade& d) {
    d.setSelection(IDC_EFFECT, 5);  // as the keyboard changes a closed list
    mainDialogControlEvent(d, IDC_EFFECT, ControlEvent::kChange);
    EXPECT_TRUE(d.visible(effectControlIds(effectRow(5))[0]));
    EXPECT_FALSE(d.visible(100));
    EXPECT_EQ(settings().MainEffect, 12);
    mainDialogControlEvent(d, IDC_EFFECT, ControlEvent::kCloseUp);
    EXPECT_EQ(settings().MainEffect, 5);
    return std::vector<uint32_t>{IDC_CANCEL};
  });
  runMainDialog(0, params_.data());
}

TEST_F(MainDialogSettingsTest, ShiftStartsFromMemoryAndResetsTheDocumentName) {
  writeIni("MainDelay = 9\n");
  testing::setShiftKeyDown(true);
  setMainDialogDriver([&](DialogFacade& d) {
    EXPECT_EQ(d.text(IDC_DELAY), "5");
    return std::vector<uint32_t>{IDC_CANCEL};
  });
  runMainDialog(0, params_.data());
  EXPECT_EQ(std::string(settings().CurrentFileName), root_ + "/untitled.gw5");
  EXPECT_EQ(std::string(settings().OpenPath), root_ + "/");
  EXPECT_NE(readIni().find("\nMainDelay = 5\n"), std::string::npos);
}

TEST_F(MainDialogSettingsTest, AnOutOfRangeEffectShowsTheNearestPage) {
  writeIni("MainEffect = 4294967295\n");
  setMainDialogDriver([&](DialogFacade& d) {
    EXPECT_EQ(d.selection(IDC_EFFECT), 0);
    EXPECT_TRUE(d.visible(effectControlIds(effectRow(0))[0]));
    return std::vector<uint32_t>{IDC_CANCEL};
  });
  runMainDialog(0, params_.data());
  EXPECT_EQ(settings().MainEffect, -1);  // kept as stored until the user picks one
}

}  // namespace
}  // namespace gw
