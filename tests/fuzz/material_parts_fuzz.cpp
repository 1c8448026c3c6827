// Gradient settings and fountain records as stored inside material records:
// any bytes render a small strip or are refused, never out of bounds.
#include <cstring>

#include "materials/fountain_record.h"
#include "materials/fountain_render.h"
#include "materials/gradient_render.h"
#include "materials/gradient_settings.h"
#include "platform/memory.h"
#include "tests/fuzz/fuzz_target.h"

GW_FUZZ_TARGET(gradient_settings) {
  using namespace gw;
  uint8_t settings[kGradientSettingsSize] = {};
  std::memcpy(settings, data, size < sizeof settings ? size : sizeof settings);
  MemBlock image(gradientRender(settings, 33, 17));
}

GW_FUZZ_TARGET(fountain_record) {
  using namespace gw;
  uint8_t fountain[581] = {};
  std::memcpy(fountain, data, size < sizeof fountain ? size : sizeof fountain);
  const int count = fountainMarkerCount(fountain);
  GW_FUZZ_CHECK(count >= 0 && count <= 64);
  int32_t columns[64];
  fountainMarkerColumns(fountain, 50, columns);
  fountainSortMarkers(fountain);
  MemBlock strip(fountainRender(fountain, 50, 2));
}
