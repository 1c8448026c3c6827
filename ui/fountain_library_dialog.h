// The "Gradient Library" dialog: the user reorders (by dragging), deletes and
// picks fountains of the library; OK writes the library back and gives the
// caller's record the picked ramp.
//
//   if (gw::runFountainLibraryDialog(window, record581) == 1) ...repaint the ramp
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/dialog_facade.h"
#include "platform/window.h"
#include "ui/fountain_library_session.h"

namespace gw {

// 1 when OK was pressed (the record's ramp is then the selected entry's, its
// flags unchanged), 0 otherwise. Shows its messages itself.
int runFountainLibraryDialog(WindowId owner, uint8_t* fountain581);

// The dialog's template name in the resources.
extern const char kFountainLibraryTemplate[];

// Natively there is no user: the driver plays one on the in-memory dialog
// once it is filled (selecting, dropping through the session) and returns
// the buttons it presses in order. Without a driver the dialog is cancelled.
// On Windows the real dialog runs and the driver is not used.
using FountainLibraryDriver = std::function<std::vector<uint32_t>(DialogFacade& dialog, FountainLibrarySession& session)>;
void setFountainLibraryDriver(FountainLibraryDriver driver);

}  // namespace gw
