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

bool makeFolder(const std::string& path) {
  std::string p = path;
  while (p.size() > 3 && (p.back() == '\\' || p.back() == '/')) p.pop_back();
  if (CreateDirectoryA(p.c_str(), nullptr)) return true;
  DWORD attributes = GetFileAttributesA(p.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> filesInFolder(const std::string& folder) {
  std::vector<std::string> names;
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern.push_back('\\');
  pattern += "*";
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

}  // namespace gw
