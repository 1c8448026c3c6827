// The Win32 views of the bound controls: thin window procedures and owner
// drawing over the portable models (bound_control.h, pad_model.h,
// spin_field.h). The dialog that owns the controls calls these.
//
//   attachControlViews(dialog, softButtons());      // after binding, in WM_INITDIALOG
//   case WM_DRAWITEM:    return drawControlItem(dialog, item);
//   case WM_MEASUREITEM: return measureControlItem(dialog, item);
#pragma once

#include <windows.h>

namespace gw {

// Gives every bound child of `dialog` its view: pads are subclassed and
// resized to 75 x 75, spin partners get their range and position from their
// text (the edit then shows its variable again), and with `softButtons` the
// push buttons are drawn flat.
void attachControlViews(HWND dialog, bool softButtons);

// Owner drawing of colour buttons, font-list items and soft push buttons;
// false when the item is none of these.
bool drawControlItem(HWND dialog, const DRAWITEMSTRUCT* item);
bool measureControlItem(HWND dialog, MEASUREITEMSTRUCT* item);

// Draws one push button flat (its owner then draws it through
// drawControlItem); the file dialogs' hook does this for OK and Cancel.
void makeSoftButton(HWND button);

// Repaints a pad after its value changed from outside (a document line).
void refreshPad(HWND pad);

}  // namespace gw
