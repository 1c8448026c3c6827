// Tile group files: load one tile, read a whole group for the tile dialog,
// write a group back.
//
//   gw::MemBlock tile(gw::tileGroupLoadTile(path, 3));   // 0 when none
//   gw::TileGroup group;
//   if (gw::tileGroupRead(path, &group)) { ... group.tiles ... }
//   gw::tileGroupWrite(path, handles, backupSwitch);
//
// Every read validates what it takes against the bytes the file holds before
// allocating; a short, foreign or malformed file fails as a whole and leaves
// the caller's state as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory.h"

namespace gw {

constexpr char kPrimaryTileGroup[] = "glwplug5.mtx";
constexpr char kTileGroupExtension[] = "MTX";

struct TileGroup {
  bool writeable = true;
  std::vector<MemBlock> tiles;  // each a packed bitmap block, in file order
};

struct TileGroupHeaderInfo {
  uint32_t timeWritten = 0;
  std::string owner;
  std::string organization;
  uint32_t versionMajor = 0;
  uint32_t versionMinor = 0;
  uint32_t versionLetter = 0;
  uint32_t chunkCount = 0;
  bool writeable = false;
};

// One chunk as listed by tileGroupList.
struct TileChunkInfo {
  char tag[5] = {};
  uint32_t dataSize = 0;
  int32_t width = 0;   // of the bitmap in an "MTXi" chunk, else 0
  int32_t height = 0;
  int bits = 0;
};

// Parses and checks a 1082-byte header (magic and chunk-count limit).
std::optional<TileGroupHeaderInfo> tileGroupParseHeader(const uint8_t* header1082);

// The tile at `index`, counting chunks of every tag from 0, as a new block
// holding the chunk's whole data (a packed bitmap). 0 when the file is
// missing or malformed, the index is out of range, the chunk is not a tile
// or its data is not a bitmap.
MemHandle tileGroupLoadTile(const std::string& path, int32_t index);

// Reads every "MTXi" chunk into `group->tiles` and takes the writeable flag.
// A missing file succeeds with an empty list and keeps the writeable flag;
// a file that exists but cannot be opened fails.
// On failure `group` is left untouched.
bool tileGroupRead(const std::string& path, TileGroup* group);

// Header and chunk list without the tile data, for listing a group.
bool tileGroupList(const std::string& path, TileGroupHeaderInfo* header,
                   std::vector<TileChunkInfo>* chunks);

// Writes `tiles` (packed bitmap blocks; each written whole) as a writeable
// group stamped with the current time and the registered owner and
// organisation. With `backup` the current file is first copied to
// "<path>.bak". The file is written beside the target and renamed into
// place, so a failed write leaves the old group intact.
bool tileGroupWrite(const std::string& path, const std::vector<MemHandle>& tiles, bool backup);

// What a written header records. The shipped primary group is written
// read-only with a fixed time and no owner, so that it is built the same way
// every time.
struct TileGroupStamp {
  uint32_t timeWritten = 0;
  std::string owner;
  std::string organization;
  bool writeable = true;
};
bool tileGroupWriteStamped(const std::string& path, const std::vector<MemHandle>& tiles, bool backup,
                           const TileGroupStamp& stamp);

}  // namespace gw
