// What every effect's build begins with: the context taken over for a build
// (an image a preview left in it is freed, the build flag set) and the main
// page's choices that every build reads the same way.
#pragma once

#include <cstdint>

#include "effects/effect_context.h"

namespace gw {

struct BuildStart {
  DialogFacade* dialog = nullptr;
  bool alphaMask = false;  // 32-bit frames whose alpha covers letters and objects
  bool animated = true;    // off: one rest frame
  int32_t delay = 0;       // of every frame, in hundredths of a second
  int32_t pause = 0;       // added where the animation rests and at its end
};

// False when the context cannot build: it has no window or no frame store.
bool beginBuild(EffectContext& ctx, BuildStart* start);

}  // namespace gw
