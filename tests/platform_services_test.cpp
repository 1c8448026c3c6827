#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/folders.h"
#include "platform/system_state.h"

namespace gw {
namespace {

TEST(Folders, EnvironmentRedirectsAndSeparatorsAreAdded) {
  setenv("GLYPHWRIGHT_APPDATA", "/tmp/gw-app", 1);
  setenv("GLYPHWRIGHT_DOCUMENTS", "/tmp/gw-docs/", 1);
  setenv("GLYPHWRIGHT_MODULE_DIR", "/tmp/gw-mod", 1);
  EXPECT_EQ(appDataFolder(), "/tmp/gw-app/");
  EXPECT_EQ(documentsFolder(), "/tmp/gw-docs/");
  EXPECT_EQ(moduleFolder(), "/tmp/gw-mod/");
  unsetenv("GLYPHWRIGHT_APPDATA");
  unsetenv("GLYPHWRIGHT_DOCUMENTS");
  unsetenv("GLYPHWRIGHT_MODULE_DIR");
  EXPECT_FALSE(moduleFolder().empty());  // the test binary's own folder
  EXPECT_EQ(moduleFolder().back(), '/');
}

TEST(Folders, JoinRespectsThePathLimit) {
  EXPECT_EQ(joinPath("/a", "b.ini"), "/a/b.ini");
  EXPECT_EQ(joinPath("/a/", "b.ini"), "/a/b.ini");
  EXPECT_EQ(joinPath("", "b.ini"), "b.ini");
  EXPECT_EQ(joinPath(std::string(255, 'x'), "name.ini"), "");
}

TEST(Clock, CtimeTextIsTwentyFourCharacters) {
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ(ctimeText(0), "Thu Jan  1 00:00:00 1970");
  EXPECT_EQ(ctimeText(741476948), "Wed Jun 30 21:49:08 1993");
  EXPECT_EQ(ctimeText(wallClockSeconds()).size(), 24u);
}

TEST(KeyState, ShiftIsUpUnlessATestHoldsIt) {
  EXPECT_FALSE(shiftKeyDown());
  testing::setShiftKeyDown(true);
  EXPECT_TRUE(shiftKeyDown());
  testing::setShiftKeyDown(false);
}

TEST(Owner, NamesComeFromTheEnvironment) {
  setenv("GLYPHWRIGHT_OWNER", "Ada", 1);
  setenv("GLYPHWRIGHT_ORGANIZATION", "Engines Ltd", 1);
  EXPECT_EQ(registeredOwner(), "Ada");
  EXPECT_EQ(registeredOrganization(), "Engines Ltd");
  unsetenv("GLYPHWRIGHT_OWNER");
  unsetenv("GLYPHWRIGHT_ORGANIZATION");
  EXPECT_EQ(registeredOrganization(), "");
}

}  // namespace
}  // namespace gw
