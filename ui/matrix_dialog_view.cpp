#include "ui/matrix_dialog_view.h"

#include <cstdio>
#include <cstring>

#include "base/le_bytes.h"
#include "materials/tile_fill.h"
#include "materials/tile_selection.h"
#include "platform/bitmap.h"
#include "platform/wait_cursor.h"
#include "resources/resource_ids.h"

namespace gw {
namespace {

// Group paths name files of a system whose names ignore case.
bool samePath(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'a' && a[i] <= 'z' ? char(a[i] - 32) : a[i];
    char y = b[i] >= 'a' && b[i] <= 'z' ? char(b[i] - 32) : b[i];
    if (x == '\\') x = '/';
    if (y == '\\') y = '/';
    if (x != y) return false;
  }
  return true;
}

}  // namespace

MatrixDialogView::MatrixDialogView(DialogFacade& dialog, GroupPrompts prompts, ImagePicker pickImage, bool backup,
                                   uint8_t* working317)
    : dialog_(dialog), editor_(std::move(prompts), std::move(pickImage), backup), working_(working317) {}

bool MatrixDialogView::workingIsInGroup() const {
  return samePath(tileSelectionPath(working_), editor_.groupPath());
}

// The selection's tile, when it belongs to the group on show, is the one the
// strip marks and "-" removes.
void MatrixDialogView::markWorking() {
  if (!workingIsInGroup()) return;
  const int32_t index = readI32(working_ + tile_selection::kIndex);
  if (index >= 0 && size_t(index) < editor_.group().tiles.size()) editor_.selectTile(index, working_);
}

void MatrixDialogView::open(const std::string& groupFile) {
  editor_.open(groupFile);
  markWorking();
  fillGroups();
  fillTiles();
  showTile();
}

void MatrixDialogView::fillGroups() {
  filling_ = true;
  dialog_.clearItems(IDC_MATRIX_GROUPS);
  for (const std::string& name : editor_.groupNames()) dialog_.addItem(IDC_MATRIX_GROUPS, name);
  dialog_.setSelection(IDC_MATRIX_GROUPS, editor_.currentGroupIndex());
  filling_ = false;
}

void MatrixDialogView::fillTiles() {
  filling_ = true;
  dialog_.clearItems(IDC_MATRIX_TILES);
  // The strip draws each item's tile; the items carry no text.
  for (size_t i = 0; i < editor_.group().tiles.size(); ++i) dialog_.addItem(IDC_MATRIX_TILES, "");
  dialog_.setSelection(IDC_MATRIX_TILES, editor_.selectedTile());
  filling_ = false;
}

void MatrixDialogView::showTile() { dialog_.setText(IDC_MATRIX_SIZE, sizeText()); }

void MatrixDialogView::pick(int index) {
  editor_.selectTile(index, working_);
  filling_ = true;
  dialog_.setSelection(IDC_MATRIX_TILES, editor_.selectedTile());
  filling_ = false;
  showTile();
}

std::string MatrixDialogView::sizeText() const {
  int32_t w = 0, h = 0;
  if (!bitmapQuery(readU32(working_ + tile_selection::kImage), &w, &h, nullptr, nullptr)) {
    MemBlock builtIn(tileBuiltInImage());
    if (!bitmapQuery(builtIn.get(), &w, &h, nullptr, nullptr)) return {};
  }
  char text[32];
  std::snprintf(text, sizeof text, "%d x %d", int(w), int(h));
  return text;
}

MemHandle MatrixDialogView::preview(int32_t w, int32_t h) const {
  // Tiling records its target in the selection: a scratch copy takes it, so
  // the working selection changes only by what the user does.
  uint8_t scratch[tile_selection::kSize];
  std::memcpy(scratch, working_, sizeof scratch);
  return tileFill(scratch, w, h);
}

MemHandle MatrixDialogView::tileImage(int index) const {
  const auto& tiles = editor_.group().tiles;
  return index >= 0 && size_t(index) < tiles.size() ? tiles[size_t(index)].get() : 0;
}

bool MatrixDialogView::command(uint32_t id, DialogEvent event, bool shift) {
  if (filling_) return false;
  switch (id) {
    case IDC_BUILD: {
      WaitCursor wait;
      editor_.accept();  // a failed write is told; the dialog closes all the same
      result_ = 1;
      return true;
    }
    case IDC_CANCEL:
      result_ = 0;
      return true;
    case IDC_MATRIX_GROUPS: {
      if (event != DialogEvent::kCloseUp) return false;
      const int sel = dialog_.selection(IDC_MATRIX_GROUPS);
      if (sel < 0 || sel == editor_.currentGroupIndex()) return false;
      // Tiles added or removed since the group was read are written before
      // another is read in its place, as OK would; when that fails the
      // group stays on show with its changes.
      if (editor_.modified() && !editor_.accept()) {
        fillGroups();
        return false;
      }
      editor_.chooseGroup(dialog_.itemText(IDC_MATRIX_GROUPS, sel));
      markWorking();
      fillGroups();
      fillTiles();
      showTile();
      return false;
    }
    case IDC_MATRIX_TILES: {
      const int sel = dialog_.selection(IDC_MATRIX_TILES);
      if (sel < 0) return false;
      if (event == DialogEvent::kSelect) pick(sel);
      if (event != DialogEvent::kDoubleClick) return false;
      pick(sel);
      return command(IDC_BUILD, DialogEvent::kClick, false);
    }
    case IDC_MATRIX_ADD: {
      if (event != DialogEvent::kClick) return false;
      const size_t before = editor_.group().tiles.size();
      editor_.add(shift);
      fillGroups();
      fillTiles();
      // A picture just taken in is the tile the user is after.
      if (!shift && editor_.group().tiles.size() == before + 1) pick(int(before));
      showTile();
      return false;
    }
    case IDC_MATRIX_REMOVE: {
      if (event != DialogEvent::kClick) return false;
      const size_t before = editor_.group().tiles.size();
      editor_.remove(shift);
      if (!shift && editor_.group().tiles.size() + 1 == before) {
        // The selection keeps naming a tile of the group as it will be
        // written: the one now at its place, or none when the group is empty.
        if (editor_.selectedTile() >= 0) editor_.selectTile(editor_.selectedTile(), working_);
        else tileSelectionFreeImage(working_);
      }
      fillGroups();
      fillTiles();
      showTile();
      return false;
    }
    default:
      return false;
  }
}

}  // namespace gw
