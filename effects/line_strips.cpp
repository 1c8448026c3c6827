#include "effects/line_strips.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/checked_math.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

// The BGR rows (and, for a 32-bit image, the alpha) of a frame of the expected size.
bool readPixels(MemHandle image, int32_t width, int32_t height, std::vector<uint8_t>* bgr, MaskPlane* alpha) {
  if (!image) return false;
  MemLock lock(image);
  BitmapView v = BitmapView::of(lock);
  if (!v.valid() || v.width() != width || v.height() != height || (v.bits() != 24 && v.bits() != 32)) return false;
  size_t bytes = 0;
  if (!checkedMul(size_t(width), size_t(height), &bytes) || !checkedMul(bytes, size_t(3), &bytes)) return false;
  try {
    bgr->assign(bytes, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  const int step = v.bits() / 8;
  if (alpha && step == 4 && !alpha->allocate(width, height)) return false;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* src = v.row(y);
    uint8_t* dst = bgr->data() + size_t(y) * size_t(width) * 3;
    uint8_t* a = (alpha && step == 4) ? alpha->row(y) : nullptr;
    for (int32_t x = 0; x < width; ++x) {
      std::memcpy(dst + size_t(x) * 3, src + size_t(x) * step, 3);
      if (a) a[x] = src[size_t(x) * 4 + 3];
    }
  }
  return true;
}

inline uint8_t over(uint32_t ink, uint32_t cover, uint32_t background) {
  uint32_t v = (ink * 255 + background * (255 - cover) + 127) / 255;
  return uint8_t(v > 255 ? 255 : v);
}

// How strongly the bevel lights (positive) or shades (negative) a pixel
// `lead` pixels behind the leading edge and `trail` ahead of the trailing
// one, in 1/256.
int32_t bevelWeight(int32_t lead, int32_t trail, int32_t size) {
  int32_t w = 0;
  if (lead < size) w += 150 * (size - lead) / size;
  if (trail < size) w -= 110 * (size - trail) / size;
  return w;
}

}  // namespace

bool prepareLineLayer(const StyledLine& line, const FrameComposer& composer, LineLayer* out) {
  const int32_t w = composer.width(), h = composer.height();
  out->width = w;
  out->height = h;
  out->alphaMask = line.style.alphaMask;
  auto paint = [&](MaskPlane& m, Offset origin) {
    stampLine(line, m, origin.x, origin.y);
    return true;
  };
  MemBlock rest(composer.compose(paint));
  MemBlock background(composer.background());
  MemBlock black(composer.composeOnPlain(paint, 0x000000));
  MemBlock white(composer.composeOnPlain(paint, 0xFFFFFF));
  std::vector<uint8_t> whiteBgr;
  if (!readPixels(rest.get(), w, h, &out->rest, out->alphaMask ? &out->alpha : nullptr) ||
      !readPixels(background.get(), w, h, &out->background, nullptr) ||
      !readPixels(black.get(), w, h, &out->ink, nullptr) || !readPixels(white.get(), w, h, &whiteBgr, nullptr) ||
      !out->cover.allocate(w, h))
    return false;
  // Over black the line shows its own colour times its cover; over white the
  // background shows through by what the line leaves uncovered.
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* c = out->cover.row(y);
    const uint8_t* k = out->ink.data() + size_t(y) * size_t(w) * 3;
    const uint8_t* wh = whiteBgr.data() + size_t(y) * size_t(w) * 3;
    for (int32_t x = 0; x < w; ++x) {
      int32_t through = 0;
      for (int ch = 0; ch < 3; ++ch) through += int32_t(wh[x * 3 + ch]) - int32_t(k[x * 3 + ch]);
      c[x] = uint8_t(std::clamp(255 - (through + 1) / 3, 0, 255));
    }
  }
  return true;
}

bool RestLine::prepare(const TextStyle& style) {
  return prepareStyledLine(style, &line) && composer.prepare(line, line.restWidth, line.restHeight) &&
         prepareLineLayer(line, composer, &layer);
}

bool PieceCanvas::start(const LineLayer& layer) {
  layer_ = &layer;
  try {
    pixels_ = layer.background;
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (layer.alphaMask) return alpha_.allocate(layer.width, layer.height);
  return true;
}

void PieceCanvas::lay(const PieceRect& piece, int32_t dx, int32_t dy, const Bevel& bevel) {
  if (!layer_) return;
  const LineLayer& L = *layer_;
  // Source rows and columns inside both the frame and, once moved, the frame.
  const int32_t sx0 = std::max({piece.x0, 0, -dx}), sx1 = std::min({piece.x1, L.width, L.width - dx});
  const int32_t sy0 = std::max({piece.y0, 0, -dy}), sy1 = std::min({piece.y1, L.height, L.height - dy});
  if (sx0 >= sx1 || sy0 >= sy1) return;
  const bool resting = dx == 0 && dy == 0 && bevel.size <= 0;
  const bool bevelled = bevel.size > 0 && (bevel.dirX != 0 || bevel.dirY != 0);
  const size_t stride = size_t(L.width) * 3;
  for (int32_t y = sy0; y < sy1; ++y) {
    const int32_t ty = y + dy;
    uint8_t* dst = pixels_.data() + size_t(ty) * stride;
    uint8_t* dstAlpha = L.alphaMask ? alpha_.row(ty) : nullptr;
    const uint8_t* srcAlpha = L.alphaMask ? L.alpha.row(y) : nullptr;
    if (resting) {
      std::memcpy(dst + size_t(sx0) * 3, L.rest.data() + size_t(y) * stride + size_t(sx0) * 3, size_t(sx1 - sx0) * 3);
      if (dstAlpha) std::memcpy(dstAlpha + sx0, srcAlpha + sx0, size_t(sx1 - sx0));
      continue;
    }
    const uint8_t* ink = L.ink.data() + size_t(y) * stride;
    const uint8_t* cover = L.cover.row(y);
    for (int32_t x = sx0; x < sx1; ++x) {
      const int32_t tx = x + dx;
      if (dstAlpha && srcAlpha[x]) {
        const uint32_t a = dstAlpha[tx], b = srcAlpha[x];
        dstAlpha[tx] = uint8_t(a + b - (a * b + 127) / 255);
      }
      const uint32_t c = cover[x];
      if (c == 0) continue;
      uint8_t* p = dst + size_t(tx) * 3;
      int32_t weight = 0;
      if (bevelled) {
        // Distances behind the leading edge and ahead of the trailing one.
        int32_t lead = 1 << 20, trail = 1 << 20;
        if (bevel.dirX > 0) lead = piece.x1 - 1 - x, trail = x - piece.x0;
        if (bevel.dirX < 0) lead = x - piece.x0, trail = piece.x1 - 1 - x;
        if (bevel.dirY > 0) lead = std::min(lead, piece.y1 - 1 - y), trail = std::min(trail, y - piece.y0);
        if (bevel.dirY < 0) lead = std::min(lead, y - piece.y0), trail = std::min(trail, piece.y1 - 1 - y);
        weight = bevelWeight(lead, trail, bevel.size);
      }
      for (int ch = 0; ch < 3; ++ch) {
        int32_t v = ink[x * 3 + ch];
        // Lit towards the cover's white, shaded towards black.
        if (weight > 0) v += (int32_t(c) - v) * weight / 256;
        if (weight < 0) v += v * weight / 256;
        p[ch] = over(uint32_t(v), c, p[ch]);
      }
    }
  }
}

MemHandle PieceCanvas::finish() const {
  if (!layer_) return 0;
  return bitmapFromPixels(pixels_, layer_->width, layer_->height, layer_->alphaMask ? &alpha_ : nullptr);
}

MemHandle bitmapFromPixels(const std::vector<uint8_t>& bgr, int32_t width, int32_t height, const MaskPlane* alpha) {
  if (width <= 0 || height <= 0 || bgr.size() / 3 / size_t(width) < size_t(height)) return 0;
  if (alpha && (alpha->width != width || alpha->height != height)) return 0;
  MemBlock frame(bitmapCreateTrueColour(width, height, alpha ? 32 : 24));
  if (!frame) return 0;
  MemLock lock(frame.get());
  BitmapView v = BitmapView::of(lock);
  if (!v.valid() || v.width() != width || v.height() != height) return 0;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* src = bgr.data() + size_t(y) * size_t(width) * 3;
    uint8_t* dst = v.row(y);
    if (!alpha) {
      std::memcpy(dst, src, size_t(width) * 3);
      continue;
    }
    const uint8_t* a = alpha->row(y);
    for (int32_t x = 0; x < width; ++x) {
      std::memcpy(dst + size_t(x) * 4, src + size_t(x) * 3, 3);
      dst[size_t(x) * 4 + 3] = a[x];
    }
  }
  return frame.release();
}

}  // namespace gw
