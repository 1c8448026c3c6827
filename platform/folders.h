// Per-user folders and the module folder. Every path returned ends in the
// platform's separator, or is empty when the folder cannot be found.
//
// Natively the folders follow the XDG conventions and can be redirected by
// environment variables, so tests run in a temporary folder:
//   GLYPHWRIGHT_APPDATA    per-user application data (else $XDG_DATA_HOME or ~/.local/share)
//   GLYPHWRIGHT_DOCUMENTS  the user's documents (else $XDG_DOCUMENTS_DIR, ~/Documents or ~)
//   GLYPHWRIGHT_MODULE_DIR the folder of the "module" (else the executable's folder)
#pragma once

#include <string>
#include <vector>

namespace gw {

char pathSeparator();
std::string appDataFolder();
std::string documentsFolder();
std::string moduleFolder();

// `folder` with a separator at its end (unless empty), then `name`; empty when
// the result would exceed the 260-character path limit.
std::string joinPath(const std::string& folder, const std::string& name);

// Makes the folder (one level) unless it is there; true when it exists after.
bool makeFolder(const std::string& path);

// Names of the plain files in `folder` (no sub-folders), in no set order;
// empty when the folder cannot be read.
std::vector<std::string> filesInFolder(const std::string& folder);
// Makes the folders a file's path leads through that are not there yet (the
// maker's folder and the plug-in's below it on a first run). True when the
// file's folder is there afterwards.
bool makeFolderFor(const std::string& filePath);

}  // namespace gw
