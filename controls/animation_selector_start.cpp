#include "controls/animation_selector.h"
#include "controls/animation_selector_view.h"

namespace gw {

bool startAnimationSelector(DialogFacade& dialog, uint32_t id, char* pathBuffer) {
  if (!attachAnimationSelector(dialog, id)) return false;
  if (!dialog.sendMessage(id, kMsgAnimationSelector, 0, 0)) return false;
  dialog.sendMessage(id, kMsgAnimationSelector, 1, reinterpret_cast<intptr_t>(pathBuffer));
  return true;
}

}  // namespace gw
