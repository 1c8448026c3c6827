#include "materials/texture_random.h"

#include <cmath>

namespace gw {

double TextureRandom::gaussian() {
  const double root12 = std::sqrt(12.0);
  int sum = 0;
  for (int i = 0; i < 4; ++i) sum += draw();
  return sum * (2.0 * root12 / (4.0 * kTextureRandomMax)) - root12;
}

}  // namespace gw
