// Starting an animation selector on a dialog's control: the control gets the
// selector's procedure (on Windows the control window is subclassed by the
// view in animation_selector_win32.cpp; natively the in-memory control gets
// it), then is created (1224, 0) and bound to the owner's path buffer
// (1224, 1), which loads the file the buffer names or the placeholder.
//
//   if (!gw::startAnimationSelector(dialog, 524, settings().Style011AnimPath)) fail();
#pragma once

#include <cstdint>

#include "platform/dialog_facade.h"

namespace gw {

// Gives control `id` the selector's procedure; false when it cannot.
bool attachAnimationSelector(DialogFacade& dialog, uint32_t id);

// Attaches, creates and binds; false when the control cannot be made a selector.
bool startAnimationSelector(DialogFacade& dialog, uint32_t id, char* pathBuffer);

}  // namespace gw
