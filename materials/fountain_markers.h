// Editing a fountain's markers: the operations a fountain button performs
// when the user adds, moves or recolours a marker. Every one keeps the used
// markers in slots 0..count-1, sorted (fountainSortMarkers).
//
//   int p = gw::fountainFreePosition(f, 128);   // 128, or the nearest free one
//   if (p > 0) gw::fountainAddMarker(f, p, 0x808080);
#pragma once

#include <cstdint>

namespace gw {

// The position a new marker wanted at `wanted` (clamped to 1..255) gets: the
// wanted one when no used marker has it, else the nearest free one, trying
// below before above (wanted - 1, wanted + 1, wanted - 2, ...). 0 when every
// position is taken or the fountain already holds 64 markers.
int fountainFreePosition(const uint8_t* fountain581, int wanted);

// Appends a marker at `position` (1..255), increments the count and sorts.
// False (record unchanged) when the fountain is full or the position is out
// of range.
bool fountainAddMarker(uint8_t* fountain581, int position, uint32_t colour);

// Replaces the colour of used marker `slot`, keeping its position byte.
bool fountainSetMarkerColour(uint8_t* fountain581, int slot, uint32_t colour);

// Moves used marker `slot` to the free position nearest `wanted` (as
// fountainFreePosition, with the marker itself out of the way). Returns the
// position it now has, or 0 (record unchanged) for a slot outside the used
// markers.
int fountainMoveMarker(uint8_t* fountain581, int slot, int wanted);

}  // namespace gw

namespace gw {
// Gives used marker `slot` the position (1..255) as it stands, even one
// another marker has, and sorts. False for a slot or position out of range.
bool fountainSetMarkerPosition(uint8_t* fountain581, int slot, int position);
// The slot of the used marker with this dword, or -1.
int fountainFindMarker(const uint8_t* fountain581, uint32_t marker);
}  // namespace gw
