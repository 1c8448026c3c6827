#include "ui/tile_image_request.h"

#include "protocol/host_protocol.h"

namespace gw {

PickedImage requestTileImage(const uint8_t* hostParams, WindowId owner) {
  PickedImage picked;
  // The host writes at most 260 characters and the terminator; the extra
  // byte keeps the name terminated whatever it writes.
  char name[262] = {};
  if (!hostCall(hostParams, nullptr, kHostChooseImageFile, int32_t(owner), name)) return picked;
  name[sizeof name - 1] = '\0';
  picked.chosen = true;
  if (name[0] == '\0') return picked;  // "chosen" nothing: nothing to read
  picked.image = MemHandle(uint32_t(hostCall(hostParams, nullptr, kHostLoadImage, 0, name)));
  return picked;
}

}  // namespace gw
