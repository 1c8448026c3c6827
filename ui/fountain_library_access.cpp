// The button's file and "Add to library" go to materials/fountain_file.* and
// materials/fountain_library.*. The library dialog (ui/fountain_library_dialog.*)
// is not part of this build yet: until it is, "Manage library" says plainly
// that it is not available.
#include "ui/fountain_library_access.h"

#include "materials/fountain_file.h"
#include "materials/fountain_library.h"
#include "materials/fountain_record.h"

namespace gw {

const char kLibraryUnavailableMessage[] = "The fountain library dialog is not available in this build.";

LibraryOutcome addFountainToLibrary(const uint8_t* fountain581) {
  const std::string path = fountainLibraryPath();
  if (path.empty()) return LibraryOutcome::kFailed;
  return fountainLibraryAdd(path, fountain581) ? LibraryOutcome::kDone : LibraryOutcome::kFailed;
}

LibraryOutcome manageFountainLibrary(WindowId, uint8_t*) { return LibraryOutcome::kUnavailable; }

MemHandle readFountainButtonFile(uint32_t controlId, bool wanted) {
  const std::string path = fountainFilePath(int32_t(controlId));
  return path.empty() ? 0 : fountainFileRead(path, wanted);
}

bool writeFountainButtonFile(uint32_t controlId, const uint8_t* fountain581) {
  const std::string path = fountainFilePath(int32_t(controlId));
  return !path.empty() && fountainFileWrite(path, fountain581);
}

}  // namespace gw
