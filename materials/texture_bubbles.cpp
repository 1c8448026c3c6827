#include "materials/texture_bubbles.h"

#include <cstddef>

#include "materials/texture_random.h"
#include "materials/texture_settings.h"

namespace gw {

void textureBubbleField(float* field, int32_t w, int32_t h, uint32_t seed, int32_t count, int32_t r,
                        uint32_t shape) {
  TextureRandom rng(seed);
  const float r2 = float(r) * float(r);
  for (int32_t b = 0; b < count; ++b) {
    const int32_t cx = rng.draw() % w;
    const int32_t cy = rng.draw() % h;
    for (int32_t dy = -r; dy < r; ++dy) {
      // r is at most half of each side, so one wrap brings every row and
      // column back into the field.
      float* row = field + size_t((cy + dy + h) % h) * size_t(w);
      for (int32_t dx = -r; dx < r; ++dx) {
        const float d2 = float(dx * dx + dy * dy);
        if (d2 > r2) continue;
        float& v = row[(cx + dx + w) % w];
        switch (shape) {
          case kBubbleFuzzy: v += 1.0f / (2.0f * d2 / r2 + 1.0f); break;
          case kBubbleLuminous: v += 1.0f / (16.0f * d2 / r2 + 0.1f); break;
          case kBubbleSphere: v = v + (1.0f - v) * d2 / r2; break;
          // An unknown shape draws as the first one, "Ellipse".
          default: v += 1.0f; break;
        }
      }
    }
  }
}

}  // namespace gw
