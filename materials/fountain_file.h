// Fountain files: a fountain button that keeps its ramp between openings of
// the dialog stores its 581-byte record in a file of its own,
// "Fountain<id>.mtrl" in the plug-in's folder, keyed by the control id.
//
//   gw::MemBlock rec(gw::fountainFileRead(gw::fountainFilePath(id), !gw::shiftKeyDown()));
//   if (!rec) ... start from the caller's record or the rainbow preset
//   ...
//   gw::fountainFileWrite(gw::fountainFilePath(id), record);   // on close
#pragma once

#include <cstdint>
#include <string>

#include "platform/memory.h"

namespace gw {

// "Glyphwright 5" and "Fountain%05.5d.mtrl" under the maker's folder; empty
// when the application-data folder is unknown.
std::string fountainFilePath(int32_t controlId);

// A new 581-byte record block read from `path`, or 0. Only when `wanted`
// (the button skips its file while Shift is held); the file must hold at
// least 581 bytes starting with the fountain magic. The preview handle and
// the drag state belong to the run that wrote the file and are cleared.
MemHandle fountainFileRead(const std::string& path, bool wanted);

// Writes the record when its write-back flag (bit 0) is set; a record without
// it is not meant to be kept and the call succeeds without touching the disk.
// The bytes go to a temporary beside `path` that is renamed into place, so a
// failed write (false) leaves the previous file whole.
bool fountainFileWrite(const std::string& path, const uint8_t* fountain581);

}  // namespace gw
