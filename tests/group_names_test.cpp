// Group names as both library dialogs use them: the base name a list shows,
// finding a group file in that list whatever its case, and the names a user
// may give a new group (ones the list could show and choose again).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "materials/group_folder.h"

namespace gw {
namespace {

TEST(GroupNames, BaseNameEndsAtTheFirstDot) {
  EXPECT_EQ(groupBaseName("glwplug5.fft"), "glwplug5");
  EXPECT_EQ(groupBaseName("Mine.FFT.bak"), "Mine");
  EXPECT_EQ(groupBaseName("plain"), "plain");
}

TEST(GroupNames, IndexMatchesTheFilesBaseNameWithoutRegardToCase) {
  const std::vector<std::string> names = {"glwplug5", "Mine", "Stones"};
  struct Case {
    const char* file;
    int index;
  } cases[] = {
      {"glwplug5.fft", 0}, {"GLWPLUG5.FFT", 0}, {"mine.mtx", 1}, {"STONES", 2},
      {"Min.FFT", -1},     {"Mines.FFT", -1},   {"", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(groupNameIndex(names, c.file), c.index) << c.file;
  EXPECT_EQ(groupNameIndex({}, "glwplug5.fft"), -1);
  EXPECT_TRUE(sameGroupName("Mine", "mINE"));
  EXPECT_FALSE(sameGroupName("Mine", "Mine "));
}

TEST(GroupNames, UsableNamesAreFileNamesTheListCanFindAgain) {
  struct Case {
    std::string name;
    bool usable;
  } cases[] = {
      {"Untitled", true},
      {"My stones 2", true},
      {" lead blank", true},
      {std::string(200, 'a'), true},
      {std::string(201, 'a'), false},
      {"", false},
      {"   ", false},
      {"two.parts", false},  // would list as "two" and never be found
      {"..", false},
      {"a/b", false},
      {"a\\b", false},
      {"c:x", false},
      {"what?", false},
      {"star*", false},
      {"quote\"", false},
      {"<angle>", false},
      {"pipe|", false},
      {std::string("tab\there"), false},
  };
  for (const Case& c : cases) EXPECT_EQ(usableGroupName(c.name), c.usable) << '"' << c.name << '"';
}

}  // namespace
}  // namespace gw
