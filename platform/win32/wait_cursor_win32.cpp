#include <windows.h>

#include "platform/wait_cursor.h"

namespace gw {
WaitCursor::WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
WaitCursor::~WaitCursor() { SetCursor(static_cast<HCURSOR>(previous_)); }
}  // namespace gw
