#include "materials/texture_craters.h"

#include <cmath>

#include "materials/texture_buffer.h"
#include "materials/texture_generate.h"
#include "materials/texture_random.h"
#include "materials/texture_settings.h"

namespace gw {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSlopeLimit = 52;

struct HeightField {
  uint16_t* cells;
  int32_t w;
  int32_t h;
  uint16_t& at(int32_t x, int32_t y) const { return cells[size_t(y) * size_t(w) + size_t(x)]; }

  // Integer mean of the square of half-side `v` around (x, y), clipped.
  int mean(int32_t x, int32_t y, int32_t v) const {
    // Nine cells around an inner point, the case of nearly every crater.
    if (v == 1 && x > 0 && y > 0 && x + 1 < w && y + 1 < h) {
      const uint16_t* above = &at(x - 1, y - 1);
      const uint16_t* middle = above + w;
      const uint16_t* below = middle + w;
      return (above[0] + above[1] + above[2] + middle[0] + middle[1] + middle[2] + below[0] + below[1] + below[2]) / 9;
    }
    int32_t x0 = x - v < 0 ? 0 : x - v, x1 = x + v >= w ? w - 1 : x + v;
    int32_t y0 = y - v < 0 ? 0 : y - v, y1 = y + v >= h ? h - 1 : y + v;
    int64_t sum = 0, count = 0;
    for (int32_t py = y0; py <= y1; ++py) {
      for (int32_t px = x0; px <= x1; ++px) sum += at(px, py);
      count += x1 - x0 + 1;
    }
    return int(sum / count);
  }
};

uint16_t clampHeight(double v, double lo, double hi) {
  // NaN (from an extreme depth) lands on the floor like any deep value.
  if (!(v >= lo)) return uint16_t(lo);
  if (v > hi) return uint16_t(hi);
  return uint16_t(v);
}

void largeCrater(const HeightField& f, int32_t x, int32_t y, double m, double depth) {
  int32_t v = int32_t(m / 3.0 > 2.0 ? m / 3.0 : 2.0);
  const double a = f.mean(x, y, v);
  const int32_t r = int32_t(m);
  const double q = std::pow(double(r), depth);
  const int32_t py0 = y - r < 0 ? 0 : y - r, py1 = y + r > f.h - 1 ? f.h - 1 : y + r;
  const int32_t px0 = x - r < 0 ? 0 : x - r, px1 = x + r > f.w - 1 ? f.w - 1 : x + r;
  for (int32_t py = py0; py <= py1; ++py) {
    const bool centreRow = py == y;
    for (int32_t px = px0; px <= px1; ++px) {
      double dy = double(y - py) / r, dx = double(x - px) / r;
      double d2 = dy * dy + dx * dx;
      double mm = 2.25 * d2;
      double o = std::sqrt(0.5) - std::sqrt(std::fabs(1.0 - mm));
      if (mm > 1.0) o = o > 0.0 ? o : 0.0;
      else o = o > -10.0 ? o : -10.0;
      double rr = o * q;
      if (centreRow && px == x && std::trunc(rr) == 0.0) rr = rr >= 0.0 ? 1.0 : -1.0;
      if (d2 > 0.9) d2 = 0.9;
      double s = (0.1 / (1.0 - d2) - 0.1) * 1.1111111111111111;
      uint16_t& cell = f.at(px, py);
      cell = clampHeight(std::trunc(s * (rr + cell) + (1.0 - s) * (rr + a)), 1000.0, 64000.0);
    }
  }
}

}  // namespace

void craterShadeTable(uint8_t table[105]) {
  for (int k = -kSlopeLimit; k <= kSlopeLimit; ++k) {
    double s = k >= 1 ? 128.0 + 127.0 * std::sqrt(std::sin(k * kPi / 104.0))
                      : 128.0 - 127.0 * std::sqrt(std::sin(-k * kPi / 104.0));
    table[k + kSlopeLimit] = uint8_t(s);
  }
}

bool textureCraters(const uint8_t* s, const BitmapView& target) {
  using namespace texture_settings;
  const int32_t w = target.width();
  const int32_t h = target.height();
  TextureBuffer<uint16_t> cells(size_t(w) * size_t(h));
  if (!cells) return false;
  const HeightField field{cells.data(), w, h};
  for (size_t i = 0; i < cells.size(); ++i) cells[i] = 32767;

  TextureRandom rng(readU32(s + seed(0)));
  uint32_t count = readU32(s + kCraterCount);
  if (count > kTextureMaxCraterCount) count = kTextureMaxCraterCount;
  const double depth = readF32(s + kCraterDepth);
  for (uint32_t n = 0; n < count * 10; ++n) {
    int32_t x = int32_t(double(rng.draw()) / kTextureRandomMax * (w - 1));
    int32_t y = int32_t(double(rng.draw()) / kTextureRandomMax * (h - 1));
    double q = double(rng.draw()) / kTextureRandomMax;
    double m = std::sqrt(1.0 / (kPi * (1.0 - 0.9999 * q)));
    if (m < 3.0) {
      int mean = field.mean(x, y, 1);
      int j = m >= 1.0 ? ((rng.draw() >> 8) & 3) - 1 : 0;
      field.at(x, y) = clampHeight(mean + j, 0.0, 65535.0);
    } else {
      largeCrater(field, x, y, m, depth);
    }
  }

  uint8_t shade[105];
  craterShadeTable(shade);
  const uint32_t colour = readU32(s + foreColour(0));
  const int fr = int(colour & 0xFF), fg = int((colour >> 8) & 0xFF), fb = int((colour >> 16) & 0xFF);
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = target.row(y);
    for (int32_t x = 0; x + 1 < w; ++x) {
      int k = int(field.at(x + 1, y)) - int(field.at(x, y));
      k = k < -kSlopeLimit ? -kSlopeLimit : k > kSlopeLimit ? kSlopeLimit : k;
      int e = shade[k + kSlopeLimit];
      uint8_t* p = row + 3 * size_t(x);
      p[0] = uint8_t(fb * e / 255 + p[0] * (255 - e) / 255);
      p[1] = uint8_t(fg * e / 255 + p[1] * (255 - e) / 255);
      p[2] = uint8_t(fr * e / 255 + p[2] * (255 - e) / 255);
    }
  }
  return true;
}

}  // namespace gw
