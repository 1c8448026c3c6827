// The plug-in's text is single bytes of the Windows ANSI code page 1252:
// Latin-1, except that 0x80..0x9F hold the euro sign, curly quotes, dashes,
// the ellipsis and a few letters. Both letter rasterisers and the command
// line's UTF-8 input go through this one table.
//
//   uint32_t cp = gw::codePoint1252(byte);     // the Unicode character to draw
//   int byte = gw::byteFor1252(0x20AC);       // 0x80, or -1 when there is none
#pragma once

#include <cstdint>

namespace gw {

// The Unicode code point of a byte; the five bytes the page leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for themselves, as Windows maps them.
uint32_t codePoint1252(uint8_t byte);

// The byte of a code point, or -1 when the page has none.
int byteFor1252(uint32_t codePoint);

}  // namespace gw
