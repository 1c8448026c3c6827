// The "Gradient" editor's dialog procedure: one small function per message;
// the logic is GradientEditorSession's.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <memory>

#include "base/le_bytes.h"
#include "controls/control_views_win32.h"
#include "controls/spin_field.h"
#include "platform/bitmap.h"
#include "platform/module.h"
#include "platform/win32/window_dialog_win32.h"
#include "platform/win32/window_handle_win32.h"
#include "ui/fountain_button.h"
#include "ui/gradient_editor.h"
#include "ui/message_box.h"

namespace gw {
namespace {

using namespace gradient_editor;

constexpr int kShapeBitmapFirst = 9920;

struct EditorRun {
  const uint8_t* hostParams;
  uint8_t* settings;
  std::unique_ptr<WindowDialog> facade;
  std::unique_ptr<GradientEditorSession> session;
  HBITMAP shapes[4] = {};
};

EditorRun* runOf(HWND dialog) { return reinterpret_cast<EditorRun*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

void setUpDownRanges(HWND dialog, WindowDialog& facade) {
  for (uint32_t id : {kRotation, kEdgePad, kCentreX, kCentreY, kMidpoint}) {
    const SpinRange r = spinFieldRange(facade, id);
    SendDlgItemMessageA(dialog, int(id + kSpinPartnerOffset), UDM_SETRANGE32, WPARAM(r.min), LPARAM(r.max));
  }
  SendDlgItemMessageA(dialog, int(kMidpointSlider), TBM_SETRANGE, FALSE, MAKELPARAM(1, 99));
}

INT_PTR onInit(HWND dialog, EditorRun* run) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(run));
  run->facade = std::make_unique<WindowDialog>(dialog);
  setUpDownRanges(dialog, *run->facade);
  run->session = std::make_unique<GradientEditorSession>(*run->facade, run->hostParams, run->settings);
  GradientEditorSession& session = *run->session;
  session.showMidpointSlider = [dialog](int value) {
    SendDlgItemMessageA(dialog, int(kMidpointSlider), TBM_SETPOS, TRUE, value);
  };
  session.repaintControl = [dialog](uint32_t id) { InvalidateRect(GetDlgItem(dialog, int(id)), nullptr, FALSE); };
  for (int i = 0; i < 4; ++i)
    run->shapes[i] = LoadBitmapA(static_cast<HINSTANCE>(moduleInstance()), MAKEINTRESOURCEA(kShapeBitmapFirst + i));
  RECT preview;
  GetClientRect(GetDlgItem(dialog, int(kPreview)), &preview);
  session.setPreviewSize(preview.right, preview.bottom);
  if (!session.start()) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  if (softButtons()) attachControlViews(dialog, true);
  return TRUE;
}

void drawPreview(EditorRun& run, const DRAWITEMSTRUCT& item) {
  MemLock lock(run.session->preview());
  BitmapView view = lock ? BitmapView::of(lock) : BitmapView();
  if (!view.valid()) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  SetDIBitsToDevice(item.hDC, item.rcItem.left, item.rcItem.top, DWORD(view.width()), DWORD(view.height()), 0, 0, 0,
                    UINT(view.height()), view.pixelData(), reinterpret_cast<const BITMAPINFO*>(lock.data()),
                    DIB_RGB_COLORS);
}

// A shape button: its picture in a button that stays pushed while it is the shape.
void drawShapeButton(EditorRun& run, const DRAWITEMSTRUCT& item) {
  const int index = int(item.CtlID - kShapeLinear);
  const bool chosen = index == run.session->shape();
  RECT r = item.rcItem;
  FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(item.hDC, &r, chosen || (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  if (HDC memory = CreateCompatibleDC(item.hDC)) {
    HGDIOBJ old = SelectObject(memory, run.shapes[index]);
    BITMAP b = {};
    GetObjectA(run.shapes[index], sizeof b, &b);
    const int x = (r.left + r.right - b.bmWidth) / 2;
    const int y = (r.top + r.bottom - b.bmHeight) / 2;
    BitBlt(item.hDC, x, y, b.bmWidth, b.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  if (chosen) {
    // The chosen shape is framed in the selection colour, plain to see.
    RECT frame = {r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
    for (int i = 0; i < 2; ++i) {
      FrameRect(item.hDC, &frame, GetSysColorBrush(COLOR_HIGHLIGHT));
      InflateRect(&frame, -1, -1);
    }
  }
  if (item.itemState & ODS_FOCUS) {
    RECT focus = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    DrawFocusRect(item.hDC, &focus);
  }
}

// "Start" and "End": a push button with the colour as a swatch beside its name.
void drawColourButton(EditorRun& run, const DRAWITEMSTRUCT& item) {
  const bool enabled = !(item.itemState & ODS_DISABLED);
  RECT r = item.rcItem;
  DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | ((item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
  const size_t offset = item.CtlID == kStartColour ? gradient::kStartColour : gradient::kEndColour;
  const COLORREF colour = readU32(run.session->settings() + offset) & 0xFFFFFF;
  const int h = r.bottom - r.top;
  RECT swatch = {r.left + 4, r.top + 4, r.left + 4 + (h - 8) * 3 / 2, r.bottom - 4};
  if (enabled) {
    HBRUSH brush = CreateSolidBrush(colour);
    if (brush) {
      FillRect(item.hDC, &swatch, brush);
      DeleteObject(brush);
    }
  }
  FrameRect(item.hDC, &swatch, GetSysColorBrush(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  // The window text mirrors the colour as a number; the name is fixed.
  const char* name = item.CtlID == kStartColour ? "Start" : "End";
  RECT label = {swatch.right + 3, r.top, r.right - 2, r.bottom};
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  DrawTextA(item.hDC, name, -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = {r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
    DrawFocusRect(item.hDC, &focus);
  }
}

INT_PTR onDrawItem(HWND dialog, const DRAWITEMSTRUCT* item) {
  EditorRun* run = runOf(dialog);
  if (!run || !run->session) return FALSE;
  if (item->CtlID == kPreview) drawPreview(*run, *item);
  else if (item->CtlID >= kShapeLinear && item->CtlID <= kShapeRectangular) drawShapeButton(*run, *item);
  else if (item->CtlID == kStartColour || item->CtlID == kEndColour) drawColourButton(*run, *item);
  else return drawControlItem(dialog, item) ? TRUE : FALSE;
  return TRUE;
}

INT_PTR onCommand(HWND dialog, WPARAM wParam) {
  EditorRun* run = runOf(dialog);
  if (!run || !run->session) return FALSE;
  const uint32_t id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  char cls[16] = {};
  GetClassNameA(GetDlgItem(dialog, int(id)), cls, sizeof cls);
  ControlEvent event = ControlEvent::kOther;
  if (lstrcmpiA(cls, "Edit") == 0) event = code == EN_CHANGE ? ControlEvent::kChange : ControlEvent::kOther;
  else if (code == BN_CLICKED) event = ControlEvent::kClick;
  bool accepted = false;
  if (!run->session->command(id, event, &accepted)) return TRUE;
  if (accepted) std::memcpy(run->settings, run->session->settings(), kGradientSettingsSize);
  EndDialog(dialog, accepted ? 1 : 0);
  return TRUE;
}

INT_PTR CALLBACK editorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return onInit(dialog, reinterpret_cast<EditorRun*>(lParam));
    case WM_COMMAND:
      return onCommand(dialog, wParam);
    case WM_DRAWITEM:
      return onDrawItem(dialog, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_HSCROLL:
      if (EditorRun* run = runOf(dialog); run && run->session &&
                                          reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, int(kMidpointSlider)))
        run->session->midpointSliderMoved(int(SendMessageA(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0)));
      return TRUE;
    case WM_DESTROY:
      if (EditorRun* run = runOf(dialog)) {
        run->session.reset();
        run->facade.reset();
        for (HBITMAP& b : run->shapes)
          if (b) DeleteObject(b);
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

bool runGradientEditor(WindowId owner, const uint8_t* hostParams, uint8_t* settings621) {
  if (!settings621 || !registerFountainButtonClass()) return false;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  EditorRun run{hostParams, settings621, nullptr, nullptr, {}};
  HWND ownerWindow = hwndFromId(owner);
  const INT_PTR result = DialogBoxParamA(static_cast<HINSTANCE>(moduleInstance()), kTemplateName, ownerWindow,
                                         editorProc, reinterpret_cast<LPARAM>(&run));
  if (ownerWindow) {
    InvalidateRect(ownerWindow, nullptr, TRUE);
    UpdateWindow(ownerWindow);
  }
  return result == 1;
}

namespace testing {
void setGradientEditorResponder(GradientEditorResponder) {}
}  // namespace testing

}  // namespace gw
