#include "platform/file_replace.h"

#include <cstdio>

namespace gw {

bool writeFileReplacing(const std::string& path, const uint8_t* data, size_t size) {
  if (path.empty() || (!data && size != 0)) return false;
  const std::string temp = temporaryBeside(path);
  FILE* out = std::fopen(temp.c_str(), "wb");
  if (!out) return false;
  bool ok = std::fwrite(data, 1, size, out) == size;
  ok = (std::fclose(out) == 0) && ok;
  ok = ok && replaceFile(temp, path);
  if (!ok) std::remove(temp.c_str());
  return ok;
}

}  // namespace gw
