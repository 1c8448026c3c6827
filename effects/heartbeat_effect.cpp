// "Heartbeat": a pulse like a heart monitor's runs through the line from left
// to right. A letter under the pulse jumps up by `Waveheight` % of the line
// height times the strongest the pulse is across it, and swells upwards;
// `Wavesize` is the pulse's width in per cent of the text width. A thin trace
// in the outline colour draws the same pulse across the `Background`. Frame 0
// has the pulse just before the line and the last frame just past it, so
// both show the letters level.
#include "effects/effect_table.h"
#include "effects/letter_effects.h"

#include <algorithm>
#include <cmath>

namespace gw {
namespace {

constexpr StylePage kPage = {490, 500, 505, 506, 510, 508, 514, 512, 502, 503, 492};
constexpr uint32_t kWavesize = 494, kWaveheight = 496, kFrames = 498, kOutlineColour = 503;

constexpr double kSwell = 0.2;        // how much larger a letter at the pulse's peak is
constexpr double kTraceLevel = 0.82;  // the trace's rest height, down the line

// The pulse at d, -1..1 across its width: a small dip, the tall spike, a
// deeper dip after it and a low, broad after-wave. Exactly 0 outside.
double pulse(double d) {
  if (!(d > -1 && d < 1)) return 0;
  auto bump = [d](double at, double height, double width) {
    const double t = (d - at) / width;
    return height * std::exp(-t * t);
  };
  // A window that takes the tails to 0 at either end.
  const double window = std::cos(d * 1.5707963267948966);
  return window * (bump(-0.42, -0.14, 0.12) + bump(0, 1, 0.2) + bump(0.38, -0.26, 0.12) + bump(0.72, 0.2, 0.12));
}

class Heartbeat : public LetterAnimation {
 public:
  bool prepare(const DialogFacade& dialog, bool alphaMask) {
    frames_ = controlNumber(dialog, kFrames, 2, 32760, 64);
    const double size = controlNumber(dialog, kWavesize, 1, 200, 20) / 100.0;
    trace_ = uint32_t(controlWord(dialog, kOutlineColour, 0x333333)) & 0xFFFFFF;
    if (!stage_.prepare(readTextStyle(dialog, kPage, alphaMask))) return false;
    const double width = stage_.line.layout.width, height = stage_.shapes.cellHeight();
    lift_ = controlNumber(dialog, kWaveheight, 1, 500, 60) / 100.0 * height;
    half_ = std::max(1.0, size * width / 2);
    double widest = 0;
    for (size_t i = 0; i < stage_.shapes.count(); ++i) widest = std::max(widest, stage_.shapes.cellWidth(i));
    // Room for the highest jump and a swollen letter at either end.
    const auto side = int32_t(std::ceil(widest * kSwell / 2)) + 1;
    const auto above = int32_t(std::ceil(lift_ + height * kSwell)) + 1;
    return stage_.prepareCanvas(side, above, 1);
  }

  int32_t frameCount() const override { return frames_; }
  MemHandle restFrame() override { return frame(0); }
  bool readyForThreads() override { return stage_.readyForThreads(); }
  MemHandle frame(int64_t k) override {
    // The pulse's middle, from just before the line to just past it.
    const double width = stage_.line.layout.width;
    const double centre = -half_ + (width + 2 * half_) * double(k % frames_) / (frames_ - 1 > 0 ? frames_ - 1 : 1);
    const double height = stage_.shapes.cellHeight();
    const size_t n = stage_.shapes.count();
    std::vector<PlacedLetter> placed(n);
    for (size_t i = 0; i < n; ++i) {
      const double cx = stage_.shapes.cellWidth(i) / 2, x = stage_.line.penX[i] + cx;
      double p = under(stage_.line.penX[i], 2 * cx, centre);
      // Letters only rise; the dips before and after the spike are the trace's.
      if (p < 1e-3) p = 0;
      const double swell = 1 + kSwell * p;
      // Swelling from the cell's foot, so the letter grows upwards only.
      const Projective m = p == 0 ? Projective::translate(stage_.line.penX[i], 0)
                                  : Projective::translate(x, height - lift_ * p) *
                                        Projective::scale(swell, swell) * Projective::translate(-cx, -height);
      if (!stage_.shapes.place(i, m, 255, &placed[i])) return 0;
    }
    FrameHooks hooks;
    hooks.behind = [&](FrameLayer& layer) {
      drawTrace(layer, stage_.composer.textOrigin(), centre);
      return true;
    };
    return stage_.compose(placed, hooks);
  }

 private:
  // The pulse a letter feels: its strongest value anywhere across the
  // letter's cell, so each letter jumps while the spike crosses it.
  double under(double left, double width, double centre) const {
    constexpr int kSamples = 16;
    double strongest = 0;
    for (int j = 0; j <= kSamples; ++j) {
      const double p = pulse((left + width * j / kSamples - centre) / half_);
      if (std::fabs(p) > std::fabs(strongest)) strongest = p;
    }
    return strongest;
  }

  // The trace as the graph of the pulse, one column at a time: each column
  // covers the rows the curve passes through across it, thickened, with
  // partial rows at the ends.
  void drawTrace(FrameLayer& layer, Offset origin, double centre) const {
    const BitmapView& canvas = layer.canvas;
    const double height = stage_.shapes.cellHeight();
    const double halfThick = std::max(0.75, height / 60);
    const double rest = origin.y + kTraceLevel * height;
    auto curve = [&](double x) { return rest - lift_ * pulse((x - origin.x - centre) / half_); };
    const uint8_t bgr[3] = {uint8_t(trace_ >> 16), uint8_t(trace_ >> 8), uint8_t(trace_)};
    for (int32_t x = 0; x < canvas.width(); ++x) {
      const double a = curve(x), b = curve(x + 0.5), c = curve(x + 1);
      const double top = std::min({a, b, c}) - halfThick, bottom = std::max({a, b, c}) + halfThick;
      const int32_t y0 = std::max(0, int32_t(std::floor(top))), y1 = std::min(canvas.height() - 1, int32_t(bottom));
      for (int32_t y = y0; y <= y1; ++y) {
        const double cover = std::min<double>(bottom, y + 1) - std::max<double>(top, y);
        if (cover <= 0) continue;
        const auto m = uint32_t(std::lround(std::min(cover, 1.0) * 255));
        uint8_t* p = canvas.row(y) + size_t(x) * 3;
        for (int ch = 0; ch < 3; ++ch) p[ch] = uint8_t((p[ch] * (255 - m) + bgr[ch] * m) / 255);
        if (layer.alpha) {
          uint8_t& alpha = layer.alpha->row(y)[x];
          alpha = uint8_t(std::min<uint32_t>(255, alpha + m));
        }
      }
    }
  }

  LetterStage stage_;
  int32_t frames_ = 2;
  uint32_t trace_ = 0;
  double lift_ = 0, half_ = 1;
};

}  // namespace

std::unique_ptr<LetterAnimation> makeHeartbeat(const DialogFacade& dialog, bool alphaMask) {
  auto heartbeat = std::make_unique<Heartbeat>();
  if (!heartbeat->prepare(dialog, alphaMask)) return nullptr;
  return heartbeat;
}
int heartbeatPreview(EffectContext& ctx) { return letterEffectPreview(ctx, makeHeartbeat); }
int heartbeatBuild(EffectContext& ctx) { return letterEffectBuild(ctx, makeHeartbeat); }
int32_t heartbeatQueryBackground(DialogFacade& window, int flag) {
  // The background is the colour button's one colour; the trace is drawn on it.
  return queryBackgroundFromButton(window, flag, kPage.backgroundMaterial, true);
}

}  // namespace gw
