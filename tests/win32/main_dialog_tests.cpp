// The real main dialog under wine: the effect list, the pages it shows, the
// refresh timer's rule and the configuration file written at close.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "tests/win32/harness.h"

using harness::Driver;
using harness::DialogScript;
using harness::Plugin;

namespace {

using harness::selectEffect;

constexpr int kEffectList = 58;
constexpr int kDelay = 11;
constexpr int kSampleSize = 17;

bool isPageId(int id) { return (id >= 100 && id <= 1198) || (id >= 10100 && id <= 11198); }

std::set<int> visiblePageControls(HWND dialog) {
  std::set<int> ids;
  for (HWND h = GetWindow(dialog, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (isPageId(GetDlgCtrlID(h)) && IsWindowVisible(h)) ids.insert(GetDlgCtrlID(h));
  return ids;
}

std::string configurationPath() {
  char appData[MAX_PATH] = {};
  GetEnvironmentVariableA("APPDATA", appData, MAX_PATH);
  return std::string(appData) + "\\Quillmere\\glwplug5.ini";
}

}  // namespace

GW_TEST(MainDialogListsTheEffectsAndShowsOnlyTheSelectedPage) {
  Plugin plugin;
  std::set<int> shown;
  int count = 0;
  char name[64] = {};
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      HWND list = GetDlgItem(dlg, kEffectList);
      count = int(SendMessageA(list, CB_GETCOUNT, 0, 0));
      SendMessageA(list, CB_GETLBTEXT, 18, LPARAM(name));
      // The fullest pages, for a person to look at.
      selectEffect(dlg, 0);
      d.screenshot(dlg, harness::tempPath("gw_page_arrows.bmp"));
      selectEffect(dlg, 14);
      d.screenshot(dlg, harness::tempPath("gw_page_stars.bmp"));
      selectEffect(dlg, 18);
      shown = visiblePageControls(dlg);
      d.press(dlg, 2);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  CHECK_EQ(count, 21);
  CHECK_EQ(std::string(name), std::string("Waterside"));
  // Page 7408: ids 410 to 431 and the partners of its five spin fields.
  std::set<int> page;
  for (int id = 410; id <= 431; ++id) page.insert(id);
  for (int id : {10414, 10416, 10424, 10426, 10428}) page.insert(id);
  CHECK(shown == page);
  CHECK_EQ(shown.size(), page.size());
}

// The font box lists the machine's families and shows the configured face,
// or the face GDI draws in its place ("Impact" is missing under wine).
GW_TEST(FontBoxListsTheFontsAndShowsAFace) {
  Plugin plugin;
  int count = 0, selected = -1;
  char shown[LF_FACESIZE + 64] = {};
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      HWND box = GetDlgItem(dlg, 53);
      count = int(SendMessageA(box, CB_GETCOUNT, 0, 0));
      selected = int(SendMessageA(box, CB_GETCURSEL, 0, 0));
      if (selected >= 0 && SendMessageA(box, CB_GETLBTEXTLEN, WPARAM(selected), 0) < LRESULT(sizeof shown))
        SendMessageA(box, CB_GETLBTEXT, WPARAM(selected), LPARAM(shown));
      d.press(dlg, 2);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  CHECK(count > 0);
  CHECK(selected >= 0);
  CHECK(shown[0] != '\0');
}

GW_TEST(APageSpinRestartsTheRefreshAndDelayDoesNot) {
  Plugin plugin;
  std::string afterDelay, afterSpin, clamped;
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      selectEffect(dlg, 12);
      Sleep(800);  // let the first refresh pass
      // The sample's caption is rewritten at every refresh; mark it and watch.
      SetDlgItemTextA(dlg, kSampleSize, "marker");
      SetDlgItemTextA(dlg, kDelay, "7");
      Sleep(800);
      afterDelay = d.text(dlg, kSampleSize);
      SetDlgItemTextA(dlg, 108, "9999");  // "Simple"'s fill opacity, 0..255
      Sleep(800);
      afterSpin = d.text(dlg, kSampleSize);
      clamped = d.text(dlg, 108);
      d.press(dlg, 2);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  CHECK_EQ(afterDelay, std::string("marker"));
  CHECK(afterSpin != "marker");
  CHECK_EQ(clamped, std::string("9999"));  // the field keeps what was typed
}

GW_TEST(ClosingWritesTheConfigurationFile) {
  const std::string path = configurationPath();
  const std::string folder = path.substr(0, path.rfind('\\'));
  CreateDirectoryA(folder.c_str(), nullptr);
  DeleteFileA(path.c_str());
  Plugin plugin;
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      selectEffect(dlg, 12);
      Sleep(800);
      d.screenshot(dlg, harness::tempPath("gw_main_dialog.bmp"));
      SetDlgItemTextA(dlg, kDelay, "9");
      SetDlgItemTextA(dlg, 112, "99999");  // frames, 2..32760: stored clamped
      d.press(dlg, 2);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  std::string text = harness::readFile(path);
  CHECK(text.find(";Quillmere animtion plugin configuration file") == 0);
  CHECK(text.find("\r\n[PlugIn]\r\n") != std::string::npos);
  CHECK(text.find("\r\nIsFirst = 0\r\n") != std::string::npos);
  CHECK(text.find("\r\nMainDelay = 9\r\n") != std::string::npos);
  CHECK(text.find("\r\nMainEffect = 12\r\n") != std::string::npos);
  CHECK(text.find("\r\nStyle000Frames = 32760\r\n") != std::string::npos);
  // Opened again, the dialog starts from the file.
  std::string delay;
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      if (!dlg) return;
      delay = d.text(dlg, kDelay);
      d.press(dlg, 2);
    });
    plugin.doBuild(0x1000);
  }
  CHECK_EQ(delay, std::string("9"));
  DeleteFileA(path.c_str());
}

GW_TEST(SoftButtonsFromTheHostDrawThePushButtonsFlat) {
  Plugin plugin;
  plugin.answer = [](void*, int32_t code, int32_t, void* p) { return harness::answerSoftButtons(code, p); };
  LONG buildStyle = 0, checkStyle = 0;
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      CHECK(dlg != nullptr);
      if (!dlg) return;
      buildStyle = GetWindowLongA(GetDlgItem(dlg, 1), GWL_STYLE);
      checkStyle = GetWindowLongA(GetDlgItem(dlg, 22), GWL_STYLE);
      d.screenshot(dlg, harness::tempPath("gw_main_dialog_soft.bmp"));
      d.press(dlg, 2);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  CHECK_EQ(int(buildStyle & 0xF), int(BS_OWNERDRAW));
  CHECK_EQ(int(checkStyle & 0xF), int(BS_AUTOCHECKBOX));  // only push buttons change
}
