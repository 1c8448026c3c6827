// A dialog without windows: its controls are made from a compiled dialog
// template and hold text, check state, items and selection in memory. The
// command-line host and the tests run the plug-in's dialogs through it.
//
//   auto dlg = gw::InMemoryDialog::fromResource(gw::ResourceName::number(1000));
//   dlg->setChecked(15, true);
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/dialog_facade.h"
#include "platform/dialog_template.h"

namespace gw {

// A control's own procedure, as a subclassed window has one.
using ControlProcedure = std::function<intptr_t(uint32_t message, uintptr_t wParam, intptr_t lParam)>;

struct InMemoryControl {
  DialogItem item;
  std::string text;
  bool checked = false;
  bool visible = true;
  bool enabled = true;
  int selection = -1;
  std::vector<std::string> items;
  uint8_t kind = 0;
  void* variable = nullptr;
  ControlProcedure procedure;
};

class InMemoryDialog : public DialogFacade {
 public:
  explicit InMemoryDialog(const DialogTemplate& t);
  // Controls with a procedure get WM_DESTROY, as windows do when their dialog goes.
  ~InMemoryDialog() override;
  static std::unique_ptr<InMemoryDialog> fromResource(const ResourceName& name);

  const DialogTemplate& dialogTemplate() const { return template_; }
  // Adds a control (as an effect page copies its controls into the dialog);
  // false when the id is already taken.
  bool addControl(const DialogItem& item);
  const InMemoryControl* control(uint32_t id) const;

  WindowId window() const override { return window_; }
  bool hasControl(uint32_t id) const override { return control(id) != nullptr; }
  std::vector<uint32_t> childIds() const override { return order_; }
  std::string text(uint32_t id) const override;
  void setText(uint32_t id, const std::string& text) override;
  bool checked(uint32_t id) const override;
  void setChecked(uint32_t id, bool on) override;
  int selection(uint32_t id) const override;
  void setSelection(uint32_t id, int index) override;
  void addItem(uint32_t id, const std::string& text) override;
  int itemCount(uint32_t id) const override;
  std::string itemText(uint32_t id, int index) const override;
  void clearItems(uint32_t id) override;
  void setVisible(uint32_t id, bool visible) override;
  bool visible(uint32_t id) const override;
  void setEnabled(uint32_t id, bool enabled) override;
  bool enabled(uint32_t id) const override;
  bool createControl(const DialogItem& item, int originX, int originY) override;
  void setBinding(uint32_t id, uint8_t kind, void* variable) override;
  uint8_t boundKind(uint32_t id) const override;
  void* boundVariable(uint32_t id) const override;
  intptr_t sendMessage(uint32_t id, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  // Gives control `id` a procedure; false when there is no such control.
  bool setProcedure(uint32_t id, ControlProcedure procedure);
  // Ids in creation order: the template's, then those createControl added.
  const std::vector<uint32_t>& controlOrder() const { return order_; }

 private:
  InMemoryControl* find(uint32_t id);
  DialogTemplate template_;
  // In creation order; each on its own, so a control stays where it is while
  // others are added (a procedure may add controls while its own is in use).
  std::vector<std::unique_ptr<InMemoryControl>> controls_;
  std::vector<uint32_t> order_;
  // Every read and write looks its control up, and documents read and write
  // every control: ids below kDirectIds (all that templates use) find their
  // slot by index, any others through the map.
  static constexpr uint32_t kDirectIds = 0x10000;
  static constexpr uint32_t kNoSlot = UINT32_MAX;
  std::vector<uint32_t> directSlots_;
  std::map<uint32_t, uint32_t> farSlots_;
  WindowId window_;
};

}  // namespace gw
