// The plug-in's file dialogs for effect documents ("GW5 files" *.GW5, "All
// files" *.*, default extension GW5), each with the plug-in's hook: soft OK
// and Cancel when the host wants soft buttons, centred on the screen, at the
// remembered size (ui/file_dialog_size.h), whose size is remembered when it
// closes.
//
//   char path[gw::kFileNameBufferSize] = "...";
//   if (gw::chooseDocumentToSave(dialog.window(), path)) saveDocument(dialog, path);
#pragma once

#include <cstddef>

#include "platform/window.h"

namespace gw {

constexpr size_t kFileNameBufferSize = 260;

// Open: starts in the folder of the path in `path` with the first filter;
// the file must exist. True with the chosen path in `path` when the user
// confirmed.
bool chooseDocumentToOpen(WindowId owner, char (&path)[kFileNameBufferSize]);

// Save: starts with the path in `path`; asks before overwriting. True with
// the chosen path in `path` when the user confirmed.
bool chooseDocumentToSave(WindowId owner, char (&path)[kFileNameBufferSize]);

}  // namespace gw
