// What a fountain button needs of the fountain library and of its own file,
// in one place so the button does not care how they are kept.
#pragma once

#include <cstdint>

#include "platform/memory.h"
#include "platform/window.h"

namespace gw {

enum class LibraryOutcome { kDone, kFailed, kCancelled };

// "Add to library": appends the ramp as a new library entry.
LibraryOutcome addFountainToLibrary(const uint8_t* fountain581);
// "Manage library": the library dialog; kDone when OK replaced the ramp.
LibraryOutcome manageFountainLibrary(WindowId owner, uint8_t* fountain581);

// The button's own file ("Fountain%05.5d.mtrl" by control id): a new
// 581-byte record, or 0 when it is not wanted, missing or foreign.
MemHandle readFountainButtonFile(uint32_t controlId, bool wanted);
// Writes the record when its write-back flag is set.
bool writeFountainButtonFile(uint32_t controlId, const uint8_t* fountain581);

}  // namespace gw
