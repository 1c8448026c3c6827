#include "effects/blur.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

#include "base/checked_math.h"
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
  int32_t x = 0;
  while (x < width && row[x] == 0) ++x;
  if (x == width) return e;
  int32_t y = width - 1;
  while (row[y] == 0) --y;
  e.first = x;
  e.last = y;
  return e;
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

// Rows: every output depends only on its own row, so the row is converted
// once and blurred from the copy. Outputs further than the radius from any
// ink stay 0 and are not computed.
void blurRows(uint8_t* const* rows, int32_t width, int32_t height, const BlurKernel& k,
              double* in, double* acc) {
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = rows[y];
    Extent e = extentOf(row, width);
    if (e.empty()) continue;
    int32_t lo = std::max(0, e.first - kBlurRadius);
    int32_t hi = std::min(width - 1, e.last + kBlurRadius);
    int32_t from = std::max(0, lo - kBlurRadius);
    int32_t to = std::min(width - 1, hi + kBlurRadius);
    for (int32_t x = from; x <= to; ++x) in[x] = row[x];
    int32_t inner0 = std::max(lo, kBlurRadius);
    int32_t inner1 = std::min(hi, width - 1 - kBlurRadius);
    for (int32_t x = lo; x <= hi && x < inner0; ++x) row[x] = edgeSample(in, width, x, k);
    if (inner0 <= inner1) {
      const int32_t n = inner1 - inner0 + 1;
      const double* sources[kBlurTaps];
      for (int t = 0; t < kBlurTaps; ++t) sources[t] = in + inner0 - kBlurRadius + t;
      accumulate(acc, n, k.data(), sources, kBlurTaps);
      for (int32_t i = 0; i < n; ++i) row[inner0 + i] = roundSample(acc[i]);
    }
    for (int32_t x = std::max(lo, inner1 + 1); x <= hi; ++x) row[x] = edgeSample(in, width, x, k);
  }
}

// Columns: the 41 input rows around each output row are kept as doubles in
// a ring, so rows can be overwritten in place as soon as they are done.
bool blurColumns(uint8_t* const* rows, int32_t width, int32_t height, const BlurKernel& k,
                 double* acc) {
  size_t ringSize = 0;
  if (!checkedMul(size_t(width), size_t(kBlurTaps), &ringSize)) return false;
  auto ring = tryArray<double>(ringSize);
  auto extents = tryArray<Extent>(size_t(height));
  if (!ring || !extents) return false;
  for (int32_t y = 0; y < height; ++y) extents[size_t(y)] = extentOf(rows[y], width);
  auto slot = [&](int32_t y) { return ring.get() + size_t(y % kBlurTaps) * size_t(width); };
  auto load = [&](int32_t y) {
    if (extents[size_t(y)].empty()) return;
    double* dst = slot(y);
    const uint8_t* src = rows[y];
    for (int32_t x = 0; x < width; ++x) dst[x] = src[x];
  };

  for (int32_t y = 0; y < std::min(height, kBlurRadius); ++y) load(y);
  for (int32_t y = 0; y < height; ++y) {
    if (y + kBlurRadius < height) load(y + kBlurRadius);
    int32_t j0 = std::max(0, y - kBlurRadius);
    int32_t j1 = std::min(height - 1, y + kBlurRadius);
    Extent u;
    for (int32_t j = j0; j <= j1; ++j) {
      const Extent& e = extents[size_t(j)];
      if (e.empty()) continue;
      if (u.empty()) {
        u = e;
      } else {
        u.first = std::min(u.first, e.first);
        u.last = std::max(u.last, e.last);
      }
    }
    if (u.empty()) continue;  // the row and every input of it are 0
    const int32_t lo = u.first;
    const int32_t n = u.last - u.first + 1;
    double weights[kBlurTaps];
    const double* sources[kBlurTaps];
    int taps = 0;
    double weight = 0.0;
    for (int32_t j = j0; j <= j1; ++j) {
      weights[taps] = k[size_t(j - y + kBlurRadius)];
      weight += weights[taps];
      sources[taps] = extents[size_t(j)].empty() ? nullptr : slot(j) + lo;
      ++taps;
    }
    accumulate(acc, n, weights, sources, taps);
    uint8_t* out = rows[y] + lo;
    if (y >= kBlurRadius && y + kBlurRadius < height) {
      for (int32_t i = 0; i < n; ++i) out[i] = roundSample(acc[i]);
    } else {
      for (int32_t i = 0; i < n; ++i) out[i] = roundSample(acc[i] / weight);
    }
  }
  return true;
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
  if (width >= kBlurTaps) blurRows(rows, width, height, kernel, in.get(), acc.get());
  if (height >= kBlurTaps) return blurColumns(rows, width, height, kernel, acc.get());
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
