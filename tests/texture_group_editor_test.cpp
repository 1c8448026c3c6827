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
#include "tests/temp_folder.h"
#include "ui/texture_group_editor.h"

namespace gw {
namespace {

namespace ts = texture_settings;

class TextureEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("GLYPHWRIGHT_APPDATA");
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv("GLYPHWRIGHT_APPDATA", root_.path().c_str(), 1);
    textureSettingsDefaults(working_);
  }
  void TearDown() override {
    if (had_) setenv("GLYPHWRIGHT_APPDATA", old_.c_str(), 1);
    else unsetenv("GLYPHWRIGHT_APPDATA");
  }
  GroupPrompts prompts() {
    GroupPrompts p;
    p.message = [this](const std::string& t) { messages_.push_back(t); };
    p.askYesNo = [this](const std::string& t) {
      messages_.push_back(t);
      bool yes = !answers_.empty() && answers_.front() == "yes";
      if (!answers_.empty()) answers_.pop_front();
      return yes;
    };
    p.askName = [this](const std::string&, std::string* text) {
      if (answers_.empty() || answers_.front() == "cancel") {
        if (!answers_.empty()) answers_.pop_front();
        return false;
      }
      *text = answers_.front();
      answers_.pop_front();
      return true;
    };
    return p;
  }
  std::string folderFile(const std::string& name) { return root_.path() + "/Quillmere/Glyphwright 5/" + name; }

  TempFolder root_{"texedit"};
  bool had_ = false;
  std::string old_;
  std::vector<std::string> messages_;
  std::deque<std::string> answers_;
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
  ASSERT_EQ(messages_.size(), 4u);
  EXPECT_EQ(messages_[0], kTextureReadOnlyText);
  EXPECT_EQ(messages_[1], kTextureReadOnlyText);
  EXPECT_EQ(messages_[2], kTextureReadOnlyText);
  EXPECT_EQ(messages_[3], kTexturePrimaryUndeletableText);
  EXPECT_EQ(editor.group().items.size(), count);
  EXPECT_FALSE(editor.modified());
  EXPECT_TRUE(editor.accept());
}

TEST_F(TextureEditorTest, SaveAsMakesAnEditableCopyThatOkWrites) {
  TextureGroupEditor editor(prompts(), true);
  editor.open("glwplug5.fft");
  const size_t count = editor.group().items.size();
  answers_ = {"Mine"};
  editor.add(true, working_);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(editor.groupFile(), "Mine.FFT");
  EXPECT_TRUE(editor.group().writeable);
  EXPECT_EQ(editor.groupNames(), (std::vector<std::string>{"glwplug5", "Mine"}));
  EXPECT_EQ(editor.currentGroupIndex(), 1);

  writeU32(working_ + ts::kType, kTexturePerturbation);
  editor.add(false, working_);
  EXPECT_EQ(editor.selectedItem(), int(count));
  EXPECT_EQ(editor.group().items.back().name, kNewTextureName);
  answers_ = {"Perturbed"};
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
  answers_ = {"glwplug5"};
  editor.add(true, working_);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], kTextureReadOnlyText);
  EXPECT_EQ(editor.groupFile(), "glwplug5.fft");

  answers_ = {"Other"};
  editor.add(true, working_);
  messages_.clear();
  answers_ = {"Other", "no"};
  editor.add(true, working_);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("The Other texture group already exists."), std::string::npos);
  answers_ = {"bad/name"};
  editor.add(true, working_);
  EXPECT_EQ(messages_.back(), "Error writing file");
  // A dotted name would be listed by its first part and never found again.
  answers_ = {"two.parts"};
  editor.add(true, working_);
  EXPECT_EQ(messages_.back(), "Error writing file");
  EXPECT_FALSE(std::ifstream(folderFile("two.parts.FFT")).good());
  EXPECT_EQ(editor.groupFile(), "Other.FFT");
  answers_ = {"cancel"};
  editor.add(true, working_);
  EXPECT_EQ(messages_.size(), 3u);
}

TEST_F(TextureEditorTest, DeletingAGroupAsksThenFallsBackToThePrimary) {
  TextureGroupEditor editor(prompts(), false);
  editor.open("glwplug5.fft");
  answers_ = {"Doomed"};
  editor.add(true, working_);
  ASSERT_TRUE(editor.selectItem(0, working_));
  answers_ = {"no"};
  editor.remove(true);
  EXPECT_TRUE(std::ifstream(folderFile("Doomed.FFT")).good());
  answers_ = {"yes"};
  editor.remove(true);
  EXPECT_EQ(messages_.back(),
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
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], kTextureReadFailedText);
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
