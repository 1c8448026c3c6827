// Drawing a colour swatch (controls/colour_swatch.h) into an owner-draw item.
//
//   case WM_DRAWITEM: gw::drawColourSwatch(item, colour, gw::kSwatchHashText); return TRUE;
#pragma once

#include <windows.h>

#include <cstdint>

namespace gw {

// Paints the item with `colour` (0x00BBGGRR) and the parts `options` asks for.
void drawColourSwatch(const DRAWITEMSTRUCT* item, uint32_t colour, uint32_t options);

}  // namespace gw
