// The picture for a new matrix tile, chosen and read by the host: code 6
// asks the user for a file, code 8 reads it into a bitmap the plug-in then
// owns.
//
//   gw::PickedImage p = gw::requestTileImage(hostParams, dialog.window());
//   if (p.chosen && !p.image) tell("Error reading file");
#pragma once

#include <cstdint>

#include "platform/window.h"
#include "ui/tile_group_editor.h"

namespace gw {

// Not chosen when there is no host or the user cancelled; chosen without an
// image when the host could not read the file.
PickedImage requestTileImage(const uint8_t* hostParams, WindowId owner);

}  // namespace gw
