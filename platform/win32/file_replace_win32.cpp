#include <windows.h>

#include "platform/file_replace.h"

namespace gw {

bool replaceFile(const std::string& from, const std::string& to) {
  // The C runtime's rename refuses an existing target; removing it first
  // would leave a moment with no file at all.
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::string temporaryBeside(const std::string& path) { return path + ".tmp"; }

}  // namespace gw
