// "Machine": each letter sits on a drum turning about a horizontal axis, like
// the wheels of a counter. Letter i's face is at θ = `Rotation`·k + `Offset`·i
// degrees (the other way round with `Inverse`), one whole turn in
// n = round(360 / `Rotation`) frames of 360 / n degrees. The face lies
// `Size` % of the letter's height in front of the axis, so it rises, tips
// and, past the top, shows again upside down on the drum's far side; seen
// from a few letter heights away its near edge grows and its far edge
// shrinks. It is lit `Start` when it faces the viewer and `End` edge on (the
// fill material times that colour). The still is frame 0: θ = 0 for letter 0.
#include "effects/effect_table.h"
#include "effects/letter_effects.h"

#include <algorithm>
#include <cmath>

namespace gw {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr StylePage kPage = {250, 0, 268, 269, 273, 271, 277, 275, 265, 266, 252};
constexpr uint32_t kEnd = 254, kInverse = 256, kOffset = 257, kRotation = 259, kSize = 261, kStart = 263;

constexpr double kViewDistance = 3;  // from the drum's front, in letter heights

uint8_t mix(uint32_t from, uint32_t to, int shift, double t) {
  const double a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
  return uint8_t(std::lround(a + (b - a) * t));
}

class Machine : public LetterAnimation {
 public:
  bool prepare(const DialogFacade& dialog, bool alphaMask) {
    const int32_t rotation = controlNumber(dialog, kRotation, 0, 360, 22);
    frames_ = rotation == 0 ? 1 : std::max(1, int32_t(std::lround(360.0 / rotation)));
    offset_ = controlNumber(dialog, kOffset, 0, 360, 180);
    sense_ = dialog.checked(kInverse) ? -1 : 1;
    start_ = uint32_t(controlWord(dialog, kStart, 0xFFFFFF)) & 0xFFFFFF;
    end_ = uint32_t(controlWord(dialog, kEnd, 0x996633)) & 0xFFFFFF;
    if (!stage_.prepare(readTextStyle(dialog, kPage, alphaMask))) return false;
    const double height = stage_.shapes.cellHeight();
    radius_ = controlNumber(dialog, kSize, 1, 500, 48) / 100.0 * height;
    view_ = radius_ + kViewDistance * height;

    // Room for the highest, lowest and widest the faces get in a whole turn.
    double reachX = 0, reachY = 0;
    for (int degrees = 0; degrees < 360; ++degrees) {
      for (size_t i = 0; i < stage_.shapes.count(); ++i) {
        double quad[8];
        cellQuad(i, degrees * kPi / 180, quad);
        const double w = stage_.shapes.cellWidth(i);
        for (int c = 0; c < 4; ++c) {
          reachX = std::max({reachX, -quad[2 * c] - stage_.line.penX[i], quad[2 * c] - w});
          reachY = std::max({reachY, -quad[2 * c + 1], quad[2 * c + 1] - height});
        }
      }
    }
    return stage_.prepareCanvas(int32_t(std::ceil(reachX)) + 2, int32_t(std::ceil(reachY)) + 2);
  }

  int32_t frameCount() const override { return frames_; }
  MemHandle restFrame() override { return frame(0); }
  bool readyForThreads() override { return stage_.readyForThreads(); }
  MemHandle frame(int64_t k) override {
    const double turn = 360.0 * double(k % frames_) / frames_;
    const size_t n = stage_.shapes.count();
    std::vector<PlacedLetter> placed(n);
    std::vector<uint32_t> tints(n);
    for (size_t i = 0; i < n; ++i) {
      const double theta = sense_ * (turn + offset_ * double(i)) * kPi / 180;
      double quad[8];
      cellQuad(i, theta, quad);
      for (int c = 0; c < 4; ++c) quad[2 * c] += stage_.line.penX[i];
      const Projective m = std::fabs(std::sin(theta)) < 1e-12 && std::cos(theta) > 0
                               ? Projective::translate(stage_.line.penX[i], 0)  // facing: the letter itself
                               : Projective::rectToQuad(0, 0, stage_.shapes.cellWidth(i), stage_.shapes.cellHeight(), quad);
      if (!stage_.shapes.place(i, m, 255, &placed[i])) return 0;
      const double edge = std::fabs(std::sin(theta));
      tints[i] = uint32_t(mix(start_, end_, 0, edge)) | uint32_t(mix(start_, end_, 8, edge)) << 8 |
                 uint32_t(mix(start_, end_, 16, edge)) << 16;
    }
    FrameHooks hooks;
    const Offset origin = stage_.composer.textOrigin();
    hooks.fill = [&](const BitmapView& fill) {
      for (size_t i = 0; i < n; ++i) tintFillUnder(fill, placed[i], origin, tints[i]);
      return true;
    };
    return stage_.compose(placed, hooks);
  }

 private:
  // The corners of letter i's cell on its drum at angle theta, in its cell's
  // own frame (top-left, top-right, bottom-right, bottom-left).
  void cellQuad(size_t i, double theta, double quad[8]) const {
    const double w = stage_.shapes.cellWidth(i), h = stage_.shapes.cellHeight();
    const double corner[4][2] = {{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}};
    for (int c = 0; c < 4; ++c) {
      const double v = corner[c][1];
      // Turning the face up: its centre climbs the drum and the face tips back.
      const double y = v * std::cos(theta) - radius_ * std::sin(theta);
      const double z = v * std::sin(theta) + radius_ * std::cos(theta);
      const double scale = (view_ - radius_) / (view_ - z);
      quad[2 * c] = w / 2 + corner[c][0] * scale;
      quad[2 * c + 1] = h / 2 + y * scale;
    }
  }

  LetterStage stage_;
  int32_t frames_ = 1;
  int32_t offset_ = 0;
  int sense_ = 1;
  uint32_t start_ = 0, end_ = 0;
  double radius_ = 0, view_ = 1;
};

}  // namespace

std::unique_ptr<LetterAnimation> makeMachine(const DialogFacade& dialog, bool alphaMask) {
  auto machine = std::make_unique<Machine>();
  if (!machine->prepare(dialog, alphaMask)) return nullptr;
  return machine;
}
int machinePreview(EffectContext& ctx) { return letterEffectPreview(ctx, makeMachine); }
int machineBuild(EffectContext& ctx) { return letterEffectBuild(ctx, makeMachine); }
int32_t machineQueryBackground(DialogFacade& window, int flag) {
  return queryBackgroundFromButton(window, flag, kPage.backgroundMaterial, true);
}

}  // namespace gw
