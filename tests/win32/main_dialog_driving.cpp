#include "tests/win32/main_dialog_driving.h"

#include <cstdio>

#include "platform/wire_pointer.h"

namespace driving {

uint32_t u32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

std::string pluginFolder() {
  char appData[MAX_PATH] = {};
  GetEnvironmentVariableA("APPDATA", appData, MAX_PATH);
  return std::string(appData) + "\\Quillmere\\Glyphwright 5\\";
}

std::string materialFile(int id) {
  char name[64];
  std::snprintf(name, sizeof name, "Material%05d.mtrl", id);
  return pluginFolder() + name;
}

void selectEffect(HWND dialog, int index) {
  HWND list = GetDlgItem(dialog, kEffectList);
  SendMessageA(list, CB_SETCURSEL, WPARAM(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kEffectList, CBN_CLOSEUP), LPARAM(list));
}

COLORREF faceColour(HWND button) {
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Sleep(200);
  RECT r;
  GetWindowRect(button, &r);
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, r.left + 6, r.top + 4);
  ReleaseDC(nullptr, screen);
  return c;
}

HWND waitForMenu(int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 50) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu)) return menu;
    Sleep(50);
  }
  return nullptr;
}

void key(HWND window, WPARAM vk) {
  PostMessageA(window, WM_KEYDOWN, vk, 1);
  PostMessageA(window, WM_KEYUP, vk, 0xC0000001);
  Sleep(100);
}

bool chooseKind(HWND button, int kind) {
  PostMessageA(button, kKindMenu, 0, 0);
  HWND menu = waitForMenu(5000);
  if (!menu) return false;
  // The first Down marks "Simple"; each further one the next kind.
  for (int i = 0; i <= kind; ++i) key(menu, VK_DOWN);
  key(menu, VK_RETURN);
  return true;
}

void clickFace(HWND button) {
  PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 6));
  PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
}

void waitForBuild(harness::Plugin& plugin) {
  for (int waited = 0; waited < 60000; waited += 100) {
    Sleep(100);
    for (const auto& c : plugin.calls)
      if (c.code == 4) return;
  }
}

void testBuild(harness::Driver& d, harness::Plugin& plugin, HWND dialog) {
  d.press(dialog, kTest);
  waitForBuild(plugin);
  if (HWND box = d.waitFor("Message", 300)) {
    std::printf("  message: %s\n", d.text(box, 101).c_str());
    d.press(box, 1);
    d.waitGone(box);
  }
}

bool keepFrame(const void* imageRecord, std::vector<std::vector<uint8_t>>* frames) {
  const auto* record = static_cast<const uint8_t*>(imageRecord);
  HGLOBAL image = static_cast<HGLOBAL>(gw::pointerFromWire(u32(record + 8)));
  const auto* bytes = static_cast<const uint8_t*>(GlobalLock(image));
  if (!bytes) return false;
  frames->emplace_back(bytes, bytes + GlobalSize(image));
  GlobalUnlock(image);
  return true;
}

void setShift(bool down) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  keys[VK_LSHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

}  // namespace driving
