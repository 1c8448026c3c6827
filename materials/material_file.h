// Material files: each material button keeps its record in a file of its own,
// "Material<id>.mtrl" in the plug-in's folder, keyed by the control id, so a
// material survives from one opening of the dialog to the next.
//
//   gw::MemBlock rec(gw::materialFileRead(gw::materialFilePath(id), 0x0000FF, !shiftHeld));
//   ...
//   gw::materialFileWrite(gw::materialFilePath(id), record);
#pragma once

#include <cstdint>
#include <string>

#include "platform/memory.h"

namespace gw {

// The file of the button with this control id: "Glyphwright 5" and
// "Material%05.5d.mtrl" under the maker's folder; empty when the
// application-data folder is unknown.
std::string materialFilePath(int32_t controlId);

// A new 1270-byte record block. It starts as the defaults (without the
// default tile) in `defaultColour`; with `readFile`, a file at `path` of at
// least 1270 bytes that starts with the material magic replaces it, its
// run-time handles are zeroed and its tile is loaded from the stored group
// path and index. A missing, short or foreign file is no error: the defaults
// stay. The button's pressed bits are always cleared. 0 only when memory fails.
MemHandle materialFileRead(const std::string& path, uint32_t defaultColour, bool readFile);

// Writes the 1270 bytes to a temporary beside `path` and renames it into
// place; false (and the previous file untouched) when anything fails.
bool materialFileWrite(const std::string& path, const uint8_t* record1270);

}  // namespace gw
