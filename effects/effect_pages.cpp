#include "effects/effect_pages.h"

#include "controls/animation_selector_view.h"
#include "controls/bound_control.h"
#include "controls/list_text.h"
#include "controls/spin_field.h"
#include "base/le_bytes.h"
#include "materials/material_button.h"
#include "effects/page_tables.h"
#include "platform/dialog_template.h"
#include "resources/resource_ids.h"
#include "settings/settings_table.h"

namespace gw {

const char kPluginInitFailedMessage[] = "This plugin could not be initialized";

namespace {

void* boundVariableOf(const PageControl& c) {
  if (!c.key) return nullptr;
  if (int32_t* n = settingNumber(settings(), c.key)) return n;
  return settingText(settings(), c.key);
}

// Controls no key keeps start from the table's value at every dialog start.
void showInitialValue(DialogFacade& dialog, const PageControl& c) {
  switch (c.kind) {
    case ControlKind::kCheckBox: dialog.setChecked(c.id, c.initialValue != 0); break;
    case ControlKind::kSpinField:
    case ControlKind::kColourButton: dialog.setText(c.id, std::to_string(uint32_t(c.initialValue))); break;
    default:
      if (isPad(c.kind)) dialog.setText(c.id, std::to_string(uint32_t(c.initialValue)));
      break;
  }
}

}  // namespace

int initEffectPage(EffectContext& ctx, uint16_t page) {
  if (!ctx.window) return 0;
  DialogFacade& dialog = *ctx.window;
  std::optional<DialogTemplate> t = loadDialogTemplate(ResourceName::number(page));
  const PageControl* controls = pageControls(page);
  if (!t || !controls) return 0;
  for (const DialogItem& item : t->items)
    if (!dialog.createControl(item, t->rect.x, t->rect.y)) return 0;

  for (const PageControl* c = controls; c->id != 0; ++c) {
    if (c->kind == ControlKind::kLabel) continue;
    // A page's lists get their entries from the table's list text.
    if (c->kind == ControlKind::kDropDownList && c->range) fillListFromText(dialog, c->id, c->range);
    void* variable = boundVariableOf(*c);
    if (c->kind == ControlKind::kMaterialButton) {
      // The button owns its record from the start (the one its file kept,
      // else the defaults in its starting colour), so that whatever sets it
      // later (the user, a document) has bytes to change.
      if (!startMaterialButton(dialog, c->id, uint32_t(c->initialValue))) return 0;
      continue;
    }
    if (c->kind == ControlKind::kAnimationSelector) {
      // The selector keeps its own state as the control's data; its
      // variable, the path buffer, is handed over when it is bound.
      bindControl(dialog, c->id, c->kind, nullptr);
      if (!startAnimationSelector(dialog, c->id, static_cast<char*>(variable))) return 0;
      continue;
    }
    bindControl(dialog, c->id, c->kind, variable);
    if (!variable) showInitialValue(dialog, *c);
  }
  return 1;
}

bool createEffectPages(DialogFacade& dialog) {
  for (int i = 0; i < kEffectCount; ++i) {
    const EffectRow& row = effectRow(i);
    dialog.addItem(IDC_EFFECT, row.name);
    EffectContext ctx;
    ctx.window = &dialog;
    if (!effectInitPage(row, ctx)) return false;
  }
  return true;
}

void releaseEffectPages(DialogFacade& dialog) {
  for (int i = 0; i < kEffectCount; ++i)
    for (const PageControl* c = effectRow(i).controls; c && c->id; ++c) {
      if (c->kind != ControlKind::kMaterialButton || boundKindOf(dialog, c->id) != c->kind) continue;
      // The button writes its file (where the run keeps files) and frees
      // its record; its window's own destruction then finds nothing left.
      dialog.sendMessage(c->id, kMsgDestroy, 0, 0);
      dialog.setBinding(c->id, uint8_t(c->kind), nullptr);
    }
}

void selectEffect(DialogFacade& dialog, int32_t index) {
  index = clampEffectIndex(index);
  for (int i = 0; i < kEffectCount; ++i)
    for (uint32_t id : effectControlIds(effectRow(i))) dialog.setVisible(id, false);
  for (uint32_t id : effectControlIds(effectRow(index))) dialog.setVisible(id, true);
  if (dialog.selection(IDC_EFFECT) != index) dialog.setSelection(IDC_EFFECT, index);
}

}  // namespace gw
