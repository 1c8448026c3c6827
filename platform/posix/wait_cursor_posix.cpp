#include "platform/wait_cursor.h"
namespace gw {
WaitCursor::WaitCursor() = default;
WaitCursor::~WaitCursor() = default;
}  // namespace gw
