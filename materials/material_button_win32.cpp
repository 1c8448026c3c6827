// The material button's window: the page's owner-drawn placeholder button is
// subclassed; its messages go to the portable model (material_button.cpp),
// and it paints the preview with the caption over it and the drop-down arrow
// beside it. The window's user data is the record's handle.
#include <windows.h>

#include "controls/control_kind.h"
#include "materials/material_button.h"
#include "materials/material_fill.h"
#include "materials/material_record.h"
#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "platform/interface_fonts.h"
#include "platform/win32/window_dialog_win32.h"
#include "platform/win32/window_handle_win32.h"

namespace gw {
namespace {

const char kOldProcedure[] = "GwMaterialButtonProc";
// The record the button made itself (see MaterialButtonRecords).
const char kOwnedRecord[] = "GwMaterialButtonRecord";

MemHandle recordOf(HWND h) { return MemHandle(GetWindowLongPtrA(h, GWLP_USERDATA)); }

MaterialButtonFrame frameOf(HWND h) {
  RECT client = {};
  GetClientRect(h, &client);
  MaterialButtonFrame frame;
  frame.id = uint32_t(GetDlgCtrlID(h));
  frame.owner = idFromHwnd(GetParent(h));
  frame.previewWidth = client.right - client.left - kMaterialArrowWidth;
  frame.previewHeight = client.bottom - client.top;
  return frame;
}

void drawPreview(HDC dc, const RECT& zone, const uint8_t* rec) {
  FillRect(dc, &zone, GetSysColorBrush(COLOR_BTNFACE));
  MemLock lock(readU32(rec + material::kPreviewImage));
  BitmapView view = BitmapView::of(lock);
  if (!view.valid()) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, zone.left, zone.top, zone.right, zone.bottom);
  SetDIBitsToDevice(dc, zone.left, zone.top, DWORD(view.width()), DWORD(view.height()), 0, 0, 0,
                    UINT(view.height()), view.pixelData(), reinterpret_cast<const BITMAPINFO*>(lock.data()),
                    DIB_RGB_COLORS);
  RestoreDC(dc, saved);
}

void drawArrow(HDC dc, const RECT& zone, bool pressed, bool enabled) {
  FillRect(dc, &zone, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, const_cast<RECT*>(&zone), pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
  const int cx = (zone.left + zone.right) / 2 + (pressed ? 1 : 0);
  const int cy = (zone.top + zone.bottom) / 2 + (pressed ? 1 : 0);
  POINT tri[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2}};
  const COLORREF colour = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  HBRUSH brush = CreateSolidBrush(colour);
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Polygon(dc, tri, 3);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void drawCaption(HWND h, HDC dc, RECT zone, uint32_t average, bool pressed) {
  char text[128] = {};
  GetWindowTextA(h, text, sizeof text);
  if (!text[0]) return;
  if (pressed) OffsetRect(&zone, 1, 1);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0)));
  // A caption wider than the preview ("Background") takes the smaller
  // interface font, and an ellipsis if even that is too wide, rather than
  // losing letters at both ends.
  SIZE extent = {};
  GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
  UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  if (extent.cx > zone.right - zone.left - 4) {
    if (HGDIOBJ small = interfaceFont(InterfaceFont::kArial12)) SelectObject(dc, small);
    format |= DT_END_ELLIPSIS;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, captionIsWhite(average) ? RGB(255, 255, 255) : RGB(0, 0, 0));
  DrawTextA(dc, text, -1, &zone, format);
  SelectObject(dc, old);
}

void paint(HWND h) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT client;
  GetClientRect(h, &client);
  RECT face = {client.left, client.top, client.right - kMaterialArrowWidth, client.bottom};
  RECT arrow = {face.right, client.top, client.right, client.bottom};
  MemLock lock(recordOf(h));
  const bool enabled = IsWindowEnabled(h) != FALSE;
  if (lock && lock.size() >= kMaterialRecordSize) {
    const uint8_t* rec = lock.data();
    const uint32_t state = readU32(rec + material::kButtonState);
    drawPreview(dc, face, rec);
    DrawEdge(dc, &face, (state & 1) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
    drawCaption(h, dc, face, readU32(rec + material::kPreviewAverage) & 0xFFFFFF, (state & 1) != 0);
    drawArrow(dc, arrow, (state & 2) != 0, enabled);
  } else {
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &face, EDGE_RAISED, BF_RECT | BF_SOFT);
    drawArrow(dc, arrow, false, false);
  }
  if (GetFocus() == h) {
    RECT focus = {face.left + 3, face.top + 3, face.right - 3, face.bottom - 3};
    DrawFocusRect(dc, &focus);
  }
  EndPaint(h, &ps);
}

// The kind menu at the button's right edge, vertically centred; the item
// picked comes back to the button as a WM_COMMAND.
void showKindMenu(HWND h, int32_t kind) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  for (int32_t k = kMaterialSimple; k <= kMaterialTile; ++k)
    AppendMenuA(menu, MF_STRING | (k == kind ? MF_CHECKED : 0), kMaterialKindCommand + UINT(k), materialKindName(k));
  RECT r;
  GetClientRect(h, &r);
  POINT at = {r.right, (r.top + r.bottom) / 2};
  ClientToScreen(h, &at);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_VCENTERALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, h, nullptr);
  DestroyMenu(menu);
}

LRESULT forward(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  auto old = reinterpret_cast<WNDPROC>(GetPropA(h, kOldProcedure));
  return old ? CallWindowProcA(old, h, message, wParam, lParam) : DefWindowProcA(h, message, wParam, lParam);
}

LRESULT CALLBACK materialButtonProcedure(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: paint(h); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      InvalidateRect(h, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE: return DLGC_BUTTON | DLGC_WANTARROWS;
    case WM_KEYDOWN:
      // The keyboard reaches both zones: Space edits, Down or F4 opens the menu.
      if (wParam == VK_SPACE) PostMessageA(h, WM_COMMAND, kMaterialEditCommand, 0);
      if (wParam == VK_DOWN || wParam == VK_F4) PostMessageA(h, kMsgMaterialKindMenu, 0, 0);
      return 0;
    case WM_LBUTTONDBLCLK: message = WM_LBUTTONDOWN; break;
    case WM_NCDESTROY: {
      auto old = reinterpret_cast<WNDPROC>(GetPropA(h, kOldProcedure));
      RemovePropA(h, kOldProcedure);
      RemovePropA(h, kOwnedRecord);
      SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
      return old ? CallWindowProcA(old, h, message, wParam, lParam) : 0;
    }
    default: break;
  }
  MaterialButtonRecords records{recordOf(h), MemHandle(reinterpret_cast<uintptr_t>(GetPropA(h, kOwnedRecord)))};
  intptr_t result = 0;
  MaterialButtonEffects fx;
  const MaterialButtonFrame frame = frameOf(h);
  if (!materialButtonMessage(&records, frame, message, wParam, lParam, &result, &fx))
    return forward(h, message, wParam, lParam);
  const MemHandle record = records.bound;
  SetWindowLongPtrA(h, GWLP_USERDATA, LONG_PTR(record));
  if (records.owned) SetPropA(h, kOwnedRecord, reinterpret_cast<HANDLE>(uintptr_t(records.owned)));
  else RemovePropA(h, kOwnedRecord);
  if (message == WM_LBUTTONDOWN) {
    SetCapture(h);
    SetFocus(h);
  }
  if (message == WM_LBUTTONUP && GetCapture() == h) ReleaseCapture();
  if (message == WM_DESTROY) return forward(h, message, wParam, lParam);
  if (fx.repaint) InvalidateRect(h, nullptr, FALSE);
  if (fx.notifyParent)
    PostMessageA(GetParent(h), kMsgSampleRepaint, WPARAM(materialButtonKind(record)), reinterpret_cast<LPARAM>(h));
  if (fx.showKindMenu) showKindMenu(h, materialButtonKind(record));
  if (fx.postToSelf) PostMessageA(h, fx.postToSelf, fx.postWParam, 0);
  return result;
}

}  // namespace

bool attachMaterialButton(DialogFacade& dialog, uint32_t id) {
  auto* windows = dynamic_cast<WindowDialog*>(&dialog);
  if (!windows) return false;
  HWND h = GetDlgItem(windows->hwnd(), int(id));
  if (!h) return false;
  if (GetPropA(h, kOldProcedure)) return true;  // already a material button
  windows->setBinding(id, uint8_t(ControlKind::kMaterialButton), nullptr);
  // The button stays owner-drawn so it never paints itself over the preview.
  SetWindowLongA(h, GWL_STYLE, (GetWindowLongA(h, GWL_STYLE) & ~0xF) | BS_OWNERDRAW);
  LONG_PTR old = SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&materialButtonProcedure));
  if (!old) return false;
  SetPropA(h, kOldProcedure, reinterpret_cast<HANDLE>(old));
  return true;
}

}  // namespace gw
