#include "materials/record_hex_line.h"

#include <cstdio>
#include <cstring>

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
  const size_t headLength = std::strlen(head);
  // Room for the line end most callers add, so that adding it copies nothing.
  std::string line;
  line.reserve(headLength + 2 * size + 2);
  line.resize(headLength + 2 * size);
  std::memcpy(&line[0], head, headLength);
  char* out = &line[headLength];
  for (size_t i = 0; i < size; ++i) {
    *out++ = kDigits[bytes[i] >> 4];
    *out++ = kDigits[bytes[i] & 15];
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
  // The digits are checked before `out` is touched, so a refused line
  // leaves it as it was; bytes the line does not reach become 0.
  const size_t first = pos;
  size_t count = 0;
  for (; count < size && !lineEnded(line, pos); ++count, pos += 2) {
    const int low = pos + 1 < line.size() ? hexValue(line[pos + 1]) : -1;
    if (hexValue(line[pos]) < 0 || low < 0) return false;
  }
  pos = first;
  for (size_t i = 0; i < count; ++i, pos += 2) out[i] = uint8_t(hexValue(line[pos]) * 16 + hexValue(line[pos + 1]));
  std::memset(out + count, 0, size - count);
  return true;
}

}  // namespace gw
