#include <windows.h>
#include <shlobj.h>

#include "platform/folders.h"
#include "platform/module.h"

namespace gw {
namespace {

std::string specialFolder(int csidl) {
  LPITEMIDLIST list = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, csidl, &list) != S_OK || !list) return {};
  char path[MAX_PATH] = {};
  BOOL ok = SHGetPathFromIDListA(list, path);
  CoTaskMemFree(list);
  if (!ok || !path[0]) return {};
  std::string p = path;
  if (p.back() != '\\') p.push_back('\\');
  return p;
}

}  // namespace

char pathSeparator() { return '\\'; }
std::string appDataFolder() { return specialFolder(CSIDL_APPDATA); }
std::string documentsFolder() { return specialFolder(CSIDL_PERSONAL); }

std::string moduleFolder() {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(static_cast<HMODULE>(moduleInstance()), path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::string p(path, n);
  size_t slash = p.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
}

}  // namespace gw
