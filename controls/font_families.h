// The font list (FNTBOX): filled with the screen's font families.
//
//   gw::fillFontList(dialog, 53);   // then showBoundValue selects the stored face
#pragma once

#include <string>
#include <vector>

#include "platform/dialog_facade.h"

namespace gw {

// The face names of the screen's font families, without empty ones, sorted
// as a sorted list would hold them. Windows: EnumFontFamilies; natively:
// fontconfig's families.
std::vector<std::string> screenFontFamilies();

// Clears the list and adds every family.
void fillFontList(DialogFacade& dialog, uint32_t id);

}  // namespace gw
