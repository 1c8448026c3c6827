#include "effects/frame_composer.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "effects/blur.h"
#include "effects/ink_span.h"
#include "materials/material_fill.h"

namespace gw {
namespace {

inline uint8_t blendChannel(uint32_t background, uint32_t source, uint32_t m) {
  return uint8_t((background * (255 - m) + source * m) / 255);
}

inline uint8_t addSaturated(uint8_t a, uint8_t b) {
  unsigned sum = unsigned(a) + b;
  return uint8_t(sum > 255 ? 255 : sum);
}

#if defined(__x86_64__) && defined(__linux__) && !defined(__clang__)
#define GW_BLEND_CLONES __attribute__((target_clones("avx2", "default"), optimize("tree-vectorize")))
#else
#define GW_BLEND_CLONES
#endif

// (b * (255 - m) + s * m) / 255, exactly, for every byte of a span: with
// m == 0 it is b, so bare pixels inside the span need no test, and the
// loop has no branch for the compiler to keep it from vectors.
GW_BLEND_CLONES
void blendSpan(uint8_t* bg, const uint8_t* src, const uint8_t* m3, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const unsigned m = m3[i];
    const unsigned x = unsigned(bg[i]) * (255 - m) + unsigned(src[i]) * m;
    bg[i] = uint8_t((x + 1 + (x >> 8)) >> 8);  // x / 255 for x <= 255 * 255
  }
}

// background = blend(background, source at the same place, m) over every
// mask pixel; with an alpha mask the source is not painted when `paint` is
// false, and the alpha grows by m.
bool composite(const BitmapView& background, const BitmapView& source, const MaskPlane& mask, MaskPlane* alpha,
               bool paint) {
  const int32_t w = std::min({background.width(), source.width(), mask.width});
  const int32_t h = std::min({background.height(), source.height(), mask.height});
  if (w <= 0 || h <= 0) return true;
  // Each row's mask spread to one byte per channel.
  std::vector<uint8_t> m3;
  if (paint) {
    try {
      m3.resize(size_t(w) * 3);
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* m = mask.row(y);
    int32_t first = 0, last = -1;
    inkSpan(m, w, &first, &last);
    if (first > last) continue;
    if (paint) {
      const size_t n = size_t(last - first + 1);
      for (size_t i = 0; i < n; ++i) m3[i * 3] = m3[i * 3 + 1] = m3[i * 3 + 2] = m[size_t(first) + i];
      blendSpan(background.row(y) + size_t(first) * 3, source.row(y) + size_t(first) * 3, m3.data(), n * 3);
    }
    if (alpha) {
      uint8_t* a = alpha->row(y);
      for (int32_t x = first; x <= last; ++x) a[x] = addSaturated(a[x], m[x]);
    }
  }
  return true;
}

// The outline lands one column left of its mask pixel: mask column x >= 1
// paints canvas column x - 1, and the alpha mask grows there too.
void compositeOutline(const BitmapView& background, const MaskPlane& outline, uint32_t colour, MaskPlane* alpha) {
  const uint8_t blue = uint8_t(colour >> 16), green = uint8_t(colour >> 8), red = uint8_t(colour);
  const int32_t h = std::min(background.height(), outline.height);
  const int32_t xEnd = std::min(outline.width, background.width() + 1);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* m = outline.row(y);
    uint8_t* bg = background.row(y);
    uint8_t* a = alpha ? alpha->row(y) : nullptr;
    for (int32_t x = 1; x < xEnd; ++x) {
      while (x + 8 <= xEnd && bareEight(m + x)) x += 8;
      if (x >= xEnd) break;
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
    for (int32_t x = 0; x < canvas.width(); ++x) std::memcpy(row + size_t(x) * 3, bgr, 3);
  }
}

// The canvas and the alpha mask joined into one 32-bit image.
MemHandle joinAlpha(const BitmapView& canvas, const MaskPlane& alpha) {
  MemBlock frame(bitmapCreateTrueColour(canvas.width(), canvas.height(), 32));
  if (!frame) return 0;
  MemLock lock(frame.get());
  BitmapView out = BitmapView::of(lock);
  if (!out.valid() || alpha.width != out.width() || alpha.height != out.height()) return 0;
  for (int32_t y = 0; y < out.height(); ++y) {
    const uint8_t* bg = canvas.row(y);
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

// A locked, validated 24-bit canvas of the expected size.
struct Locked {
  MemLock lock;
  BitmapView view;
  explicit Locked(MemHandle h) : lock(h), view(BitmapView::of(lock)) {}
  bool is(int32_t w, int32_t h) const { return view.valid() && view.bits() == 24 && view.width() == w && view.height() == h; }
};

MemHandle materialCanvas(const MaterialBytes& material, int32_t width, int32_t height) {
  MaterialBytes record = material;  // the fill may write its preview fields
  MemBlock canvas(materialFill(record.data(), width, height));
  if (!canvas || !Locked(canvas.get()).is(width, height)) return 0;
  return canvas.release();
}

MemHandle copyCanvas(MemHandle source) {
  const size_t size = memSize(source);
  MemBlock copy(memAlloc(size));
  if (!copy) return 0;
  MemLock from(source), to(copy.get());
  if (!from.data() || !to.data()) return 0;
  std::memcpy(to.data(), from.data(), size);
  return copy.release();
}

// The plane's row starts, for the blur; false when memory fails.
bool rowsOf(MaskPlane& plane, std::vector<uint8_t*>* rows) {
  try {
    rows->resize(size_t(plane.height));
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int32_t y = 0; y < plane.height; ++y) (*rows)[size_t(y)] = plane.row(y);
  return true;
}

bool blur(MaskPlane& plane, int softness, const BlurBaseline& baseline) {
  std::vector<uint8_t*> rows;
  if (!rowsOf(plane, &rows)) return false;
  if (!baseline.empty()) return blurPlaneFrom(baseline, rows.data(), plane.width, plane.height);
  return blurPlane(rows.data(), plane.width, plane.height, blurKernel(softness));
}

}  // namespace

bool FrameComposer::prepare(const StyledLine& line, int32_t width, int32_t height, Offset margin) {
  line_ = &line;
  held_ = false;
  width_ = width;
  height_ = height;
  margin_ = margin;
  background_.reset();
  fill_.reset();
  shadowFill_.reset();
  shadowBaseline_ = BlurBaseline();
  movingShadow_ = BlurShape();
  if (width <= 0 || height <= 0 || width > INT32_MAX - 4) return false;
  const TextStyle& s = line.style;
  if (s.alphaBackground) {
    background_.reset(bitmapCreateTrueColour(width, height, 24));
    if (!background_) return false;
    Locked canvas(background_.get());
    if (!canvas.is(width, height)) return false;
    fillPlain(canvas.view, s.alphaGreyBack);
  } else {
    background_.reset(materialCanvas(s.backgroundMaterial, width, height));
    if (!background_) return false;
  }
  fill_.reset(materialCanvas(s.fillMaterial, width, height));
  if (!fill_) return false;
  if (s.shadowEnable) {
    shadowFill_.reset(materialCanvas(s.shadowMaterial, width, height));
    if (!shadowFill_) return false;
  }
  return true;
}

Offset FrameComposer::textOrigin() const {
  if (!line_) return {};
  Offset rest = line_->restOrigin();
  return {margin_.x + rest.x, margin_.y + rest.y};
}

Offset FrameComposer::shadowOrigin() const {
  if (!line_) return {};
  return {margin_.x + line_->padding + line_->shadowShift.x, margin_.y + line_->padding + line_->shadowShift.y};
}

MemHandle FrameComposer::background() const { return background_ ? copyCanvas(background_.get()) : 0; }

bool FrameComposer::shadowMask(const LetterPainter& paint, MaskPlane* out, const Motion* moved) const {
  const TextStyle& s = line_->style;
  if (!out->allocate(width_, height_) || !paint(*out, shadowOrigin())) return false;
  scaleCoverage(*out, uint8_t(s.shadowOpacity));
  if (s.softness <= 0) return true;
  if (moved && !movingShadow_.empty()) {
    std::vector<uint8_t*> rows;
    const Offset at = shadowOrigin();
    const int64_t dx = int64_t(at.x) + moved->x - movingAt_.x, dy = int64_t(at.y) + moved->y - movingAt_.y;
    return rowsOf(*out, &rows) && blurMovedShape(movingShadow_, rows.data(), width_, height_, dx, dy);
  }
  return blur(*out, s.softness, shadowBaseline_);
}

bool FrameComposer::holdMovingShadow(bool alongX, bool alongY) {
  movingShadow_ = BlurShape();
  if (!line_) return false;
  const TextStyle& s = line_->style;
  if (!s.shadowEnable || s.softness <= 0) return true;  // nothing is softened
  // The line's ink, from its cell's top-left.
  int64_t x0 = INT64_MAX, y0 = INT64_MAX, x1 = INT64_MIN, y1 = INT64_MIN;
  for (size_t i = 0; i < line_->letters.size(); ++i) {
    const LetterImage& letter = line_->letters[i];
    if (letter.mask.empty()) continue;
    const int64_t left = int64_t(line_->penX[i]) + letter.left, top = letter.top;
    x0 = std::min(x0, left);
    y0 = std::min(y0, top);
    x1 = std::max(x1, left + letter.mask.width - 1);
    y1 = std::max(y1, top + letter.mask.height - 1);
  }
  if (x0 > x1) return true;  // no ink: every frame's shadow is bare anyway
  // Along an axis of motion the shape has room of two radii around the ink,
  // so its blur meets no end; across it the shape spans the frame with the
  // line at rest, ends and all.
  const int64_t room = 2 * kBlurRadius;
  const Offset rest = shadowOrigin();
  const int64_t w = alongX ? x1 - x0 + 1 + 2 * room : width_, h = alongY ? y1 - y0 + 1 + 2 * room : height_;
  // A shape much larger than the frame (letters placed far outside) is not worth holding.
  if (w > int64_t(width_) + 4 * room || h > int64_t(height_) + 4 * room) return false;
  MaskPlane shape;
  std::vector<uint8_t*> rows;
  if (!shape.allocate(int32_t(w), int32_t(h))) return false;
  movingAt_ = {alongX ? int32_t(room - x0) : rest.x, alongY ? int32_t(room - y0) : rest.y};
  stampLine(*line_, shape, movingAt_.x, movingAt_.y);
  scaleCoverage(shape, uint8_t(s.shadowOpacity));
  return rowsOf(shape, &rows) && makeBlurShape(rows.data(), shape.width, shape.height, blurKernel(s.softness), &movingShadow_);
}

MemHandle FrameComposer::composeLine(const StyledLine& line, Motion motion) const {
  if (!line_ || !background_ || !fill_) return 0;
  // The held shadow is this composer's line's only.
  const Motion* moved = &line == line_ ? &motion : nullptr;
  auto paint = [&](MaskPlane& mask, Offset origin) {
    stampLine(line, mask, int64_t(origin.x) + motion.x, int64_t(origin.y) + motion.y);
    return true;
  };
  return composeOnto(MemBlock(copyCanvas(background_.get())), paint, {}, moved);
}

bool FrameComposer::holdShadowBaseline(const LetterPainter& paint) {
  shadowBaseline_ = BlurBaseline();
  if (!line_ || !paint) return false;
  const TextStyle& s = line_->style;
  if (!s.shadowEnable || s.softness <= 0) return true;  // nothing is softened
  MaskPlane rest;
  std::vector<uint8_t*> rows;
  if (!rest.allocate(width_, height_) || !paint(rest, shadowOrigin())) return false;
  scaleCoverage(rest, uint8_t(s.shadowOpacity));
  return rowsOf(rest, &rows) && makeBlurBaseline(rows.data(), width_, height_, blurKernel(s.softness), &shadowBaseline_);
}

// The letters, four columns wider when the outline needs the ring of a
// letter at the right edge; the outline is taken before the fill opacity.
bool FrameComposer::letterMasks(const LetterPainter& paint, MaskPlane* letters, MaskPlane* outline) const {
  const TextStyle& s = line_->style;
  if (!letters->allocate(width_ + (s.outlineEnable ? 4 : 0), height_) || !paint(*letters, textOrigin())) return false;
  if (s.outlineEnable && !outlineOf(*letters, outline)) return false;
  scaleCoverage(*letters, uint8_t(s.fillOpacity));
  return true;
}

bool FrameComposer::holdLetters(const LetterPainter& paint) {
  held_ = false;
  if (!line_ || !paint) return false;
  if (line_->style.shadowEnable && !shadowMask(paint, &heldShadow_)) return false;
  if (!letterMasks(paint, &heldLetters_, &heldOutline_)) return false;
  held_ = true;
  return true;
}

MemHandle FrameComposer::compose(const LetterPainter& paint, const FrameHooks& hooks) const {
  if (!line_ || !background_ || !fill_) return 0;
  return composeOnto(MemBlock(copyCanvas(background_.get())), paint, hooks);
}

MemHandle FrameComposer::composeOnPlain(const LetterPainter& paint, uint32_t colour, const FrameHooks& hooks) const {
  if (!line_ || !background_ || !fill_) return 0;
  MemBlock plain(bitmapCreateTrueColour(width_, height_, 24));
  if (!plain) return 0;
  {
    Locked canvas(plain.get());
    if (!canvas.is(width_, height_)) return 0;
    fillPlain(canvas.view, colour);
  }
  return composeOnto(std::move(plain), paint, hooks);
}

MemHandle FrameComposer::composeOnto(MemBlock frame, const LetterPainter& paint, const FrameHooks& hooks,
                                     const Motion* moved) const {
  const TextStyle& s = line_->style;
  if (!frame) return 0;
  Locked canvas(frame.get());
  if (!canvas.is(width_, height_)) return 0;
  MemBlock recoloured;
  if (hooks.fill) {
    recoloured.reset(copyCanvas(fill_.get()));
    if (!recoloured) return 0;
    Locked copy(recoloured.get());
    if (!copy.is(width_, height_) || !hooks.fill(copy.view)) return 0;
  }
  Locked fill(hooks.fill ? recoloured.get() : fill_.get());

  MaskPlane alpha;
  if (s.alphaMask && !alpha.allocate(width_, height_)) return 0;
  MaskPlane* alphaPlane = s.alphaMask ? &alpha : nullptr;

  if (hooks.ground) {
    FrameLayer layer{canvas.view, alphaPlane};
    if (!hooks.ground(layer)) return 0;
  }

  // The shadow: the letters at the shadow's place, at its opacity, softened,
  // then painted (or, with an alpha mask, only raising the alpha).
  const bool reuse = held_ && !paint;
  if (!reuse && !paint) return 0;
  if (s.shadowEnable) {
    MaskPlane made;
    if (!reuse && !shadowMask(hooks.shadow ? hooks.shadow : paint, &made, hooks.shadow ? nullptr : moved)) return 0;
    Locked shadowFill(shadowFill_.get());
    if (!composite(canvas.view, shadowFill.view, reuse ? heldShadow_ : made, alphaPlane, alphaPlane == nullptr))
      return 0;
  }

  if (hooks.behind) {
    FrameLayer layer{canvas.view, alphaPlane};
    if (!hooks.behind(layer)) return 0;
  }

  MaskPlane letters, outline;
  if (!reuse && !letterMasks(paint, &letters, &outline)) return 0;
  if (!composite(canvas.view, fill.view, reuse ? heldLetters_ : letters, alphaPlane, true)) return 0;
  if (s.outlineEnable)
    compositeOutline(canvas.view, reuse ? heldOutline_ : outline, s.outlineColour & 0xFFFFFF, alphaPlane);

  if (hooks.front) {
    FrameLayer layer{canvas.view, alphaPlane};
    if (!hooks.front(layer)) return 0;
  }

  if (alphaPlane) return joinAlpha(canvas.view, alpha);
  return frame.release();
}

MemHandle composeLineAt(const FrameComposer& composer, const StyledLine& line, Motion motion) {
  return composer.composeLine(line, motion);
}

}  // namespace gw
