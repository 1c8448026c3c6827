// "Quark": each letter spins in the picture plane about its own pivot, at
// `XOffset` % across and `YOffset` % down its cell, neighbouring letters in
// opposite senses. One whole turn takes n = round(360 / `Rotation`) frames of
// 360 / n degrees each, so the loop closes; frame k turns the letters by
// `InitRotation` + k * 360 / n degrees. The still shows them upright.
#include "effects/effect_table.h"
#include "effects/letter_effects.h"
#include "effects/quark_spin.h"

#include <algorithm>
#include <cmath>

namespace gw {
namespace {

constexpr double kPi = 3.14159265358979323846;
// An outline-only ring is one pixel wide per this many pixels of line height.
constexpr double kRingShare = 40;

constexpr QuarkPage kPage = {{280, 0, 295, 296, 300, 298, 304, 302, 292, 293, 282}, 284, 286, 288, 290};

class QuarkSpin : public LetterAnimation {
 public:
  bool prepare(const DialogFacade& dialog, bool alphaMask, const QuarkPage& page, bool outline) {
    outline_ = outline;
    const int32_t rotation = controlNumber(dialog, page.rotation, 0, 360, 22);
    frames_ = rotation == 0 ? 1 : std::max(1, int32_t(std::lround(360.0 / rotation)));
    const double px = controlNumber(dialog, page.xOffset, 0, 100, 47) / 100.0;
    const double py = controlNumber(dialog, page.yOffset, 0, 100, 50) / 100.0;
    initial_ = controlNumber(dialog, page.initRotation, 0, 359, 0);
    if (!stage_.prepare(readTextStyle(dialog, page.style, alphaMask))) return false;

    // Each letter's pivot, and room for the circle its ink sweeps round it.
    const LetterTransformer& shapes = stage_.shapes;
    const double height = shapes.cellHeight();
    double reachX = 0, reachY = 0;
    pivots_.resize(shapes.count());
    for (size_t i = 0; i < shapes.count(); ++i) {
      const double cx = px * shapes.cellWidth(i), cy = py * height;
      pivots_[i] = {cx, cy};
      const CellBox ink = shapes.inkBox(i);
      if (ink.right <= ink.left) continue;
      const double r = std::sqrt(std::pow(std::max(cx - ink.left, ink.right - cx), 2) +
                                 std::pow(std::max(cy - ink.top, ink.bottom - cy), 2));
      const double x = stage_.line.penX[i] + cx;
      reachX = std::max({reachX, r - x, x + r - stage_.line.layout.width});
      reachY = std::max({reachY, r - cy, cy + r - height});
    }
    // An outline-only letter's ring widens with the letters, so it still
    // reads at large sizes; it reaches that much further.
    ring_ = outline ? std::max(1, int32_t(std::lround(height / kRingShare))) : 1;
    return stage_.prepareCanvas(int32_t(std::ceil(reachX)) + ring_, int32_t(std::ceil(reachY)) + ring_);
  }

  int32_t frameCount() const override { return frames_; }
  bool isRest(int32_t k) const override { return std::fmod(angleAt(k), 360.0) == 0; }
  MemHandle restFrame() override { return render(0); }
  MemHandle frame(int64_t k) override { return render(angleAt(k % frames_)); }
  bool readyForThreads() override { return stage_.readyForThreads(); }

 private:
  double angleAt(int64_t k) const { return initial_ + 360.0 * double(k) / frames_; }

  MemHandle render(double degrees) const {
    const double turn = std::fmod(degrees, 360.0);
    std::vector<PlacedLetter> placed(pivots_.size());
    for (size_t i = 0; i < pivots_.size(); ++i) {
      const double x = stage_.line.penX[i];
      Projective m = Projective::translate(x, 0);
      if (turn != 0) {
        const double a = (i % 2 == 0 ? turn : -turn) * kPi / 180;
        const auto& p = pivots_[i];
        m = Projective::translate(x + p.first, p.second) * Projective::rotate(a) *
            Projective::translate(-p.first, -p.second);
      }
      if (!stage_.shapes.place(i, m, 255, &placed[i])) return 0;
      if (outline_ && !outlineOnly(&placed[i], ring_)) return 0;
    }
    return stage_.compose(placed);
  }

  LetterStage stage_;
  bool outline_ = false;
  int32_t ring_ = 1;  // the outline-only ring's width in pixels
  int32_t frames_ = 1;
  int32_t initial_ = 0;
  std::vector<std::pair<double, double>> pivots_;
};

}  // namespace

std::unique_ptr<LetterAnimation> makeQuarkSpin(const DialogFacade& dialog, bool alphaMask, const QuarkPage& page,
                                               bool outlineOnly) {
  auto spin = std::make_unique<QuarkSpin>();
  if (!spin->prepare(dialog, alphaMask, page, outlineOnly)) return nullptr;
  return spin;
}

std::unique_ptr<LetterAnimation> makeQuark(const DialogFacade& dialog, bool alphaMask) {
  return makeQuarkSpin(dialog, alphaMask, kPage, false);
}
int quarkPreview(EffectContext& ctx) { return letterEffectPreview(ctx, makeQuark); }
int quarkBuild(EffectContext& ctx) { return letterEffectBuild(ctx, makeQuark); }
int32_t quarkQueryBackground(DialogFacade& window, int flag) {
  return queryBackgroundFromButton(window, flag, kPage.style.backgroundMaterial, true);
}

}  // namespace gw
