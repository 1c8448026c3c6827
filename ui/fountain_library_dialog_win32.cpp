// The "Gradient Library" dialog with real windows: owner drawing of the
// previews, the drag with its cursors, and the notifications; everything the
// dialog decides is FountainLibrarySession's.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <new>

#include "controls/control_views_win32.h"
#include "platform/bitmap.h"
#include "platform/memory.h"
#include "platform/module.h"
#include "platform/win32/window_dialog_win32.h"
#include "platform/win32/window_handle_win32.h"
#include "resources/resource_ids.h"
#include "ui/fountain_library_dialog.h"
#include "ui/message_box.h"

namespace gw {
namespace {

constexpr UINT kDropMessage = WM_APP + 16;  // wParam: from, lParam: to
constexpr UINT_PTR kListSubclass = 0x464C4C;

struct LibraryDialog {
  FountainLibrarySession* session;
  WindowDialog* facade;
  int dragFrom = -1;     // the pressed item while the button is down
  bool dragging = false;  // moved far enough to be a drag
  POINT pressedAt = {};
  HCURSOR dragCursor = nullptr;
};

LibraryDialog* stateOf(HWND dialog) { return reinterpret_cast<LibraryDialog*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

int itemAt(HWND list, POINT client) {
  LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  if (HIWORD(hit) != 0) return -1;  // outside every item
  int index = int(LOWORD(hit));
  return index < int(SendMessageA(list, LB_GETCOUNT, 0, 0)) ? index : -1;
}

bool insideClient(HWND window, POINT client) {
  RECT r;
  GetClientRect(window, &r);
  return PtInRect(&r, client) != 0;
}

void showDragCursor(LibraryDialog* s, HWND list, POINT client) {
  HCURSOR over = s->dragCursor ? s->dragCursor : LoadCursor(nullptr, IDC_ARROW);
  // The system's "no" cursor by number: the resource ids reuse its name.
  SetCursor(insideClient(list, client) ? over : LoadCursorA(nullptr, MAKEINTRESOURCEA(32648)));
}

// The list box's own tracking would move the selection along with the
// mouse; a press here selects once and then follows the drag instead.
LRESULT CALLBACK listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  HWND dialog = GetParent(list);
  LibraryDialog* s = stateOf(dialog);
  if (!s) return DefSubclassProc(list, message, wParam, lParam);
  POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_LBUTTONDOWN: {
      SetFocus(list);
      int index = itemAt(list, at);
      if (index < 0) return 0;
      SendMessageA(list, LB_SETCURSEL, WPARAM(index), 0);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FOUNTAIN_LIBRARY_LIST, LBN_SELCHANGE), LPARAM(list));
      s->dragFrom = index;
      s->dragging = false;
      s->pressedAt = at;
      SetCapture(list);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (s->dragFrom < 0 || GetCapture() != list) break;
      if (!s->dragging && (abs(at.x - s->pressedAt.x) > GetSystemMetrics(SM_CXDRAG) ||
                           abs(at.y - s->pressedAt.y) > GetSystemMetrics(SM_CYDRAG)))
        s->dragging = true;
      if (s->dragging) showDragCursor(s, list, at);
      return 0;
    case WM_SETCURSOR:
      if (s->dragging) return TRUE;  // the drag keeps the cursor it set
      break;
    case WM_LBUTTONUP: {
      if (s->dragFrom < 0) break;
      const int from = s->dragFrom;
      const bool dropped = s->dragging;
      s->dragFrom = -1;
      s->dragging = false;
      ReleaseCapture();
      int to = insideClient(list, at) ? itemAt(list, at) : -1;
      if (dropped && to >= 0) PostMessageA(dialog, kDropMessage, WPARAM(from), LPARAM(to));
      SetCursor(LoadCursor(nullptr, IDC_ARROW));
      return 0;
    }
    case WM_CAPTURECHANGED:
      s->dragFrom = -1;
      s->dragging = false;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, listProc, kListSubclass);
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

void drawItem(LibraryDialog* s, const DRAWITEMSTRUCT* d) {
  if (d->itemID == UINT(-1)) return;
  const bool selected = (d->itemState & ODS_SELECTED) != 0;
  FillRect(d->hDC, &d->rcItem, selected ? GetSysColorBrush(COLOR_BTNSHADOW) : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const FountainLibraryList& items = s->session->items();
  if (d->itemID >= items.size()) return;
  MemLock lock(items[d->itemID].preview.get());
  BitmapView view = BitmapView::of(lock);
  if (!view.valid()) return;
  // The block is a packed DIB checked by the view: GDI takes it as it is.
  SetDIBitsToDevice(d->hDC, d->rcItem.left + kFountainLibraryPreviewInset, d->rcItem.top + kFountainLibraryPreviewInset,
                    DWORD(view.width()), DWORD(view.height()), 0, 0, 0, UINT(view.height()), view.pixelData(),
                    reinterpret_cast<const BITMAPINFO*>(lock.data()), DIB_RGB_COLORS);
}

INT_PTR onInit(HWND dialog, LibraryDialog* s) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
  s->facade = new (std::nothrow) WindowDialog(dialog);
  if (!s->facade) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  attachControlViews(dialog, softButtons());
  const int previewWidth = kFountainLibraryPreviewSpan - GetSystemMetrics(SM_CXVSCROLL);
  if (!s->session->start(*s->facade, previewWidth, kFountainLibraryPreviewHeight)) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  s->dragCursor = LoadCursorA(static_cast<HINSTANCE>(moduleInstance()), MAKEINTRESOURCEA(IDC_FOUNTAIN_DRAG_CURSOR));
  SetWindowSubclass(GetDlgItem(dialog, IDC_FOUNTAIN_LIBRARY_LIST), listProc, kListSubclass, 0);
  return TRUE;
}

void endWith(HWND dialog, LibraryDialog* s, uint32_t id) {
  int result = 0;
  if (s->session->command(*s->facade, id, &result)) EndDialog(dialog, result);
}

INT_PTR CALLBACK libraryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return onInit(dialog, reinterpret_cast<LibraryDialog*>(lParam));
  if (message == WM_MEASUREITEM) {
    // The list asks while it is being made, before WM_INITDIALOG.
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (m->CtlID != IDC_FOUNTAIN_LIBRARY_LIST) return measureControlItem(dialog, m) ? TRUE : FALSE;
    m->itemHeight = kFountainLibraryItemHeight;
    return TRUE;
  }
  LibraryDialog* s = stateOf(dialog);
  if (!s || !s->facade) return FALSE;
  switch (message) {
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (d->CtlID != IDC_FOUNTAIN_LIBRARY_LIST) return drawControlItem(dialog, d) ? TRUE : FALSE;
      drawItem(s, d);
      return TRUE;
    }
    case kDropMessage:
      s->session->drop(*s->facade, int(wParam), int(lParam));
      return TRUE;
    case WM_COMMAND: {
      const UINT id = LOWORD(wParam), code = HIWORD(wParam);
      if (id == IDC_FOUNTAIN_LIBRARY_LIST) {
        if (code == LBN_SELCHANGE) s->session->selectionChanged(*s->facade);
        if (code == LBN_DBLCLK && SendMessageA(GetDlgItem(dialog, id), LB_GETCURSEL, 0, 0) >= 0) endWith(dialog, s, IDOK);
        return TRUE;
      }
      endWith(dialog, s, id);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

void setFountainLibraryDriver(FountainLibraryDriver) {}

int runFountainLibraryDialog(WindowId owner, uint8_t* fountain581) {
  FountainLibrarySession session(fountainLibraryPath(), fountain581);
  LibraryDialog state{&session, nullptr};
  HWND ownerWindow = hwndFromId(owner);
  INT_PTR result = DialogBoxParamA(static_cast<HINSTANCE>(moduleInstance()), kFountainLibraryTemplate, ownerWindow,
                                   libraryProc, reinterpret_cast<LPARAM>(&state));
  delete state.facade;
  if (ownerWindow) {
    InvalidateRect(ownerWindow, nullptr, TRUE);
    UpdateWindow(ownerWindow);
  }
  return result == 1 ? 1 : 0;
}

}  // namespace gw
