// Test pictures for the quantizer and remap benchmarks and the comparison
// script: rendered text-like images (flat colours, anti-aliased edges,
// gradients, outlines, soft shadows and glows) and textures (smooth colour
// fields, grain). Deterministic for a given kind, size and seed.
//
//   gw::bench::RgbImage img = gw::bench::makeImage("title", 800, 600, 1);
//   gw::MemBlock bmp(gw::bench::toBitmap(img));
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/bitmap.h"

namespace gw::bench {

struct RgbImage {
  int w = 0, h = 0;
  std::vector<uint8_t> rgb;  // top row first, red, green, blue
};

inline const std::vector<std::string>& imageKinds() {
  static const std::vector<std::string> kinds = {"title", "banner", "sticker", "glow", "plasma", "grain"};
  return kinds;
}

namespace detail {

struct Rng {
  uint32_t s;
  uint32_t next() {
    s = s * 1664525u + 1013904223u;
    return s >> 8;
  }
  float unit() { return float(next() & 0xFFFF) / 65535.0f; }
};

struct Segment {
  float x0, y0, x1, y1;
};

struct Colour {
  float r, g, b;
};

inline float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

inline float segmentDistance(const Segment& s, float px, float py) {
  float dx = s.x1 - s.x0, dy = s.y1 - s.y0;
  float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? clamp01(((px - s.x0) * dx + (py - s.y0) * dy) / len2) : 0;
  float ex = s.x0 + t * dx - px, ey = s.y0 + t * dy - py;
  return std::sqrt(ex * ex + ey * ey);
}

// A line of "letters", each made of 2 to 4 strokes inside its cell.
inline std::vector<std::vector<Segment>> letters(Rng& rng, int count, float x0, float y0, float cellW,
                                                 float cellH) {
  std::vector<std::vector<Segment>> out;
  for (int i = 0; i < count; ++i) {
    float lx = x0 + i * cellW + cellW * 0.15f, ly = y0, w = cellW * 0.7f, h = cellH;
    std::vector<Segment> strokes;
    int n = 2 + int(rng.next() % 3);
    for (int k = 0; k < n; ++k) {
      float ax = lx + rng.unit() * w, ay = ly + rng.unit() * h;
      float bx = lx + rng.unit() * w, by = ly + rng.unit() * h;
      if (k == 0) {  // a stem keeps it letter-like
        ax = bx = lx + rng.unit() * w * 0.3f;
        ay = ly;
        by = ly + h;
      }
      strokes.push_back({ax, ay, bx, by});
    }
    out.push_back(strokes);
  }
  return out;
}

inline float nearestStroke(const std::vector<std::vector<Segment>>& text, float px, float py, int* which) {
  float best = 1e9f;
  for (size_t i = 0; i < text.size(); ++i)
    for (const Segment& s : text[i]) {
      float d = segmentDistance(s, px, py);
      if (d < best) {
        best = d;
        if (which) *which = int(i);
      }
    }
  return best;
}

inline void blend(Colour& dst, const Colour& src, float a) {
  dst.r += (src.r - dst.r) * a;
  dst.g += (src.g - dst.g) * a;
  dst.b += (src.b - dst.b) * a;
}

inline Colour hue(float h, float s, float v) {
  h = h - std::floor(h);
  float r = clamp01(std::fabs(h * 6 - 3) - 1), g = clamp01(2 - std::fabs(h * 6 - 2)),
        b = clamp01(2 - std::fabs(h * 6 - 4));
  return {255 * v * (1 - s + s * r), 255 * v * (1 - s + s * g), 255 * v * (1 - s + s * b)};
}

// Smooth value noise in 0..1.
inline float valueNoise(uint32_t seed, float x, float y) {
  auto lattice = [&](int ix, int iy) {
    uint32_t h = uint32_t(ix) * 374761393u + uint32_t(iy) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return float((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
  };
  int ix = int(std::floor(x)), iy = int(std::floor(y));
  float fx = x - ix, fy = y - iy;
  fx = fx * fx * (3 - 2 * fx);
  fy = fy * fy * (3 - 2 * fy);
  float a = lattice(ix, iy), b = lattice(ix + 1, iy), c = lattice(ix, iy + 1), d = lattice(ix + 1, iy + 1);
  return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

inline float fractal(uint32_t seed, float x, float y, int octaves) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * valueNoise(seed + uint32_t(o), x, y);
    norm += amp;
    x *= 2.03f;
    y *= 2.03f;
    amp *= 0.5f;
  }
  return sum / norm;
}

inline uint8_t toByte(float v) { return uint8_t(v < 0 ? 0 : (v > 255 ? 255 : std::lround(v))); }

}  // namespace detail

inline RgbImage makeImage(const std::string& kind, int w, int h, uint32_t seed) {
  using namespace detail;
  RgbImage img;
  img.w = w;
  img.h = h;
  img.rgb.assign(size_t(w) * h * 3, 0);
  Rng rng{seed * 2654435761u + 17};
  const float cellW = w / 9.0f, cellH = h * 0.45f;
  auto text = letters(rng, 8, w * 0.06f, h * 0.27f, cellW, cellH);
  const float stroke = std::max(2.0f, w / 90.0f);
  const Colour faceTop = hue(rng.unit(), 0.8f, 1.0f), faceBottom = hue(rng.unit(), 0.9f, 0.55f);
  const Colour outline = hue(rng.unit(), 0.6f, 0.25f);
  const Colour flat = hue(rng.unit(), 0.15f, 0.97f);
  const Colour skyTop = hue(rng.unit(), 0.5f, 0.9f), skyBottom = hue(rng.unit(), 0.7f, 0.35f);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float px = x + 0.5f, py = y + 0.5f, fy = py / h;
      Colour c{0, 0, 0};
      if (kind == "plasma" || kind == "grain") {
        float n1 = fractal(seed, px / 90, py / 90, 5), n2 = fractal(seed + 99, px / 60, py / 60, 4);
        c = hue(n1 * 1.7f, 0.4f + 0.6f * n2, 0.35f + 0.65f * fractal(seed + 7, px / 40, py / 40, 3));
        if (kind == "grain") {
          float g = (float(rng.next() & 0xFF) - 127.5f) * 0.22f;
          c.r += g + (float(rng.next() & 0xFF) - 127.5f) * 0.06f;
          c.g += g;
          c.b += g - (float(rng.next() & 0xFF) - 127.5f) * 0.06f;
        }
      } else {
        int which = 0;
        if (kind == "title") c = flat;
        else if (kind == "sticker") c = {255, 255, 255};
        else if (kind == "glow") c = {12, 10, 30};
        else c = {skyTop.r + (skyBottom.r - skyTop.r) * fy, skyTop.g + (skyBottom.g - skyTop.g) * fy,
                  skyTop.b + (skyBottom.b - skyTop.b) * fy};
        if (kind == "glow") {
          float d = nearestStroke(text, px, py, &which);
          Colour halo = hue(0.12f * which + 0.5f, 0.8f, 1.0f);
          blend(c, halo, 0.85f * std::exp(-std::max(0.0f, d - stroke) / (stroke * 2.5f)));
          blend(c, {255, 250, 240}, clamp01(stroke * 0.5f - d + 0.5f));
        } else {
          // Soft shadow: the same strokes offset and widened, falling off smoothly.
          float ds = nearestStroke(text, px - stroke * 0.8f, py - stroke * 0.8f, nullptr);
          float shadow = clamp01(1.0f - (ds - stroke * 0.5f) / (stroke * 1.6f));
          blend(c, {0, 0, 0}, 0.55f * shadow * shadow);
          float d = nearestStroke(text, px, py, &which);
          blend(c, outline, clamp01(stroke * 0.5f + stroke * 0.35f - d + 0.5f));
          Colour face;
          if (kind == "sticker") face = hue(0.13f * which, 0.85f, 0.95f);
          else
            face = {faceTop.r + (faceBottom.r - faceTop.r) * fy, faceTop.g + (faceBottom.g - faceTop.g) * fy,
                    faceTop.b + (faceBottom.b - faceTop.b) * fy};
          blend(c, face, clamp01(stroke * 0.5f - d + 0.5f));
        }
      }
      uint8_t* p = &img.rgb[(size_t(y) * w + x) * 3];
      p[0] = toByte(c.r);
      p[1] = toByte(c.g);
      p[2] = toByte(c.b);
    }
  return img;
}

// A 24-bit Bitmap of the image; 0 when allocation fails.
inline MemHandle toBitmap(const RgbImage& img) {
  MemHandle bmp = bitmapCreateTrueColour(img.w, img.h, 24);
  MemLock lock(bmp);
  BitmapView v = BitmapView::of(lock);
  if (!v.valid()) return bmp;
  for (int y = 0; y < img.h; ++y) {
    uint8_t* row = v.row(y);
    const uint8_t* src = &img.rgb[size_t(y) * img.w * 3];
    for (int x = 0; x < img.w; ++x) {
      row[x * 3 + 0] = src[x * 3 + 2];
      row[x * 3 + 1] = src[x * 3 + 1];
      row[x * 3 + 2] = src[x * 3 + 0];
    }
  }
  return bmp;
}

}  // namespace gw::bench
