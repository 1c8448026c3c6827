// The main dialog's font list: the machine's families, showing the
// configured face or, when it is not installed, the face drawn instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "controls/font_families.h"
#include "host/main_dialog.h"
#include "platform/in_memory_dialog.h"
#include "platform/rasteriser.h"
#include "platform/resources.h"
#include "platform/system_state.h"
#include "resource_ids.h"
#include "settings/settings_record.h"
#include "settings/settings_table.h"

namespace gw {
namespace {

std::unique_ptr<InMemoryDialog> openMainDialog(const char* face) {
  ::setenv("GLYPHWRIGHT_APPDATA", ::testing::TempDir().c_str(), 1);
  settings() = SettingsRecord();
  setSettingText(settings().MainFontName, face);
  auto dialog = InMemoryDialog::fromResource(ResourceName::number(IDD_MAIN));
  if (!dialog) return nullptr;
  gw::testing::setShiftKeyDown(true);  // the settings as they stand, no files
  bool ready = mainDialogInit(*dialog, nullptr, 1024, 768);
  gw::testing::setShiftKeyDown(false);
  return ready ? std::move(dialog) : nullptr;
}

TEST(FontList, ShowsTheConfiguredFaceOrTheFaceDrawnInstead) {
  const std::vector<std::string> families = screenFontFamilies();
  ASSERT_FALSE(families.empty()) << "no fonts on this machine";
  struct Case {
    std::string face;      // configured
    std::string expected;  // shown
  } cases[] = {
      {families.back(), families.back()},
      {"No Such Face Anywhere", rasteriserSubstituteFamily("No Such Face Anywhere")},
  };
  for (const Case& c : cases) {
    auto dialog = openMainDialog(c.face.c_str());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->itemCount(IDC_FONT), int(families.size()));
    EXPECT_GE(dialog->selection(IDC_FONT), 0) << c.face;
    EXPECT_FALSE(dialog->text(IDC_FONT).empty()) << c.face;
    EXPECT_EQ(dialog->text(IDC_FONT), c.expected) << c.face;
    // Showing a substitute stores nothing: the configured face is kept.
    EXPECT_EQ(std::string(settings().MainFontName), c.face);
  }
  settings() = SettingsRecord();
}

}  // namespace
}  // namespace gw
