// "Stars": four- and five-pointed stars twinkle on and around the letters.
// Each star lives a few times per loop, each life at a new place drawn from
// the seed: it grows from nothing to its size (`Size`, varied when
// `Variable` is on), turns by `Drift` degrees a frame and shrinks away again,
// a white glint at its heart while it is large.
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

// The shadow's switch (242) and the outline's (239, 240) have no keys; the
// shadow is grey as on every page without a shadow colour.
constexpr StylePage kStarsStyle = {210, 235, 242, 0, 245, 243, 247, 237, 239, 240, 212};
constexpr uint32_t kDensity = 214, kDrift = 216, kColour1 = 218, kSeed = 228, kSize = 230, kVariable = 232,
                   kFrames = 233;
constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kMaxStars = 3000;

struct Life {
  double x = 0, y = 0, angle = 0;
};

struct Star {
  int points = 5;
  double radius = 0, phase = 0;
  int64_t lives = 1;
  uint32_t colour = 0;
  std::vector<Life> places;  // one per life in the loop
};

class StarsScene : public ObjectScene {
 public:
  explicit StarsScene(const DialogFacade& d)
      : density_(controlNumber(d, kDensity, 1, 1000, 68)),
        drift_(controlNumber(d, kDrift, 0, 100, 4)),
        seed_(controlNumber(d, kSeed, 0, 32767, 10647)),
        size_(controlNumber(d, kSize, 1, 500, 48)),
        variable_(d.checked(kVariable)),
        colours_(readObjectColours(d, kColour1)) {}

  bool prepare(const StyledLine&, const FrameComposer& composer, int32_t frames) override {
    frames_ = frames;
    const int32_t w = composer.width(), h = composer.height();
    EffectRandom random{uint32_t(seed_)};
    // `Density` per 100 x 100 pixels counts the stars alive at once, each a
    // third of its life near full size: so many at the literal rate hid the text.
    const int32_t count = scatterCount(density_, w / 3, h / 2, kMaxStars);
    stars_.resize(size_t(count));
    for (Star& s : stars_) {
      s.points = randomIn(random, 0, 1) < 0.5 ? 4 : 5;
      s.radius = 0.5 * size_ * (variable_ ? randomIn(random, 0.3, 1.0) : 1.0);
      s.phase = randomIn(random, 0, 1);
      s.lives = turnsFor(randomIn(random, 20, 36), frames);
      s.colour = colours_[size_t(randomIndex(random, int32_t(colours_.size())))];
      s.places.resize(size_t(std::min<int64_t>(s.lives, frames)));
      for (Life& l : s.places) l = {randomIn(random, 0, w), randomIn(random, 0, h), randomIn(random, 0, 2 * kPi)};
    }
    return true;
  }

  bool front(FrameLayer& layer, int64_t k) const override {
    ShapePath path;
    const int32_t w = layer.canvas.width(), h = layer.canvas.height();
    const int64_t n = frames_;
    const int64_t kk = ((k % n) + n) % n;
    for (const Star& s : stars_) {
      // Which life and how far into it: whole lives per loop, so frame n is frame 0.
      const double into = loopPhase(s.lives, s.phase, kk, frames_);
      const auto life = int64_t(std::floor(double(s.lives) * double(kk) / double(n) + s.phase)) % s.lives;
      const Life& at = s.places[size_t(life % int64_t(s.places.size()))];
      const double swell = std::pow(std::sin(kPi * into), 1.5);
      const double r = s.radius * swell;
      if (r < 0.3) continue;
      const double framesIntoLife = into * double(n) / double(s.lives);
      const double angle = at.angle + drift_ * framesIntoLife * kPi / 180.0;
      path.clear();
      addStar(path, {at.x, at.y}, r, r * (s.points == 4 ? 0.28 : 0.45), s.points, angle);
      ShapeCoverage cover;
      if (!rasterise(path, &cover, w, h)) return false;
      paintCoverage(layer, cover, s.colour);
      // The glint: a small white four-pointed sparkle, brightest at full size.
      path.clear();
      addStar(path, {at.x, at.y}, r * 0.42, r * 0.1, 4, angle + kPi / 4);
      if (!rasterise(path, &cover, w, h)) return false;
      paintCoverage(layer, cover, 0xFFFFFF, uint8_t(std::lround(220 * swell)));
    }
    return true;
  }

 private:
  int32_t density_, drift_, seed_, size_;
  bool variable_;
  std::vector<uint32_t> colours_;
  std::vector<Star> stars_;
  int32_t frames_ = 1;
};

std::unique_ptr<ObjectScene> makeStars(const DialogFacade& d) { return std::make_unique<StarsScene>(d); }

constexpr ObjectPage kStarsPage = {kStarsStyle, 0, 0x7F7F7F, kFrames, 64, nullptr};

}  // namespace

int starsPreview(EffectContext& ctx) { return objectPreview(ctx, kStarsPage, &makeStars); }
int starsBuild(EffectContext& ctx) { return objectBuild(ctx, kStarsPage, &makeStars); }
int32_t starsQueryBackground(DialogFacade& window, int flag) {
  return queryBackgroundFromButton(window, flag, kStarsStyle.backgroundMaterial, false);
}
MemHandle starsFrame(const DialogFacade& dialog, int64_t k, bool alphaMask) {
  return objectFrame(dialog, kStarsPage, &makeStars, k, alphaMask);
}

}  // namespace gw
