// The shipped tiles: some are textures made at the tile's size with settings
// that wrap (a fractal whose mesh equals the side, or the perturbation noise,
// which repeats over its lattice), the rest are patterns drawn here as
// functions of position modulo the side, so every tile joins its neighbours
// without a seam.
#include <cmath>
#include <cstring>
#include <string>

#include "base/le_bytes.h"
#include "materials/shipped_textures.h"
#include "materials/texture_generate.h"
#include "materials/texture_settings.h"
#include "platform/bitmap.h"

namespace gw {
namespace {

namespace ts = texture_settings;
constexpr int32_t kSide = kShippedTileSide;
constexpr double kPi = 3.14159265358979323846;

struct Rgb {
  double r, g, b;
};

uint32_t pack(Rgb c) {
  auto byte = [](double v) { return uint32_t(v <= 0 ? 0 : v >= 255 ? 255 : std::lround(v)); };
  return byte(c.r) | (byte(c.g) << 8) | (byte(c.b) << 16);
}
Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb scale(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
double clamp01(double v) { return v < 0 ? 0 : v > 1 ? 1 : v; }
double smooth(double e0, double e1, double v) {
  double t = clamp01((v - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}
// Distance to the nearest integer (periodic coordinate helper).
double frac(double v) { return v - std::floor(v); }

// A pattern: colour at a point of the unit square, periodic in both axes.
using Pattern = Rgb (*)(double u, double v);

Rgb bricks(double u, double v) {
  const Rgb brick{170, 64, 44}, mortar{210, 200, 185};
  const double rows = 4, cols = 2;
  double y = v * rows;
  double row = std::floor(y);
  double x = u * cols + (int(row) % 2) * 0.5;
  double fx = frac(x), fy = frac(y);
  double edge = std::min(std::min(fx, 1 - fx) * 2.0 / rows * cols, std::min(fy, 1 - fy)) ;
  double inside = smooth(0.06, 0.12, edge);
  // A little shading per brick and toward its top edge.
  // (The brick number is taken modulo the columns, so a brick cut by the
  // tile's edge has one tone on both sides.)
  double brick_ = std::fmod(std::floor(x), cols);
  double tone = 0.88 + 0.12 * frac(std::sin((brick_ + row * 7.0) * 12.9898) * 43758.5453);
  Rgb b = scale(brick, tone * (0.9 + 0.1 * (1 - fy)));
  return mix(mortar, b, inside);
}

Rgb checkers(double u, double v) {
  const Rgb dark{30, 30, 36}, light{235, 235, 228};
  // Soft edges from the distance to the nearest square border.
  double x = u * 4, y = v * 4;
  double sx = std::sin(x * kPi), sy = std::sin(y * kPi);
  double t = smooth(-0.08, 0.08, sx * sy);
  return mix(dark, light, t);
}

Rgb candyStripes(double u, double v) {
  const Rgb red{220, 30, 50}, white{250, 245, 245};
  double s = std::sin((u + v) * 2 * kPi * 3);
  return mix(white, red, smooth(-0.15, 0.15, s));
}

Rgb polkaDots(double u, double v) {
  const Rgb back{30, 60, 150}, dot{255, 220, 60};
  double best = 1e9;
  // Two dot lattices, the second offset by half a cell.
  for (double off : {0.0, 0.5}) {
    double x = frac(u * 2 + off) - 0.5, y = frac(v * 2 + off) - 0.5;
    best = std::min(best, std::sqrt(x * x + y * y));
  }
  return mix(dot, back, smooth(0.17, 0.21, best));
}

// Raised lentils along alternating diagonals, lit from the top left.
double plateBump(double u, double v) {
  const double x = frac(u * 4) - 0.5, y = frac(v * 4) - 0.5;
  const bool odd = (int(std::floor(u * 4)) + int(std::floor(v * 4))) % 2 != 0;
  const double along = (odd ? x + y : x - y) * 0.7071, across = (odd ? x - y : x + y) * 0.7071;
  const double h = 1 - (along / 0.36) * (along / 0.36) - (across / 0.1) * (across / 0.1);
  return h > 0 ? std::sqrt(h) : 0;
}

Rgb diamondPlate(double u, double v) {
  const Rgb steel{140, 146, 156};
  const double e = 0.5 / kSide;
  // Light from above and a little from the left.
  const double slope = (plateBump(u, v - e) - plateBump(u, v + e)) + 0.5 * (plateBump(u - e, v) - plateBump(u + e, v));
  const double light = 1 + 0.9 * slope + 0.1 * plateBump(u, v);
  const double brushed = 0.96 + 0.04 * std::sin((u * 23 + v * 3) * 2 * kPi);
  return scale(steel, light * brushed);
}

Rgb basketWeave(double u, double v) {
  const Rgb straw{214, 176, 110}, shadow{120, 84, 40};
  double x = u * 4, y = v * 4;
  int cell = (int(std::floor(x)) + int(std::floor(y))) % 2;
  double fx = frac(x), fy = frac(y);
  // Three strands per cell, across in one cell and down in the next.
  double across = cell ? fy : fx;
  double along = cell ? fx : fy;
  double strand = frac(across * 3);
  double round = std::sin(strand * kPi);
  double ends = smooth(0.0, 0.12, along) * smooth(1.0, 0.88, along);
  return mix(shadow, straw, 0.35 + 0.65 * round * (0.6 + 0.4 * ends));
}

// Rows of round scales, each row lying over the one above it.
Rgb fishScales(double u, double v) {
  const Rgb deep{16, 80, 100}, light{150, 225, 215}, edge{8, 40, 50};
  const double n = 4, x = u * n, y = v * n;
  // Centres at (i + (j odd) / 2, j / 2); the lowest row covering the point wins.
  for (int j = int(std::floor(2 * y)) + 1; j >= int(std::floor(2 * y)) - 1; --j) {
    const double cy = j * 0.5;
    const double offset = (j % 2 + 2) % 2 ? 0.5 : 0.0;
    const double cx = std::floor(x - offset + 0.5) + offset;
    const double dx = x - cx, dy = y - cy;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d > 0.5 || dy > 0.0) continue;  // only a scale's upper half shows below the next row
    const double t = d / 0.5;
    Rgb c = mix(light, deep, t * t);
    return mix(c, edge, smooth(0.86, 1.0, t));
  }
  return deep;
}

Rgb waves(double u, double v) {
  const Rgb sea{10, 70, 140}, foam{200, 235, 250};
  double s = std::sin((v * 4 + 0.15 * std::sin(u * 2 * kPi * 2)) * 2 * kPi);
  return mix(sea, foam, smooth(0.3, 0.95, s));
}

Rgb tartan(double u, double v) {
  const Rgb green{20, 80, 40}, red{170, 30, 40}, yellow{240, 200, 60};
  auto band = [&](double t) {
    double f = frac(t * 2);
    if (f < 0.3) return green;
    if (f < 0.36) return yellow;
    if (f < 0.6) return red;
    return scale(green, 0.7);
  };
  // Threads over and under: every other pixel row shows the other direction.
  Rgb h = band(v), w = band(u);
  double twill = frac((u + v) * kSide / 4.0) < 0.5 ? 0.6 : 0.4;
  return mix(h, w, twill);
}

const Pattern kPatterns[] = {bricks, checkers, candyStripes, polkaDots, diamondPlate,
                             basketWeave, fishScales, waves, tartan};
const char* const kPatternNames[] = {"Red Bricks", "Checkers", "Candy Stripes", "Polka Dots", "Diamond Plate",
                                     "Basket Weave", "Fish Scales", "Waves", "Tartan"};

// Tiles made by the generators from shipped textures, by name.
const char* const kTextureTiles[] = {"Blue Sky", "Sunset", "Forest Moss", "Lava", "White Marble", "Granite",
                                     "Quicksilver", "Sandstone"};

MemHandle drawPattern(Pattern pattern) {
  MemBlock bmp(bitmapCreateTrueColour(kSide, kSide, 24));
  MemLock lock(bmp.get());
  if (!lock) return 0;
  BitmapView view = BitmapView::of(lock);
  // 4 x 4 samples a pixel, taken modulo the side so the edges wrap.
  for (int32_t y = 0; y < kSide; ++y)
    for (int32_t x = 0; x < kSide; ++x) {
      Rgb sum{0, 0, 0};
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          Rgb c = pattern((x + (sx + 0.5) / 4) / kSide, (y + (sy + 0.5) / 4) / kSide);
          sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
        }
      view.setPixel(x, y, pack(scale(sum, 1.0 / 16)));
    }
  return bmp.release();
}

MemHandle textureTile(const char* name) {
  for (TextureItem& item : shippedTextures()) {
    if (item.name != name) continue;
    uint8_t* s = item.settings.data();
    // A fractal wraps only when its height map has one cell per pixel.
    if (readU32(s + ts::kType) <= kTexture5ColourFractal) writeU32(s + ts::kMeshSize, uint32_t(kSide));
    textureSetOutputRect(s, 0, 0, kSide, kSide);
    return textureGenerate(s);
  }
  return 0;
}

constexpr size_t kTextureTileCount = sizeof kTextureTiles / sizeof kTextureTiles[0];
constexpr size_t kPatternCount = sizeof kPatterns / sizeof kPatterns[0];

}  // namespace

std::vector<const char*> shippedTileNames() {
  std::vector<const char*> names(kTextureTiles, kTextureTiles + kTextureTileCount);
  names.insert(names.end(), kPatternNames, kPatternNames + kPatternCount);
  return names;
}

MemHandle makeShippedTile(size_t index) {
  if (index < kTextureTileCount) return textureTile(kTextureTiles[index]);
  index -= kTextureTileCount;
  return index < kPatternCount ? drawPattern(kPatterns[index]) : 0;
}

}  // namespace gw
