// The "Texture" dialog's group and item handling, driven as the user would:
// the shipped group refuses edits, a copy saved under a new name takes them,
// OK writes only what changed, and groups are deleted only when asked.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <fstream>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "materials/group_folder.h"
#include "materials/texture_settings.h"
#include "tests/app_data_folder.h"
#include "tests/scripted_prompts.h"
#include "ui/texture_group_editor.h"

namespace gw {
namespace {

namespace ts = texture_settings;

class TextureEditorTest : public ::testing::Test {
 protected:
  void SetUp() override { textureSettingsDefaults(working_); }
  GroupPrompts prompts() { return scripted_.prompts(); }
  std::string folderFile(const std::string& name) { return root_.pluginFile(name); }

  AppDataFolder root_{"texedit"};
  ScriptedPrompts scripted_;
  uint8_t working_[ts::kSize];
};

TEST_F(TextureEditorTest, ShippedGroupOpensReadOnlyAndRefusesEveryEdit) {
  TextureGroupEditor editor(prompts(), false);
  editor.open("glwplug5.fft");
  EXPECT_EQ(editor.groupNames(), std::vector<std::string>{"glwplug5"});
  EXPECT_EQ(editor.currentGroupIndex(), 0);
  EXPECT_FALSE(editor.group().writeable);
  ASSERT_GE(editor.group().items.size(), 24u);
  EXPECT_FALSE(editor.removeEnabled());
  ASSERT_TRUE(editor.selectItem(14, working_));
  EXPECT_EQ(readU32(working_ + ts::kType), uint32_t(kTextureCraters));
  EXPECT_TRUE(editor.removeEnabled());
  const size_t count = editor.group().items.size();

  editor.add(false, working_);
  editor.remove(false);
  editor.renameItem(0);
  editor.remove(true);
  ASSERT_EQ(scripted_.messages.size(), 4u);
  EXPECT_EQ(scripted_.messages[0], kTextureReadOnlyText);
  EXPECT_EQ(scripted_.messages[1], kTextureReadOnlyText);
  EXPECT_EQ(scripted_.messages[2], kTextureReadOnlyText);
  EXPECT_EQ(scripted_.messages[3], kTexturePrimaryUndeletableText);
  EXPECT_EQ(editor.group().items.size(), count);
  EXPECT_FALSE(editor.modified());
  EXPECT_TRUE(editor.accept());
}

TEST_F(TextureEditorTest, SaveAsMakesAnEditableCopyThatOkWrites) {
  TextureGroupEditor editor(prompts(), true);
  editor.open("glwplug5.fft");
  const size_t count = editor.group().items.size();
  scripted_.replies = {"Mine"};
  editor.add(true, working_);
  EXPECT_TRUE(scripted_.messages.empty());
  EXPECT_EQ(editor.groupFile(), "Mine.FFT");
  EXPECT_TRUE(editor.group().writeable);
  EXPECT_EQ(editor.groupNames(), (std::vector<std::string>{"glwplug5", "Mine"}));
  EXPECT_EQ(editor.currentGroupIndex(), 1);

  writeU32(working_ + ts::kType, kTexturePerturbation);
  editor.add(false, working_);
  EXPECT_EQ(editor.selectedItem(), int(count));
  EXPECT_EQ(editor.group().items.back().name, kNewTextureName);
  scripted_.replies = {"Perturbed"};
  editor.renameItem(int(count));
  ASSERT_TRUE(editor.selectItem(0, working_));
  editor.remove(false);  // the first shipped texture goes
  EXPECT_EQ(editor.selectedItem(), 0);
  EXPECT_TRUE(editor.modified());
  ASSERT_TRUE(editor.accept());
  EXPECT_TRUE(std::ifstream(folderFile("Mine.FFT.bak")).good());

  TextureGroup back;
  ASSERT_TRUE(textureGroupRead(folderFile("Mine.FFT"), &back));
  EXPECT_TRUE(back.writeable);
  ASSERT_EQ(back.items.size(), count);
  EXPECT_EQ(back.items.back().name, "Perturbed");
  EXPECT_EQ(readU32(back.items.back().settings.data() + ts::kType), uint32_t(kTexturePerturbation));
  // The shipped group is as it was.
  TextureGroup shipped;
  ASSERT_TRUE(textureGroupRead(folderFile("glwplug5.fft"), &shipped));
  EXPECT_EQ(shipped.items.size(), count);
  EXPECT_FALSE(shipped.writeable);
}

TEST_F(TextureEditorTest, SavingOverAGroupAsksAndThePrimaryIsNeverOverwritten) {
  TextureGroupEditor editor(prompts(), false);
  editor.open("glwplug5.fft");
  scripted_.replies = {"glwplug5"};
  editor.add(true, working_);
  ASSERT_EQ(scripted_.messages.size(), 1u);
  EXPECT_EQ(scripted_.messages[0], kTextureReadOnlyText);
  EXPECT_EQ(editor.groupFile(), "glwplug5.fft");

  scripted_.replies = {"Other"};
  editor.add(true, working_);
  scripted_.messages.clear();
  scripted_.replies = {"Other", "no"};
  editor.add(true, working_);
  ASSERT_EQ(scripted_.messages.size(), 1u);
  EXPECT_NE(scripted_.messages[0].find("The Other texture group already exists."), std::string::npos);
  scripted_.replies = {"bad/name"};
  editor.add(true, working_);
  EXPECT_EQ(scripted_.messages.back(), "Error writing file");
  // A dotted name would be listed by its first part and never found again.
  scripted_.replies = {"two.parts"};
  editor.add(true, working_);
  EXPECT_EQ(scripted_.messages.back(), "Error writing file");
  EXPECT_FALSE(std::ifstream(folderFile("two.parts.FFT")).good());
  EXPECT_EQ(editor.groupFile(), "Other.FFT");
  scripted_.replies = {"cancel"};
  editor.add(true, working_);
  EXPECT_EQ(scripted_.messages.size(), 3u);
}

TEST_F(TextureEditorTest, DeletingAGroupAsksThenFallsBackToThePrimary) {
  TextureGroupEditor editor(prompts(), false);
  editor.open("glwplug5.fft");
  scripted_.replies = {"Doomed"};
  editor.add(true, working_);
  ASSERT_TRUE(editor.selectItem(0, working_));
  scripted_.replies = {"no"};
  editor.remove(true);
  EXPECT_TRUE(std::ifstream(folderFile("Doomed.FFT")).good());
  scripted_.replies = {"yes"};
  editor.remove(true);
  EXPECT_EQ(scripted_.messages.back(),
            "Do you want to delete the Doomed texture group?\n\nClick on Yes to delete this file, or No to abort.");
  EXPECT_FALSE(std::ifstream(folderFile("Doomed.FFT")).good());
  EXPECT_EQ(editor.groupNames(), std::vector<std::string>{"glwplug5"});
  EXPECT_EQ(editor.groupFile(), "glwplug5.fft");
  EXPECT_FALSE(editor.group().writeable);
}

TEST_F(TextureEditorTest, DamagedGroupIsToldAndOkWritesNothingAfterCancelledEdits) {
  TextureGroupEditor editor(prompts(), false);
  installPrimaryGroup(kPrimaryTextureGroup);
  std::ofstream(folderFile("Broken.FFT")) << "garbage\n";
  editor.open("Broken.FFT");
  ASSERT_EQ(scripted_.messages.size(), 1u);
  EXPECT_EQ(scripted_.messages[0], kTextureReadFailedText);
  EXPECT_TRUE(editor.group().items.empty());
  EXPECT_EQ(editor.groupNames(), (std::vector<std::string>{"Broken", "glwplug5"}));
  EXPECT_TRUE(editor.accept());
  std::ifstream in(folderFile("Broken.FFT"));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "garbage");
  editor.chooseGroup("glwplug5");
  EXPECT_EQ(editor.groupFile(), "glwplug5.fft");  // the file's own name
  EXPECT_GE(editor.group().items.size(), 24u);
}

}  // namespace
}  // namespace gw
