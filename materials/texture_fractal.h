// The fractal textures (types 0..3): one to four cloud layers made by
// spectral synthesis, each painted in its colour where its surface rises
// above the middle level.
//
// The stages are exposed one by one so that each can be checked on its own;
// textureFractal runs them all for one bitmap.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/bitmap.h"

namespace gw {

// The mesh a stored mesh size is synthesised at: below 32 counts as 32,
// above kTextureMaxMesh as that, then rounded up to a power of two.
uint32_t textureMeshSize(uint32_t stored);

// The mesh actually synthesised for an output whose working width (longer
// side, made even) is given: textureMeshSize(stored), but no finer than the
// power of two at or above twice that width, and never below
// kFractalMeshFloor. Finer meshes only add detail the bilinear read cannot
// show and cost n^2 log n per layer (five 2048 meshes took seconds for an
// 80 x 80 fill). The pixels are the same wherever the stored mesh is within
// the bound; past it the surface is a coarser draw of the same seed (the
// spectrum's random numbers are laid out by the mesh, so no smaller mesh can
// reproduce a larger one's picture).
constexpr uint32_t kFractalMeshFloor = 256;
uint32_t fractalWorkingMesh(uint32_t stored, int32_t workingWidth);

// Side of the height map read by the layers: the mesh, but 32..1024.
uint32_t fractalHeightMapSize(uint32_t mesh);

// Seeds the generator with `seed`, fills the n x n interleaved complex grid
// with the random spectrum of a surface of the given fractal dimension and
// transforms it; the real parts are then the surface. False when the
// transform's work buffers cannot be had.
bool fractalSynthesize(float* grid, uint32_t n, uint32_t seed, float dimension);

// Raises positive heights to `power` (unless it is 1), normalises the real
// parts to -1..1 and writes the c x c height bytes (row by row) from the
// grid's top-left corner. False, leaving `bytes` unset, when the surface is
// flat or not finite (an extreme dimension or power): such a layer is skipped.
bool fractalHeightBytes(float* grid, uint32_t n, float power, uint8_t* bytes, uint32_t c);

// Paints one layer of colour `colour` (0x00BBGGRR) over the 24-bit target:
// the c x c height map is stretched over `workingWidth` columns and the
// target's rows; columns beyond the target are dropped.
void fractalCompositeLayer(const uint8_t* bytes, uint32_t c, uint32_t colour, int32_t workingWidth,
                           const BitmapView& target);

// Runs every layer of the settings' type over `target`, which holds the
// background already. False on an allocation failure.
bool textureFractal(const uint8_t* settings268, uint32_t layers, const BitmapView& target);

}  // namespace gw
