#include "platform/folders.h"

namespace gw {

std::string joinPath(const std::string& folder, const std::string& name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path.push_back(pathSeparator());
  path += name;
  if (path.size() >= 260) return {};
  return path;
}

}  // namespace gw
