// The animation selector on the "Omni" page, through the real control: the
// host answers request 16 with a block it builds, and the tests select,
// cancel and load by path.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/wire_pointer.h"
#include "tests/win32/harness.h"

using harness::Driver;
using harness::DialogScript;
using harness::Plugin;

namespace {

constexpr int kEffectList = 58;
constexpr int kOmni = 5;
constexpr int kSelector = 524;
constexpr UINT kFrameRequest = 1225;
constexpr UINT kReadDocumentLine = 1335;

void put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// A movable block as a host hands it over: `frames` frames of 8 x 6 pixels,
// 24 bits, each a solid grey of 20 * k, with delay 5 + k.
HGLOBAL makeAnimation(int frames) {
  const size_t bitmap = 40 + 24 * 6;  // rows of 8 * 3 bytes, already a multiple of 4
  const size_t size = 870 + size_t(frames) * (2411 + bitmap) + 76;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* p = static_cast<uint8_t*>(GlobalLock(h));
  std::memcpy(p, "ANMo", 4);
  put32(p + 4, 870);
  put32(p + 8, 4096);
  put32(p + 16, uint32_t(frames));
  put32(p + 24, 8);
  put32(p + 28, 6);
  size_t at = 870;
  for (int k = 0; k < frames; ++k) {
    uint8_t* c = p + at;
    std::memcpy(c, "ANMe", 4);
    put32(c + 4, 2411);
    put32(c + 8, 4096);
    put32(c + 16, uint32_t(bitmap));
    put32(c + 29, uint32_t(5 + k));  // unaligned
    uint8_t* b = c + 2411;
    put32(b, 40);
    put32(b + 4, 8);
    put32(b + 8, 6);
    b[12] = 1;
    b[14] = 24;
    std::memset(b + 40, 20 * k, 24 * 6);
    at += 2411 + bitmap;
  }
  std::memcpy(p + at, "ANMx", 4);
  put32(p + at + 4, 76);
  put32(p + at + 8, 4096);
  GlobalUnlock(h);
  return h;
}

// The host's side of request 16: how many frames to hand over (0: the user
// cancels), the name it was asked with, and the name it answers with.
struct AnimationHost {
  int frames = 0;
  int requests = 0;
  std::string asked;
  std::string chosen = "C:\\anims\\chosen.gif";
};

int32_t answer(AnimationHost& host, int32_t code, void* p) {
  if (code != 16) return 0;
  auto* rec = static_cast<uint8_t*>(p);
  ++host.requests;
  host.asked = reinterpret_cast<const char*>(rec + 20);
  if (host.frames == 0) return 0;
  if (host.asked.empty()) std::strcpy(reinterpret_cast<char*>(rec + 20), host.chosen.c_str());
  // The handle goes back as the 32-bit value the plug-in's records carry.
  return int32_t(gw::wireFromPointer(makeAnimation(host.frames)));
}

HWND openOmni(Driver& d) {
  HWND dlg = d.waitFor("Glyphwright #5");
  if (!dlg) return nullptr;
  HWND list = GetDlgItem(dlg, kEffectList);
  SendMessageA(list, CB_SETCURSEL, kOmni, 0);
  SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(kEffectList, CBN_CLOSEUP), LPARAM(list));
  return dlg;
}

// Presses a button and waits until its command is handled (Driver::press
// only posts it), so what the press changed can be read at once.
void clickAndWait(HWND parent, int id) {
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(parent, id)));
}

int32_t frameCount(HWND dlg) {
  int32_t n = -1;
  SendMessageA(GetDlgItem(dlg, kSelector), kFrameRequest, WPARAM(-1), LPARAM(&n));
  return n;
}

}  // namespace

GW_TEST(AnimationSelectorStartsWithThePlaceholder) {
  Plugin plugin;
  AnimationHost host;
  plugin.answer = [&](void*, int32_t code, int32_t, void* p) { return answer(host, code, p); };
  int32_t count = 0, delay = 0;
  bool hasButton = false;
  int width = 0;
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = openOmni(d);
      CHECK(dlg != nullptr);
      if (!dlg) return;
      count = frameCount(dlg);
      HWND selector = GetDlgItem(dlg, kSelector);
      HWND button = GetDlgItem(selector, 1);
      hasButton = button && IsWindowVisible(button);
      HGLOBAL frame = static_cast<HGLOBAL>(
          gw::pointerFromWire(uint32_t(SendMessageA(selector, kFrameRequest, 1000, LPARAM(&delay)))));
      if (frame) {
        if (auto* dib = static_cast<const uint8_t*>(GlobalLock(frame))) {
          width = int(dib[4] | dib[5] << 8);
          GlobalUnlock(frame);
        }
        GlobalFree(frame);
      }
      d.screenshot(dlg, harness::tempPath("gw_page_omni.bmp"));
      d.press(dlg, 2);
    });
    CHECK_EQ(plugin.doBuild(0x1000, 2), 1);
  }
  CHECK_EQ(count, 36);
  CHECK_EQ(delay, 60);  // host flag bit 1: hundredths
  CHECK_EQ(width, 16);
  CHECK(hasButton);
  CHECK_EQ(host.requests, 0);
}

GW_TEST(AnimationSelectorSelectsAndCancels) {
  Plugin plugin;
  AnimationHost host;
  plugin.answer = [&](void*, int32_t code, int32_t, void* p) { return answer(host, code, p); };
  int32_t afterSelect = 0, afterCancel = 0;
  std::string askedWith = "unset";
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = openOmni(d);
      CHECK(dlg != nullptr);
      if (!dlg) return;
      HWND selector = GetDlgItem(dlg, kSelector);
      host.frames = 7;
      clickAndWait(selector, 1);
      afterSelect = frameCount(dlg);
      askedWith = host.asked;
      d.screenshot(dlg, harness::tempPath("gw_page_omni_selected.bmp"));
      host.frames = 0;  // the user cancels the host's file dialog
      clickAndWait(selector, 1);
      afterCancel = frameCount(dlg);
      d.press(dlg, 2);
    });
    CHECK_EQ(plugin.doBuild(0x1000, 2), 1);
  }
  CHECK_EQ(afterSelect, 7);
  CHECK_EQ(askedWith, std::string(""));
  CHECK_EQ(afterCancel, 7);
  CHECK_EQ(host.requests, 2);
}

GW_TEST(AnimationSelectorLoadsByPathFromADocumentLine) {
  Plugin plugin;
  AnimationHost host;
  plugin.answer = [&](void*, int32_t code, int32_t, void* p) { return answer(host, code, p); };
  const std::string file = harness::tempPath("gw_anim_by_path.gif");
  FILE* f = std::fopen(file.c_str(), "wb");
  if (f) std::fclose(f);
  int32_t loaded = 0, missing = 0;
  LRESULT took = 0;
  {
    DialogScript script([&](Driver& d) {
      HWND dlg = openOmni(d);
      CHECK(dlg != nullptr);
      if (!dlg) return;
      HWND selector = GetDlgItem(dlg, kSelector);
      host.frames = 4;
      std::string line = "ANMCTL524=" + file;
      took = SendMessageA(selector, kReadDocumentLine, 0, LPARAM(line.c_str()));
      loaded = frameCount(dlg);
      // A file that is gone: the path is kept, nothing is asked, the picture stays.
      host.frames = 9;
      line = "ANMCTL524=C:\\no\\such\\file.gif";
      SendMessageA(selector, kReadDocumentLine, 0, LPARAM(line.c_str()));
      missing = frameCount(dlg);
      d.press(dlg, 2);
    });
    CHECK_EQ(plugin.doBuild(0x1000, 2), 1);
  }
  CHECK_EQ(int(took), 1);
  CHECK_EQ(loaded, 4);
  CHECK_EQ(host.asked, file);
  CHECK_EQ(missing, 4);
  CHECK_EQ(host.requests, 1);
  DeleteFileA(file.c_str());
}
