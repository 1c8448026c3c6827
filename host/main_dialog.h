// The main dialog (resource 1000). Its duties are portable and act on a
// DialogFacade; main_dialog_win32.cpp runs it with real windows and
// main_dialog_native.cpp in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "controls/bound_control.h"
#include "platform/dialog_facade.h"
#include "platform/memory.h"

namespace gw {

// Runs the dialog modally; returns the id that ended it (1 Build, 2 Cancel).
int runMainDialog(WindowId owner, const uint8_t* params);

// WM_INITDIALOG duties: keeps the HostParams pointer for the run, asks the
// host for the file-dialog size (21) and the settings "EditListMaximum" and
// "SoftButtons" (17), loads the configuration file, fills the controls and
// lists from the settings, creates every effect page and selects
// `MainEffect`. False when a page could not be made: the message "This plugin
// could not be initialized" has been shown and the dialog is to close.
bool mainDialogInit(DialogFacade& dialog, const uint8_t* params, int screenWidth, int screenHeight);

// A notification from a bound control (anything but a push button): stores
// the control's value in its variable. True when the sample refresh timer
// (UpdateDelay ms) is to restart. A change of the effect list shows the
// selected effect's page.
bool mainDialogControlEvent(DialogFacade& dialog, uint32_t id, ControlEvent event);

// The sample window's still: the selected effect's preview for an area of
// width x height pixels, and the colour to fill around it (-1: none single).
// `image` is 0 when the effect made nothing; the caller frees it.
struct SampleStill {
  MemHandle image = 0;
  int32_t background = -1;
};
SampleStill mainDialogSample(DialogFacade& dialog, int width, int height);

// WM_DESTROY duties: `IsFirst` becomes 0 and the configuration file is saved.
void mainDialogDestroy(DialogFacade& dialog);

// The sample refresh timer's id and the delay it is set to.
constexpr uint32_t kRefreshTimerId = 15;
uint32_t refreshDelayMs();

// A command from a control. Returns true when the dialog is to end, with the
// id to end it with in *endWith.
bool mainDialogCommand(DialogFacade& dialog, uint32_t id, int* endWith);

// Natively the dialog has no user: a driver presses its buttons. It is given
// the dialog after initialisation and returns the control ids to press in
// order (a command that ends the dialog stops the list). The default driver
// presses Cancel.
using MainDialogDriver = std::function<std::vector<uint32_t>(DialogFacade& dialog)>;
void setMainDialogDriver(MainDialogDriver driver);

}  // namespace gw
