// What the "Matrix" dialog does with tile groups, apart from its windows: the
// current group, the tile list, picking a tile into the material's tile
// selection, adding a picture as a tile, removing one, saving the group under
// a new name, deleting a group, and what OK writes.
//
//   gw::TileGroupEditor editor(prompts, pickImage, backupSwitch);
//   editor.open(settings().MatrixLibrary, selection317);   // "glwplug5.mtx"
//   editor.selectTile(3, selection317);
//   editor.add(shiftDown);                                  // "+"
//   editor.accept();                                        // OK
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "materials/tile_group.h"
#include "platform/memory.h"
#include "ui/texture_group_editor.h"

namespace gw {

extern const char kTileReadFailedText[];
extern const char kTileTooLargeText[];
extern const char kTileAddFailedText[];
extern const char kTileReadOnlyText[];
extern const char kTilePrimaryUndeletableText[];

// An image only one of whose sides exceeds this is still taken as a tile.
constexpr int32_t kTileMaxSide = 512;

// The picture the user chose for "+": `chosen` false when the choice was
// cancelled; `image` 0 when the file could not be read.
struct PickedImage {
  bool chosen = false;
  MemHandle image = 0;
};
using ImagePicker = std::function<PickedImage()>;

class TileGroupEditor {
 public:
  TileGroupEditor(GroupPrompts prompts, ImagePicker pickImage, bool backup)
      : prompts_(std::move(prompts)), pickImage_(std::move(pickImage)), backup_(backup) {}

  // Lists the groups (the shipped one put in the folder if missing) and
  // reads `groupFile`; a read failure is told and leaves an empty list.
  void open(const std::string& groupFile);

  const std::vector<std::string>& groupNames() const { return groupNames_; }
  int currentGroupIndex() const;
  const std::string& groupFile() const { return groupFile_; }
  std::string groupPath() const;
  const TileGroup& group() const { return group_; }
  bool modified() const { return modified_; }
  int selectedTile() const { return selected_; }
  // "%d x %d" of tile `index`, or empty.
  std::string sizeText(int index) const;

  void chooseGroup(const std::string& baseName);
  // The selection takes the group's path, the index and a copy of the tile
  // (its old image freed). False, selection untouched, when there is no such
  // tile or no memory for the copy.
  bool selectTile(int index, uint8_t* selection317);
  void add(bool shift);
  void remove(bool shift);
  bool accept();

 private:
  bool readCurrent();
  void refuseReadOnly() const;

  GroupPrompts prompts_;
  ImagePicker pickImage_;
  bool backup_;
  std::vector<std::string> groupNames_;
  std::string groupFile_;
  TileGroup group_;
  bool modified_ = false;
  int selected_ = -1;
};

}  // namespace gw
