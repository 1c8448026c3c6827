// Window handles and the 32-bit WindowId the records carry. A window handle
// has 32 significant bits on 64-bit Windows too; widening sign-extends it,
// as Windows does between its 32- and 64-bit programs.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/window.h"

namespace gw {

inline HWND hwndFromId(WindowId id) {
  return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(id)));
}
inline WindowId idFromHwnd(HWND window) {
  return static_cast<WindowId>(reinterpret_cast<uintptr_t>(window));
}

}  // namespace gw
