#include "ui/texture_group_editor.h"

#include <algorithm>
#include <cstdio>

#include "materials/group_folder.h"
#include "platform/string_table.h"

namespace gw {

const char kTextureReadFailedText[] =
    "There has been an error importing the selected texture file. The file may be damaged.";
const char kTextureReadOnlyText[] =
    "This file cannot be edited or overwritten.\n\nThe default texture set cannot be modified. To edit this file, "
    "save it to a new name. Hold down the Shift key and click on the + button.";
const char kTextureAddFailedText[] = "There has been an error adding your texture.";
const char kTexturePrimaryUndeletableText[] = "The primary texture group cannot be deleted.";
const char kNewTextureName[] = "Untitled (double-click to edit)";

namespace {

std::string groupFileFor(const std::string& base) { return groupFileName(base, kTextureGroupExtension); }

}  // namespace

std::string TextureGroupEditor::pathOf(const std::string& file) const { return pluginFolderFile(file); }

void TextureGroupEditor::refuseReadOnly() const { prompts_.message(kTextureReadOnlyText); }

bool TextureGroupEditor::readCurrent() {
  group_.items.clear();
  selected_ = -1;
  modified_ = false;
  if (!textureGroupRead(pathOf(groupFile_), &group_)) {
    prompts_.message(kTextureReadFailedText);
    return false;
  }
  return true;
}

void TextureGroupEditor::open(const std::string& groupFile) {
  installPrimaryGroup(kPrimaryTextureGroup);
  groupFile_ = groupFile.empty() ? std::string(kPrimaryTextureGroup) : groupFile;
  groupNames_ = groupBaseNames(kTextureGroupExtension);
  readCurrent();
}

int TextureGroupEditor::currentGroupIndex() const {
  return groupNameIndex(groupNames_, groupFile_);
}

void TextureGroupEditor::chooseGroup(const std::string& base) {
  groupFile_ = groupFileFor(base);
  readCurrent();
}

bool TextureGroupEditor::selectItem(int index, uint8_t* working) {
  if (index < 0 || size_t(index) >= group_.items.size()) return false;
  selected_ = index;
  std::copy(group_.items[size_t(index)].settings.begin(), group_.items[size_t(index)].settings.end(), working);
  return true;
}

void TextureGroupEditor::renameItem(int index) {
  if (index < 0 || size_t(index) >= group_.items.size()) return;
  if (!group_.writeable) return refuseReadOnly();
  std::string name = group_.items[size_t(index)].name;
  if (!prompts_.askName("Rename", &name)) return;
  group_.items[size_t(index)].name = name.substr(0, kTextureNameMax);
  modified_ = true;
}

void TextureGroupEditor::add(bool shift, const uint8_t* working) {
  if (!shift) {
    if (!group_.writeable) return refuseReadOnly();
    if (group_.items.size() >= kTextureGroupMaxItems) return prompts_.message(kTextureAddFailedText);
    TextureItem item;
    item.name = kNewTextureName;
    std::copy(working, working + texture_settings::kSize, item.settings.begin());
    group_.items.push_back(item);
    selected_ = int(group_.items.size()) - 1;
    modified_ = true;
    return;
  }
  std::string name = "Untitled";
  if (!prompts_.askName("Save group as", &name)) return;
  if (!usableGroupName(name)) return prompts_.message(loadString(kStrErrorWritingFile));
  const std::string file = groupFileFor(name);
  // Saving under the name of a group that is there would lose that group's
  // textures without a word, and the primary group must stay as shipped.
  TextureGroup existing;
  if (textureGroupRead(pathOf(file), &existing)) {
    if (!existing.writeable) return refuseReadOnly();
    if (!prompts_.askYesNo("The " + name + " texture group already exists.\n\nClick on Yes to replace it, or No to abort."))
      return;
  }
  TextureGroup copy = group_;
  copy.writeable = true;
  if (!textureGroupWrite(pathOf(file), copy, backup_)) return prompts_.message(loadString(kStrErrorWritingFile));
  groupFile_ = file;
  group_.writeable = true;
  modified_ = false;
  if (groupNameIndex(groupNames_, file) < 0) groupNames_.push_back(name);
}

void TextureGroupEditor::remove(bool shift) {
  if (!shift) {
    if (!removeEnabled()) return;
    if (!group_.writeable) return refuseReadOnly();
    group_.items.erase(group_.items.begin() + selected_);
    if (size_t(selected_) >= group_.items.size()) selected_ = int(group_.items.size()) - 1;
    modified_ = true;
    return;
  }
  if (!group_.writeable) return prompts_.message(kTexturePrimaryUndeletableText);
  const std::string base = groupBaseName(groupFile_);
  if (!prompts_.askYesNo("Do you want to delete the " + base +
                         " texture group?\n\nClick on Yes to delete this file, or No to abort."))
    return;
  std::remove(pathOf(groupFile_).c_str());
  const int at = currentGroupIndex();
  if (at >= 0) groupNames_.erase(groupNames_.begin() + at);
  groupFile_ = kPrimaryTextureGroup;
  readCurrent();
}

bool TextureGroupEditor::accept() {
  if (!modified_ || !group_.writeable) return true;
  if (textureGroupWrite(pathOf(groupFile_), group_, backup_)) {
    modified_ = false;
    return true;
  }
  prompts_.message(loadString(kStrErrorWritingFile));
  return false;
}

}  // namespace gw
