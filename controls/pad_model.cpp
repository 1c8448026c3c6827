#include "controls/pad_model.h"

#include "controls/control_messages.h"
#include "platform/in_memory_dialog.h"

#include <cstdlib>

namespace gw {
namespace {

struct PadLayout {
  ControlKind kind;
  uint16_t strip;
  int count;
  PadCell cells[8];
};

const PadLayout kLayouts[] = {
    {ControlKind::kShadowPad, 7104, 8,
     {{0, 0, 25, 25}, {25, 0, 50, 25}, {50, 0, 75, 25}, {50, 25, 75, 50},
      {0, 25, 25, 50}, {0, 50, 25, 75}, {25, 50, 50, 75}, {50, 50, 75, 75}}},
    {ControlKind::kScroll4Pad, 7105, 4, {{25, 0, 50, 25}, {50, 25, 75, 50}, {0, 25, 25, 50}, {25, 50, 50, 75}}},
    {ControlKind::kScroll2Pad, 7106, 2, {{0, 0, 25, 25}, {25, 0, 50, 25}}},
    {ControlKind::kScrollHVPad, 7110, 2, {{0, 25, 25, 50}, {25, 0, 50, 25}}},
};

const PadLayout* layoutOf(ControlKind kind) {
  for (const PadLayout& l : kLayouts)
    if (l.kind == kind) return &l;
  return nullptr;
}

}  // namespace

int padValueCount(ControlKind kind) {
  const PadLayout* l = layoutOf(kind);
  return l ? l->count : 0;
}

bool padCell(ControlKind kind, int value, PadCell* out) {
  const PadLayout* l = layoutOf(kind);
  if (!l || value < 0 || value >= l->count) return false;
  *out = l->cells[value];
  return true;
}

int padCellAt(ControlKind kind, int x, int y) {
  const PadLayout* l = layoutOf(kind);
  if (!l) return -1;
  for (int i = 0; i < l->count; ++i) {
    const PadCell& c = l->cells[i];
    if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) return i;
  }
  return -1;
}

uint16_t padGlyphStrip(ControlKind kind) {
  const PadLayout* l = layoutOf(kind);
  return l ? l->strip : 0;
}

int32_t padValue(const DialogFacade& dialog, uint32_t id) {
  std::string text = dialog.text(id);
  if (text.empty() || text[0] < '0' || text[0] > '9') return 0;
  return int32_t(uint32_t(std::strtoul(text.c_str(), nullptr, 10)));
}

bool padMessage(DialogFacade& dialog, uint32_t id, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const ControlKind kind = static_cast<ControlKind>(dialog.boundKind(id));
  if (!isPad(kind)) return false;
  if (message == kMsgControlInit) {
    dialog.setBinding(id, uint8_t(kind), reinterpret_cast<void*>(lParam));
    dialog.setText(id, std::to_string(uint32_t(wParam)));
    return true;
  }
  if (message == kMsgPadFromText) {
    const int32_t value = padValue(dialog, id);
    // The text now says the value the pad shows, in the form it mirrors it.
    dialog.setText(id, std::to_string(uint32_t(value)));
    if (auto* bound = static_cast<int32_t*>(dialog.boundVariable(id))) *bound = value;
    return true;
  }
  return false;
}

void attachPadMessages(DialogFacade& dialog, uint32_t id) {
  auto* memory = dynamic_cast<InMemoryDialog*>(&dialog);
  if (!memory) return;
  memory->setProcedure(id, [memory, id](uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return intptr_t(padMessage(*memory, id, message, wParam, lParam) ? 1 : 0);
  });
}

}  // namespace gw
