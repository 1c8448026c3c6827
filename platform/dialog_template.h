// Dialog templates parsed from their resource bytes (DLGTEMPLATEEX as windres
// writes DIALOGEX, and the older DLGTEMPLATE). The in-memory dialog and the
// checks of page layouts read controls through this.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/resources.h"

namespace gw {

struct DialogRect {
  int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
};

struct DialogItem {
  uint32_t id = 0;
  std::string className;  // "Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox" or a registered class
  std::string text;       // an ordinal text (icons) reads as "#<n>"
  uint32_t style = 0;
  uint32_t exStyle = 0;
  DialogRect rect;
};

struct DialogTemplate {
  bool extended = false;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  DialogRect rect;
  std::string title;
  std::string className;
  uint16_t fontPoints = 0;
  std::string fontName;
  std::vector<DialogItem> items;

  const DialogItem* item(uint32_t id) const {
    for (const DialogItem& i : items)
      if (i.id == id) return &i;
    return nullptr;
  }
};

// Nothing when the bytes are truncated or not a dialog template.
std::optional<DialogTemplate> parseDialogTemplate(const ResourceBytes& bytes);

// Looks the template up among the library's resources and parses it.
std::optional<DialogTemplate> loadDialogTemplate(const ResourceName& name);

}  // namespace gw
