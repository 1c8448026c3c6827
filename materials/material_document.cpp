#include "materials/material_document.h"

#include <cstdio>
#include <cstring>

#include "base/le_bytes.h"
#include "materials/material_record.h"
#include "materials/record_hex_line.h"
#include "materials/tile_selection.h"
#include "platform/memory.h"

namespace gw {

std::string materialDocumentLine(int32_t controlId, const uint8_t* rec) {
  std::string line = recordHexLine("MATLBT", controlId, rec, kMaterialRecordSize);
  line += '\n';
  return line;
}

bool materialDocumentDecode(const std::string& line, uint8_t* out) {
  return recordHexDecode(line, "MATLBT", out, kMaterialRecordSize);
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
