// Notification codes of the standard controls as the views' events.
#pragma once

#include <windows.h>

#include "ui/dialog_event.h"

namespace gw {

// The event a WM_COMMAND notification `code` from `control` stands for;
// *known is false for codes the views do not take (focus changes and the like).
DialogEvent dialogEventOf(HWND control, UINT code, bool* known);

}  // namespace gw
