#include "ui/window_placement_win32.h"

namespace gw {

void centreWindow(HWND window) {
  RECT rc;
  if (!GetWindowRect(window, &rc)) return;
  int width = rc.right - rc.left;
  int height = rc.bottom - rc.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace gw
