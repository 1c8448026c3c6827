// The "Texture" dialog on a material's texture settings.
//
//   if (gw::runTextureDialog(button, hostParams, material)) repaintPreview();
#pragma once

#include <cstdint>

#include "platform/window.h"

namespace gw {

// True when OK was pressed: the material's texture settings then hold the
// dialog's working copy and the chosen group is kept in the configuration.
// False on Cancel, and always in the command-line host, which has no windows.
bool runTextureDialog(WindowId owner, const uint8_t* hostParams, uint8_t* material1270);

}  // namespace gw
