#include "documents/document_lines.h"

#include "controls/animation_selector.h"
#include "controls/bound_control.h"
#include "effects/text_style_dialog.h"
#include "materials/material_document.h"
#include "materials/material_preview.h"
#include "materials/material_record.h"
#include "platform/memory.h"

namespace gw {
namespace {

// A material button's binding is the handle of the record it owns.
MemHandle materialRecordOf(const DialogFacade& dialog, uint32_t id) {
  auto record = MemHandle(reinterpret_cast<uintptr_t>(dialog.boundVariable(id)));
  return record && memSize(record) >= kMaterialRecordSize ? record : 0;
}

// A material button writes and reads its line itself (it renders a new
// preview for a line it takes). A button without a procedure of its own (a
// record bound by hand) is read and written here directly.
std::string materialLine(const DialogFacade& dialog, uint32_t id) {
  std::string line;
  // Asking changes nothing in the control; the facade's send is not const.
  if (const_cast<DialogFacade&>(dialog).sendMessage(id, kMsgWriteDocument, 1, reinterpret_cast<intptr_t>(&line)))
    return line;
  // A button without a record of its own writes the one it stands for.
  MaterialBytes bytes{};
  if (!readMaterialButton(dialog, id, &bytes)) return {};
  // Handles are this run's own: a reader zeroes them anyway, and a document
  // that holds none is the same file on every run and platform.
  materialRecordClearRuntime(bytes.data());
  materialPreviewAverage(bytes.data());
  line = materialDocumentLine(int32_t(id), bytes.data());
  if (!line.empty() && line.back() == '\n') line.pop_back();
  return line;
}

bool applyMaterialLine(DialogFacade& dialog, uint32_t id, const std::string& line) {
  if (dialog.sendMessage(id, kMsgReadDocument, 0, reinterpret_cast<intptr_t>(line.c_str()))) return true;
  MemLock lock(materialRecordOf(dialog, id));
  if (!lock) return false;
  return materialDocumentApply(line, lock.data());
}

// Controls with a procedure of their own (the animation selector, the
// fountain button) keep their state themselves; they are asked through the
// document messages.
std::string lineFromControl(const DialogFacade& dialog, uint32_t id) {
  std::string line;
  // Asking changes nothing in the control; the facade's send is not const.
  const_cast<DialogFacade&>(dialog).sendMessage(id, kMsgWriteDocument, 1, reinterpret_cast<intptr_t>(&line));
  return line;
}

bool applyLineToControl(DialogFacade& dialog, uint32_t id, const std::string& line) {
  return dialog.sendMessage(id, kMsgReadDocument, 0, reinterpret_cast<intptr_t>(line.c_str())) != 0;
}

const DocumentLineKind kLineKinds[] = {
    {ControlKind::kCheckBox, controlDocumentLine, applyControlDocumentLine},
    {ControlKind::kSpinField, controlDocumentLine, applyControlDocumentLine},
    {ControlKind::kColourButton, controlDocumentLine, applyControlDocumentLine},
    {ControlKind::kTextField, controlDocumentLine, applyControlDocumentLine},
    {ControlKind::kDropDownList, controlDocumentLine, applyControlDocumentLine},
    {ControlKind::kFontList, controlDocumentLine, applyControlDocumentLine},
    {ControlKind::kShadowPad, controlDocumentLine, applyControlDocumentLine},
    {ControlKind::kScroll4Pad, controlDocumentLine, applyControlDocumentLine},
    {ControlKind::kScroll2Pad, controlDocumentLine, applyControlDocumentLine},
    {ControlKind::kScrollHVPad, controlDocumentLine, applyControlDocumentLine},
    {ControlKind::kMaterialButton, materialLine, applyMaterialLine},
    {ControlKind::kAnimationSelector, lineFromControl, applyLineToControl},
    {ControlKind::kFountainButton, lineFromControl, applyLineToControl},
};

}  // namespace

const DocumentLineKind* documentLineKind(ControlKind kind) {
  for (const DocumentLineKind& row : kLineKinds)
    if (row.kind == kind) return &row;
  return nullptr;
}

std::string documentLineOf(const DialogFacade& dialog, uint32_t id) {
  const DocumentLineKind* row = documentLineKind(boundKindOf(dialog, id));
  return row ? row->write(dialog, id) : std::string();
}

bool applyDocumentLine(DialogFacade& dialog, uint32_t id, const std::string& line) {
  const DocumentLineKind* row = documentLineKind(boundKindOf(dialog, id));
  return row && row->apply(dialog, id, line);
}

}  // namespace gw
