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

// WM_DESTROY duties: `IsFirst` becomes 0, the configuration file is saved and
// every material button writes its file and frees its record.
void mainDialogDestroy(DialogFacade& dialog);

// The sample refresh timer's id and the delay it is set to.
constexpr uint32_t kRefreshTimerId = 15;
uint32_t refreshDelayMs();

// A command from a control. Returns true when the dialog is to end, with the
// id to end it with in *endWith.
bool mainDialogCommand(DialogFacade& dialog, uint32_t id, int* endWith);

// The "Open/Save" button's menu.
enum class DocumentCommand { kOpen, kSave, kSaveAs };

// Asks the user for a document: in, the current document's path (260-byte
// buffer); out, the chosen one. False when the user cancelled.
using DocumentChooser = std::function<bool(DocumentCommand command, char* path260)>;

// Runs a document command on `CurrentFileName`, telling the host before and
// after the file dialog (codes 19 and 20, with the path buffer). "Open"
// reads the chosen document and makes it current whether or not it could be
// read; "Save" saves to the current document unless it is "untitled.gw5",
// which is saved as a new one; "Save as..." saves to the chosen path and
// makes it current. True when a document was read: the caller then runs
// mainDialogDocumentLoaded (the DLL through message 1224).
bool mainDialogDocumentCommand(DialogFacade& dialog, DocumentCommand command, const DocumentChooser& choose);

// Message 1224, after a document was read: the selected effect's page is
// shown and the others hidden, and "Build" is enabled only while the text is
// not empty.
void mainDialogDocumentLoaded(DialogFacade& dialog);

// Natively the dialog has no user: a driver presses its buttons. It is given
// the dialog after initialisation and returns the control ids to press in
// order (a command that ends the dialog stops the list). The default driver
// presses Cancel.
using MainDialogDriver = std::function<std::vector<uint32_t>(DialogFacade& dialog)>;
void setMainDialogDriver(MainDialogDriver driver);

}  // namespace gw
