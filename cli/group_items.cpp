#include "cli/group_items.h"

#include <cstring>

#include "materials/group_folder.h"
#include "materials/texture_group.h"
#include "materials/texture_settings.h"

namespace gw::cli {

namespace ts = texture_settings;

std::string primaryGroupPath(const char* fileName, std::string* error) {
  std::string path = installPrimaryGroup(fileName);
  if (path.empty())
    *error = std::string("the shipped group ") + fileName + " is not in the plug-in's folder and cannot be put there";
  return path;
}

bool loadTextureItem(const std::string& groupPath, const std::string& item, uint8_t* settings,
                     std::string* error) {
  std::string path = groupPath;
  if (path.empty() && (path = primaryGroupPath(kPrimaryTextureGroup, error)).empty()) return false;
  TextureGroup group;
  if (!textureGroupRead(path, &group)) {
    *error = path + ": There has been an error importing the selected texture file. The file may be damaged.";
    return false;
  }
  size_t index;
  if (!textureGroupFind(group, item, &index)) {
    *error = path + ": no texture named or numbered '" + item + "' (" + std::to_string(group.items.size()) +
             " in the group)";
    return false;
  }
  std::memcpy(settings, group.items[index].settings.data(), ts::kSize);
  return true;
}

}  // namespace gw::cli
