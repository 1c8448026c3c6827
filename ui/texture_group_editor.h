// What the "Texture" dialog does with groups and items, apart from its
// windows: which group is current, the item list, new/rename/delete, saving a
// group under a new name, deleting a group, and what OK writes. The dialog's
// view forwards each user action here; the tests drive it directly.
//
//   gw::TextureGroupEditor editor(prompts, backupSwitch);
//   editor.open(settings().DefaultTextureFileName);   // "glwplug5.fft" at first
//   editor.selectItem(2, working);                     // working <- item 2
//   editor.add(shiftDown, working);                    // "+"
//   editor.accept();                                   // OK
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "materials/texture_group.h"

namespace gw {

// The questions and messages the editor puts to the user.
struct GroupPrompts {
  std::function<void(const std::string& text)> message;
  // True for Yes.
  std::function<bool(const std::string& text)> askYesNo;
  // A one-line name, at most 260 characters, starting from *text; false on Cancel.
  std::function<bool(const std::string& title, std::string* text)> askName;
};

extern const char kTextureReadFailedText[];
extern const char kTextureReadOnlyText[];
extern const char kTextureAddFailedText[];
extern const char kTexturePrimaryUndeletableText[];
extern const char kNewTextureName[];

class TextureGroupEditor {
 public:
  TextureGroupEditor(GroupPrompts prompts, bool backup) : prompts_(std::move(prompts)), backup_(backup) {}

  // Lists the groups in the plug-in's folder (the shipped one put there if
  // missing) and reads `groupFile` ("name.FFT"); a read failure is told and
  // leaves an empty list.
  void open(const std::string& groupFile);

  const std::vector<std::string>& groupNames() const { return groupNames_; }
  int currentGroupIndex() const;
  // The current group's file name ("name.FFT"), to keep in the configuration.
  const std::string& groupFile() const { return groupFile_; }
  const TextureGroup& group() const { return group_; }
  bool modified() const { return modified_; }
  int selectedItem() const { return selected_; }
  // "-" is usable only while there are items and one is selected.
  bool removeEnabled() const { return selected_ >= 0 && !group_.items.empty(); }

  // A group chosen from the list (its base name): read anew.
  void chooseGroup(const std::string& baseName);
  // Copies item `index` into the working settings; false when there is none.
  bool selectItem(int index, uint8_t* working268);
  // Double-click: asks for a new name for item `index`.
  void renameItem(int index);
  // "+": a new item from the working settings, or with Shift the group saved
  // under a new name.
  void add(bool shift, const uint8_t* working268);
  // "-": the selected item, or with Shift the whole group file.
  void remove(bool shift);
  // OK: writes the group when it was changed and may be. False (after
  // telling the user) when that write failed; the dialog closes all the same.
  bool accept();

 private:
  bool readCurrent();
  void refuseReadOnly() const;
  std::string pathOf(const std::string& file) const;

  GroupPrompts prompts_;
  bool backup_;
  std::vector<std::string> groupNames_;
  std::string groupFile_;
  TextureGroup group_;
  bool modified_ = false;
  int selected_ = -1;
};

}  // namespace gw
