// Window handles as the core sees them: 32-bit ids (an HWND on the 32-bit
// plug-in; natively an in-memory dialog's id, or 0).
#pragma once
#include <cstdint>
namespace gw {
using WindowId = uint32_t;
// Repaints a window at once (UpdateWindow); natively nothing to do.
void updateWindow(WindowId window);
}  // namespace gw
