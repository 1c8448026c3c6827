// The animation selector's window: the page's placeholder control is
// subclassed; its messages go to the portable model, and it paints the first
// frame above the path strip and the "Select..." button.
#include <windows.h>

#include "controls/animation_selector.h"
#include "controls/animation_selector_view.h"
#include "controls/control_views_win32.h"
#include "platform/bitmap.h"
#include "platform/interface_fonts.h"
#include "platform/win32/window_dialog_win32.h"

namespace gw {
namespace {

const char kOldProcedure[] = "GwAnimationSelectorProc";
constexpr int kButtonHeight = 23;  // the "Select..." button across the bottom
constexpr int kStripTop = 43;      // the path strip runs from 43 to 23 pixels above the bottom
constexpr COLORREF kPathColour = 21;

MemHandle stateOf(HWND h) { return MemHandle(GetWindowLongPtrA(h, GWLP_USERDATA)); }

void eraseBackground(HWND h, HDC dc) {
  RECT r;
  GetClientRect(h, &r);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
}

// Frame 0, converted to true colour, centred in the area and clipped to it.
void paintPicture(HWND h, HDC dc, const RECT& area) {
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  MemBlock frame(animationSelectorFrame(stateOf(h), 0, nullptr));
  if (!frame) return;
  MemLock lock(frame.get());
  BitmapView view = BitmapView::of(lock);
  if (!view.valid()) return;
  const int x = area.left + (area.right - area.left - view.width()) / 2;
  const int y = area.top + (area.bottom - area.top - view.height()) / 2;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  SetDIBitsToDevice(dc, x, y, DWORD(view.width()), DWORD(view.height()), 0, 0, 0, UINT(view.height()),
                    view.pixelData(), reinterpret_cast<const BITMAPINFO*>(lock.data()), DIB_RGB_COLORS);
  RestoreDC(dc, saved);
}

void paintPath(HWND h, HDC dc, const RECT& client) {
  RECT strip = {client.left + 1, client.bottom - kStripTop + 1, client.right - 1, client.bottom - kButtonHeight - 1};
  if (strip.bottom <= strip.top) return;
  FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
  FrameRect(dc, &strip, GetSysColorBrush(COLOR_BTNSHADOW));
  RECT text = {strip.left + 3, strip.top + 1, strip.right - 3, strip.bottom - 1};
  std::string path = animationSelectorPath(stateOf(h));
  HGDIOBJ font = interfaceFont(InterfaceFont::kArial12);
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kPathColour);
  // DT_MODIFYSTRING is not given: the ellipsis is drawn, the path kept.
  DrawTextA(dc, path.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_NOPREFIX);
  if (old) SelectObject(dc, old);
}

void paint(HWND h) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT client;
  GetClientRect(h, &client);
  RECT picture = {client.left + 1, client.top + 1, client.right - 1, client.bottom - kStripTop};
  if (picture.bottom > picture.top) paintPicture(h, dc, picture);
  paintPath(h, dc, client);
  EndPaint(h, &ps);
}

void addSelectButton(HWND h) {
  RECT client;
  GetClientRect(h, &client);
  HWND button = CreateWindowExA(0, "Button", "Select...", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                client.bottom - kButtonHeight, client.right, kButtonHeight, h,
                                reinterpret_cast<HMENU>(uintptr_t(kSelectButtonId)),
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(h, GWLP_HINSTANCE)), nullptr);
  if (button) SendMessageA(button, WM_SETFONT, WPARAM(SendMessageA(h, WM_GETFONT, 0, 0)), FALSE);
}

LRESULT CALLBACK selectorProcedure(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  auto old = reinterpret_cast<WNDPROC>(GetPropA(h, kOldProcedure));
  switch (message) {
    case WM_ERASEBKGND:
      eraseBackground(h, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT:
      paint(h);
      return 0;
    case WM_DRAWITEM:  // the "Select..." button when it is a soft one
      return drawControlItem(h, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return 0;  // the picture is not a button
    default:
      break;
  }
  MemHandle state = stateOf(h);
  intptr_t result = 0;
  bool selected = false;
  const auto id = uint32_t(GetDlgCtrlID(h));
  const bool mine = animationSelectorMessage(&state, WindowId(uintptr_t(h)), id, message, wParam, lParam,
                                             &result, &selected);
  SetWindowLongPtrA(h, GWLP_USERDATA, LONG_PTR(state));
  if (message == WM_DESTROY) {
    RemovePropA(h, kOldProcedure);
    SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    return old ? CallWindowProcA(old, h, message, wParam, lParam) : 0;
  }
  if (!mine) return old ? CallWindowProcA(old, h, message, wParam, lParam) : DefWindowProcA(h, message, wParam, lParam);
  if (message == kMsgAnimationSelector && wParam == 0 && result && !GetDlgItem(h, int(kSelectButtonId)))
    addSelectButton(h);
  if (message == kMsgAnimationSelector || message == kMsgReadDocument || selected) InvalidateRect(h, nullptr, TRUE);
  if (selected)
    SendMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(h));
  return result;
}

}  // namespace

bool attachAnimationSelector(DialogFacade& dialog, uint32_t id) {
  auto* windows = dynamic_cast<WindowDialog*>(&dialog);
  if (!windows) return false;
  HWND h = GetDlgItem(windows->hwnd(), int(id));
  if (!h) return false;
  if (GetPropA(h, kOldProcedure)) return true;  // already a selector
  SetWindowLongPtrA(h, GWLP_USERDATA, 0);
  LONG_PTR old = SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&selectorProcedure));
  if (!old) return false;
  SetPropA(h, kOldProcedure, reinterpret_cast<HANDLE>(old));
  return true;
}

}  // namespace gw
