// Objects scattered by an effect's seed that travel and sway so that the
// animation loops without a seam: over the loop's n frames every object
// moves a whole number of laps round its track and every sway or spin makes
// a whole number of turns, so frame n is frame 0 again and the step from the
// last frame to the first is like any other.
//
//   gw::EffectRandom random(seed);
//   int count = gw::scatterCount(density, width, height, 1200);
//   gw::LoopTrack track = gw::loopTrack(2.5, frames, height + 2 * margin);
//   double y = gw::trackPosition(track, start, k, frames) - margin;
//   double sway = drift * gw::loopWave(turns, phase, k, frames);
#pragma once

#include <cstdint>

#include "effects/effect_table.h"

namespace gw {

// A uniform number in [lo, hi) from the effect's generator.
double randomIn(EffectRandom& random, double lo, double hi);
// A whole number in [0, count); 0 when count is not positive.
int32_t randomIndex(EffectRandom& random, int32_t count);

// How many objects `density` per 100 x 100 pixels puts on width x height,
// at least one, at most `limit`.
int32_t scatterCount(int32_t density, int32_t width, int32_t height, int32_t limit);

// A closed track: an object on it covers `laps` whole lengths in a loop.
struct LoopTrack {
  double length = 1.0;
  int64_t laps = 1;
};

// The track for an object meant to move about `speed` pixels a frame over a
// span of at least `minLength`: the laps are rounded to a whole number and
// the track stretched so the speed stays as asked (an object slower than one
// lap a loop gets one lap). An object on a longer track than the span spends
// part of the loop out of sight.
LoopTrack loopTrack(double speed, int32_t frames, double minLength);

// Where on [0, length) an object starting at `start` is at frame k of n.
// Exactly periodic: frame k + n gives the same position as frame k.
double trackPosition(const LoopTrack& track, double start, int64_t k, int32_t frames);

// The fraction of a turn, in [0, 1), after `turns` whole turns per loop at
// frame k of n from `phase` (itself a fraction of a turn).
double loopPhase(int64_t turns, double phase, int64_t k, int32_t frames);
// sin of that phase.
double loopWave(int64_t turns, double phase, int64_t k, int32_t frames);

// The whole number of turns per loop nearest to a turn every `period`
// frames, at least one.
int64_t turnsFor(double period, int32_t frames);

}  // namespace gw
