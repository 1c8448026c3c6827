// "Unplugged TV": the picture switches off like an old tube set. The whole
// picture (the line on its background) swells (to `SwellSizeFactor` %
// larger, softened by `SwellSoftness`, its edges blooming by
// `SwellEdgeFactor`), collapses vertically into a bright line on the dark
// screen, the line shrinks into a dot of `DotColor` (round, or square with
// `DotSquare`; no dot without `DotEnable`: the line shrinks to nothing) and
// the dot fades. `SwellDelayFactor` is how long the swell lasts against
// the other phases; `FillEnable3`..`5` switch the line, dot and fade phases.
// The first half of the loop plays it backwards (switching on), then the rest
// frame holds the picture, then it switches off; the last frame is the dark
// screen (the bare background), from which the loop switches on again.
// The swelling picture is clipped by the frame's edge, as a tube overscans.
// The dark screen is black (transparent in alpha output).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "effects/effect_table.h"
#include "effects/line_strips.h"
#include "effects/reveal_effects.h"
#include "effects/reveal_frames.h"
#include "platform/parallel.h"

namespace gw {
namespace {

constexpr StylePage kTubePage = {820, 841, 846, 847, 851, 849, 855, 853, 843, 844, 822};
constexpr uint32_t kDotColourControl = 824;
constexpr uint32_t kDotEnableControl = 826;
constexpr uint32_t kDotSquareControl = 827;
constexpr uint32_t kLinePhaseControl = 828;
constexpr uint32_t kDotPhaseControl = 829;
constexpr uint32_t kFadePhaseControl = 830;
constexpr uint32_t kSwellDelayControl = 831;
constexpr uint32_t kSwellEdgeControl = 833;
constexpr uint32_t kSwellSizeControl = 835;
constexpr uint32_t kSwellSoftnessControl = 837;
constexpr uint32_t kFramesControl = 839;

struct Tube {
  double swellSize = 0.2, edge = 0.75, softness = 20, swellTime = 1.5;
  bool linePhase = true, dotPhase = true, fadePhase = true;
  bool dotEnable = true, dotSquare = false;
  uint32_t dotColour = 0xFFFFFF;
  int64_t frames = 48, rest = 24;
  // The screen: the picture swells and collapses about its centre.
  double cx = 0, cy = 0, screenWidth = 1, screenHeight = 1;

  // The frame of the switching off that frame k shows: the first half
  // plays the second backwards (from the dark screen of the last frame).
  int64_t mirrored(int64_t k) const { return k >= rest ? k : std::min(frames - 1, 2 * rest - k); }
  // How far switched off frame k is: 0 at the rest frame, 1 in the last.
  double offness(int64_t k) const {
    k = mirrored(k);
    return k <= rest ? 0 : double(k - rest) / double(frames - 1 - rest);
  }
};

// What the screen shows at one moment of switching off.
struct TubeState {
  bool picture = true;  // the line itself (swelling or collapsing), else a bar of light
  double scaleX = 1, scaleY = 1, bloom = 0, bright = 0;
  double barWidth = 0, barHeight = 0, roundness = 0, light = 1;
  double tint = 1;  // how much of the dot's colour the bar has taken
};

TubeState stateAt(const Tube& t, double u) {
  const double weights[4] = {t.swellTime, t.linePhase ? 1.0 : 0.0, t.dotPhase ? 1.0 : 0.0, t.fadePhase ? 1.0 : 0.0};
  double total = weights[0] + weights[1] + weights[2] + weights[3];
  TubeState s;
  if (total <= 0) {  // nothing to show: the screen is simply dark
    s.picture = false;
    s.light = u > 0 ? 0 : 1;
    return s;
  }
  double at = u * total;
  const double swellEnd = 1 + t.swellSize;
  const double lineHeight = 2, dot = std::max(3.0, t.screenHeight / 8);
  // Swell.
  if (at < weights[0] || (weights[1] + weights[2] + weights[3] == 0 && at <= weights[0])) {
    const double p = weights[0] > 0 ? at / weights[0] : 1;
    s.scaleX = s.scaleY = 1 + t.swellSize * p;
    s.bloom = p;
    if (weights[1] + weights[2] + weights[3] == 0) s.light = 1;
    return s;
  }
  at -= weights[0];
  if (at < weights[1]) {  // the picture collapses into a bright line
    const double p = at / weights[1];
    s.scaleX = swellEnd;
    const double full = swellEnd, thin = lineHeight / std::max(1.0, t.screenHeight);
    s.scaleY = full * std::pow(thin / full, p);
    s.bloom = 1;
    s.bright = p;
    return s;
  }
  at -= weights[1];
  s.picture = false;
  s.barWidth = t.screenWidth * swellEnd;
  s.barHeight = weights[1] > 0 ? lineHeight : t.screenHeight * swellEnd;
  if (at < weights[2]) {  // the line shrinks into the dot
    const double p = at / weights[2];
    const double e = 1 - (1 - p) * (1 - p);
    const double endWidth = t.dotEnable ? dot : 0, endHeight = t.dotEnable ? dot : 0;
    s.barWidth += (endWidth - s.barWidth) * e;
    s.barHeight += (endHeight - s.barHeight) * e;
    s.roundness = t.dotSquare ? 0 : p;
    s.tint = p;
    return s;
  }
  at -= weights[2];
  if (weights[2] > 0) {
    s.barWidth = s.barHeight = t.dotEnable ? dot : 0;
    s.roundness = t.dotSquare ? 0 : 1;
  }
  s.light = weights[3] > 0 ? std::max(0.0, 1 - at / weights[3]) : (at > 0 ? 0 : 1);
  return s;
}

// A box blur of radius r run twice (nearly Gaussian) over a float plane,
// with running sums; the window is clipped at the plane's edges.
void soften(std::vector<float>& plane, int32_t w, int32_t h, int32_t r) {
  if (r <= 0) return;
  std::vector<float> line(size_t(std::max(w, h)));
  auto pass = [&](float* first, int32_t count, ptrdiff_t step) {
    for (int32_t i = 0; i < count; ++i) line[size_t(i)] = first[i * step];
    double sum = 0;
    for (int32_t i = 0; i <= std::min(r, count - 1); ++i) sum += line[size_t(i)];
    for (int32_t i = 0; i < count; ++i) {
      first[i * step] = float(sum / double(2 * r + 1));
      if (i + r + 1 < count) sum += line[size_t(i + r + 1)];
      if (i - r >= 0) sum -= line[size_t(i - r)];
    }
  };
  for (int repeat = 0; repeat < 2; ++repeat) {
    for (int32_t y = 0; y < h; ++y) pass(plane.data() + size_t(y) * w, w, 1);
    for (int32_t x = 0; x < w; ++x) pass(plane.data() + x, h, w);
  }
}

// The rest frame (B, G, R and, for alpha output, its alpha) scaled about
// the screen's centre, black outside: bilinear where it grows, averaged over
// the rows it gathers where it shrinks.
std::vector<std::vector<float>> scaledPicture(const LineLayer& L, const Tube& t, double sx, double sy) {
  const int32_t w = L.width, h = L.height;
  const int planes = L.alphaMask ? 4 : 3;
  auto source = [&](int p, int32_t x, int32_t y) -> float {
    if (x < 0 || y < 0 || x >= w || y >= h) return 0;
    if (p < 3) return L.rest[(size_t(y) * w + x) * 3 + p];
    return L.alpha.row(y)[x];
  };
  // Rows first: prefix sums per column give the average of any span of rows.
  std::vector<std::vector<float>> rows(size_t(planes), std::vector<float>(size_t(w) * h, 0.f));
  std::vector<double> prefix(size_t(h) + 1);
  for (int p = 0; p < planes; ++p)
    for (int32_t x = 0; x < w; ++x) {
      if (sy < 1) {
        prefix[0] = 0;
        for (int32_t y = 0; y < h; ++y) prefix[size_t(y) + 1] = prefix[size_t(y)] + source(p, x, y);
      }
      auto integral = [&](double y) {  // the sum of rows above y
        y = std::clamp(y, 0.0, double(h));
        const int32_t i = std::min(int32_t(y), h - 1);
        return prefix[size_t(i)] + (y - i) * (prefix[size_t(i) + 1] - prefix[size_t(i)]);
      };
      for (int32_t y = 0; y < h; ++y) {
        float v;
        if (sy >= 1) {
          const double ys = t.cy + (y + 0.5 - t.cy) / sy - 0.5;
          const int32_t y0 = int32_t(std::floor(ys));
          const double f = ys - y0;
          v = float(source(p, x, y0) * (1 - f) + source(p, x, y0 + 1) * f);
        } else {
          const double top = t.cy + (y - t.cy) / sy, bottom = t.cy + (y + 1 - t.cy) / sy;
          v = float((integral(bottom) - integral(top)) * sy);
        }
        rows[size_t(p)][size_t(y) * w + x] = v;
      }
    }
  // Then columns, always growing (or kept).
  std::vector<std::vector<float>> out(size_t(planes), std::vector<float>(size_t(w) * h, 0.f));
  for (int p = 0; p < planes; ++p)
    for (int32_t y = 0; y < h; ++y) {
      const float* in = rows[size_t(p)].data() + size_t(y) * w;
      float* o = out[size_t(p)].data() + size_t(y) * w;
      for (int32_t x = 0; x < w; ++x) {
        const double xs = t.cx + (x + 0.5 - t.cx) / sx - 0.5;
        const int32_t x0 = int32_t(std::floor(xs));
        const double f = xs - x0;
        const float a = (x0 >= 0 && x0 < w) ? in[x0] : 0.f, b = (x0 + 1 >= 0 && x0 + 1 < w) ? in[x0 + 1] : 0.f;
        o[x] = float(a * (1 - f) + b * f);
      }
    }
  return out;
}

MemHandle renderTube(const RestLine& rest, const Tube& t, int64_t k) {
  const LineLayer& L = rest.layer;
  const double u = t.offness(k);
  if (u <= 0) return rest.restFrame();
  const int32_t w = L.width, h = L.height;
  std::vector<uint8_t> pixels;
  MaskPlane alpha;
  try {
    pixels.assign(size_t(w) * size_t(h) * 3, 0);  // the dark screen
  } catch (const std::bad_alloc&) {
    return 0;
  }
  if (L.alphaMask && !alpha.allocate(w, h)) return 0;
  const TubeState s = stateAt(t, u);
  const double dot[3] = {double((t.dotColour >> 16) & 0xFF), double((t.dotColour >> 8) & 0xFF), double(t.dotColour & 0xFF)};

  if (s.picture) {
    std::vector<std::vector<float>> picture = scaledPicture(L, t, s.scaleX, s.scaleY);
    const int32_t blur = int32_t(std::lround(t.softness / 10.0 * s.bloom));
    for (auto& plane : picture) soften(plane, w, h, blur);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const size_t i = size_t(y) * w + x;
        // Swelling, the picture blooms towards its edges; collapsing, it burns
        // white. The dark screen around it stays dark.
        const double ex = (x + 0.5 - t.cx) / (w / 2.0 * s.scaleX), ey = (y + 0.5 - t.cy) / (h / 2.0 * s.scaleY);
        if (std::abs(ex) > 1 || std::abs(ey) > 1) {
          for (int c = 0; c < 3; ++c) pixels[i * 3 + c] = uint8_t(std::clamp(std::lround(double(picture[size_t(c)][i])), 0L, 255L));
          if (L.alphaMask) alpha.row(y)[x] = uint8_t(std::clamp(std::lround(double(picture[3][i])), 0L, 255L));
          continue;
        }
        const double edge = std::min(1.0, t.edge * s.bloom * 0.6 * (ex * ex + ey * ey));
        const double lift = std::max(edge, s.bright);
        uint8_t* p = pixels.data() + i * 3;
        for (int c = 0; c < 3; ++c) {
          const double v = picture[size_t(c)][i];
          p[c] = uint8_t(std::clamp(std::lround(v + (255 - v) * lift), 0L, 255L));
        }
        if (L.alphaMask) alpha.row(y)[x] = uint8_t(std::clamp(std::lround(double(picture[3][i])), 0L, 255L));
      }
  } else if (s.light > 0 && s.barWidth > 0 && s.barHeight > 0) {
    // A bar of light morphing into the dot (an ellipse when round), with a glow.
    const double hw = s.barWidth / 2, hh = s.barHeight / 2, spread = std::max(2.0, std::min(hw, hh) * 1.5);
    // Past four spreads the glow is nothing.
    const int32_t xa = std::max(0, int32_t(std::floor(t.cx - hw - 4 * spread)));
    const int32_t xb = std::min(w, int32_t(std::ceil(t.cx + hw + 4 * spread)));
    const int32_t ya = std::max(0, int32_t(std::floor(t.cy - hh - 4 * spread)));
    const int32_t yb = std::min(h, int32_t(std::ceil(t.cy + hh + 4 * spread)));
    for (int32_t y = ya; y < yb; ++y)
      for (int32_t x = xa; x < xb; ++x) {
        const double dx = std::abs(x + 0.5 - t.cx), dy = std::abs(y + 0.5 - t.cy);
        // Distance outside the shape: a box blended with an ellipse.
        const double box = std::hypot(std::max(0.0, dx - hw), std::max(0.0, dy - hh));
        const double ell = (std::hypot(dx / std::max(hw, 0.5), dy / std::max(hh, 0.5)) - 1) * std::min(hw, hh);
        const double out = box * (1 - s.roundness) + std::max(0.0, ell) * s.roundness;
        const double inside = std::clamp(1.0 - out, 0.0, 1.0);  // one pixel of anti-aliasing
        const double glow = 0.55 * std::exp(-(out * out) / (2 * spread * spread));
        const double a = std::clamp(std::max(inside, glow) * s.light, 0.0, 1.0);
        if (a <= 0.002) continue;
        uint8_t* p = pixels.data() + (size_t(y) * w + x) * 3;
        for (int c = 0; c < 3; ++c) {
          // White as the line, taking the dot's colour as it shrinks; whiter at the core.
          const double tint = dot[c] + (255 - dot[c]) * (1 - s.tint);
          const double hot = tint + (255 - tint) * 0.4 * inside;
          p[c] = uint8_t(std::lround(p[c] + (hot - p[c]) * a));
        }
        if (L.alphaMask) alpha.row(y)[x] = uint8_t(std::lround(255 * a));
      }
  }
  return bitmapFromPixels(pixels, w, h, L.alphaMask ? &alpha : nullptr);
}

MemHandle copyBlock(MemHandle source) {
  if (!source) return 0;
  const size_t size = memSize(source);
  MemBlock copy(memAlloc(size));
  if (!copy) return 0;
  MemLock from(source), to(copy.get());
  if (!from.data() || !to.data()) return 0;
  std::memcpy(to.data(), from.data(), size);
  return copy.release();
}

bool prepareTube(const EffectContext& ctx, bool build, RestLine* rest, Tube* t) {
  const DialogFacade& d = *ctx.window;
  if (!rest->prepare(readRevealStyle(ctx, kTubePage, build))) return false;
  t->dotColour = uint32_t(controlWord(d, kDotColourControl, 0xFFFFFF)) & 0xFFFFFF;
  t->dotEnable = d.checked(kDotEnableControl);
  t->dotSquare = d.checked(kDotSquareControl);
  t->linePhase = d.checked(kLinePhaseControl);
  t->dotPhase = d.checked(kDotPhaseControl);
  t->fadePhase = d.checked(kFadePhaseControl);
  t->swellTime = controlNumber(d, kSwellDelayControl, 0, 1000, 150) / 100.0;
  t->edge = controlNumber(d, kSwellEdgeControl, 0, 1000, 75) / 100.0;
  t->swellSize = controlNumber(d, kSwellSizeControl, 0, 1000, 20) / 100.0;
  t->softness = controlNumber(d, kSwellSoftnessControl, 0, 100, 20);
  t->frames = controlNumber(d, kFramesControl, 2, 32760, 48);
  t->rest = t->frames / 2;
  t->screenWidth = rest->width();
  t->screenHeight = rest->height();
  t->cx = t->screenWidth / 2.0;
  t->cy = t->screenHeight / 2.0;
  return true;
}

int runTube(EffectContext& ctx, bool build) {
  if (!ctx.window || (build && !ctx.frameStore)) return 0;
  RevealScope scope(ctx, build);
  const RevealTiming timing = readRevealTiming(*ctx.window);
  RestLine rest;
  Tube t;
  if (!prepareTube(ctx, build, &rest, &t)) return 0;
  if (!build || !timing.animated) return storeStill(ctx, build, timing, rest.restFrame());
  // Switching on shows the frames of switching off backwards: those are made
  // first (on every thread), then copied for their twins.
  const int64_t firstOff = t.rest + 1, offCount = t.frames - firstOff;
  std::vector<MemHandle> off(size_t(std::max<int64_t>(0, offCount)), 0);
  parallelFor(off.size(), [&](size_t i) { off[i] = renderTube(rest, t, firstOff + int64_t(i)); });
  struct Release {
    std::vector<MemHandle>& frames;
    ~Release() {
      for (MemHandle h : frames) memFree(h);
    }
  } release{off};
  for (MemHandle h : off)
    if (!h) return 0;
  auto frame = [&](int64_t k) -> MemHandle {
    const int64_t m = t.mirrored(k);
    return m == t.rest ? renderTube(rest, t, m) : copyBlock(off[size_t(m - firstOff)]);
  };
  return appendRevealFrames(
      ctx, t.frames, timing, frame, [&](int64_t k) { return k == t.rest || k == t.frames - 1; });
}

}  // namespace

int unpluggedTvPreview(EffectContext& ctx) { return runTube(ctx, false); }
int unpluggedTvBuild(EffectContext& ctx) { return runTube(ctx, true); }

int32_t unpluggedTvQueryBackground(DialogFacade& window, int flag) {
  // The screen goes dark around the collapsing picture: not one colour.
  return queryBackgroundFromButton(window, flag, kTubePage.backgroundMaterial, false);
}

}  // namespace gw
