// The 317-byte tile selection: which tile of which group a material uses,
// the loaded tile image and the rectangle the tiling fills. It sits inside
// the material record (bytes 917..1233) and the tile dialog copies it in and
// out whole.
//
//   uint8_t* sel = material + 917;
//   gw::tileSelectionLoad(sel);                 // image <- tile at path/index
//   gw::MemBlock bmp(gw::tileFill(sel, w, h));  // built-in tile when none
//   gw::tileSelectionFreeImage(sel);
//
// The image handle is run-time only: a selection read from a file or a
// document must have it zeroed before any of these functions see it, since a
// stale number could name someone else's block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/memory.h"

namespace gw {

namespace tile_selection {
constexpr size_t kSize = 317;
constexpr size_t kPath = 0;          // zero-terminated group path
constexpr size_t kPathWidth = 261;
constexpr size_t kIndex = 261;       // i32, counts chunks of every tag from 0
constexpr size_t kImage = 265;       // MemHandle of the loaded tile, run-time only
constexpr size_t kTargetRect = 269;  // i32 x 4: left, top, right, bottom
constexpr size_t kReserved = 285;    // 32 bytes, zero
}  // namespace tile_selection

// The stored group path (cut at the field's end when unterminated).
std::string tileSelectionPath(const uint8_t* selection317);
void tileSelectionSetPath(uint8_t* selection317, const std::string& path);

// Frees the selection's tile image (if any) and loads the tile at the stored
// path and index in its place. Returns false, leaving no image (so the
// built-in tile serves), when the path is empty, the file is missing or
// malformed, or there is no such tile.
bool tileSelectionLoad(uint8_t* selection317);

// Frees the tile image and zeroes its handle.
void tileSelectionFreeImage(uint8_t* selection317);

// Copies `from` into `to` with a copy of its tile image of its own, as a
// duplicated material needs. `to`'s old image is not freed (the caller owns
// it). False, with `to` untouched, when the image cannot be copied.
bool tileSelectionCopy(const uint8_t* from317, uint8_t* to317);

}  // namespace gw
