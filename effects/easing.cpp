#include "effects/easing.h"

#include <algorithm>
#include <cmath>

namespace gw {

double easedRemaining(double distance, int64_t frames, double factor, int64_t framesLeft) {
  if (framesLeft <= 0) return 0;
  if (frames <= 0 || framesLeft >= frames) return distance;
  if (factor <= 0 || factor >= 1) return distance * double(framesLeft) / double(frames);
  // The steps still to come, from the smallest back: f^(n-1) .. f^(n-j), as a
  // share of all n of them.
  const double all = 1 - std::pow(factor, double(frames));
  const double last = std::pow(factor, double(frames - framesLeft)) - std::pow(factor, double(frames));
  return distance * last / all;
}

double settleFactor(int64_t frames) {
  if (frames <= 1) return 1;
  return std::pow(0.125, 1.0 / double(frames - 1));
}

double remainingBeforeArrival(double lastStep, double factor, int64_t framesLeft, double cap) {
  if (framesLeft <= 0) return 0;
  if (factor <= 0 || factor >= 1) return std::min(cap, lastStep * double(framesLeft));
  double step = lastStep, sum = 0;
  for (int64_t j = 0; j < framesLeft && sum < cap; ++j) {
    sum += step;
    step /= factor;
  }
  return std::min(cap, sum);
}

}  // namespace gw
