// The DLL as a host sees it: identification, the version test, the modal
// main dialog with its buttons, the rasteriser bracket, the message boxes.
#include <cstdlib>
#include <cstring>

#include "tests/win32/harness.h"

using harness::Driver;
using harness::DialogScript;
using harness::Plugin;

namespace {

const char kTooOld[] =
    "You need a newer version of Celmaker Professional or Reelmaker to support this plugin.\n\n"
    "Please visit the Quillmere web page to update your software.";

uint32_t u32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

std::string freshRasteriserLog() {
  std::string path = harness::tempPath("gw_rasteriser.log");
  DeleteFileA(path.c_str());
  _putenv(("GLYPHWRIGHT_RASTERISER_LOG=" + path).c_str());
  return path;
}

int countCode(const Plugin& p, int32_t code) {
  int n = 0;
  for (const auto& c : p.calls) n += c.code == code;
  return n;
}

}  // namespace

GW_TEST(ExportsResolve) {
  Plugin plugin;
  CHECK(plugin.loaded());
  HMODULE m = GetModuleHandleA("glwplug5.dll");
  CHECK(GetProcAddress(m, "PLUGIN16GetPluginParams") != nullptr);
  CHECK(GetProcAddress(m, "PLUGIN16DoBuild") != nullptr);
  CHECK(GetProcAddress(m, "_PLUGIN16DoBuild@12") == nullptr);
}

GW_TEST(GetPluginParamsKeepsSizeAndClearsTheRest) {
  Plugin plugin;
  uint8_t info[700];
  std::memset(info, 0xAB, sizeof info);
  const uint32_t size = 600;
  info[0] = uint8_t(size);
  info[1] = uint8_t(size >> 8);
  info[2] = info[3] = 0;
  CHECK_EQ(plugin.getPluginParams(info), 1);
  CHECK_EQ(u32(info), size);
  CHECK_EQ(u32(info + 4), 4096u);
  CHECK_EQ(std::string(reinterpret_cast<char*>(info + 8)), std::string("Glyphwright #5"));
  std::string description(reinterpret_cast<char*>(info + 269));
  CHECK(description.find("Glyphwright 5") == 0);
  CHECK(description.find("Plugin") != std::string::npos);
  // Everything between the texts and up to the size is zero; nothing beyond it is touched.
  for (size_t i = 8 + 15; i < 269; ++i) CHECK_EQ(int(info[i]), 0);
  for (size_t i = 269 + description.size(); i < size; ++i) CHECK_EQ(int(info[i]), 0);
  CHECK_EQ(int(info[size]), 0xAB);
}

GW_TEST(OldHostIsRefusedWithThePluginsOwnMessageBox) {
  std::string log = freshRasteriserLog();
  Plugin plugin;
  std::string shown;
  int result;
  {
    DialogScript script([&](Driver& d) {
      HWND box = d.waitFor("Message");
      CHECK(box != nullptr);
      if (!box) return;
      shown = d.text(box, 101);
      d.screenshot(box, harness::tempPath("gw_message_box.bmp"));
      d.press(box, 1);
    });
    result = plugin.doBuild(0x0FFF);
  }
  CHECK_EQ(result, 0);
  // Static controls show "\n" as typed; compare with the line breaks the text has.
  CHECK_EQ(shown, std::string(kTooOld));
  CHECK_EQ(harness::readFile(log), std::string(""));
  CHECK(plugin.calls.empty());
}

GW_TEST(AcceptedVersionsOpenTheMainDialogAndCancelReturnsOne) {
  for (uint16_t version : {uint16_t(0x1000), uint16_t(0x10FF), uint16_t(0x2000)}) {
    std::string log = freshRasteriserLog();
    Plugin plugin;
    bool sawDialog = false;
    int result;
    {
      DialogScript script([&](Driver& d) {
        HWND dlg = d.waitFor("Glyphwright #5");
        sawDialog = dlg != nullptr;
        if (!dlg) return;
        if (version == 0x1000) d.screenshot(dlg, harness::tempPath("gw_main_dialog.bmp"));
        d.press(dlg, 2);
        d.waitGone(dlg);
      });
      result = plugin.doBuild(version);
    }
    CHECK(sawDialog);
    CHECK_EQ(result, 1);
    CHECK_EQ(harness::readFile(log), std::string("maintenance 1\nmaintenance 2\n"));
    // The dialog asked for the file-dialog size and the two host settings.
    CHECK_EQ(countCode(plugin, 21), 1);
    CHECK_EQ(countCode(plugin, 17), 2);
  }
}

GW_TEST(EscapeInMessageBoxEndsItLikeOk) {
  Plugin plugin;
  int result;
  bool closed = false;
  {
    DialogScript script([&](Driver& d) {
      HWND box = d.waitFor("Message");
      if (!box) return;
      d.press(box, 2);  // what Escape sends
      closed = d.waitGone(box);
    });
    result = plugin.doBuild(0x0100);
  }
  CHECK(closed);
  CHECK_EQ(result, 0);
}

GW_TEST(HelpAsksTheHostAndReportsARefusal) {
  Plugin plugin;
  plugin.answer = [](void*, int32_t code, int32_t, void*) -> int32_t { return code == 9 ? 0 : 0; };
  std::string shown;
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      if (!dlg) return;
      d.press(dlg, 9);
      HWND box = d.waitFor("Message");
      if (box) {
        shown = d.text(box, 101);
        d.press(box, 1);
        d.waitGone(box);
      }
      d.press(dlg, 2);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  CHECK_EQ(countCode(plugin, 9), 1);
  CHECK_EQ(shown, std::string("There has been an error displaying the Help document."));
  for (const auto& c : plugin.calls)
    if (c.code == 9) CHECK(c.text.find("glwplug5.htm") != std::string::npos);
}

GW_TEST(SecondRunInTheSameProcessWorks) {
  Plugin plugin;
  for (int run = 0; run < 2; ++run) {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      if (dlg) d.press(dlg, 2);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
}

GW_TEST(MessageBoxesDrawSoftButtonsWhenTheHostAsks) {
  Plugin plugin;
  // Soft buttons wanted; Help is refused, which shows a message box.
  plugin.answer = [](void*, int32_t code, int32_t, void* p) { return harness::answerSoftButtons(code, p); };
  LONG okStyle = 0;
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = d.waitFor("Glyphwright #5");
      if (!dlg) return;
      d.press(dlg, 9);
      HWND box = d.waitFor("Message");
      if (box) {
        okStyle = GetWindowLongA(GetDlgItem(box, 1), GWL_STYLE);
        d.screenshot(box, harness::tempPath("gw_message_box_soft.bmp"));
        d.press(box, 1);
        d.waitGone(box);
      }
      d.press(dlg, 2);
    });
    CHECK_EQ(plugin.doBuild(0x1000), 1);
  }
  CHECK_EQ(int(okStyle & 0xF), int(BS_OWNERDRAW));
}
