// Effect document files: saving a dialog's state to a file and opening one,
// with the plug-in's messages when that fails.
//
//   if (gw::saveDocument(dialog, path)) ...       // atomic: a failure keeps the old file
//   if (gw::openDocument(dialog, path)) mainDialogDocumentLoaded(dialog);
#pragma once

#include <string>
#include <vector>

#include "documents/document_text.h"
#include "platform/dialog_facade.h"

namespace gw {

extern const char kDocumentCreateError[];  // "There has been an error creating the requested file."
extern const char kDocumentOpenError[];    // "There has been an error opening the requested file."
extern const char kDocumentDamaged[];      // "This file has been damaged."

// Writes the dialog's document to a temporary beside `path` and renames it
// into place. On failure the message is shown, any previous file at `path`
// is left whole, and false is returned.
bool saveDocument(DialogFacade& dialog, const std::string& path);

// Reads `path` and applies its lines to the dialog. On failure (the file
// cannot be read, or its first line does not identify a document) the
// message is shown, nothing is changed and false is returned. The caller
// runs the dialog's document-loaded duties after success.
bool openDocument(DialogFacade& dialog, const std::string& path, std::vector<DocumentLine>* report = nullptr);

// The whole file, or false when it cannot be opened or read.
bool readDocumentFile(const std::string& path, std::string* bytes);

// True when the file name of `path` (after its last separator) is
// "untitled.gw5" in any case: such a document is saved as a new one.
bool isUntitledDocument(const std::string& path);

}  // namespace gw
