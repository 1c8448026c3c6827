#include "platform/in_memory_dialog.h"

#include <atomic>
#include <cctype>

namespace gw {
namespace {
// Window ids of in-memory dialogs: distinct, never 0, never reused in a run.
WindowId nextWindowId() {
  static std::atomic<uint32_t> next{0x7000};
  return next++;
}
bool isComboBox(const std::string& className) {
  static const char kName[] = "combobox";
  if (className.size() != sizeof kName - 1) return false;
  for (size_t i = 0; i < className.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(className[i])) != kName[i]) return false;
  return true;
}
}  // namespace

InMemoryDialog::InMemoryDialog(const DialogTemplate& t) : template_(t), window_(nextWindowId()) {
  for (const DialogItem& item : t.items) addControl(item);
}

InMemoryDialog::~InMemoryDialog() {
  constexpr uint32_t kDestroy = 0x0002;  // WM_DESTROY
  for (uint32_t id : order_) sendMessage(id, kDestroy, 0, 0);
}

std::unique_ptr<InMemoryDialog> InMemoryDialog::fromResource(const ResourceName& name) {
  auto t = loadDialogTemplate(name);
  if (!t) return nullptr;
  return std::make_unique<InMemoryDialog>(*t);
}

bool InMemoryDialog::addControl(const DialogItem& item) {
  if (control(item.id)) return false;
  const auto slot = uint32_t(controls_.size());
  if (item.id < kDirectIds) {
    if (item.id >= directSlots_.size()) directSlots_.resize(size_t(item.id) + 1, kNoSlot);
    directSlots_[item.id] = slot;
  } else {
    farSlots_[item.id] = slot;
  }
  InMemoryControl& c = *controls_.emplace_back(std::make_unique<InMemoryControl>());
  c.item = item;
  c.text = item.text;
  c.visible = (item.style & 0x10000000u) != 0;  // WS_VISIBLE
  c.enabled = (item.style & 0x08000000u) == 0;  // WS_DISABLED
  order_.push_back(item.id);
  return true;
}

const InMemoryControl* InMemoryDialog::control(uint32_t id) const {
  uint32_t slot = kNoSlot;
  if (id < directSlots_.size()) {
    slot = directSlots_[id];
  } else if (id >= kDirectIds) {
    auto it = farSlots_.find(id);
    if (it != farSlots_.end()) slot = it->second;
  }
  return slot == kNoSlot ? nullptr : controls_[slot].get();
}

InMemoryControl* InMemoryDialog::find(uint32_t id) {
  return const_cast<InMemoryControl*>(control(id));
}

std::string InMemoryDialog::text(uint32_t id) const {
  const InMemoryControl* c = control(id);
  return c ? c->text : std::string();
}

void InMemoryDialog::setText(uint32_t id, const std::string& text) {
  if (InMemoryControl* c = find(id)) c->text = text;
}

bool InMemoryDialog::checked(uint32_t id) const {
  const InMemoryControl* c = control(id);
  return c && c->checked;
}

void InMemoryDialog::setChecked(uint32_t id, bool on) {
  if (InMemoryControl* c = find(id)) c->checked = on;
}

int InMemoryDialog::selection(uint32_t id) const {
  const InMemoryControl* c = control(id);
  return c ? c->selection : -1;
}

void InMemoryDialog::setSelection(uint32_t id, int index) {
  InMemoryControl* c = find(id);
  if (!c) return;
  c->selection = (index >= 0 && index < int(c->items.size())) ? index : -1;
  if (c->selection >= 0) c->text = c->items[size_t(c->selection)];
  // A drop-down list without a selection shows no text, as a real one does.
  else if (isComboBox(c->item.className)) c->text.clear();
}

void InMemoryDialog::addItem(uint32_t id, const std::string& text) {
  if (InMemoryControl* c = find(id)) c->items.push_back(text);
}

int InMemoryDialog::itemCount(uint32_t id) const {
  const InMemoryControl* c = control(id);
  return c ? int(c->items.size()) : 0;
}

void InMemoryDialog::setVisible(uint32_t id, bool visible) {
  if (InMemoryControl* c = find(id)) c->visible = visible;
}

bool InMemoryDialog::visible(uint32_t id) const {
  const InMemoryControl* c = control(id);
  return c && c->visible;
}

std::string InMemoryDialog::itemText(uint32_t id, int index) const {
  const InMemoryControl* c = control(id);
  if (!c || index < 0 || index >= int(c->items.size())) return {};
  return c->items[size_t(index)];
}

void InMemoryDialog::clearItems(uint32_t id) {
  if (InMemoryControl* c = find(id)) {
    c->items.clear();
    c->selection = -1;
  }
}

void InMemoryDialog::setEnabled(uint32_t id, bool enabled) {
  if (InMemoryControl* c = find(id)) c->enabled = enabled;
}

bool InMemoryDialog::enabled(uint32_t id) const {
  const InMemoryControl* c = control(id);
  return c && c->enabled;
}

bool InMemoryDialog::createControl(const DialogItem& item, int originX, int originY) {
  DialogItem placed = item;
  placed.rect.x = int16_t(item.rect.x + originX);
  placed.rect.y = int16_t(item.rect.y + originY);
  placed.style &= ~0x10000000u;  // made hidden; the effect selection shows it
  return addControl(placed);
}

void InMemoryDialog::setBinding(uint32_t id, uint8_t kind, void* variable) {
  if (InMemoryControl* c = find(id)) {
    c->kind = kind;
    c->variable = variable;
  }
}

uint8_t InMemoryDialog::boundKind(uint32_t id) const {
  const InMemoryControl* c = control(id);
  return c ? c->kind : 0;
}

void* InMemoryDialog::boundVariable(uint32_t id) const {
  const InMemoryControl* c = control(id);
  return c ? c->variable : nullptr;
}

intptr_t InMemoryDialog::sendMessage(uint32_t id, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  InMemoryControl* c = find(id);
  if (!c || !c->procedure) return 0;
  // A copy, so a procedure that replaces itself finishes the call it is in.
  ControlProcedure procedure = c->procedure;
  return procedure(message, wParam, lParam);
}

bool InMemoryDialog::setProcedure(uint32_t id, ControlProcedure procedure) {
  InMemoryControl* c = find(id);
  if (!c) return false;
  c->procedure = std::move(procedure);
  return true;
}

}  // namespace gw
