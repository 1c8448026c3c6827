// The main dialog (resource 1000). Its duties are portable and act on a
// DialogFacade; main_dialog_win32.cpp runs it with real windows and
// main_dialog_native.cpp in memory.
//
// Building is not wired here yet: Build and Test answer with "Unsupported
// function" until the build pipeline lands (issue 7).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/dialog_facade.h"

namespace gw {

// Runs the dialog modally; returns the id that ended it (1 Build, 2 Cancel).
int runMainDialog(WindowId owner, const uint8_t* params);

// WM_INITDIALOG duties: keeps the HostParams pointer for the run, asks the
// host for the file-dialog size (21) and the settings "EditListMaximum" and
// "SoftButtons" (17).
void mainDialogInit(DialogFacade& dialog, const uint8_t* params, int screenWidth, int screenHeight);

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
