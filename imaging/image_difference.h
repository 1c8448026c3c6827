// How far one image is from another: mean squared error and PSNR over red,
// green and blue, the measure by which quantizers are compared.
//
//   gw::ImageDifference d;
//   if (gw::measureDifference(original, remapped, &d)) printf("%.2f dB", d.psnr);
//
// Both images may have any depth a Bitmap can have; indexed pixels are
// looked up in their colour table.
#pragma once

#include "platform/memory.h"

namespace gw {

struct ImageDifference {
  double meanSquaredError = 0;  // per channel, in levels squared
  double psnr = 0;              // 10 log10(255^2 / MSE); +infinity when equal
};

// False when a bitmap cannot be read or the sizes differ.
bool measureDifference(MemHandle a, MemHandle b, ImageDifference* out);

}  // namespace gw
