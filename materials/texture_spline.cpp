#include "materials/texture_spline.h"

namespace gw {
namespace {

float clampRamp(float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }

uint32_t channelByte(double value) {
  double scaled = value * 255.0;
  if (!(scaled > 0.0)) return 0;
  if (scaled > 255.0) return 255;
  return uint32_t(scaled);
}

}  // namespace

double textureSplineValue(const float c[4], double t) {
  const double p[6] = {2.0 * c[0] - c[1], c[0], c[1], c[2], c[3], 2.0 * c[3] - c[2]};
  const double s = 3.0 * t;
  int b = int(s);
  if (b > 2) b = 2;
  if (b < 0) b = 0;
  const double u = s - b;
  const double p0 = p[b], p1 = p[b + 1], p2 = p[b + 2], p3 = p[b + 3];
  return p1 + u * (-0.5 * p0 + 0.5 * p2 +
                   u * (p0 - 2.5 * p1 + 2.0 * p2 - 0.5 * p3 + u * (-0.5 * p0 + 1.5 * p1 - 1.5 * p2 + 0.5 * p3)));
}

void textureSplineTable(const float red[4], const float green[4], const float blue[4], uint32_t table[256]) {
  float r[4], g[4], b[4];
  for (int k = 0; k < 4; ++k) {
    r[k] = clampRamp(red[k]);
    g[k] = clampRamp(green[k]);
    b[k] = clampRamp(blue[k]);
  }
  for (int i = 0; i < 256; ++i) {
    double t = i / 255.0;
    table[i] = channelByte(textureSplineValue(r, t)) | (channelByte(textureSplineValue(g, t)) << 8) |
               (channelByte(textureSplineValue(b, t)) << 16);
  }
}

}  // namespace gw
