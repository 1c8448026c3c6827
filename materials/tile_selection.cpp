#include "materials/tile_selection.h"

#include <cstring>

#include "base/le_bytes.h"
#include "materials/tile_group.h"

namespace gw {

using namespace tile_selection;

std::string tileSelectionPath(const uint8_t* sel) {
  return std::string(reinterpret_cast<const char*>(sel + kPath), fixedTextLength(sel + kPath, kPathWidth));
}

void tileSelectionSetPath(uint8_t* sel, const std::string& path) {
  writeFixedText(sel + kPath, kPathWidth, path.c_str());
}

void tileSelectionFreeImage(uint8_t* sel) {
  memFree(readU32(sel + kImage));
  writeU32(sel + kImage, 0);
}

bool tileSelectionLoad(uint8_t* sel) {
  tileSelectionFreeImage(sel);
  std::string path = tileSelectionPath(sel);
  if (path.empty()) return false;
  MemHandle tile = tileGroupLoadTile(path, readI32(sel + kIndex));
  writeU32(sel + kImage, tile);
  return tile != 0;
}

bool tileSelectionCopy(const uint8_t* from, uint8_t* to) {
  MemHandle image = readU32(from + kImage);
  MemBlock copy;
  if (image) {
    MemLock src(image);
    if (!src) return false;
    copy.reset(memAlloc(src.size()));
    MemLock dst(copy.get());
    if (!dst) return false;
    std::memcpy(dst.data(), src.data(), src.size());
  }
  if (from != to) std::memmove(to, from, kSize);
  writeU32(to + kImage, copy.release());
  return true;
}

}  // namespace gw
