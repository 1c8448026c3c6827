// Values on the command line: numbers in a range, colours and image sizes.
// Every sub-command reads its option values through these, so the same
// words mean the same everywhere.
#pragma once

#include <cstdint>
#include <string>

namespace gw::cli {

// A whole number in lo..hi (decimal, or hexadecimal with 0x).
bool parseNumber(const std::string& text, long long lo, long long hi, long long* out);
// A finite decimal number.
bool parseFloat(const std::string& text, float* out);
// "#RRGGBB" as written, or a number 0xBBGGRR as the plug-in stores colours.
bool parseColour(const std::string& text, uint32_t* out);
// "WxH", each side 1..maxSide.
bool parseImageSize(const std::string& text, int32_t* w, int32_t* h, long long maxSide = 8192);

}  // namespace gw::cli
