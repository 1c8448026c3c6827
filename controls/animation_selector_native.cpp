// The in-memory dialog's animation selector: the control's procedure keeps
// the state block and forwards every message to the portable model. There is
// nothing to paint; a selection notifies nobody, as no timer runs here.
#include <memory>

#include "controls/animation_selector.h"
#include "controls/animation_selector_view.h"
#include "platform/in_memory_dialog.h"

namespace gw {

bool attachAnimationSelector(DialogFacade& dialog, uint32_t id) {
  auto* memory = dynamic_cast<InMemoryDialog*>(&dialog);
  if (!memory) return false;
  auto state = std::make_shared<MemHandle>(0);
  const WindowId self = memory->window();
  return memory->setProcedure(id, [state, self, id](uint32_t message, uintptr_t wParam, intptr_t lParam) {
    intptr_t result = 0;
    bool selected = false;
    animationSelectorMessage(state.get(), self, id, message, wParam, lParam, &result, &selected);
    return result;
  });
}

}  // namespace gw
