#include "controls/list_text.h"

#include <algorithm>

namespace gw {

std::vector<std::string> splitListText(const std::string& text) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) pieces.push_back(text.substr(start, std::min<size_t>(end - start, 260)));
    start = end + 1;
  }
  return pieces;
}

int fillListFromText(DialogFacade& dialog, uint32_t id, const std::string& text) {
  dialog.clearItems(id);
  std::vector<std::string> pieces = splitListText(text);
  for (const std::string& p : pieces) dialog.addItem(id, p);
  return int(pieces.size());
}

}  // namespace gw
