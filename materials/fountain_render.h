// Renders a fountain record as a left-to-right multi-colour ramp.
//
//   gw::MemBlock strip(gw::fountainRender(fountain581, 256, 1));
#pragma once

#include <cstdint>

#include "platform/memory.h"

namespace gw {

// A new 24-bit width x height Bitmap, or 0 on failure.
MemHandle fountainRender(const uint8_t* fountain581, int32_t width, int32_t height);

}  // namespace gw
