#include "ui/dialog_event_win32.h"

namespace gw {

DialogEvent dialogEventOf(HWND control, UINT code, bool* known) {
  char cls[32] = {};
  GetClassNameA(control, cls, sizeof cls);
  if (lstrcmpiA(cls, "Edit") == 0) {
    *known = code == EN_CHANGE;
    return DialogEvent::kEdit;
  }
  if (lstrcmpiA(cls, "ComboBox") == 0) {
    *known = code == CBN_SELCHANGE || code == CBN_CLOSEUP;
    return code == CBN_CLOSEUP ? DialogEvent::kCloseUp : DialogEvent::kSelect;
  }
  if (lstrcmpiA(cls, "ListBox") == 0) {
    *known = code == LBN_SELCHANGE || code == LBN_DBLCLK;
    return code == LBN_DBLCLK ? DialogEvent::kDoubleClick : DialogEvent::kSelect;
  }
  *known = code == BN_CLICKED;
  return DialogEvent::kClick;
}

}  // namespace gw
