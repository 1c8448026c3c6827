// Tile groups: a file of any bytes is read whole or refused; what was read
// and written again reads back with the same tiles.
#include <cstring>
#include <string>
#include <vector>

#include "materials/tile_group.h"
#include "platform/memory.h"
#include "tests/fuzz/fuzz_target.h"

GW_FUZZ_TARGET(tile_group) {
  using namespace gw;
  std::string path = fuzz::scratchFile("group.mtx", data, size);
  TileGroup group;
  if (!tileGroupRead(path, &group)) return;
  MemBlock first(tileGroupLoadTile(path, 0));
  std::vector<MemHandle> tiles;
  for (const MemBlock& t : group.tiles) tiles.push_back(t.get());
  const std::string copy = fuzz::scratchFolder() + "/copy.mtx";
  if (!tileGroupWrite(copy, tiles, false)) return;
  TileGroup reread;
  GW_FUZZ_CHECK(tileGroupRead(copy, &reread));
  GW_FUZZ_CHECK(reread.tiles.size() == group.tiles.size());
  for (size_t i = 0; i < tiles.size(); ++i) {
    MemLock a(group.tiles[i].get()), b(reread.tiles[i].get());
    GW_FUZZ_CHECK(a.size() <= b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0);
  }
}
