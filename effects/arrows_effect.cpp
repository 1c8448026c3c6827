// "Arrows": arrows fly behind the letters, each in one of the enabled
// directions (`DirNorth`, `DirEast`, `DirSouth`, `DirWest`) drawn from the
// seed, wobbling sideways by `Drift`; none enabled, the sky stays empty.
// Lengths go up to `Size`; longer arrows fly faster, as nearer things seem
// to. Every arrow flies whole laps and wobbles whole turns per loop.
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

constexpr StylePage kArrowsStyle = {360, 388, 393, 0, 398, 396, 402, 400, 390, 391, 362};
constexpr uint32_t kDensity = 364, kNorth = 366, kEast = 367, kSouth = 368, kWest = 369, kDrift = 370,
                   kColour1 = 372, kSeed = 382, kSize = 384, kFrames = 386, kShadowColour = 394;
constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kMaxArrows = 3000;

struct Arrow {
  int direction = 1;  // 0 north, 1 east, 2 south, 3 west
  double across = 0, start = 0, length = 0, wobble = 0, wobblePhase = 0;
  int64_t wobbleTurns = 1;
  LoopTrack track;
  uint32_t colour = 0;
};

class ArrowsScene : public ObjectScene {
 public:
  explicit ArrowsScene(const DialogFacade& d)
      : density_(controlNumber(d, kDensity, 1, 1000, 96)),
        drift_(controlNumber(d, kDrift, 0, 100, 4)),
        seed_(controlNumber(d, kSeed, 0, 32767, 11234)),
        size_(controlNumber(d, kSize, 1, 500, 50)),
        colours_(readObjectColours(d, kColour1)) {
    const uint32_t ids[4] = {kNorth, kEast, kSouth, kWest};
    for (int i = 0; i < 4; ++i)
      if (d.checked(ids[i])) directions_.push_back(i);
  }

  bool prepare(const StyledLine&, const FrameComposer& composer, int32_t frames) override {
    frames_ = frames;
    w_ = composer.width();
    h_ = composer.height();
    if (directions_.empty()) return true;
    EffectRandom random{uint32_t(seed_)};
    // Per 100 x 100 pixels of a twelfth of the canvas: arrows are long and
    // the literal count crossed the whole line out.
    const int32_t count = scatterCount(density_, w_ / 4, h_ / 3, kMaxArrows);
    arrows_.resize(size_t(count));
    for (Arrow& a : arrows_) {
      a.direction = directions_[size_t(randomIndex(random, int32_t(directions_.size())))];
      const bool vertical = a.direction == 0 || a.direction == 2;
      a.length = size_ * randomIn(random, 0.5, 1.0);
      a.across = randomIn(random, 0, vertical ? w_ : h_);
      a.wobble = drift_ * randomIn(random, 0.5, 1.0);
      a.wobblePhase = randomIn(random, 0, 1);
      a.wobbleTurns = turnsFor(randomIn(random, 16, 32), frames);
      const double span = (vertical ? h_ : w_) + 2 * a.length + 2;
      a.track = loopTrack(a.length * randomIn(random, 0.08, 0.12), frames, span);
      a.start = randomIn(random, 0, a.track.length);
      a.colour = colours_[size_t(randomIndex(random, int32_t(colours_.size())))];
    }
    std::stable_sort(arrows_.begin(), arrows_.end(), [](const Arrow& a, const Arrow& b) { return a.length < b.length; });
    return true;
  }

  bool ground(FrameLayer& layer, int64_t k) const override {
    ShapePath path;
    for (const Arrow& a : arrows_) {
      const bool vertical = a.direction == 0 || a.direction == 2;
      const double extent = vertical ? h_ : w_;
      // The tip starts just outside the edge it enters by.
      double along = trackPosition(a.track, a.start, k, frames_) - 1;
      if (along > extent + 2 * a.length) continue;
      if (a.direction == 0 || a.direction == 3) along = extent - along;  // north and west run backwards
      // The arrow points where it is going: along its flight plus the wobble's sideways speed.
      const double phase = loopPhase(a.wobbleTurns, a.wobblePhase, k, frames_);
      const double across = a.across + a.wobble * std::sin(2 * kPi * phase);
      const double n = std::max<double>(frames_, 1);
      const double speed = a.track.length * double(a.track.laps) / n;
      const double sideways = a.wobble * 2 * kPi * double(a.wobbleTurns) / n * std::cos(2 * kPi * phase);
      const double forward = (a.direction == 0 || a.direction == 3) ? -speed : speed;
      const double vx = vertical ? sideways : forward, vy = vertical ? forward : sideways;
      const double heading = std::atan2(vy, vx);
      const double x = vertical ? across : along, y = vertical ? along : across;
      path.clear();
      addArrow(path, {x, y}, a.length, std::max(1.0, a.length * 0.1), a.length * 0.34, heading);
      ShapeCoverage cover;
      if (!rasterise(path, &cover, w_, h_)) return false;
      paintCoverage(layer, cover, a.colour);
    }
    return true;
  }

 private:
  int32_t density_, drift_, seed_, size_;
  std::vector<uint32_t> colours_;
  std::vector<int> directions_;
  int32_t w_ = 0, h_ = 0;
  std::vector<Arrow> arrows_;
  int32_t frames_ = 1;
};

std::unique_ptr<ObjectScene> makeArrows(const DialogFacade& d) { return std::make_unique<ArrowsScene>(d); }

constexpr ObjectPage kArrowsPage = {kArrowsStyle, kShadowColour, 0x7F7F7F, kFrames, 128, nullptr};

}  // namespace

int arrowsPreview(EffectContext& ctx) { return objectPreview(ctx, kArrowsPage, &makeArrows); }
int arrowsBuild(EffectContext& ctx) { return objectBuild(ctx, kArrowsPage, &makeArrows); }
int32_t arrowsQueryBackground(DialogFacade& window, int flag) {
  return queryBackgroundFromButton(window, flag, kArrowsStyle.backgroundMaterial, false);
}
MemHandle arrowsFrame(const DialogFacade& dialog, int64_t k, bool alphaMask) {
  return objectFrame(dialog, kArrowsPage, &makeArrows, k, alphaMask);
}

}  // namespace gw
