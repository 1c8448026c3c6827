#include "controls/font_families.h"

namespace gw {

void fillFontList(DialogFacade& dialog, uint32_t id) {
  dialog.clearItems(id);
  for (const std::string& face : screenFontFamilies())
    if (!face.empty()) dialog.addItem(id, face);
}

}  // namespace gw
