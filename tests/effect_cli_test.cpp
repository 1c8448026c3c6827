// The command-line views of the effect table and the settings.
#include <gtest/gtest.h>

#include "tests/cli_runner.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {


CliRun cli(const std::string& args) { return runCli(args); }

TEST(EffectCli, EffectsListsEveryRowWithItsKeys) {
  CliRun r = cli("effects");
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("12 Simple (page 7400, keys Style000)\n"), std::string::npos);
  EXPECT_NE(r.out.find("18 Waterside (page 7408, keys Style008)\n"), std::string::npos);
  EXPECT_NE(r.out.find("   Style008Frames = 40\n"), std::string::npos);
  EXPECT_NE(r.out.find("   Style011AnimPath = \"\"\n"), std::string::npos);
  size_t keys = 0;
  for (size_t at = r.out.find("   Style"); at != std::string::npos; at = r.out.find("   Style", at + 1)) ++keys;
  EXPECT_EQ(keys, 346u);
  EXPECT_EQ(cli("effects extra").status, 2);
}

TEST(EffectCli, SettingsPrintsTheFileItWouldWrite) {
  CliRun r = cli("settings");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind(";Quillmere animtion plugin configuration file\n", 0), 0u);
  EXPECT_NE(r.out.find("[PlugIn]\nAddDescriptiveCommentBlock = 1\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nVersionNumber = 512\n"), std::string::npos);

  const std::string path = ::testing::TempDir() + "gw_settings_cli.ini";
  std::ofstream(path) << "MainDelay==  -20\nPatchLevel = 9\nMainFontName = Arial\n";
  r = cli("settings --file " + path);
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\nMainDelay = 4294967276\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nPatchLevel = 1\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nMainFontName = Arial\n"), std::string::npos);
  std::remove(path.c_str());

  r = cli("settings --file /no/such/file.ini");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("cannot open"), std::string::npos);
  EXPECT_EQ(cli("settings --bogus").status, 2);
}

}  // namespace
