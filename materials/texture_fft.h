// The unnormalised two-dimensional discrete Fourier transform with a negative
// exponent, in place, over an n x n grid of single-precision complex values
// stored interleaved (re, im) row by row:
//   out[r][c] = sum over (y, x) of in[y][x] * exp(-2 pi i (y r / n + x c / n)).
// Radix 2: n must be a power of two.
#pragma once

#include <cstddef>

namespace gw {

// False (grid untouched) when n is not a power of two of at least 2 or a work
// buffer cannot be had.
bool textureFft2d(float* grid, size_t n);

}  // namespace gw
