// The "Name" box with a real window.
#include <windows.h>

#include <vector>

#include "materials/texture_group.h"
#include "platform/module.h"
#include "platform/win32/window_handle_win32.h"
#include "resources/resource_ids.h"
#include "ui/name_prompt.h"
#include "ui/window_placement_win32.h"

namespace gw {
namespace {

struct NameState {
  const std::string* title;
  std::string* text;
};

INT_PTR CALLBACK nameProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      const auto* state = reinterpret_cast<const NameState*>(lParam);
      SetWindowTextA(dialog, state->title->c_str());
      SendDlgItemMessageA(dialog, IDC_NAME_TEXT, EM_LIMITTEXT, kTextureNameMax, 0);
      SetDlgItemTextA(dialog, IDC_NAME_TEXT, state->text->c_str());
      SendDlgItemMessageA(dialog, IDC_NAME_TEXT, EM_SETSEL, 0, -1);
      centreWindow(dialog);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDC_BUILD) {
        auto* state = reinterpret_cast<NameState*>(GetWindowLongPtrA(dialog, DWLP_USER));
        std::vector<char> buffer(kTextureNameMax + 1, 0);
        GetDlgItemTextA(dialog, IDC_NAME_TEXT, buffer.data(), int(buffer.size()));
        if (state) *state->text = buffer.data();
        EndDialog(dialog, IDC_BUILD);
        return TRUE;
      }
      if (id == IDC_CANCEL) {
        EndDialog(dialog, IDC_CANCEL);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

bool askForName(WindowId owner, const std::string& title, std::string* text) {
  NameState state{&title, text};
  INT_PTR r = DialogBoxParamA(static_cast<HINSTANCE>(moduleInstance()), MAKEINTRESOURCEA(IDD_NAME_BOX),
                              hwndFromId(owner), nameProc, reinterpret_cast<LPARAM>(&state));
  return r == IDC_BUILD;
}

}  // namespace gw
