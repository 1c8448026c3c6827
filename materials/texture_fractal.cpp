#include "materials/texture_fractal.h"

#include <cmath>
#include <cstring>

#include "materials/texture_buffer.h"
#include "materials/texture_fft.h"
#include "materials/texture_generate.h"
#include "materials/texture_random.h"
#include "materials/texture_settings.h"

namespace gw {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Spectrum {
  float* grid;
  uint32_t n;
  float* at(uint32_t i, uint32_t j) const { return grid + 2 * (size_t(i) * n + j); }
  void set(uint32_t i, uint32_t j, double re, double im) const {
    float* p = at(i, j);
    p[0] = float(re);
    p[1] = float(im);
  }
};

}  // namespace

uint32_t textureMeshSize(uint32_t stored) {
  uint32_t n = stored < 32 ? 32 : stored;
  if (n > kTextureMaxMesh) n = kTextureMaxMesh;
  uint32_t p = 32;
  while (p < n) p <<= 1;
  return p;
}

uint32_t fractalWorkingMesh(uint32_t stored, int32_t workingWidth) {
  const uint32_t n = textureMeshSize(stored);
  uint32_t needed = kFractalMeshFloor;
  while (needed < kTextureMaxMesh && int64_t(needed) < 2 * int64_t(workingWidth)) needed <<= 1;
  return n < needed ? n : needed;
}

uint32_t fractalHeightMapSize(uint32_t mesh) {
  if (mesh < 32) return 32;
  return mesh > 1024 ? 1024 : mesh;
}

bool fractalSynthesize(float* grid, uint32_t n, uint32_t seed, float dimension) {
  std::memset(grid, 0, sizeof(float) * 2 * size_t(n) * n);
  TextureRandom rng(seed);
  const Spectrum a{grid, n};
  const double h = 3.0 - double(dimension);
  const double e = -(h + 1.0) / 2.0;
  const uint32_t half = n / 2;
  // A bin's falloff depends on its distance alone, the same across the
  // diagonal, and both passes below meet the same bins: each power is taken
  // once, where it was taken up to four times.
  const size_t side = size_t(half) + 1;
  TextureBuffer<double> falloff(side * side);
  if (!falloff) return false;
  for (uint32_t i = 0; i <= half; ++i) {
    for (uint32_t j = i; j <= half; ++j) {
      const double v = i != 0 || j != 0 ? std::pow(double(i) * i + double(j) * j, e) : 0.0;
      falloff[i * side + j] = v;
      falloff[j * side + i] = v;
    }
  }
  for (uint32_t i = 0; i <= half; ++i) {
    for (uint32_t j = 0; j <= half; ++j) {
      double phase = 2.0 * kPi * rng.draw() / kTextureRandomMax;
      double rad = 0.0;
      if (i != 0 || j != 0) rad = falloff[i * side + j] * rng.gaussian();
      double re = rad * std::cos(phase);
      double im = rad * std::sin(phase);
      a.set(i, j, re, im);
      a.set(i == 0 ? 0 : n - i, j == 0 ? 0 : n - j, re, -im);
    }
  }
  a.at(half, 0)[1] = 0.0f;
  a.at(0, half)[1] = 0.0f;
  a.at(half, half)[1] = 0.0f;
  for (uint32_t i = 1; i < half; ++i) {
    for (uint32_t j = 1; j < half; ++j) {
      double phase = 2.0 * kPi * rng.draw() / kTextureRandomMax;
      double rad = falloff[i * side + j] * rng.gaussian();
      double re = rad * std::cos(phase);
      double im = rad * std::sin(phase);
      a.set(i, n - j, re, im);
      a.set(n - i, j, re, -im);
    }
  }
  return textureFft2d(grid, n);
}

bool fractalHeightBytes(float* grid, uint32_t n, float power, uint8_t* bytes, uint32_t c) {
  const size_t count = size_t(n) * n;
  if (power != 1.0f) {
    for (size_t k = 0; k < count; ++k) {
      float& r = grid[2 * k];
      if (r > 0.0f) r = std::pow(r, power);
    }
  }
  float lo = grid[0];
  float hi = grid[0];
  for (size_t k = 0; k < count; ++k) {
    float r = grid[2 * k];
    if (!std::isfinite(r)) return false;
    if (r < lo) lo = r;
    if (r > hi) hi = r;
  }
  const float mid = (lo + hi) / 2.0f;
  const float span = (hi - lo) / 2.0f;
  if (!(span > 0.0f) || !std::isfinite(span)) return false;
  for (size_t k = 0; k < count; ++k) grid[2 * k] = (grid[2 * k] - mid) / span;
  for (uint32_t y = 0; y < c && y < n; ++y) {
    for (uint32_t x = 0; x < c && x < n; ++x) {
      double v = (double(grid[2 * (size_t(y) * n + x)]) + 1.0) * 255.0 * 0.5;
      // Rounding can carry the extremes a hair past -1 or 1.
      bytes[size_t(y) * c + x] = v <= 0.0 ? 0 : v >= 255.0 ? 255 : uint8_t(v);
    }
  }
  return true;
}

void fractalCompositeLayer(const uint8_t* b, uint32_t c, uint32_t colour, int32_t workingWidth,
                           const BitmapView& target) {
  const int32_t w = target.width();
  const int32_t hg = target.height();
  const int fr = int(colour & 0xFF), fg = int((colour >> 8) & 0xFF), fb = int((colour >> 16) & 0xFF);
  auto sample = [&](uint32_t y, uint32_t x) -> double { return (y < c && x < c) ? b[size_t(y) * c + x] : 0.0; };
  const int32_t columns = workingWidth < w ? workingWidth : w;
  // The horizontal stretch is the same on every row: work it out once.
  TextureBuffer<uint32_t> cellX{size_t(columns)};
  TextureBuffer<double> fracX{size_t(columns)};
  const bool tables = cellX && fracX;
  auto column = [&](int32_t x, uint32_t* x0, double* fx) {
    if (tables) {
      *x0 = cellX[size_t(x)];
      *fx = fracX[size_t(x)];
      return;
    }
    double u = double(x) / double(workingWidth - 1) * double(c - 1);
    *x0 = uint32_t(std::floor(u));
    *fx = u - *x0;
  };
  if (tables) {
    for (int32_t x = 0; x < columns; ++x) {
      double u = double(x) / double(workingWidth - 1) * double(c - 1);
      cellX[size_t(x)] = uint32_t(std::floor(u));
      fracX[size_t(x)] = u - cellX[size_t(x)];
    }
  }
  for (int32_t y = 0; y < hg; ++y) {
    // One row has no extent to stretch over: it reads the map's top row.
    double v = hg > 1 ? double(c - 1) * y / double(hg - 1) : 0.0;
    uint32_t y0 = uint32_t(std::floor(v));
    double fy = v - y0;
    uint8_t* row = target.row(y);
    for (int32_t x = 0; x < columns; ++x) {
      uint32_t x0;
      double fx;
      column(x, &x0, &fx);
      double height = (1 - fy) * (1 - fx) * sample(y0, x0) + fy * (1 - fx) * sample(y0 + 1, x0) +
                      fy * fx * sample(y0 + 1, x0 + 1) + (1 - fy) * fx * sample(y0, x0 + 1);
      if (!(height > 127.0)) continue;
      int i = int((height - 127.0) * 0.0078125 * 255.0);
      if (i > 255) i = 255;
      uint8_t* p = row + 3 * size_t(x);
      p[0] = uint8_t(fb * i / 255 + p[0] * (255 - i) / 255);
      p[1] = uint8_t(fg * i / 255 + p[1] * (255 - i) / 255);
      p[2] = uint8_t(fr * i / 255 + p[2] * (255 - i) / 255);
    }
  }
}

bool textureFractal(const uint8_t* s, uint32_t layers, const BitmapView& target) {
  using namespace texture_settings;
  const int32_t w = target.width();
  const int32_t h = target.height();
  int32_t wg = w > h ? w : h;
  wg += wg & 1;
  const uint32_t n = fractalWorkingMesh(readU32(s + kMeshSize), wg);
  const uint32_t c = fractalHeightMapSize(n);
  TextureBuffer<float> grid(2 * size_t(n) * n);
  TextureBuffer<uint8_t> bytes(size_t(c) * c);
  if (!grid || !bytes) return false;
  for (uint32_t k = 0; k < layers && k < kLayerCount; ++k) {
    if (!fractalSynthesize(grid.data(), n, readU32(s + seed(k)), readF32(s + dimension(k)))) return false;
    if (!fractalHeightBytes(grid.data(), n, readF32(s + power(k)), bytes.data(), c)) continue;
    fractalCompositeLayer(bytes.data(), c, readU32(s + foreColour(k)), wg, target);
  }
  return true;
}

}  // namespace gw
