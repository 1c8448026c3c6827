#include "effects/object_paint.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "effects/text_style_dialog.h"

namespace gw {
namespace {

inline uint8_t blendChannel(uint32_t under, uint32_t over, uint32_t m) {
  return uint8_t((under * (255 - m) + over * m + 127) / 255);
}

// Gaussian taps of the letters' shadow law (sigma (softness + 2) / 10
// pixels), carried on past its softness 40 for pages whose softness goes
// further, and cut where they add nothing at 8 bits.
std::vector<double> softnessKernel(int32_t softness) {
  const double sigma = (softness + 2) / 10.0;
  const auto r = int32_t(std::ceil(3.5 * sigma));
  std::vector<double> taps(size_t(2 * r + 1));
  double sum = 0;
  for (int32_t i = -r; i <= r; ++i) sum += taps[size_t(i + r)] = std::exp(-double(i * i) / (2 * sigma * sigma));
  for (double& t : taps) t /= sum;
  return taps;
}

// One line of `count` samples `step` apart, blurred in place through `in`
// (count doubles). Outside the plane counts as empty, so objects fade at
// the edges as if the canvas went on.
void softenLine(uint8_t* samples, int32_t count, ptrdiff_t step, const std::vector<double>& taps, double* in) {
  const int32_t r = int32_t(taps.size() / 2);
  bool any = false;
  for (int32_t i = 0; i < count; ++i) {
    in[i] = samples[i * step];
    any = any || in[i] != 0;
  }
  if (!any) return;
  // Outputs further than r from the first and last ink sum only zeros: 0,
  // which those samples already hold.
  int32_t first = 0, last = count - 1;
  while (in[first] == 0) ++first;
  while (in[last] == 0) --last;
  const int32_t from = std::max(0, first - r), to = std::min(count - 1, last + r);
  for (int32_t i = from; i <= to; ++i) {
    double acc = 0;
    const int32_t lo = std::max(0, i - r), hi = std::min(count - 1, i + r);
    for (int32_t j = lo; j <= hi; ++j) acc += taps[size_t(j - i + r)] * in[j];
    samples[i * step] = uint8_t(std::min(255.0, acc + 0.5));
  }
}

}  // namespace

void paintCoverage(FrameLayer& layer, const ShapeCoverage& cover, uint32_t colour, uint8_t opacity) {
  const MaskPlane& m = cover.mask;
  if (m.empty() || opacity == 0) return;
  const BitmapView& canvas = layer.canvas;
  const int64_t x0 = std::max<int64_t>(0, cover.left), y0 = std::max<int64_t>(0, cover.top);
  const int64_t x1 = std::min<int64_t>(canvas.width(), int64_t(cover.left) + m.width);
  const int64_t y1 = std::min<int64_t>(canvas.height(), int64_t(cover.top) + m.height);
  const uint32_t bgr[3] = {(colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF};
  for (int64_t y = y0; y < y1; ++y) {
    const uint8_t* src = m.row(int32_t(y - cover.top));
    uint8_t* row = canvas.row(int32_t(y));
    uint8_t* a = layer.alpha ? layer.alpha->row(int32_t(y)) : nullptr;
    for (int64_t x = x0; x < x1; ++x) {
      uint32_t v = src[x - cover.left];
      if (v == 0) continue;
      if (opacity != 255) v = (v * opacity + 127) / 255;
      uint8_t* p = row + x * 3;
      for (int c = 0; c < 3; ++c) p[c] = blendChannel(p[c], bgr[c], v);
      if (a) a[x] = blendChannel(a[x], 255, v);
    }
  }
}

uint32_t dimmed(uint32_t colour, double light) { return mixed(colour, 0, 1.0 - light); }

uint32_t mixed(uint32_t colour, uint32_t other, double amount) {
  amount = std::clamp(amount, 0.0, 1.0);
  uint32_t out = 0;
  for (int c = 0; c < 3; ++c) {
    const double a = double((colour >> (8 * c)) & 0xFF), b = double((other >> (8 * c)) & 0xFF);
    out |= uint32_t(a + (b - a) * amount + 0.5) << (8 * c);
  }
  return out;
}

bool softenPlane(MaskPlane& plane, int32_t softness) {
  if (softness <= 0 || plane.empty()) return true;
  const std::vector<double> taps = softnessKernel(std::min(softness, 1000));
  std::vector<double> in;
  try {
    in.resize(size_t(std::max(plane.width, plane.height)));
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int32_t y = 0; y < plane.height; ++y) softenLine(plane.row(y), plane.width, 1, taps, in.data());
  for (int32_t x = 0; x < plane.width; ++x) softenLine(plane.row(0) + x, plane.height, plane.width, taps, in.data());
  return true;
}

bool blurCoverage(ShapeCoverage& cover, double sigma) {
  if (!(sigma > 0.05) || cover.mask.empty()) return true;
  sigma = std::min(sigma, 64.0);
  const auto r = int32_t(std::ceil(3.0 * sigma));
  std::vector<double> taps(size_t(2 * r + 1));
  double sum = 0;
  for (int32_t i = -r; i <= r; ++i) sum += taps[size_t(i + r)] = std::exp(-double(i * i) / (2 * sigma * sigma));
  for (double& t : taps) t /= sum;
  MaskPlane grown;
  if (!grown.allocate(cover.mask.width + 2 * r, cover.mask.height + 2 * r)) return false;
  maxInto(grown, cover.mask, r, r);
  std::vector<double> in;
  try {
    in.resize(size_t(std::max(grown.width, grown.height)));
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int32_t y = r; y < grown.height - r; ++y) softenLine(grown.row(y), grown.width, 1, taps, in.data());
  for (int32_t x = 0; x < grown.width; ++x) softenLine(grown.row(0) + x, grown.height, grown.width, taps, in.data());
  cover.mask = std::move(grown);
  cover.left -= r;
  cover.top -= r;
  return true;
}

bool ObjectShadows::begin(int32_t width, int32_t height) {
  any_ = false;
  if (plane_.width == width && plane_.height == height) {
    plane_.clear();
    return true;
  }
  return plane_.allocate(width, height);
}

void ObjectShadows::add(const ShapeCoverage& cover, int32_t dx, int32_t dy, uint8_t strength) {
  const MaskPlane& m = cover.mask;
  if (m.empty() || plane_.empty() || strength == 0) return;
  const int64_t left = int64_t(cover.left) + dx, top = int64_t(cover.top) + dy;
  const int64_t x0 = std::max<int64_t>(0, left), y0 = std::max<int64_t>(0, top);
  const int64_t x1 = std::min<int64_t>(plane_.width, left + m.width);
  const int64_t y1 = std::min<int64_t>(plane_.height, top + m.height);
  for (int64_t y = y0; y < y1; ++y) {
    const uint8_t* src = m.row(int32_t(y - top));
    uint8_t* dst = plane_.row(int32_t(y));
    for (int64_t x = x0; x < x1; ++x) {
      const uint32_t v = (uint32_t(src[x - left]) * strength + 127) / 255;
      // Shadows that overlap darken together, as two layers of paper do.
      dst[x] = uint8_t(dst[x] + (v * (255u - dst[x]) + 127) / 255);
      any_ = any_ || v != 0;
    }
  }
}

bool ObjectShadows::paint(FrameLayer& layer, uint32_t colour, int32_t softness) {
  if (!any_) return true;
  if (!softenPlane(plane_, softness)) return false;
  ShapeCoverage whole;
  whole.mask = std::move(plane_);
  paintCoverage(layer, whole, colour);
  plane_ = std::move(whole.mask);
  any_ = false;
  return true;
}

std::vector<uint32_t> readObjectColours(const DialogFacade& dialog, uint32_t firstId) {
  std::vector<uint32_t> colours;
  colours.push_back(uint32_t(controlWord(dialog, firstId, 0xFFFFFF)) & 0xFFFFFF);
  for (uint32_t k = 2; k <= 5; ++k) {
    const uint32_t id = firstId + 2 * (k - 1);
    if (dialog.checked(id + 1)) colours.push_back(uint32_t(controlWord(dialog, id, 0xFFFFFF)) & 0xFFFFFF);
  }
  return colours;
}

}  // namespace gw
