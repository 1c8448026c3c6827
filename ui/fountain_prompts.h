// The small questions a fountain button asks: a pop-up menu and the "Marker
// Position" dialog. On Windows they are real; natively there is no screen and
// a responder answers (by default: the menu is dismissed and the dialog
// cancelled, so a command-line run never blocks).
//
//   int item = gw::chooseMenuItem(button, {"Delete marker", "Change color"}, x, y);  // -1: none
//   int position = gw::askMarkerPosition(button, 128);                              // 0: cancelled
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/window.h"

namespace gw {

// Shows a pop-up menu at client point (x, y) of `owner`; the index of the
// item chosen, or -1 when the menu was dismissed.
int chooseMenuItem(WindowId owner, const std::vector<std::string>& items, int x, int y);

// Runs the "Marker Position" dialog (one field "Position:", 1 to 255) starting
// at `position`; the accepted position, or 0 on Cancel.
int askMarkerPosition(WindowId owner, int position);

namespace testing {
// Natively replaces the answers (empty functions restore the defaults).
void setMenuResponder(std::function<int(const std::vector<std::string>& items)> responder);
void setMarkerPositionResponder(std::function<int(int position)> responder);
}  // namespace testing

}  // namespace gw
