#include "effects/blur.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

#include "base/checked_math.h"
#include "effects/ink_span.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

// Half up: add 0.5 and truncate. A sum of weights at most 1 over samples at
// most 255 cannot pass 255.5, but the clamp keeps a rounding slip in range.
inline uint8_t roundSample(double v) {
  v += 0.5;
  if (v <= 0.0) return 0;
  if (v >= 255.0) return 255;
  return uint8_t(v);
}

template <typename T>
std::unique_ptr<T[]> tryArray(size_t count) {
  return std::unique_ptr<T[]>(new (std::nothrow) T[count]);
}

// One output sample near an end of a line of `count` inputs: only the taps
// that fall inside the line, and their weight as the divisor.
inline uint8_t edgeSample(const double* in, int64_t count, int64_t x, const BlurKernel& k) {
  double acc = 0.0, weight = 0.0;
  for (int t = 0; t < kBlurTaps; ++t) {
    int64_t j = x - kBlurRadius + t;
    if (j < 0 || j >= count) continue;
    acc += k[size_t(t)] * in[j];
    weight += k[size_t(t)];
  }
  return roundSample(acc / weight);
}

// The columns [first, last] of a row that hold anything; first > last when none.
struct Extent {
  int32_t first = 1;
  int32_t last = 0;
  bool empty() const { return first > last; }
};

Extent extentOf(const uint8_t* row, int32_t width) {
  Extent e;
  int32_t first, last;
  inkSpan(row, width, &first, &last);
  if (first <= last) e.first = first, e.last = last;
  return e;
}

// Outputs are computed in blocks of this many columns, and a block whose
// inputs are all 0 is 0 without computing it.
constexpr int32_t kBlock = 32;

bool anyInk(const uint8_t* samples, int32_t count) {
  uint8_t any = 0;
  for (int32_t i = 0; i < count; ++i) any |= samples[i];
  return any != 0;
}

// Eight outputs at a time in two vectors of four doubles: the compiler keeps
// them in vector registers (two SSE2 registers each, or one AVX register),
// and every output still sums its taps in order 0..40 with the same double
// arithmetic as the plain loop, so the bytes do not depend on the path.
typedef double Quad __attribute__((vector_size(32)));

// On x86-64 Linux the loader picks the AVX2 copy where the processor has
// it. Neither copy may fuse a multiply and an add (no FMA is enabled for
// either), which would change the rounding.
#if defined(__x86_64__) && defined(__linux__) && !defined(__clang__)
#define GW_BLUR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define GW_BLUR_CLONES
#endif

// acc[i] = sum over taps t of weights[t] * sources[t][i], i in 0..n-1; a
// null source is a line of zeros and is skipped (adding 0 changes no sum).
GW_BLUR_CLONES
void accumulate(double* acc, int32_t n, const double* weights, const double* const* sources, int taps) {
  int32_t i = 0;
  for (; i + 8 <= n; i += 8) {
    Quad a0 = {0.0, 0.0, 0.0, 0.0}, a1 = a0;
    for (int t = 0; t < taps; ++t) {
      const double* s = sources[t];
      if (!s) continue;
      const Quad w = {weights[t], weights[t], weights[t], weights[t]};
      Quad v[2];
      std::memcpy(v, s + i, sizeof v);  // unaligned: sources start anywhere
      a0 += w * v[0];
      a1 += w * v[1];
    }
    std::memcpy(acc + i, &a0, sizeof a0);
    std::memcpy(acc + i + 4, &a1, sizeof a1);
  }
  for (; i < n; ++i) {
    double a = 0.0;
    for (int t = 0; t < taps; ++t)
      if (sources[t]) a += weights[t] * sources[t][i];
    acc[i] = a;
  }
}

// Row outputs lo..hi (within the ink's reach) of a row of `width` samples
// held as doubles in `in` (valid lo - radius .. hi + radius, clipped to the
// row), written to out[lo..hi].
void blurRowSpan(const double* in, int32_t width, int32_t lo, int32_t hi, const BlurKernel& k, double* acc,
                 uint8_t* out) {
  const int32_t inner0 = std::max(lo, kBlurRadius);
  const int32_t inner1 = std::min(hi, width - 1 - kBlurRadius);
  for (int32_t x = lo; x <= hi && x < inner0; ++x) out[x] = edgeSample(in, width, x, k);
  if (inner0 <= inner1) {
    const int32_t n = inner1 - inner0 + 1;
    const double* sources[kBlurTaps];
    for (int t = 0; t < kBlurTaps; ++t) sources[t] = in + inner0 - kBlurRadius + t;
    accumulate(acc, n, k.data(), sources, kBlurTaps);
    for (int32_t i = 0; i < n; ++i) out[inner0 + i] = roundSample(acc[i]);
  }
  for (int32_t x = std::max(lo, inner1 + 1); x <= hi; ++x) out[x] = edgeSample(in, width, x, k);
}

// The rows' pass of one row, outputs x0..x1 only, from `src` into `dst` (the
// same row or another). Every output depends only on its own row, so the row
// is converted once; outputs further than the radius from any ink are 0 and
// not computed. A row shorter than the kernel passes unchanged.
void rowPass(const uint8_t* src, uint8_t* dst, int32_t width, int32_t x0, int32_t x1, const BlurKernel& k,
             double* in, double* acc) {
  if (width < kBlurTaps) {
    if (dst != src) std::memcpy(dst + x0, src + x0, size_t(x1 - x0 + 1));
    return;
  }
  const Extent e = extentOf(src, width);
  const int32_t lo = e.empty() ? x1 + 1 : std::max(x0, e.first - kBlurRadius);
  const int32_t hi = e.empty() ? x1 : std::min(x1, e.last + kBlurRadius);
  if (lo <= hi) {
    const int32_t from = std::max(0, lo - kBlurRadius);
    const int32_t to = std::min(width - 1, hi + kBlurRadius);
    for (int32_t x = from; x <= to; ++x) in[x] = src[x];
    // Blocks of outputs with no ink within the radius (gaps between words,
    // letters far apart) are 0 and not computed.
    // Runs of blocks that need computing go to blurRowSpan whole.
    int32_t run = -1;  // the first output of the current run, or -1
    for (int32_t b0 = lo; b0 <= hi; b0 += kBlock) {
      const int32_t b1 = std::min(hi, b0 + kBlock - 1);
      const int32_t r0 = std::max(0, b0 - kBlurRadius), r1 = std::min(width - 1, b1 + kBlurRadius);
      if (anyInk(src + r0, r1 - r0 + 1)) {
        if (run < 0) run = b0;
        continue;
      }
      if (run >= 0) blurRowSpan(in, width, run, b0 - 1, k, acc, dst);
      run = -1;
      std::memset(dst + b0, 0, size_t(b1 - b0 + 1));
    }
    if (run >= 0) blurRowSpan(in, width, run, hi, k, acc, dst);
  }
  if (lo > hi) {
    std::memset(dst + x0, 0, size_t(x1 - x0 + 1));
    return;
  }
  std::memset(dst + x0, 0, size_t(lo - x0));
  std::memset(dst + hi + 1, 0, size_t(x1 - hi));
}

void blurRows(uint8_t* const* rows, int32_t width, int32_t height, const BlurKernel& k, double* in, double* acc) {
  for (int32_t y = 0; y < height; ++y) rowPass(rows[y], rows[y], width, 0, width - 1, k, in, acc);
}

// The columns' pass for the outputs in rows y0..y1, columns x0..x1, reading
// the rows' pass from src and writing dst (the same rows or others). The 41
// input rows around each output row are kept as doubles in a ring, so with
// src == dst rows can be overwritten as soon as they are done. Within 20
// rows of the plane's top or bottom the taps are renormalised. Each output
// sums only the input blocks that hold ink (adding 0 changes no sum), and a
// block with none among its 41 inputs is 0.
bool columnPass(const uint8_t* const* src, uint8_t* const* dst, int32_t width, int32_t height, int32_t x0,
                int32_t x1, int32_t y0, int32_t y1, const BlurKernel& k, double* acc) {
  const int32_t span = x1 - x0 + 1;
  const int32_t blocks = (span + kBlock - 1) / kBlock;
  const int32_t ya = std::max(0, y0 - kBlurRadius), yb = std::min(height - 1, y1 + kBlurRadius);
  size_t ringSize = 0, inkSize = 0;
  if (!checkedMul(size_t(span), size_t(kBlurTaps), &ringSize) ||
      !checkedMul(size_t(blocks), size_t(yb - ya + 1), &inkSize))
    return false;
  auto ring = tryArray<double>(ringSize);
  auto ink = tryArray<uint8_t>(inkSize);  // whether block b of row y holds ink
  if (!ring || !ink) return false;
  auto blockStart = [&](int32_t b) { return x0 + b * kBlock; };
  auto blockSize = [&](int32_t b) { return std::min(kBlock, x1 + 1 - blockStart(b)); };
  auto inked = [&](int32_t y, int32_t b) -> uint8_t& { return ink[size_t(y - ya) * size_t(blocks) + size_t(b)]; };
  for (int32_t y = ya; y <= yb; ++y)
    for (int32_t b = 0; b < blocks; ++b) inked(y, b) = anyInk(src[y] + blockStart(b), blockSize(b));
  // Ring slots hold columns x0..x1.
  auto slot = [&](int32_t y) { return ring.get() + size_t(y % kBlurTaps) * size_t(span); };
  auto load = [&](int32_t y) {
    double* to = slot(y);
    const uint8_t* from = src[y];
    for (int32_t b = 0; b < blocks; ++b) {
      if (!inked(y, b)) continue;
      for (int32_t x = blockStart(b), end = x + blockSize(b); x < end; ++x) to[x - x0] = from[x];
    }
  };

  // Which rows of the current output's window hold ink in each block: bit i
  // for row j1 - i (the window's newest row is bit 0).
  auto window = tryArray<uint64_t>(size_t(blocks));
  if (!window) return false;
  for (int32_t b = 0; b < blocks; ++b) window[size_t(b)] = 0;

  for (int32_t y = ya; y < std::min(yb + 1, y0 + kBlurRadius); ++y) {
    load(y);
    for (int32_t b = 0; b < blocks; ++b) window[size_t(b)] = window[size_t(b)] << 1 | inked(y, b);
  }
  for (int32_t y = y0; y <= y1; ++y) {
    const int32_t j0 = std::max(0, y - kBlurRadius);
    const int32_t j1 = std::min(height - 1, y + kBlurRadius);
    const uint64_t keep = (uint64_t(1) << (j1 - j0 + 1)) - 1;
    const bool grows = y + kBlurRadius <= yb;
    if (grows) load(y + kBlurRadius);
    for (int32_t b = 0; b < blocks; ++b) {
      uint64_t& w = window[size_t(b)];
      if (grows) w = w << 1 | inked(y + kBlurRadius, b);
      w &= keep;
    }
    const bool inner = y >= kBlurRadius && y + kBlurRadius < height;
    double weights[kBlurTaps];
    double weight = 0.0;
    for (int32_t j = j0; j <= j1; ++j) {
      weights[j - j0] = k[size_t(j - y + kBlurRadius)];
      weight += weights[j - j0];
    }
    double* slots[kBlurTaps];
    for (int32_t j = j0; j <= j1; ++j) slots[j - j0] = slot(j);
    uint8_t* row = dst[y];
    // Runs of neighbouring blocks with ink in the same rows are summed at once.
    for (int32_t b = 0; b < blocks;) {
      const uint64_t w = window[size_t(b)];
      int32_t e = b + 1;
      while (e < blocks && window[size_t(e)] == w) ++e;
      const int32_t bx = blockStart(b), n = blockStart(e - 1) + blockSize(e - 1) - bx;
      uint8_t* out = row + bx;
      b = e;
      if (w == 0) {  // the run and every input of it are 0
        std::memset(out, 0, size_t(n));
        continue;
      }
      const double* sources[kBlurTaps];
      for (int32_t t = 0; t <= j1 - j0; ++t) sources[t] = (w >> (j1 - j0 - t) & 1) ? slots[t] + (bx - x0) : nullptr;
      accumulate(acc, n, weights, sources, j1 - j0 + 1);
      if (inner) {
        for (int32_t i = 0; i < n; ++i) out[i] = roundSample(acc[i]);
      } else {
        for (int32_t i = 0; i < n; ++i) out[i] = roundSample(acc[i] / weight);
      }
    }
  }
  return true;
}

bool blurColumns(uint8_t* const* rows, int32_t width, int32_t height, const BlurKernel& k, double* acc) {
  return columnPass(rows, rows, width, height, 0, width - 1, 0, height - 1, k, acc);
}


// Rows y0..y1, columns x0..x1 of `to` from the plane `from` (width fw,
// height fh) placed with its top-left at (dx, dy); 0 where it has nothing.
void copyPlaced(const std::vector<uint8_t>& from, int32_t fw, int32_t fh, int64_t dx, int64_t dy,
                uint8_t* const* to, int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
  const int64_t a = std::max<int64_t>(x0, dx), b = std::min<int64_t>(x1, dx + fw - 1);
  for (int32_t y = y0; y <= y1; ++y) {
    uint8_t* row = to[y];
    const int64_t sy = int64_t(y) - dy;
    if (sy < 0 || sy >= fh || a > b) {
      std::memset(row + x0, 0, size_t(x1 - x0 + 1));
      continue;
    }
    std::memset(row + x0, 0, size_t(a - x0));
    std::memcpy(row + a, from.data() + size_t(sy) * size_t(fw) + size_t(a - dx), size_t(b - a + 1));
    std::memset(row + b + 1, 0, size_t(x1 - b));
  }
}

}  // namespace

BlurKernel blurKernel(int softness) {
  BlurKernel k{};
  const double sigma = (softness + 2) / 10.0;
  const int half = kBlurTaps * 3 / 2;  // 61: three samples per tap
  for (int i = -half; i <= half; ++i)
    k[size_t((half + i) / 3)] += std::exp(-double(i) * i / (18.0 * sigma * sigma));
  double sum = 0.0;
  for (double w : k) sum += w;
  for (double& w : k) w /= sum;
  return k;
}

void blurLine(uint8_t* samples, size_t count, ptrdiff_t step, const BlurKernel& kernel, double* scratch) {
  if (!samples || count < size_t(kBlurTaps)) return;
  double* in = scratch;
  for (size_t i = 0; i < count; ++i) in[i] = samples[ptrdiff_t(i) * step];
  for (size_t x = 0; x < count; ++x) {
    uint8_t v;
    if (x >= size_t(kBlurRadius) && x + kBlurRadius < count) {
      double acc = 0.0;
      for (int t = 0; t < kBlurTaps; ++t) acc += kernel[size_t(t)] * in[x - kBlurRadius + size_t(t)];
      v = roundSample(acc);
    } else {
      v = edgeSample(in, int64_t(count), int64_t(x), kernel);
    }
    samples[ptrdiff_t(x) * step] = v;
  }
}

bool blurPlane(uint8_t* const* rows, int32_t width, int32_t height, const BlurKernel& kernel) {
  if (!rows || width <= 0 || height <= 0) return true;
  auto in = tryArray<double>(size_t(width));
  auto acc = tryArray<double>(size_t(width));
  if (!in || !acc) return false;
  // Only the ink's box, grown by the radius, can change: outside it every
  // input within reach is 0, and so is the output already (a mostly bare
  // padded canvas costs little more than its letters).
  int32_t x0 = width, x1 = -1, y0 = height, y1 = -1;
  for (int32_t y = 0; y < height; ++y) {
    const Extent e = extentOf(rows[y], width);
    if (e.empty()) continue;
    x0 = std::min(x0, e.first);
    x1 = std::max(x1, e.last);
    if (y0 > y) y0 = y;
    y1 = y;
  }
  if (y1 < 0) return true;
  if (width >= kBlurTaps) {
    for (int32_t y = y0; y <= y1; ++y) rowPass(rows[y], rows[y], width, 0, width - 1, kernel, in.get(), acc.get());
  }
  if (height < kBlurTaps) return true;
  return columnPass(rows, rows, width, height, std::max(0, x0 - kBlurRadius), std::min(width - 1, x1 + kBlurRadius),
                    std::max(0, y0 - kBlurRadius), std::min(height - 1, y1 + kBlurRadius), kernel, acc.get());
}

bool makeBlurBaseline(const uint8_t* const* rows, int32_t width, int32_t height, const BlurKernel& kernel,
                      BlurBaseline* out) {
  *out = BlurBaseline();
  if (!rows || width <= 0 || height <= 0) return false;
  size_t size = 0;
  if (!checkedMul(size_t(width), size_t(height), &size)) return false;
  BlurBaseline base;
  base.width = width;
  base.height = height;
  base.kernel = kernel;
  try {
    base.input.resize(size);
    for (int32_t y = 0; y < height; ++y) std::memcpy(&base.input[size_t(y) * size_t(width)], rows[y], size_t(width));
    base.rowPass = base.input;
    std::vector<uint8_t*> passRows(size_t(height), nullptr);
    for (int32_t y = 0; y < height; ++y) passRows[size_t(y)] = &base.rowPass[size_t(y) * size_t(width)];
    auto in = tryArray<double>(size_t(width));
    auto acc = tryArray<double>(size_t(width));
    if (!in || !acc) return false;
    if (width >= kBlurTaps) blurRows(passRows.data(), width, height, kernel, in.get(), acc.get());
    base.output = base.rowPass;
    std::vector<uint8_t*> outRows(size_t(height), nullptr);
    for (int32_t y = 0; y < height; ++y) outRows[size_t(y)] = &base.output[size_t(y) * size_t(width)];
    if (height >= kBlurTaps && !blurColumns(outRows.data(), width, height, kernel, acc.get())) return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
  *out = std::move(base);
  return true;
}

bool blurPlaneFrom(const BlurBaseline& base, uint8_t* const* rows, int32_t width, int32_t height) {
  if (!rows || width <= 0 || height <= 0) return true;
  if (base.empty() || base.width != width || base.height != height) return blurPlane(rows, width, height, base.kernel);
  const size_t w = size_t(width);
  auto baseRow = [&](const std::vector<uint8_t>& plane, int32_t y) { return plane.data() + size_t(y) * w; };

  // The box where the plane differs from the baseline's.
  int32_t dx0 = width, dx1 = -1, dy0 = height, dy1 = -1;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* a = rows[y];
    const uint8_t* b = baseRow(base.input, y);
    if (std::memcmp(a, b, w) == 0) continue;
    int32_t first = 0, last = width - 1;
    while (a[first] == b[first]) ++first;
    while (a[last] == b[last]) --last;
    dx0 = std::min(dx0, first);
    dx1 = std::max(dx1, last);
    if (dy0 > y) dy0 = y;
    dy1 = y;
  }
  if (dy1 < 0) {
    for (int32_t y = 0; y < height; ++y) std::memcpy(rows[y], baseRow(base.output, y), w);
    return true;
  }

  // The rows' pass changes only in the box's rows, within a radius of it;
  // the columns' pass then within a radius of those rows.
  const int32_t x0 = std::max(0, dx0 - kBlurRadius), x1 = std::min(width - 1, dx1 + kBlurRadius);
  const int32_t y0 = std::max(0, dy0 - kBlurRadius), y1 = std::min(height - 1, dy1 + kBlurRadius);
  const size_t changedRows = size_t(dy1 - dy0 + 1);
  size_t freshSize = 0;
  if (!checkedMul(changedRows, w, &freshSize)) return false;
  auto fresh = tryArray<uint8_t>(freshSize);
  auto passRows = tryArray<const uint8_t*>(size_t(height));
  auto in = tryArray<double>(w);
  auto acc = tryArray<double>(w);
  if (!fresh || !passRows || !in || !acc) return false;
  for (int32_t y = 0; y < height; ++y) {
    if (y < dy0 || y > dy1) {
      passRows[size_t(y)] = baseRow(base.rowPass, y);
      continue;
    }
    uint8_t* row = fresh.get() + size_t(y - dy0) * w;
    rowPass(rows[y], row, width, x0, x1, base.kernel, in.get(), acc.get());
    passRows[size_t(y)] = row;
  }

  for (int32_t y = 0; y < height; ++y) std::memcpy(rows[y], baseRow(base.output, y), w);
  if (height >= kBlurTaps) return columnPass(passRows.get(), rows, width, height, x0, x1, y0, y1, base.kernel, acc.get());
  for (int32_t y = dy0; y <= dy1; ++y) std::memcpy(rows[y] + x0, passRows[size_t(y)] + x0, size_t(x1 - x0 + 1));
  return true;
}

bool makeBlurShape(const uint8_t* const* rows, int32_t width, int32_t height, const BlurKernel& kernel,
                   BlurShape* out) {
  *out = BlurShape();
  if (!rows || width <= 0 || height <= 0) return false;
  // Ink within two radii of an end has met a renormalised end there.
  constexpr int32_t kRoom = 2 * kBlurRadius;
  bool roomyX = true, roomyY = true;
  for (int32_t y = 0; y < height; ++y) {
    const Extent e = extentOf(rows[y], width);
    if (e.empty()) continue;
    if (y < kRoom || y >= height - kRoom) roomyY = false;
    if (e.first < kRoom || e.last >= width - kRoom) roomyX = false;
  }
  BlurBaseline base;
  if (!makeBlurBaseline(rows, width, height, kernel, &base)) return false;
  out->width = width;
  out->height = height;
  out->roomyX = roomyX;
  out->roomyY = roomyY;
  out->kernel = kernel;
  out->rowPass = std::move(base.rowPass);
  out->output = std::move(base.output);
  return true;
}

bool blurMovedShape(const BlurShape& shape, uint8_t* const* rows, int32_t width, int32_t height, int64_t dx,
                    int64_t dy) {
  if (!rows || width <= 0 || height <= 0) return true;
  const int32_t r = kBlurRadius;
  // Along an axis without room the shape's ends are the plane's own: it may
  // not move along it. Along one with room the plane's ends are blurred
  // again, which needs them a kernel apart.
  const bool cutX = !shape.roomyX, cutY = !shape.roomyY;
  if (shape.empty() || (cutX && (dx != 0 || shape.width != width)) || (cutY && (dy != 0 || shape.height != height)) ||
      (!cutX && width < kBlurTaps) || (!cutY && height < kBlurTaps))
    return blurPlane(rows, width, height, shape.kernel);
  // The part that is the shape's blur moved, and the strips outside it.
  const int32_t cx0 = cutX ? 0 : r, cx1 = cutX ? width - 1 : width - 1 - r;
  const int32_t cy0 = cutY ? 0 : r, cy1 = cutY ? height - 1 : height - 1 - r;
  size_t size = 0;
  if (!checkedMul(size_t(width), size_t(height), &size)) return false;
  // The rows' pass, only where the strips' columns pass reads it.
  auto pass = tryArray<uint8_t>(size);
  auto passRows = tryArray<uint8_t*>(size_t(height));
  auto in = tryArray<double>(size_t(width));
  auto acc = tryArray<double>(size_t(width));
  if (!pass || !passRows || !in || !acc) return false;
  for (int32_t y = 0; y < height; ++y) passRows[size_t(y)] = pass.get() + size_t(y) * size_t(width);
  if (!cutX) {
    for (int32_t y = 0; y < height; ++y) {
      rowPass(rows[y], passRows[size_t(y)], width, 0, r - 1, shape.kernel, in.get(), acc.get());
      rowPass(rows[y], passRows[size_t(y)], width, width - r, width - 1, shape.kernel, in.get(), acc.get());
    }
  }
  if (!cutY) {
    // Away from the left and right ends a row's pass is the shape's, moved.
    const int32_t top1 = std::min(height - 1, 2 * r - 1), bottom0 = std::max(0, height - 2 * r);
    copyPlaced(shape.rowPass, shape.width, shape.height, dx, dy, passRows.get(), cx0, cx1, 0, top1);
    copyPlaced(shape.rowPass, shape.width, shape.height, dx, dy, passRows.get(), cx0, cx1, bottom0, height - 1);
  }
  copyPlaced(shape.output, shape.width, shape.height, dx, dy, rows, cx0, cx1, cy0, cy1);
  const uint8_t* const* src = passRows.get();
  if (!cutX && height < kBlurTaps) {  // columns too short to blur: the rows' pass is the blur
    for (int32_t y = 0; y < height; ++y) {
      std::memcpy(rows[y], src[y], size_t(r));
      std::memcpy(rows[y] + width - r, src[y] + width - r, size_t(r));
    }
  } else if (!cutX && !(columnPass(src, rows, width, height, 0, r - 1, 0, height - 1, shape.kernel, acc.get()) &&
                        columnPass(src, rows, width, height, width - r, width - 1, 0, height - 1, shape.kernel,
                                   acc.get()))) {
    return false;
  }
  if (!cutY && !(columnPass(src, rows, width, height, cx0, cx1, 0, r - 1, shape.kernel, acc.get()) &&
                 columnPass(src, rows, width, height, cx0, cx1, height - r, height - 1, shape.kernel, acc.get())))
    return false;
  return true;
}

bool blurMask(MemHandle mask, const BlurKernel& kernel) {
  MemLock lock(mask);
  BitmapView view = BitmapView::of(lock);
  if (!view.valid() || view.bits() != 8) return false;
  auto rows = tryArray<uint8_t*>(size_t(view.height()));
  if (!rows) return false;
  for (int32_t y = 0; y < view.height(); ++y) rows[size_t(y)] = view.row(y);
  return blurPlane(rows.get(), view.width(), view.height(), kernel);
}

}  // namespace gw
