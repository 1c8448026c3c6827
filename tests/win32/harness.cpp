#include "tests/win32/harness.h"

#include <cstdio>
#include <cstring>

#include "platform/wire_pointer.h"
#include "tests/win32/simple_page.h"
#if defined(_WIN64)
#include "platform/win32/wire_pointer_win32.h"

// The 64-bit test build: the plug-in resolves the ids this host writes into
// its records through this host's registry.
extern "C" __declspec(dllexport) const gw::WireRegistryOps* gwWireRegistry() {
  return gw::moduleWireRegistry();
}
#endif

namespace harness {
namespace {
int g_failures = 0;
const char* g_current = "";
Plugin* g_plugin = nullptr;  // the one plugin a test has loaded; the callback has no user data

void writeU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

struct FindState {
  const char* title;
  HWND found;
};

BOOL CALLBACK findDialog(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<FindState*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  if (std::strcmp(title, state->title) == 0) {
    state->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

std::vector<TestCase>& registry() {
  static std::vector<TestCase> tests;
  return tests;
}

void reportFailure(const char* file, int line, const std::string& what) {
  ++g_failures;
  std::printf("  FAILED %s at %s:%d: %s\n", g_current, file, line, what.c_str());
  std::fflush(stdout);
}

std::string exeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p = path;
  return p.substr(0, p.find_last_of("\\/") + 1);
}

std::string readFile(const std::string& path) {
  std::string out;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
  }
  return out;
}

std::string tempPath(const std::string& name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

std::string pluginFile(const std::string& name) {
  char appData[MAX_PATH] = {};
  GetEnvironmentVariableA("APPDATA", appData, MAX_PATH);
  return std::string(appData) + "\\Quillmere\\Glyphwright 5\\" + name;
}

std::string materialFile(int controlId) {
  char name[32];
  std::snprintf(name, sizeof name, "Material%05d.mtrl", controlId);
  return pluginFile(name);
}

uint32_t u32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

void selectEffect(HWND dialog, int index) {
  constexpr int kEffectList = 58;
  HWND list = GetDlgItem(dialog, kEffectList);
  SendMessageA(list, CB_SETCURSEL, WPARAM(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kEffectList, CBN_CLOSEUP), LPARAM(list));
}

HWND waitForMenu(int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 50) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu)) return menu;
    Sleep(50);
  }
  return nullptr;
}

bool pickFromMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int item) {
  PostMessageA(window, message, wParam, lParam);
  HWND menu = waitForMenu();
  if (!menu) return false;
  // The first Down highlights the first item.
  for (int i = 0; i <= item; ++i) pressKey(menu, VK_DOWN);
  pressKey(menu, VK_RETURN);
  for (int waited = 0; waited < kWindowWaitMs && IsWindowVisible(menu); waited += 50) Sleep(50);
  return true;
}

void setShift(bool down) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  keys[VK_LSHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

COLORREF screenColour(HWND window, int x, int y) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Sleep(200);
  POINT at = {x, y};
  ClientToScreen(window, &at);
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return c;
}

DibPixels::DibPixels(const std::vector<uint8_t>& dib) {
  if (dib.size() < 40) return;
  const int32_t w = int32_t(u32(dib.data() + 4)), h = int32_t(u32(dib.data() + 8));
  const int bits = dib[14] | (dib[15] << 8);
  if (bits != 24 || w <= 0 || h <= 0 || w > 65536 || h > 65536) return;
  const size_t stride = ((size_t(w) * 24 + 31) / 32) * 4;
  const size_t offset = u32(dib.data());
  if (offset > dib.size() || dib.size() - offset < stride * size_t(h)) return;
  pixels_ = dib.data() + offset;
  width_ = w;
  height_ = h;
  stride_ = stride;
}

uint32_t DibPixels::at(int x, int y) const {
  if (!pixels_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFFu;
  const uint8_t* p = pixels_ + size_t(y) * stride_ + size_t(x) * 3;
  return p[2] | (p[1] << 8) | (uint32_t(p[0]) << 16);
}

Plugin::Plugin() {
  module_ = LoadLibraryA((exeFolder() + "glwplug5.dll").c_str());
  if (!module_) return;
  getParams_ = reinterpret_cast<int(__stdcall*)(void*, void*)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "PLUGIN16GetPluginParams")));
  doBuild_ = reinterpret_cast<int(__stdcall*)(HWND, void*, void*)>(
      reinterpret_cast<void*>(GetProcAddress(module_, "PLUGIN16DoBuild")));
  g_plugin = this;
}

Plugin::~Plugin() {
  g_plugin = nullptr;
  if (module_) FreeLibrary(module_);
}

int Plugin::getPluginParams(uint8_t* info) { return getParams_ ? getParams_(info, nullptr) : -1; }

int Plugin::doBuild(uint16_t hostVersion, uint8_t hostFlags) {
  if (!doBuild_) return -1;
  uint8_t params[64] = {};
  params[4] = uint8_t(hostVersion);
  params[5] = uint8_t(hostVersion >> 8);
  writeU32(params + 12, gw::wireFromPointer(reinterpret_cast<void*>(&Plugin::callback)));
  params[24] = hostFlags;
  return doBuild_(nullptr, params, nullptr);
}

int32_t __cdecl Plugin::callback(void* task, int32_t code, int32_t a, void* p) {
  if (!g_plugin) return 0;
  CallbackCall call{code, a, {}};
  if ((code == 3 || code == 9 || code == 10 || code == 17) && p) call.text = static_cast<const char*>(p);
  g_plugin->calls.push_back(call);
  return g_plugin->answer ? g_plugin->answer(task, code, a, p) : 0;
}

int32_t answerSoftButtons(int32_t code, void* p) {
  // The host's SettingValue: a pointer to the integer at offset 4, flags at 8.
  static int32_t softValue = 1;
  static uint8_t setting[12] = {};
  writeU32(setting + 4, gw::wireFromPointer(&softValue));
  setting[8] = 4;  // an integer
  if (code == 17 && p && std::strcmp(static_cast<const char*>(p), "SoftButtons") == 0)
    return int32_t(gw::wireFromPointer(setting));
  return 0;
}

HWND Driver::waitFor(const char* title, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 20) {
    FindState state{title, nullptr};
    EnumWindows(findDialog, reinterpret_cast<LPARAM>(&state));
    if (state.found) return state.found;
    Sleep(20);
  }
  return nullptr;
}

bool Driver::waitGone(HWND window, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 20) {
    if (!IsWindow(window)) return true;
    Sleep(20);
  }
  return false;
}

std::string Driver::text(HWND dialog, int id) {
  char buf[1024] = {};
  HWND item = GetDlgItem(dialog, id);
  if (!item) return "(no control)";
  SendMessageA(item, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  return buf;
}

void Driver::press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool Driver::screenshot(HWND window, const std::string& path) {
  // A window that has just appeared may not have painted yet.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  Sleep(300);
  // The client area only: without a window manager (Xvfb) nobody draws the
  // frame and caption, and the picture would carry black bars or whatever
  // lies behind them.
  RECT rc;
  if (!GetClientRect(window, &rc)) return false;
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  OffsetRect(&rc, origin.x, origin.y);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
  GdiFlush();
  bool ok = false;
  int stride = ((w * 24 + 31) / 32) * 4;
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    uint8_t header[54] = {'B', 'M'};
    writeU32(header + 2, uint32_t(54 + stride * h));
    writeU32(header + 10, 54);
    std::memcpy(header + 14, &bi.bmiHeader, 40);
    ok = std::fwrite(header, 1, 54, f) == 54 &&
         std::fwrite(bits, 1, size_t(stride) * h, f) == size_t(stride) * h;
    std::fclose(f);
  }
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

void pressKey(HWND window, WPARAM vk) {
  PostMessageA(window, WM_KEYDOWN, vk, 1);
  PostMessageA(window, WM_KEYUP, vk, 0xC0000001);
  Sleep(100);
}

void simple_page::showInTrueColour(HWND mainDialog) {
  selectEffect(mainDialog, simple_page::kEffectIndex);
  CheckDlgButton(mainDialog, IDC_TRUE_COLOUR, BST_CHECKED);
  SendMessageA(mainDialog, WM_COMMAND, MAKEWPARAM(IDC_TRUE_COLOUR, BN_CLICKED),
               LPARAM(GetDlgItem(mainDialog, IDC_TRUE_COLOUR)));
}

bool chooseMaterialKind(HWND button, int kind) {
  return pickFromMenu(button, simple_page::kKindMenu, 0, 0, kind);
}

void clickMainZone(HWND button) {
  PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 6));
  PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
}

bool selectListItem(HWND dialog, int id, const char* text) {
  HWND list = GetDlgItem(dialog, id);
  const LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text));
  if (index == LB_ERR) return false;
  SendMessageA(list, LB_SETCURSEL, WPARAM(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), LPARAM(list));
  return true;
}

DialogScript::DialogScript(std::function<void(Driver&)> script) : script_(std::move(script)) {
  thread_ = CreateThread(nullptr, 0, threadMain, this, 0, nullptr);
}

DialogScript::~DialogScript() {
  if (thread_) {
    // A script still running after the plug-in returned is waiting for a
    // window that will not come; its own waits end it.
    WaitForSingleObject(thread_, DWORD(2 * kWindowWaitMs));
    CloseHandle(thread_);
  }
}

DWORD WINAPI DialogScript::threadMain(LPVOID self) {
  Driver driver;
  static_cast<DialogScript*>(self)->script_(driver);
  return 0;
}

}  // namespace harness

int main(int argc, char** argv) {
  const char* only = argc > 1 ? argv[1] : nullptr;
  int passed = 0, failed = 0;
  for (const harness::TestCase& t : harness::registry()) {
    if (only && std::strstr(t.name, only) == nullptr) continue;
    harness::g_current = t.name;
    int before = harness::g_failures;
    std::printf("[ RUN  ] %s\n", t.name);
    std::fflush(stdout);
    t.body();
    bool ok = harness::g_failures == before;
    std::printf("[ %s ] %s\n", ok ? " OK " : "FAIL", t.name);
    std::fflush(stdout);
    (ok ? passed : failed)++;
  }
  std::printf("win32: %d passed, %d failed\n", passed, failed);
  return failed ? 1 : 0;
}
