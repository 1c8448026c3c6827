// Easing for pieces that travel into place: each step is a fixed factor of
// the one before, so a piece comes in fast and settles gently.
//
//   // 20 frames to cover 120 pixels, the last step an eighth of the first:
//   double f = gw::settleFactor(20);
//   double left = gw::easedRemaining(120, 20, f, framesLeft);   // 120 .. 0
//   // Or from the arrival back: the last step 4 px, each earlier one 1/0.95 times larger.
//   double d = gw::remainingBeforeArrival(4, 0.95, framesLeft, 300);
#pragma once

#include <cstdint>

namespace gw {

// The distance still to go `framesLeft` frames before arrival for a piece
// that covers `distance` in `frames` steps, each step `factor` (0 < f <= 1)
// times the one before: `distance` at framesLeft >= frames, 0 at 0.
double easedRemaining(double distance, int64_t frames, double factor, int64_t framesLeft);

// The factor that makes the last of `frames` steps an eighth of the first,
// whatever the number of steps (1 for a single step).
double settleFactor(int64_t frames);

// The distance still to go `framesLeft` frames before arrival for a piece
// whose last step is `lastStep` and whose every step is `factor` times the
// one before (factor 1: an even pace), never more than `cap`.
double remainingBeforeArrival(double lastStep, double factor, int64_t framesLeft, double cap);

}  // namespace gw
