// "Snow": flakes fall through a box `Depth` deep in front of the viewer and
// `Width` pixels wider than the canvas, blown slightly sideways by a wind
// that carries them a quarter of `Width` across while they fall the height
// of the canvas, so the box's extra width lets flakes drift in over the
// edge. Depth is everything: a near flake is large, fast,
// sharp and takes colour 1; a far one is small, slow, soft, fainter and takes
// the later colours. Far flakes pass behind the letters, near ones in front.
// Each flake sways sideways by `Drift` (less when far) and turns slowly; over
// the loop it falls whole laps and sways and turns whole turns.
#include <algorithm>
#include <cmath>
#include <vector>

#include "effects/aa_shapes.h"
#include "effects/object_effects.h"
#include "effects/object_paint.h"
#include "effects/object_scene.h"
#include "effects/seeded_scatter.h"

namespace gw {
namespace {

constexpr StylePage kSnowStyle = {160, 188, 193, 0, 198, 196, 202, 200, 190, 191, 162};
constexpr uint32_t kDensity = 164, kDepth = 166, kDrift = 168, kColour1 = 170, kSeed = 180, kSize = 182,
                   kWidth = 184, kFrames = 186, kShadowColour = 194;
constexpr double kPi = 3.14159265358979323846;
// The eye's distance from the front of the box, in pixels: a flake at depth
// z looks focal / (focal + z) as large as at the front.
constexpr double kFocal = 120.0;
constexpr int32_t kMaxFlakes = 6000;

struct Flake {
  double x = 0, nearness = 0, radius = 0, arm = 0, sway = 0, swayPhase = 0, angle = 0, blur = 0;
  double margin = 0, start = 0;
  int64_t swayTurns = 1, spin = 1;
  LoopTrack track;
  uint32_t colour = 0;
  uint8_t opacity = 255;
  bool front = false;
};

class SnowScene : public ObjectScene {
 public:
  explicit SnowScene(const DialogFacade& d)
      : density_(controlNumber(d, kDensity, 1, 1000, 64)),
        depth_(controlNumber(d, kDepth, 1, 1000, 192)),
        drift_(controlNumber(d, kDrift, 0, 100, 8)),
        seed_(controlNumber(d, kSeed, 0, 32767, 10651)),
        size_(controlNumber(d, kSize, 1, 500, 56)),
        width_(controlNumber(d, kWidth, 1, 2000, 192)),
        colours_(readObjectColours(d, kColour1)) {}

  bool prepare(const StyledLine&, const FrameComposer& composer, int32_t frames) override {
    frames_ = frames;
    const int32_t w = composer.width(), h = composer.height();
    EffectRandom random{uint32_t(seed_)};
    const double boxLeft = -0.75 * width_;  // upwind, as the wind pushes right
    // `Density` counts flakes per 100 x 100 pixels of the box's far wall;
    // taken on the canvas itself, the default buried the text in a blizzard.
    const int32_t count = scatterCount(density_, (w + width_) / 2, h / 2, kMaxFlakes);
    slope_ = 0.25 * width_ / std::max(h, 1);
    const double f3 = kFocal * kFocal * kFocal, far3 = std::pow(kFocal + depth_, 3.0);
    flakes_.resize(size_t(count));
    for (Flake& f : flakes_) {
      // A box seen in perspective holds more far flakes than near ones: the
      // depth is drawn so each slice holds flakes in proportion to its area.
      const double share = randomIn(random, 0, 1);  // of the flakes nearer than this one
      const double z = std::cbrt(f3 + share * (far3 - f3)) - kFocal;
      const double far = std::clamp(z / depth_, 0.0, 1.0);
      const double scale = kFocal / (kFocal + z);
      f.nearness = 1.0 - far;
      f.radius = 0.5 * size_ * scale * randomIn(random, 0.7, 1.0);
      f.arm = std::max(0.7, f.radius * 0.13);
      f.blur = 0.15 + 1.4 * far * far;
      f.sway = drift_ * scale;
      f.swayPhase = randomIn(random, 0, 1);
      f.swayTurns = turnsFor(randomIn(random, 28, 56), frames);
      f.angle = randomIn(random, 0, kPi / 3);
      f.spin = randomIn(random, 0, 1) < 0.5 ? -1 : 1;
      f.x = boxLeft + randomIn(random, 0, w + width_);
      f.margin = f.radius + f.sway + 3 * f.blur + 2;
      f.track = loopTrack(0.8 + 0.11 * f.radius * 2, frames, h + 2 * f.margin);
      f.start = randomIn(random, 0, f.track.length);
      // Each colour takes an equal share of the flakes, colour 1 the nearest.
      const auto band = int32_t(share * double(colours_.size()));
      f.colour = colours_[size_t(std::min<int32_t>(band, int32_t(colours_.size()) - 1))];
      f.opacity = uint8_t(std::lround(255 * (1.0 - 0.4 * far)));
      f.front = far < 0.3;
    }
    // Far flakes are painted first.
    std::stable_sort(flakes_.begin(), flakes_.end(),
                     [](const Flake& a, const Flake& b) { return a.nearness < b.nearness; });
    return true;
  }

  bool behind(FrameLayer& layer, int64_t k) const override { return paint(layer, k, false); }
  bool front(FrameLayer& layer, int64_t k) const override { return paint(layer, k, true); }

 private:
  bool paint(FrameLayer& layer, int64_t k, bool front) const {
    ShapePath path;
    const int32_t w = layer.canvas.width(), h = layer.canvas.height();
    for (const Flake& f : flakes_) {
      if (f.front != front) continue;
      const double fallen = trackPosition(f.track, f.start, k, frames_);
      const double y = fallen - f.margin;
      if (y > h + f.margin) continue;  // on the hidden part of its track
      // The wind's push grows with the fall and starts again with the lap,
      // out of sight above the canvas.
      const double x = f.x + slope_ * fallen + f.sway * loopWave(f.swayTurns, f.swayPhase, k, frames_);
      // A sixth of a turn per loop: the flake looks the same after it.
      const double angle = f.angle + f.spin * (kPi / 3) * loopPhase(1, 0, k, frames_);
      path.clear();
      if (f.radius < 2.5) addDisc(path, {x, y}, std::max(0.6, f.radius * 0.7));
      else addFlake(path, {x, y}, f.radius, f.arm, angle);
      ShapeCoverage cover;
      if (!rasterise(path, &cover, w, h) || !blurCoverage(cover, f.blur)) return false;
      paintCoverage(layer, cover, f.colour, f.opacity);
    }
    return true;
  }

  int32_t density_, depth_, drift_, seed_, size_, width_;
  std::vector<uint32_t> colours_;
  std::vector<Flake> flakes_;
  int32_t frames_ = 1;
  double slope_ = 0;
};

std::unique_ptr<ObjectScene> makeSnow(const DialogFacade& d) { return std::make_unique<SnowScene>(d); }

constexpr ObjectPage kSnowPage = {kSnowStyle, kShadowColour, 0x7F7F7F, kFrames, 64, nullptr};

}  // namespace

int snowPreview(EffectContext& ctx) { return objectPreview(ctx, kSnowPage, &makeSnow); }
int snowBuild(EffectContext& ctx) { return objectBuild(ctx, kSnowPage, &makeSnow); }
int32_t snowQueryBackground(DialogFacade& window, int flag) {
  // Flakes cross the background; it stays one colour only where none falls.
  return queryBackgroundFromButton(window, flag, kSnowStyle.backgroundMaterial, false);
}

MemHandle snowFrame(const DialogFacade& dialog, int64_t k, bool alphaMask) {
  return objectFrame(dialog, kSnowPage, &makeSnow, k, alphaMask);
}

}  // namespace gw
