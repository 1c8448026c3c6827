// What the letter rasteriser's entry point (rasteriser.cpp) asks of its two
// backends: platform/posix (FreeType + fontconfig) and platform/win32 (GDI).
// Only the rasteriser includes this; everyone else goes through
// platform/rasteriser.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rasteriser.h"

namespace gw::rasteriser_backend {

// A letter's coverage at full intensity: width x height bytes, rows top-down,
// 0..255; empty (width or height 0) for a letter without ink.
struct Coverage {
  int32_t width = 0;
  int32_t height = 0;
  int32_t left = 0;  // relative to the pen
  int32_t top = 0;   // relative to the cell top
  std::vector<uint8_t> pixels;
};

// Opens a font for `request` (height already checked to be 1..4096); 0 on failure.
uint32_t openFont(const FontRequest& request, FontMetrics* metrics);
void closeFont(uint32_t font);

bool measure(uint32_t font, uint8_t letter, int32_t* advance);
bool render(uint32_t font, uint8_t letter, bool antialias, Coverage* out);

// Called on the run-ends maintenance command: drop what was kept for the run.
void runEnds();

std::vector<std::string> families();

// The family the system's font matching picks for `face` (the face itself
// when it is installed); empty when nothing matches.
std::string substituteFamily(const std::string& face);

}  // namespace gw::rasteriser_backend
