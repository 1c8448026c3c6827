#include "materials/tile_fill.h"

#include <cstring>

#include "base/le_bytes.h"
#include "platform/bitmap.h"
#include "materials/tile_selection.h"
#include "platform/resources.h"

namespace gw {
namespace {

// A tile's pixel as a colour, whatever its depth: palette images are looked
// up in their own colour table.
uint32_t tileColour(const BitmapView& tile, int32_t x, int32_t y) {
  int64_t v = tile.getPixel(x, y);
  if (v < 0) return 0;
  if (tile.bits() <= 8) {
    const uint8_t* entry = tile.colourTable() + 4 * size_t(v);
    return uint32_t(entry[2]) | (uint32_t(entry[1]) << 8) | (uint32_t(entry[0]) << 16);
  }
  return uint32_t(v) & 0xFFFFFF;
}

// Every target pixel (x, y) takes the tile's pixel (x mod tw, y mod th): the
// same as copying whole tiles at origins 0, tw, 2 tw, ... and dropping what
// falls outside, without any index leaving either bitmap.
void tileInto(const BitmapView& tile, const BitmapView& target) {
  const int32_t tw = tile.width();
  const int32_t th = tile.height();
  for (int32_t y = 0; y < target.height(); ++y) {
    uint8_t* out = target.row(y);
    const int32_t ty = y % th;
    if (tile.bits() == 24) {
      const uint8_t* in = tile.row(ty);
      for (int32_t x = 0; x < target.width(); ++x) std::memcpy(out + 3 * size_t(x), in + 3 * size_t(x % tw), 3);
    } else {
      for (int32_t x = 0; x < target.width(); ++x) target.setPixel(x, y, tileColour(tile, x % tw, ty));
    }
  }
}

}  // namespace

MemHandle tileBuiltInImage() {
  auto res = findResource(kResBitmap, ResourceName::number(kBuiltInTileResource));
  if (!res) res = findResource(kResBitmap, ResourceName::text(kBuiltInTileName));
  if (!res || res->size == 0) return 0;
  MemBlock block(memAlloc(res->size));
  MemLock lock(block.get());
  if (!lock) return 0;
  std::memcpy(lock.data(), res->data, res->size);
  if (!BitmapView::of(lock).valid()) return 0;
  return block.release();
}

MemHandle tileFill(uint8_t* sel, int32_t width, int32_t height) {
  writeI32(sel + tile_selection::kTargetRect + 0, 0);
  writeI32(sel + tile_selection::kTargetRect + 4, 0);
  writeI32(sel + tile_selection::kTargetRect + 8, width);
  writeI32(sel + tile_selection::kTargetRect + 12, height);
  MemBlock result(bitmapCreateTrueColour(width, height, 24));
  if (!result) return 0;

  MemHandle image = readU32(sel + tile_selection::kImage);
  MemBlock builtIn;
  MemLock tileLock(image);
  BitmapView tile = BitmapView::of(tileLock);
  if (!tile.valid()) {
    builtIn.reset(tileBuiltInImage());
    if (!builtIn) return 0;
  }
  MemLock builtInLock(builtIn.get());
  if (builtIn) tile = BitmapView::of(builtInLock);
  if (!tile.valid()) return 0;

  {
    MemLock targetLock(result.get());
    BitmapView target = BitmapView::of(targetLock);
    if (!target.valid()) return 0;
    tileInto(tile, target);
  }
  return result.release();
}

}  // namespace gw
