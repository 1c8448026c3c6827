// The controls of a running dialog, read and written by identifier.
//
// Effects and the build pipeline see the main dialog only through this, so
// the same code runs against real windows in the DLL and against the
// in-memory dialog of the command-line host and the tests. Keep it as small
// as what callers really use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/window.h"

namespace gw {

class DialogFacade {
 public:
  virtual ~DialogFacade() = default;

  virtual WindowId window() const = 0;
  virtual bool hasControl(uint32_t id) const = 0;
  // The ids of the dialog's direct children in the system's enumeration
  // order: the template's controls in template order, then those added
  // later in the order they were made. Effect documents are written in it.
  virtual std::vector<uint32_t> childIds() const = 0;

  virtual std::string text(uint32_t id) const = 0;
  virtual void setText(uint32_t id, const std::string& text) = 0;

  virtual bool checked(uint32_t id) const = 0;
  virtual void setChecked(uint32_t id, bool on) = 0;

  // Combo and list boxes: the selected index, -1 for none.
  virtual int selection(uint32_t id) const = 0;
  virtual void setSelection(uint32_t id, int index) = 0;
  virtual void addItem(uint32_t id, const std::string& text) = 0;
  virtual int itemCount(uint32_t id) const = 0;

  virtual std::string itemText(uint32_t id, int index) const = 0;
  virtual void clearItems(uint32_t id) = 0;

  virtual void setVisible(uint32_t id, bool visible) = 0;
  virtual bool visible(uint32_t id) const = 0;
  virtual void setEnabled(uint32_t id, bool enabled) = 0;
  virtual bool enabled(uint32_t id) const = 0;

  // Adds a hidden child made from a dialog-template item (an effect page's
  // control), at the item's place moved by (originX, originY) dialog units.
  // False when it cannot be made or the id is taken.
  virtual bool createControl(const DialogItem& item, int originX, int originY) = 0;

  // A bound control's kind (a controls/ ControlKind value, 0 for none) and
  // the address of its bound variable (may be null). On Windows the kind is
  // the replacement window procedure and the address the window's user data.
  virtual void setBinding(uint32_t id, uint8_t kind, void* variable) = 0;
  virtual uint8_t boundKind(uint32_t id) const = 0;
  virtual void* boundVariable(uint32_t id) const = 0;

  // Sends a message to control `id` and returns its answer, as SendMessage
  // does: how effects talk to controls with a procedure of their own (the
  // animation selector). 0 when there is no such control or it does not answer.
  virtual intptr_t sendMessage(uint32_t id, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
};

}  // namespace gw
