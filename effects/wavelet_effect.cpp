// "Wavelet": the line rides a travelling sine wave. Letter i is raised by
// `Amplitude` % of the line height times sin(2π(`Wavelength`·x/W − k/n)), x
// its middle and W the text's width, and leans half-way into the wave's slope
// (at most 20 degrees);
// the wave runs right or left as `Scroll` says and one period passes in the
// loop of `Frames` frames. Behind the letters a row of shaded beads (radius
// `Size`, colours 1 to 5 in use, `Shade` on the dark side, `Glare` for the
// highlight, spaced and coloured by `Seed`) rides the same wave low across
// the letters, where it shows between and under them.
#include "effects/effect_table.h"
#include "effects/letter_effects.h"
#include "effects/shaded_sphere.h"

#include <algorithm>
#include <cmath>

namespace gw {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr StylePage kPage = {440, 470, 475, 476, 480, 478, 484, 482, 472, 473, 442};
constexpr uint32_t kAmplitude = 444, kGlare = 456, kScroll = 458, kSeed = 460, kShade = 462, kSize = 464,
                   kWavelength = 466, kFrames = 468;
constexpr uint32_t kColours[5] = {446, 448, 450, 452, 454};
constexpr uint32_t kEnables[5] = {0, 449, 451, 453, 455};
constexpr uint32_t kDefaultColours[5] = {0xFF0000, 0x00FF00, 0x00CCFF, 0x0033CC, 0x0066FF};

constexpr double kLean = 0.5;          // how far a letter leans into the wave's slope
constexpr double kMaxLean = 0.35;      // radians: a tight wave tips letters no further
constexpr double kBeadLevel = 0.8;     // the bead row, down the line

struct Bead {
  double x;
  SphereLook look;
};

class Wavelet : public LetterAnimation {
 public:
  bool prepare(const DialogFacade& dialog, bool alphaMask) {
    frames_ = controlNumber(dialog, kFrames, 2, 32760, 32);
    rightwards_ = controlWord(dialog, kScroll, 1) != 0;
    wavelength_ = controlNumber(dialog, kWavelength, 1, 100, 2);
    radius_ = controlNumber(dialog, kSize, 1, 500, 10);
    if (!stage_.prepare(readTextStyle(dialog, kPage, alphaMask))) return false;
    const double width = std::max(1, stage_.line.layout.width), height = stage_.shapes.cellHeight();
    amplitude_ = controlNumber(dialog, kAmplitude, 0, 500, 75) / 100.0 * height;

    // The beads: about one per three radii of text, each nudged and coloured at random.
    std::vector<uint32_t> colours;
    for (int c = 0; c < 5; ++c)
      if (c == 0 || dialog.checked(kEnables[c]))
        colours.push_back(uint32_t(controlWord(dialog, kColours[c], int32_t(kDefaultColours[c]))) & 0xFFFFFF);
    EffectRandom random(uint32_t(controlNumber(dialog, kSeed, 0, 32767, 12055)));
    const auto count = int32_t(std::clamp(std::lround(width / (3 * radius_)), 1L, 4096L));
    const double step = width / count;
    SphereLook look;
    look.shade = uint8_t(controlNumber(dialog, kShade, 0, 255, 70));
    look.glare = uint8_t(controlNumber(dialog, kGlare, 0, 255, 160));
    for (int32_t j = 0; j < count; ++j) {
      const double nudge = (random.next() % 1001) / 1000.0 - 0.5;
      look.colour = colours[size_t(random.next()) % colours.size()];
      beads_.push_back({step * (j + 0.5 + 0.6 * nudge), look});
    }

    // Room for the highest and lowest letter, leaning, and for the beads.
    const double slope = std::min(kMaxLean, std::atan(kLean * amplitude_ * 2 * kPi * wavelength_ / width));
    double widest = 0;
    for (size_t i = 0; i < stage_.shapes.count(); ++i) widest = std::max(widest, stage_.shapes.cellWidth(i));
    const double lean = std::sin(slope) * widest / 2 + (1 - std::cos(slope)) * height / 2;
    const auto up = int32_t(std::ceil(std::max(amplitude_ + lean, amplitude_ + radius_ - kBeadLevel * height))) + 2;
    const auto down =
        int32_t(std::ceil(std::max(amplitude_ + lean, amplitude_ + radius_ - (1 - kBeadLevel) * height))) + 2;
    const auto side = int32_t(std::ceil(std::max(std::sin(slope) * height / 2, radius_ - step / 2))) + 2;
    return stage_.prepareCanvas(std::max(side, 0), up, down);
  }

  int32_t frameCount() const override { return frames_; }
  MemHandle restFrame() override { return frame(0); }
  bool readyForThreads() override { return stage_.readyForThreads(); }
  MemHandle frame(int64_t k) override {
    const double width = std::max(1, stage_.line.layout.width), height = stage_.shapes.cellHeight();
    const double phase = double(k % frames_) / frames_ * (rightwards_ ? 1 : -1);
    auto wave = [&](double x) { return amplitude_ * std::sin(2 * kPi * (wavelength_ * x / width - phase)); };
    auto slope = [&](double x) {
      return amplitude_ * 2 * kPi * wavelength_ / width * std::cos(2 * kPi * (wavelength_ * x / width - phase));
    };
    const size_t n = stage_.shapes.count();
    std::vector<PlacedLetter> placed(n);
    for (size_t i = 0; i < n; ++i) {
      const double cx = stage_.shapes.cellWidth(i) / 2, x = stage_.line.penX[i] + cx;
      // Screen y grows downwards: a rising wave lifts the letter and tilts it back.
      const Projective m = Projective::translate(x, height / 2 - wave(x)) *
                           Projective::rotate(-std::clamp(std::atan(kLean * slope(x)), -kMaxLean, kMaxLean)) *
                           Projective::translate(-cx, -height / 2);
      if (!stage_.shapes.place(i, m, 255, &placed[i])) return 0;
    }
    FrameHooks hooks;
    const Offset origin = stage_.composer.textOrigin();
    hooks.behind = [&](FrameLayer& layer) {
      for (const Bead& b : beads_)
        paintShadedSphere(layer, origin.x + b.x, origin.y + kBeadLevel * height - wave(b.x), radius_, b.look);
      return true;
    };
    return stage_.compose(placed, hooks);
  }

 private:
  LetterStage stage_;
  int32_t frames_ = 2;
  bool rightwards_ = true;
  double wavelength_ = 1, radius_ = 1, amplitude_ = 0;
  std::vector<Bead> beads_;
};

}  // namespace

std::unique_ptr<LetterAnimation> makeWavelet(const DialogFacade& dialog, bool alphaMask) {
  auto wavelet = std::make_unique<Wavelet>();
  if (!wavelet->prepare(dialog, alphaMask)) return nullptr;
  return wavelet;
}
int waveletPreview(EffectContext& ctx) { return letterEffectPreview(ctx, makeWavelet); }
int waveletBuild(EffectContext& ctx) { return letterEffectBuild(ctx, makeWavelet); }
int32_t waveletQueryBackground(DialogFacade& window, int flag) {
  return queryBackgroundFromButton(window, flag, kPage.backgroundMaterial, true);
}

}  // namespace gw
