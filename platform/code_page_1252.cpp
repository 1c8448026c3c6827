#include "platform/code_page_1252.h"

namespace gw {
namespace {

// 0x80..0x9F; 0 marks an unassigned byte.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88..8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98..9F
};

}  // namespace

uint32_t codePoint1252(uint8_t byte) {
  if (byte < 0x80 || byte > 0x9F) return byte;
  uint16_t cp = kHighControls[byte - 0x80];
  return cp ? cp : byte;
}

int byteFor1252(uint32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return int(codePoint);
  for (int i = 0; i < 32; ++i)
    if (kHighControls[i] != 0 && kHighControls[i] == codePoint) return 0x80 + i;
  return -1;
}

}  // namespace gw
