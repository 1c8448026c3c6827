// "Diagonal Fuse": a burning front runs through the letters along a leaning
// diagonal, in the pad's direction. Ahead of it the letters' face is the
// dull `BackFillColor`; in a band `Size` pixels wide at the front it burns in
// `FillColor`, white-hot at the very front, and throws sparks that fly up,
// fall and fade; behind it the letters are lit: the styled line as the page
// paints it (its fill material), so the lit line at rest is the preview.
// The front takes about four fifths of the frames; then the lit line rests.
#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "base/le_bytes.h"
#include "effects/effect_table.h"
#include "effects/line_strips.h"
#include "effects/reveal_effects.h"
#include "effects/reveal_frames.h"

namespace gw {
namespace {

constexpr StylePage kFusePage = {550, 564, 569, 570, 574, 572, 578, 576, 566, 567, 552};
constexpr uint32_t kBackFillControl = 554;
constexpr uint32_t kFillColourControl = 556;
constexpr uint32_t kScrollControl = 558;
constexpr uint32_t kSizeControl = 560;
constexpr uint32_t kFramesControl = 562;
constexpr double kLean = 0.6;      // the front leans this many pixels across per pixel up
constexpr int64_t kSparkLife = 9;  // frames a spark lives

struct Fuse {
  bool rightwards = true;
  double size = 12;
  int64_t frames = 64;
  int64_t burn = 51;     // frames the front takes
  double start = 0, end = 0;
  uint32_t colour = 0x00CCFF;
  int32_t width = 0, height = 0;

  // Where along the fuse's way pixel (x, y) lies.
  double along(double x, double y) const {
    const double d = x + (height - 1 - y) * kLean;
    return rightwards ? d : (width - 1 + (height - 1) * kLean) - d;
  }
  double front(int64_t k) const { return start + (end - start) * double(std::min(k, burn)) / double(burn); }
};

struct FuseLine {
  RestLine lit, unlit;
  MaskPlane face;  // the letters' face at the fill's opacity
  Fuse fuse;
};

inline uint8_t mix(uint32_t a, uint32_t b, uint32_t w) { return uint8_t((a * (255 - w) + b * w + 127) / 255); }

// Sparks flown from the front in frame `from`, seen in frame k: small soft
// dots, hot (whitish) when young, fading as they fall.
void drawSparks(const FuseLine& f, int64_t from, int64_t k, std::vector<uint8_t>& pixels, MaskPlane* alpha) {
  const Fuse& z = f.fuse;
  EffectRandom random(uint32_t(from * 2654435761u + 977));
  const int32_t count = 8 + int32_t(z.size / 3);
  const double age = double(k - from);
  const double life = 1 - age / double(kSparkLife);
  const int32_t w = z.width, h = z.height;
  const uint8_t spark[3] = {uint8_t(z.colour >> 16), uint8_t(z.colour >> 8), uint8_t(z.colour)};
  for (int32_t i = 0; i < count; ++i) {
    // Born on the front at a random height, where the front crosses a letter.
    const double y0 = random.next() % std::max(1, h);
    const double dir = z.rightwards ? 1 : -1;
    const double vx = dir * (random.next() % 1000 / 1000.0 * 2.5 - 0.5);
    const double vy = -(0.6 + random.next() % 1000 / 1000.0 * 2.6);
    const double front = z.front(from);
    // The point of the front at that height (along() solved for x).
    const double lean = (h - 1 - y0) * kLean;
    const double x0 = z.rightwards ? front - lean : (w - 1) + (h - 1) * kLean - front - lean;
    if (f.face.at(int32_t(x0), int32_t(y0)) == 0) continue;
    // A short streak: the spark now and a moment ago, dimmer behind.
    for (int trail = 0; trail < 3; ++trail) {
      const double a = std::max(0.0, age - 0.35 * trail);
      const double x = x0 + vx * a, y = y0 + vy * a + 0.18 * a * a;
      const double strength = std::sqrt(life) * (1 - 0.3 * trail);
      const int32_t cx = int32_t(std::lround(x)), cy = int32_t(std::lround(y));
      for (int32_t dy = -1; dy <= 1; ++dy)
        for (int32_t dx = -1; dx <= 1; ++dx) {
          const int32_t px = cx + dx, py = cy + dy;
          if (px < 0 || py < 0 || px >= w || py >= h) continue;
          const double edge = (dx == 0 && dy == 0) ? 1.0 : (dx == 0 || dy == 0) ? 0.5 : 0.2;
          const uint32_t cover = uint32_t(std::lround(255 * strength * edge));
          uint8_t* p = pixels.data() + (size_t(py) * size_t(w) + size_t(px)) * 3;
          const uint32_t heat = uint32_t(std::lround(200 * life * edge));  // young sparks are white-hot
          for (int c = 0; c < 3; ++c) p[c] = mix(p[c], mix(spark[c], 255, heat), cover);
          if (alpha) {
            uint8_t& av = alpha->row(py)[px];
            av = uint8_t(std::max<uint32_t>(av, cover));
          }
        }
    }
  }
}

MemHandle renderFuse(const FuseLine& f, int64_t k) {
  const Fuse& z = f.fuse;
  const LineLayer& lit = f.lit.layer;
  const LineLayer& unlit = f.unlit.layer;
  std::vector<uint8_t> pixels;
  MaskPlane alpha;
  try {
    pixels = lit.rest;
  } catch (const std::bad_alloc&) {
    return 0;
  }
  if (lit.alphaMask) alpha = lit.alpha;
  if (k >= z.burn) return bitmapFromPixels(pixels, z.width, z.height, lit.alphaMask ? &alpha : nullptr);
  const double front = z.front(k), half = z.size / 2;
  const uint8_t burn[3] = {uint8_t(z.colour >> 16), uint8_t(z.colour >> 8), uint8_t(z.colour)};
  for (int32_t y = 0; y < z.height; ++y) {
    const uint8_t* faceRow = f.face.row(y);
    for (int32_t x = 0; x < z.width; ++x) {
      const uint32_t face = faceRow[x];
      if (face == 0) continue;
      const double s = z.along(x, y) - front;
      if (s < -half) continue;  // burnt through: lit
      const size_t i = (size_t(y) * size_t(z.width) + size_t(x)) * 3;
      uint8_t* p = pixels.data() + i;
      // Ahead of the band the dull face; across it the lit one takes over.
      const double ahead = std::clamp((s + half) / (2 * half), 0.0, 1.0);
      const uint32_t u = uint32_t(std::lround(255 * ahead));
      for (int c = 0; c < 3; ++c) p[c] = mix(lit.rest[i + c], unlit.rest[i + c], u);
      if (s > half) continue;
      // The band burns: the fuse's colour, white at the front itself.
      const double glow = 1 - std::abs(s) / half;
      const uint32_t g = uint32_t(std::lround(face * std::min(1.0, 1.6 * glow)));
      const uint32_t white = uint32_t(std::lround(200 * glow * glow * glow));
      for (int c = 0; c < 3; ++c) p[c] = mix(p[c], mix(burn[c], 255, white), g);
    }
  }
  if (k < z.frames - 1)
    for (int64_t from = std::max<int64_t>(0, k - kSparkLife + 1); from <= k; ++from)
      drawSparks(f, from, k, pixels, lit.alphaMask ? &alpha : nullptr);
  return bitmapFromPixels(pixels, z.width, z.height, lit.alphaMask ? &alpha : nullptr);
}

bool prepareFuse(const EffectContext& ctx, bool build, FuseLine* f) {
  const DialogFacade& dialog = *ctx.window;
  TextStyle style = readRevealStyle(ctx, kFusePage, build);
  if (!f->lit.prepare(style)) return false;
  const uint32_t backFill = uint32_t(controlWord(dialog, kBackFillControl, 0x333333)) & 0xFFFFFF;
  materialRecordDefaults(style.fillMaterial.data(), false);
  writeU32(style.fillMaterial.data() + material::kColour, backFill);
  if (!f->unlit.prepare(style)) return false;
  Fuse& z = f->fuse;
  z.width = f->lit.width();
  z.height = f->lit.height();
  if (!f->face.allocate(z.width, z.height)) return false;
  const Offset origin = f->lit.composer.textOrigin();
  stampLine(f->lit.line, f->face, origin.x, origin.y);
  scaleCoverage(f->face, uint8_t(f->lit.line.style.fillOpacity));
  z.rightwards = controlWord(dialog, kScrollControl, 1) != 0;
  z.size = controlNumber(dialog, kSizeControl, 1, 500, 12);
  z.frames = controlNumber(dialog, kFramesControl, 2, 32760, 64);
  z.burn = std::max<int64_t>(1, std::llround(0.8 * double(z.frames - 1)));
  z.colour = uint32_t(controlWord(dialog, kFillColourControl, 0x00CCFF)) & 0xFFFFFF;
  // From just before the first pixel to just past the last, band and all.
  z.start = -z.size / 2 - 1;
  z.end = (z.width - 1) + (z.height - 1) * kLean + z.size / 2 + 1;
  return true;
}

int runFuse(EffectContext& ctx, bool build) {
  if (!ctx.window || (build && !ctx.frameStore)) return 0;
  RevealScope scope(ctx, build);
  const RevealTiming timing = readRevealTiming(*ctx.window);
  auto f = std::make_unique<FuseLine>();
  if (!prepareFuse(ctx, build, f.get())) return 0;
  if (!build || !timing.animated) return storeStill(ctx, build, timing, f->lit.restFrame());
  const int64_t n = f->fuse.frames;
  return appendRevealFrames(
      ctx, n, timing, [&](int64_t k) { return renderFuse(*f, k); }, [&](int64_t k) { return k == n - 1; });
}

}  // namespace

int diagonalFusePreview(EffectContext& ctx) { return runFuse(ctx, false); }
int diagonalFuseBuild(EffectContext& ctx) { return runFuse(ctx, true); }

int32_t diagonalFuseQueryBackground(DialogFacade& window, int flag) {
  // Sparks fly over the background: no single colour behind every pixel.
  return queryBackgroundFromButton(window, flag, kFusePage.backgroundMaterial, false);
}

}  // namespace gw
