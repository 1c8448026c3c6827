// The colour a material stands for where one colour must do: the mean colour
// of the material button's preview, kept in the record's preview average. The
// background query answers it for a background material, so a gradient,
// texture or tile background is matched as the eye averages it.
//
//   uint32_t colour = gw::materialPreviewAverage(rec);   // also stored in rec
#pragma once

#include <cstdint>

namespace gw {

// The preview is the fill at the button's client area less the 16-pixel
// arrow zone. The effect pages' material buttons are 44 x 12 dialog units,
// 66 x 20 pixels at the pages' font; without a button window to measure, that
// is the size the preview is taken at.
constexpr int32_t kMaterialPreviewWidth = 66 - 16;
constexpr int32_t kMaterialPreviewHeight = 20;

// Renders the preview of the record's material (any kind) and returns the
// integer mean of each channel, 0x00BBGGRR, after writing it into the
// record's preview average. When the preview cannot be made (memory) the
// stored average is returned unchanged. A Simple material averages to its
// colour without rendering anything.
uint32_t materialPreviewAverage(uint8_t* record1270);

}  // namespace gw
