// The "Texture" dialog's window procedure: what the user does goes to
// TextureDialogView; this file draws the preview and the colour swatches and
// asks the host for colours.
#include <windows.h>

#include <cstring>
#include <memory>

#include "base/le_bytes.h"
#include "controls/colour_request.h"
#include "controls/control_views_win32.h"
#include "materials/material_record.h"
#include "materials/texture_generate.h"
#include "platform/bitmap.h"
#include "platform/module.h"
#include "platform/win32/window_dialog_win32.h"
#include "platform/win32/window_handle_win32.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"
#include "ui/message_box.h"
#include "ui/name_prompt.h"
#include "ui/texture_dialog.h"
#include "ui/texture_dialog_view.h"
#include "ui/window_placement_win32.h"

namespace gw {
namespace {

constexpr char kHelpMissingText[] = "Help for the texture dialog is not available in this build.";

struct TextureWindow {
  const uint8_t* hostParams;
  const uint8_t* record;
  std::unique_ptr<WindowDialog> facade;
  std::unique_ptr<TextureDialogView> view;
};

TextureWindow* stateOf(HWND dialog) {
  return reinterpret_cast<TextureWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

bool isColourField(uint32_t id) {
  const TextureField* f = textureField(id);
  return f && (f->kind == TextureFieldKind::kColour || f->kind == TextureFieldKind::kRampColour);
}

void drawPreview(const TextureWindow& state, const DRAWITEMSTRUCT* d) {
  RECT area = d->rcItem;
  const int w = area.right - area.left, h = area.bottom - area.top;
  uint8_t settings[texture_settings::kSize];
  std::memcpy(settings, state.view->working(), sizeof settings);
  textureSetOutputRect(settings, 0, 0, w, h);
  MemBlock image(textureGenerate(settings));
  if (image.get()) {
    MemLock lock(image.get());
    BitmapView bitmap = BitmapView::of(lock);
    if (bitmap.valid()) {
      // A packed DIB checked by the view: GDI takes it as it is.
      StretchDIBits(d->hDC, area.left, area.top, w, h, 0, 0, bitmap.width(), bitmap.height(), bitmap.pixelData(),
                    reinterpret_cast<const BITMAPINFO*>(lock.data()), DIB_RGB_COLORS, SRCCOPY);
      return;
    }
  }
  FillRect(d->hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
}

void drawSwatch(const TextureWindow& state, const DRAWITEMSTRUCT* d) {
  RECT r = d->rcItem;
  DrawEdge(d->hDC, &r, (d->itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
  InflateRect(&r, -2, -2);
  HBRUSH brush = CreateSolidBrush(COLORREF(state.view->colourOf(d->CtlID)));
  FrameRect(d->hDC, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  InflateRect(&r, -1, -1);
  FillRect(d->hDC, &r, brush);
  DeleteObject(brush);
  if (d->itemState & ODS_FOCUS) {
    RECT f = d->rcItem;
    InflateRect(&f, -1, -1);
    DrawFocusRect(d->hDC, &f);
  }
}

void refresh(HWND dialog) {
  InvalidateRect(GetDlgItem(dialog, IDC_TEXTURE_PREVIEW), nullptr, FALSE);
  for (uint32_t id = IDC_TEXTURE_FIELD_FIRST; id <= IDC_TEXTURE_FIELD_LAST; ++id)
    if (isColourField(id)) InvalidateRect(GetDlgItem(dialog, int(id)), nullptr, FALSE);
}

TextureEvent eventOf(HWND control, UINT code, bool* known) {
  char cls[32] = {};
  GetClassNameA(control, cls, sizeof cls);
  *known = true;
  if (lstrcmpiA(cls, "Edit") == 0) {
    *known = code == EN_CHANGE;
    return TextureEvent::kEdit;
  }
  if (lstrcmpiA(cls, "ComboBox") == 0) {
    *known = code == CBN_SELCHANGE || code == CBN_CLOSEUP;
    return code == CBN_CLOSEUP ? TextureEvent::kCloseUp : TextureEvent::kSelect;
  }
  if (lstrcmpiA(cls, "ListBox") == 0) {
    *known = code == LBN_SELCHANGE || code == LBN_DBLCLK;
    return code == LBN_DBLCLK ? TextureEvent::kDoubleClick : TextureEvent::kSelect;
  }
  *known = code == BN_CLICKED;
  return TextureEvent::kClick;
}

INT_PTR onInit(HWND dialog, TextureWindow* state) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  state->facade = std::make_unique<WindowDialog>(dialog);
  // Groups are rewritten in place; the configuration has no backup switch yet.
  state->view = std::make_unique<TextureDialogView>(*state->facade, messageBoxPrompts(idFromHwnd(dialog)), false,
                                                    state->record);
  state->view->open(settings().DefaultTextureFileName);
  attachControlViews(dialog, softButtons());
  centreWindow(dialog);
  return TRUE;
}

INT_PTR onCommand(HWND dialog, TextureWindow* state, WPARAM wParam, LPARAM lParam) {
  const uint32_t id = LOWORD(wParam);
  if (id == IDC_HELP_BUTTON) {
    showMessage(idFromHwnd(dialog), kHelpMissingText);
    return TRUE;
  }
  if (id == IDCANCEL) {  // Escape
    EndDialog(dialog, 0);
    return TRUE;
  }
  if (isColourField(id)) {
    if (HIWORD(wParam) != BN_CLICKED) return TRUE;
    uint32_t colour = state->view->colourOf(id);
    if (requestColour(state->hostParams, idFromHwnd(dialog), &colour) && state->view->setColour(id, colour))
      refresh(dialog);
    return TRUE;
  }
  bool known = true;
  const TextureEvent event = lParam ? eventOf(reinterpret_cast<HWND>(lParam), HIWORD(wParam), &known)
                                    : TextureEvent::kClick;
  if (!known) return TRUE;
  const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  if (state->view->command(id, event, shift)) {
    EndDialog(dialog, state->view->result());
    return TRUE;
  }
  refresh(dialog);
  return TRUE;
}

INT_PTR CALLBACK textureProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return onInit(dialog, reinterpret_cast<TextureWindow*>(lParam));
  TextureWindow* state = stateOf(dialog);
  if (!state || !state->view) return FALSE;
  switch (message) {
    case WM_COMMAND:
      return onCommand(dialog, state, wParam, lParam);
    case WM_DRAWITEM: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (d->CtlID == IDC_TEXTURE_PREVIEW) drawPreview(*state, d);
      else if (isColourField(d->CtlID)) drawSwatch(*state, d);
      else return drawControlItem(dialog, d) ? TRUE : FALSE;
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

bool runTextureDialog(WindowId owner, const uint8_t* hostParams, uint8_t* material1270) {
  if (!material1270) return false;
  uint8_t* texture = material1270 + material::kTexture;
  TextureWindow state{hostParams, texture, nullptr, nullptr};
  INT_PTR r = DialogBoxParamA(static_cast<HINSTANCE>(moduleInstance()), MAKEINTRESOURCEA(IDD_TEXTURE),
                              hwndFromId(owner), textureProc, reinterpret_cast<LPARAM>(&state));
  if (r != 1 || !state.view) return false;
  std::memcpy(texture, state.view->working(), texture_settings::kSize);
  const std::string& group = state.view->groupFile();
  if (group.size() < kSettingTextSize) {
    std::memset(settings().DefaultTextureFileName, 0, kSettingTextSize);
    std::memcpy(settings().DefaultTextureFileName, group.data(), group.size());
  }
  return true;
}

}  // namespace gw
