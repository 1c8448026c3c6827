#include "materials/material_record.h"

#include <cstring>

#include "base/le_bytes.h"
#include "materials/gradient_settings.h"
#include "materials/texture_settings.h"
#include "materials/tile_fill.h"
#include "materials/tile_selection.h"
#include "platform/memory.h"

namespace gw {

static_assert(material::kTexture - material::kGradient == kGradientSettingsSize, "gradient field size");
static_assert(material::kTileSelection - material::kTexture == texture_settings::kSize, "texture field size");
static_assert(material::kPreviewImage - material::kTileSelection == kTileSelectionSize, "tile selection size");
static_assert(material::kTileImage - material::kTileSelection == tile_selection::kImage, "tile image offset");
static_assert(material::kTileTarget - material::kTileSelection == tile_selection::kTargetRect, "tile target");

const char* materialKindName(int32_t kind) {
  static const char* const kNames[] = {"Simple", "Gradient", "Texture", "Tile"};
  return (kind >= 0 && kind < 4) ? kNames[kind] : nullptr;
}

void materialRecordDefaults(uint8_t* rec, bool withDefaultTile) {
  std::memset(rec, 0, kMaterialRecordSize);
  std::memcpy(rec + material::kMagic, "QUILCMAT", 8);
  writeU32(rec + material::kRecordSize, uint32_t(kMaterialRecordSize));
  writeU32(rec + material::kVersion, kMaterialVersion);
  writeI32(rec + material::kKind, kMaterialSimple);
  writeU32(rec + material::kColour, 0x808080);
  gradientSettingsDefaults(rec + material::kGradient);
  textureSettingsDefaults(rec + material::kTexture);
  if (withDefaultTile) writeU32(rec + material::kTileImage, tileBuiltInImage());
}

bool materialRecordHasMagic(const uint8_t* rec) {
  return std::memcmp(rec + material::kMagic, "QUILCMAT", 8) == 0;
}

void materialRecordClearRuntime(uint8_t* rec) {
  writeU32(rec + material::kTileImage, 0);
  writeU32(rec + material::kPreviewImage, 0);
  writeU32(rec + material::kButtonState, readU32(rec + material::kButtonState) & ~3u);
}

MemHandle materialRecordDuplicate(const uint8_t* rec) {
  MemBlock copy(memAlloc(kMaterialRecordSize));
  if (!copy) return 0;
  MemLock lock(copy.get());
  if (!lock || lock.size() < kMaterialRecordSize) return 0;
  uint8_t* to = lock.data();
  std::memcpy(to, rec, kMaterialRecordSize);
  writeU32(to + material::kPreviewImage, 0);
  writeU32(to + material::kTileImage, 0);
  if (!tileSelectionCopy(rec + material::kTileSelection, to + material::kTileSelection)) return 0;
  return copy.release();
}

}  // namespace gw
