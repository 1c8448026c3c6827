// The main dialog's window procedure: one small function per message, the
// duties themselves in main_dialog.cpp and the controls' views in controls/.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <memory>

#include "controls/control_views_win32.h"
#include "host/main_dialog.h"
#include "platform/bitmap.h"
#include "platform/module.h"
#include "platform/win32/window_handle_win32.h"
#include "platform/win32/window_dialog_win32.h"
#include "resources/resource_ids.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"

namespace gw {
namespace {

// Posted to the main dialog to repaint the sample (after a material or
// gradient change, and when the refresh timer fires).
constexpr UINT kSampleRepaintMessage = 1327;
// Sent to the main dialog after a document has been read.
constexpr UINT kDocumentLoadedMessage = 1224;

WindowDialog* facadeOf(HWND dialog) {
  return reinterpret_cast<WindowDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR onInitDialog(HWND dialog, LPARAM params) {
  auto* facade = new WindowDialog(dialog);
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(facade));
  if (!mainDialogInit(*facade, reinterpret_cast<const uint8_t*>(params), GetSystemMetrics(SM_CXSCREEN),
                      GetSystemMetrics(SM_CYSCREEN))) {
    EndDialog(dialog, IDC_CANCEL);
    return TRUE;
  }
  attachControlViews(dialog, softButtons());
  return TRUE;
}

bool isPushButton(uint32_t id) {
  return id == IDC_BUILD || id == IDC_CANCEL || id == IDC_HELP_BUTTON || id == IDC_TEST || id == IDC_OPEN_SAVE;
}

// What a notification code means for the kind of window that sent it.
ControlEvent eventOf(HWND control, UINT code) {
  char cls[32] = {};
  GetClassNameA(control, cls, sizeof cls);
  if (lstrcmpiA(cls, "Edit") == 0) return code == EN_CHANGE ? ControlEvent::kChange : ControlEvent::kOther;
  if (lstrcmpiA(cls, "ComboBox") == 0) {
    if (code == CBN_CLOSEUP) return ControlEvent::kCloseUp;
    return code == CBN_SELCHANGE ? ControlEvent::kChange : ControlEvent::kOther;
  }
  return code == BN_CLICKED ? ControlEvent::kClick : ControlEvent::kOther;
}

bool chooseDocument(HWND dialog, DocumentCommand command, char* path) {
  auto& buffer = *reinterpret_cast<char(*)[kFileNameBufferSize]>(path);
  const WindowId owner = WindowId(reinterpret_cast<uintptr_t>(dialog));
  return command == DocumentCommand::kOpen ? chooseDocumentToOpen(owner, buffer)
                                           : chooseDocumentToSave(owner, buffer);
}

// "Open/Save": a pop-up menu at the mouse with the three document commands;
// the one picked comes back as a WM_COMMAND.
void onOpenSave(HWND dialog) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return;
  AppendMenuA(menu, MF_STRING, IDM_DOCUMENT_OPEN, "Open");
  AppendMenuA(menu, MF_STRING, IDM_DOCUMENT_SAVE, "Save");
  AppendMenuA(menu, MF_STRING, IDM_DOCUMENT_SAVE_AS, "Save as...");
  POINT at;
  GetCursorPos(&at);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, dialog, nullptr);
  DestroyMenu(menu);
}

bool isDocumentCommand(uint32_t id) { return id >= IDM_DOCUMENT_OPEN && id <= IDM_DOCUMENT_SAVE_AS; }

void onDocumentCommand(HWND dialog, WindowDialog& facade, uint32_t id) {
  const DocumentCommand command = id == IDM_DOCUMENT_OPEN   ? DocumentCommand::kOpen
                                  : id == IDM_DOCUMENT_SAVE ? DocumentCommand::kSave
                                                            : DocumentCommand::kSaveAs;
  auto choose = [dialog](DocumentCommand c, char* path) { return chooseDocument(dialog, c, path); };
  if (mainDialogDocumentCommand(facade, command, choose)) SendMessageA(dialog, kDocumentLoadedMessage, 0, 0);
}

void onDocumentLoaded(HWND dialog) {
  if (WindowDialog* facade = facadeOf(dialog)) mainDialogDocumentLoaded(*facade);
  // Pads, colour and material buttons show what the lines gave them.
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  SetTimer(dialog, kRefreshTimerId, refreshDelayMs(), nullptr);
}

INT_PTR onCommand(HWND dialog, WPARAM wParam, LPARAM lParam) {
  WindowDialog* facade = facadeOf(dialog);
  if (!facade) return FALSE;
  const uint32_t id = LOWORD(wParam);
  if (id == IDC_OPEN_SAVE) {
    if (HIWORD(wParam) == BN_CLICKED) onOpenSave(dialog);
    return TRUE;
  }
  if (isDocumentCommand(id) && lParam == 0) {
    onDocumentCommand(dialog, *facade, id);
    return TRUE;
  }
  if (isPushButton(id)) {
    int endWith = 0;
    if (mainDialogCommand(*facade, id, &endWith)) EndDialog(dialog, endWith);
    return TRUE;
  }
  // Controls report while the dialog fills them; only what the user does counts.
  if (!IsWindowVisible(dialog) || !lParam) return TRUE;
  const ControlEvent event = eventOf(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
  if (event == ControlEvent::kOther && HIWORD(wParam) != BN_CLICKED) {
    // Edits' focus changes and the like store nothing.
    char cls[32] = {};
    GetClassNameA(reinterpret_cast<HWND>(lParam), cls, sizeof cls);
    if (lstrcmpiA(cls, "ComboBox") != 0) return TRUE;
  }
  if (mainDialogControlEvent(*facade, id, event)) SetTimer(dialog, kRefreshTimerId, refreshDelayMs(), nullptr);
  return TRUE;
}

void onRefresh(HWND dialog) {
  KillTimer(dialog, kRefreshTimerId);
  InvalidateRect(GetDlgItem(dialog, IDC_SAMPLE), nullptr, FALSE);
}

// The still centred in the sample area (scaled down to fit when asked), the
// margin in the effect's background colour, its size shown below.
void drawSample(HWND dialog, const DRAWITEMSTRUCT* d) {
  WindowDialog* facade = facadeOf(dialog);
  const RECT area = d->rcItem;
  const int areaW = area.right - area.left, areaH = area.bottom - area.top;
  SampleStill still = facade ? mainDialogSample(*facade, areaW, areaH) : SampleStill{};
  const COLORREF margin = still.background >= 0 ? COLORREF(still.background) : GetSysColor(COLOR_BTNFACE);
  HBRUSH brush = CreateSolidBrush(still.image ? margin : GetSysColor(COLOR_BTNFACE));
  FillRect(d->hDC, &area, brush);
  DeleteObject(brush);
  std::string caption;
  if (still.image) {
    MemLock lock(still.image);
    BitmapView view = BitmapView::of(lock);
    if (view.valid()) {
      int w = view.width(), h = view.height();
      caption = std::to_string(w) + " x " + std::to_string(h) + " pixels";
      int drawW = w, drawH = h;
      if (facade && facade->checked(IDC_FIT_SAMPLE) && (w > areaW || h > areaH)) {
        // Scaled by the tighter of the two ratios, keeping the shape.
        if (int64_t(w) * areaH > int64_t(h) * areaW) {
          drawW = areaW;
          drawH = int(int64_t(h) * areaW / w);
        } else {
          drawH = areaH;
          drawW = int(int64_t(w) * areaH / h);
        }
      }
      // The block is a packed DIB checked by the view above: GDI takes it as it is.
      const auto* info = reinterpret_cast<const BITMAPINFO*>(lock.data());
      const uint8_t* bits = view.pixelData();
      SetStretchBltMode(d->hDC, HALFTONE);
      StretchDIBits(d->hDC, area.left + (areaW - drawW) / 2, area.top + (areaH - drawH) / 2, drawW, drawH, 0, 0, w,
                    h, bits, info, DIB_RGB_COLORS, SRCCOPY);
    }
  }
  if (still.image) memFree(still.image);
  SetDlgItemTextA(dialog, IDC_SAMPLE_SIZE, caption.c_str());
}

INT_PTR onDrawItem(HWND dialog, const DRAWITEMSTRUCT* item) {
  if (item->CtlID == IDC_SAMPLE) {
    drawSample(dialog, item);
    return TRUE;
  }
  return drawControlItem(dialog, item) ? TRUE : FALSE;
}

INT_PTR onMeasureItem(MEASUREITEMSTRUCT* item) {
  // Asked while the dialog is still being made, before anything is bound.
  if (item->CtlType == ODT_COMBOBOX && item->CtlID == IDC_FONT) {
    item->itemHeight = item->itemID == UINT(-1) ? 18 : 22;
    return TRUE;
  }
  return FALSE;
}

void onDestroy(HWND dialog) {
  KillTimer(dialog, kRefreshTimerId);
  if (WindowDialog* facade = facadeOf(dialog)) mainDialogDestroy(*facade);
  delete facadeOf(dialog);
  SetWindowLongPtrA(dialog, DWLP_USER, 0);
}

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return onInitDialog(dialog, lParam);
    case WM_COMMAND: return onCommand(dialog, wParam, lParam);
    case WM_TIMER:
      if (wParam == kRefreshTimerId) onRefresh(dialog);
      return TRUE;
    case kSampleRepaintMessage: onRefresh(dialog); return TRUE;
    case kDocumentLoadedMessage: onDocumentLoaded(dialog); return TRUE;
    case WM_DRAWITEM: return onDrawItem(dialog, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_MEASUREITEM: return onMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DESTROY: onDestroy(dialog); return FALSE;
    default: return FALSE;
  }
}

}  // namespace

void setMainDialogDriver(MainDialogDriver) {}

int runMainDialog(WindowId owner, const uint8_t* params) {
  // The spin fields' arrows are common controls.
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  INT_PTR r = DialogBoxParamA(static_cast<HINSTANCE>(moduleInstance()), MAKEINTRESOURCEA(IDD_MAIN),
                              hwndFromId(owner), mainDialogProc,
                              reinterpret_cast<LPARAM>(params));
  return r > 0 ? int(r) : 0;
}

}  // namespace gw
