// Fits a fountain (at most 64 straight pieces) to a ramp given as 256
// samples on the fountain's own 0..255 scale.
//
//   uint32_t samples[256] = ...;              // 0x00BBGGRR
//   gw::FountainFit fit = gw::fountainFitSamples(samples, {}, record581);
#pragma once

#include <cstdint>
#include <vector>

namespace gw {

// A place where the ramp must have a marker: the colour arriving from the
// left and the one leaving to the right (they differ at a hard edge, which
// takes two markers at one position).
struct FountainEdge {
  int pos;  // 0..255; kept within 1..254 when used
  uint32_t in, out;
};

struct FountainFit {
  int markers = 0;            // markers used
  int largestError = 0;       // worst channel difference over the samples, 0..255
  bool edgesKept = true;      // every edge became a marker
};

// Writes a fountain record (empty preset, flags 0): the start and end colours
// are the first and last samples; the edges become markers when they fit in
// 64 (otherwise none is kept); then a marker goes where the straight pieces
// stray furthest from the samples, until no channel is off by more than one
// level or all 64 markers are used.
FountainFit fountainFitSamples(const uint32_t samples[256], const std::vector<FountainEdge>& edges,
                               uint8_t* fountain581);

}  // namespace gw
