// Bound controls: each keeps one variable of the settings record equal to
// what it shows. This is the portable half of every control kind; the Win32
// views (controls/*_win32.cpp) only forward to it.
//
//   gw::bindControl(dialog, 57, gw::ControlKind::kSpinField, &settings().MainFontSize);
//   ...
//   auto r = gw::handleControlCommand(dialog, id, gw::ControlEvent::kChange, picker);
//   if (r.restartRefresh) restartTimer();
//   if (r.checkBuildButton) gw::updateBuildButton(dialog);
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "controls/control_kind.h"
#include "platform/dialog_facade.h"

namespace gw {

// Text controls are bound to buffers of this size (at most 259 characters
// and the terminator are stored).
constexpr size_t kBoundTextSize = 260;

// Set-up of one control: the control shows the variable's value first, then
// the binding is recorded. `variable` may be null: the control works but
// writes nothing back. Pads need a variable to start from; without one they
// start at 0.
void bindControl(DialogFacade& dialog, uint32_t id, ControlKind kind, void* variable);

// Shows the bound variable's current value (after the variable changed).
void showBoundValue(DialogFacade& dialog, uint32_t id);

ControlKind boundKindOf(const DialogFacade& dialog, uint32_t id);

// What a control reported, in portable terms.
enum class ControlEvent {
  kChange,   // an edit's text changed (EN_CHANGE), a list's selection changed
  kClick,    // a button was clicked
  kCloseUp,  // a drop-down list closed (CBN_CLOSEUP)
  kOther,
};

// Asks the user for a colour: in, the current one; false when cancelled.
using ColourPicker = std::function<bool(uint32_t* colour)>;

struct CommandResult {
  bool stored = false;            // the bound variable was written
  bool restartRefresh = false;    // restart the sample refresh timer
  bool checkBuildButton = false;  // call updateBuildButton
};

// The owning dialog's share of a WM_COMMAND from control `id` (a spin
// field's partner stands for its edit). Ids below 50 never restart the
// refresh.
CommandResult handleControlCommand(DialogFacade& dialog, uint32_t id, ControlEvent event,
                                   const ColourPicker& pickColour);

// "Build" (1) is enabled only while the main text field (52) is not empty.
void updateBuildButton(DialogFacade& dialog);

// The value of a document line: what follows its first "=", after any
// further "=" and blanks. False when the line has no "=".
bool documentLineValue(const std::string& line, std::string* value);

// A control's line in an effect document ("SPNBTN108=255"), or "" for
// controls that write none. Gradient, material and animation controls write
// their own lines (their kinds return "" here).
std::string controlDocumentLine(const DialogFacade& dialog, uint32_t id);

// Applies one document line to control `id`; false when the line's tag is not
// the control's own (compared without regard to case) or it has no "=".
bool applyControlDocumentLine(DialogFacade& dialog, uint32_t id, const std::string& line);

}  // namespace gw
