#include <windows.h>

#include "platform/interface_fonts.h"
#include "platform/win32/window_handle_win32.h"
#include "platform/window.h"

namespace gw {
namespace {
HFONT g_fonts[3] = {};  // process-wide for the run, as every dialog shares them

HFONT makeFont(int height, const char* face) {
  return CreateFontA(height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, face);
}
}  // namespace

void updateWindow(WindowId window) {
  if (window) UpdateWindow(hwndFromId(window));
}

void createInterfaceFonts() {
  g_fonts[0] = makeFont(14, "Arial");
  g_fonts[1] = makeFont(14, "MS Sans Serif");
  g_fonts[2] = makeFont(12, "Arial");
}

void deleteInterfaceFonts() {
  for (HFONT& f : g_fonts) {
    if (f) DeleteObject(f);
    f = nullptr;
  }
}

void* interfaceFont(InterfaceFont which) { return g_fonts[int(which)]; }
bool interfaceFontsLive() { return g_fonts[0] != nullptr; }
}  // namespace gw
