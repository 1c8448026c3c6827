#include "materials/group_folder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "materials/texture_group.h"
#include "platform/folders.h"
#include "platform/resources.h"

namespace gw {
namespace {

constexpr char kMakerFolder[] = "Quillmere";
constexpr char kPluginFolder[] = "Glyphwright 5";

char upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

// The resource that carries a shipped group, by its file name.
const char* resourceNameFor(const char* fileName) {
  if (equalsIgnoringCase(fileName, "glwplug5.fft")) return "GLWPLUG5_FFT";
  if (equalsIgnoringCase(fileName, "glwplug5.mtx")) return "GLWPLUG5_MTX";
  return nullptr;
}

}  // namespace

std::string pluginFolder() {
  std::string appData = appDataFolder();
  if (appData.empty()) return {};
  std::string maker = joinPath(appData, kMakerFolder);
  std::string folder = maker.empty() ? std::string() : joinPath(maker, kPluginFolder);
  if (folder.empty()) return {};
  return folder + pathSeparator();
}

std::string pluginFolderFile(const std::string& name) {
  std::string folder = pluginFolder();
  return folder.empty() ? std::string() : joinPath(folder, name);
}

bool sameGroupName(const std::string& a, const std::string& b) { return equalsIgnoringCase(a, b); }

std::string groupBaseName(const std::string& file) { return file.substr(0, file.find('.')); }

int groupNameIndex(const std::vector<std::string>& names, const std::string& file) {
  const std::string base = groupBaseName(file);
  for (size_t i = 0; i < names.size(); ++i)
    if (equalsIgnoringCase(names[i], base)) return int(i);
  return -1;
}

bool usableGroupName(const std::string& name) {
  // A dot would end the name the list shows early, and the group could not be
  // chosen again.
  if (name.empty() || name.size() > 200 || name.find_first_of("\\/:*?\"<>|.") != std::string::npos) return false;
  for (char c : name)
    if (static_cast<unsigned char>(c) < ' ') return false;
  return name.find_first_not_of(' ') != std::string::npos;
}

std::vector<std::string> groupBaseNames(const char* extension) {
  std::vector<std::string> names;
  const std::string folder = pluginFolder();
  if (folder.empty()) return names;
  for (const std::string& file : filesInFolder(folder)) {
    size_t dot = file.rfind('.');
    if (dot == std::string::npos || !equalsIgnoringCase(file.substr(dot + 1), extension)) continue;
    names.push_back(groupBaseName(file));
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return upper(x) < upper(y); });
  });
  names.erase(std::unique(names.begin(), names.end(), equalsIgnoringCase), names.end());
  return names;
}

std::string groupFileName(const std::string& base, const char* extension) {
  const std::string wanted = base + "." + extension;
  const std::string folder = pluginFolder();
  if (!folder.empty())
    for (const std::string& file : filesInFolder(folder))
      if (equalsIgnoringCase(file, wanted)) return file;
  char name[300];
  std::snprintf(name, sizeof name, "%s.%s", base.c_str(), extension);
  return name;
}

std::string installPrimaryGroup(const char* fileName) {
  const char* resource = resourceNameFor(fileName);
  const std::string path = pluginFolderFile(fileName);
  if (!resource || path.empty()) return {};
  if (std::FILE* existing = std::fopen(path.c_str(), "rb")) {
    std::fclose(existing);
    return path;
  }
  auto bytes = findResource(kResRcData, ResourceName::text(resource));
  if (!bytes || bytes->size == 0) return {};
  const std::string appData = appDataFolder();
  const std::string maker = joinPath(appData, kMakerFolder);
  if (maker.empty() || !makeFolder(maker) || !makeFolder(pluginFolder())) return {};
  std::string text(reinterpret_cast<const char*>(bytes->data), bytes->size);
  return writeFileAtomically(path, text) ? path : std::string();
}

}  // namespace gw
