// The document form of a fixed binary record: "<TAG><id>=" followed by every
// byte as two upper-case hexadecimal digits. Material and fountain buttons
// write their records this way.
//
//   std::string line = gw::recordHexLine("FOUNTB", 120, f, gw::kFountainRecordSize);  // no line end
//   if (gw::recordHexDecode(line, "FOUNTB", out, gw::kFountainRecordSize)) ...
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace gw {

std::string recordHexLine(const char* tag, int32_t controlId, const uint8_t* bytes, size_t size);

// Decodes a line into `size` bytes. False (out untouched) unless the line
// begins with `tag` (any case) and holds an "=", or when a pair after it is
// not two hexadecimal digits. After the first "=", further "=" and blanks are
// skipped; a text that ends early leaves the missing bytes zero.
bool recordHexDecode(const std::string& line, const char* tag, uint8_t* out, size_t size);

}  // namespace gw
