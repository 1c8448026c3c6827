// The button's file and "Add to library" go to materials/fountain_file.* and
// materials/fountain_library.*; "Manage library" opens the library dialog.
#include "ui/fountain_library_access.h"

#include "materials/fountain_file.h"
#include "materials/fountain_library.h"
#include "materials/fountain_record.h"
#include "ui/fountain_library_dialog.h"

namespace gw {

LibraryOutcome addFountainToLibrary(const uint8_t* fountain581) {
  const std::string path = fountainLibraryPath();
  if (path.empty()) return LibraryOutcome::kFailed;
  return fountainLibraryAdd(path, fountain581) ? LibraryOutcome::kDone : LibraryOutcome::kFailed;
}

LibraryOutcome manageFountainLibrary(WindowId owner, uint8_t* fountain581) {
  return runFountainLibraryDialog(owner, fountain581) == 1 ? LibraryOutcome::kDone : LibraryOutcome::kCancelled;
}

MemHandle readFountainButtonFile(uint32_t controlId, bool wanted) {
  const std::string path = fountainFilePath(int32_t(controlId));
  return path.empty() ? 0 : fountainFileRead(path, wanted);
}

bool writeFountainButtonFile(uint32_t controlId, const uint8_t* fountain581) {
  const std::string path = fountainFilePath(int32_t(controlId));
  return !path.empty() && fountainFileWrite(path, fountain581);
}

}  // namespace gw
