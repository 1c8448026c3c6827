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
// How long a script waits for a window to come or go. A dialog appears in
// well under a second on an idle machine, but a shared machine under load
// (wine starting, builds beside it) can take many times that.
constexpr int kWindowWaitMs = 60000;

class Driver {
 public:
  // The first visible dialog of this process with this title; nullptr on time-out.
  HWND waitFor(const char* title, int timeoutMs = kWindowWaitMs);
  // Waits until the window is gone.
  bool waitGone(HWND window, int timeoutMs = kWindowWaitMs);
  std::string text(HWND dialog, int id);
  // A click on the button, as the user would give it.
  void press(HWND dialog, int id);
  // Saves the picture of the window's client area as a 24-bit BMP.
  bool screenshot(HWND window, const std::string& path);
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
// A key pressed and let go in the window (a menu takes its arrows and Enter).
void pressKey(HWND window, WPARAM vk);
// Picks `kind` (0 Simple, 1 Gradient, 2 Texture, 3 Tile) from the material
// button's kind menu with the keyboard; false when the menu never showed.
bool chooseMaterialKind(HWND button, int kind);
// A click on the button's main zone, which opens the editor of its kind
// (posted: the editor runs modally inside the plug-in's thread).
void clickMainZone(HWND button);
// Selects the list box's item with exactly this text and tells the dialog, as
// a click does; false when no item has it.
bool selectListItem(HWND dialog, int id, const char* text);

// Paths and environment of the run.
std::string exeFolder();
std::string readFile(const std::string& path);
std::string tempPath(const std::string& name);
// A file in the plug-in's per-user folder ("Quillmere\\Glyphwright 5"
// under the application data), e.g. the material file of button 100.
std::string pluginFile(const std::string& name);
std::string materialFile(int controlId);

// ---- the main dialog, its menus and its builds ----------------------------------
uint32_t u32(const uint8_t* p);
// Picks an effect as the user does: the list's selection, then its close-up.
void selectEffect(HWND dialog, int index);
// The visible pop-up menu of this process; nullptr on time-out.
HWND waitForMenu(int timeoutMs = kWindowWaitMs);
// Opens a pop-up menu by posting `message` to `window` and picks its item
// `item` (0 first) from the keyboard. False when no menu appeared.
bool pickFromMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int item);
// Holds or lets go of Shift for this thread's view of the keyboard.
void setShift(bool down);
// The colour on screen at a point of the window's client area, after it repainted.
COLORREF screenColour(HWND window, int x, int y);

// A 24-bit packed DIB, as frames are handed over, read pixel by pixel.
struct DibPixels {
  explicit DibPixels(const std::vector<uint8_t>& dib);
  bool valid() const { return pixels_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Colour 0x00BBGGRR of the pixel in row y counted from the bottom, as stored.
  uint32_t at(int x, int y) const;

 private:
  const uint8_t* pixels_ = nullptr;
  int width_ = 0, height_ = 0;
  size_t stride_ = 0;
};

}  // namespace harness
