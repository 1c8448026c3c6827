// The document file dialogs with real windows, and the hook every one of
// them installs.
#include <windows.h>

#include <commdlg.h>

#include <cstring>
#include <string>

#include "controls/control_views_win32.h"
#include "platform/win32/window_handle_win32.h"
#include "ui/file_dialog.h"
#include "ui/file_dialog_size.h"
#include "ui/message_box.h"

namespace gw {
namespace {

// Posted by the hook to itself once the dialog has its final layout.
constexpr UINT kPlaceMessage = 1224;
const char kOldProcProperty[] = "GwFileDialogProc";
const char kFilter[] = "GW5 files\0*.GW5\0All files\0*.*\0";

// The explorer dialog draws its own children, so the soft buttons' owner
// drawing is taken over on its window procedure.
LRESULT CALLBACK softOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto old = reinterpret_cast<WNDPROC>(GetPropA(window, kOldProcProperty));
  if (message == WM_DRAWITEM && drawControlItem(window, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
    return TRUE;
  if (message == WM_NCDESTROY && old) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    RemovePropA(window, kOldProcProperty);
  }
  return old ? CallWindowProcA(old, window, message, wParam, lParam) : 0;
}

void softenButtons(HWND fileDialog) {
  LONG_PTR old = SetWindowLongPtrA(fileDialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(softOwnerProc));
  SetPropA(fileDialog, kOldProcProperty, reinterpret_cast<HANDLE>(old));
  for (int id : {IDOK, IDCANCEL})
    if (HWND button = GetDlgItem(fileDialog, id)) makeSoftButton(button);
}

void place(HWND fileDialog) {
  RECT rc;
  if (!GetWindowRect(fileDialog, &rc)) return;
  WindowBox box = fileDialogPlacement(rc.right - rc.left, rc.bottom - rc.top, GetSystemMetrics(SM_CXSCREEN),
                                      GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(fileDialog, nullptr, box.x, box.y, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void remember(HWND fileDialog) {
  RECT rc;
  if (GetWindowRect(fileDialog, &rc)) rememberFileDialogSize({rc.right - rc.left, rc.bottom - rc.top});
}

// With OFN_EXPLORER the hook runs a child dialog of the file dialog.
UINT_PTR CALLBACK fileDialogHook(HWND hook, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      if (softButtons()) softenButtons(GetParent(hook));
      PostMessageA(hook, kPlaceMessage, 0, 0);
      return TRUE;
    case kPlaceMessage:
      place(GetParent(hook));
      return TRUE;
    case WM_DESTROY:
      remember(GetParent(hook));
      return FALSE;
    default:
      return FALSE;
  }
}

OPENFILENAMEA documentDialog(HWND owner, char* path, DWORD flags) {
  OPENFILENAMEA ofn;
  std::memset(&ofn, 0, sizeof ofn);
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path;
  ofn.nMaxFile = DWORD(kFileNameBufferSize);
  ofn.lpstrDefExt = "GW5";
  ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  ofn.lpfnHook = fileDialogHook;
  return ofn;
}

}  // namespace

bool chooseDocumentToOpen(WindowId owner, char (&path)[kFileNameBufferSize]) {
  // Starts in the current document's folder, with no name chosen yet.
  path[kFileNameBufferSize - 1] = '\0';
  std::string folder = path;
  size_t slash = folder.find_last_of("\\/");
  folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
  char chosen[kFileNameBufferSize] = {};
  OPENFILENAMEA ofn = documentDialog(hwndFromId(owner), chosen,
                                     OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  if (!GetOpenFileNameA(&ofn)) return false;
  std::memcpy(path, chosen, kFileNameBufferSize);
  return true;
}

bool chooseDocumentToSave(WindowId owner, char (&path)[kFileNameBufferSize]) {
  path[kFileNameBufferSize - 1] = '\0';
  char chosen[kFileNameBufferSize] = {};
  std::memcpy(chosen, path, kFileNameBufferSize);
  OPENFILENAMEA ofn = documentDialog(hwndFromId(owner), chosen, OFN_OVERWRITEPROMPT);
  if (!GetSaveFileNameA(&ofn)) return false;
  std::memcpy(path, chosen, kFileNameBufferSize);
  return true;
}

}  // namespace gw
