// Window placement helpers shared by the plug-in's own dialogs (Win32 only).
#pragma once
#include <windows.h>
namespace gw {
// Moves the window, keeping its size, so that it is centred on the screen;
// the offsets are truncated toward zero.
void centreWindow(HWND window);
}  // namespace gw
