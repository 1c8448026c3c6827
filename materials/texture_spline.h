// The "Perturbation" texture's colour table: 256 colours along a uniform
// Catmull-Rom spline through each channel's four ramp points.
#pragma once

#include <cstdint>

namespace gw {

// The spline's value at t (0..1) through c0..c3, with the end tangents
// mirrored (control values 2 c0 - c1 and 2 c3 - c2).
double textureSplineValue(const float ramp[4], double t);

// Entry i of `table` is the colour (0x00BBGGRR) at t = i / 255. The ramp
// points are clamped to 0..1 first (a NaN counts as 0).
void textureSplineTable(const float red[4], const float green[4], const float blue[4],
                        uint32_t table[256]);

}  // namespace gw
