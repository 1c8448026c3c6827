// The "Matrix" dialog's window procedure: what the user does goes to
// MatrixDialogView; this file draws the tile strip and the preview, offers
// the tile's right-click menu and asks the host for pictures.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "controls/control_views_win32.h"
#include "materials/material_record.h"
#include "materials/tile_selection.h"
#include "platform/bitmap.h"
#include "platform/module.h"
#include "platform/string_table.h"
#include "platform/win32/window_dialog_win32.h"
#include "platform/win32/window_handle_win32.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"
#include "ui/dialog_event_win32.h"
#include "ui/help_request.h"
#include "ui/matrix_dialog.h"
#include "ui/matrix_dialog_view.h"
#include "ui/message_box.h"
#include "ui/name_prompt.h"
#include "ui/tile_image_request.h"
#include "ui/window_placement_win32.h"

namespace gw {
namespace {

// The strip shows this many rows of square cells and scrolls sideways.
constexpr int kStripRows = 3;
constexpr int kCellMargin = 3;

struct MatrixWindow {
  const uint8_t* hostParams;
  uint8_t* working;
  int cell = 40;  // pixels, set from the strip's height
  std::unique_ptr<WindowDialog> facade;
  std::unique_ptr<MatrixDialogView> view;
};

MatrixWindow* stateOf(HWND dialog) { return reinterpret_cast<MatrixWindow*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

// Draws a packed bitmap into `to`, scaled to fit and centred when `fit`,
// else at its own size from the top-left corner (clipped by GDI).
bool drawBitmap(HDC dc, MemHandle image, RECT to, bool fit) {
  MemLock lock(image);
  if (!lock) return false;
  BitmapView bitmap = BitmapView::of(lock);
  if (!bitmap.valid()) return false;
  const int bw = bitmap.width(), bh = bitmap.height();
  int x = to.left, y = to.top, w = bw, h = bh;
  if (fit) {
    const int aw = to.right - to.left, ah = to.bottom - to.top;
    if (aw <= 0 || ah <= 0 || bw <= 0 || bh <= 0) return false;
    // The larger side fills the cell; the other keeps the tile's proportion.
    if (int64_t(bw) * ah >= int64_t(bh) * aw) {
      w = aw;
      h = std::max(1, int(int64_t(bh) * aw / bw));
    } else {
      h = ah;
      w = std::max(1, int(int64_t(bw) * ah / bh));
    }
    x += (aw - w) / 2;
    y += (ah - h) / 2;
  }
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  // A packed DIB checked by the view: GDI takes it as it is.
  StretchDIBits(dc, x, y, w, h, 0, 0, bw, bh, bitmap.pixelData(), reinterpret_cast<const BITMAPINFO*>(lock.data()),
                DIB_RGB_COLORS, SRCCOPY);
  return true;
}

void drawCell(const MatrixWindow& state, const DRAWITEMSTRUCT* d) {
  RECT r = d->rcItem;
  FillRect(d->hDC, &r, GetSysColorBrush(COLOR_WINDOW));
  if (d->itemID != UINT(-1)) {
    RECT thumb = r;
    InflateRect(&thumb, -kCellMargin, -kCellMargin);
    drawBitmap(d->hDC, state.view->tileImage(int(d->itemID)), thumb, true);
    if (d->itemState & ODS_SELECTED) {
      HBRUSH mark = GetSysColorBrush(COLOR_HIGHLIGHT);
      RECT frame = r;
      for (int i = 0; i < 2; ++i) {
        FrameRect(d->hDC, &frame, mark);
        InflateRect(&frame, -1, -1);
      }
    }
  }
  if (d->itemState & ODS_FOCUS) {
    RECT f = r;
    InflateRect(&f, -1, -1);
    DrawFocusRect(d->hDC, &f);
  }
}

void drawPreview(const MatrixWindow& state, const DRAWITEMSTRUCT* d) {
  RECT area = d->rcItem;
  MemBlock image(state.view->preview(area.right - area.left, area.bottom - area.top));
  if (!drawBitmap(d->hDC, image.get(), area, false)) FillRect(d->hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
}

void refresh(HWND dialog) {
  InvalidateRect(GetDlgItem(dialog, IDC_MATRIX_PREVIEW), nullptr, FALSE);
  InvalidateRect(GetDlgItem(dialog, IDC_MATRIX_TILES), nullptr, TRUE);
}

bool shiftDown() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

INT_PTR onInit(HWND dialog, MatrixWindow* state) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  // Square cells, kStripRows of them above the scroll bar.
  HWND strip = GetDlgItem(dialog, IDC_MATRIX_TILES);
  RECT client;
  GetClientRect(strip, &client);
  state->cell = std::max(16, int(client.bottom - GetSystemMetrics(SM_CYHSCROLL)) / kStripRows);
  SendMessageA(strip, LB_SETITEMHEIGHT, 0, state->cell);
  SendMessageA(strip, LB_SETCOLUMNWIDTH, WPARAM(state->cell), 0);

  state->facade = std::make_unique<WindowDialog>(dialog);
  const uint8_t* params = state->hostParams;
  const WindowId self = idFromHwnd(dialog);
  // Groups are rewritten in place: the configuration has no backup switch.
  state->view = std::make_unique<MatrixDialogView>(*state->facade, messageBoxPrompts(self),
                                                   [params, self] { return requestTileImage(params, self); }, false,
                                                   state->working);
  state->view->open(settings().MatrixLibrary);
  attachControlViews(dialog, softButtons());
  centreWindow(dialog);
  return TRUE;
}

void finish(HWND dialog, MatrixWindow* state, bool ends) {
  if (ends) EndDialog(dialog, state->view->result());
  else refresh(dialog);
}

// A right click on a tile selects it and offers "&Delete".
void onContextMenu(HWND dialog, MatrixWindow* state, HWND from, LPARAM at) {
  HWND strip = GetDlgItem(dialog, IDC_MATRIX_TILES);
  if (from != strip) return;
  POINT screen{short(LOWORD(at)), short(HIWORD(at))};
  int index = -1;
  if (at == LPARAM(-1)) {  // the menu key: the selected tile, at its place
    index = int(SendMessageA(strip, LB_GETCURSEL, 0, 0));
    RECT item{};
    if (index < 0 || SendMessageA(strip, LB_GETITEMRECT, WPARAM(index), LPARAM(&item)) == LB_ERR) return;
    screen = {item.left + state->cell / 2, item.top + state->cell / 2};
    ClientToScreen(strip, &screen);
  } else {
    POINT client = screen;
    ScreenToClient(strip, &client);
    const LRESULT hit = SendMessageA(strip, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
    if (HIWORD(hit) != 0) return;  // beside the items
    index = int(LOWORD(hit));
    SendMessageA(strip, LB_SETCURSEL, WPARAM(index), 0);
    state->view->command(IDC_MATRIX_TILES, DialogEvent::kSelect, false);
    refresh(dialog);
  }
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  AppendMenuA(menu, MF_STRING, IDM_MATRIX_DELETE, "&Delete");
  const UINT chosen = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                          screen.x, screen.y, 0, dialog, nullptr));
  DestroyMenu(menu);
  if (chosen == IDM_MATRIX_DELETE)
    finish(dialog, state, state->view->command(IDC_MATRIX_REMOVE, DialogEvent::kClick, false));
}

INT_PTR onCommand(HWND dialog, MatrixWindow* state, WPARAM wParam, LPARAM lParam) {
  const uint32_t id = LOWORD(wParam);
  if (id == IDC_HELP_BUTTON) {
    showHelpTopic(idFromHwnd(dialog), "TILE");
    return TRUE;
  }
  bool known = true;
  const DialogEvent event =
      lParam ? dialogEventOf(reinterpret_cast<HWND>(lParam), HIWORD(wParam), &known) : DialogEvent::kClick;
  if (!known) return TRUE;
  finish(dialog, state, state->view->command(id, event, shiftDown()));
  return TRUE;
}

INT_PTR CALLBACK matrixProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return onInit(dialog, reinterpret_cast<MatrixWindow*>(lParam));
  MatrixWindow* state = stateOf(dialog);
  if (message == WM_MEASUREITEM) {  // comes before WM_INITDIALOG; the cell is set there
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (m->CtlID != IDC_MATRIX_TILES) return FALSE;
    m->itemHeight = state ? UINT(state->cell) : 40u;
    return TRUE;
  }
  if (!state || !state->view) return FALSE;
  switch (message) {
    case WM_COMMAND:
      return onCommand(dialog, state, wParam, lParam);
    case WM_CONTEXTMENU:
      onContextMenu(dialog, state, reinterpret_cast<HWND>(wParam), lParam);
      return TRUE;
    case WM_DRAWITEM: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (d->CtlID == IDC_MATRIX_PREVIEW) drawPreview(*state, d);
      else if (d->CtlID == IDC_MATRIX_TILES) drawCell(*state, d);
      else return drawControlItem(dialog, d) ? TRUE : FALSE;
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

bool runMatrixDialog(WindowId owner, const uint8_t* hostParams, uint8_t* material1270) {
  if (!material1270) return false;
  uint8_t* selection = material1270 + material::kTileSelection;
  // The dialog works on its own copy; the material changes only on OK.
  uint8_t working[tile_selection::kSize];
  if (!tileSelectionCopy(selection, working)) {
    showMessage(owner, loadString(kStrMemoryError));
    return false;
  }
  MatrixWindow state{hostParams, working, 40, nullptr, nullptr};
  const INT_PTR r = DialogBoxParamA(static_cast<HINSTANCE>(moduleInstance()), MAKEINTRESOURCEA(IDD_MATRIX),
                                    hwndFromId(owner), matrixProc, reinterpret_cast<LPARAM>(&state));
  if (r != 1 || !state.view) {
    tileSelectionFreeImage(working);
    return false;
  }
  tileSelectionFreeImage(selection);
  std::memcpy(selection, working, sizeof working);
  const std::string& group = state.view->groupFile();
  if (group.size() < kSettingTextSize) {
    std::memset(settings().MatrixLibrary, 0, kSettingTextSize);
    std::memcpy(settings().MatrixLibrary, group.data(), group.size());
  }
  return true;
}

}  // namespace gw
