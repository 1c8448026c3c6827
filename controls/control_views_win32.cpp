#include "controls/control_views_win32.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "controls/bound_control.h"
#include "controls/colour_swatch.h"
#include "controls/colour_swatch_win32.h"
#include "controls/control_kind.h"
#include "controls/spin_field.h"
#include "platform/interface_fonts.h"
#include "platform/win32/window_dialog_win32.h"

namespace gw {

void attachPadView(HWND pad);  // pad_view_win32.cpp

ControlKind padKindOf(HWND pad) {
  WindowDialog owner(GetParent(pad));
  return static_cast<ControlKind>(owner.boundKind(uint32_t(GetDlgCtrlID(pad))));
}

namespace {

// The property soft push buttons carry, so their drawing is told from others'.
const char kSoftProperty[] = "GwSoftButton";

std::vector<HWND> childrenOf(HWND dialog) {
  std::vector<HWND> children;
  for (HWND h = GetWindow(dialog, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) children.push_back(h);
  return children;
}

bool isClass(HWND h, const char* name) {
  char cls[64] = {};
  GetClassNameA(h, cls, sizeof cls);
  return lstrcmpiA(cls, name) == 0;
}

// The up-down partner's range and arrow position come from its own text; the
// edit then shows its bound variable again, which the position overwrote.
void attachSpin(WindowDialog& facade, uint32_t id) {
  HWND partner = GetDlgItem(facade.hwnd(), int(id + kSpinPartnerOffset));
  if (!partner) return;
  SpinRange r = spinFieldRange(facade, id);
  if (r.hasRange) SendMessageA(partner, UDM_SETRANGE, 0, MAKELPARAM(WORD(r.max), WORD(r.min)));
  if (r.hasPos) SendMessageA(partner, UDM_SETPOS, 0, MAKELPARAM(WORD(r.pos), 0));
  if (facade.boundVariable(id)) showBoundValue(facade, id);
}

void makeSoft(HWND button) {
  LONG style = GetWindowLongA(button, GWL_STYLE);
  const LONG type = style & 0xF;
  if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) return;
  SetWindowLongA(button, GWL_STYLE, (style & ~0xF) | BS_OWNERDRAW);
  SetPropA(button, kSoftProperty, reinterpret_cast<HANDLE>(1));
  InvalidateRect(button, nullptr, TRUE);
}

COLORREF colourOf(HWND button) {
  char text[16] = {};
  GetWindowTextA(button, text, sizeof text);
  return COLORREF(std::strtoul(text, nullptr, 10) & 0xFFFFFF);
}

// The colour button is the plainest swatch: its text is its colour's number,
// which it does not show.
void drawColourButton(const DRAWITEMSTRUCT* d) { drawColourSwatch(d, colourOf(d->hwndItem), kSwatchNoText); }

void drawSoftButton(const DRAWITEMSTRUCT* d) {
  RECT r = d->rcItem;
  const bool pressed = (d->itemState & ODS_SELECTED) != 0;
  FillRect(d->hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(d->hDC, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
  char text[128] = {};
  GetWindowTextA(d->hwndItem, text, sizeof text);
  if (pressed) OffsetRect(&r, 2, 2);
  HGDIOBJ old = SelectObject(d->hDC, reinterpret_cast<HFONT>(SendMessageA(d->hwndItem, WM_GETFONT, 0, 0)));
  SetBkMode(d->hDC, TRANSPARENT);
  SetTextColor(d->hDC, GetSysColor((d->itemState & ODS_DISABLED) ? COLOR_BTNSHADOW : COLOR_BTNTEXT));
  DrawTextA(d->hDC, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(d->hDC, old);
}

void drawFontItem(const DRAWITEMSTRUCT* d) {
  const bool selected = (d->itemState & ODS_SELECTED) != 0;
  RECT r = d->rcItem;
  FillRect(d->hDC, &r, selected ? GetSysColorBrush(COLOR_BTNSHADOW) : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (d->itemID == UINT(-1)) return;
  char face[LF_FACESIZE + 64] = {};
  if (SendMessageA(d->hwndItem, CB_GETLBTEXTLEN, d->itemID, 0) >= LRESULT(sizeof face)) return;
  SendMessageA(d->hwndItem, CB_GETLBTEXT, d->itemID, reinterpret_cast<LPARAM>(face));
  const bool field = (d->itemState & ODS_COMBOBOXEDIT) != 0;
  HFONT own = nullptr;
  HFONT font = static_cast<HFONT>(interfaceFont(InterfaceFont::kSansSerif14));
  if (!field) {
    // In the open list every name is shown in its own face.
    own = CreateFontA(18, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, face);
    font = own;
  }
  HGDIOBJ old = font ? SelectObject(d->hDC, font) : nullptr;
  SetBkMode(d->hDC, TRANSPARENT);
  COLORREF colour = selected ? RGB(255, 255, 255) : RGB(0, 0, 0);
  if (field && (d->itemState & ODS_DISABLED)) colour = GetSysColor(COLOR_GRAYTEXT);
  SetTextColor(d->hDC, colour);
  r.left += 4;
  DrawTextA(d->hDC, face, -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (old) SelectObject(d->hDC, old);
  if (own) DeleteObject(own);
}

}  // namespace

void makeSoftButton(HWND button) { makeSoft(button); }

void attachControlViews(HWND dialog, bool softButtons) {
  WindowDialog facade(dialog);
  for (HWND child : childrenOf(dialog)) {
    const uint32_t id = uint32_t(GetDlgCtrlID(child));
    const ControlKind kind = static_cast<ControlKind>(facade.boundKind(id));
    if (isPad(kind)) {
      attachPadView(child);
    } else if (kind == ControlKind::kSpinField) {
      attachSpin(facade, id);
    } else if (kind == ControlKind::kFontList) {
      SendMessageA(child, CB_SETITEMHEIGHT, WPARAM(-1), 18);  // the selection field
      SendMessageA(child, CB_SETITEMHEIGHT, 0, 22);           // every list item
    } else if (kind == ControlKind::kAnimationSelector) {
      // Its "Select..." button is its own child; it draws soft like the dialog's.
      HWND select = GetDlgItem(child, 1);
      if (softButtons && select) makeSoft(select);
    } else if (softButtons && kind == ControlKind::kNone && isClass(child, "Button")) {
      makeSoft(child);
    }
  }
}

bool drawControlItem(HWND dialog, const DRAWITEMSTRUCT* item) {
  WindowDialog facade(dialog);
  const ControlKind kind = static_cast<ControlKind>(facade.boundKind(item->CtlID));
  if (kind == ControlKind::kColourButton) {
    drawColourButton(item);
    return true;
  }
  if (kind == ControlKind::kFontList) {
    drawFontItem(item);
    return true;
  }
  // A material button whose own view is not attached yet shows as a plain
  // button with its caption, so the page stays readable.
  if (item->CtlType == ODT_BUTTON &&
      (kind == ControlKind::kMaterialButton || GetPropA(item->hwndItem, kSoftProperty))) {
    drawSoftButton(item);
    return true;
  }
  return false;
}

bool measureControlItem(HWND dialog, MEASUREITEMSTRUCT* item) {
  WindowDialog facade(dialog);
  if (static_cast<ControlKind>(facade.boundKind(item->CtlID)) != ControlKind::kFontList) return false;
  item->itemHeight = item->itemID == UINT(-1) ? 18 : 22;
  return true;
}

}  // namespace gw
