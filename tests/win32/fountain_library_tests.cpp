// The "Gradient Library" dialog with real windows. Nothing a test can reach
// through the plug-in's exports opens it yet (the fountain button's "Manage
// library" will), so the test host links the dialog's view and the
// plug-in's resources itself and runs it as the button would.
#include <windows.h>

#include <string>

#include "base/le_bytes.h"
#include "materials/fountain_library.h"
#include "materials/fountain_record.h"
#include "platform/module.h"
#include "tests/win32/harness.h"
#include "ui/fountain_library_dialog.h"

using harness::DialogScript;
using harness::Driver;

namespace {

constexpr int kList = 101;
constexpr int kRow = 42;

uint32_t startColourOnDisk(const gw::FountainLibraryList& list, size_t i) {
  return i < list.size() ? gw::readU32(list[i].record + gw::fountain::kStartColour) : 0xDEAD;
}

// A press, a move and a release on the list, as the mouse would send them.
void dragRow(HWND list, int from, int to) {
  const int x = 40;
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, from * kRow + kRow / 2));
  PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, (from * kRow + to * kRow) / 2 + kRow / 2));
  PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, to * kRow + kRow / 2));
  PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(x, to * kRow + kRow / 2));
}

}  // namespace

GW_TEST(FountainLibraryDialogDragsPicksAndRewrites) {
  gw::setModuleInstance(GetModuleHandleA(nullptr));
  const std::string path = gw::fountainLibraryPath();
  CHECK(!path.empty());
  const std::string folder = path.substr(0, path.rfind('\\'));
  CreateDirectoryA(folder.substr(0, folder.rfind('\\')).c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  DeleteFileA(path.c_str());
  const gw::FountainPreset presets[] = {gw::FountainPreset::Rainbow, gw::FountainPreset::Grey, gw::FountainPreset::Empty};
  for (int i = 0; i < 3; ++i) {
    uint8_t f[gw::kFountainRecordSize];
    gw::fountainRecordDefaults(f, presets[i]);
    gw::writeU32(f + gw::fountain::kStartColour, uint32_t(0x202020 * (i + 1)));
    CHECK(gw::fountainLibraryAdd(path, f));
  }
  uint8_t record[gw::kFountainRecordSize];
  gw::fountainRecordDefaults(record, gw::FountainPreset::Grey);
  gw::writeU32(record + gw::fountain::kFlags, gw::fountain::kFlagLooped);

  int rows = -1, height = -1, selectedAfterDrop = -1;
  int result = -1;
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Gradient Library");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      HWND list = GetDlgItem(dlg, kList);
      rows = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
      height = int(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
      dragRow(list, 2, 0);
      Sleep(500);
      selectedAfterDrop = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
      d.screenshot(dlg, harness::tempPath("gw_fountain_library.bmp"));
      d.press(dlg, IDOK);
    });
    result = gw::runFountainLibraryDialog(0, record);
  }
  CHECK_EQ(result, 1);
  CHECK_EQ(rows, 3);
  CHECK_EQ(height, kRow);
  CHECK_EQ(selectedAfterDrop, 0);
  gw::FountainLibraryList list;
  CHECK(gw::fountainLibraryLoad(path, 0, 0, &list) == gw::FountainLibraryStatus::Ok);
  CHECK_EQ(startColourOnDisk(list, 0), 0x606060u);  // the dragged entry, first now
  CHECK_EQ(startColourOnDisk(list, 1), 0x202020u);
  CHECK_EQ(startColourOnDisk(list, 2), 0x404040u);
  // The picked (dropped) entry's ramp, with the record's own flags.
  CHECK_EQ(gw::readU32(record + gw::fountain::kStartColour), 0x606060u);
  CHECK_EQ(gw::fountainMarkerCount(record), 0);
  CHECK_EQ(gw::readU32(record + gw::fountain::kFlags), gw::fountain::kFlagLooped);
}

GW_TEST(FountainLibraryDialogCancelKeepsTheFileAndMissingLibraryIsReported) {
  gw::setModuleInstance(GetModuleHandleA(nullptr));
  const std::string path = gw::fountainLibraryPath();
  uint8_t record[gw::kFountainRecordSize];
  gw::fountainRecordDefaults(record, gw::FountainPreset::Rainbow);
  const uint32_t before = gw::readU32(record + gw::fountain::kStartColour);
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Gradient Library");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      SendMessageA(GetDlgItem(dlg, kList), LB_SETCURSEL, 1, 0);
      d.press(dlg, 102);  // Delete
      Sleep(200);
      CHECK_EQ(int(SendMessageA(GetDlgItem(dlg, kList), LB_GETCOUNT, 0, 0)), 2);
      d.press(dlg, IDCANCEL);
    });
    CHECK_EQ(gw::runFountainLibraryDialog(0, record), 0);
  }
  gw::FountainLibraryList list;
  CHECK(gw::fountainLibraryLoad(path, 0, 0, &list) == gw::FountainLibraryStatus::Ok);
  CHECK_EQ(int(list.size()), 3);
  CHECK_EQ(gw::readU32(record + gw::fountain::kStartColour), before);

  DeleteFileA(path.c_str());
  std::string message;
  {
    DialogScript script([&](Driver& d) {
      HWND box = d.waitFor("Message");
      CHECK(box != nullptr);
      if (!box) return;
      message = d.text(box, 101);
      d.press(box, 1);
    });
    CHECK_EQ(gw::runFountainLibraryDialog(0, record), 0);
  }
  CHECK_EQ(message, std::string("There has been an error loading the fountain library."));
}

GW_TEST(FountainLibraryDialogDoubleClickActsAsOk) {
  gw::setModuleInstance(GetModuleHandleA(nullptr));
  const std::string path = gw::fountainLibraryPath();
  DeleteFileA(path.c_str());
  for (uint32_t start : {0x111111u, 0x222222u}) {
    uint8_t f[gw::kFountainRecordSize];
    gw::fountainRecordDefaults(f, gw::FountainPreset::Empty);
    gw::writeU32(f + gw::fountain::kStartColour, start);
    CHECK(gw::fountainLibraryAdd(path, f));
  }
  uint8_t record[gw::kFountainRecordSize];
  gw::fountainRecordDefaults(record, gw::FountainPreset::Rainbow);
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Gradient Library");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      HWND list = GetDlgItem(dlg, kList);
      const LPARAM row1 = MAKELPARAM(40, kRow + kRow / 2);
      PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, row1);
      PostMessageA(list, WM_LBUTTONUP, 0, row1);
      PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, row1);
      PostMessageA(list, WM_LBUTTONUP, 0, row1);
      if (!d.waitGone(dlg, 3000)) d.press(dlg, IDCANCEL);
    });
    CHECK_EQ(gw::runFountainLibraryDialog(0, record), 1);
  }
  CHECK_EQ(gw::readU32(record + gw::fountain::kStartColour), 0x222222u);
}
