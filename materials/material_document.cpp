#include "materials/material_document.h"

#include <cstdio>
#include <cstring>

#include "base/le_bytes.h"
#include "materials/material_record.h"
#include "materials/tile_selection.h"
#include "platform/memory.h"

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

}  // namespace

std::string materialDocumentLine(int32_t controlId, const uint8_t* rec) {
  static const char kDigits[] = "0123456789ABCDEF";
  char head[32];
  std::snprintf(head, sizeof head, "MATLBT%d=", int(controlId));
  std::string line(head);
  line.reserve(line.size() + 2 * kMaterialRecordSize + 1);
  for (size_t i = 0; i < kMaterialRecordSize; ++i) {
    line.push_back(kDigits[rec[i] >> 4]);
    line.push_back(kDigits[rec[i] & 15]);
  }
  line.push_back('\n');
  return line;
}

bool materialDocumentDecode(const std::string& line, uint8_t* out) {
  static const char kTag[] = "MATLBT";
  if (line.size() < 6) return false;
  for (size_t i = 0; i < 6; ++i) {
    char c = line[i];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (c != kTag[i]) return false;
  }
  size_t pos = line.find('=');
  if (pos == std::string::npos) return false;
  while (pos < line.size() && (line[pos] == '=' || line[pos] == ' ' || line[pos] == '\t')) ++pos;
  uint8_t bytes[kMaterialRecordSize] = {};
  for (size_t i = 0; i < kMaterialRecordSize; ++i, pos += 2) {
    if (lineEnded(line, pos)) break;
    int high = hexValue(line[pos]);
    int low = pos + 1 < line.size() ? hexValue(line[pos + 1]) : -1;
    if (high < 0 || low < 0) return false;
    bytes[i] = uint8_t(high * 16 + low);
  }
  std::memcpy(out, bytes, kMaterialRecordSize);
  return true;
}

bool materialDocumentApply(const std::string& line, uint8_t* rec) {
  uint8_t decoded[kMaterialRecordSize];
  if (!materialDocumentDecode(line, decoded)) return false;
  // The live record's images are ours to free; the numbers in the line
  // belonged to the run that wrote the document.
  memFree(readU32(rec + material::kTileImage));
  memFree(readU32(rec + material::kPreviewImage));
  std::memcpy(rec, decoded, kMaterialRecordSize);
  materialRecordClearRuntime(rec);
  if (readI32(rec + material::kKind) == kMaterialTile) tileSelectionLoad(rec + material::kTileSelection);
  return true;
}

}  // namespace gw
