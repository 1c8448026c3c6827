// The plug-in's own message boxes with real windows. They live with the DLL's
// views because soft buttons are drawn by the control views.
#include <windows.h>

#include <string>

#include "controls/control_views_win32.h"
#include "platform/message_dialog.h"
#include "platform/module.h"
#include "platform/win32/window_handle_win32.h"
#include "ui/window_placement_win32.h"

namespace gw {
namespace {

constexpr int kTextControl = 101;

struct MessageState {
  const std::string* text;
  bool softButtons;
};

INT_PTR onInit(HWND dialog, const MessageState& state) {
  SetDlgItemTextA(dialog, kTextControl, state.text->c_str());
  if (state.softButtons) attachControlViews(dialog, true);
  centreWindow(dialog);
  return TRUE;
}

INT_PTR CALLBACK messageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return onInit(dialog, *reinterpret_cast<const MessageState*>(lParam));
    case WM_DRAWITEM:
      return drawControlItem(dialog, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      // Only the box's own buttons end it; Escape arrives as Cancel (2).
      if (id == IDOK || id == IDCANCEL || id == IDYES || id == IDNO) {
        EndDialog(dialog, id);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

int runMessageDialog(WindowId owner, const std::string& templateName, const std::string& text,
                     bool softButtons) {
  MessageState state{&text, softButtons};
  HWND ownerWindow = hwndFromId(owner);
  INT_PTR result = DialogBoxParamA(static_cast<HINSTANCE>(moduleInstance()), templateName.c_str(),
                                   ownerWindow, messageProc, reinterpret_cast<LPARAM>(&state));
  if (ownerWindow) {
    InvalidateRect(ownerWindow, nullptr, TRUE);
    UpdateWindow(ownerWindow);
  }
  return result > 0 ? int(result) : 0;
}

void setMessageResponder(MessageResponder) {}

}  // namespace gw
