// The command-line host has no user to ask: a file dialog is never
// confirmed. Tests of the document commands pass their own chooser.
#include "ui/file_dialog.h"

namespace gw {

bool chooseDocumentToOpen(WindowId, char (&)[kFileNameBufferSize]) { return false; }
bool chooseDocumentToSave(WindowId, char (&)[kFileNameBufferSize]) { return false; }

}  // namespace gw
