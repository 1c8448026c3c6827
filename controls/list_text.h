// Drop-down lists filled from one ";"-separated text, as the main dialog and
// the effect pages fill theirs.
//
//   int n = gw::fillListFromText(dialog, 13, "Black and white;Sixteen-color Windows");
#pragma once

#include <string>
#include <vector>

#include "platform/dialog_facade.h"

namespace gw {

// The non-empty pieces between ";" (runs of ";" count as one), each cut to
// 260 characters.
std::vector<std::string> splitListText(const std::string& text);

// Clears the list, adds the pieces in order and returns how many there are.
int fillListFromText(DialogFacade& dialog, uint32_t id, const std::string& text);

}  // namespace gw
