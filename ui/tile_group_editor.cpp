#include "ui/tile_group_editor.h"

#include <cstdio>
#include <cstring>

#include "base/le_bytes.h"
#include "materials/group_folder.h"
#include "materials/tile_selection.h"
#include "platform/bitmap.h"
#include "platform/string_table.h"

namespace gw {

const char kTileReadFailedText[] = "There has been an error loading the matrix element file.";
const char kTileTooLargeText[] = "The selected image is too large to be a matrix tile.";
const char kTileAddFailedText[] = "There has been an error adding your matrix tile.";
// ("matix" is the message's own spelling; users and their documentation know it so.)
const char kTileReadOnlyText[] =
    "This file cannot be edited or overwritten.\n\nThe default matix set cannot be modified. To edit this file, "
    "save it to a new name. Hold down the Shift key and click on the + button.";
const char kTilePrimaryUndeletableText[] = "The primary matrix group cannot be deleted.";

namespace {

// Tile groups hold more tiles than any dialog list shows well; past this an
// add is refused as the list refusing it.
constexpr size_t kTileListMax = 4096;

// A 24-bit copy of a bitmap of any depth the bitmap view reads; 0 when
// memory runs out.
MemHandle trueColourCopy(MemHandle image, int32_t w, int32_t h) {
  MemBlock out(bitmapCreateTrueColour(w, h, 24));
  MemLock from(image), to(out.get());
  if (!from || !to) return 0;
  BitmapView src = BitmapView::of(from), dst = BitmapView::of(to);
  if (!src.valid() || !dst.valid()) return 0;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const int64_t p = src.getPixel(x, y);
      uint32_t colour = uint32_t(p) & 0xFFFFFFu;
      if (src.bits() <= 8 && p >= 0 && p < src.colourTableEntries()) {
        const uint8_t* entry = src.colourTable() + 4 * size_t(p);  // blue, green, red, 0
        colour = uint32_t(entry[2]) | (uint32_t(entry[1]) << 8) | (uint32_t(entry[0]) << 16);
      }
      dst.setPixel(x, y, colour);
    }
  return out.release();
}

std::vector<MemHandle> handlesOf(const TileGroup& group) {
  std::vector<MemHandle> handles;
  for (const MemBlock& t : group.tiles) handles.push_back(t.get());
  return handles;
}

}  // namespace

std::string TileGroupEditor::groupPath() const { return pluginFolderFile(groupFile_); }

void TileGroupEditor::refuseReadOnly() const { prompts_.message(kTileReadOnlyText); }

bool TileGroupEditor::readCurrent() {
  selected_ = -1;
  modified_ = false;
  // A missing file reads as an empty list and keeps the writeable flag.
  if (!tileGroupRead(groupPath(), &group_)) {
    group_.tiles.clear();
    prompts_.message(kTileReadFailedText);
    return false;
  }
  return true;
}

void TileGroupEditor::open(const std::string& groupFile) {
  installPrimaryGroup(kPrimaryTileGroup);
  groupFile_ = groupFile.empty() ? std::string(kPrimaryTileGroup) : groupFile;
  groupNames_ = groupBaseNames(kTileGroupExtension);
  readCurrent();
}

int TileGroupEditor::currentGroupIndex() const {
  return groupNameIndex(groupNames_, groupFile_);
}

std::string TileGroupEditor::sizeText(int index) const {
  int32_t w = 0, h = 0;
  if (index < 0 || size_t(index) >= group_.tiles.size() ||
      !bitmapQuery(group_.tiles[size_t(index)].get(), &w, &h, nullptr, nullptr))
    return {};
  char text[32];
  std::snprintf(text, sizeof text, "%d x %d", int(w), int(h));
  return text;
}

void TileGroupEditor::chooseGroup(const std::string& base) {
  groupFile_ = groupFileName(base, kTileGroupExtension);
  readCurrent();
}

bool TileGroupEditor::selectTile(int index, uint8_t* selection) {
  if (index < 0 || size_t(index) >= group_.tiles.size()) return false;
  MemLock from(group_.tiles[size_t(index)].get());
  if (!from) return false;
  MemBlock copy(memAlloc(from.size()));
  {
    MemLock to(copy.get());
    if (!to) return false;
    std::memcpy(to.data(), from.data(), from.size());
  }
  tileSelectionFreeImage(selection);
  tileSelectionSetPath(selection, groupPath());
  writeI32(selection + tile_selection::kIndex, index);
  writeU32(selection + tile_selection::kImage, copy.release());
  selected_ = index;
  return true;
}

void TileGroupEditor::add(bool shift) {
  if (!shift) {
    if (!group_.writeable) return refuseReadOnly();
    PickedImage picked = pickImage_();
    if (!picked.chosen) return;
    MemBlock image(picked.image);
    int32_t w = 0, h = 0;
    int bits = 0;
    if (!image || !bitmapQuery(image.get(), &w, &h, &bits, nullptr))
      return prompts_.message(loadString(kStrErrorReadingFile));
    if (w > kTileMaxSide && h > kTileMaxSide) return prompts_.message(kTileTooLargeText);
    if (bits != 24) {
      image.reset(trueColourCopy(image.get(), w, h));
      if (!image) return prompts_.message(loadString(kStrMemoryError));
    }
    if (group_.tiles.size() >= kTileListMax) return prompts_.message(kTileAddFailedText);
    group_.tiles.push_back(std::move(image));
    modified_ = true;
    return;
  }
  std::string name = "Untitled";
  if (!prompts_.askName("Save group as", &name)) return;
  if (!usableGroupName(name)) return prompts_.message(loadString(kStrErrorWritingFile));
  const std::string file = groupFileName(name, kTileGroupExtension);
  const std::string path = pluginFolderFile(file);
  // As with texture groups: never over the primary, never over another
  // group without asking.
  TileGroupHeaderInfo header;
  std::vector<TileChunkInfo> chunks;
  if (std::FILE* existing = std::fopen(path.c_str(), "rb")) {
    std::fclose(existing);
    if (tileGroupList(path, &header, &chunks) && !header.writeable) return refuseReadOnly();
    if (!prompts_.askYesNo("The " + name + " matrix group already exists.\n\nClick on Yes to replace it, or No to abort."))
      return;
  }
  if (!tileGroupWrite(path, handlesOf(group_), backup_)) return prompts_.message(loadString(kStrErrorWritingFile));
  groupFile_ = file;
  group_.writeable = true;
  modified_ = false;
  if (groupNameIndex(groupNames_, file) < 0) groupNames_.push_back(name);
}

void TileGroupEditor::remove(bool shift) {
  if (!shift) {
    if (!group_.writeable) return refuseReadOnly();
    if (selected_ < 0 || size_t(selected_) >= group_.tiles.size()) return;
    group_.tiles.erase(group_.tiles.begin() + selected_);
    if (size_t(selected_) >= group_.tiles.size()) selected_ = int(group_.tiles.size()) - 1;
    modified_ = true;
    return;
  }
  if (!group_.writeable) return prompts_.message(kTilePrimaryUndeletableText);
  const std::string base = groupBaseName(groupFile_);
  if (!prompts_.askYesNo("Do you want to delete the " + base +
                         " matrix group?\n\nClick on Yes to delete this file, or No to abort."))
    return;
  std::remove(groupPath().c_str());
  const int at = currentGroupIndex();
  if (at >= 0) groupNames_.erase(groupNames_.begin() + at);
  groupFile_ = kPrimaryTileGroup;
  readCurrent();
}

bool TileGroupEditor::accept() {
  if (!modified_ || !group_.writeable) return true;
  if (tileGroupWrite(groupPath(), handlesOf(group_), backup_)) {
    modified_ = false;
    return true;
  }
  prompts_.message(loadString(kStrErrorWritingFile));
  return false;
}

}  // namespace gw
