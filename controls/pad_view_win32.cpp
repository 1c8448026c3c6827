// Direction pads: a placeholder button replaced by a 75 x 75 square of cells.
// The value is mirrored in the window text (unsigned decimal), so the dialog
// facade and document lines read and set it like any text.
#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "controls/control_kind.h"
#include "controls/control_messages.h"
#include "controls/control_views_win32.h"
#include "controls/pad_glyphs.h"
#include "controls/pad_model.h"
#include "platform/win32/window_dialog_win32.h"

namespace gw {

ControlKind padKindOf(HWND pad);  // control_views_win32.cpp

namespace {

constexpr UINT_PTR kPadSubclass = 0x5044;  // "PD"

int32_t valueOf(HWND pad) {
  char text[16] = {};
  GetWindowTextA(pad, text, sizeof text);
  return int32_t(std::strtoul(text, nullptr, 10));
}

void setValue(HWND pad, int32_t value) {
  SetWindowTextA(pad, std::to_string(uint32_t(value)).c_str());
  if (auto* bound = reinterpret_cast<int32_t*>(GetWindowLongPtrA(pad, GWLP_USERDATA))) *bound = value;
}

void notifyParent(HWND pad) {
  PostMessageA(GetParent(pad), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(pad), BN_CLICKED), LPARAM(pad));
}

// A small arrow from the pad's centre towards the cell's centre.
void drawArrow(HDC dc, const RECT& r, COLORREF colour) {
  const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  double dx = cx - kPadSize / 2.0, dy = cy - kPadSize / 2.0;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (length < 1) return;
  dx /= length;
  dy /= length;
  POINT tri[3] = {{LONG(cx + dx * 7), LONG(cy + dy * 7)},
                  {LONG(cx - dx * 5 - dy * 6), LONG(cy - dy * 5 + dx * 6)},
                  {LONG(cx - dx * 5 + dy * 6), LONG(cy - dy * 5 - dx * 6)}};
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

// The strip's glyph blended over the cell's fill, at the cell's corner
// plus the inset plus one; false when the strip cannot be read.
bool drawGlyph(HDC dc, ControlKind kind, int value, const RECT& cell, int inset, COLORREF fill) {
  uint32_t pixels[kPadGlyphSize * kPadGlyphSize];
  if (!padGlyph(kind, value, fill, pixels)) return false;
  uint8_t bgr[kPadGlyphSize * kPadGlyphSize * 4];  // 24-bit rows of 60 bytes, already 4-aligned
  for (int y = 0; y < kPadGlyphSize; ++y)
    for (int x = 0; x < kPadGlyphSize; ++x) {
      const uint32_t c = pixels[y * kPadGlyphSize + x];
      uint8_t* p = bgr + y * kPadGlyphSize * 3 + x * 3;
      p[0] = uint8_t(c >> 16);
      p[1] = uint8_t(c >> 8);
      p[2] = uint8_t(c);
    }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kPadGlyphSize;
  info.bmiHeader.biHeight = -kPadGlyphSize;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  SetDIBitsToDevice(dc, cell.left + inset + 1, cell.top + inset + 1, kPadGlyphSize, kPadGlyphSize, 0, 0, 0,
                    kPadGlyphSize, bgr, &info, DIB_RGB_COLORS);
  return true;
}

void paint(HWND pad) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(pad, &ps);
  const ControlKind kind = padKindOf(pad);
  const int32_t value = valueOf(pad);
  for (int i = 0; i < padValueCount(kind); ++i) {
    PadCell c;
    if (!padCell(kind, i, &c)) continue;
    RECT r = {c.left, c.top, c.right, c.bottom};
    if (i == value) {
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
      RECT frame = {r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
      FrameRect(dc, &frame, GetSysColorBrush(COLOR_3DDKSHADOW));
    } else {
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      RECT edge = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
      DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT | BF_SOFT);
    }
    const bool current = i == value;
    if (!drawGlyph(dc, kind, i, r, current ? 2 : 1, GetSysColor(current ? COLOR_BTNSHADOW : COLOR_BTNFACE)))
      drawArrow(dc, r, current ? RGB(255, 255, 255) : GetSysColor(COLOR_BTNTEXT));
  }
  EndPaint(pad, &ps);
}

void onButtonDown(HWND pad, LPARAM lParam) {
  SetCapture(pad);
  const ControlKind kind = padKindOf(pad);
  const int cell = padCellAt(kind, short(LOWORD(lParam)), short(HIWORD(lParam)));
  if (cell >= 0) setValue(pad, cell);  // outside every cell the value stays
  InvalidateRect(pad, nullptr, FALSE);
  if (kind == ControlKind::kScroll2Pad) notifyParent(pad);
}

void onButtonUp(HWND pad) {
  if (GetCapture() == pad) ReleaseCapture();
  if (padKindOf(pad) != ControlKind::kScroll2Pad) notifyParent(pad);
}

LRESULT CALLBACK padProc(HWND pad, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_NCPAINT: return 0;
    case WM_PAINT: paint(pad); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: onButtonDown(pad, lParam); return 0;
    case WM_LBUTTONUP: onButtonUp(pad); return 0;
    case WM_SETTEXT: {
      LRESULT r = DefSubclassProc(pad, message, wParam, lParam);
      InvalidateRect(pad, nullptr, FALSE);
      return r;
    }
    case kMsgControlInit:
    case kMsgPadFromText: {
      WindowDialog owner(GetParent(pad));
      const bool mine = padMessage(owner, uint32_t(GetDlgCtrlID(pad)), message, wParam, lParam);
      InvalidateRect(pad, nullptr, FALSE);
      return mine ? 1 : 0;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(pad, padProc, kPadSubclass);
      break;
    default: break;
  }
  // Keys, focus and the rest behave as the button underneath.
  if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) return 0;
  return DefSubclassProc(pad, message, wParam, lParam);
}

}  // namespace

void attachPadView(HWND pad) {
  SetWindowPos(pad, nullptr, 0, 0, kPadSize, kPadSize, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowSubclass(pad, padProc, kPadSubclass, 0);
  InvalidateRect(pad, nullptr, FALSE);
}

void refreshPad(HWND pad) { InvalidateRect(pad, nullptr, FALSE); }

}  // namespace gw
