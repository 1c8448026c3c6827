#include "materials/fountain_record.h"

#include <algorithm>
#include <cstring>

#include "base/le_bytes.h"

namespace gw {
namespace {

struct PresetMarker {
  int position;
  uint32_t colour;
};

constexpr PresetMarker kRainbow[] = {{32, 0xFF0000},  {64, 0xFFFF00},  {96, 0x00FF00}, {128, 0x00FFFF},
                                     {160, 0x0000FF}, {192, 0xFF00FF}, {224, 0xCC0099}};

// Free slots (position 0) after every used one, otherwise by position.
bool markerBefore(uint32_t a, uint32_t b) {
  int pa = fountainMarkerPosition(a), pb = fountainMarkerPosition(b);
  if (pa == 0) return false;
  if (pb == 0) return true;
  return pa < pb;
}

}  // namespace

void fountainRecordDefaults(uint8_t* f, FountainPreset preset) {
  std::memset(f, 0, kFountainRecordSize);
  std::memcpy(f + fountain::kMagic, "QUILFOUN", 8);
  writeU32(f + fountain::kVersion, kFountainVersion);
  writeU32(f + fountain::kRecordSize, uint32_t(kFountainRecordSize));
  writeU32(f + fountain::kStartColour, 0x000000);
  writeU32(f + fountain::kEndColour, 0xFFFFFFFF);
  int count = 0;
  if (preset == FountainPreset::Grey) {
    writeU32(f + fountain::kMarkers, fountainMakeMarker(128, 0x808080));
    count = 1;
  } else if (preset == FountainPreset::Rainbow) {
    for (const PresetMarker& m : kRainbow)
      writeU32(f + fountain::kMarkers + 4 * size_t(count++), fountainMakeMarker(m.position, m.colour));
  }
  writeU32(f + fountain::kMarkerCount, uint32_t(count));
}

int fountainMarkerCount(const uint8_t* f) {
  int32_t count = readI32(f + fountain::kMarkerCount);
  return std::min(std::max(count, 0), kFountainMaxMarkers);
}

uint32_t fountainMarker(const uint8_t* f, int slot) {
  if (slot < 0 || slot >= kFountainMaxMarkers) return 0;
  return readU32(f + fountain::kMarkers + 4 * size_t(slot));
}

void fountainSortMarkers(uint8_t* f) {
  int count = fountainMarkerCount(f);
  uint32_t markers[kFountainMaxMarkers];
  for (int i = 0; i < count; ++i) markers[i] = fountainMarker(f, i);
  std::stable_sort(markers, markers + count, markerBefore);
  for (int i = 0; i < count; ++i) writeU32(f + fountain::kMarkers + 4 * size_t(i), markers[i]);
}

bool fountainDeleteMarker(uint8_t* f, int slot) {
  int count = fountainMarkerCount(f);
  if (slot < 0 || slot >= count) return false;
  writeU32(f + fountain::kMarkers + 4 * size_t(slot), 0);
  fountainSortMarkers(f);
  writeU32(f + fountain::kMarkerCount, uint32_t(count - 1));
  return true;
}

int fountainMarkerColumns(const uint8_t* f, int32_t width, int32_t columns[64]) {
  int count = fountainMarkerCount(f);
  const float scale = 1.0f / 255.0f;
  for (int i = 0; i < count; ++i) {
    float position = float(fountainMarkerPosition(fountainMarker(f, i)));
    float column = position * scale * float(width);
    columns[i] = int32_t(column);  // 0..width, always representable
  }
  return count;
}

}  // namespace gw
