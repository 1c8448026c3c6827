// Putting a finished file in place of another in one step, so that a reader
// (or a crash) sees either the old file whole or the new one whole.
//
//   if (!gw::writeAll(temp, bytes) || !gw::replaceFile(temp, path)) std::remove(temp.c_str());
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace gw {

// Renames `from` to `to`, replacing a file that is there. False (and `to`
// untouched) when it cannot.
bool replaceFile(const std::string& from, const std::string& to);

// A name beside `path` for the temporary its new contents are written to.
std::string temporaryBeside(const std::string& path);

// Writes `size` bytes to the temporary beside `path` and renames it into
// place; false, with the temporary removed and `path` untouched, when
// anything fails.
bool writeFileReplacing(const std::string& path, const uint8_t* data, size_t size);

}  // namespace gw
