#include "controls/colour_swatch_win32.h"

#include <string>

#include "controls/colour_swatch.h"
#include "platform/interface_fonts.h"

namespace gw {

void drawColourSwatch(const DRAWITEMSTRUCT* d, uint32_t colour, uint32_t options) {
  RECT all = d->rcItem;
  const bool disabled = (d->itemState & ODS_DISABLED) != 0;
  if (options & kSwatchFillOnly) {
    HBRUSH brush = CreateSolidBrush(COLORREF(colour & 0xFFFFFF));
    FillRect(d->hDC, &all, brush);
    DeleteObject(brush);
    return;
  }
  HBRUSH back = reinterpret_cast<HBRUSH>(
      SendMessageA(GetParent(d->hwndItem), WM_CTLCOLORBTN, WPARAM(d->hDC), LPARAM(d->hwndItem)));
  if (back) FillRect(d->hDC, &all, back);
  // The colour leaves the 3 rightmost columns and 3 lowest rows to the edge's shade.
  RECT face = {all.left, all.top, all.right - 3, all.bottom - 3};
  HBRUSH brush = disabled ? GetSysColorBrush(COLOR_BTNFACE) : CreateSolidBrush(COLORREF(colour & 0xFFFFFF));
  FillRect(d->hDC, &face, brush);
  if (!disabled) DeleteObject(brush);
  const SwatchParts parts = swatchParts(options);
  if (parts.edge)
    DrawEdge(d->hDC, &all, (d->itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
  char windowText[64] = {};
  GetWindowTextA(d->hwndItem, windowText, sizeof windowText);
  const SwatchText text = swatchText(options, windowText, colour, disabled);
  if (text.draw) {
    RECT r = {all.left + 2, all.top + 2, all.right - 2, all.bottom - 2};
    HGDIOBJ font = (options & kSwatchOwnFont)
                       ? reinterpret_cast<HGDIOBJ>(SendMessageA(d->hwndItem, WM_GETFONT, 0, 0))
                       : interfaceFont(InterfaceFont::kArial12);
    HGDIOBJ old = font ? SelectObject(d->hDC, font) : nullptr;
    SetBkMode(d->hDC, TRANSPARENT);
    SetTextColor(d->hDC, text.white ? RGB(255, 255, 255) : RGB(0, 0, 0));
    DrawTextA(d->hDC, text.text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (old) SelectObject(d->hDC, old);
  }
  if (parts.focus && (d->itemState & ODS_FOCUS)) {
    RECT focus = {all.left + 4, all.top + 3, all.right - 4, all.bottom - 4};
    DrawFocusRect(d->hDC, &focus);
  }
}

}  // namespace gw
