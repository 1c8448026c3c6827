// The named textures and the seamless tiles of the primary groups that ship
// with the plug-in ("glwplug5.fft", "glwplug5.mtx"). They are made here, by
// the plug-in's own generators and a few drawn patterns, and written by the
// gw_make_groups tool into resources/; a test checks the files there are
// still what these recipes make.
#pragma once

#include <vector>

#include "materials/texture_group.h"
#include "platform/memory.h"

namespace gw {

// The items of the primary texture group, in list order.
std::vector<TextureItem> shippedTextures();

// When the shipped groups say they were written (a fixed moment, so that
// making them twice gives the same bytes).
constexpr uint32_t kShippedGroupTime = 1796688000;  // Tue Dec  8 00:00:00 2026 UTC
// The whole text of the shipped "glwplug5.fft": read-only, no owner.
std::string shippedTextureGroupText();

// Side of every shipped tile (square).
constexpr int32_t kShippedTileSide = 64;

// Names of the shipped tiles, in group order (the group file holds no names;
// the contact sheet and the command line's listing use them).
std::vector<const char*> shippedTileNames();

// Draws shipped tile `index` (0-based) as a new 24-bit bitmap, or 0 when the
// index is out of range or memory runs out. Every tile wraps seamlessly: its
// right edge continues into its left and its bottom into its top.
MemHandle makeShippedTile(size_t index);

}  // namespace gw
