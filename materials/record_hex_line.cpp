#include "materials/record_hex_line.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace gw {
namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool lineEnded(const std::string& line, size_t pos) {
  return pos >= line.size() || line[pos] == '\n' || line[pos] == '\r' || line[pos] == '\0';
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

}  // namespace

std::string recordHexLine(const char* tag, int32_t controlId, const uint8_t* bytes, size_t size) {
  static const char kDigits[] = "0123456789ABCDEF";
  char head[32];
  std::snprintf(head, sizeof head, "%.6s%d=", tag, int(controlId));
  std::string line(head);
  line.reserve(line.size() + 2 * size);
  for (size_t i = 0; i < size; ++i) {
    line.push_back(kDigits[bytes[i] >> 4]);
    line.push_back(kDigits[bytes[i] & 15]);
  }
  return line;
}

bool recordHexDecode(const std::string& line, const char* tag, uint8_t* out, size_t size) {
  const size_t tagLength = std::strlen(tag);
  if (line.size() < tagLength) return false;
  for (size_t i = 0; i < tagLength; ++i)
    if (upper(line[i]) != tag[i]) return false;
  size_t pos = line.find('=');
  if (pos == std::string::npos) return false;
  while (pos < line.size() && (line[pos] == '=' || line[pos] == ' ' || line[pos] == '\t')) ++pos;
  std::vector<uint8_t> bytes(size, 0);
  for (size_t i = 0; i < size; ++i, pos += 2) {
    if (lineEnded(line, pos)) break;
    const int high = hexValue(line[pos]);
    const int low = pos + 1 < line.size() ? hexValue(line[pos + 1]) : -1;
    if (high < 0 || low < 0) return false;
    bytes[i] = uint8_t(high * 16 + low);
  }
  std::memcpy(out, bytes.data(), size);
  return true;
}

}  // namespace gw
