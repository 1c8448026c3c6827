#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/folders.h"

namespace gw {
namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string withSeparator(std::string path) {
  if (!path.empty() && path.back() != '/') path.push_back('/');
  return path;
}

bool isDirectory(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

char pathSeparator() { return '/'; }

std::string appDataFolder() {
  std::string p = env("GLYPHWRIGHT_APPDATA");
  if (p.empty()) p = env("XDG_DATA_HOME");
  if (p.empty() && !env("HOME").empty()) p = env("HOME") + "/.local/share";
  return withSeparator(p);
}

std::string documentsFolder() {
  std::string p = env("GLYPHWRIGHT_DOCUMENTS");
  if (p.empty()) p = env("XDG_DOCUMENTS_DIR");
  if (p.empty() && isDirectory(env("HOME") + "/Documents")) p = env("HOME") + "/Documents";
  if (p.empty()) p = env("HOME");
  return withSeparator(p);
}

std::string moduleFolder() {
  std::string p = env("GLYPHWRIGHT_MODULE_DIR");
  if (p.empty()) {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) {
      p.assign(buf, size_t(n));
      size_t slash = p.rfind('/');
      p = slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
    }
  }
  return withSeparator(p);
}

}  // namespace gw
