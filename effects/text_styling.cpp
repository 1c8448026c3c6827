#include "effects/text_styling.h"

#include "effects/frame_composer.h"
#include "effects/styled_line.h"

namespace gw {
namespace {

// Text shift and shadow shift per direction, in units of the shadow offset.
struct DirectionRow {
  int8_t textX, textY, shadowX, shadowY;
};
constexpr DirectionRow kDirections[8] = {
    {1, 1, 0, 0},  // 0 up-left
    {0, 1, 0, 0},  // 1 up
    {0, 1, 1, 0},  // 2 up-right
    {0, 0, 1, 0},  // 3 right
    {1, 0, 0, 0},  // 4 left
    {1, 0, 0, 1},  // 5 down-left
    {0, 0, 0, 1},  // 6 down
    {0, 0, 1, 1},  // 7 down-right
};

inline uint8_t blendChannel(uint32_t background, uint32_t source, uint32_t m) {
  return uint8_t((background * (255 - m) + source * m) / 255);
}

}  // namespace

void shadowShifts(int32_t direction, int32_t offset, Offset* text, Offset* shadow) {
  *text = Offset();
  *shadow = Offset();
  if (direction < 0 || direction > 7) return;
  const DirectionRow& r = kDirections[direction];
  *text = {r.textX * offset, r.textY * offset};
  *shadow = {r.shadowX * offset, r.shadowY * offset};
}

int32_t effectivePadding(int32_t pad, int32_t softness, bool outline) {
  int32_t p = pad;
  if (softness > 0) p += softness / 10 + 1;
  if (outline && p < 2) p = 1;
  return p;
}

uint32_t blendColour(uint32_t background, uint32_t source, uint32_t m) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8)
    out |= uint32_t(blendChannel((background >> shift) & 0xFF, (source >> shift) & 0xFF, m)) << shift;
  return out;
}

MemHandle renderTextFrame(const TextStyle& style, Motion motion) {
  StyledLine line;
  if (!prepareStyledLine(style, &line)) return 0;
  FrameComposer composer;
  if (!composer.prepare(line, line.restWidth, line.restHeight)) return 0;
  return composeLineAt(composer, line, motion);
}

}  // namespace gw
