// PNG files for the command-line host (libpng). The core never reads or
// writes image files; this is the host's business.
//
//   gw::MemBlock bmp(gw::cli::readPngAsBitmap("in.png", &error));  // 24-bit
//   gw::cli::writeBitmapAsPng(bmp.get(), "out.png", &error);
#pragma once

#include <cstdint>
#include <string>

#include "platform/memory.h"

namespace gw::cli {

// Largest image read, in pixels (2^26: 8192 x 8192, 192 MiB as 24-bit
// pixels, plus as much again for the bitmap). Larger headers are refused
// before anything is allocated.
constexpr uint64_t kPngPixelLimit = uint64_t(1) << 26;

// A new 24-bit Bitmap from any PNG (alpha is composited over black, 16-bit
// channels are reduced, palettes and greys expanded). 0 with *error set on failure.
MemHandle readPngAsBitmap(const std::string& path, std::string* error);

// Writes a 1-, 4-, 8-bit (palette), 24-bit (RGB) or 32-bit (RGBA) Bitmap.
// Written to a temporary beside the target and renamed into place.
bool writeBitmapAsPng(MemHandle bitmap, const std::string& path, std::string* error);

}  // namespace gw::cli
