// "Confetti": paper rectangles flutter down in front of and behind the
// letters. Each piece turns in the picture plane and flips in depth — its
// width follows |cos| of the flip and it darkens as it turns edge on — sways
// by `Drift`, and casts a soft shadow (`ShadowColor`, `Soft`) on what lies
// behind it. Falls, turns and flips are whole laps and turns per loop.
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

// Outline (711, 712) and the text shadow's switch, offset, opacity and
// direction (714..719) have no keys.
constexpr StylePage kConfettiStyle = {680, 705, 714, 0, 717, 715, 719, 709, 711, 712, 682};
constexpr uint32_t kDensity = 684, kDrift = 686, kColour1 = 688, kSeed = 698, kSize = 700, kVariable = 702,
                   kFrames = 703, kShadowColour = 707, kSoft = 709;
constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kMaxPieces = 4000;

struct Piece {
  double x = 0, length = 0, breadth = 0, start = 0, margin = 0, sway = 0;
  double swayPhase = 0, turnPhase = 0, flipPhase = 0;
  int64_t swayTurns = 1, turns = 1, flips = 1;
  LoopTrack track;
  uint32_t colour = 0;
  bool front = false;
};

class ConfettiScene : public ObjectScene {
 public:
  explicit ConfettiScene(const DialogFacade& d)
      : density_(controlNumber(d, kDensity, 1, 1000, 128)),
        drift_(controlNumber(d, kDrift, 0, 100, 4)),
        seed_(controlNumber(d, kSeed, 0, 32767, 10645)),
        size_(controlNumber(d, kSize, 1, 500, 20)),
        soft_(controlNumber(d, kSoft, 0, 40, 20)),
        variable_(d.checked(kVariable)),
        shadowColour_(uint32_t(controlWord(d, kShadowColour, 0x4C4C4C)) & 0xFFFFFF),
        colours_(readObjectColours(d, kColour1)) {}

  bool prepare(const StyledLine&, const FrameComposer& composer, int32_t frames) override {
    frames_ = frames;
    const int32_t w = composer.width(), h = composer.height();
    EffectRandom random{uint32_t(seed_)};
    // Per 100 x 100 pixels of the canvas, as a sixth: the literal count of
    // the default was a wall of paper.
    const int32_t count = scatterCount(density_, w / 2, h / 3, kMaxPieces);
    pieces_.resize(size_t(count));
    for (Piece& p : pieces_) {
      const double scale = variable_ ? randomIn(random, 0.45, 1.0) : 1.0;
      p.length = size_ * scale;
      p.breadth = p.length * randomIn(random, 0.45, 0.65);
      p.x = randomIn(random, 0, w);
      p.sway = drift_ * randomIn(random, 0.6, 1.4);
      p.swayPhase = randomIn(random, 0, 1);
      p.swayTurns = turnsFor(randomIn(random, 24, 48), frames);
      p.turnPhase = randomIn(random, 0, 1);
      p.turns = (randomIn(random, 0, 1) < 0.5 ? -1 : 1) * turnsFor(randomIn(random, 40, 90), frames);
      p.flipPhase = randomIn(random, 0, 1);
      p.flips = turnsFor(randomIn(random, 10, 22), frames);
      p.margin = p.length + p.sway + 8;
      p.track = loopTrack(randomIn(random, 0.9, 2.2), frames, h + 2 * p.margin);
      p.start = randomIn(random, 0, p.track.length);
      p.colour = colours_[size_t(randomIndex(random, int32_t(colours_.size())))];
      p.front = randomIn(random, 0, 1) < 0.45;
    }
    return true;
  }

  bool behind(FrameLayer& layer, int64_t k) const override { return paint(layer, k, false); }
  bool front(FrameLayer& layer, int64_t k) const override { return paint(layer, k, true); }

 private:
  bool paint(FrameLayer& layer, int64_t k, bool front) const {
    ShapePath path;
    const int32_t w = layer.canvas.width(), h = layer.canvas.height();
    struct Placed {
      ShapeCoverage cover;
      uint32_t colour;
    };
    std::vector<Placed> placed;
    ObjectShadows shadows;
    if (!shadows.begin(w, h)) return false;
    for (const Piece& p : pieces_) {
      if (p.front != front) continue;
      const double y = trackPosition(p.track, p.start, k, frames_) - p.margin;
      if (y > h + p.margin) continue;
      const double x = p.x + p.sway * loopWave(p.swayTurns, p.swayPhase, k, frames_);
      const double turn = 2 * kPi * loopPhase(p.turns, p.turnPhase, k, frames_);
      const double flip = std::cos(2 * kPi * loopPhase(p.flips, p.flipPhase, k, frames_));
      path.clear();
      addRectangle(path, {x, y}, p.length * std::max(0.08, std::fabs(flip)), p.breadth, turn);
      Placed one{ShapeCoverage(), dimmed(p.colour, 0.55 + 0.45 * std::fabs(flip))};
      if (!rasterise(path, &one.cover, w, h)) return false;
      if (one.cover.mask.empty()) continue;
      const auto lift = int32_t(std::lround(2 + p.length * 0.15));
      shadows.add(one.cover, lift, lift, 150);
      placed.push_back(std::move(one));
    }
    if (!shadows.paint(layer, shadowColour_, soft_)) return false;
    for (const Placed& one : placed) paintCoverage(layer, one.cover, one.colour);
    return true;
  }

  int32_t density_, drift_, seed_, size_, soft_;
  bool variable_;
  uint32_t shadowColour_;
  std::vector<uint32_t> colours_;
  std::vector<Piece> pieces_;
  int32_t frames_ = 1;
};

std::unique_ptr<ObjectScene> makeConfetti(const DialogFacade& d) { return std::make_unique<ConfettiScene>(d); }

constexpr ObjectPage kConfettiPage = {kConfettiStyle, kShadowColour, 0x4C4C4C, kFrames, 64, nullptr};

}  // namespace

int confettiPreview(EffectContext& ctx) { return objectPreview(ctx, kConfettiPage, &makeConfetti); }
int confettiBuild(EffectContext& ctx) { return objectBuild(ctx, kConfettiPage, &makeConfetti); }
int32_t confettiQueryBackground(DialogFacade& window, int flag) {
  return queryBackgroundFromButton(window, flag, kConfettiStyle.backgroundMaterial, false);
}
MemHandle confettiFrame(const DialogFacade& dialog, int64_t k, bool alphaMask) {
  return objectFrame(dialog, kConfettiPage, &makeConfetti, k, alphaMask);
}

}  // namespace gw
