// The "Matrix" dialog on a material's tile selection.
//
//   if (gw::runMatrixDialog(button, hostParams, material)) repaintPreview();
#pragma once

#include <cstdint>

#include "platform/window.h"

namespace gw {

// True when OK was pressed: the material's tile selection then holds the
// dialog's working copy (its old tile image freed) and the chosen group is
// kept in the configuration. False on Cancel, with the material as it was,
// and always in the command-line host, which has no windows. Pictures for
// new tiles come through the host (`hostParams`, codes 6 and 8).
bool runMatrixDialog(WindowId owner, const uint8_t* hostParams, uint8_t* material1270);

}  // namespace gw
