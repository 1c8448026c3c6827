#include "effects/text_layout.h"

#include <algorithm>
#include <cstring>

#include "effects/mask_plane.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

// Accented Latin-1 letters and, position by position, what they measure as.
constexpr uint8_t kAccented[] = {
    0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF,
    0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD8, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDF, 0xE0, 0xE1,
    0xE2, 0xE3, 0xE4, 0xE5, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1,
    0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFF};
constexpr char kPlain[] = "AAAAAACEEEEIIIINOOOOOOUUUUYBaaaaaaceeeeiiiionoooooouuuuyy";
static_assert(sizeof kAccented == sizeof kPlain - 1, "one plain letter per accented one");

const uint8_t* greyPalette() {
  static const auto* table = [] {
    static uint8_t p[768];
    for (int i = 0; i < 256; ++i) p[i * 3] = p[i * 3 + 1] = p[i * 3 + 2] = uint8_t(i);
    return p;
  }();
  return table;
}

// Keeps the larger value of `letter` and `canvas` where the letter, placed
// with its top-left at (left, top), overlaps the canvas.
void maxInto(const BitmapView& canvas, const BitmapView& letter, int32_t left, int32_t top) {
  int32_t x0 = std::max(0, -left);
  int32_t x1 = std::min(letter.width(), canvas.width() - left);
  int32_t y0 = std::max(0, -top);
  int32_t y1 = std::min(letter.height(), canvas.height() - top);
  for (int32_t y = y0; y < y1; ++y) {
    const uint8_t* src = letter.row(y);
    uint8_t* dst = canvas.row(top + y) + left;
    for (int32_t x = x0; x < x1; ++x) dst[x] = std::max(dst[x], src[x]);
  }
}

}  // namespace

uint8_t foldAccent(uint8_t letter) {
  for (size_t i = 0; i < sizeof kAccented; ++i)
    if (kAccented[i] == letter) return uint8_t(kPlain[i]);
  return letter;
}

bool layoutText(const RasteriserFont& font, const std::string& text, int32_t charSpacePercent,
                bool accentCompensation, TextLayout* out) {
  if (!font.isOpen() || !out) return false;
  TextLayout layout;
  layout.letters = text + " ";
  layout.height = font.metrics().height;
  layout.advances.reserve(layout.letters.size());
  layout.measured.reserve(layout.letters.size());
  for (char c : layout.letters) {
    auto letter = uint8_t(c);
    if (accentCompensation) letter = foldAccent(letter);
    int32_t advance = 0;
    bool ok = rasteriserMeasureLetter(font, letter, &advance);
    // Width stays in 32 bits: an advance beyond the widest bitmap is nonsense anyway.
    if (ok && (advance < -65535 || advance > 65535)) ok = false;
    int32_t scaled = ok ? int32_t(int64_t(advance) * charSpacePercent / 100) : 0;
    layout.advances.push_back(scaled);
    layout.measured.push_back(ok ? 1 : 0);
    layout.width += scaled;
  }
  *out = std::move(layout);
  return true;
}

MemHandle createGreyMask(int32_t width, int32_t height) {
  return bitmapCreateWithPalette(width, height, greyPalette(), 8);
}

MemHandle renderGlyphMask(const RasteriserFont& font, const TextLayout& layout, int32_t width,
                          int32_t height, int32_t x, int32_t y, uint8_t intensity, bool antialias) {
  if (!font.isOpen() || layout.advances.size() != layout.letters.size() ||
      layout.measured.size() != layout.letters.size())
    return 0;
  MemBlock mask(createGreyMask(width, height));
  if (!mask) return 0;
  MemLock canvasLock(mask.get());
  BitmapView canvas = BitmapView::of(canvasLock);
  if (!canvas.valid()) return 0;
  int64_t penX = x;
  for (size_t i = 0; i < layout.letters.size(); ++i) {
    if (layout.measured[i]) {
      // The letter is drawn as typed; only its measurement was folded.
      LetterMask letter;
      if (!rasteriserRenderLetter(font, uint8_t(layout.letters[i]), layout.advances[i], antialias,
                                  intensity, &letter))
        return 0;
      MemBlock letterBlock(letter.mask);
      if (letterBlock && penX > -(int64_t(1) << 30) && penX < (int64_t(1) << 30)) {
        MemLock letterLock(letterBlock.get());
        BitmapView view = BitmapView::of(letterLock);
        if (!view.valid() || view.bits() != 8) return 0;
        int64_t left = penX + letter.left;
        int64_t top = int64_t(y) + letter.top;
        if (left > -(int64_t(1) << 30) && left < (int64_t(1) << 30) && top > -(int64_t(1) << 30) &&
            top < (int64_t(1) << 30))
          maxInto(canvas, view, int32_t(left), int32_t(top));
      }
    }
    penX += layout.advances[i];
  }
  return mask.release();
}

MemHandle outlineFromGlyphMask(MemHandle glyphMask) {
  MemLock glyphLock(glyphMask);
  BitmapView glyph = BitmapView::of(glyphLock);
  if (!glyph.valid() || glyph.bits() != 8) return 0;
  MaskPlane in, ring;
  if (!in.allocate(glyph.width(), glyph.height())) return 0;
  for (int32_t y = 0; y < glyph.height(); ++y) std::memcpy(in.row(y), glyph.row(y), size_t(glyph.width()));
  if (!outlineOf(in, &ring)) return 0;
  MemBlock outline(createGreyMask(ring.width, ring.height));
  if (!outline) return 0;
  MemLock outlineLock(outline.get());
  BitmapView out = BitmapView::of(outlineLock);
  if (!out.valid()) return 0;
  for (int32_t y = 0; y < ring.height; ++y) std::memcpy(out.row(y), ring.row(y), size_t(ring.width));
  return outline.release();
}

MemHandle renderOutlineMask(const RasteriserFont& font, const TextLayout& layout, int32_t width,
                            int32_t height, int32_t x, int32_t y, bool antialias) {
  if (width > INT32_MAX - 4) return 0;
  MemBlock glyph(renderGlyphMask(font, layout, width + 4, height, x, y, 255, antialias));
  if (!glyph) return 0;
  return outlineFromGlyphMask(glyph.get());
}

}  // namespace gw
