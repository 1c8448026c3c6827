#include "controls/colour_request.h"

#include <cstring>

#include "base/le_bytes.h"
#include "protocol/host_protocol.h"
#include "platform/wire_pointer.h"

namespace gw {

void orthogonalPalette256(uint8_t* out) {
  static const uint8_t kEight[8] = {0, 36, 72, 108, 144, 180, 216, 255};
  static const uint8_t kFour[4] = {0, 85, 170, 255};
  for (int r = 0; r < 8; ++r)
    for (int g = 0; g < 8; ++g)
      for (int b = 0; b < 4; ++b) {
        uint8_t* e = out + 3 * (r * 32 + g * 4 + b);
        e[0] = kEight[r];
        e[1] = kEight[g];
        e[2] = kFour[b];
      }
}

bool requestColour(const uint8_t* hostParams, WindowId owner, uint32_t* colour) {
  uint8_t palette[768];
  orthogonalPalette256(palette);
  uint8_t record[colour_pick_record::kSize] = {};
  const uint32_t paletteWire = wireFromPointer(palette);
  writeU32(record + colour_pick_record::kRecordSize, colour_pick_record::kSize);
  writeU32(record + colour_pick_record::kVersion, kInterfaceVersion);
  writeU32(record + colour_pick_record::kPalette, paletteWire);
  writeU32(record + colour_pick_record::kMode, 24);
  writeU32(record + colour_pick_record::kColour, *colour);
  writeU32(record + colour_pick_record::kOwner, owner);
  const int32_t confirmed = hostCall(hostParams, nullptr, kHostPickColour, 0, record);
  wireForget(paletteWire);
  if (!confirmed) return false;
  *colour = readU32(record + colour_pick_record::kColour) & 0xFFFFFF;
  return true;
}

}  // namespace gw
