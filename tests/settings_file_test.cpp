#include <gtest/gtest.h>

#include "tests/temp_folder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system_state.h"
#include "settings/settings_file.h"
#include "settings/settings_table.h"

namespace gw {
namespace {

std::string readAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void writeAll(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary);
  f << text;
}

// An application-data folder of our own, with or without the maker's folder.
class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("GLYPHWRIGHT_APPDATA", root_.c_str(), 1);
    resetSettings();
    testing::setShiftKeyDown(false);
  }
  void TearDown() override {
    unsetenv("GLYPHWRIGHT_APPDATA");
    resetSettings();
    testing::setShiftKeyDown(false);
  }
  std::string makeMakerFolder() {
    std::string folder = root_ + "/Quillmere";
    mkdir(folder.c_str(), 0755);
    return folder + "/glwplug5.ini";
  }
  SettingsRecord apply(const std::string& line) {
    SettingsRecord r;
    applySettingsLine(line, r);
    return r;
  }
  TempFolder folder_{"settings"};
  std::string root_ = folder_.path();
};

TEST(SettingsTable, CountsComeFromTheKeyLists) {
  // 42 general keys and the effects' 346 keys; every key once.
  ASSERT_EQ(settingsTableSize(), 388u);
  std::set<std::string> keys;
  size_t perEffect = 0;
  for (size_t i = 0; i < settingsTableSize(); ++i) {
    keys.insert(settingsTable()[i].key);
    if (std::string(settingsTable()[i].key).rfind("Style", 0) == 0) ++perEffect;
  }
  EXPECT_EQ(keys.size(), settingsTableSize());
  EXPECT_EQ(perEffect, 346u);
  EXPECT_STREQ(settingsTable()[0].key, "AddDescriptiveCommentBlock");
  EXPECT_STREQ(settingsTable()[36].key, "SampleWindowKeyLine");
  EXPECT_STREQ(settingsTable()[37].key, "Style000FillOpacity");
  EXPECT_STREQ(settingsTable()[settingsTableSize() - 1].key, "VersionNumber");
}

TEST(SettingsTable, EffectsAreGroupedInPageOrderWithTheirKeyCounts) {
  // 10 to 27 keys per effect, grouped Style000 ... Style020.
  int counts[21] = {};
  int last = -1;
  for (size_t i = 0; i < settingsTableSize(); ++i) {
    std::string key = settingsTable()[i].key;
    if (key.rfind("Style", 0) != 0) continue;
    int n = std::atoi(key.substr(5, 3).c_str());
    ASSERT_GE(n, last) << key;
    last = n;
    ++counts[n];
  }
  const int expected[21] = {12, 12, 25, 17, 14, 12, 25, 27, 11, 26, 13, 10, 14, 11, 12, 20, 18, 20, 15, 20, 12};
  for (int n = 0; n < 21; ++n) EXPECT_EQ(counts[n], expected[n]) << "Style" << n;
}

TEST(SettingsTable, DefaultsAndDeviationsOfTheEffects) {
  SettingsRecord r;
  EXPECT_EQ(*settingNumber(r, "Style000Soft"), 20);
  EXPECT_EQ(*settingNumber(r, "Style001ShadowOffset"), 10);
  EXPECT_EQ(settingNumber(r, "Style001Frames"), nullptr);
  EXPECT_EQ(*settingNumber(r, "Style007Frames"), 128);
  EXPECT_EQ(*settingNumber(r, "Style002FillColor3"), 0xC08243);
  EXPECT_EQ(*settingNumber(r, "Style016ShadowColor"), 0x4C4C4C);
  EXPECT_EQ(*settingNumber(r, "Style017Soft"), 60);
  EXPECT_EQ(settingNumber(r, "Style016OutlineColor"), nullptr);
  EXPECT_EQ(settingNumber(r, "Style003ShadowEnable"), nullptr);
  EXPECT_NE(settingNumber(r, "Style003Soft"), nullptr);
  EXPECT_STREQ(settingText(r, "Style011AnimPath"), "");
  EXPECT_STREQ(settingText(r, "MainFontName"), "Impact");
  EXPECT_EQ(settingNumber(r, "MainFontName"), nullptr);  // a text, not a number
}

TEST_F(SettingsFileTest, AFreshRunWritesEveryEntryInTableOrder) {
  const std::string path = makeMakerFolder();
  saveSettings();
  std::istringstream in(readAll(path));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, ";Quillmere animtion plugin configuration file");
  std::getline(in, line);
  EXPECT_EQ(line, ";Edit this at your own risk");
  std::getline(in, line);
  EXPECT_EQ(line.rfind(";Last updated ", 0), 0u);
  EXPECT_EQ(line.size(), 14u + 24u);
  std::getline(in, line);
  EXPECT_EQ(line, ";");
  std::getline(in, line);
  EXPECT_EQ(line, "[PlugIn]");
  for (size_t i = 0; i < settingsTableSize(); ++i) {
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_EQ(line.substr(0, line.find(" = ")), settingsTable()[i].key);
  }
  EXPECT_FALSE(std::getline(in, line));
  const std::string text = readAll(path);
  EXPECT_NE(text.find("\nMainText = This space for rent...\n"), std::string::npos);
  EXPECT_NE(text.find("\nMatrixDefaultTile = \n"), std::string::npos);
  EXPECT_NE(text.find("\nAlphaGreyBack = 8355711\n"), std::string::npos);
}

TEST_F(SettingsFileTest, HeaderCarriesTheCtimeText) {
  setenv("TZ", "UTC", 1);
  tzset();
  std::string text = settingsFileText(SettingsRecord(), 741476948);
  EXPECT_NE(text.find(";Last updated Wed Jun 30 21:49:08 1993\n;\n[PlugIn]\n"), std::string::npos);
}

TEST_F(SettingsFileTest, WithoutTheMakerFolderNothingIsReadOrWritten) {
  saveSettings();
  EXPECT_FALSE(std::ifstream(root_ + "/Quillmere/glwplug5.ini").good());
  settings().MainDelay = 9;
  loadSettings();
  EXPECT_EQ(settings().MainDelay, 9);
}

TEST_F(SettingsFileTest, SpacingAndEqualsRuns) {
  EXPECT_EQ(apply("MainDelay = 7").MainDelay, 7);
  EXPECT_EQ(apply("MainDelay=7").MainDelay, 7);
  EXPECT_EQ(apply("MainDelay   ==  7").MainDelay, 7);
  EXPECT_EQ(apply("MainDelay = 7\n").MainDelay, 7);
  EXPECT_EQ(apply("maindelay = 7").MainDelay, 5);  // keys are case-sensitive
  EXPECT_EQ(apply(" MainDelay = 7").MainDelay, 5);  // the key starts the line
  EXPECT_EQ(apply(";MainDelay = 7").MainDelay, 5);
}

TEST_F(SettingsFileTest, NumbersFollowAtol) {
  EXPECT_EQ(apply("MainDelay = 12abc").MainDelay, 12);
  EXPECT_EQ(apply("MainDelay = abc").MainDelay, 0);
  EXPECT_EQ(apply("MainDelay = -5").MainDelay, -5);
  EXPECT_EQ(apply("MainDelay = +5").MainDelay, 5);
  EXPECT_EQ(apply("MainDelay = ").MainDelay, 0);
  EXPECT_EQ(apply("MainDelay = 4294967276").MainDelay, -20);
  EXPECT_EQ(apply("MainDelay = 4294967296").MainDelay, 0);  // wraps, no overflow trap
  EXPECT_EQ(apply("MainDelay = 99999999999999999999").MainDelay, atolWrapping("99999999999999999999"));
}

TEST_F(SettingsFileTest, NeverReadKeysAreWrittenAgainUnchanged) {
  SettingsRecord r = apply("PatchLevel = 7");
  EXPECT_EQ(r.PatchLevel, 1);
  r = apply("VersionNumber = 1");
  EXPECT_EQ(r.VersionNumber, 512);
  std::string text = settingsFileText(r, 0);
  EXPECT_NE(text.find("\nPatchLevel = 1\n"), std::string::npos);
  EXPECT_NE(text.find("\nVersionNumber = 512\n"), std::string::npos);
}

TEST_F(SettingsFileTest, StringsCutAtControlCharactersKeepTrailingBlanks) {
  EXPECT_STREQ(apply("MainText = Hello\tworld").MainText, "Hello");
  EXPECT_STREQ(apply("MainText = Hello  ").MainText, "Hello  ");
  EXPECT_STREQ(apply("MainText = ").MainText, "");
  EXPECT_STREQ(apply("MainText = caf\xe9").MainText, "caf\xe9");  // high bytes are ordinary
  EXPECT_STREQ(apply("MainText=a = b").MainText, "a = b");
}

TEST_F(SettingsFileTest, LinesThatChangeNothing) {
  SettingsRecord r = apply("");
  r = apply("[PlugIn]");
  applySettingsLine("     ", r);
  applySettingsLine("UnknownKey = 3", r);
  applySettingsLine("= 3", r);
  std::string a = settingsFileText(r, 0), b = settingsFileText(SettingsRecord(), 0);
  EXPECT_EQ(a, b);
}

TEST_F(SettingsFileTest, LongLinesAreReadInPieces) {
  const std::string path = makeMakerFolder();
  std::string prefix = "MainText = ";
  std::string value(kSettingsLinePiece + 40, 'x');
  value.replace(kSettingsLinePiece - prefix.size(), 13, "MainDelay = 8");  // starts the second piece
  writeAll(path, prefix + value + "\nMainPause = 3\n");
  loadSettings();
  EXPECT_EQ(std::string(settings().MainText), std::string(260, 'x'));  // as much as the field holds
  EXPECT_EQ(settings().MainDelay, 8);
  EXPECT_EQ(settings().MainPause, 3);
}

TEST_F(SettingsFileTest, FullTextsUnderTheLongestKeysReadBackWhole) {
  // Every text field at its 260 characters: each written line fits one
  // piece, and the file read again is the same file.
  SettingsRecord full;
  std::istringstream keys(settingsFileText(SettingsRecord(), 0));
  for (std::string line; std::getline(keys, line);)
    applySettingsLine(line.substr(0, line.find(' ')) + " = " + std::string(300, 'p'), full);
  const std::string text = settingsFileText(full, 0);
  size_t longest = 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) longest = std::max(longest, line.size() + 1);
  EXPECT_LE(longest, kSettingsLinePiece);
  EXPECT_NE(text.find(std::string(260, 'p')), std::string::npos);
  SettingsRecord reread;
  applySettingsText(text, reread);
  EXPECT_EQ(settingsFileText(reread, 0), text);
}

TEST_F(SettingsFileTest, RoundTripKeepsNegativeNumbersAndTexts) {
  const std::string path = makeMakerFolder();
  settings().MainDelay = -20;
  setSettingText(settings().MainFontName, "Comic Sans MS");
  settings().Style008Background = 0x123456;
  saveSettings();
  EXPECT_NE(readAll(path).find("\nMainDelay = 4294967276\n"), std::string::npos);
  resetSettings();
  loadSettings();
  EXPECT_EQ(settings().MainDelay, -20);
  EXPECT_STREQ(settings().MainFontName, "Comic Sans MS");
  EXPECT_EQ(settings().Style008Background, 0x123456);
}

TEST_F(SettingsFileTest, LaterLinesWinAndMissingKeysKeepTheirValues) {
  const std::string path = makeMakerFolder();
  writeAll(path, "MainDelay = 3\nMainDelay = 4\n");
  settings().MainPause = 77;
  loadSettings();
  EXPECT_EQ(settings().MainDelay, 4);
  EXPECT_EQ(settings().MainPause, 77);
}

TEST_F(SettingsFileTest, ShiftIgnoresTheFileAndCloseWritesMemoryOverIt) {
  const std::string path = makeMakerFolder();
  writeAll(path, "MainDelay = 3\n");
  testing::setShiftKeyDown(true);
  loadSettings();
  EXPECT_EQ(settings().MainDelay, 5);
  saveSettings();
  EXPECT_NE(readAll(path).find("\nMainDelay = 5\n"), std::string::npos);
}

TEST_F(SettingsFileTest, SavingReplacesTheFileWholeAndLeavesNoTemporary) {
  const std::string path = makeMakerFolder();
  writeAll(path, "old contents that are much longer than nothing\n");
  saveSettings();
  EXPECT_EQ(readAll(path).rfind(";Quillmere", 0), 0u);
  EXPECT_FALSE(std::ifstream(path + ".tmp").good());
}

TEST_F(SettingsFileTest, AFailedWriteKeepsThePreviousFile) {
  const std::string path = makeMakerFolder();
  writeAll(path, "MainDelay = 3\n");
  // The temporary cannot be made: a folder stands in its place.
  mkdir((path + ".tmp").c_str(), 0755);
  EXPECT_FALSE(writeSettingsFile(path, settings(), 0));
  EXPECT_EQ(readAll(path), "MainDelay = 3\n");
}

}  // namespace
}  // namespace gw
