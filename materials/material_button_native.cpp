// The in-memory dialog's material button: the control's procedure keeps the
// record as the control's bound variable and forwards every message to the
// portable model. Nothing is painted; the kind menu and the parent's
// notification go to the services' hooks, and what a window would post to
// itself is sent at once.
#include <memory>

#include "controls/control_kind.h"
#include "materials/material_button.h"
#include "materials/material_preview.h"
#include "platform/in_memory_dialog.h"

namespace gw {
namespace {

MemHandle recordOf(const DialogFacade& dialog, uint32_t id) {
  return MemHandle(reinterpret_cast<uintptr_t>(dialog.boundVariable(id)));
}

}  // namespace

bool attachMaterialButton(DialogFacade& dialog, uint32_t id) {
  auto* memory = dynamic_cast<InMemoryDialog*>(&dialog);
  if (!memory || !memory->hasControl(id)) return false;
  MaterialButtonFrame frame;
  frame.id = id;
  frame.owner = memory->window();
  // No window to measure: the pages' buttons are all of one size.
  frame.previewWidth = kMaterialPreviewWidth;
  frame.previewHeight = kMaterialPreviewHeight;
  if (memory->boundKind(id) != uint8_t(ControlKind::kMaterialButton))
    memory->setBinding(id, uint8_t(ControlKind::kMaterialButton), nullptr);
  auto owned = std::make_shared<MemHandle>(0);
  return memory->setProcedure(id, [memory, frame, owned](uint32_t message, uintptr_t wParam, intptr_t lParam) {
    MaterialButtonRecords records{recordOf(*memory, frame.id), *owned};
    intptr_t result = 0;
    MaterialButtonEffects fx;
    if (!materialButtonMessage(&records, frame, message, wParam, lParam, &result, &fx)) return intptr_t(0);
    *owned = records.owned;
    const MemHandle record = records.bound;
    memory->setBinding(frame.id, uint8_t(ControlKind::kMaterialButton), reinterpret_cast<void*>(uintptr_t(record)));
    const MaterialButtonServices& s = materialButtonServices();
    if (fx.notifyParent && s.notified) s.notified(frame.id, materialButtonKind(record));
    if (fx.showKindMenu && s.chooseKindItem) {
      if (uint32_t item = s.chooseKindItem(frame.id, materialButtonKind(record)))
        memory->sendMessage(frame.id, kMsgCommand, item, 0);
    }
    if (fx.postToSelf) memory->sendMessage(frame.id, fx.postToSelf, fx.postWParam, 0);
    return result;
  });
}

}  // namespace gw
