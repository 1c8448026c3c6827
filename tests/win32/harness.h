// A small test harness for the plug-in DLL, run under wine.
//
// It loads glwplug5.dll the way a host editor does, answers the host callback
// (logging every call), and drives the plug-in's modal dialogs from a second
// thread: wait for a dialog, read a control, press a button, save a picture.
//
//   GW_TEST(SomeCase) {
//     Plugin plugin;
//     DialogScript script([](Driver& d) { HWND w = d.waitFor("Message"); d.press(w, 1); });
//     CHECK_EQ(plugin.doBuild(0x0FFF), 0);
//   }
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace harness {

// ---- tests -----------------------------------------------------------------
struct TestCase {
  const char* name;
  void (*body)();
};
std::vector<TestCase>& registry();
struct Registrar {
  Registrar(const char* name, void (*body)()) { registry().push_back({name, body}); }
};
void reportFailure(const char* file, int line, const std::string& what);

#define GW_TEST(name)                                          \
  static void name();                                          \
  static harness::Registrar name##_registrar(#name, &name);    \
  static void name()

#define CHECK(cond)                                                          \
  do {                                                                       \
    if (!(cond)) harness::reportFailure(__FILE__, __LINE__, "CHECK(" #cond ")"); \
  } while (0)
#define CHECK_EQ(a, b)                                                                         \
  do {                                                                                         \
    auto va_ = (a);                                                                            \
    auto vb_ = (b);                                                                            \
    if (!(va_ == vb_))                                                                         \
      harness::reportFailure(__FILE__, __LINE__,                                               \
                             std::string("CHECK_EQ(" #a ", " #b "): ") + harness::show(va_) + \
                                 " != " + harness::show(vb_));                                 \
  } while (0)

inline std::string show(const std::string& s) { return "\"" + s + "\""; }
inline std::string show(const char* s) { return show(std::string(s ? s : "(null)")); }
template <typename T>
std::string show(T v) {
  return std::to_string(v);
}

// ---- the host side -----------------------------------------------------------
struct CallbackCall {
  int32_t code;
  int32_t a;
  std::string text;  // the zero-terminated text of codes 3, 9, 10, 17
};

// Loads the DLL and plays host. Callback answers can be set per code.
class Plugin {
 public:
  Plugin();
  ~Plugin();
  bool loaded() const { return module_ != nullptr; }

  int getPluginParams(uint8_t* info);
  // Builds a HostParams record with this version and flags and runs the plug-in.
  int doBuild(uint16_t hostVersion, uint8_t hostFlags = 0);

  std::vector<CallbackCall> calls;
  std::function<int32_t(void* task, int32_t code, int32_t a, void* p)> answer;

 private:
  static int32_t __cdecl callback(void* task, int32_t code, int32_t a, void* p);
  HMODULE module_ = nullptr;
  int(__stdcall* getParams_)(void*, void*) = nullptr;
  int(__stdcall* doBuild_)(HWND, void*, void*) = nullptr;
};

// The answer of a host that wants soft buttons: for code 17 asking for
// "SoftButtons", a SettingValue holding the integer 1; else 0.
int32_t answerSoftButtons(int32_t code, void* p);

// ---- driving dialogs -------------------------------------------------------------
class Driver {
 public:
  // The first visible dialog of this process with this title; nullptr on time-out.
  HWND waitFor(const char* title, int timeoutMs = 10000);
  // Waits until the window is gone.
  bool waitGone(HWND window, int timeoutMs = 10000);
  std::string text(HWND dialog, int id);
  // A click on the button, as the user would give it.
  void press(HWND dialog, int id);
  // Saves the window's picture as a 24-bit BMP; with `clientOnly` without its
  // frame (which no window manager draws under a bare X server).
  bool screenshot(HWND window, const std::string& path, bool clientOnly = false);
};

// Runs `script` on its own thread while the test's thread is inside the
// plug-in's modal loop; joins on destruction.
class DialogScript {
 public:
  explicit DialogScript(std::function<void(Driver&)> script);
  ~DialogScript();

 private:
  static DWORD WINAPI threadMain(LPVOID self);
  std::function<void(Driver&)> script_;
  HANDLE thread_ = nullptr;
};

// ---- the main dialog and its material buttons --------------------------------------
// Selects effect `index` in the main dialog's list, as a closed drop-down does.
void selectEffect(HWND dialog, int index);
// The visible pop-up menu of this desktop; nullptr on time-out.
HWND waitForMenu(int timeoutMs);
// A key pressed and let go in `window`.
void pressKey(HWND window, WPARAM vk);
// Picks `kind` (0 Simple, 1 Gradient, 2 Texture, 3 Tile) from the material
// button's kind menu with the keyboard; false when the menu never showed.
bool chooseMaterialKind(HWND button, int kind);
// A click on the button's main zone, which opens the editor of its kind
// (posted: the editor runs modally inside the plug-in's thread).
void clickMainZone(HWND button);
// The file the material button `id` keeps its record in.
std::string materialFile(int id);
// Selects the list box's item with exactly this text and tells the dialog, as
// a click does; false when no item has it.
bool selectListItem(HWND dialog, int id, const char* text);

// Paths and environment of the run.
std::string exeFolder();
std::string readFile(const std::string& path);
std::string tempPath(const std::string& name);

}  // namespace harness
