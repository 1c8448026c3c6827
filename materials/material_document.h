// The material button's document line: "MATLBT<id>=" and the 1270-byte record
// as 2540 upper-case hexadecimal digits.
//
//   std::fputs(gw::materialDocumentLine(id, record).c_str(), out);
//   if (gw::materialDocumentApply(line, record)) { /* new preview, repaint */ }
#pragma once

#include <cstdint>
#include <string>

namespace gw {

// "MATLBT%d=" followed by the record in hexadecimal and "\n".
std::string materialDocumentLine(int32_t controlId, const uint8_t* record1270);

// Decodes a line into 1270 bytes. False (out untouched) unless the line
// begins with "MATLBT" (any case) and holds an "=", or when a pair after it
// is not two hexadecimal digits. After the first "=", further "=" and blanks
// are skipped; a text that ends early leaves the missing bytes zero.
bool materialDocumentDecode(const std::string& line, uint8_t* out1270);

// Replaces a live record with a decoded line: its tile and preview images are
// freed, the new record's handles are zeroed and, for a Tile material, the
// tile is loaded again from the stored path and index. False (record
// untouched) when the line does not decode.
bool materialDocumentApply(const std::string& line, uint8_t* record1270);

}  // namespace gw
