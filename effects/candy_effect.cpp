// "Candy": glossy round sweets drift behind the letters in the `Scroll`
// direction, swaying across it by `Drift`. Each is a shaded ball with a
// highlight (size up to `Size`, varied with `Variable`; `ObjectSoft` softens
// its rim) over a soft drop shadow (`ShadowColor`, `Soft`). Every sweet
// travels whole laps and sways whole turns per loop.
#include <algorithm>
#include <cmath>
#include <vector>

#include "effects/aa_shapes.h"
#include "effects/object_effects.h"
#include "effects/object_paint.h"
#include "effects/object_scene.h"
#include "effects/seeded_scatter.h"
#include "effects/shaded_sphere.h"

namespace gw {
namespace {

// Outline (765, 766) and the text shadow's switch, offset, opacity and
// direction (768..773) have no keys.
constexpr StylePage kCandyStyle = {730, 759, 768, 0, 771, 769, 773, 763, 765, 766, 732};
constexpr uint32_t kDensity = 734, kDrift = 736, kColour1 = 738, kObjectSoft = 748, kScroll = 750, kSeed = 752,
                   kSize = 754, kVariable = 756, kFrames = 757, kShadowColour = 761, kSoft = 763;
constexpr int32_t kMaxSweets = 3000;

struct Sweet {
  double across = 0, start = 0, radius = 0, margin = 0, sway = 0, swayPhase = 0;
  int64_t swayTurns = 1;
  LoopTrack track;
  uint32_t colour = 0;
};

class CandyScene : public ObjectScene {
 public:
  explicit CandyScene(const DialogFacade& d)
      : density_(controlNumber(d, kDensity, 1, 1000, 64)),
        drift_(controlNumber(d, kDrift, 0, 100, 4)),
        objectSoft_(controlNumber(d, kObjectSoft, 0, 100, 60)),
        seed_(controlNumber(d, kSeed, 0, 32767, 10646)),
        size_(controlNumber(d, kSize, 1, 500, 28)),
        soft_(controlNumber(d, kSoft, 0, 100, 60)),
        variable_(d.checked(kVariable)),
        shadowColour_(uint32_t(controlWord(d, kShadowColour, 0x4C4C4C)) & 0xFFFFFF),
        colours_(readObjectColours(d, kColour1)) {
    scroll_ = controlWord(d, kScroll, 2);
    if (scroll_ < 0 || scroll_ > 3) scroll_ = 2;
  }

  bool prepare(const StyledLine&, const FrameComposer& composer, int32_t frames) override {
    frames_ = frames;
    w_ = composer.width();
    h_ = composer.height();
    vertical_ = scroll_ == 0 || scroll_ == 3;
    const double along = vertical_ ? h_ : w_, across = vertical_ ? w_ : h_;
    EffectRandom random{uint32_t(seed_)};
    // Per 100 x 100 pixels, counted on a sixth of the canvas: sweets are
    // big and the literal count hid the letters behind a heap of them.
    const int32_t count = scatterCount(density_, w_ / 3, h_ / 2, kMaxSweets);
    sweets_.resize(size_t(count));
    for (Sweet& s : sweets_) {
      s.radius = 0.5 * size_ * (variable_ ? randomIn(random, 0.5, 1.0) : 1.0);
      s.across = randomIn(random, 0, across);
      s.sway = drift_ * randomIn(random, 0.6, 1.4);
      s.swayPhase = randomIn(random, 0, 1);
      s.swayTurns = turnsFor(randomIn(random, 30, 60), frames);
      s.margin = s.radius * 1.3 + 3.5 * (soft_ + 2) / 10.0 + 4;
      s.track = loopTrack(randomIn(random, 0.8, 1.8) * (0.6 + s.radius / 28.0), frames, along + 2 * s.margin);
      s.start = randomIn(random, 0, s.track.length);
      s.colour = colours_[size_t(randomIndex(random, int32_t(colours_.size())))];
    }
    // Small sweets first: the big ones seem nearer.
    std::stable_sort(sweets_.begin(), sweets_.end(), [](const Sweet& a, const Sweet& b) { return a.radius < b.radius; });
    return true;
  }

  bool ground(FrameLayer& layer, int64_t k) const override {
    ShapePath path;
    struct Placed {
      double x, y;
      const Sweet* sweet;
    };
    std::vector<Placed> placed;
    ObjectShadows shadows;
    if (!shadows.begin(w_, h_)) return false;
    const double edge = 1.0 + objectSoft_ / 100.0 * 0.6;
    for (const Sweet& s : sweets_) {
      double along = trackPosition(s.track, s.start, k, frames_) - s.margin;
      const double limit = (vertical_ ? h_ : w_) + s.margin;
      if (along > limit) continue;
      // Up and left run the track backwards.
      if (scroll_ == 0 || scroll_ == 2) along = (vertical_ ? h_ : w_) - along;
      const double across = s.across + s.sway * loopWave(s.swayTurns, s.swayPhase, k, frames_);
      const double x = vertical_ ? across : along, y = vertical_ ? along : across;
      path.clear();
      addDisc(path, {x, y}, s.radius * (1.0 - 0.15 * objectSoft_ / 100.0));
      ShapeCoverage cover;
      if (!rasterise(path, &cover, w_, h_)) return false;
      const auto drop = int32_t(std::lround(2 + s.radius * 0.25));
      shadows.add(cover, drop, drop, 170);
      placed.push_back({x, y, &s});
    }
    if (!shadows.paint(layer, shadowColour_, soft_)) return false;
    for (const Placed& p : placed) {
      SphereLook look;
      look.colour = p.sweet->colour;
      look.shade = 110;
      look.glare = 230;
      paintShadedSphere(layer, p.x, p.y, p.sweet->radius, look, edge + objectSoft_ / 100.0 * p.sweet->radius * 0.35);
    }
    return true;
  }

 private:
  int32_t density_, drift_, objectSoft_, seed_, size_, soft_;
  bool variable_;
  uint32_t shadowColour_;
  std::vector<uint32_t> colours_;
  int32_t scroll_ = 2;
  bool vertical_ = false;
  int32_t w_ = 0, h_ = 0;
  std::vector<Sweet> sweets_;
  int32_t frames_ = 1;
};

std::unique_ptr<ObjectScene> makeCandy(const DialogFacade& d) { return std::make_unique<CandyScene>(d); }

constexpr ObjectPage kCandyPage = {kCandyStyle, kShadowColour, 0x4C4C4C, kFrames, 64, nullptr};

}  // namespace

int candyPreview(EffectContext& ctx) { return objectPreview(ctx, kCandyPage, &makeCandy); }
int candyBuild(EffectContext& ctx) { return objectBuild(ctx, kCandyPage, &makeCandy); }
int32_t candyQueryBackground(DialogFacade& window, int flag) {
  return queryBackgroundFromButton(window, flag, kCandyStyle.backgroundMaterial, false);
}
MemHandle candyFrame(const DialogFacade& dialog, int64_t k, bool alphaMask) {
  return objectFrame(dialog, kCandyPage, &makeCandy, k, alphaMask);
}

}  // namespace gw
