#include "ui/fountain_prompts.h"

namespace gw {
namespace {
std::function<int(const std::vector<std::string>&)>& menuResponder() {
  static std::function<int(const std::vector<std::string>&)> r;
  return r;
}
std::function<int(int)>& positionResponder() {
  static std::function<int(int)> r;
  return r;
}
}  // namespace

int chooseMenuItem(WindowId, const std::vector<std::string>& items, int, int) {
  if (!menuResponder()) return -1;
  const int index = menuResponder()(items);
  return index >= 0 && index < int(items.size()) ? index : -1;
}

int askMarkerPosition(WindowId, int position) {
  if (!positionResponder()) return 0;
  const int answer = positionResponder()(position);
  // The dialog's field takes nothing outside 1..255.
  return answer >= 1 && answer <= 255 ? answer : 0;
}

namespace testing {
void setMenuResponder(std::function<int(const std::vector<std::string>&)> responder) {
  menuResponder() = std::move(responder);
}
void setMarkerPositionResponder(std::function<int(int)> responder) { positionResponder() = std::move(responder); }
}  // namespace testing

}  // namespace gw
