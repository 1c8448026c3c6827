// The fountain button's window (class "FOUNTB"): messages go to the portable
// model; the view paints the markers, boxes and ramp, captures the mouse
// during a drag and draws the marker's outline there with an inverting pen.
#include <windows.h>

#include <string>

#include "base/le_bytes.h"
#include "materials/fountain_record.h"
#include "platform/bitmap.h"
#include "platform/module.h"
#include "platform/win32/window_dialog_win32.h"
#include "platform/win32/window_handle_win32.h"
#include "ui/fountain_button.h"

namespace gw {
namespace {

const char kClassName[] = "FOUNTB";
const char kHostProperty[] = "GwFountainHost";

MemHandle recordOf(HWND h) { return MemHandle(GetWindowLongPtrA(h, GWLP_USERDATA)); }

FountainButtonWindow windowOf(HWND h) {
  FountainButtonWindow w;
  w.self = idFromHwnd(h);
  w.id = uint32_t(GetDlgCtrlID(h));
  RECT r;
  GetClientRect(h, &r);
  w.width = r.right - r.left;
  w.height = r.bottom - r.top;
  char text[128] = {};
  GetWindowTextA(h, text, sizeof text);
  w.text = text;
  w.hostParams = static_cast<const uint8_t*>(GetPropA(h, kHostProperty));
  return w;
}

void fillBox(HDC dc, const PixelBox& b, COLORREF colour) {
  RECT r = {b.left, b.top, b.right, b.bottom};
  HBRUSH brush = CreateSolidBrush(colour & 0xFFFFFF);
  if (brush) {
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void drawMarker(HDC dc, const FountainButtonGeometry& g, int x, COLORREF colour, bool selected) {
  const int top = g.strip.top - 3;  // the client top the corners are measured from
  POINT corners[3] = {{x - 5, top + 4}, {x + 5, top + 4}, {x, top + 9}};
  HBRUSH brush = CreateSolidBrush(colour & 0xFFFFFF);
  HPEN pen = CreatePen(PS_SOLID, 1, selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
  HGDIOBJ oldBrush = brush ? SelectObject(dc, brush) : nullptr;
  HGDIOBJ oldPen = pen ? SelectObject(dc, pen) : nullptr;
  Polygon(dc, corners, 3);
  if (oldPen) SelectObject(dc, oldPen);
  if (oldBrush) SelectObject(dc, oldBrush);
  if (pen) DeleteObject(pen);
  if (brush) DeleteObject(brush);
}

void paintRamp(HDC dc, const FountainButtonGeometry& g, MemHandle preview) {
  RECT area = {g.ramp.left, g.ramp.top, g.ramp.right, g.ramp.bottom};
  MemLock lock(preview);
  BitmapView view = lock ? BitmapView::of(lock) : BitmapView();
  if (!view.valid()) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));  // a failed preview
    return;
  }
  SetDIBitsToDevice(dc, area.left, area.top, DWORD(view.width()), DWORD(view.height()), 0, 0, 0,
                    UINT(view.height()), view.pixelData(), reinterpret_cast<const BITMAPINFO*>(lock.data()),
                    DIB_RGB_COLORS);
  RECT frame = {area.left - 1, area.top - 1, area.right + 1, area.bottom + 1};
  FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
}

void paint(HWND h) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT client;
  GetClientRect(h, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const FountainButtonGeometry g = fountainButtonGeometry(client.right, client.bottom);
  if (MemLock lock{recordOf(h)}) {
    const uint8_t* f = lock.data();
    paintRamp(dc, g, MemHandle(readU32(f + fountain::kPreviewImage)));
    fillBox(dc, g.startBox(), readU32(f + fountain::kStartColour));
    if (!(readU32(f + fountain::kFlags) & fountain::kFlagLooped)) fillBox(dc, g.endBox(), readU32(f + fountain::kEndColour));
    int32_t columns[kFountainMaxMarkers];
    const int n = fountainMarkerColumns(f, g.ramp.width(), columns);
    const int selected = fountainEditorState(f).selected;
    for (int i = 0; i < n; ++i)
      drawMarker(dc, g, g.markerX(columns[i]), fountainMarkerColour(fountainMarker(f, i)), i == selected);
  }
  if (!IsWindowEnabled(h)) {
    // Disabled: the whole button greyed by a halftone over it.
    static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP bits = CreateBitmap(8, 8, 1, 1, kPattern);
    HBRUSH brush = bits ? CreatePatternBrush(bits) : nullptr;
    if (brush) {
      HGDIOBJ old = SelectObject(dc, brush);
      SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
      SetBkColor(dc, RGB(0, 0, 0));
      PatBlt(dc, 0, 0, client.right, client.bottom, 0x00A000C9);  // DPa: face where the pattern is set
      SelectObject(dc, old);
      DeleteObject(brush);
    }
    if (bits) DeleteObject(bits);
  }
  EndPaint(h, &ps);
}

// The dragged marker's outline: a vertical line over the ramp, drawn and
// erased with the same inverting pen.
void invertOutline(HWND h, int x) {
  RECT client;
  GetClientRect(h, &client);
  const FountainButtonGeometry g = fountainButtonGeometry(client.right, client.bottom);
  HDC dc = GetDC(h);
  if (!dc) return;
  const int oldRop = SetROP2(dc, R2_NOT);
  MoveToEx(dc, x, g.strip.top, nullptr);
  LineTo(dc, x, g.ramp.bottom);
  MoveToEx(dc, x - 5, g.strip.top + 1, nullptr);
  LineTo(dc, x + 5, g.strip.top + 1);
  SetROP2(dc, oldRop);
  ReleaseDC(h, dc);
}

void setOutline(HWND h, bool drawn) {
  if (MemLock lock{recordOf(h)}) {
    FountainEditorState s = fountainEditorState(lock.data());
    s.outlineDrawn = drawn ? 1 : 0;
    setFountainEditorState(lock.data(), s);
  }
}

FountainEditorState stateOf(HWND h) {
  MemLock lock(recordOf(h));
  return lock ? fountainEditorState(lock.data()) : FountainEditorState();
}

LRESULT CALLBACK fountainProcedure(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paint(h);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_ENABLE:
      InvalidateRect(h, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE:
      return 0;
    case WM_CAPTURECHANGED:
      // Someone else took the mouse: the outline goes, the drag ends unmoved.
      if (reinterpret_cast<HWND>(lParam) != h) {
        MemLock lock(recordOf(h));
        if (!lock) return 0;
        FountainEditorState s = fountainEditorState(lock.data());
        if (s.outlineDrawn) invertOutline(h, s.lastX);
        s.outlineDrawn = 0;
        s.dragging = 0;
        setFountainEditorState(lock.data(), s);
      }
      return 0;
    default:
      break;
  }
  const FountainEditorState before = stateOf(h);
  MemHandle record = recordOf(h);
  FountainButtonWindow window = windowOf(h);
  intptr_t result = 0;
  FountainButtonEvents events;
  // WM_DESTROY sees the record freed and the handle zeroed.
  const bool mine = fountainButtonMessage(&record, window, message, wParam, lParam, &result, &events);
  SetWindowLongPtrA(h, GWLP_USERDATA, LONG_PTR(record));
  if (message == WM_DESTROY) RemovePropA(h, kHostProperty);
  if (!mine) return DefWindowProcA(h, message, wParam, lParam);
  if (events.resized) SetWindowPos(h, nullptr, 0, 0, kFountainButtonWidth, kFountainButtonHeight,
                                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (message == WM_MOUSEMOVE && before.dragging) {
    if (before.outlineDrawn) invertOutline(h, before.lastX);
    invertOutline(h, pointX(lParam));
    setOutline(h, true);
  }
  if (events.dragStarted) {
    SetCapture(h);
    InvalidateRect(h, nullptr, FALSE);
  }
  if (events.dragEnded) {
    if (before.outlineDrawn) invertOutline(h, before.lastX);
    if (GetCapture() == h) ReleaseCapture();
  }
  if (events.changed || events.resized || events.dragEnded || message == kMsgControlInit)
    InvalidateRect(h, nullptr, FALSE);
  if (events.changed)
    PostMessageA(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), BN_CLICKED), reinterpret_cast<LPARAM>(h));
  if (events.postRepaint) PostMessageA(GetParent(h), kMsgSampleRepaint, 0, reinterpret_cast<LPARAM>(h));
  return result;
}

}  // namespace

bool registerFountainButtonClass() {
  auto instance = static_cast<HINSTANCE>(moduleInstance());
  WNDCLASSA existing;
  if (GetClassInfoA(instance, kClassName, &existing)) return true;
  WNDCLASSA c = {};
  c.style = CS_DBLCLKS;
  c.lpfnWndProc = fountainProcedure;
  c.hInstance = instance;
  c.hCursor = LoadCursor(nullptr, IDC_ARROW);
  c.lpszClassName = kClassName;
  return RegisterClassA(&c) != 0;
}

bool attachFountainButton(DialogFacade& dialog, uint32_t id, const uint8_t* hostParams,
                          void (*)(void*), void*) {
  auto* windows = dynamic_cast<WindowDialog*>(&dialog);
  if (!windows) return false;
  HWND h = GetDlgItem(windows->hwnd(), int(id));
  if (!h) return false;
  char cls[16] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (lstrcmpiA(cls, kClassName) != 0) return false;
  SetPropA(h, kHostProperty, const_cast<uint8_t*>(hostParams));
  return true;
}

}  // namespace gw
