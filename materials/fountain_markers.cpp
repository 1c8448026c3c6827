#include "materials/fountain_markers.h"

#include "base/le_bytes.h"
#include "materials/fountain_record.h"

namespace gw {
namespace {

uint8_t* markerAt(uint8_t* f, int slot) { return f + fountain::kMarkers + 4 * size_t(slot); }

bool positionUsed(const uint8_t* f, int position, int skipSlot) {
  const int count = fountainMarkerCount(f);
  for (int i = 0; i < count; ++i)
    if (i != skipSlot && fountainMarkerPosition(fountainMarker(f, i)) == position) return true;
  return false;
}

int clampPosition(int p) { return p < 1 ? 1 : (p > 255 ? 255 : p); }

int nearestFree(const uint8_t* f, int wanted, int skipSlot) {
  wanted = clampPosition(wanted);
  if (!positionUsed(f, wanted, skipSlot)) return wanted;
  for (int d = 1; wanted - d >= 1 || wanted + d <= 255; ++d) {
    if (wanted - d >= 1 && !positionUsed(f, wanted - d, skipSlot)) return wanted - d;
    if (wanted + d <= 255 && !positionUsed(f, wanted + d, skipSlot)) return wanted + d;
  }
  return 0;
}

}  // namespace

int fountainFreePosition(const uint8_t* f, int wanted) {
  if (fountainMarkerCount(f) >= kFountainMaxMarkers) return 0;
  return nearestFree(f, wanted, -1);
}

bool fountainAddMarker(uint8_t* f, int position, uint32_t colour) {
  const int count = fountainMarkerCount(f);
  if (count >= kFountainMaxMarkers || position < 1 || position > 255) return false;
  writeU32(markerAt(f, count), fountainMakeMarker(position, colour));
  writeI32(f + fountain::kMarkerCount, count + 1);
  fountainSortMarkers(f);
  return true;
}

bool fountainSetMarkerColour(uint8_t* f, int slot, uint32_t colour) {
  if (slot < 0 || slot >= fountainMarkerCount(f)) return false;
  const uint32_t old = fountainMarker(f, slot);
  writeU32(markerAt(f, slot), fountainMakeMarker(fountainMarkerPosition(old), colour));
  return true;
}

int fountainMoveMarker(uint8_t* f, int slot, int wanted) {
  if (slot < 0 || slot >= fountainMarkerCount(f)) return 0;
  const int position = nearestFree(f, wanted, slot);
  if (!position) return 0;  // unreachable: 63 others leave a free position
  const uint32_t colour = fountainMarkerColour(fountainMarker(f, slot));
  writeU32(markerAt(f, slot), fountainMakeMarker(position, colour));
  fountainSortMarkers(f);
  return position;
}

}  // namespace gw

namespace gw {

bool fountainSetMarkerPosition(uint8_t* f, int slot, int position) {
  if (slot < 0 || slot >= fountainMarkerCount(f) || position < 1 || position > 255) return false;
  const uint32_t colour = fountainMarkerColour(fountainMarker(f, slot));
  writeU32(f + fountain::kMarkers + 4 * size_t(slot), fountainMakeMarker(position, colour));
  fountainSortMarkers(f);
  return true;
}

int fountainFindMarker(const uint8_t* f, uint32_t marker) {
  const int count = fountainMarkerCount(f);
  for (int i = 0; i < count; ++i)
    if (fountainMarker(f, i) == marker) return i;
  return -1;
}

}  // namespace gw
