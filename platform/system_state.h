// Small process-level facts the plug-in reads from its surroundings: the
// Shift key, the wall clock, and the registered owner and organisation.
#pragma once

#include <cstdint>
#include <string>

namespace gw {

// True while either Shift key is held. Natively false unless a test says so.
bool shiftKeyDown();
namespace testing {
void setShiftKeyDown(bool down);
}

// The button-highlight colour (0x00BBGGRR) of the desktop scheme; natively
// white, as the classic scheme has it.
uint32_t buttonHighlightColour();

// Seconds since 1970 (UTC).
int64_t wallClockSeconds();

// The 24-character C `ctime` text of a time in local time, without the
// newline: "Wed Jun 30 21:49:08 1993".
std::string ctimeText(int64_t seconds);

// The registered owner and organisation of the machine, or empty.
// Natively: $GLYPHWRIGHT_OWNER (else the account's full name) and
// $GLYPHWRIGHT_ORGANIZATION.
std::string registeredOwner();
std::string registeredOrganization();

}  // namespace gw
