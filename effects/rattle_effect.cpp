// "Rattle": the letters shake. Frame 0 is the line at rest; in each later
// frame a burst comes with a chance of one in `Ratio`, and in a burst every
// letter jumps to a random place within ±`HDisplace` across and ±`VDisplace`
// up and down (as `Mode` allows); between bursts the line stands still, so it
// jitters in fits rather than buzzing.
#include "effects/letter_effects.h"

#include "effects/effect_table.h"

namespace gw {
namespace {

constexpr StylePage kPage = {780, 796, 801, 802, 806, 804, 810, 808, 798, 799, 782};
constexpr uint32_t kHDisplace = 784, kMode = 786, kRatio = 788, kSeed = 790, kVDisplace = 792, kFrames = 794;

enum Mode { kBothWays = 0, kSideways = 1, kUpAndDown = 2 };

class Rattle : public LetterAnimation {
 public:
  bool prepare(const DialogFacade& dialog, bool alphaMask) {
    const int mode = dialog.selection(kMode);
    across_ = mode == kUpAndDown ? 0 : controlNumber(dialog, kHDisplace, 0, 100, 9);
    upDown_ = mode == kSideways ? 0 : controlNumber(dialog, kVDisplace, 0, 100, 9);
    ratio_ = controlNumber(dialog, kRatio, 1, 100, 6);
    seed_ = uint32_t(controlNumber(dialog, kSeed, 0, 32767, 19374));
    frames_ = controlNumber(dialog, kFrames, 2, 32760, 64);
    // Room for the widest jump, so no shaken letter is cut.
    if (!stage_.prepare(readTextStyle(dialog, kPage, alphaMask)) || !stage_.prepareCanvas(across_, upDown_))
      return false;
    // The draws run frame after frame from the seed; where each frame's
    // start is kept, so any frame is made without the ones before it.
    EffectRandom random(seed_);
    starts_.assign(size_t(frames_), random);
    for (int32_t k = 1; k < frames_; ++k) {
      starts_[size_t(k)] = random;
      draw(random, nullptr);
    }
    return true;
  }

  int32_t frameCount() const override { return frames_; }
  MemHandle restFrame() override { return frame(0); }
  // Only whole-pixel shifts: nothing is rendered on first use.
  bool readyForThreads() override { return true; }

  MemHandle frame(int64_t k) override {
    k %= frames_;
    if (k < 0) k += frames_;
    std::vector<std::pair<int32_t, int32_t>> shifts(stage_.line.letterCount(), {0, 0});
    if (k > 0) {
      EffectRandom random = starts_[size_t(k)];
      draw(random, &shifts);
    }
    std::vector<PlacedLetter> placed(shifts.size());
    for (size_t i = 0; i < shifts.size(); ++i) {
      const auto& s = shifts[i];
      if (!stage_.shapes.place(i, Projective::translate(stage_.line.penX[i] + s.first, s.second), 255, &placed[i]))
        return 0;
    }
    return stage_.compose(placed);
  }

 private:
  // One frame's draws: whether it is a burst and, if so, each letter's
  // jump (into `shifts` when given).
  void draw(EffectRandom& random, std::vector<std::pair<int32_t, int32_t>>* shifts) const {
    if (random.next() % ratio_ != 0) return;
    for (size_t i = 0; i < stage_.line.letterCount(); ++i) {
      const int32_t x = across_ ? random.next() % (2 * across_ + 1) - across_ : 0;
      const int32_t y = upDown_ ? random.next() % (2 * upDown_ + 1) - upDown_ : 0;
      if (shifts) (*shifts)[i] = {x, y};
    }
  }

  LetterStage stage_;
  int32_t across_ = 0, upDown_ = 0, ratio_ = 1, frames_ = 1;
  uint32_t seed_ = 0;
  std::vector<EffectRandom> starts_;  // the generator as frame k begins
};

}  // namespace

std::unique_ptr<LetterAnimation> makeRattle(const DialogFacade& dialog, bool alphaMask) {
  auto rattle = std::make_unique<Rattle>();
  if (!rattle->prepare(dialog, alphaMask)) return nullptr;
  return rattle;
}

int rattlePreview(EffectContext& ctx) { return letterEffectPreview(ctx, makeRattle); }
int rattleBuild(EffectContext& ctx) { return letterEffectBuild(ctx, makeRattle); }
int32_t rattleQueryBackground(DialogFacade& window, int flag) {
  return queryBackgroundFromButton(window, flag, kPage.backgroundMaterial, true);
}

}  // namespace gw
