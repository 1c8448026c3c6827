// The in-memory dialog's fountain button: the control's procedure keeps the
// record handle and forwards every message to the portable model. Nothing is
// painted; a change calls the owner's callback where a window would send
// WM_COMMAND to its parent.
#include <memory>

#include "platform/in_memory_dialog.h"
#include "ui/fountain_button.h"

namespace gw {

bool registerFountainButtonClass() { return true; }

bool attachFountainButton(DialogFacade& dialog, uint32_t id, const uint8_t* hostParams,
                          void (*onChange)(void* context), void* context) {
  auto* memory = dynamic_cast<InMemoryDialog*>(&dialog);
  if (!memory || !memory->hasControl(id)) return false;
  auto record = std::make_shared<MemHandle>(0);
  auto window = std::make_shared<FountainButtonWindow>();
  window->self = memory->window();
  window->id = id;
  window->hostParams = hostParams;
  return memory->setProcedure(id, [=](uint32_t message, uintptr_t wParam, intptr_t lParam) {
    window->text = memory->text(id);
    intptr_t result = 0;
    FountainButtonEvents events;
    fountainButtonMessage(record.get(), *window, message, wParam, lParam, &result, &events);
    if (events.changed && onChange) onChange(context);
    return result;
  });
}

}  // namespace gw
