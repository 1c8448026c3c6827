#include <gtest/gtest.h>

#include <vector>

#include "base/le_bytes.h"
#include "protocol/host_protocol.h"
#include "host/main_dialog.h"
#include "host/plugin_entry.h"
#include "host/plugin_state.h"
#include "platform/interface_fonts.h"
#include "platform/message_dialog.h"
#include "platform/rasteriser.h"
#include "platform/wire_pointer.h"

namespace gw {
namespace {

TEST(GetPluginParams, KeepsSizeClearsTheRestAndFills) {
  std::vector<uint8_t> info(700, 0xAB);
  writeU32(info.data(), 600);
  ASSERT_EQ(pluginGetParams(info.data()), 1);
  EXPECT_EQ(readU32(&info[0]), 600u);
  EXPECT_EQ(readU32(&info[4]), 4096u);
  EXPECT_STREQ(reinterpret_cast<char*>(&info[8]), "Glyphwright #5");
  std::string description(reinterpret_cast<char*>(&info[269]));
  EXPECT_EQ(description.rfind("Glyphwright 5 Plugin", 0), 0u);
  for (size_t i = 8 + 15; i < 269; ++i) ASSERT_EQ(info[i], 0) << i;
  for (size_t i = 269 + description.size(); i < 600; ++i) ASSERT_EQ(info[i], 0) << i;
  EXPECT_EQ(info[600], 0xAB);
}

TEST(GetPluginParams, NeverWritesPastAShortRecord) {
  // Room for the name but only part of the description: cut and terminated.
  std::vector<uint8_t> info(300, 0xAB);
  writeU32(info.data(), 280);
  ASSERT_EQ(pluginGetParams(info.data()), 1);
  EXPECT_EQ(info[279], 0);
  EXPECT_EQ(info[280], 0xAB);
  // Too short for the fields: refused, nothing written past the size.
  std::vector<uint8_t> tiny(64, 0xAB);
  writeU32(tiny.data(), 40);
  EXPECT_EQ(pluginGetParams(tiny.data()), 0);
  EXPECT_EQ(readU32(tiny.data()), 40u);
  EXPECT_EQ(tiny[39], 0);
  EXPECT_EQ(tiny[40], 0xAB);
  EXPECT_EQ(pluginGetParams(nullptr), 0);
}

// A host that logs its calls; natively the callback travels as a wire id.
struct LoggingHost {
  static std::vector<int32_t> codes;
  static int32_t GW_CDECL callback(void*, int32_t code, int32_t, void*) {
    codes.push_back(code);
    return 0;
  }
  static std::vector<uint8_t> params(uint16_t version) {
    std::vector<uint8_t> p(32, 0);
    writeU16(&p[4], version);
    writeU32(&p[12], wireFromPointer(reinterpret_cast<void*>(&callback)));
    return p;
  }
};
std::vector<int32_t> LoggingHost::codes;

class DoBuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoggingHost::codes.clear();
    messages.clear();
    setMessageResponder([this](const std::string& name, const std::string& text) {
      messages.push_back(name + ": " + text);
      return 1;
    });
    maintenanceBefore = rasteriserMaintenanceLog().size();
  }
  void TearDown() override {
    setMessageResponder(nullptr);
    setMainDialogDriver(nullptr);
  }
  std::vector<uint32_t> newMaintenance() const {
    auto log = rasteriserMaintenanceLog();
    return std::vector<uint32_t>(log.begin() + long(maintenanceBefore), log.end());
  }
  std::vector<std::string> messages;
  size_t maintenanceBefore = 0;
};

TEST_F(DoBuildTest, TooOldHostGetsTheMessageAndNothingElse) {
  auto params = LoggingHost::params(0x0FFF);
  EXPECT_EQ(pluginDoBuild(0, params.data()), 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], std::string("MessageBox: ") + kHostTooOldMessage);
  EXPECT_TRUE(newMaintenance().empty());
  EXPECT_TRUE(LoggingHost::codes.empty());
  EXPECT_FALSE(interfaceFontsLive());
}

TEST_F(DoBuildTest, AcceptedVersionsRunTheDialogBracketedByTheRasteriser) {
  for (uint16_t version : {0x1000, 0x10FF, 0x2000, 0xFFFF}) {
    LoggingHost::codes.clear();
    maintenanceBefore = rasteriserMaintenanceLog().size();
    bool dialogRan = false;
    setMainDialogDriver([&](DialogFacade& d) {
      dialogRan = true;
      EXPECT_TRUE(d.hasControl(1));
      EXPECT_TRUE(d.hasControl(24));
      EXPECT_TRUE(interfaceFontsLive());
      return std::vector<uint32_t>{2};
    });
    auto params = LoggingHost::params(version);
    EXPECT_EQ(pluginDoBuild(0, params.data()), 1) << version;
    EXPECT_TRUE(dialogRan);
    EXPECT_EQ(newMaintenance(), (std::vector<uint32_t>{1, 2}));
    EXPECT_FALSE(interfaceFontsLive());
    EXPECT_EQ(LoggingHost::codes, (std::vector<int32_t>{21, 17, 17}));
    EXPECT_EQ(pluginState().hostParams, params.data());
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(DoBuildTest, DataFolderIsComputedOncePerProcess) {
  auto params = LoggingHost::params(0x1000);
  ASSERT_EQ(pluginDoBuild(0, params.data()), 1);
  std::string first = pluginState().dataFolder;
  pluginState().dataFolder = "kept/";
  ASSERT_EQ(pluginDoBuild(0, params.data()), 1);
  EXPECT_EQ(pluginState().dataFolder, "kept/");
  pluginState().dataFolder = first;
}

TEST_F(DoBuildTest, HelpRefusedByTheHostIsReported) {
  setMainDialogDriver([](DialogFacade&) { return std::vector<uint32_t>{9, 2}; });
  auto params = LoggingHost::params(0x1000);
  EXPECT_EQ(pluginDoBuild(0, params.data()), 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "MessageBox: There has been an error displaying the Help document.");
  EXPECT_EQ(std::count(LoggingHost::codes.begin(), LoggingHost::codes.end(), int32_t(kHostHelp)), 1);
}

TEST_F(DoBuildTest, AFailedBuildLeavesTheDialogOpen) {
  // The logging host refuses the task, so Build fails and the dialog stays
  // for the Cancel that follows; Test never closes it.
  setMainDialogDriver([](DialogFacade&) { return std::vector<uint32_t>{1, 24, 2}; });
  auto params = LoggingHost::params(0x1000);
  EXPECT_EQ(pluginDoBuild(0, params.data()), 1);
  EXPECT_EQ(messages, (std::vector<std::string>{"MessageBox: Error creating new task.",
                                                "MessageBox: Error creating new task."}));
  EXPECT_EQ(std::count(LoggingHost::codes.begin(), LoggingHost::codes.end(), int32_t(kHostNewTask)), 1);
  EXPECT_EQ(std::count(LoggingHost::codes.begin(), LoggingHost::codes.end(), int32_t(kHostNewTestTask)), 1);
  EXPECT_EQ(std::count(LoggingHost::codes.begin(), LoggingHost::codes.end(), int32_t(kHostBeforeBuild)), 2);
}

TEST_F(DoBuildTest, MissingParamsAreRefused) { EXPECT_EQ(pluginDoBuild(0, nullptr), 0); }

}  // namespace
}  // namespace gw
