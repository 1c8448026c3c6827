#include "effects/shaded_sphere.h"

#include <algorithm>
#include <cmath>

namespace gw {
namespace {

// The light comes from the upper left and a little in front of the ball.
constexpr double kLightX = -0.48, kLightY = -0.58, kLightZ = 0.66;

// x^32 by squaring: a tight highlight without calling pow.
inline double tight(double x) {
  for (int i = 0; i < 5; ++i) x *= x;
  return x;
}

inline uint8_t blend(uint8_t under, double over, double cover) {
  double v = under + (over - under) * cover + 0.5;
  return uint8_t(std::min(255.0, std::max(0.0, v)));
}

}  // namespace

uint32_t sphereColourAt(const SphereLook& look, double u, double v) {
  double r2 = u * u + v * v;
  if (r2 > 1.0) {
    const double s = 1.0 / std::sqrt(r2);
    u *= s;
    v *= s;
    r2 = 1.0;
  }
  const double z = std::sqrt(std::max(0.0, 1.0 - r2));
  const double norm = std::sqrt(kLightX * kLightX + kLightY * kLightY + kLightZ * kLightZ);
  const double lx = kLightX / norm, ly = kLightY / norm, lz = kLightZ / norm;
  const double diffuse = std::max(0.0, u * lx + v * ly + z * lz);
  // Half-way between the light and the eye (0, 0, 1).
  double hx = lx, hy = ly, hz = lz + 1.0;
  const double hn = std::sqrt(hx * hx + hy * hy + hz * hz);
  const double specular = tight(std::max(0.0, (u * hx + v * hy + z * hz) / hn));
  const double lit = 1.0 - (look.shade / 255.0) * (1.0 - diffuse);
  const double glare = specular * (look.glare / 255.0);
  const double glow = look.glow / 255.0;
  uint32_t out = 0;
  for (int c = 0; c < 3; ++c) {
    double base = double((look.colour >> (8 * c)) & 0xFF) * lit;
    base += (255.0 - base) * glow * 0.75;
    base += (255.0 - base) * glare;
    out |= uint32_t(std::min(255.0, base + 0.5)) << (8 * c);
  }
  return out;
}

void paintShadedSphere(FrameLayer& layer, double cx, double cy, double radius, const SphereLook& look,
                       double edge, uint8_t opacity) {
  if (!(radius > 0.0) || !std::isfinite(radius) || !std::isfinite(cx) || !std::isfinite(cy)) return;
  edge = std::max(edge, 1e-3);
  const BitmapView& canvas = layer.canvas;
  const double reach = radius + edge * 0.5;
  const int64_t x0 = std::max<int64_t>(0, int64_t(std::floor(cx - reach)));
  const int64_t y0 = std::max<int64_t>(0, int64_t(std::floor(cy - reach)));
  const int64_t x1 = std::min<int64_t>(canvas.width(), int64_t(std::ceil(cx + reach)) + 1);
  const int64_t y1 = std::min<int64_t>(canvas.height(), int64_t(std::ceil(cy + reach)) + 1);
  if (x0 >= x1 || y0 >= y1) return;
  const double strength = opacity / 255.0;
  for (int64_t y = y0; y < y1; ++y) {
    uint8_t* row = canvas.row(int32_t(y));
    uint8_t* alpha = layer.alpha ? layer.alpha->row(int32_t(y)) : nullptr;
    const double dy = (double(y) + 0.5 - cy);
    for (int64_t x = x0; x < x1; ++x) {
      const double dx = (double(x) + 0.5 - cx);
      const double d = std::sqrt(dx * dx + dy * dy);
      const double cover = std::min(1.0, std::max(0.0, (radius - d) / edge + 0.5)) * strength;
      if (cover <= 0.0) continue;
      const uint32_t colour = sphereColourAt(look, dx / radius, dy / radius);
      uint8_t* p = row + x * 3;
      p[0] = blend(p[0], double((colour >> 16) & 0xFF), cover);
      p[1] = blend(p[1], double((colour >> 8) & 0xFF), cover);
      p[2] = blend(p[2], double(colour & 0xFF), cover);
      if (alpha) alpha[x] = blend(alpha[x], 255.0, cover);
    }
  }
}

}  // namespace gw
