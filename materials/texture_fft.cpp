#include "materials/texture_fft.h"

#include <cmath>
#include <utility>

#include "materials/texture_buffer.h"

namespace gw {
namespace {

// One in-place radix-2 transform of n complex values at `v` (interleaved).
// `twiddle` holds exp(-2 pi i k / n) for k < n / 2.
void fft1d(float* v, size_t n, const float* twiddle) {
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j |= bit;
    if (i < j) {
      std::swap(v[2 * i], v[2 * j]);
      std::swap(v[2 * i + 1], v[2 * j + 1]);
    }
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const size_t half = len / 2;
    const size_t step = n / len;
    for (size_t start = 0; start < n; start += len) {
      for (size_t k = 0; k < half; ++k) {
        const float wr = twiddle[2 * k * step];
        const float wi = twiddle[2 * k * step + 1];
        float* a = v + 2 * (start + k);
        float* b = v + 2 * (start + k + half);
        const float tr = b[0] * wr - b[1] * wi;
        const float ti = b[0] * wi + b[1] * wr;
        b[0] = a[0] - tr;
        b[1] = a[1] - ti;
        a[0] += tr;
        a[1] += ti;
      }
    }
  }
}

}  // namespace

bool textureFft2d(float* grid, size_t n) {
  if (n < 2 || (n & (n - 1)) != 0) return false;
  TextureBuffer<float> twiddle(n);  // n / 2 complex values
  TextureBuffer<float> column(2 * n);
  if (!twiddle || !column) return false;
  const double pi = 3.14159265358979323846;
  for (size_t k = 0; k < n / 2; ++k) {
    double angle = -2.0 * pi * double(k) / double(n);
    twiddle[2 * k] = float(std::cos(angle));
    twiddle[2 * k + 1] = float(std::sin(angle));
  }
  for (size_t r = 0; r < n; ++r) fft1d(grid + 2 * n * r, n, twiddle.data());
  // Columns go through a contiguous copy: strided butterflies over a large
  // grid would miss the cache on every access.
  for (size_t c = 0; c < n; ++c) {
    for (size_t r = 0; r < n; ++r) {
      column[2 * r] = grid[2 * (n * r + c)];
      column[2 * r + 1] = grid[2 * (n * r + c) + 1];
    }
    fft1d(column.data(), n, twiddle.data());
    for (size_t r = 0; r < n; ++r) {
      grid[2 * (n * r + c)] = column[2 * r];
      grid[2 * (n * r + c) + 1] = column[2 * r + 1];
    }
  }
  return true;
}

}  // namespace gw
