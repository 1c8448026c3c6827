// "Tracks": the line is cut into bands that run in on tracks and lock into
// place one after another. "Straight": horizontal bands from alternate
// sides. "Crossing": the line woven from horizontal and vertical bands (a
// band owns every other cell of its row or column), the rows running in
// sideways, the columns up and down through them. "Scattered": horizontal
// bands, each from a side and in an order drawn from the seed.
//
// A band arrives moving `Speed` pixels a frame; with "Slow end" each step is
// the factor ("Slow across" for sideways bands, "Slow down" for the others)
// of the one before, so a band comes in fast and eases into its place. No
// band starts farther out than just outside the frame. The bands arrive
// spread over the second half of the frames, the last in the last frame.
#include <algorithm>
#include <cmath>
#include <vector>

#include "effects/easing.h"
#include "effects/effect_table.h"
#include "effects/line_strips.h"
#include "effects/reveal_effects.h"
#include "effects/reveal_frames.h"

namespace gw {
namespace {

constexpr StylePage kTracksPage = {640, 662, 667, 668, 672, 670, 676, 674, 664, 665, 642};
constexpr uint32_t kBevelEnableControl = 644;
constexpr uint32_t kBevelSizeControl = 645;
constexpr uint32_t kModeControl = 647;
constexpr uint32_t kSeedControl = 649;
constexpr uint32_t kSlowEndControl = 651;
constexpr uint32_t kSlowAcrossControl = 652;
constexpr uint32_t kSlowDownControl = 654;
constexpr uint32_t kSpeedControl = 656;
constexpr uint32_t kTracksControl = 658;
constexpr uint32_t kFramesControl = 660;

enum TracksMode { kStraight = 0, kCrossing = 1, kScattered = 2 };

struct Band {
  std::vector<PieceRect> cells;
  int32_t dirX = 0;  // where it is heading: (1, 0) comes from the left
  int32_t dirY = 0;
  int64_t arrival = 0;
  double factor = 1;   // each step this times the one before
  double distance = 0; // from just outside the frame
};

struct TracksSettings {
  int32_t mode = kScattered;
  uint32_t seed = 15595;
  int32_t tracks = 4;
  int32_t speed = 4;
  bool slowEnd = true;
  double slowAcross = 0.95;
  double slowDown = 0.98;
  bool bevel = true;
  int32_t bevelSize = 15;
  int64_t frames = 20;
};

// Bands with the side each comes from; in the order they arrive.
std::vector<Band> cutBands(const TracksSettings& s, int32_t width, int32_t height) {
  std::vector<Band> bands;
  const int32_t rows = std::min(s.tracks, height), columns = std::min(s.tracks, width);
  auto rowEdge = [&](int32_t r) { return int32_t(int64_t(height) * r / rows); };
  auto columnEdge = [&](int32_t c) { return int32_t(int64_t(width) * c / columns); };
  if (s.mode == kCrossing) {
    // Row r owns the cells (r, c) with r + c even; column c owns the rest.
    for (int32_t i = 0; i < std::max(rows, columns); ++i) {
      if (i < rows) {
        Band row;
        row.dirX = i % 2 == 0 ? 1 : -1;
        for (int32_t c = 0; c < columns; ++c)
          if ((i + c) % 2 == 0) row.cells.push_back({columnEdge(c), rowEdge(i), columnEdge(c + 1), rowEdge(i + 1)});
        bands.push_back(row);
      }
      if (i < columns) {
        Band column;
        column.dirY = i % 2 == 0 ? 1 : -1;
        for (int32_t r = 0; r < rows; ++r)
          if ((r + i) % 2 == 1) column.cells.push_back({columnEdge(i), rowEdge(r), columnEdge(i + 1), rowEdge(r + 1)});
        if (!column.cells.empty()) bands.push_back(column);
      }
    }
    return bands;
  }
  for (int32_t r = 0; r < rows; ++r) {
    Band row;
    row.dirX = r % 2 == 0 ? 1 : -1;
    row.cells.push_back({0, rowEdge(r), width, rowEdge(r + 1)});
    bands.push_back(row);
  }
  if (s.mode == kScattered) {
    EffectRandom random(s.seed);
    static const int32_t kSides[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (Band& b : bands) {
      const int32_t* side = kSides[random.next() % 4];
      b.dirX = side[0];
      b.dirY = side[1];
    }
    for (size_t i = bands.size(); i > 1; --i) std::swap(bands[i - 1], bands[size_t(random.next()) % i]);
  }
  return bands;
}

std::vector<Band> planTracks(const TracksSettings& s, int32_t width, int32_t height) {
  std::vector<Band> bands = cutBands(s, width, height);
  const double count = double(bands.size());
  for (size_t o = 0; o < bands.size(); ++o) {
    Band& b = bands[o];
    // The first band arrives half way through, the last in the last frame.
    b.arrival = std::llround(double(s.frames - 1) * (1 - (count - 1 - double(o)) / (2 * count)));
    b.factor = !s.slowEnd ? 1 : (b.dirX != 0 ? s.slowAcross : s.slowDown);
    b.distance = b.dirX != 0 ? width : height;
  }
  return bands;
}

MemHandle renderTracks(const RestLine& rest, const TracksSettings& s, const std::vector<Band>& bands, int64_t k) {
  PieceCanvas canvas;
  if (!canvas.start(rest.layer)) return 0;
  for (int pass = 0; pass < 2; ++pass)
    for (const Band& b : bands) {
      const double d = remainingBeforeArrival(s.speed, b.factor, b.arrival - k, b.distance);
      const int32_t px = int32_t(std::lround(d));
      if ((px != 0) != (pass == 1)) continue;
      const int32_t dx = -b.dirX * px, dy = -b.dirY * px;
      Bevel bevel;
      if (s.bevel && px != 0) bevel = {s.bevelSize, b.dirX, b.dirY};
      for (const PieceRect& cell : b.cells) canvas.lay(cell, dx, dy, bevel);
    }
  return canvas.finish();
}

int runTracks(EffectContext& ctx, bool build) {
  if (!ctx.window || (build && !ctx.frameStore)) return 0;
  RevealScope scope(ctx, build);
  const DialogFacade& dialog = *ctx.window;
  const RevealTiming timing = readRevealTiming(dialog);
  RestLine rest;
  if (!rest.prepare(readRevealStyle(ctx, kTracksPage, build))) return 0;
  if (!build || !timing.animated) return storeStill(ctx, build, timing, rest.restFrame());

  TracksSettings s;
  const int mode = dialog.selection(kModeControl);
  s.mode = mode >= kStraight && mode <= kScattered ? mode : kScattered;
  s.seed = uint32_t(controlNumber(dialog, kSeedControl, 0, 32767, 15595));
  s.tracks = controlNumber(dialog, kTracksControl, 1, 64, 4);
  s.speed = controlNumber(dialog, kSpeedControl, 1, 100, 4);
  s.slowEnd = dialog.checked(kSlowEndControl);
  s.slowAcross = controlNumber(dialog, kSlowAcrossControl, 1, 100, 95) / 100.0;
  s.slowDown = controlNumber(dialog, kSlowDownControl, 1, 100, 98) / 100.0;
  s.bevel = dialog.checked(kBevelEnableControl);
  s.bevelSize = controlNumber(dialog, kBevelSizeControl, 0, 100, 15);
  s.frames = controlNumber(dialog, kFramesControl, 2, 32760, 20);
  const std::vector<Band> bands = planTracks(s, rest.width(), rest.height());
  return appendRevealFrames(
      ctx, s.frames, timing, [&](int64_t k) { return renderTracks(rest, s, bands, k); },
      [&](int64_t k) { return k == s.frames - 1; });
}

}  // namespace

int tracksPreview(EffectContext& ctx) { return runTracks(ctx, false); }
int tracksBuild(EffectContext& ctx) { return runTracks(ctx, true); }

int32_t tracksQueryBackground(DialogFacade& window, int flag) {
  return queryBackgroundFromButton(window, flag, kTracksPage.backgroundMaterial, true);
}

}  // namespace gw
