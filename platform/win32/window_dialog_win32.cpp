#include "platform/win32/window_dialog_win32.h"

#include <vector>

#include "platform/win32/window_handle_win32.h"

namespace gw {
namespace {
// Where a bound control keeps its kind; the bound variable is its user data.
const char kKindProperty[] = "GwControlKind";
}  // namespace

WindowId WindowDialog::window() const { return idFromHwnd(dialog_); }

bool WindowDialog::hasControl(uint32_t id) const { return item(id) != nullptr; }

namespace {
struct ChildWalk {
  HWND dialog;
  std::vector<uint32_t>* ids;
};
BOOL CALLBACK collectChild(HWND child, LPARAM data) {
  auto* walk = reinterpret_cast<ChildWalk*>(data);
  // Grandchildren (a combo box's edit and list) follow their control in the
  // walk; they are never bound, and their ids would name a direct child.
  if (GetParent(child) == walk->dialog) walk->ids->push_back(uint32_t(GetDlgCtrlID(child)));
  return TRUE;
}
}  // namespace

std::vector<uint32_t> WindowDialog::childIds() const {
  std::vector<uint32_t> ids;
  ChildWalk walk{dialog_, &ids};
  EnumChildWindows(dialog_, collectChild, reinterpret_cast<LPARAM>(&walk));
  return ids;
}

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

std::string WindowDialog::itemText(uint32_t id, int index) const {
  UINT lenMsg = isListBox(id) ? LB_GETTEXTLEN : CB_GETLBTEXTLEN;
  UINT getMsg = isListBox(id) ? LB_GETTEXT : CB_GETLBTEXT;
  LRESULT length = SendDlgItemMessageA(dialog_, int(id), lenMsg, WPARAM(index), 0);
  if (length < 0) return {};
  std::vector<char> buf(size_t(length) + 1, 0);
  SendDlgItemMessageA(dialog_, int(id), getMsg, WPARAM(index), reinterpret_cast<LPARAM>(buf.data()));
  return std::string(buf.data());
}

void WindowDialog::clearItems(uint32_t id) {
  SendDlgItemMessageA(dialog_, int(id), isListBox(id) ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
}

void WindowDialog::setEnabled(uint32_t id, bool enabled) {
  if (HWND h = item(id)) EnableWindow(h, enabled);
}

bool WindowDialog::enabled(uint32_t id) const {
  HWND h = item(id);
  return h && IsWindowEnabled(h);
}

bool WindowDialog::createControl(const DialogItem& t, int originX, int originY) {
  if (item(t.id)) return false;
  RECT r = {originX + t.rect.x, originY + t.rect.y, originX + t.rect.x + t.rect.cx,
            originY + t.rect.y + t.rect.cy};
  MapDialogRect(dialog_, &r);
  int height = r.bottom - r.top;
  if (lstrcmpiA(t.className.c_str(), "ComboBox") == 0) height += 200;  // room for the drop-down
  DWORD style = (t.style | WS_CHILD) & ~DWORD(WS_VISIBLE);
  HWND h = CreateWindowExA(t.exStyle, t.className.c_str(), t.text.c_str(), style, r.left, r.top,
                           r.right - r.left, height, dialog_, reinterpret_cast<HMENU>(uintptr_t(t.id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog_, GWLP_HINSTANCE)), nullptr);
  if (!h) return false;
  SendMessageA(h, WM_SETFONT, WPARAM(SendMessageA(dialog_, WM_GETFONT, 0, 0)), FALSE);
  return true;
}

void WindowDialog::setBinding(uint32_t id, uint8_t kind, void* variable) {
  HWND h = item(id);
  if (!h) return;
  SetPropA(h, kKindProperty, reinterpret_cast<HANDLE>(uintptr_t(kind)));
  SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(variable));
}

uint8_t WindowDialog::boundKind(uint32_t id) const {
  HWND h = item(id);
  return h ? uint8_t(reinterpret_cast<uintptr_t>(GetPropA(h, kKindProperty))) : 0;
}

void* WindowDialog::boundVariable(uint32_t id) const {
  HWND h = item(id);
  return h ? reinterpret_cast<void*>(GetWindowLongPtrA(h, GWLP_USERDATA)) : nullptr;
}

intptr_t WindowDialog::sendMessage(uint32_t id, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  HWND h = item(id);
  return h ? intptr_t(SendMessageA(h, message, WPARAM(wParam), LPARAM(lParam))) : 0;
}

}  // namespace gw
