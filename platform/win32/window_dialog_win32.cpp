#include "platform/win32/window_dialog_win32.h"

#include <vector>

namespace gw {

WindowId WindowDialog::window() const { return WindowId(reinterpret_cast<uintptr_t>(dialog_)); }

bool WindowDialog::hasControl(uint32_t id) const { return item(id) != nullptr; }

std::string WindowDialog::text(uint32_t id) const {
  HWND h = item(id);
  if (!h) return {};
  int length = GetWindowTextLengthA(h);
  std::vector<char> buf(size_t(length) + 1, 0);
  GetWindowTextA(h, buf.data(), length + 1);
  return std::string(buf.data());
}

void WindowDialog::setText(uint32_t id, const std::string& text) {
  SetDlgItemTextA(dialog_, int(id), text.c_str());
}

bool WindowDialog::checked(uint32_t id) const {
  return IsDlgButtonChecked(dialog_, int(id)) == BST_CHECKED;
}

void WindowDialog::setChecked(uint32_t id, bool on) {
  CheckDlgButton(dialog_, int(id), on ? BST_CHECKED : BST_UNCHECKED);
}

bool WindowDialog::isListBox(uint32_t id) const {
  char cls[32] = {};
  GetClassNameA(item(id), cls, sizeof cls);
  return lstrcmpiA(cls, "ListBox") == 0;
}

int WindowDialog::selection(uint32_t id) const {
  LRESULT r = SendDlgItemMessageA(dialog_, int(id), isListBox(id) ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
  return r < 0 ? -1 : int(r);
}

void WindowDialog::setSelection(uint32_t id, int index) {
  SendDlgItemMessageA(dialog_, int(id), isListBox(id) ? LB_SETCURSEL : CB_SETCURSEL, WPARAM(index), 0);
}

void WindowDialog::addItem(uint32_t id, const std::string& text) {
  SendDlgItemMessageA(dialog_, int(id), isListBox(id) ? LB_ADDSTRING : CB_ADDSTRING, 0,
                      reinterpret_cast<LPARAM>(text.c_str()));
}

int WindowDialog::itemCount(uint32_t id) const {
  LRESULT r = SendDlgItemMessageA(dialog_, int(id), isListBox(id) ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
  return r < 0 ? 0 : int(r);
}

void WindowDialog::setVisible(uint32_t id, bool visible) {
  if (HWND h = item(id)) ShowWindow(h, visible ? SW_SHOW : SW_HIDE);
}

bool WindowDialog::visible(uint32_t id) const {
  HWND h = item(id);
  return h && IsWindowVisible(h);
}

}  // namespace gw
