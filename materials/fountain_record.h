// The fountain record: a multi-colour ramp of up to 64 markers between a
// start and an end colour, 581 bytes little-endian. The same bytes are what
// fountain buttons keep in their files and documents and what library entries
// carry, so the layout below is binding.
//
//   uint8_t f[kFountainRecordSize];
//   gw::fountainRecordDefaults(f, gw::FountainPreset::Rainbow);
//   gw::fountainDeleteMarker(f, 2);            // sorts and decrements the count
//   gw::MemBlock bmp(gw::fountainRender(f, 256, 1));
//
// A marker dword holds the position in bits 24..31 (1..255 on a 0-to-255
// scale, 0 marks a free slot) and the colour in bits 0..23.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gw {

constexpr size_t kFountainRecordSize = 581;
constexpr uint32_t kFountainVersion = 0x04000001;
constexpr int kFountainMaxMarkers = 64;

namespace fountain {
constexpr size_t kMagic = 0;          // 8 bytes "QUILFOUN"
constexpr size_t kVersion = 8;
constexpr size_t kRecordSize = 12;
constexpr size_t kFlags = 16;         // bit 0 write back on close, bit 1 looped
constexpr size_t kReserved = 20;      // 261 bytes
constexpr size_t kPreviewImage = 281; // run-time only
constexpr size_t kMarkerCount = 285;
constexpr size_t kStartColour = 289;
constexpr size_t kEndColour = 293;
constexpr size_t kMarkers = 297;      // 64 dwords
constexpr size_t kEditorState = 553;  // 28 bytes, run-time only
constexpr uint32_t kFlagWriteBack = 1;
constexpr uint32_t kFlagLooped = 2;
}  // namespace fountain

enum class FountainPreset { Empty, Grey, Rainbow };

// Zeroes all 581 bytes and writes the preset.
void fountainRecordDefaults(uint8_t* fountain581, FountainPreset preset);

// The marker count as a renderer may use it: a stored count above 64 (or
// negative) comes from a damaged file and is clamped to 0..64.
int fountainMarkerCount(const uint8_t* fountain581);
uint32_t fountainMarker(const uint8_t* fountain581, int slot);
inline int fountainMarkerPosition(uint32_t marker) { return int(marker >> 24); }
inline uint32_t fountainMarkerColour(uint32_t marker) { return marker & 0xFFFFFF; }
inline uint32_t fountainMakeMarker(int position, uint32_t colour) {
  return (uint32_t(position & 0xFF) << 24) | (colour & 0xFFFFFF);
}

// Sorts the first count slots: ascending position, free slots (position 0)
// after every used one.
void fountainSortMarkers(uint8_t* fountain581);

// Frees the slot, sorts, and decrements the count. False for a slot outside
// the used markers.
bool fountainDeleteMarker(uint8_t* fountain581, int slot);

// For each used marker the pixel column trunc(position * (1/255) * width).
// Returns how many were written to columns (at most 64).
int fountainMarkerColumns(const uint8_t* fountain581, int32_t width, int32_t columns[64]);

}  // namespace gw
