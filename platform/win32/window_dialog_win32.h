// DialogFacade over a real dialog window.
#pragma once
#include <windows.h>

#include "platform/dialog_facade.h"

namespace gw {

class WindowDialog : public DialogFacade {
 public:
  explicit WindowDialog(HWND dialog) : dialog_(dialog) {}
  HWND hwnd() const { return dialog_; }

  WindowId window() const override;
  bool hasControl(uint32_t id) const override;
  std::vector<uint32_t> childIds() const override;
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

 private:
  HWND item(uint32_t id) const { return GetDlgItem(dialog_, int(id)); }
  bool isListBox(uint32_t id) const;
  HWND dialog_;
};

}  // namespace gw
