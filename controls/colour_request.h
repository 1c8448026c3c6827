// Asking the host for a colour (callback code 11), as a colour button does
// when clicked.
//
//   uint32_t colour = current;
//   if (gw::requestColour(hostParams, dialog.window(), &colour)) store(colour);
#pragma once

#include <cstdint>

#include "platform/window.h"

namespace gw {

// Fills the 768-byte "256-color orthogonal" palette offered to the picker:
// entry r * 32 + g * 4 + b with red and green of 8 levels and blue of 4.
void orthogonalPalette256(uint8_t* out768);

// Sends the 28-byte colour-pick record with `*colour` as the current colour;
// true, with the chosen colour in `*colour`, when the host confirms.
bool requestColour(const uint8_t* hostParams, WindowId owner, uint32_t* colour);

}  // namespace gw
