#include "effects/seeded_scatter.h"

#include <algorithm>
#include <cmath>

namespace gw {
namespace {
constexpr double kTwoPi = 6.28318530717958647692;
}

double randomIn(EffectRandom& random, double lo, double hi) {
  return lo + (hi - lo) * (double(random.next()) / 2147483648.0);
}

int32_t randomIndex(EffectRandom& random, int32_t count) {
  if (count <= 0) return 0;
  return int32_t(int64_t(random.next()) * count / 2147483648LL);
}

int32_t scatterCount(int32_t density, int32_t width, int32_t height, int32_t limit) {
  const double area = double(std::max(width, 0)) * double(std::max(height, 0));
  const double n = std::round(double(std::max(density, 0)) * area / 10000.0);
  return int32_t(std::clamp(n, 1.0, double(std::max(limit, 1))));
}

LoopTrack loopTrack(double speed, int32_t frames, double minLength) {
  LoopTrack t;
  minLength = std::max(minLength, 1.0);
  const double distance = std::fabs(speed) * std::max(frames, 1);
  t.laps = std::max<int64_t>(1, int64_t(std::floor(distance / minLength)));
  t.length = std::max(minLength, distance / double(t.laps));
  return t;
}

double trackPosition(const LoopTrack& track, double start, int64_t k, int32_t frames) {
  const int64_t n = std::max(frames, 1);
  // The lap count times k, reduced modulo n in whole numbers first, so the
  // position depends only on k mod n.
  const int64_t steps = ((track.laps % n) * (((k % n) + n) % n)) % n;
  const double pos = start + track.length * double(steps) / double(n);
  double wrapped = std::fmod(pos, track.length);
  if (wrapped < 0) wrapped += track.length;
  return wrapped;
}

double loopPhase(int64_t turns, double phase, int64_t k, int32_t frames) {
  const int64_t n = std::max(frames, 1);
  const int64_t steps = (((turns % n) + n) % n * (((k % n) + n) % n)) % n;
  double p = phase + double(steps) / double(n);
  p -= std::floor(p);
  return p;
}

double loopWave(int64_t turns, double phase, int64_t k, int32_t frames) {
  return std::sin(kTwoPi * loopPhase(turns, phase, k, frames));
}

int64_t turnsFor(double period, int32_t frames) {
  if (!(period > 0.0)) return 1;
  return std::max<int64_t>(1, std::llround(double(std::max(frames, 1)) / period));
}

}  // namespace gw
