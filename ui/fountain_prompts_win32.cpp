// The fountain button's pop-up menus and its "Marker Position" dialog.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include "controls/control_views_win32.h"
#include "controls/spin_field.h"
#include "platform/module.h"
#include "platform/win32/window_handle_win32.h"
#include "ui/fountain_prompts.h"
#include "ui/message_box.h"
#include "ui/window_placement_win32.h"

namespace gw {
namespace {

constexpr int kPositionField = 101;
constexpr int kPositionSpin = 10101;

INT_PTR CALLBACK positionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SendDlgItemMessageA(dialog, kPositionSpin, UDM_SETRANGE32, 1, 255);
      SendDlgItemMessageA(dialog, kPositionSpin, UDM_SETPOS32, 0, lParam);
      SetDlgItemInt(dialog, kPositionField, UINT(lParam), FALSE);
      if (softButtons()) attachControlViews(dialog, true);
      centreWindow(dialog);
      return TRUE;
    }
    case WM_DRAWITEM:
      return drawControlItem(dialog, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        char text[32] = {};
        GetDlgItemTextA(dialog, kPositionField, text, sizeof text);
        int64_t value = 0;
        // The field takes 1 to 255; anything else keeps the dialog open.
        if (!readEditNumber(text, false, &value) || value < 1 || value > 255) {
          MessageBeep(MB_ICONEXCLAMATION);
          SetFocus(GetDlgItem(dialog, kPositionField));
          return TRUE;
        }
        EndDialog(dialog, INT_PTR(value));
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int chooseMenuItem(WindowId owner, const std::vector<std::string>& items, int x, int y) {
  HWND window = hwndFromId(owner);
  HMENU menu = CreatePopupMenu();
  if (!menu) return -1;
  for (size_t i = 0; i < items.size(); ++i) AppendMenuA(menu, MF_STRING, UINT_PTR(i + 1), items[i].c_str());
  POINT at = {x, y};
  ClientToScreen(window, &at);
  const int chosen = int(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                        at.x, at.y, 0, window, nullptr));
  DestroyMenu(menu);
  return chosen > 0 ? chosen - 1 : -1;
}

int askMarkerPosition(WindowId owner, int position) {
  const INT_PTR result = DialogBoxParamA(static_cast<HINSTANCE>(moduleInstance()), "MarkerPosition",
                                         hwndFromId(owner), positionProc, LPARAM(position));
  return result >= 1 && result <= 255 ? int(result) : 0;
}

namespace testing {
void setMenuResponder(std::function<int(const std::vector<std::string>&)>) {}
void setMarkerPositionResponder(std::function<int(int)>) {}
}  // namespace testing

}  // namespace gw
