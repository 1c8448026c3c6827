#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "cli/command.h"
#include "cli/group_items.h"
#include "cli/png_io.h"
#include "platform/bitmap.h"
#include "materials/tile_fill.h"
#include "materials/tile_group.h"
#include "materials/tile_selection.h"
#include "platform/system_state.h"

namespace gw::cli {
namespace {

// An image is refused as a tile only when both sides exceed this.
constexpr int32_t kMaxTileSide = 512;

bool parseIndex(const std::string& text, int32_t* out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (errno || *end || v < 0 || v > 0x7FFFFFFF) return false;
  *out = int32_t(v);
  return true;
}

int listGroup(const std::string& path) {
  TileGroupHeaderInfo header;
  std::vector<TileChunkInfo> chunks;
  if (!tileGroupList(path, &header, &chunks)) return fail(path + ": not a readable tile group");
  std::printf("written:      %s\n", ctimeText(header.timeWritten).c_str());
  std::printf("owner:        %s\n", header.owner.c_str());
  std::printf("organization: %s\n", header.organization.c_str());
  std::printf("version:      %u.%u%c\n", unsigned(header.versionMajor), unsigned(header.versionMinor),
              header.versionLetter >= 0x20 && header.versionLetter < 0x7F ? char(header.versionLetter) : '?');
  std::printf("writeable:    %s\n", header.writeable ? "yes" : "no");
  std::printf("chunks:       %zu\n", chunks.size());
  for (size_t i = 0; i < chunks.size(); ++i) {
    const TileChunkInfo& c = chunks[i];
    if (c.width > 0)
      std::printf("%4zu  %s  %d x %d, %d bits, %u bytes\n", i, c.tag, int(c.width), int(c.height), c.bits,
                  unsigned(c.dataSize));
    else
      std::printf("%4zu  %-4.4s  skipped, %u bytes\n", i, c.tag, unsigned(c.dataSize));
  }
  return kExitOk;
}

int extractTile(const std::string& path, const std::string& indexText, const std::string& output) {
  int32_t index;
  if (!parseIndex(indexText, &index)) return usageError(*findCommand("tile"), "bad index " + indexText);
  MemBlock tile(tileGroupLoadTile(path, index));
  if (!tile) return fail(path + ": no tile at index " + indexText);
  std::string error;
  if (!writeBitmapAsPng(tile.get(), output, &error)) return fail(error);
  return kExitOk;
}

// Reads images as tiles, refusing one whose sides both exceed the limit.
bool readTiles(const std::vector<std::string>& images, std::vector<MemBlock>* tiles, std::string* failure) {
  for (const std::string& image : images) {
    std::string error;
    MemBlock tile(readPngAsBitmap(image, &error));
    if (!tile) return *failure = error, false;
    int32_t w = 0, h = 0;
    if (!bitmapQuery(tile.get(), &w, &h, nullptr, nullptr)) return *failure = image + ": unreadable image", false;
    if (w > kMaxTileSide && h > kMaxTileSide)
      return *failure = image + ": The selected image is too large to be a matrix tile.", false;
    tiles->push_back(std::move(tile));
  }
  return true;
}

// Appends images to a group (a new one when the file is not there), as the
// tile dialog's "+" does; the shipped group and other read-only ones refuse.
int addToGroup(const std::string& path, const std::vector<std::string>& images, bool backup) {
  TileGroup group;
  if (!tileGroupRead(path, &group)) return fail(path + ": There has been an error loading the matrix element file.");
  if (!group.writeable)
    return fail(path + ": this group is read-only and cannot be edited or overwritten; "
                       "make a copy of its tiles with 'tile build' under a new name");
  std::string error;
  if (!readTiles(images, &group.tiles, &error)) return fail(error);
  std::vector<MemHandle> handles;
  for (const MemBlock& t : group.tiles) handles.push_back(t.get());
  if (!tileGroupWrite(path, handles, backup)) return fail(path + ": Error writing file");
  std::printf("%s: %zu tiles\n", path.c_str(), handles.size());
  return kExitOk;
}

int buildGroup(const std::string& path, const std::vector<std::string>& images, bool backup) {
  std::vector<MemBlock> tiles;
  std::string error;
  if (!readTiles(images, &tiles, &error)) return fail(error);
  std::vector<MemHandle> handles;
  for (const MemBlock& t : tiles) handles.push_back(t.get());
  if (!tileGroupWrite(path, handles, backup)) return fail(path + ": Error writing file");
  return kExitOk;
}

// Tiles a group's tile (or the built-in one) over a picture of a given size.
int fillTiles(const std::vector<std::string>& args) {
  const Command& self = *findCommand("tile");
  std::string size = args[1], output = args[2];
  int32_t w = 0, h = 0;
  size_t x = size.find('x');
  if (x == std::string::npos || !parseIndex(size.substr(0, x), &w) || !parseIndex(size.substr(x + 1), &h) ||
      w < 1 || h < 1)
    return usageError(self, "bad size " + size);
  uint8_t selection[tile_selection::kSize] = {};
  if (args.size() == 5) {
    int32_t index;
    if (!parseIndex(args[4], &index)) return usageError(self, "bad index " + args[4]);
    tileSelectionSetPath(selection, args[3]);
    writeI32(selection + tile_selection::kIndex, index);
    if (!tileSelectionLoad(selection)) std::fprintf(stderr, "glyphwright: no such tile; using the built-in tile\n");
  }
  MemBlock bitmap(tileFill(selection, w, h));
  tileSelectionFreeImage(selection);
  if (!bitmap) return fail("the tiles could not be drawn");
  std::string error;
  if (!writeBitmapAsPng(bitmap.get(), output, &error)) return fail(error);
  return kExitOk;
}

}  // namespace

int runTile(const std::vector<std::string>& args) {
  const Command& self = *findCommand("tile");
  if (args.empty()) return usageError(self, "");
  const std::string& verb = args[0];
  // list and extract read the shipped group when none is named.
  std::string primary, error;
  if (((verb == "list" && args.size() == 1) || (verb == "extract" && args.size() == 3)) &&
      (primary = primaryGroupPath(kPrimaryTileGroup, &error)).empty())
    return fail(error);
  if (verb == "list" && args.size() <= 2) return listGroup(args.size() == 2 ? args[1] : primary);
  if (verb == "extract" && args.size() == 4) return extractTile(args[1], args[2], args[3]);
  if (verb == "extract" && args.size() == 3) return extractTile(primary, args[1], args[2]);
  if (verb == "add" && args.size() >= 3) {
    std::vector<std::string> rest(args.begin() + 1, args.end());
    bool backup = rest[0] == "--backup";
    if (backup) rest.erase(rest.begin());
    if (rest.size() < 2) return usageError(self, "add needs a group file and at least one image");
    return addToGroup(rest[0], std::vector<std::string>(rest.begin() + 1, rest.end()), backup);
  }
  if (verb == "fill" && (args.size() == 3 || args.size() == 5)) return fillTiles(args);
  if (verb == "build" && args.size() >= 2) {
    std::vector<std::string> rest(args.begin() + 1, args.end());
    bool backup = false;
    if (rest[0] == "--backup") {
      backup = true;
      rest.erase(rest.begin());
    }
    if (rest.empty()) return usageError(self, "build needs a group file");
    return buildGroup(rest[0], std::vector<std::string>(rest.begin() + 1, rest.end()), backup);
  }
  return usageError(self, "unknown or incomplete sub-command");
}

}  // namespace gw::cli
