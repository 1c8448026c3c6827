#include <cstdio>

#include "platform/file_replace.h"

namespace gw {

bool replaceFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

std::string temporaryBeside(const std::string& path) { return path + ".tmp"; }

}  // namespace gw
