// Texture generation: one call runs the generator named by a texture
// settings record at the record's output rectangle.
//
//   gw::textureSetOutputRect(rec, 0, 0, s, s);
//   gw::MemBlock bmp(gw::textureGenerate(rec));   // s x s, 24-bit, or 0
//
// The record comes from files and documents, so every number in it is
// untrusted. Sizes that no real texture needs are refused or bounded rather
// than allowed to run for hours or allocate gigabytes (see the limits below);
// everything else follows the record exactly, and the same record always
// gives the same bytes.
#pragma once

#include <cstdint>

#include "platform/memory.h"

namespace gw {

// Largest output side (width or height) a texture is generated at. A text
// block wider than this is far beyond any animation frame the host shows.
constexpr int32_t kTextureMaxSide = 8192;
// Mesh sizes are clamped to 32..kTextureMaxMesh before rounding up to a power
// of two: a 2048 mesh is 32 MiB of working grid and already finer than the
// 1024 x 1024 height map the layers are read from.
constexpr uint32_t kTextureMaxMesh = 2048;
// Crater counts above this are taken as this (ten craters each).
constexpr uint32_t kTextureMaxCraterCount = 100000;
// Bubble radii above this are taken as this (besides the half-size rule),
// which keeps 1024 bubbles to about a billion cell updates.
constexpr uint32_t kTextureMaxBubbleSize = 512;

// Generates the settings' type at the output rectangle in bytes 4..19 and
// returns a new 24-bit Bitmap of (right - left) x (bottom - top) that the
// caller owns. 0 for a type outside 0..5, an empty or oversized rectangle, or
// an allocation failure. The record is not modified.
MemHandle textureGenerate(uint8_t* settings268);

}  // namespace gw
