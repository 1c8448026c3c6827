// The material record: what a face, outline or shadow is painted with. 1270
// bytes little-endian, held by a material button in one movable block; the
// same bytes are its file and (as hexadecimal text) its document line.
//
//   uint8_t rec[gw::kMaterialRecordSize];
//   gw::materialRecordDefaults(rec, false);
//   gw::writeU32(rec + gw::material::kKind, gw::kMaterialGradient);
//   gw::MemBlock bmp(gw::materialFill(rec, 300, 100));
//
// Handle fields (tile image, preview image) are 32-bit handles that belong to
// the record's holder; they are meaningless in a stored record and are zeroed
// whenever one is read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/memory.h"

namespace gw {

constexpr size_t kMaterialRecordSize = 1270;
constexpr uint32_t kMaterialVersion = 0x00040000;
constexpr size_t kTileSelectionSize = 317;

constexpr int32_t kMaterialSimple = 0;
constexpr int32_t kMaterialGradient = 1;
constexpr int32_t kMaterialTexture = 2;
constexpr int32_t kMaterialTile = 3;

// Kind names in menu order.
const char* materialKindName(int32_t kind);

namespace material {
constexpr size_t kMagic = 0;            // 8 bytes "QUILCMAT"
constexpr size_t kRecordSize = 8;
constexpr size_t kVersion = 12;
constexpr size_t kKind = 16;
constexpr size_t kColour = 20;
constexpr size_t kButtonState = 24;     // bit 0 face pressed, bit 1 arrow pressed
constexpr size_t kGradient = 28;        // 621-byte gradient settings
constexpr size_t kTexture = 649;        // 268-byte texture settings
constexpr size_t kTileSelection = 917;  // 317-byte unit, fields below
constexpr size_t kTilePath = 917;       // 261 bytes, zero-terminated
constexpr size_t kTilePathWidth = 261;
constexpr size_t kTileIndex = 1178;
constexpr size_t kTileImage = 1182;     // run-time handle
constexpr size_t kTileTarget = 1186;    // left, top, right, bottom
constexpr size_t kTileReserved = 1202;  // 32 bytes
constexpr size_t kPreviewImage = 1234;  // run-time handle
constexpr size_t kPreviewAverage = 1238;
constexpr size_t kReserved = 1242;      // 28 bytes
}  // namespace material

// Zeroes the record and writes the defaults: grey Simple material, gradient
// and texture defaults; with `withDefaultTile` the tile image becomes a new
// copy of the built-in tile (owned by the record's holder; stays 0 when it
// cannot be made).
void materialRecordDefaults(uint8_t* record1270, bool withDefaultTile);

// True when the record starts with the material magic.
bool materialRecordHasMagic(const uint8_t* record1270);

// Zeroes the run-time handles and clears the button's pressed bits, as every
// read of a stored record must (the handles belong to another run).
void materialRecordClearRuntime(uint8_t* record1270);

// A new movable block holding a copy of the record with a tile image of its
// own and no preview image, as a duplicated material button needs; 0 when
// memory fails.
MemHandle materialRecordDuplicate(const uint8_t* record1270);

}  // namespace gw
