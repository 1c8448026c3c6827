#include <dirent.h>
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

bool makeFolder(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return isDirectory(p) || (mkdir(p.c_str(), 0777) == 0 && isDirectory(p));
}

std::vector<std::string> filesInFolder(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    struct stat st;
    if (stat(withSeparator(folder).append(name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(name);
  }
  closedir(dir);
  return names;
}

}  // namespace gw
