// The fountain library and the per-button fountain file are kept by
// materials/fountain_file.* and materials/fountain_library.*, and the library
// dialog by ui/fountain_library_dialog.*. Until those are part of this build
// the button says plainly that the library is not available, and keeps its
// ramp only for the session.
#include "ui/fountain_library_access.h"

namespace gw {

const char kLibraryUnavailableMessage[] = "The fountain library is not available in this build.";

LibraryOutcome addFountainToLibrary(const uint8_t*) { return LibraryOutcome::kUnavailable; }

LibraryOutcome manageFountainLibrary(WindowId, uint8_t*) { return LibraryOutcome::kUnavailable; }

MemHandle readFountainButtonFile(uint32_t, bool) { return 0; }

bool writeFountainButtonFile(uint32_t, const uint8_t*) { return false; }

}  // namespace gw
