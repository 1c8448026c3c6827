// The main dialog's window procedure: one small function per message, the
// duties themselves in main_dialog.cpp.
#include <windows.h>

#include <memory>

#include "host/main_dialog.h"
#include "platform/module.h"
#include "platform/win32/window_dialog_win32.h"
#include "resources/resource_ids.h"

namespace gw {
namespace {

WindowDialog* facadeOf(HWND dialog) {
  return reinterpret_cast<WindowDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR onInitDialog(HWND dialog, LPARAM params) {
  auto* facade = new WindowDialog(dialog);
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(facade));
  mainDialogInit(*facade, reinterpret_cast<const uint8_t*>(params), GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN));
  return TRUE;
}

INT_PTR onCommand(HWND dialog, WPARAM wParam) {
  WindowDialog* facade = facadeOf(dialog);
  if (!facade) return FALSE;
  int endWith = 0;
  if (mainDialogCommand(*facade, LOWORD(wParam), &endWith)) EndDialog(dialog, endWith);
  return TRUE;
}

void onDestroy(HWND dialog) {
  delete facadeOf(dialog);
  SetWindowLongPtrA(dialog, DWLP_USER, 0);
}

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return onInitDialog(dialog, lParam);
    case WM_COMMAND: return onCommand(dialog, wParam);
    case WM_DESTROY: onDestroy(dialog); return FALSE;
    default: return FALSE;
  }
}

}  // namespace

void setMainDialogDriver(MainDialogDriver) {}

int runMainDialog(WindowId owner, const uint8_t* params) {
  INT_PTR r = DialogBoxParamA(static_cast<HINSTANCE>(moduleInstance()), MAKEINTRESOURCEA(IDD_MAIN),
                              reinterpret_cast<HWND>(uintptr_t(owner)), mainDialogProc,
                              reinterpret_cast<LPARAM>(params));
  return r > 0 ? int(r) : 0;
}

}  // namespace gw
