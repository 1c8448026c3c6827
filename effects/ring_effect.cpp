// "Ring": the line wrapped round a horizontal ring of `Radius` pixels, seen
// slightly from above, turning `Angle` degrees per frame from `InitAngle`
// (n = round(360 / `Angle`) frames of 360 / n degrees, so the loop closes).
// Each letter stands on the ring facing outwards: it narrows as it turns
// away, shows mirrored at the back, and there it is smaller, higher and
// dimmer. The shadow lies on the floor under the ring, `ShadowOffset` below
// the letters. The still has the middle of the text facing the viewer.
//
// A text longer than the ring's circumference is spaced round the whole ring
// instead of running over itself.
#include "effects/effect_table.h"
#include "effects/letter_effects.h"

#include <algorithm>
#include <cmath>

namespace gw {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr StylePage kPage = {130, 140, 145, 146, 150, 148, 154, 152, 142, 143, 132};
constexpr uint32_t kAngle = 134, kInitAngle = 136, kRadius = 138;

constexpr double kTilt = 0.34;        // sine of the angle the ring is seen from above
constexpr double kViewDistance = 4;   // the eye's distance from the ring's axis, in radii
constexpr double kBackDimming = 0.45;  // how much light the letter at the very back loses
constexpr double kShadowHeight = 0.3; // a letter's shadow on the floor, as a share of its height

class Ring : public LetterAnimation {
 public:
  bool prepare(const DialogFacade& dialog, bool alphaMask) {
    const int32_t angle = controlNumber(dialog, kAngle, 1, 360, 15);
    frames_ = std::max(1, int32_t(std::lround(360.0 / angle)));
    initial_ = controlNumber(dialog, kInitAngle, 0, 359, 0);
    radius_ = controlNumber(dialog, kRadius, 8, 1024, 128);
    const TextStyle style = readTextStyle(dialog, kPage, alphaMask);
    if (!stage_.prepare(style)) return false;
    const StyledLine& line = stage_.line;
    const double width = line.layout.width, height = line.layout.height;
    // Radians per pixel of text along the ring.
    arcScale_ = 2 * kPi / std::max(2 * kPi * radius_, width + height / 2);

    // The canvas holds the ring's front letters at full size and the floor
    // shadow under them; the line's own space has the ring's centre at the
    // middle of the text.
    double widest = 0;
    for (size_t i = 0; i < stage_.shapes.count(); ++i) widest = std::max(widest, stage_.shapes.cellWidth(i));
    const int32_t halfX = int32_t(std::ceil(radius_ + widest / 2)) + 2;
    const int32_t rise = int32_t(std::ceil(radius_ * kTilt)) + 2;
    const int32_t below = int32_t(std::ceil(height * kShadowHeight)) + 2;
    const int64_t extra = int64_t(line.restWidth) - width;   // padding and shadow offset
    const int64_t extraY = int64_t(line.restHeight) - height;
    const int64_t w = 2 * int64_t(halfX) + extra, h = int64_t(height) + 2 * rise + below + extraY;
    if (w > INT32_MAX / 4 || h > INT32_MAX / 4) return false;
    return stage_.composer.prepare(line, int32_t(w), int32_t(h),
                                   {int32_t(halfX - std::lround(width / 2)), rise});
  }

  int32_t frameCount() const override { return frames_; }
  bool isRest(int32_t k) const override { return k == 0; }
  MemHandle restFrame() override { return render(0); }
  MemHandle frame(int64_t k) override { return render(initial_ + 360.0 * double(k % frames_) / frames_); }
  bool readyForThreads() override { return stage_.readyForThreads(); }

 private:
  struct Pose {
    double x, y, scaleX, scale;
    uint8_t light;  // grey the fill is multiplied by
  };

  // Letter i when the ring has turned `degrees`, in the line's space.
  Pose pose(size_t i, double degrees) const {
    const StyledLine& line = stage_.line;
    const double middle = line.layout.width / 2.0;
    const double along = line.penX[i] + stage_.shapes.cellWidth(i) / 2 - middle;
    const double a = along * arcScale_ - degrees * kPi / 180;
    const double depth = std::cos(a);  // 1 facing the viewer, -1 at the back
    const double view = kViewDistance * radius_;
    const double scale = (view - radius_) / (view - radius_ * depth);
    const double dim = 1 - kBackDimming * (1 - depth) / 2;
    return {middle + radius_ * std::sin(a), line.layout.height / 2.0 + radius_ * kTilt * depth, depth * scale, scale,
            uint8_t(std::lround(255 * dim))};
  }

  MemHandle render(double degrees) const {
    const size_t n = stage_.shapes.count();
    std::vector<PlacedLetter> letters(n), shadows(n);
    std::vector<uint8_t> lights(n);
    const double height = stage_.shapes.cellHeight();
    for (size_t i = 0; i < n; ++i) {
      const Pose p = pose(i, degrees);
      lights[i] = p.light;
      const double cx = stage_.shapes.cellWidth(i) / 2, cy = height / 2;
      const Projective toCentre = Projective::translate(-cx, -cy);
      if (!stage_.shapes.place(i, Projective::translate(p.x, p.y) * Projective::scale(p.scaleX, p.scale) * toCentre,
                               255, &letters[i]))
        return 0;
      // The shadow: the letter flattened onto the floor, its top at the letter's foot.
      const double foot = p.y + cy * p.scale;
      const double flat = kShadowHeight * p.scale;
      if (!stage_.shapes.place(i,
                               Projective::translate(p.x, foot + cy * flat) * Projective::scale(p.scaleX, flat) *
                                   toCentre,
                               255, &shadows[i]))
        return 0;
    }
    FrameHooks hooks;
    hooks.shadow = [&](MaskPlane& mask, Offset origin) {
      for (const PlacedLetter& s : shadows) stampPlaced(s, mask, origin);
      return true;
    };
    // Letters further back get less light; tinted front to back, a letter in
    // front keeps its own light where it overlaps one behind.
    const Offset origin = stage_.composer.textOrigin();
    hooks.fill = [&](const BitmapView& fill) {
      std::vector<size_t> order(n);
      for (size_t i = 0; i < n; ++i) order[i] = i;
      std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return lights[a] > lights[b]; });
      MaskPlane taken;
      if (!taken.allocate(fill.width(), fill.height())) return false;
      for (size_t i : order) tintFillUnder(fill, letters[i], origin, lights[i] * 0x010101u, &taken);
      return true;
    };
    return stage_.compose(letters, hooks);
  }

  LetterStage stage_;
  int32_t frames_ = 1;
  int32_t initial_ = 0;
  double radius_ = 128;
  double arcScale_ = 0;
};

}  // namespace

std::unique_ptr<LetterAnimation> makeRing(const DialogFacade& dialog, bool alphaMask) {
  auto ring = std::make_unique<Ring>();
  if (!ring->prepare(dialog, alphaMask)) return nullptr;
  return ring;
}
int ringPreview(EffectContext& ctx) { return letterEffectPreview(ctx, makeRing); }
int ringBuild(EffectContext& ctx) { return letterEffectBuild(ctx, makeRing); }
int32_t ringQueryBackground(DialogFacade& window, int flag) {
  return queryBackgroundFromButton(window, flag, kPage.backgroundMaterial, true);
}

}  // namespace gw
