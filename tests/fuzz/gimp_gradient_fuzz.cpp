// GIMP gradients: any text is read or refused with a reason; what is read
// fits a fountain of at most 64 markers, in order, inside 1..255, whose
// colours the record really holds.
#include <string>

#include "base/le_bytes.h"
#include "materials/fountain_fit.h"
#include "materials/fountain_record.h"
#include "materials/gimp_gradient.h"
#include "tests/fuzz/fuzz_target.h"

GW_FUZZ_TARGET(gimp_gradient) {
  using namespace gw;
  GimpGradient g;
  std::string error;
  if (!parseGimpGradient(std::string(reinterpret_cast<const char*>(data), size), &g, &error)) {
    GW_FUZZ_CHECK(!error.empty());
    return;
  }
  GW_FUZZ_CHECK(!g.segments.empty() && g.segments.size() <= kGimpGradientMaxSegments);
  uint8_t f[kFountainRecordSize];
  FountainFit fit = fountainFromGimpGradient(g, f);
  GW_FUZZ_CHECK(fit.markers >= 0 && fit.markers <= kFountainMaxMarkers);
  GW_FUZZ_CHECK(fit.markers == fountainMarkerCount(f));
  GW_FUZZ_CHECK(fit.largestError >= 0 && fit.largestError <= 255);
  GW_FUZZ_CHECK(readU32(f + fountain::kStartColour) <= 0xFFFFFF && readU32(f + fountain::kEndColour) <= 0xFFFFFF);
  int previous = 1;
  for (int i = 0; i < fit.markers; ++i) {
    int p = fountainMarkerPosition(fountainMarker(f, i));
    GW_FUZZ_CHECK(p >= previous && p <= 255);
    previous = p;
  }
}
