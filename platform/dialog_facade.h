// The controls of a running dialog, read and written by identifier.
//
// Effects and the build pipeline see the main dialog only through this, so
// the same code runs against real windows in the DLL and against the
// in-memory dialog of the command-line host and the tests. Keep it as small
// as what callers really use.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window.h"

namespace gw {

class DialogFacade {
 public:
  virtual ~DialogFacade() = default;

  virtual WindowId window() const = 0;
  virtual bool hasControl(uint32_t id) const = 0;

  virtual std::string text(uint32_t id) const = 0;
  virtual void setText(uint32_t id, const std::string& text) = 0;

  virtual bool checked(uint32_t id) const = 0;
  virtual void setChecked(uint32_t id, bool on) = 0;

  // Combo and list boxes: the selected index, -1 for none.
  virtual int selection(uint32_t id) const = 0;
  virtual void setSelection(uint32_t id, int index) = 0;
  virtual void addItem(uint32_t id, const std::string& text) = 0;
  virtual int itemCount(uint32_t id) const = 0;

  virtual void setVisible(uint32_t id, bool visible) = 0;
  virtual bool visible(uint32_t id) const = 0;
};

}  // namespace gw
