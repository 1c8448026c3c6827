#include "effects/styled_line.h"

#include <algorithm>
#include <climits>

#include "platform/bitmap.h"

namespace gw {
namespace {

int32_t clampTo(int32_t v, int32_t lo, int32_t hi) { return std::min(std::max(v, lo), hi); }

// Far enough out that no canvas reaches it, near enough that sums stay in 64 bits.
constexpr int64_t kFar = int64_t(1) << 30;

bool copyMask(MemHandle bitmap, MaskPlane* out) {
  MemLock lock(bitmap);
  BitmapView view = BitmapView::of(lock);
  if (!view.valid() || view.bits() != 8 || !out->allocate(view.width(), view.height())) return false;
  for (int32_t y = 0; y < view.height(); ++y) std::copy_n(view.row(y), view.width(), out->row(y));
  return true;
}

}  // namespace

TextStyle clampedStyle(const TextStyle& style) {
  TextStyle s = style;
  s.softness = clampTo(s.softness, 0, 40);
  s.shadowOffset = clampTo(s.shadowOffset, 1, 255);
  s.fillOpacity = clampTo(s.fillOpacity, 0, 255);
  s.shadowOpacity = clampTo(s.shadowOpacity, 0, 255);
  s.padding = clampTo(s.padding, 0, 512);
  s.characterSpace = clampTo(s.characterSpace, 50, 150);
  return s;
}

bool prepareStyledLine(const TextStyle& style, StyledLine* out) {
  StyledLine& line = *out;
  line.style = clampedStyle(style);
  const TextStyle& s = line.style;
  line.padding = effectivePadding(s.padding, s.softness, s.outlineEnable);
  if (!line.font.open({s.fontFace, s.fontSize, s.bold, s.italic})) return false;
  if (!layoutText(line.font, s.text, s.characterSpace, s.accentCompensation, &line.layout)) return false;

  int64_t width = 2 * int64_t(line.padding) + line.layout.width;
  int64_t height = 2 * int64_t(line.padding) + line.layout.height;
  if (s.shadowEnable) {
    width += s.shadowOffset;
    height += s.shadowOffset;
  }
  if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return false;
  // Each canvas of a frame is this size: a frame past the limit is refused
  // before any is made.
  line.tooLarge = uint64_t(width) * uint64_t(height) > kTextFramePixelLimit;
  if (line.tooLarge) return false;
  line.restWidth = int32_t(width);
  line.restHeight = int32_t(height);
  shadowShifts(s.shadowDirection, s.shadowOffset, &line.textShift, &line.shadowShift);

  const size_t n = line.layout.letters.size();
  line.penX.assign(n, 0);
  line.letters.clear();
  line.letters.resize(n);
  int64_t pen = 0;
  for (size_t i = 0; i < n; ++i) {
    line.penX[i] = int32_t(std::max<int64_t>(std::min<int64_t>(pen, kFar), -kFar));
    pen += line.layout.advances[i];
    if (!line.layout.measured[i]) continue;
    // The letter is drawn as typed; only its measurement was folded.
    LetterMask rendered;
    if (!rasteriserRenderLetter(line.font, uint8_t(line.layout.letters[i]), line.layout.advances[i],
                                s.antialias, 255, &rendered))
      return false;
    MemBlock block(rendered.mask);
    if (!block) continue;  // a blank leaves no ink
    LetterImage& letter = line.letters[i];
    letter.left = rendered.left;
    letter.top = rendered.top;
    if (!copyMask(block.get(), &letter.mask)) return false;
  }
  return true;
}

void stampLetter(const StyledLine& line, size_t i, MaskPlane& mask, int64_t x, int64_t y) {
  if (i >= line.letters.size()) return;
  const LetterImage& letter = line.letters[i];
  if (letter.mask.empty() || x <= -kFar || x >= kFar || y <= -kFar || y >= kFar) return;
  maxInto(mask, letter.mask, x + letter.left, y + letter.top);
}

void stampLine(const StyledLine& line, MaskPlane& mask, int64_t x, int64_t y) {
  for (size_t i = 0; i < line.letters.size(); ++i) stampLetter(line, i, mask, x + line.penX[i], y);
}

}  // namespace gw
