#include "platform/folders.h"

namespace gw {

std::string joinPath(const std::string& folder, const std::string& name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path.push_back(pathSeparator());
  path += name;
  if (path.size() >= 260) return {};
  return path;
}

bool makeFolderFor(const std::string& filePath) {
  const size_t end = filePath.find_last_of("/\\");
  if (end == std::string::npos || end == 0) return true;  // the current folder or the root
  // Every ancestor in turn, from the root down; those present stay as they are.
  for (size_t at = filePath.find_first_of("/\\", 1); at != std::string::npos && at <= end;
       at = filePath.find_first_of("/\\", at + 1)) {
    const std::string folder = filePath.substr(0, at);
    if (folder.empty() || folder.back() == ':') continue;  // "C:" is a drive, not a folder
    if (!makeFolder(folder) && at == end) return false;
  }
  return true;
}

}  // namespace gw
