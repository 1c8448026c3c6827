#include "effects/text_styling.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "effects/text_layout.h"
#include "platform/bitmap.h"
#include "materials/material_fill.h"
#include "platform/rasteriser.h"

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

inline uint8_t addSaturated(uint8_t a, uint8_t b) {
  unsigned sum = unsigned(a) + b;
  return uint8_t(sum > 255 ? 255 : sum);
}

// Clamps a number read from a control to its documented range, so a value
// from a hand-edited file never reaches pixel arithmetic out of range.
int32_t clampTo(int32_t v, int32_t lo, int32_t hi) { return std::min(std::max(v, lo), hi); }

// The locked pieces of one frame: canvases, masks and views of them.
struct Canvas {
  MemBlock block;
  std::unique_ptr<MemLock> lock;
  BitmapView view;

  bool adopt(MemHandle h) {
    block.reset(h);
    if (!block) return false;
    lock = std::make_unique<MemLock>(block.get());
    view = BitmapView::of(*lock);
    return view.valid();
  }
};

// background = blend(background, source at the same place, m) over every
// mask pixel; with an alpha mask the source is not painted when `paint` is
// false, and the alpha grows by m.
void composite(const BitmapView& background, const BitmapView* source, const BitmapView& mask,
               const BitmapView* alpha, bool paint) {
  const int32_t w = std::min(background.width(), mask.width());
  const int32_t h = std::min(background.height(), mask.height());
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* m = mask.row(y);
    uint8_t* bg = background.row(y);
    const uint8_t* src = source ? source->row(y) : nullptr;
    uint8_t* a = alpha ? alpha->row(y) : nullptr;
    for (int32_t x = 0; x < w; ++x) {
      uint32_t v = m[x];
      if (v == 0) continue;
      if (paint && src) {
        for (int c = 0; c < 3; ++c) bg[x * 3 + c] = blendChannel(bg[x * 3 + c], src[x * 3 + c], v);
      }
      if (a) a[x] = addSaturated(a[x], uint8_t(v));
    }
  }
}

// The outline lands one column left of its mask pixel: mask column x >= 1
// paints canvas column x - 1, and the alpha mask grows there too.
void compositeOutline(const BitmapView& background, const BitmapView& outline, uint32_t colour,
                      const BitmapView* alpha) {
  const uint8_t blue = uint8_t(colour >> 16), green = uint8_t(colour >> 8), red = uint8_t(colour);
  const int32_t h = std::min(background.height(), outline.height());
  const int32_t xEnd = std::min(outline.width(), background.width() + 1);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* m = outline.row(y);
    uint8_t* bg = background.row(y);
    uint8_t* a = alpha ? alpha->row(y) : nullptr;
    for (int32_t x = 1; x < xEnd; ++x) {
      uint32_t v = m[x];
      if (v == 0) continue;
      uint8_t* p = bg + size_t(x - 1) * 3;
      p[0] = blendChannel(p[0], blue, v);
      p[1] = blendChannel(p[1], green, v);
      p[2] = blendChannel(p[2], red, v);
      if (a) a[x - 1] = addSaturated(a[x - 1], uint8_t(v));
    }
  }
}

void fillPlain(const BitmapView& canvas, uint32_t colour) {
  const uint8_t bgr[3] = {uint8_t(colour >> 16), uint8_t(colour >> 8), uint8_t(colour)};
  for (int32_t y = 0; y < canvas.height(); ++y) {
    uint8_t* row = canvas.row(y);
    for (int32_t x = 0; x < canvas.width(); ++x) {
      row[x * 3 + 0] = bgr[0];
      row[x * 3 + 1] = bgr[1];
      row[x * 3 + 2] = bgr[2];
    }
  }
}

// The background canvas and the alpha mask joined into one 32-bit image.
MemHandle joinAlpha(const BitmapView& background, const BitmapView& alpha) {
  MemBlock frame(bitmapCreateTrueColour(background.width(), background.height(), 32));
  if (!frame) return 0;
  MemLock lock(frame.get());
  BitmapView out = BitmapView::of(lock);
  if (!out.valid()) return 0;
  for (int32_t y = 0; y < out.height(); ++y) {
    const uint8_t* bg = background.row(y);
    const uint8_t* a = alpha.row(y);
    uint8_t* dst = out.row(y);
    for (int32_t x = 0; x < out.width(); ++x) {
      dst[x * 4 + 0] = bg[x * 3 + 0];
      dst[x * 4 + 1] = bg[x * 3 + 1];
      dst[x * 4 + 2] = bg[x * 3 + 2];
      dst[x * 4 + 3] = a[x];
    }
  }
  return frame.release();
}

bool addWithin(int64_t v, int32_t* out) {
  if (v < INT32_MIN || v > INT32_MAX) return false;
  *out = int32_t(v);
  return true;
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
  const int32_t softness = clampTo(style.softness, 0, 40);
  const int32_t shadowOffset = clampTo(style.shadowOffset, 1, 255);
  const auto fillOpacity = uint8_t(clampTo(style.fillOpacity, 0, 255));
  const auto shadowOpacity = uint8_t(clampTo(style.shadowOpacity, 0, 255));
  const int32_t pad = clampTo(style.padding, 0, 512);

  // 1. Padding.
  const int32_t p = effectivePadding(pad, softness, style.outlineEnable);

  // 2. The font, once for the frame, and the canvas from the text's size.
  RasteriserFont font;
  if (!font.open({style.fontFace, style.fontSize, style.bold, style.italic})) return 0;
  TextLayout layout;
  if (!layoutText(font, style.text, clampTo(style.characterSpace, 50, 150), style.accentCompensation,
                  &layout))
    return 0;
  int64_t width64 = 2 * int64_t(p) + layout.width;
  int64_t height64 = 2 * int64_t(p) + layout.height;
  if (style.shadowEnable) {
    width64 += shadowOffset;
    height64 += shadowOffset;
  }
  int32_t width = 0, height = 0;
  if (!addWithin(width64, &width) || !addWithin(height64, &height) || width <= 0 || height <= 0) return 0;

  // 3. Background: plain alpha grey, or the background material.
  Canvas background;
  if (style.alphaBackground) {
    if (!background.adopt(bitmapCreateTrueColour(width, height, 24))) return 0;
    fillPlain(background.view, style.alphaGreyBack);
  } else {
    MaterialBytes record = style.backgroundMaterial;
    if (!background.adopt(materialFill(record.data(), width, height))) return 0;
  }
  if (background.view.bits() != 24 || background.view.width() != width || background.view.height() != height)
    return 0;

  // 4. Fill and shadow canvases.
  Canvas fill;
  {
    MaterialBytes record = style.fillMaterial;
    if (!fill.adopt(materialFill(record.data(), width, height)) || fill.view.bits() != 24) return 0;
  }
  Canvas shadowFill;
  if (style.shadowEnable) {
    MaterialBytes record = style.shadowMaterial;
    if (!shadowFill.adopt(materialFill(record.data(), width, height)) || shadowFill.view.bits() != 24)
      return 0;
  }

  // 5. Alpha mask.
  Canvas alpha;
  if (style.alphaMask && !alpha.adopt(createGreyMask(width, height))) return 0;
  const BitmapView* alphaView = style.alphaMask ? &alpha.view : nullptr;

  Offset textShift, shadowShift;
  shadowShifts(style.shadowDirection, shadowOffset, &textShift, &shadowShift);

  // 6. Shadow: placed at its own origin, softened, then painted (or, with an
  // alpha mask, only raising the alpha).
  if (style.shadowEnable) {
    int32_t sx = 0, sy = 0;
    if (!addWithin(int64_t(p) + shadowShift.x + motion.x, &sx) ||
        !addWithin(int64_t(p) + shadowShift.y + motion.y, &sy))
      return 0;
    Canvas mask;
    if (!mask.adopt(renderGlyphMask(font, layout, width, height, sx, sy, shadowOpacity, style.antialias)))
      return 0;
    if (softness > 0 && !blurMask(mask.block.get(), blurKernel(softness))) return 0;
    composite(background.view, &shadowFill.view, mask.view, alphaView, alphaView == nullptr);
  }

  // 7. Letters.
  int32_t tx = 0, ty = 0;
  if (!addWithin(int64_t(p) + textShift.x + motion.x, &tx) || !addWithin(int64_t(p) + textShift.y + motion.y, &ty))
    return 0;
  {
    Canvas mask;
    if (!mask.adopt(renderGlyphMask(font, layout, width, height, tx, ty, fillOpacity, style.antialias)))
      return 0;
    composite(background.view, &fill.view, mask.view, alphaView, true);
  }

  // 8. Outline.
  if (style.outlineEnable) {
    Canvas mask;
    if (!mask.adopt(renderOutlineMask(font, layout, width, height, tx, ty, style.antialias))) return 0;
    compositeOutline(background.view, mask.view, style.outlineColour & 0xFFFFFF, alphaView);
  }

  // 10. The frame.
  if (alphaView) return joinAlpha(background.view, alpha.view);
  background.lock.reset();
  return background.block.release();
}

}  // namespace gw
