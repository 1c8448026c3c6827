// The string table of the library's resources. A string that is not there
// reads as "String table error - this application may be damaged", so a
// message box always has something to say.
#pragma once

#include <optional>
#include <string>

#include "platform/resources.h"

namespace gw {

extern const char kStringTableError[];

// Standard message numbers.
enum StringId : int {
  kStrOk = 0,
  kStrErrorOpeningFile = 1,
  kStrCorruptedFile = 2,
  kStrErrorReadingFile = 3,
  kStrFunctionCancelled = 4,
  kStrUnsupportedFunction = 5,
  kStrMemoryError = 6,
  kStrInformationError = 7,
  kStrUnsupportedFormat = 8,
  kStrErrorRenamingFile = 9,
  kStrErrorCreatingFile = 10,
  kStrErrorWritingFile = 11,
  kStrTooManyColours = 12,
  kStrUnsuitableImage = 13,
  kStrResourceError = 14,
  kStrLibraryError = 15,
  kStrFatalError = 16,
};

// The string with this number, or the string-table error text.
std::string loadString(int id);

// Finds string `id` in one RT_STRING block (16 counted UTF-16 strings, block
// number id / 16 + 1). Characters above 255 become '?'.
std::optional<std::string> stringFromBlock(const ResourceBytes& block, int id);

}  // namespace gw
