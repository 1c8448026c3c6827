// The "Matrix" dialog over its controls, without windows: fills the group
// list, the tile strip and the size text from the group editor and the
// working tile selection, and turns what the user does into editor calls.
// The Win32 dialog procedure and the tests (through the in-memory dialog)
// drive the same object.
//
//   uint8_t working[317];                        // the material's, image copied
//   gw::tileSelectionCopy(material + 917, working);
//   gw::MatrixDialogView view(dialog, prompts, pickImage, backup, working);
//   view.open(settings().MatrixLibrary);
//   view.command(IDC_MATRIX_TILES, gw::DialogEvent::kSelect, false);
//   if (view.command(IDC_BUILD, gw::DialogEvent::kClick, false)) end(view.result());
#pragma once

#include <cstdint>
#include <string>

#include "platform/dialog_facade.h"
#include "platform/memory.h"
#include "ui/dialog_event.h"
#include "ui/tile_group_editor.h"

namespace gw {

class MatrixDialogView {
 public:
  // `working317` is the dialog's own copy of the selection; the caller owns
  // it and the tile image it holds at the end (the view frees images it
  // replaces).
  MatrixDialogView(DialogFacade& dialog, GroupPrompts prompts, ImagePicker pickImage, bool backup,
                   uint8_t* working317);

  // Reads `groupFile` (the group last chosen) and fills every control; the
  // selection's tile is marked when it comes from that group.
  void open(const std::string& groupFile);
  // True when the dialog is to end, with result() as its answer.
  bool command(uint32_t id, DialogEvent event, bool shift);
  int result() const { return result_; }

  // The working selection's tile size, "%d x %d" (the built-in tile's when
  // it holds none).
  std::string sizeText() const;
  // The working selection tiled over a new w x h 24-bit bitmap (the
  // caller's), as the material will show it; 0 when it cannot be made.
  MemHandle preview(int32_t w, int32_t h) const;
  // Tile `index` of the current group (owned by the view), 0 when none.
  MemHandle tileImage(int index) const;

  const std::string& groupFile() const { return editor_.groupFile(); }
  const TileGroupEditor& editor() const { return editor_; }

 private:
  void fillGroups();
  void fillTiles();
  void showTile();
  void pick(int index);
  void markWorking();
  bool workingIsInGroup() const;

  DialogFacade& dialog_;
  TileGroupEditor editor_;
  uint8_t* working_;
  bool filling_ = false;
  int result_ = 0;
};

}  // namespace gw
