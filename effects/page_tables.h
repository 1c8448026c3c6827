// The control tables of the 21 effect pages (dialogs 7400-7420), each ended
// by an entry with id 0. Labels are listed too, so that selecting an effect
// can show and hide every control of its page; spin partners are not listed
// (each spin field's partner is its id + 10000).
#pragma once

#include <cstdint>

#include "effects/page_control.h"

namespace gw {

constexpr uint16_t kFirstPage = 7400;
constexpr uint16_t kPageCount = 21;

// The table of page `page` (7400..7420), or null.
const PageControl* pageControls(uint16_t page);

}  // namespace gw
